#include "mask/MaskEditRoad.h"

#include <algorithm>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "Platform/foundation/utf16.h"

namespace kivo::detail {

using plat::toUtf16;
using plat::toUtf8;

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
    std::u16string edited = toUtf16(field.text());
    const std::u16string typed = toUtf16(replacement);
    edited.replace(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length), typed);
    const std::string t = toUtf8(edited);
    // Where the typed text ends up; nowhere means nothing of it fits: refused, so that what stands in
    // the range (a selection) is not lost for nothing.
    const std::optional<std::int64_t> filledEnd =
        _maskHandler->getFilledEnd(t, range.location, range.location + static_cast<std::int64_t>(typed.size()));
    if (!filledEnd) {
        if (range.length == 0) {
            const std::int64_t onInput = _maskHandler->getValidPosition(range.location, true);
            field.setSelectedRange({std::min(onInput, plat::utf16Length(field.text())), 0});
        }
        return false;
    }
    field.setText(_maskHandler->applyMaskTo(t));
    const std::int64_t caret = _maskHandler->getValidPosition(*filledEnd, true);
    field.setSelectedRange({std::min(caret, plat::utf16Length(field.text())), 0});
    return true;
}

bool MaskEditRoad::remove(MaskEditable& field, plat::TextRange range) const {
    const std::string current = field.text();
    // Refused when the characters after the range would not fit where they move to.
    if (!_maskHandler->isStringValid(current, range.end(), range.location)) return false;
    std::u16string edited = toUtf16(current);
    edited.erase(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length));
    field.setText(_maskHandler->applyMaskTo(toUtf8(edited)));
    field.setSelectedRange({_maskHandler->getValidPosition(range.location, false), 0});
    return true;
}

}  // namespace kivo::detail
