#include "collection/GroupTree.h"

#include <algorithm>
#include <utility>

namespace kivo::detail {

// ---- Members ----

void Members::toList() {
    if (!_range) return;
    _list.resize(_count);
    for (Position i = 0; i < _count; ++i) _list[i] = _first + i;
    _range = false;
}

void Members::toRangeIfRun() {
    // Sorted and distinct: a run exactly when the ends are as far apart as the count says.
    if (_range || _list.empty() || _list.back() - _list.front() + 1 != _list.size()) return;
    _first = _list.front();
    _count = static_cast<Position>(_list.size());
    PositionVector().swap(_list);
    _range = true;
}

void Members::append(Position k) {
    if (_range) {
        if (_count == 0) _first = k;
        if (_count == 0 || k == _first + _count) {
            ++_count;
            return;
        }
        toList();
    }
    _list.push_back(k);
}

void Members::insert(Position k) {
    if (_range) {
        if (_count == 0 || k == _first + _count) {
            append(k);
            return;
        }
        if (k + 1 == _first) {
            --_first;
            ++_count;
            return;
        }
        toList();
    }
    _list.insert(std::lower_bound(_list.begin(), _list.end(), k), k);
    toRangeIfRun();
}

void Members::erase(Position k) {
    if (_range) {
        if (_count == 0 || k < _first || k >= _first + _count) return;
        if (k == _first) {
            ++_first;
            --_count;
            return;
        }
        if (k == _first + _count - 1) {
            --_count;
            return;
        }
        toList();
    }
    auto it = std::lower_bound(_list.begin(), _list.end(), k);
    if (it != _list.end() && *it == k) _list.erase(it);
    toRangeIfRun();
}

void Members::shift(Position from, int delta) {
    if (_range) {
        if (_count == 0 || _first + _count <= from) return;
        if (_first >= from) {
            _first = static_cast<Position>(static_cast<std::int64_t>(_first) + delta);
            return;
        }
        toList();  // the range splits at `from`
    }
    auto it = std::lower_bound(_list.begin(), _list.end(), from);
    if (delta > 0)
        for (; it != _list.end(); ++it) ++*it;
    else
        for (; it != _list.end(); ++it) --*it;
    toRangeIfRun();
}

// ---- nodes ----

// One group of the tree, or the root. A node keeps its place in its parent's lookups when its group
// empties (it is detached, with no group), and gets a new group when an item comes back to it.
struct GroupTree::Node final : GroupMembers {
    const GroupTree* tree = nullptr;
    Node* parent = nullptr;
    std::uint32_t depth = 0;  // the level of its group
    std::uint32_t name = NilName;
    std::uint32_t id = 0;                            // bottom nodes: the index in _bottoms
    std::shared_ptr<KivoCollectionViewGroup> group;  // null while detached; the root has none
    KivoCollectionViewGroupList* list = nullptr;     // where the children's groups stand
    std::vector<Node*> ordered;                      // the attached children, in list order
    std::vector<std::unique_ptr<Node>> made;         // every child made
    ScalarIndex byName;                              // name → index in `made`
    Node* firstEmptyNamed = nullptr;                 // the first child whose group reads ""
    Members members;                                 // bottom nodes

    bool attached() const { return group != nullptr || parent == nullptr; }

    size_t count() const override { return members.size(); }
    void fill(plat::Array& out) const override {
        out.reserve(out.size() + members.size());
        for (size_t i = 0; i < members.size(); ++i) out.push_back(tree->_visible.at(members.at(i)));
    }
};

namespace {

// Removes `value` from a list where it is expected at `hint`, searching when the list was changed by
// someone else; answers where it was, or the list's size.
template <class T>
size_t eraseFrom(std::vector<T>& list, const T& value, size_t hint) {
    size_t i = hint < list.size() && list[hint] == value ? hint : std::find(list.begin(), list.end(), value) - list.begin();
    if (i < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    return i;
}

template <class T>
void insertInto(std::vector<T>& list, size_t position, T value) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(position, list.size())), std::move(value));
}

}  // namespace

GroupTree::GroupTree(const GroupDescriptionList& descriptions, const VisibleList& visible, std::shared_ptr<ListShelf> shelf)
    : _visible(visible),
      _shelf(std::move(shelf)),
      _groups(std::make_shared<KivoCollectionViewGroupList>()),
      _root(std::make_unique<Node>()) {
    _root->tree = this;
    _root->list = _groups.get();
    GroupDescriptionList present;
    for (const auto& d : descriptions)
        if (d) present.push_back(d);
    _levels.reserve(present.size());
    for (size_t i = 0; i < present.size(); ++i)
        _levels.emplace_back(present[i], static_cast<std::uint32_t>(i), i + 1 == present.size());
}

