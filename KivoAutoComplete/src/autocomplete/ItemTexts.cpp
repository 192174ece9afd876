#include "autocomplete/ItemTexts.h"

#include "KivoCore/KivoReflector.h"

namespace kivo::detail {

void ItemTexts::rebuild(const plat::Array& items, const std::optional<std::string>& path, const plat::TextFolder& folder) {
    _texts.clear();
    _hasValue.clear();
    _folded.clear();
    _starts.clear();
    _texts.reserve(items.size());
    _hasValue.reserve(items.size());
    _starts.reserve(items.size() + 1);
    _starts.push_back(0);
    const bool hasPath = path && !path->empty();
    for (const plat::Value& item : items) {
        const plat::Value value = hasPath ? KivoReflector::getValue(item, *path) : plat::Value();
        if (value.isNil()) {
            _texts.push_back(_empty);
            _hasValue.push_back(false);
        } else {
            std::string text = value.description();
            _folded += folder.fold(text);
            _texts.emplace_back(std::move(text));
            _hasValue.push_back(true);
        }
        _starts.push_back(_folded.size());
    }
    _valid = true;
}

const plat::StringObject& ItemTexts::text(std::size_t index) const { return index < _texts.size() ? _texts[index] : _empty; }

std::u16string_view ItemTexts::folded(std::size_t index) const {
    if (index >= _texts.size()) return {};
    return std::u16string_view(_folded).substr(_starts[index], _starts[index + 1] - _starts[index]);
}

std::vector<std::uint64_t> ItemTexts::matching(std::u16string_view foldedPattern, const plat::TextFolder& folder) const {
    std::vector<std::uint64_t> found;
    if (foldedPattern.empty()) {
        for (std::size_t i = 0; i < _texts.size(); ++i)
            if (_hasValue[i]) found.push_back(i);
        return found;
    }
    // One search along all the texts at once; a hit is kept when it lies within one item's text and
    // the folder agrees that it ends on a whole character there.
    const std::u16string_view all(_folded);
    std::size_t item = 0;
    for (std::size_t at = all.find(foldedPattern); at != std::u16string_view::npos; at = all.find(foldedPattern, at)) {
        while (_starts[item + 1] <= at) ++item;
        const std::size_t end = _starts[item + 1];
        if (at + foldedPattern.size() > end) {
            ++at;  // runs into the next item's text
            continue;
        }
        // The folder looks on from this hit to the end of the item's text.
        if (folder.contains(all.substr(at, end - at), foldedPattern)) found.push_back(item);
        at = end;
    }
    return found;
}

}  // namespace kivo::detail
