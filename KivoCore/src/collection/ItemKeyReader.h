#pragma once
// Reads one key of many items, as KivoReflector::getValue does, but resolves the property once per
// class instead of once per read, calls its getter once, and reads plain numeric members without
// building a value. A refresh over a million items reads each key through one of these.

#include <string>

#include "Platform/foundation/reflect.h"

namespace kivo::detail {

class ItemKeyReader {
public:
    explicit ItemKeyReader(std::string key) : _key(std::move(key)) {}

    const std::string& key() const { return _key; }

    // The item's value for the key: null for a nil item, the dynamic object's answer, the declared
    // property's value; anything else (dictionaries, missing keys, which are logged) through the
    // reflector.
    plat::Value read(const plat::Value& item);

    // Like read(), but a plain numeric member (a double, float, Boolean or an integer of at most 32
    // bits, all exact in a double) comes back in `number` with no value built; answers whether it did.
    bool readNumber(const plat::Value& item, double& number);

private:
    struct Resolved {
        const plat::Property* property = nullptr;
        bool direct = false;  // numeric member exact in a double
    };
    // The declared property for the item, or no property when it must go through the reflector.
    Resolved resolve(const plat::Object& object);

    std::string _key;
    const plat::ClassInfo* _class = nullptr;
    Resolved _resolved;
};

}  // namespace kivo::detail
