#pragma once
// One sort key of a collection view: the property whose values are compared, and the direction.
// Changing a description does not refresh a view; replacing it in the view's list does.

#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoSortDescription : public plat::Object {
public:
    KivoSortDescription(std::string property, bool ascending) : _property(std::move(property)), _ascending(ascending) {}

    const std::string& property() const { return _property; }
    void setProperty(std::string property) { _property = std::move(property); }
    bool ascending() const { return _ascending; }
    void setAscending(bool ascending) { _ascending = ascending; }
    // Kept for the controls that make the description from a key path; sorting reads `property` only.
    const std::string& binding() const { return _binding; }
    void setBinding(std::string binding) { _binding = std::move(binding); }

private:
    std::string _property;
    bool _ascending;
    std::string _binding;
};
