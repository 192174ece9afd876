#include "collection/GroupTree.h"

#include <algorithm>
#include <utility>

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
    std::vector<std::uint64_t> labels;               // bottom groups: their items' labels, in order
    size_t placed = 0;                               // while building: items counted in

    bool attached() const { return group != nullptr || parent == nullptr; }
};

namespace {

// Labels are spaced this far apart when (re)assigned: 32 halvings fit between two neighbours, and
// lists of up to 2^32 items fit.
constexpr std::uint64_t LabelSpacing = std::uint64_t{1} << 32;

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

GroupTree::~GroupTree() {
    _root.reset();  // the nodes hold the groups too, which would keep releaseGroups from them
    releaseGroups(_groups);
}

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
    const size_t count = items.size();
    // First every item's bottom group, then each group's lists filled at their final sizes.
    _bottomOf.reserve(count);
    std::vector<std::uint32_t> names(_levels.size());
    for (size_t i = 0; i < count; ++i) {
        // Fetched again for each level: the application's code run for one may change the list.
        for (auto& level : _levels) names[level.depth()] = level.nameOf(items.at(i));
        Node* node = _root.get();
        for (const auto& level : _levels) {
            Node* child = childFor(*node, names[level.depth()]);
            if (!child->attached()) attach(*child, node->ordered.size());  // its first item is the last one
            node = child;
        }
        _bottomOf.push_back(node);
        ++node->placed;
    }
    for (Node* bottom : _bottomOf) {
        if (bottom->placed == 0) continue;
        bottom->group->items()->reserve(bottom->placed);
        bottom->labels.reserve(std::exchange(bottom->placed, 0));
    }
    _labels.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        _labels.push_back((i + 1) * LabelSpacing);
        _bottomOf[i]->group->items()->push_back(items.at(i));
        _bottomOf[i]->labels.push_back(_labels.back());
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
    _root.reset();  // first: the nodes hold the groups too
    releaseGroups(_groups);
    _root = std::make_unique<Node>();
    _root->list = &_groups;
    _bottomOf.clear();
    _labels.clear();
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

std::uint64_t GroupTree::firstLabel(const Node& node) const {
    const Node* n = &node;
    while (!_levels[n->depth].isBottom()) n = n->ordered.front();
    return n->labels.front();
}

void GroupTree::reposition(Node& node) {
    Node& parent = *node.parent;
    size_t at = eraseFrom(parent.ordered, &node, 0);
    eraseFrom(*parent.list, node.group, at);
    std::uint64_t first = firstLabel(node);
    auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), first,
                               [&](const Node* sibling, std::uint64_t label) { return firstLabel(*sibling) < label; });
    size_t position = static_cast<size_t>(to - parent.ordered.begin());
    insertInto(parent.ordered, position, &node);
    insertInto(*parent.list, position, node.group);
}

// ---- labels ----

std::uint64_t GroupTree::labelFor(size_t at) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::uint64_t previous = at ? _labels[at - 1] : 0;
        if (at == _labels.size()) {
            if (previous <= UINT64_MAX - LabelSpacing) return previous + LabelSpacing;
        } else if (_labels[at] - previous >= 2) {
            return previous + (_labels[at] - previous) / 2;
        }
        relabel();
    }
    return at ? _labels[at - 1] + 1 : 1;  // not reached: a relabelled list has room everywhere
}

void GroupTree::relabel() {
    for (Node* bottom : _bottomOf) bottom->labels.clear();
    for (size_t k = 0; k < _labels.size(); ++k) {
        _labels[k] = (k + 1) * LabelSpacing;
        _bottomOf[k]->labels.push_back(_labels[k]);
    }
}

// ---- edits ----

void GroupTree::append(plat::Value item, const std::uint32_t* names) {
    std::uint64_t label = labelFor(_labels.size());
    Node* node = _root.get();
    for (const auto& level : _levels) {
        Node* child = childFor(*node, names[level.depth()]);
        if (!child->attached()) attach(*child, node->ordered.size());  // its first item is the last one
        node = child;
    }
    node->group->items()->push_back(std::move(item));
    node->labels.push_back(label);
    _bottomOf.push_back(node);
    _labels.push_back(label);
}

