#pragma once
// A grouping level by one property: items whose values format to the same text (numbers to at most
// two fraction digits, dates to their short date, nil to "") share a group, or a converter names it.

#include <functional>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoGroupDescription.h"

class KIVO_CORE_EXPORT KivoPropertyGroupDescription : public KivoGroupDescription {
public:
    // Takes the item and the property name; answers the group name (nullopt: a group of its own).
    using Converter = std::function<std::optional<std::string>(const plat::Value& item, const std::string& property)>;

    explicit KivoPropertyGroupDescription(std::string property, Converter converter = nullptr)
        : _property(std::move(property)), _converter(std::move(converter)) {}

    const std::string& property() const { return _property; }
    const Converter& converter() const { return _converter; }

    std::optional<std::string> groupNameFromItem(const plat::Value& item, std::uint64_t level) const override;

private:
    std::string _property;
    Converter _converter;
};
