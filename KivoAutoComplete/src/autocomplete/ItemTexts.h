#pragma once
// The display text of each item of an auto-complete box, read once per change of the items, their
// display path or the locale, with its folded form: a keystroke then folds only what was typed and
// scans texts folded in advance.

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

    std::size_t size() const { return _texts.size(); }
    // The item's display text: the same object on every call until the next rebuild; an empty text for
    // an item without a display value or an index beyond the items.
    const plat::StringObject& text(std::size_t index) const;
    bool hasValue(std::size_t index) const { return index < _hasValue.size() && _hasValue[index]; }
    std::u16string_view folded(std::size_t index) const;
    // The indices of the items with a display value that holds `foldedPattern`, in item order.
    std::vector<std::uint64_t> matching(std::u16string_view foldedPattern, const plat::TextFolder& folder) const;

private:
    bool _valid = false;
    std::vector<plat::StringObject> _texts;
    std::vector<bool> _hasValue;
    // Every folded text one after the other; item i's runs from _starts[i] to _starts[i + 1].
    std::u16string _folded;
    std::vector<std::size_t> _starts;
    plat::StringObject _empty = std::string();
};

}  // namespace kivo::detail
