#include "collection/GroupBuilder.h"

#include <bit>
#include <typeinfo>
#include <unordered_map>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"
#include "collection/ItemKeyReader.h"

namespace kivo::detail {

namespace {

// A small open-addressing map from 64-bit keys to group indices, for the values of one level.
class ScalarIndex {
public:
    static constexpr std::uint32_t Empty = UINT32_MAX;

    std::uint32_t find(std::uint64_t key) const {
        if (_slots.empty()) return Empty;
        for (size_t i = slotOf(key);; i = (i + 1) & (_slots.size() - 1)) {
            const Slot& s = _slots[i];
            if (s.value == Empty || s.key == key) return s.value;
        }
    }
    void insert(std::uint64_t key, std::uint32_t value) {
        if ((_size + 1) * 2 > _slots.size()) grow();
        for (size_t i = slotOf(key);; i = (i + 1) & (_slots.size() - 1)) {
            Slot& s = _slots[i];
            if (s.value == Empty) {
                s = {key, value};
                ++_size;
                return;
            }
            if (s.key == key) return;
        }
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t value = Empty;
    };
    size_t slotOf(std::uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> _shift); }
    void grow() {
        std::vector<Slot> old = std::move(_slots);
        _slots.assign(old.empty() ? 16 : old.size() * 2, Slot{});
        _shift = 64 - std::countr_zero(_slots.size());
        _size = 0;
        for (const auto& s : old)
            if (s.value != Empty) insert(s.key, s.value);
    }

    std::vector<Slot> _slots;
    size_t _size = 0;
    int _shift = 64;
};

// The same for texts: the 64-bit hash picks the slot, the text itself confirms the match.
class TextIndex {
public:
    std::uint32_t find(std::string_view text, std::uint64_t hash) const {
        if (_slots.empty()) return ScalarIndex::Empty;
        for (size_t i = slotOf(hash);; i = (i + 1) & (_slots.size() - 1)) {
            const Slot& s = _slots[i];
            if (s.entry == ScalarIndex::Empty) return ScalarIndex::Empty;
            if (s.hash == hash && _entries[s.entry].first == text) return _entries[s.entry].second;
        }
    }
    void insert(std::string_view text, std::uint64_t hash, std::uint32_t group) {
        if ((_entries.size() + 1) * 2 > _slots.size()) grow();
        place(hash, static_cast<std::uint32_t>(_entries.size()));
        _entries.emplace_back(std::string(text), group);
    }
    static std::uint64_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t entry = ScalarIndex::Empty;
    };
    size_t slotOf(std::uint64_t hash) const { return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> _shift); }
    void place(std::uint64_t hash, std::uint32_t entry) {
        size_t i = slotOf(hash);
        while (_slots[i].entry != ScalarIndex::Empty) i = (i + 1) & (_slots.size() - 1);
        _slots[i] = {hash, entry};
    }
    void grow() {
        _slots.assign(_slots.empty() ? 16 : _slots.size() * 2, Slot{});
        _shift = 64 - std::countr_zero(_slots.size());
        for (std::uint32_t e = 0; e < _entries.size(); ++e) place(hashOf(_entries[e].first), e);
    }

    std::vector<Slot> _slots;
    std::vector<std::pair<std::string, std::uint32_t>> _entries;
    int _shift = 64;
};

// What one level reads of an item to find its group. A property description without converter names
// an item by the text of its value, so items with equal values share a group: such a level looks the
// value itself up (numbers without building a value) and formats a value's text only the first time
// it is seen. Any other description is asked for each item's name.
class Level {
public:
    Level(std::shared_ptr<KivoGroupDescription> description, std::uint64_t level)
        : description(std::move(description)),
          level(level),
          byEquality(typeid(*this->description) == typeid(KivoGroupDescription) ||
                     typeid(*this->description) == typeid(KivoPropertyGroupDescription)) {
        auto* property = dynamic_cast<const KivoPropertyGroupDescription*>(this->description.get());
        if (property && typeid(*property) == typeid(KivoPropertyGroupDescription) && !property->converter())
            reader = std::make_unique<ItemKeyReader>(property->property());
    }

    std::shared_ptr<KivoGroupDescription> description;
    std::uint64_t level;
    bool byEquality;  // names match by plain equality: groups can be found by hashing
    std::unique_ptr<ItemKeyReader> reader;
};

// A list of groups being built, with its lookups.
struct Node {
    KivoCollectionViewGroupList* list = nullptr;
    std::unordered_map<std::string, std::uint32_t> byName;  // the first group of each name
    std::array<ScalarIndex, 10> byScalar;                   // by value kind, then the value's bits
    TextIndex byString;
    std::vector<std::unique_ptr<Node>> children;  // parallel to *list
    std::uint32_t bottomOrdinal = 0;              // bottom-level groups: their number
};

