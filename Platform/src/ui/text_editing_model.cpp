#include "Platform/ui/text_editing_model.h"

#include <unicode/ubrk.h>

#include <algorithm>
#include <memory>

namespace plat {

namespace {

// Character (grapheme cluster) boundaries of a text, through ICU; null when ICU refuses.
struct BreakIteratorCloser {
    void operator()(UBreakIterator* it) const { ubrk_close(it); }
};
using BreakIterator = std::unique_ptr<UBreakIterator, BreakIteratorCloser>;

BreakIterator characterBreaks(const std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    BreakIterator it(
        ubrk_open(UBRK_CHARACTER, "", reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), &status));
    return U_FAILURE(status) ? nullptr : std::move(it);
}

bool isTrailSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void TextEditingModel::setText(std::string_view text) {
    _text = toUtf16(text);
    _anchor = _focus = length();
}

TextRange TextEditingModel::selectedRange() const {
    const auto lo = std::min(_anchor, _focus), hi = std::max(_anchor, _focus);
    return {lo, hi - lo};
}

void TextEditingModel::setSelectedRange(TextRange range) {
    range = clampRange(range, length());
    // A range that cuts a character grows to take it whole.
    _anchor = snapToBoundary(range.location);
    std::int64_t end = snapToBoundary(range.end());
    if (end < range.end()) end = nextBoundary(end);
    _focus = std::max(_anchor, end);
}

std::string TextEditingModel::textInRange(TextRange range) const {
    range = clampRange(range, length());
    return toUtf8(
        std::u16string_view(_text).substr(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length)));
}

void TextEditingModel::replace(TextRange range, std::string_view replacement) {
    range = clampRange(range, length());
    const std::u16string inserted = toUtf16(replacement);
    _text.replace(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length), inserted);
    _anchor = _focus = range.location + static_cast<std::int64_t>(inserted.size());
}

TextRange TextEditingModel::rangeForDeleteBackward() const {
    const TextRange sel = selectedRange();
    if (sel.length > 0) return sel;
    const std::int64_t start = previousBoundary(sel.location);
    return {start, sel.location - start};
}

std::int64_t TextEditingModel::previousBoundary(std::int64_t offset) const {
    offset = std::clamp<std::int64_t>(offset, 0, length());
    if (offset == 0) return 0;
    if (auto it = characterBreaks(_text)) {
        const int32_t b = ubrk_preceding(it.get(), static_cast<int32_t>(offset));
        return b == UBRK_DONE ? 0 : b;
    }
    // Without ICU: whole code points at least.
    std::int64_t p = offset - 1;
    if (p > 0 && isTrailSurrogate(_text[static_cast<std::size_t>(p)])) --p;
    return p;
}

std::int64_t TextEditingModel::nextBoundary(std::int64_t offset) const {
    offset = std::clamp<std::int64_t>(offset, 0, length());
    if (offset == length()) return offset;
    if (auto it = characterBreaks(_text)) {
        const int32_t b = ubrk_following(it.get(), static_cast<int32_t>(offset));
        return b == UBRK_DONE ? length() : b;
    }
    std::int64_t p = offset + 1;
    if (p < length() && isTrailSurrogate(_text[static_cast<std::size_t>(p)])) ++p;
    return p;
}

std::int64_t TextEditingModel::snapToBoundary(std::int64_t offset) const {
    offset = std::clamp<std::int64_t>(offset, 0, length());
    if (offset == 0 || offset == length()) return offset;
    if (auto it = characterBreaks(_text)) {
        if (ubrk_isBoundary(it.get(), static_cast<int32_t>(offset))) return offset;
        return previousBoundary(offset);
    }
    return isTrailSurrogate(_text[static_cast<std::size_t>(offset)]) ? offset - 1 : offset;
}

std::vector<std::int64_t> TextEditingModel::characterStarts() const {
    std::vector<std::int64_t> starts;
    if (_text.empty()) return starts;
    if (auto it = characterBreaks(_text)) {
        for (int32_t b = ubrk_first(it.get()); b != UBRK_DONE && b < length(); b = ubrk_next(it.get())) starts.push_back(b);
        return starts;
    }
    for (std::int64_t p = 0; p < length(); p = nextBoundary(p)) starts.push_back(p);
    return starts;
}

void TextEditingModel::moveFocus(std::int64_t to, bool extend) {
    _focus = to;
    if (!extend) _anchor = to;
}

void TextEditingModel::moveLeft(bool extend) {
    const TextRange sel = selectedRange();
    if (!extend && sel.length > 0)
        moveFocus(sel.location, false);
    else
        moveFocus(previousBoundary(_focus), extend);
}

void TextEditingModel::moveRight(bool extend) {
    const TextRange sel = selectedRange();
    if (!extend && sel.length > 0)
        moveFocus(sel.end(), false);
    else
        moveFocus(nextBoundary(_focus), extend);
}

void TextEditingModel::moveToStart(bool extend) { moveFocus(0, extend); }
void TextEditingModel::moveToEnd(bool extend) { moveFocus(length(), extend); }

}  // namespace plat
