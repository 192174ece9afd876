#pragma once
// One group of a grouped collection view: its name and level, its items (bottom level) or sub-groups,
// and aggregates over all the items below it. A view's bottom-level group knows its items as
// positions in the view's visible list; `items` makes a list of them when asked, and that list never
// changes afterwards (the group makes a new one after an edit).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoGroupDescription.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {
class GroupMembers;
struct GroupAccess;
}  // namespace kivo::detail

class KivoCollectionViewGroup;
using KivoCollectionViewGroupList = std::vector<std::shared_ptr<KivoCollectionViewGroup>>;

class KIVO_CORE_EXPORT KivoCollectionViewGroup : public plat::Object {
public:
    // No name (nullopt) reads as "".
    KivoCollectionViewGroup(std::shared_ptr<KivoGroupDescription> groupDescription, std::optional<std::string> name,
                            std::uint64_t level, bool isBottomLevel)
        : _groupDescription(std::move(groupDescription)),
          _name(name.value_or(std::string())),
          _level(level),
          _isBottomLevel(isBottomLevel),
          _items(std::make_shared<plat::Array>()) {}

    const std::string& name() const { return _name; }
    std::uint64_t level() const { return _level; }
    bool isBottomLevel() const { return _isBottomLevel; }
    // The group's own items, in view order; filled on the bottom level.
    const plat::ArrayPtr& items() const;
    const KivoCollectionViewGroupList& groups() const { return _groups; }
    KivoCollectionViewGroupList& groups() { return _groups; }
    const std::shared_ptr<KivoGroupDescription>& groupDescription() const { return _groupDescription; }

    // Its own items plus, recursively, those of its sub-groups.
    std::uint64_t totalItemCount() const;
    // A new list: its own items, then each sub-group's items recursively, in sub-group order.
    plat::ArrayPtr itemsRecursive() const;
    // KivoGetAggregate over itemsRecursive().
    double getAggregate(std::int64_t aggregate, const std::optional<std::string>& binding) const;

private:
    friend struct kivo::detail::GroupAccess;

    std::shared_ptr<KivoGroupDescription> _groupDescription;
    std::string _name;
    std::uint64_t _level;
    bool _isBottomLevel;
    // Made from `_members` when asked while the group belongs to a view; the group's own list otherwise.
    mutable plat::ArrayPtr _items;
    KivoCollectionViewGroupList _groups;
    const kivo::detail::GroupMembers* _members = nullptr;  // while a view keeps the group
};
