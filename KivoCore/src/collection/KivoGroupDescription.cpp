#include "KivoCore/KivoGroupDescription.h"

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"

std::optional<std::string> KivoGroupDescription::groupNameFromItem(const plat::Value& item, std::uint64_t) const {
    return item.description();
}

bool KivoGroupDescription::namesMatch(const std::optional<std::string>& groupName,
                                      const std::optional<std::string>& itemName) const {
    return groupName && itemName && *groupName == *itemName;
}

std::optional<std::string> KivoPropertyGroupDescription::groupNameFromItem(const plat::Value& item, std::uint64_t) const {
    if (_converter) return _converter(item, _property);
    return KivoReflector::formatValue(KivoReflector::getValue(item, _property));
}
