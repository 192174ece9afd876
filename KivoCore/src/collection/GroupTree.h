#pragma once
// A collection view's groups, kept in step with its visible list. Built from the list, the tree
// follows the rules of a rebuild: for each item, level by level, the first group in the current list
// whose name matches takes it, or a new group is appended; bottom-level groups collect the items.
// Groups therefore stand in the order of their first items, and items keep their visible order.
//
// Edits of the visible list then place, move and remove just the items concerned, keeping exactly
// the groups a rebuild would make, with no application code run. Each visible item carries an order
// label (increasing along the list, with room between neighbours), each bottom group the labels of
// its items, so an item finds its place in its group, and a group its place among its siblings (by
// its first item), by binary search. Where only the application's code could tell (a description
// that matches names its own way, or items named nil, whose groups take later items named ""), the
// view builds the tree again instead.

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
    // An item, nil beyond the end. Fetch it again after running application code, which may change
    // the list under it.
    virtual const plat::Value& at(size_t i) const = 0;

protected:
    inline static const plat::Value Nil{};
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
    // Puts an attached node where its first item says among its siblings.
    void reposition(Node& node);
    std::uint64_t firstLabel(const Node& node) const;
    void append(plat::Value item, const std::uint32_t* names);
    void insertAt(size_t at, const plat::Value& item, const std::uint32_t* names);
    void removeAt(size_t at);
    void replaceAt(size_t at, const plat::Value& item, const std::uint32_t* names);
    // The nodes an item's names lead to, made (detached) where missing.
    std::vector<Node*> pathOf(const std::uint32_t* names);
    // Puts the item with the label into the path's bottom group, attaching and moving groups for it.
    void place(const std::vector<Node*>& path, std::uint64_t label, const plat::Value& item);
    // Takes the item with the label out of its bottom group, dropping and moving groups for it.
    void unplace(Node* bottom, std::uint64_t label);
    // A label for a new item at `at`, between its neighbours' (relabelling all when there is no room).
    std::uint64_t labelFor(size_t at);
    void relabel();

    std::vector<GroupLevel> _levels;
    KivoCollectionViewGroupList _groups;
    std::unique_ptr<Node> _root;
    // Per visible item, in visible order: its bottom group and its order label.
    std::vector<Node*> _bottomOf;
    std::vector<std::uint64_t> _labels;
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
