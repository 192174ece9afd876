#include "mask/MaskEditRoad.h"

#include <algorithm>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/utf16.h"
#include "mask/MaskContent.h"

namespace kivo::detail {

void MaskEditRoad::beginEditing(MaskEditable& field) const {
    if (_maskHandler) field.setSelectedRange({_maskHandler->getValidPosition(0, true), 0});
}

bool MaskEditRoad::edit(MaskEditable& field, plat::TextRange range, const std::string& replacement) const {
    if (!_maskHandler || !_maskHandler->mask() || _maskHandler->mask()->empty()) return true;
    const std::string current = field.text();
    range = plat::clampRange(range, plat::utf16Length(current));
    _maskHandler->setIsDelete(replacement.empty());
    MaskContent content(*_maskHandler, current);
    const bool changed = replacement.empty() ? remove(field, content, range) : insert(field, content, range, replacement);
    // An edit that leaves no input position filled gives the field back to its placeholder.
    if (changed && field.hasPlaceholder() && !content.anyFilled()) field.setPlaceholder(_maskHandler->placeholder());
    return false;
}

void MaskEditRoad::show(MaskEditable& field, const MaskContent& content) const {
    // The handler keeps which positions were typed, so the field's text setter, which rebuilds the
    // text, finds it as it stands.
    content.adoptInto(*_maskHandler);
    field.setText(plat::toUtf8(content.text()));
}

bool MaskEditRoad::insert(MaskEditable& field, MaskContent& content, plat::TextRange range,
                          const std::string& replacement) const {
    const MaskContent::Insertion done = content.insert(range, plat::toUtf16(replacement));
    if (done.wide > 0) {
        plat::log("KivoMaskedTextField: " + std::to_string(done.wide) +
                  " typed character(s) outside the Basic Multilingual Plane refused; a mask position holds one UTF-16 unit");
    }
    if (done.dropped > 0) {
        plat::log("KivoMaskedTextField: " + std::to_string(done.dropped) +
                  " typed or pasted character(s) found no room in the mask and were dropped");
    }
    if (done.placed == 0) {
        // Nothing fits: refused, so that what stands in the range (a selection) is not lost for nothing.
        if (range.length == 0) {
            const std::int64_t onInput = _maskHandler->getValidPosition(range.location, true);
            field.setSelectedRange({std::min(onInput, plat::utf16Length(field.text())), 0});
        }
        return false;
    }
    show(field, content);
    const std::int64_t caret = _maskHandler->getValidPosition(done.caret, true);
    field.setSelectedRange({std::min(caret, plat::utf16Length(field.text())), 0});
    return true;
}

bool MaskEditRoad::remove(MaskEditable& field, MaskContent& content, plat::TextRange range) const {
    // Refused when the characters after the range would not fit where they move to.
    if (!content.remove(range)) return false;
    show(field, content);
    field.setSelectedRange({_maskHandler->getValidPosition(range.location, false), 0});
    return true;
}

}  // namespace kivo::detail
