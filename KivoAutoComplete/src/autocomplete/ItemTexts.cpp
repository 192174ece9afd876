#include "autocomplete/ItemTexts.h"

#include <algorithm>

#include "KivoCore/KivoReflector.h"

namespace kivo::detail {

ItemTexts::Read ItemTexts::read(const plat::Value& item, const std::optional<std::string>& path,
                                const plat::TextFolder& folder) const {
    const plat::Value value = path && !path->empty() ? KivoReflector::getValue(item, *path) : plat::Value();
    if (value.isNil()) return {_empty, false, {}};
    std::string text = value.description();
    std::u16string folded = folder.fold(text);
    return {plat::StringObject(std::move(text)), true, std::move(folded)};
}

void ItemTexts::rebuild(const plat::Array& items, const std::optional<std::string>& path, const plat::TextFolder& folder) {
    _texts.clear();
    _hasValue.clear();
    _folded.clear();
    _spans.clear();
    _texts.reserve(items.size());
    _hasValue.reserve(items.size());
    _spans.reserve(items.size());
    _liveLength = 0;
    for (const plat::Value& item : items) {
        Read one = read(item, path, folder);
        _spans.push_back({_folded.size(), one.folded.size()});
        _folded += one.folded;
        _liveLength += one.folded.size();
        _texts.push_back(std::move(one.text));
        _hasValue.push_back(one.hasValue);
    }
    _packed = true;
    _valid = true;
}

void ItemTexts::splice(std::size_t at, std::size_t removed, const plat::Array& added, const std::optional<std::string>& path,
                       const plat::TextFolder& folder) {
    if (at > _texts.size() || removed > _texts.size() - at) return;
    std::vector<Read> reads;
    reads.reserve(added.size());
    for (const plat::Value& item : added) reads.push_back(read(item, path, folder));
    // The items both lists share are overwritten in place; only the difference moves the later ones.
    const auto offset = [](std::size_t i) { return static_cast<std::ptrdiff_t>(i); };
    const std::size_t common = std::min(removed, reads.size());
    for (std::size_t k = at; k < at + removed; ++k) _liveLength -= _spans[k].length;
    if (removed > common) {
        const std::size_t from = at + common, to = at + removed;
        _texts.erase(_texts.begin() + offset(from), _texts.begin() + offset(to));
        _hasValue.erase(_hasValue.begin() + offset(from), _hasValue.begin() + offset(to));
        _spans.erase(_spans.begin() + offset(from), _spans.begin() + offset(to));
    } else if (reads.size() > common) {
        const std::size_t more = reads.size() - common, from = at + common;
        _texts.insert(_texts.begin() + offset(from), more, plat::StringObject());
        _hasValue.insert(_hasValue.begin() + offset(from), more, false);
        _spans.insert(_spans.begin() + offset(from), more, Span{});
    }
    // Removed texts stay in `_folded` until the next search packs it.
    if (removed > 0 || at < _texts.size() - reads.size()) _packed = false;
    for (std::size_t k = 0; k < reads.size(); ++k) {
        _spans[at + k] = {_folded.size(), reads[k].folded.size()};
        _folded += reads[k].folded;
        _liveLength += reads[k].folded.size();
        _texts[at + k] = std::move(reads[k].text);
        _hasValue[at + k] = reads[k].hasValue;
    }
    // Texts of items that went are dropped once they outweigh the rest.
    if (_folded.size() > 2 * _liveLength + GarbageAllowance) pack();
}

void ItemTexts::pack() const {
    if (_packed) return;
    std::u16string packed;
    std::size_t total = 0;
    for (const Span& span : _spans) total += span.length;
    packed.reserve(total);
    for (Span& span : _spans) {
        const std::size_t start = packed.size();
        packed.append(_folded, span.start, span.length);
        span.start = start;
    }
    _folded = std::move(packed);
    _packed = true;
}

const plat::StringObject& ItemTexts::text(std::size_t index) const { return index < _texts.size() ? _texts[index] : _empty; }

std::u16string_view ItemTexts::folded(std::size_t index) const {
    if (index >= _texts.size()) return {};
    return std::u16string_view(_folded).substr(_spans[index].start, _spans[index].length);
}

std::vector<std::uint64_t> ItemTexts::matching(std::u16string_view foldedPattern, const plat::TextFolder& folder) const {
    std::vector<std::uint64_t> found;
    if (foldedPattern.empty()) {
        for (std::size_t i = 0; i < _texts.size(); ++i)
            if (_hasValue[i]) found.push_back(i);
        return found;
    }
    pack();
    // One search along all the texts at once; a hit is kept when it lies within one item's text and
    // the folder agrees that it ends on a whole character there.
    const std::u16string_view all(_folded);
    const auto endOf = [this](std::size_t item) { return _spans[item].start + _spans[item].length; };
    std::size_t item = 0;
    for (std::size_t at = all.find(foldedPattern); at != std::u16string_view::npos; at = all.find(foldedPattern, at)) {
        while (endOf(item) <= at) ++item;
        const std::size_t end = endOf(item);
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
