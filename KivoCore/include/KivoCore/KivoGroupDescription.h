#pragma once
// One grouping level of a collection view: it names each item's group and says which names match.
// The base names an item by its description; subclasses name it by a property.

#include <cstdint>
#include <optional>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoGroupDescription : public plat::Object {
public:
    // The item's group name; nullopt puts the item in a group of its own. The level is not used here.
    virtual std::optional<std::string> groupNameFromItem(const plat::Value& item, std::uint64_t level) const;
    // Whether an existing group's name (first) and an item's group name are the same group; nullopt
    // on either side never matches.
    virtual bool namesMatch(const std::optional<std::string>& groupName, const std::optional<std::string>& itemName) const;
};