void GroupTree::splice(size_t at, size_t removed, const plat::Array& inserted, const std::vector<std::uint32_t>& names) {
    if (_levels.empty() || at > _bottomOf.size() || names.size() != inserted.size() * _levels.size()) return;
    if (removed == 1 && inserted.size() == 1 && at < _bottomOf.size()) {
        replaceAt(at, inserted[0], names.data());
        return;
    }
    for (size_t i = 0; i < removed && at < _bottomOf.size(); ++i) removeAt(at);
    for (size_t i = 0; i < inserted.size(); ++i) insertAt(at + i, inserted[i], names.data() + i * _levels.size());
}

std::vector<GroupTree::Node*> GroupTree::pathOf(const std::uint32_t* names) {
    std::vector<Node*> path(_levels.size());
    Node* node = _root.get();
    for (const auto& level : _levels) node = path[level.depth()] = childFor(*node, names[level.depth()]);
    return path;
}

void GroupTree::place(const std::vector<Node*>& path, std::uint64_t label, const plat::Value& item) {
    // From the top: a group the item comes first in takes its place by the item's label (before its
    // children change, its first label is still the old one).
    for (Node* node : path) {
        Node& parent = *node->parent;
        auto before = [&](const Node* sibling, std::uint64_t l) { return firstLabel(*sibling) < l; };
        if (!node->attached()) {
            auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), label, before);
            attach(*node, static_cast<size_t>(to - parent.ordered.begin()));
        } else if (label < firstLabel(*node)) {
            size_t at = eraseFrom(parent.ordered, node, 0);
            eraseFrom(*parent.list, node->group, at);
            auto to = std::lower_bound(parent.ordered.begin(), parent.ordered.end(), label, before);
            size_t position = static_cast<size_t>(to - parent.ordered.begin());
            insertInto(parent.ordered, position, node);
            insertInto(*parent.list, position, node->group);
        }
    }
    Node& bottom = *path.back();
    size_t slot =
        static_cast<size_t>(std::lower_bound(bottom.labels.begin(), bottom.labels.end(), label) - bottom.labels.begin());
    insertInto(*bottom.group->items(), slot, item);
    insertInto(bottom.labels, slot, label);
}

void GroupTree::unplace(Node* bottom, std::uint64_t label) {
    auto found = std::lower_bound(bottom->labels.begin(), bottom->labels.end(), label);
    size_t slot = static_cast<size_t>(found - bottom->labels.begin());
    if (found == bottom->labels.end() || *found != label) return;  // not placed: nothing to take out
    bottom->labels.erase(found);
    plat::Array& items = *bottom->group->items();
    if (slot < items.size()) items.erase(items.begin() + static_cast<std::ptrdiff_t>(slot));
    // From the bottom: empty groups go; a group the item came first in stands by its next item; above
    // a group whose first item stays, nothing changes.
    for (Node* node = bottom; node->parent; node = node->parent) {
        bool bottomLevel = _levels[node->depth].isBottom();
        if (bottomLevel ? node->labels.empty() : node->ordered.empty()) {
            detach(*node);
            continue;
        }
        if (firstLabel(*node) < label) break;
        reposition(*node);
    }
}

void GroupTree::insertAt(size_t at, const plat::Value& item, const std::uint32_t* names) {
    if (at >= _bottomOf.size()) {
        append(item, names);
        return;
    }
    std::vector<Node*> path = pathOf(names);
    std::uint64_t label = labelFor(at);
    place(path, label, item);
    insertInto(_labels, at, label);
    insertInto(_bottomOf, at, path.back());
}

void GroupTree::removeAt(size_t at) {
    Node* bottom = _bottomOf[at];
    std::uint64_t label = _labels[at];
    _bottomOf.erase(_bottomOf.begin() + static_cast<std::ptrdiff_t>(at));
    _labels.erase(_labels.begin() + static_cast<std::ptrdiff_t>(at));
    unplace(bottom, label);
}

void GroupTree::replaceAt(size_t at, const plat::Value& item, const std::uint32_t* names) {
    std::vector<Node*> path = pathOf(names);
    Node* old = _bottomOf[at];
    std::uint64_t label = _labels[at];
    if (path.back() == old && old->attached()) {
        // The same group: the item takes the old one's place.
        auto found = std::lower_bound(old->labels.begin(), old->labels.end(), label);
        size_t slot = static_cast<size_t>(found - old->labels.begin());
        if (slot < old->group->items()->size()) (*old->group->items())[slot] = item;
        return;
    }
    unplace(old, label);
    place(path, label, item);
    _bottomOf[at] = path.back();
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