GroupTree::~GroupTree() { release(); }

GroupDescriptionList GroupTree::descriptions() const {
    GroupDescriptionList list;
    for (const auto& level : _levels) list.push_back(level.description());
    return list;
}

bool GroupTree::editsInPlace() const {
    return std::all_of(_levels.begin(), _levels.end(),
                       [](const GroupLevel& l) { return l.matchesByEquality() && !l.sawNilName(); });
}

// Lets go of every group: one that someone still holds (or holds through a group above it) keeps
// the items it has now; the top-level list goes to the shelf for anyone still walking it.
void GroupTree::release() {
    if (!_root) return;
    auto walk = [&](auto& self, Node& node, bool heldAbove) -> void {
        for (auto& child : node.made) {
            bool held = heldAbove;
            if (child->group) {
                held = held || child->group.use_count() > 2;  // the node and its parent's list hold it
                GroupAccess::unlink(*child->group, held, *_shelf);
            }
            self(self, *child, held);
        }
    };
    walk(walk, *_root, false);
    _root.reset();
    _bottoms.clear();
    _rootByName.clear();
    _placed = 0;
    // Kept as it is for a loop that walks it by reference.
    if (!_groups->empty()) _shelf->retire(std::exchange(_groups, std::make_shared<KivoCollectionViewGroupList>()));
}

void GroupTree::clear() {
    release();
    _root = std::make_unique<Node>();
    _root->tree = this;
    _root->list = _groups.get();
    for (auto& level : _levels) level.resetNilNames();
}

// ---- building ----

void GroupTree::build(const ItemSequence& items, const BaseGuard* guard) { buildFrom(items, guard); }
void GroupTree::build(const VisibleItems& items, const BaseGuard* guard) { buildFrom(items, guard); }

template <class Items>
void GroupTree::buildFrom(const Items& items, const BaseGuard* guard) {
    clear();
    if (_levels.empty()) return;
    const size_t count = items.size();
    // First every item's bottom node, then each node's members made at their final size: a range
    // where its items stand together.
    std::vector<std::uint32_t> bottomOf(count);
    std::vector<std::uint32_t> names(_levels.size());
    struct Extent {
        Position first = 0, last = 0, count = 0;
    };
    std::vector<Extent> extents;
    constexpr size_t Ahead = 16;  // the items' objects lie apart from the list: fetched ahead
    // With one level, a name leads to the same bottom node all through the build (nodes are only
    // added): found once per name, not walked to per item. Nil and "" are left to the walk.
    const bool oneLevel = _levels.size() == 1 && _levels[0].matchesByEquality();
    std::vector<Node*> nodeByName;
    auto placeItem = [&](size_t i) {
        const std::uint32_t name = names[0];
        Node* node = oneLevel && name < nodeByName.size() ? nodeByName[name] : nullptr;
        if (!node) {
            node = _root.get();
            for (const auto& level : _levels) {
                Node* child = childFor(*node, names[level.depth()]);
                if (!child->attached()) attach(*child, node->ordered.size());  // its first item is the last one
                node = child;
            }
            if (oneLevel && name != NilName && name != _levels[0].emptyName()) {
                if (name >= nodeByName.size()) nodeByName.resize(name + 1);
                nodeByName[name] = node;
            }
        }
        bottomOf[i] = node->id;
        if (node->id >= extents.size()) extents.resize(node->id + 1);
        Extent& e = extents[node->id];
        if (e.count++ == 0) e.first = static_cast<Position>(i);
        e.last = static_cast<Position>(i);
    };
    // Where every level names by a number member, a run of items has its numbers read first, in a
    // loop that does nothing else, so the reads of many objects overlap; naming them from the numbers
    // then runs no code of theirs. An item read otherwise ends the run and is named alone (its code
    // may change other items, so nothing is read ahead of it).
    const bool readAhead =
        std::all_of(_levels.begin(), _levels.end(), [](const GroupLevel& l) { return l.namesByMemberNumbers(); });
    constexpr size_t Run = 256;
    const size_t depths = _levels.size();
    std::vector<double> numbers(readAhead ? Run * depths : 0);
    for (size_t i = 0; i < count;) {
        size_t end = i;
        if (readAhead) {
            for (const size_t limit = std::min(count, i + Run); end < limit; ++end) {
                if (end + Ahead < count) prefetchObject(items.at(end + Ahead));
                const plat::Value& item = items.at(end);
                double* out = &numbers[(end - i) * depths];
                bool read = true;
                for (size_t d = 0; read && d < depths; ++d) read = _levels[d].readMemberNumber(item, out[d]);
                if (!read) break;
            }
        }
        for (const size_t start = i; i < end; ++i) {
            const double* read = &numbers[(i - start) * depths];
            for (size_t d = 0; d < depths; ++d) names[d] = _levels[d].nameOfNumber(read[d]);
            placeItem(i);
        }
        if (i == count) break;
        if (i + Ahead < count) prefetchObject(items.at(i + Ahead));
        // Fetched again for each level: the application's code run for one may change the list.
        for (auto& level : _levels) {
            names[level.depth()] = level.nameOf(items.at(i));
            if (guard) guard->check();
        }
        placeItem(i);
        ++i;
    }
    for (size_t id = 0; id < extents.size(); ++id) {
        const Extent& e = extents[id];
        if (e.count == 0) continue;
        if (e.last - e.first + 1 == e.count)
            _bottoms[id]->members.assignRange(e.first, e.count);
        else
            _bottoms[id]->members.startList(e.count);
    }
    for (size_t i = 0; i < count; ++i) {
        Members& members = _bottoms[bottomOf[i]]->members;
        if (!members.isRange()) members.pushToList(static_cast<Position>(i));
    }
    _placed = count;
}

