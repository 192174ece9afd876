#pragma once
// A collection view's groups, kept in step with its visible list. Built from the list, the tree
// follows the rules of a rebuild: for each item, level by level, the first group in the current list
// whose name matches takes it, or a new group is appended; bottom-level groups collect the items.
// Groups therefore stand in the order of their first items, and items keep their visible order.
//
// Edits of the visible list then place, move and remove just the items concerned, keeping exactly
// the groups a rebuild would make, in time proportional to a scan of the list's group pointers, with
// no application code run. Where only the application's code could tell (a description that matches
// names its own way, or items named nil, whose groups take later items named ""), the view builds the
// tree again instead.

#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "collection/GroupNaming.h"

namespace kivo::detail {

using GroupDescriptionList = std::vector<std::shared_ptr<KivoGroupDescription>>;

// The items a tree is built from.
class ItemSequence {
public:
    virtual ~ItemSequence() = default;
    virtual size_t size() const = 0;
    // A copy, so that application code run on it cannot pull it away; nil beyond the end.
    virtual plat::Value at(size_t i) const = 0;
};

class GroupTree {
public:
    explicit GroupTree(const GroupDescriptionList& descriptions);
    ~GroupTree();
    GroupTree(const GroupTree&) = delete;
    GroupTree& operator=(const GroupTree&) = delete;

    bool hasLevels() const { return !_levels.empty(); }
    GroupDescriptionList descriptions() const;
    const KivoCollectionViewGroupList& groups() const { return _groups; }
    // The number of items placed, which equals the visible list's while the two are in step.
    size_t itemCount() const { return _bottomOf.size(); }

    // Groups `items` from nothing. Runs the descriptions' code; when that throws, drop the tree.
    void build(const ItemSequence& items);

    // Whether edits can be applied in place (see above); nameItems can make it false.
    bool editsInPlace() const;
    // The names, level after level, of items about to enter the list. Runs the descriptions' code.
    std::vector<std::uint32_t> nameItems(const plat::Array& items);
    // The visible list had its items [at, at + removed) replaced by `inserted`, named by nameItems.
    void splice(size_t at, size_t removed, const plat::Array& inserted, const std::vector<std::uint32_t>& names);
    void clear();

private:
    struct Node;

    Node* childFor(Node& parent, std::uint32_t name);
    void attach(Node& node, size_t position);
    void detach(Node& node);
    void move(Node& node, size_t position);
    void append(plat::Value item, const std::uint32_t* names);
    void insertAt(size_t at, const plat::Value& item, const std::uint32_t* names);
    void removeAt(size_t at);
    // How many groups with the parent of path[l] come before `end` in the list, per level, and
    // whether path[l] itself does.
    void scanBefore(size_t end, Node* const* path, std::vector<size_t>& before, std::vector<bool>& seen);
    Node* ancestor(Node* bottom, std::uint32_t depth) const;
    bool isEmpty(const Node& node) const;

    std::vector<GroupLevel> _levels;
    KivoCollectionViewGroupList _groups;
    std::unique_ptr<Node> _root;
    std::vector<Node*> _bottomOf;  // the bottom group of each visible item, in visible order
    std::uint64_t _epoch = 0;
};

// What an edit of the visible list does to the groups, worked out before the list changes.
struct GroupEdit {
    std::vector<std::uint32_t> names;    // of the inserted items, when the tree takes the edit in place
    std::unique_ptr<GroupTree> rebuilt;  // otherwise the groups made anew for the edited list
};

// Empties a group list that is being replaced, faster than dropping it: the items of groups that no
// one else holds are released in an order the memory system can fetch ahead.
void releaseGroups(KivoCollectionViewGroupList& groups);

}  // namespace kivo::detail
