#pragma once
// A collection view's groups, kept in step with its visible list. Built from the list, the tree
// follows the rules of a rebuild: for each item, level by level, the first group in the current list
// whose name matches takes it, or a new group is appended; bottom-level groups collect the items.
// Groups therefore stand in the order of their first items, and items keep their visible order.
//
// A bottom group holds no items, only the visible indices of its members (Members): a run of
// consecutive indices as a range, anything else as a sorted list; nothing else is kept per item. Edits of the visible list then
// place, move and remove just the indices concerned, keeping exactly the groups a rebuild would make, with no application code
// run: a group takes its place among its siblings by its first member, by binary search. Where only the application's code could
// tell (a description that matches names its own way, or items with no name, whose groups take later items named ""), the view
// builds the tree again instead.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "collection/GroupNaming.h"
#include "collection/VisibleList.h"

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

// The visible list's items, as a sequence.
class VisibleItems final : public ItemSequence {
public:
    explicit VisibleItems(const VisibleList& list) : _list(list) {}
    size_t size() const override { return _list.size(); }
    const plat::Value& at(size_t i) const override { return i < _list.size() ? _list.at(i) : Nil; }

private:
    const VisibleList& _list;
};

// The visible indices of one bottom group's items, ascending.
class Members {
public:
    size_t size() const { return _range ? _count : _list.size(); }
    bool empty() const { return size() == 0; }
    bool isRange() const { return _range; }
    Position at(size_t i) const { return _range ? _first + static_cast<Position>(i) : _list[i]; }
    Position front() const { return at(0); }
    bool contains(Position k) const {
        if (_range) return _first <= k && k - _first < _count;
        return std::binary_search(_list.begin(), _list.end(), k);
    }
    // Whether inserting `k` (with the indices from k on moving up) keeps a range: k within or just
    // past it.
    bool extendsRange(Position k) const { return _range && _count > 0 && _first <= k && k <= _first + _count; }
    // Adds an index beyond every member.
    void append(Position k);
    // Adds an index that is not a member.
    void insert(Position k);
    // The same where extendsRange(k): the members from k on move up by one.
    void grow() { ++_count; }
    void erase(Position k);
    // Building: the members as one range, or as a list of `n` indices appended in order.
    void assignRange(Position first, Position count) {
        _range = true;
        _first = first;
        _count = count;
        PositionVector().swap(_list);
    }
    void startList(size_t n) {
        _range = false;
        _list.clear();
        _list.reserve(n);
    }
    void pushToList(Position k) { _list.push_back(k); }
    // Every member at or after `from` moves by `delta`.
    void shift(Position from, int delta);

private:
    void toList();
    void toRangeIfRun();

    Position _first = 0;
    Position _count = 0;
    bool _range = true;
    PositionVector _list;
};

// What a view's bottom group reads its items through.
class GroupMembers {
public:
    virtual size_t count() const = 0;
    virtual void fill(plat::Array& out) const = 0;

protected:
    ~GroupMembers() = default;
};

// The view's hold on its groups' item lists.
struct GroupAccess {
    static void link(KivoCollectionViewGroup& group, const GroupMembers* members) {
        group._members = members;
        group._items.reset();
    }
    // The group's items changed: the list made for it is out of date.
    static void forget(KivoCollectionViewGroup& group, ListShelf& shelf) {
        if (group._members) shelf.retire(std::move(group._items));
    }
    // The group leaves the view; `keep`: someone holds it, so it keeps the items it has now.
    static void unlink(KivoCollectionViewGroup& group, bool keep, ListShelf& shelf) {
        if (!group._members) return;
        if (keep)
            group.items();
        else
            shelf.retire(std::move(group._items));
        group._members = nullptr;
    }
};

class GroupTree {
public:
    // Groups the items of `visible`, which must outlive the tree; lists made for the groups go to
    // `shelf` when they go out of date.
    GroupTree(const GroupDescriptionList& descriptions, const VisibleList& visible, std::shared_ptr<ListShelf> shelf);
    ~GroupTree();
    GroupTree(const GroupTree&) = delete;
    GroupTree& operator=(const GroupTree&) = delete;

    bool hasLevels() const { return !_levels.empty(); }
    GroupDescriptionList descriptions() const;
    const KivoCollectionViewGroupList& groups() const { return *_groups; }
    // The number of items placed, which equals the visible list's while the two are in step.
    size_t itemCount() const { return _placed; }

    // Groups `items` (the visible list's) from nothing. Runs the descriptions' code, and after each
    // run checks `guard` (when given), which throws when the base list changed.
    void build(const ItemSequence& items, const BaseGuard* guard = nullptr);
    void build(const VisibleItems& items, const BaseGuard* guard = nullptr);

    // Whether edits can be applied in place (see above); nameItems can make it false.
    bool editsInPlace() const;
    // The names, level after level, of items about to enter the list. Runs the descriptions' code.
    std::vector<std::uint32_t> nameItems(const plat::Array& items);
    // The visible list had its items [at, at + removed) replaced by `inserted`, named by nameItems.
    void splice(size_t at, size_t removed, size_t inserted, const std::vector<std::uint32_t>& names);
    void clear();

private:
    struct Node;

    template <class Items>
    void buildFrom(const Items& items, const BaseGuard* guard);
    // The bottom node that holds visible index k.
    Node* bottomAt(Position k) const;
    Node* childFor(Node& parent, std::uint32_t name);
    void attach(Node& node, size_t position);
    void detach(Node& node);
    // Puts an attached node where its first member says among its siblings.
    void reposition(Node& node);
    Position firstMember(const Node& node) const;
    void insertAt(size_t at, const std::uint32_t* names);
    void removeAt(size_t at);
    void replaceAt(size_t at, const std::uint32_t* names);
    // The nodes an item's names lead to, made (detached) where missing.
    std::vector<Node*> pathOf(const std::uint32_t* names);
    // Attaches and moves the path's groups for a new member at `at` (not yet added to the bottom).
    void place(const std::vector<Node*>& path, Position at);
    // Takes `at` out of its bottom group, dropping and moving groups for it.
    void unplace(Node* bottom, Position at);
    void release();

    const VisibleList& _visible;
    std::shared_ptr<ListShelf> _shelf;
    std::vector<GroupLevel> _levels;
    std::shared_ptr<KivoCollectionViewGroupList> _groups;
    std::unique_ptr<Node> _root;
    std::vector<Node*> _bottoms;     // every bottom node made, by id
    std::vector<Node*> _rootByName;  // the top level's nodes by name: names are numbered densely
    size_t _placed = 0;
};

// What an edit of the visible list does to the groups, worked out before the list changes.
struct GroupEdit {
    std::vector<std::uint32_t> names;    // of the inserted items, when the tree takes the edit in place
    std::unique_ptr<GroupTree> rebuilt;  // otherwise the groups made anew for the edited list
};

}  // namespace kivo::detail