std::vector<std::uint32_t> GroupTree::nameItems(const plat::Array& items) {
    std::vector<std::uint32_t> names;
    names.reserve(items.size() * _levels.size());
    for (const auto& item : items)
        for (auto& level : _levels) names.push_back(level.nameOf(item));
    return names;
}

// ---- nodes ----

GroupTree::Node* GroupTree::childFor(Node& parent, std::uint32_t name) {
    GroupLevel& level = _levels[parent.parent ? parent.depth + 1 : 0];
    auto make = [&] {
        auto node = std::make_unique<Node>();
        node->tree = this;
        node->parent = &parent;
        node->depth = level.depth();
        node->name = name;
        if (level.isBottom()) {
            node->id = static_cast<std::uint32_t>(_bottoms.size());
            _bottoms.push_back(node.get());
        }
        parent.made.push_back(std::move(node));
        return parent.made.back().get();
    };
    if (!level.matchesByEquality()) {
        // Only the description can say which group matches: the first one in list order.
        for (Node* child : parent.ordered)
            if (level.namesMatch(*child->group, name)) return child;
        return make();
    }
    if (name == NilName) return make();  // an item with no name matches no group
    if (name == level.emptyName()) {
        // "" joins the first group that reads "", which an unnamed item may have made.
        return parent.firstEmptyNamed ? parent.firstEmptyNamed : make();
    }
    if (&parent == _root.get()) {
        if (name < _rootByName.size() && _rootByName[name]) return _rootByName[name];
        Node* node = make();
        if (name >= _rootByName.size()) _rootByName.resize(name + 1);
        _rootByName[name] = node;
        return node;
    }
    std::uint32_t found = parent.byName.find(name);
    if (found != ScalarIndex::Empty) return parent.made[found].get();
    Node* node = make();
    parent.byName.insert(name, static_cast<std::uint32_t>(parent.made.size() - 1));
    return node;
}

GroupTree::Node* GroupTree::bottomAt(Position k) const {
    for (Node* bottom : _bottoms)
        if (bottom->members.contains(k)) return bottom;
    return nullptr;
}

void GroupTree::attach(Node& node, size_t position) {
    const GroupLevel& level = _levels[node.depth];
    node.group =
        std::make_shared<KivoCollectionViewGroup>(level.description(), level.name(node.name), node.depth, level.isBottom());
    if (level.isBottom()) GroupAccess::link(*node.group, &node);
    node.list = level.isBottom() ? nullptr : &node.group->groups();
    node.ordered.clear();
    Node& parent = *node.parent;
    insertInto(parent.ordered, position, &node);
    insertInto(*parent.list, position, node.group);
    if (!parent.firstEmptyNamed && (node.name == NilName || node.name == level.emptyName())) parent.firstEmptyNamed = &node;
}

void GroupTree::detach(Node& node) {
    Node& parent = *node.parent;
    std::shared_ptr<KivoCollectionViewGroup> group = std::move(node.group);
    size_t at = eraseFrom(parent.ordered, &node, 0);
    eraseFrom(*parent.list, group, at);
    node.list = nullptr;
    node.ordered.clear();
    // Empty now: whoever still holds it finds no items.
    GroupAccess::unlink(*group, false, *_shelf);
}

