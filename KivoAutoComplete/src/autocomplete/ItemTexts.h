#pragma once
// The display text of each item of an auto-complete box, read once per change of the items, their
// display path or the locale, with its folded form: a keystroke then folds only what was typed and
// scans texts folded in advance. A change of some items reads those items only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/foundation/shared_value.h"
#include "Platform/foundation/text_folding.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {

class ItemTexts {
public:
    // The next use reads the items again.
    void invalidate() { _valid = false; }
    bool isValid() const { return _valid; }
    // Reads each item's value at `path` (none: no item has a display value) and folds it with `folder`.
    void rebuild(const plat::Array& items, const std::optional<std::string>& path, const plat::TextFolder& folder);
    // The items at [at, at + removed) gave way to `added`, whose values are read and folded here; what
    // was read of the other items stays. Nothing for a range beyond the items.
    void splice(std::size_t at, std::size_t removed, const plat::Array& added, const std::optional<std::string>& path,
                const plat::TextFolder& folder);

    std::size_t size() const { return _texts.size(); }
    // The item's display text: the same object on every call until the next rebuild; an empty text for
    // an item without a display value or an index beyond the items.
    const plat::StringObject& text(std::size_t index) const;
    bool hasValue(std::size_t index) const { return index < _hasValue.size() && _hasValue[index]; }
    std::u16string_view folded(std::size_t index) const;
    // The indices of the items with a display value that holds `foldedPattern`, in item order.
    std::vector<std::uint64_t> matching(std::u16string_view foldedPattern, const plat::TextFolder& folder) const;

private:
    // One item's display text, whether it has a display value, and its folded form.
    struct Read {
        plat::StringObject text;
        bool hasValue = false;
        std::u16string folded;
    };
    Read read(const plat::Value& item, const std::optional<std::string>& path, const plat::TextFolder& folder) const;
    // Where an item's folded text lies in `_folded`.
    struct Span {
        std::size_t start = 0, length = 0;
    };
    // Lays the folded texts out one after the other in item order again, leaving out those of items
    // that went.
    void pack() const;

    bool _valid = false;
    std::vector<plat::StringObject> _texts;
    std::vector<bool> _hasValue;
    // Every folded text: a change appends the new items' texts at the end, and a search lays them out
    // in item order first (one search then runs along all of them at once).
    mutable std::u16string _folded;
    mutable std::vector<Span> _spans;
    mutable bool _packed = true;
    std::size_t _liveLength = 0;  // of the items' folded texts, without those of items that went
    static constexpr std::size_t GarbageAllowance = 4096;
    plat::StringObject _empty = std::string();
};

}  // namespace kivo::detail
