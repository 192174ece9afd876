#pragma once
// One key of a property path, with what each class of item answers for it found once per class.
// The prepared reader, the reflector and the binding all read through it; they differ only in how
// often a getter runs (once, or a guarded probe and then the read, as the reflector does).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "Platform/foundation/reflect.h"

namespace kivo::detail {

class PropertyStep {
public:
    explicit PropertyStep(std::string key) : _key(std::move(key)) {}

    const std::string& key() const { return _key; }

    // nil → the null value; a dynamic object's answer; a declared property (a getter runs once); a
    // dictionary's entry; anything else by key-value access. A missing key is logged and reads nil.
    plat::Value read(const plat::Value& item) const;
    // As read(), but a getter, or anything read by key-value access, runs twice: first under a guard
    // that turns a failure into the logged nil, then for the value returned.
    plat::Value readProbed(const plat::Value& item) const;

    // Plain numbers and texts without a value built; false (nothing run, nothing logged) otherwise.
    // Inline: bulk reads over many items go through here.
    bool readNumber(const plat::Value& item, double& number) const {
        if (!item.isObject()) return item.isDictionary() && dictionaryNumber(item, number);
        const plat::Object* o = declaredObject(item);
        if (!o) return false;
        const Resolution& r = resolve(*o);
        if (!(r.flags & Number)) return false;
        if (!(r.flags & DataMember)) return getterNumber(r.property, item, number);
        number = r.property->number(*o);
        return true;
    }
    // The same for a number that a data member of a declared class holds, and nothing else: no code
    // of the item runs, so many items can be read ahead of their use.
    bool readMemberNumber(const plat::Value& item, double& number) const {
        if (!item.isObject()) return false;
        const plat::Object* o = declaredObject(item);
        if (!o) return false;
        const Resolution& r = resolve(*o);
        if ((r.flags & (Number | DataMember)) != (Number | DataMember)) return false;
        number = r.property->number(*o);
        return true;
    }
    bool readString(const plat::Value& item, std::string_view& text) const {
        if (!item.isObject()) return item.isDictionary() && dictionaryString(item, text);
        const plat::Object* o = declaredObject(item);
        if (!o) return false;
        const Resolution& r = resolve(*o);
        if (!(r.flags & String)) return false;
        text = r.property->string(*o);
        return true;
    }
    // The value when reading it runs none of the item's code and logs nothing: a data member of a
    // declared class or a dictionary's entry. False otherwise, with nothing read.
    bool readQuietly(const plat::Value& item, plat::Value& value) const;

private:
    enum Flags : std::uint8_t { Number = 1, String = 2, DataMember = 4 };
    struct Resolution {
        const plat::Property* property = nullptr;  // null: the class lacks the key
        std::uint8_t flags = 0;
    };
    struct Entry {
        const std::type_info* type = nullptr;
        Resolution resolution;
    };
    static constexpr std::size_t RememberedClasses = 8;

    // Keyed by the item's dynamic type, which decides its class descriptor: telling them apart costs
    // no call.
    const Resolution& resolve(const plat::Object& o) const {
        if (&typeid(o) == _last.type) return _last.resolution;
        return resolveSlow(o);
    }
    const Resolution& resolveSlow(const plat::Object& o) const;
    // The object an item holds, unless it answers the dynamic-object read (then asked instead).
    static const plat::Object* declaredObject(const plat::Value& item) {
        const plat::Object* o = item.asObject().get();
        const plat::DynamicObject* dyn = o->asDynamicObject();
        return dyn && dyn->answers(plat::DynamicObject::GetPropertyValue) ? nullptr : o;
    }
    bool dictionaryNumber(const plat::Value& item, double& number) const;
    bool dictionaryString(const plat::Value& item, std::string_view& text) const;
    // Runs the getter with the item held: it may drop the slot that `item` refers to.
    static bool getterNumber(const plat::Property* property, const plat::Value& item, double& number);

    std::string _key;
    // The class read last, then a few others: lists of one class never leave the first compare.
    mutable Entry _last;
    mutable std::array<Entry, RememberedClasses> _others{};
    mutable std::size_t _nextSlot = 0;
};

// The steps of a dotted path, one per part between dots (empty parts included, as a key may be empty).
std::vector<PropertyStep> propertySteps(std::string_view path);

}  // namespace kivo::detail
