#pragma once
// A property path prepared for reading many items: the path is split once, and each of its keys is
// resolved once per class of item (a few classes are remembered, so a list that mixes classes stays
// cheap; a list of one class costs a pointer compare per read). Items are model objects with declared
// properties, dictionaries, or objects answering the dynamic-object methods (asked through those).
//
// read() answers what KivoBinding::getValueForTarget answers (nil becomes the null value at the next
// part; a missing key is logged as the reflector logs it and reads nil), except that a getter runs once
// per read. readNumber() and readString() answer plain numbers and texts without building a value; when
// the value is not of their kind they answer false having run none of the item's code and logged
// nothing, so the caller can go on with read().
//
// A reader keeps its class cache inside: use one reader from one thread at a time.

#include <string>
#include <string_view>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {
class PropertyStep;
}

class KIVO_CORE_EXPORT KivoPropertyReader {
public:
    // A dotted path, followed one part at a time: "sales", "customer.address.city".
    explicit KivoPropertyReader(std::string_view path);
    // One key taken whole, dots included, as KivoReflector::getValue takes its key.
    static KivoPropertyReader forKey(std::string_view key);

    KivoPropertyReader(const KivoPropertyReader& other);
    KivoPropertyReader& operator=(const KivoPropertyReader& other);
    KivoPropertyReader(KivoPropertyReader&&) noexcept;
    KivoPropertyReader& operator=(KivoPropertyReader&&) noexcept;
    ~KivoPropertyReader();

    const std::string& path() const { return _path; }

    // The value at the end of the path.
    plat::Value read(const plat::Value& item) const;
    // A value that a double holds exactly (a number member or getter of at most 32 bits, a double, a
    // float or a Boolean as 0 or 1; a dictionary's number within ±2^53).
    bool readNumber(const plat::Value& item, double& number) const;
    // A string member or a dictionary's string, in place: `text` stays valid while the item (and every
    // object along the path) lives unchanged.
    bool readString(const plat::Value& item, std::string_view& text) const;

private:
    struct KeyTag {};
    KivoPropertyReader(std::string_view key, KeyTag);

    std::string _path;
    std::vector<kivo::detail::PropertyStep> _steps;  // one per part of the path
};
