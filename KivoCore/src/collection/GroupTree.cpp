#include "collection/GroupTree.h"

#include <algorithm>

namespace kivo::detail {

// One group of the tree, or the root. A node keeps its place in its parent's lookups when its group
// empties (it is detached, with no group), and gets a new group when an item comes back to it.
struct GroupTree::Node {
    Node* parent = nullptr;
    std::uint32_t depth = 0;  // the level of its group
    std::uint32_t name = NilName;
    std::shared_ptr<KivoCollectionViewGroup> group;  // nil while detached; the root has none
    KivoCollectionViewGroupList* list = nullptr;     // where the children's groups stand
    std::vector<Node*> ordered;                      // the attached children, in list order
    std::vector<std::unique_ptr<Node>> made;         // every child made
    ScalarIndex byName;                              // name → index in `made`
    Node* firstEmptyNamed = nullptr;                 // the first child whose group reads ""
    std::uint64_t mark = 0;

    bool attached() const { return group != nullptr || parent == nullptr; }
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

GroupTree::GroupTree(const GroupDescriptionList& descriptions) : _root(std::make_unique<Node>()) {
    _root->list = &_groups;
    GroupDescriptionList present;
    for (const auto& d : descriptions)
        if (d) present.push_back(d);
    _levels.reserve(present.size());
    for (size_t i = 0; i < present.size(); ++i)
        _levels.emplace_back(present[i], static_cast<std::uint32_t>(i), i + 1 == present.size());
}

GroupTree::~GroupTree() { releaseGroups(_groups); }

GroupDescriptionList GroupTree::descriptions() const {
    GroupDescriptionList list;
    for (const auto& level : _levels) list.push_back(level.description());
    return list;
}

bool GroupTree::editsInPlace() const {
    return std::all_of(_levels.begin(), _levels.end(),
                       [](const GroupLevel& l) { return l.matchesByEquality() && !l.sawNilName(); });
}

// ---- building ----

void GroupTree::build(const ItemSequence& items) {
    clear();
    if (_levels.empty()) return;
    _bottomOf.reserve(items.size());
    std::vector<std::uint32_t> names(_levels.size());
    for (size_t i = 0; i < items.size(); ++i) {
        plat::Value item = items.at(i);
        for (auto& level : _levels) names[level.depth()] = level.nameOf(item);
        append(std::move(item), names.data());
    }
}

std::vector<std::uint32_t> GroupTree::nameItems(const plat::Array& items) {
    std::vector<std::uint32_t> names;
    names.reserve(items.size() * _levels.size());
    for (const auto& item : items)
        for (auto& level : _levels) names.push_back(level.nameOf(item));
    return names;
}

void GroupTree::clear() {
    releaseGroups(_groups);
    _root = std::make_unique<Node>();
    _root->list = &_groups;
    _bottomOf.clear();
    for (auto& level : _levels) level.resetNilNames();
}

// ---- nodes ----

GroupTree::Node* GroupTree::childFor(Node& parent, std::uint32_t name) {
    GroupLevel& level = _levels[parent.parent ? parent.depth + 1 : 0];
    auto make = [&] {
        auto node = std::make_unique<Node>();
        node->parent = &parent;
        node->depth = level.depth();
        node->name = name;
        parent.made.push_back(std::move(node));
        return parent.made.back().get();
    };
    if (!level.matchesByEquality()) {
        // Only the description can say which group matches: the first one in list order.
        for (Node* child : parent.ordered)
            if (level.namesMatch(*child->group, name)) return child;
        return make();
    }
    if (name == NilName) return make();  // a nil name matches no group
    if (name == level.emptyName()) {
        // "" joins the first group that reads "", which a nil name may have made.
        return parent.firstEmptyNamed ? parent.firstEmptyNamed : make();
    }
    std::uint32_t found = parent.byName.find(name);
    if (found != ScalarIndex::Empty) return parent.made[found].get();
    Node* node = make();
    parent.byName.insert(name, static_cast<std::uint32_t>(parent.made.size() - 1));
    return node;
}

void GroupTree::attach(Node& node, size_t position) {
    const GroupLevel& level = _levels[node.depth];
    node.group =
        std::make_shared<KivoCollectionViewGroup>(level.description(), level.name(node.name), node.depth, level.isBottom());
    node.list = level.isBottom() ? nullptr : &node.group->groups();
    node.ordered.clear();
    Node& parent = *node.parent;
    insertInto(parent.ordered, position, &node);
    insertInto(*parent.list, position, node.group);
    if (!parent.firstEmptyNamed && (node.name == NilName || node.name == level.emptyName())) parent.firstEmptyNamed = &node;
}

void GroupTree::detach(Node& node) {
    Node& parent = *node.parent;
    size_t at = eraseFrom(parent.ordered, &node, 0);
    eraseFrom(*parent.list, node.group, at);
    node.group.reset();
    node.list = nullptr;
    node.ordered.clear();
}

void GroupTree::move(Node& node, size_t position) {
    Node& parent = *node.parent;
    size_t at = eraseFrom(parent.ordered, &node, 0);
    eraseFrom(*parent.list, node.group, at);
    insertInto(parent.ordered, position, &node);
    insertInto(*parent.list, position, node.group);
}

GroupTree::Node* GroupTree::ancestor(Node* bottom, std::uint32_t depth) const {
    Node* node = bottom;
    while (node->depth > depth) node = node->parent;
    return node;
}

bool GroupTree::isEmpty(const Node& node) const {
    return _levels[node.depth].isBottom() ? node.group->items()->empty() : node.ordered.empty();
}

// ---- edits ----

void GroupTree::append(plat::Value item, const std::uint32_t* names) {
    Node* node = _root.get();
    for (const auto& level : _levels) {
        Node* child = childFor(*node, names[level.depth()]);
        if (!child->attached()) attach(*child, node->ordered.size());  // its first item is the last one
        node = child;
    }
    node->group->items()->push_back(std::move(item));
    _bottomOf.push_back(node);
}

void GroupTree::splice(size_t at, size_t removed, const plat::Array& inserted, const std::vector<std::uint32_t>& names) {
    if (_levels.empty() || at > _bottomOf.size() || names.size() != inserted.size() * _levels.size()) return;
    for (size_t i = 0; i < removed && at < _bottomOf.size(); ++i) removeAt(at);
    for (size_t i = 0; i < inserted.size(); ++i) insertAt(at + i, inserted[i], names.data() + i * _levels.size());
}

void GroupTree::scanBefore(size_t end, Node* const* path, std::vector<size_t>& before, std::vector<bool>& seen) {
    const size_t depth = _levels.size();
    before.assign(depth, 0);
    seen.assign(depth, false);
    ++_epoch;
    for (size_t j = 0; j < end; ++j) {
        Node* node = _bottomOf[j];
        for (size_t l = depth; l-- > 0; node = node->parent) {
            Node* parent = l ? path[l - 1] : _root.get();
            if (node->parent != parent) continue;
            if (node == path[l]) {
                seen[l] = true;
            } else if (node->mark != _epoch) {
                node->mark = _epoch;
                ++before[l];
            }
        }
    }
}

void GroupTree::insertAt(size_t at, const plat::Value& item, const std::uint32_t* names) {
    if (at >= _bottomOf.size()) {
        append(item, names);
        return;
    }
    std::vector<Node*> path(_levels.size());
    Node* node = _root.get();
    for (const auto& level : _levels) node = path[level.depth()] = childFor(*node, names[level.depth()]);
    Node* bottom = path.back();
    size_t place = bottom->attached() ? static_cast<size_t>(std::count(_bottomOf.begin(), _bottomOf.begin() + at, bottom)) : 0;
    if (place == 0) {
        // The item comes first in its bottom group, and perhaps in groups above it: each such group
        // stands after the siblings whose first items come before it.
        std::vector<size_t> before;
        std::vector<bool> seen;
        scanBefore(at, path.data(), before, seen);
        for (size_t l = 0; l < path.size(); ++l) {
            if (seen[l]) continue;
            if (path[l]->attached())
                move(*path[l], before[l]);
            else
                attach(*path[l], before[l]);
        }
    }
    insertInto(*bottom->group->items(), place, item);
    insertInto(_bottomOf, at, bottom);
}

void GroupTree::removeAt(size_t at) {
    Node* bottom = _bottomOf[at];
    size_t place = static_cast<size_t>(std::count(_bottomOf.begin(), _bottomOf.begin() + at, bottom));
    std::vector<Node*> path(_levels.size());
    for (Node* node = bottom; node->parent; node = node->parent) path[node->depth] = node;
    std::vector<size_t> before;
    std::vector<bool> seen;
    if (place == 0) scanBefore(at, path.data(), before, seen);

    _bottomOf.erase(_bottomOf.begin() + static_cast<std::ptrdiff_t>(at));
    plat::Array& items = *bottom->group->items();
    if (place < items.size()) items.erase(items.begin() + static_cast<std::ptrdiff_t>(place));
    if (place > 0) return;  // an earlier item of its group stays first

    // The item was first in its bottom group and perhaps above: empty groups go, the others stand by
    // their next items.
    for (size_t l = path.size(); l-- > 0;) {
        Node& node = *path[l];
        if (isEmpty(node)) {
            detach(node);
            continue;
        }
        if (seen[l]) break;
        size_t first = at;
        while (first < _bottomOf.size() && ancestor(_bottomOf[first], node.depth) != &node) ++first;
        std::vector<size_t> count;
        std::vector<bool> self;
        scanBefore(first, path.data(), count, self);
        move(node, count[l]);
    }
}

// ---- releasing ----

void releaseGroups(KivoCollectionViewGroupList& groups) {
    for (auto& group : groups) {
        // Groups that someone else still holds keep their items.
        if (!group || group.use_count() != 1) continue;
        releaseGroups(group->groups());
        const plat::ArrayPtr& items = group->items();
        if (items.use_count() != 1) continue;
        // A group's items lie far apart in memory: fetch ahead the objects whose counts drop.
        constexpr size_t Ahead = 8;
        plat::Array& list = *items;
        for (size_t i = 0; i < list.size(); ++i) {
            if (i + Ahead < list.size()) __builtin_prefetch(list[i + Ahead].asObject().get());
            list[i] = plat::Value();
        }
    }
    groups.clear();
}

}  // namespace kivo::detail
