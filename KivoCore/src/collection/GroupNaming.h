#pragma once
// How one grouping level names items. Names are interned: each distinct name of the level has an id,
// and no name (nullopt, which matches no group) has NilName. A property level without converter names an
// item by the text of its value, so it buckets the values first (numbers by their bits, strings by
// their text, both read in place without building a value) and formats a value's text once per
// bucket, the first time it sees it; other levels ask their description.

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "collection/HashIndex.h"
#include "collection/ItemKeyReader.h"

namespace kivo::detail {

inline constexpr std::uint32_t NilName = ScalarIndex::Empty - 1;

class GroupLevel {
public:
    GroupLevel(std::shared_ptr<KivoGroupDescription> description, std::uint32_t depth, bool isBottom);

    // The item's group name. Runs the description's code (a converter, a getter), which may throw.
    std::uint32_t nameOf(const plat::Value& item);
    // Whether items may be named by readMemberNumber and nameOfNumber, with no code run.
    bool namesByMemberNumbers() const { return _reader != nullptr; }
    // The item's number when a data member holds it (nothing run, nothing logged); false otherwise,
    // and then only nameOf names the item.
    bool readMemberNumber(const plat::Value& item, double& number) const { return _reader->readMemberNumber(item, number); }
    // The name of an item whose number readMemberNumber read: what nameOf answers for it.
    std::uint32_t nameOfNumber(double number) {
        // The common case, kept free of values: a numeric member looked up by its bits (inline: a
        // refresh names a million items so).
        std::uint32_t id = _byScalar[static_cast<size_t>(plat::Value::Kind::Double)].find(std::bit_cast<std::uint64_t>(number));
        return id != ScalarIndex::Empty ? id : nameNewNumber(number);
    }
    // The number of names made so far; ids run below it (NilName apart).
    std::uint32_t nameCount() const { return static_cast<std::uint32_t>(_names.size()); }
    // The name for an id; nullopt for NilName.
    std::optional<std::string> name(std::uint32_t id) const;
    std::uint32_t emptyName() const { return _emptyName; }

    // Whether names match exactly when equal, as the base descriptions decide; a subclass may match
    // otherwise, and then only its namesMatch can tell.
    bool matchesByEquality() const { return _byEquality; }
    bool namesMatch(const KivoCollectionViewGroup& group, std::uint32_t id) const;
    // Whether an item got no name since the last reset (the groups of unnamed items take later items named "",
    // so where an item stands among them decides its group).
    bool sawNilName() const { return _sawNil; }
    void resetNilNames() { _sawNil = false; }

    const std::shared_ptr<KivoGroupDescription>& description() const { return _description; }
    std::uint32_t depth() const { return _depth; }
    bool isBottom() const { return _isBottom; }

private:
    // The name of an item whose value is a plain numeric member; false for any other item.
    bool byNumber(const plat::Value& item, std::uint32_t& id);
    std::uint32_t intern(const std::string& name);
    std::uint32_t nameNewNumber(double number);
    std::uint32_t byText(std::string_view text);
    std::uint32_t byValue(const plat::Value& value);

    std::shared_ptr<KivoGroupDescription> _description;
    std::uint32_t _depth;
    bool _isBottom;
    bool _byEquality;
    bool _sawNil = false;
    std::unique_ptr<ItemKeyReader> _reader;  // property levels without converter
    std::array<ScalarIndex, 10> _byScalar;   // by value kind, then the value's bits
    TextIndex _byString;
    std::vector<std::string> _names;
    std::unordered_map<std::string, std::uint32_t> _ids;
    std::uint32_t _emptyName;
};

}  // namespace kivo::detail
