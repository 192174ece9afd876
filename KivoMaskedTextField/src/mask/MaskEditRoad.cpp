#include "mask/MaskEditRoad.h"

#include <algorithm>
#include <vector>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "Platform/foundation/utf16.h"

namespace kivo::detail {

using plat::toUtf16;
using plat::toUtf8;

namespace {

bool holds(const std::vector<std::int64_t>& sources, std::int64_t i) {
    return std::binary_search(sources.begin(), sources.end(), i);
}

// Whether the rebuild of `edited` keeps every unit of `kept` (the typed units of the text before the
// edit) except those in `replaced`, which `width` new units took the place of.
bool keepsTyped(const KivoMaskHandler& handler, const std::vector<std::int64_t>& kept, const std::string& edited,
                plat::TextRange replaced, std::int64_t width) {
    const std::vector<std::int64_t> after = handler.getFilledSources(edited);
    return std::ranges::all_of(kept, [&](std::int64_t i) {
        if (i < replaced.location) return holds(after, i);
        if (i < replaced.end()) return true;
        return holds(after, i - replaced.end() + replaced.location + width);
    });
}

std::string spliced(const std::u16string& text, plat::TextRange range, const std::u16string& typed) {
    return toUtf8(text.substr(0, static_cast<std::size_t>(range.location)) + typed +
                  text.substr(static_cast<std::size_t>(range.end())));
}

// The text an insertion hands to the rebuild: the range replaced by the typed text, so that what
// follows shifts to the right. When that shift would lose a typed character (pushed past the last
// position, or onto one it does not fit), the typed text also takes the place of the unfilled
// positions and literals right after the range, as few as keep every typed character; nil when a
// typed character stands in the way first (a full field).
std::optional<std::string> shiftedText(const KivoMaskHandler& handler, const std::u16string& current, plat::TextRange range,
                                       const std::u16string& typed) {
    const std::vector<std::int64_t> kept = handler.getFilledSources(toUtf8(current));
    const auto size = static_cast<std::int64_t>(current.size());
    const auto width = static_cast<std::int64_t>(typed.size());
    for (plat::TextRange taken = range;; ++taken.length) {
        const std::string edited = spliced(current, taken, typed);
        if (keepsTyped(handler, kept, edited, taken, width)) return edited;
        if (taken.end() >= size || holds(kept, taken.end())) return std::nullopt;
    }
}

}  // namespace

void MaskEditRoad::beginEditing(MaskEditable& field) const {
    if (_maskHandler) field.setSelectedRange({_maskHandler->getValidPosition(0, true), 0});
}

bool MaskEditRoad::edit(MaskEditable& field, plat::TextRange range, const std::string& replacement) const {
    if (!_maskHandler || !_maskHandler->mask() || _maskHandler->mask()->empty()) return true;
    const std::int64_t size = plat::utf16Length(field.text());
    range.location = std::clamp<std::int64_t>(range.location, 0, size);
    range.length = std::clamp<std::int64_t>(range.length, 0, size - range.location);
    _maskHandler->setIsDelete(replacement.empty());
    const bool changed = replacement.empty() ? remove(field, range) : insert(field, range, replacement);
    // An edit that leaves no input position filled gives the field back to its placeholder.
    if (changed && field.hasPlaceholder() && _maskHandler->getRawValue(field.text()).empty()) {
        field.setPlaceholder(_maskHandler->placeholder());
    }
    return false;
}

bool MaskEditRoad::insert(MaskEditable& field, plat::TextRange range, const std::string& replacement) const {
    const std::u16string typed = toUtf16(replacement);
    const std::optional<std::string> t = shiftedText(*_maskHandler, toUtf16(field.text()), range, typed);
    // Where the typed text ends up; nowhere means nothing of it fits: refused, so that what stands in
    // the range (a selection) is not lost for nothing. A shift that has no room is refused alike.
    const std::optional<std::int64_t> filledEnd =
        t ? _maskHandler->getFilledEnd(*t, range.location, range.location + static_cast<std::int64_t>(typed.size()))
          : std::nullopt;
    if (!filledEnd) {
        if (range.length == 0) {
            const std::int64_t onInput = _maskHandler->getValidPosition(range.location, true);
            field.setSelectedRange({std::min(onInput, plat::utf16Length(field.text())), 0});
        }
        return false;
    }
    field.setText(_maskHandler->applyMaskTo(*t));
    const std::int64_t caret = _maskHandler->getValidPosition(*filledEnd, true);
    field.setSelectedRange({std::min(caret, plat::utf16Length(field.text())), 0});
    return true;
}

bool MaskEditRoad::remove(MaskEditable& field, plat::TextRange range) const {
    const std::string current = field.text();
    // Refused when the characters after the range would not fit where they move to.
    if (!_maskHandler->isStringValid(current, range.end(), range.location)) return false;
    const std::string edited = spliced(toUtf16(current), range, {});
    // The check above skips literal positions; refused too when the rebuild would still drop a typed
    // character (a literal moved onto a position that takes any character pushes one out).
    if (!keepsTyped(*_maskHandler, _maskHandler->getFilledSources(current), edited, range, 0)) return false;
    field.setText(_maskHandler->applyMaskTo(edited));
    field.setSelectedRange({_maskHandler->getValidPosition(range.location, false), 0});
    return true;
}

}  // namespace kivo::detail
