#include "collection/GroupBuilder.h"

#include <array>
#include <bit>
#include <typeinfo>
#include <unordered_map>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"
#include "collection/GroupNameText.h"
#include "collection/ItemKeyReader.h"

namespace kivo::collection {

namespace {

// The group names of one level. A property description without converter names an item by the
// formatted text of its value: the text is formatted once per distinct value and remembered, since a
// million items usually share a few hundred values.
class LevelNamer {
public:
    LevelNamer(const std::shared_ptr<KivoGroupDescription>& description, std::uint64_t level)
        : _description(description), _level(level) {
        auto* property = dynamic_cast<const KivoPropertyGroupDescription*>(description.get());
        if (property && typeid(*description) == typeid(KivoPropertyGroupDescription) && !property->converter())
            _reader = std::make_unique<ItemKeyReader>(property->property());
    }

    std::optional<std::string> nameOf(const plat::Value& item) {
        if (!_reader) return _description->groupNameFromItem(item, _level);
        plat::Value value = _reader->read(item);
        using K = plat::Value::Kind;
        switch (value.kind()) {
            case K::String: return cached(_strings, value.asString(), value);
            case K::Nil:
            case K::Bool:
            case K::Integer:
            case K::Double:
            case K::Date: return cached(_scalars[static_cast<size_t>(value.kind())], scalarBits(value), value);
            default: return groupNameText(value);
        }
    }

private:
    static std::uint64_t scalarBits(const plat::Value& v) {
        switch (v.kind()) {
            case plat::Value::Kind::Bool: return v.asBool();
            case plat::Value::Kind::Integer: return static_cast<std::uint64_t>(v.asInteger());
            case plat::Value::Kind::Double: return std::bit_cast<std::uint64_t>(v.asDouble());
            case plat::Value::Kind::Date: return std::bit_cast<std::uint64_t>(v.asDate().seconds);
            default: return 0;
        }
    }
    template <class Map, class Key>
    const std::string& cached(Map& map, const Key& key, const plat::Value& value) {
        auto it = map.find(key);
        if (it == map.end()) it = map.emplace(key, groupNameText(value)).first;
        return it->second;
    }

    std::shared_ptr<KivoGroupDescription> _description;
    std::uint64_t _level;
    std::unique_ptr<ItemKeyReader> _reader;
    std::unordered_map<std::string, std::string> _strings;
    std::array<std::unordered_map<std::uint64_t, std::string>, 8> _scalars;
};

// A list of groups being built, with an index by name when names match by plain equality (the
// library's own descriptions): then finding a group costs a hash lookup instead of a walk of the list.
struct Node {
    KivoCollectionViewGroupList* list = nullptr;
    std::unordered_map<std::string, size_t> byName;  // the first group of each name
    std::vector<std::unique_ptr<Node>> children;    // parallel to *list
};

bool matchesByEquality(const KivoGroupDescription& d) {
    return typeid(d) == typeid(KivoGroupDescription) || typeid(d) == typeid(KivoPropertyGroupDescription);
}

size_t findOrAddGroup(Node& node, const std::shared_ptr<KivoGroupDescription>& description, bool byEquality,
                      const std::optional<std::string>& name, std::uint64_t level, bool isBottomLevel) {
    KivoCollectionViewGroupList& list = *node.list;
    if (byEquality) {
        if (name) {
            auto it = node.byName.find(*name);
            if (it != node.byName.end()) return it->second;
        }
    } else {
        for (size_t i = 0; i < list.size(); ++i)
            if (description->namesMatch(list[i]->name(), name)) return i;
    }
    auto group = std::make_shared<KivoCollectionViewGroup>(description, name, level, isBottomLevel);
    // A group made with a nil name reads "" and so takes later items named "".
    if (byEquality) node.byName.emplace(group->name(), list.size());
    list.push_back(group);
    auto child = std::make_unique<Node>();
    child->list = &group->groups();
    node.children.push_back(std::move(child));
    return list.size() - 1;
}

}  // namespace

KivoCollectionViewGroupList buildGroups(const plat::Array& items, const GroupDescriptionList& descriptions) {
    KivoCollectionViewGroupList result;
    if (descriptions.empty()) return result;
    std::vector<LevelNamer> namers;
    std::vector<bool> byEquality;
    for (size_t level = 0; level < descriptions.size(); ++level) {
        namers.emplace_back(descriptions[level], level);
        byEquality.push_back(matchesByEquality(*descriptions[level]));
    }
    Node root;
    root.list = &result;
    const size_t last = descriptions.size() - 1;
    for (const auto& item : items) {
        Node* node = &root;
        for (size_t level = 0; level <= last; ++level) {
            size_t index = findOrAddGroup(*node, descriptions[level], byEquality[level], namers[level].nameOf(item), level,
                                          level == last);
            if (level == last) (*node->list)[index]->items()->push_back(item);
            node = node->children[index].get();
        }
    }
    return result;
}

}  // namespace kivo::collection
