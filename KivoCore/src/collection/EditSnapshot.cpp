#include "collection/EditSnapshot.h"

#include <set>

#include "KivoCore/KivoBinding.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/reflect.h"

namespace kivo::detail {

namespace {

// The names to remember. The reflector lists only the properties a class declares itself, which would
// leave edits of inherited properties in place on cancel: walk the whole class chain instead.
std::vector<std::string> writableProperties(const plat::Value& item) {
    using plat::DynamicObject;
    std::vector<std::string> names;
    if (DynamicObject::answering(item, DynamicObject::GetPropertyDescriptors) ||
        DynamicObject::answering(item, DynamicObject::GetPropertyNames)) {
        for (const auto& info : KivoReflector::getProperties(item))
            if (!info->isReadOnly()) names.push_back(info->name());
        return names;
    }
    std::set<std::string, std::less<>> seen;
    for (const plat::ClassInfo* cls = &item.asObject()->classInfo(); cls; cls = cls->base())
        for (const auto& p : cls->ownProperties())
            if (seen.insert(p.name()).second && !p.isReadOnly()) names.push_back(p.name());
    return names;
}

}  // namespace

EditSnapshot EditSnapshot::take(const plat::Value& item) {
    EditSnapshot snapshot;
    if (item.isDictionary()) {
        snapshot._entries = std::make_shared<plat::Dictionary>(*item.asDictionary());
    } else if (item.isObject()) {
        for (auto& name : writableProperties(item)) {
            plat::Value value = KivoReflector::getValue(item, name);
            snapshot._properties.emplace_back(std::move(name), std::move(value));
        }
    }
    return snapshot;
}

void EditSnapshot::restoreTo(const plat::Value& item) const {
    if (_entries && item.isDictionary()) {
        *item.asDictionary() = *_entries;
        return;
    }
    for (const auto& [name, value] : _properties) KivoBinding(name).setValue(value, item);
}

}  // namespace kivo::detail
