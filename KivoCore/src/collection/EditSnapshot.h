#pragma once
// What an item looked like when its edit began, so that cancelling the edit can put its properties
// back on the same object (the application's object stays in place; only its values return).

#include <string>
#include <utility>
#include <vector>

#include "Platform/foundation/value.h"

namespace kivo::detail {

class EditSnapshot {
public:
    // Model objects: every writable declared property, inherited ones included. Objects answering
    // the dynamic-object methods: the properties they describe. Dictionaries: all entries.
    static EditSnapshot take(const plat::Value& item);
    // Writes the remembered values back onto `item`; a value that no longer fits is logged and skipped.
    void restoreTo(const plat::Value& item) const;

private:
    std::vector<std::pair<std::string, plat::Value>> _properties;
    plat::DictionaryPtr _entries;  // a copy of a dictionary item's entries
};

}  // namespace kivo::detail