Position GroupTree::firstMember(const Node& node) const {
    const Node* n = &node;
    while (!_levels[n->depth].isBottom()) n = n->ordered.front();
    return n->members.front();
}

void GroupTree::reposition(Node& node) {
    Node& parent = *node.parent;
    size_t at = eraseFrom(parent.ordered, &node, 0);
    eraseFrom(*parent.list, node.group, at);
    Position first = firstMember(node);
    auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), first,
                               [&](const Node* sibling, Position k) { return firstMember(*sibling) < k; });
    size_t position = static_cast<size_t>(to - parent.ordered.begin());
    insertInto(parent.ordered, position, &node);
    insertInto(*parent.list, position, node.group);
}

// ---- edits ----

void GroupTree::splice(size_t at, size_t removed, size_t inserted, const std::vector<std::uint32_t>& names) {
    if (_levels.empty() || at > _placed || names.size() != inserted * _levels.size()) return;
    if (removed == 1 && inserted == 1 && at < _placed) {
        replaceAt(at, names.data());
        return;
    }
    for (size_t i = 0; i < removed && at < _placed; ++i) removeAt(at);
    for (size_t i = 0; i < inserted; ++i) insertAt(at + i, names.data() + i * _levels.size());
}

std::vector<GroupTree::Node*> GroupTree::pathOf(const std::uint32_t* names) {
    std::vector<Node*> path(_levels.size());
    Node* node = _root.get();
    for (const auto& level : _levels) node = path[level.depth()] = childFor(*node, names[level.depth()]);
    return path;
}

void GroupTree::place(const std::vector<Node*>& path, Position at) {
    // From the top: a group the item comes first in takes its place by the item's index (before its
    // members change, its first member is still the old one).
    for (Node* node : path) {
        Node& parent = *node->parent;
        auto before = [&](const Node* sibling, Position k) { return firstMember(*sibling) < k; };
        if (!node->attached()) {
            auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), at, before);
            attach(*node, static_cast<size_t>(to - parent.ordered.begin()));
        } else if (at < firstMember(*node)) {
            size_t from = eraseFrom(parent.ordered, node, 0);
            eraseFrom(*parent.list, node->group, from);
            auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), at, before);
            size_t position = static_cast<size_t>(to - parent.ordered.begin());
            insertInto(parent.ordered, position, node);
            insertInto(*parent.list, position, node->group);
        }
    }
}

void GroupTree::unplace(Node* bottom, Position at) {
    bottom->members.erase(at);
    GroupAccess::forget(*bottom->group, *_shelf);
    // From the bottom: empty groups go; a group the item came first in stands by its next member;
    // above a group whose first member stays, nothing changes.
    for (Node* node = bottom; node->parent; node = node->parent) {
        bool bottomLevel = _levels[node->depth].isBottom();
        if (bottomLevel ? node->members.empty() : node->ordered.empty()) {
            detach(*node);
            continue;
        }
        if (firstMember(*node) < at) break;
        reposition(*node);
    }
}

void GroupTree::insertAt(size_t at, const std::uint32_t* names) {
    const auto k = static_cast<Position>(std::min(at, _placed));
    std::vector<Node*> path = pathOf(names);
    Node* target = path.back();
    // The indices from k on move up by one; a range that k extends stays a range.
    bool grows = target->attached() && target->members.extendsRange(k);
    if (k < _placed)
        for (Node* bottom : _bottoms)
            if (!(grows && bottom == target)) bottom->members.shift(k, 1);
    place(path, k);
    if (grows)
        target->members.grow();
    else
        target->members.insert(k);
    GroupAccess::forget(*target->group, *_shelf);
    ++_placed;
}

void GroupTree::removeAt(size_t at) {
    const auto k = static_cast<Position>(at);
    Node* bottom = bottomAt(k);
    if (!bottom) return;
    unplace(bottom, k);
    --_placed;
    for (Node* b : _bottoms) b->members.shift(k + 1, -1);
}

void GroupTree::replaceAt(size_t at, const std::uint32_t* names) {
    const auto k = static_cast<Position>(at);
    std::vector<Node*> path = pathOf(names);
    Node* old = bottomAt(k);
    if (!old) return;
    if (path.back() == old) {
        GroupAccess::forget(*old->group, *_shelf);  // the same group, another item
        return;
    }
    unplace(old, k);
    place(path, k);
    path.back()->members.insert(k);
    GroupAccess::forget(*path.back()->group, *_shelf);
}

}  // namespace kivo::detail