std::uint64_t scalarBits(const plat::Value& v) {
    switch (v.kind()) {
        case plat::Value::Kind::Bool:
            return v.asBool();
        case plat::Value::Kind::Integer:
            return static_cast<std::uint64_t>(v.asInteger());
        case plat::Value::Kind::Double:
            return std::bit_cast<std::uint64_t>(v.asDouble());
        case plat::Value::Kind::Date:
            return std::bit_cast<std::uint64_t>(v.asDate().seconds);
        default:
            return 0;
    }
}

bool isScalar(plat::Value::Kind k) {
    using K = plat::Value::Kind;
    return k == K::Nil || k == K::Bool || k == K::Integer || k == K::Double || k == K::Date;
}

class Builder {
public:
    explicit Builder(const GroupDescriptionList& descriptions) {
        for (size_t i = 0; i < descriptions.size(); ++i) _levels.emplace_back(descriptions[i], i);
        _root.list = &_result;
    }

    KivoCollectionViewGroupList build(const plat::Array& items) {
        // First find every item's bottom group, then fill each group's list at its final size.
        std::vector<std::uint32_t> bottomOf(items.size());
        for (size_t i = 0; i < items.size(); ++i) bottomOf[i] = bottomGroupOf(items[i]);
        std::vector<std::uint32_t> counts(_bottoms.size(), 0);
        for (auto b : bottomOf) ++counts[b];
        for (size_t g = 0; g < _bottoms.size(); ++g) _bottoms[g]->items()->reserve(counts[g]);
        for (size_t i = 0; i < items.size(); ++i) _bottoms[bottomOf[i]]->items()->push_back(items[i]);
        return std::move(_result);
    }

private:
    std::uint32_t bottomGroupOf(const plat::Value& item) {
        Node* node = &_root;
        for (size_t l = 0; l + 1 < _levels.size(); ++l) node = node->children[groupIn(*node, _levels[l], item)].get();
        Node& bottom = *node->children[groupIn(*node, _levels.back(), item)];
        return bottom.bottomOrdinal;
    }

    // The index of the item's group in the node's list, adding the group when there is none.
    std::uint32_t groupIn(Node& node, const Level& level, const plat::Value& item) {
        if (!level.reader) return byName(node, level, level.description->groupNameFromItem(item, level.level));
        double number;
        if (level.reader->readNumber(item, number)) {
            // The common case, kept free of values: a numeric member looked up by its bits.
            ScalarIndex& index = node.byScalar[static_cast<size_t>(plat::Value::Kind::Double)];
            std::uint32_t g = index.find(std::bit_cast<std::uint64_t>(number));
            return g != ScalarIndex::Empty ? g : byScalar(node, level, plat::Value(number));
        }
        plat::Value value = level.reader->read(item);
        if (isScalar(value.kind()) || value.isString()) return byScalar(node, level, value);
        return byName(node, level, KivoReflector::formatValue(value));
    }

    std::uint32_t byScalar(Node& node, const Level& level, const plat::Value& value) {
        if (value.isString()) {
            const std::string& text = value.asString();
            std::uint64_t hash = TextIndex::hashOf(text);
            std::uint32_t g = node.byString.find(text, hash);
            if (g != ScalarIndex::Empty) return g;
            g = byName(node, level, KivoReflector::formatValue(value));
            node.byString.insert(text, hash, g);
            return g;
        }
        ScalarIndex& index = node.byScalar[static_cast<size_t>(value.kind())];
        std::uint64_t bits = scalarBits(value);
        std::uint32_t g = index.find(bits);
        if (g != ScalarIndex::Empty) return g;
        g = byName(node, level, KivoReflector::formatValue(value));
        index.insert(bits, g);
        return g;
    }

    std::uint32_t byName(Node& node, const Level& level, const std::optional<std::string>& name) {
        KivoCollectionViewGroupList& list = *node.list;
        if (level.byEquality) {
            if (name) {
                auto it = node.byName.find(*name);
                if (it != node.byName.end()) return it->second;
            }
        } else {
            for (size_t i = 0; i < list.size(); ++i)
                if (level.description->namesMatch(list[i]->name(), name)) return static_cast<std::uint32_t>(i);
        }
        bool bottom = level.level + 1 == _levels.size();
        auto group = std::make_shared<KivoCollectionViewGroup>(level.description, name, level.level, bottom);
        auto index = static_cast<std::uint32_t>(list.size());
        // A group made with a nil name reads "" and so takes later items named "".
        if (level.byEquality) node.byName.emplace(group->name(), index);
        auto child = std::make_unique<Node>();
        child->list = &group->groups();
        if (bottom) {
            child->bottomOrdinal = static_cast<std::uint32_t>(_bottoms.size());
            _bottoms.push_back(group.get());
        }
        list.push_back(std::move(group));
        node.children.push_back(std::move(child));
        return index;
    }

    std::vector<Level> _levels;
    KivoCollectionViewGroupList _result;
    Node _root;
    std::vector<KivoCollectionViewGroup*> _bottoms;
};

}  // namespace

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

KivoCollectionViewGroupList buildGroups(const plat::Array& items, const GroupDescriptionList& descriptions) {
    if (descriptions.empty()) return {};
    return Builder(descriptions).build(items);
}

}  // namespace kivo::detail
