#pragma once
// Reads one key of many items for the collection view's sort, filter, group and aggregates, as
// KivoReflector::getValue reads a key, but through a prepared reader: the property is resolved once
// per class instead of once per read, a getter runs once, and plain numbers and texts come without a
// value built. A refresh over a million items reads each key through one of these.

#include <string>
#include <string_view>

#include "KivoCore/KivoPropertyReader.h"
#include "reflect/PropertyStep.h"

namespace kivo::detail {

class ItemKeyReader {
public:
    explicit ItemKeyReader(std::string key) : _key(std::move(key)), _reader(KivoPropertyReader::forKey(_key)), _step(_key) {}

    const std::string& key() const { return _key; }

    // The item's value for the key: null for a nil item, the dynamic object's answer, the declared
    // property's value, a dictionary's entry; a missing key is logged and reads nil.
    plat::Value read(const plat::Value& item) { return _reader.read(item); }

    // A plain number (a double, float, Boolean or an integer of at most 32 bits, or a dictionary's
    // number that a double holds exactly) in `number` with no value built; answers whether it did.
    // When it did not, nothing of the item ran and nothing was logged: go on with read().
    bool readNumber(const plat::Value& item, double& number) { return _reader.readNumber(item, number); }
    // A number that a data member holds, read in place with nothing of the item run or logged (inline,
    // for passes that read many items ahead of their use); false for any other value.
    bool readMemberNumber(const plat::Value& item, double& number) const { return _step.readMemberNumber(item, number); }
    // Likewise a string member or a dictionary's string, in place (valid while the item is unchanged).
    bool readString(const plat::Value& item, std::string_view& text) { return _reader.readString(item, text); }

private:
    std::string _key;
    KivoPropertyReader _reader;
    PropertyStep _step;  // the key whole, as the reader takes it
};

}  // namespace kivo::detail
