#include "KivoCore/KivoReflector.h"

#include "KivoCore/KivoBinding.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/reflect.h"
#include "reflect/PropertyStep.h"

namespace {

// The keys read last, each with the classes it was resolved for: a bulk read over many items of a
// few classes costs a short string comparison and a pointer compare per item instead of a search of
// the class's table.
const kivo::detail::PropertyStep& stepFor(const std::string& key) {
    constexpr size_t Remembered = 4;
    thread_local std::vector<kivo::detail::PropertyStep> steps;
    thread_local size_t next = 0;
    for (const auto& s : steps)
        if (s.key() == key) return s;
    if (steps.size() < Remembered) return steps.emplace_back(key);
    auto& slot = steps[next];
    next = (next + 1) % Remembered;
    slot = kivo::detail::PropertyStep(key);
    return slot;
}

using plat::DynamicObject;

KivoPropertyInfoList descriptorsOf(plat::DynamicObject& dyn) {
    KivoPropertyInfoList list;
    if (auto descriptors = dyn.getPropertyDescriptors())
        for (const auto& d : *descriptors)
            if (auto info = d.as<KivoPropertyInfo>()) list.push_back(std::move(info));
    return list;
}

}  // namespace

std::string KivoReflector::missingKeyMessage(const std::string& key) { return "Exception:the key " + key + " is not available!"; }

plat::Value KivoReflector::getValue(const plat::Value& object, const std::string& key) {
    // A getter that reads through the reflector in turn gets a step of its own: the remembered ones
    // stay untouched while one of them is in use.
    thread_local int depth = 0;
    if (depth > 0) return kivo::detail::PropertyStep(key).readProbed(object);
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    return stepFor(key).readProbed(object);
}

std::int64_t KivoReflector::getDataType(const plat::Value& value) {
    using K = plat::Value::Kind;
    switch (value.kind()) {
        case K::Nil:
            return KivoDataTypeNone;
        case K::Bool:
            return KivoDataTypeBoolean;
        case K::Integer:
        case K::Double:
            return KivoDataTypeNumber;
        case K::String:
            return KivoDataTypeString;
        case K::Date:
            return KivoDataTypeDate;
        case K::Array:
            return KivoDataTypeArray;
        default:
            return KivoDataTypeObject;
    }
}

KivoPropertyInfoList KivoReflector::getProperties(const plat::Value& object) {
    if (auto* dyn = DynamicObject::answering(object, plat::DynamicObject::GetPropertyDescriptors)) return descriptorsOf(*dyn);
    KivoPropertyInfoList list;
    if (auto* dyn = DynamicObject::answering(object, plat::DynamicObject::GetPropertyNames)) {
        for (const auto& name : dyn->getPropertyNames())
            list.push_back(std::make_shared<KivoPropertyInfo>(name, KivoDataTypeObject, false));
    } else if (object.isObject()) {
        for (const auto& p : object.asObject()->classInfo().ownProperties()) {
            auto info = std::make_shared<KivoPropertyInfo>(p.name());
            info->parseAttributes(p.attributes());
            list.push_back(std::move(info));
        }
    } else if (object.isDictionary()) {
        // A dictionary declares no properties; its keys stand in for them.
        for (const auto& [key, value] : *object.asDictionary())
            list.push_back(std::make_shared<KivoPropertyInfo>(key, getDataType(value), false));
    }
    return list;
}

std::shared_ptr<KivoPropertyInfo> KivoReflector::getProperty(const plat::Value& object, const std::string& name) {
    auto info = std::make_shared<KivoPropertyInfo>(name);
    if (auto* dyn = DynamicObject::answering(object, plat::DynamicObject::GetPropertyDescriptors)) {
        for (auto& d : descriptorsOf(*dyn))
            if (d->name() == name) return d;
    } else if (DynamicObject::answering(object, plat::DynamicObject::GetPropertyNames)) {
        info->setDataType(KivoDataTypeObject);
    } else if (object.isObject()) {
        if (const plat::Property* p = object.asObject()->classInfo().findProperty(name)) info->parseAttributes(p->attributes());
    } else if (object.isDictionary()) {
        auto it = object.asDictionary()->find(name);
        if (it != object.asDictionary()->end()) info->setDataType(getDataType(it->second));
    }
    return info;
}

void KivoReflector::shallowCopyTo(const plat::Value& target, const plat::Value& source) {
    if (target.isNil() || source.isNil()) return;
    for (const auto& info : getProperties(source)) {
        KivoBinding binding(info->name());
        binding.setValue(binding.getValueForTarget(source), target);
    }
}
