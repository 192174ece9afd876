#include "KivoCore/KivoReflector.h"

#include "KivoCore/KivoBinding.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/reflect.h"

namespace {

// Items of one class repeat: remember the last property found, so a bulk read over many items costs
// a pointer and a short string comparison per item instead of a search of the class's table.
struct LookupCache {
    const plat::ClassInfo* cls = nullptr;
    std::string key;
    const plat::Property* property = nullptr;
};

const plat::Property* findProperty(const plat::Object& object, const std::string& key) {
    thread_local LookupCache cache;
    const plat::ClassInfo& cls = object.classInfo();
    if (cache.cls == &cls && cache.key == key) return cache.property;
    const plat::Property* p = cls.findProperty(key);
    cache.cls = &cls;
    cache.key = key;
    cache.property = p;
    return p;
}

plat::Value keyValueRead(const plat::Value& object, const std::string& key) {
    if (object.isObject()) {
        const plat::Object& o = *object.asObject();
        if (const plat::Property* p = findProperty(o, key)) return p->get(o);
    }
    return plat::valueForKey(object, key);
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
    if (object.isNil()) return plat::Value::null();
    if (object.isObject() && !DynamicObject::answering(object, plat::DynamicObject::GetPropertyValue)) {
        // A plain data member runs no code of the class: its probe and its read are the same read,
        // and the item is read in place (holding it would touch its reference count on every read).
        const plat::Object& o = *object.asObject();
        if (const plat::Property* p = findProperty(o, key); p && p->isDataMember()) return p->get(o);
    }
    // From here the item's own code runs (a getter, twice, or getPropertyValue), and it may move or
    // drop the slot that `object` refers to, such as an element of the list that holds the item.
    const plat::Value item = object;
    if (auto* dyn = DynamicObject::answering(item, plat::DynamicObject::GetPropertyValue)) return dyn->getPropertyValue(key);
    try {
        keyValueRead(item, key);
    } catch (const plat::Exception&) {
        plat::log(missingKeyMessage(key));
        return {};
    }
    return keyValueRead(item, key);
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
