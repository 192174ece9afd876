#pragma once
// The state of one editable text: its characters, held in UTF-16 units as text positions count them,
// and a selection with an anchor (where it started) and a moving end. Edits replace ranges; caret
// moves step over whole user-perceived characters (a letter with its accents, an emoji).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/utf16.h"

namespace plat {

class PLAT_EXPORT TextEditingModel {
public:
    TextEditingModel() = default;
    explicit TextEditingModel(std::string_view text) { setText(text); }

    std::string text() const { return toUtf8(_text); }
    const std::u16string& units() const { return _text; }
    std::int64_t length() const { return static_cast<std::int64_t>(_text.size()); }
    // Replaces everything; the caret goes to the end.
    void setText(std::string_view text);

    // From the smaller end to the larger; length 0 is a caret.
    TextRange selectedRange() const;
    // Clamped to the text. The anchor is the range's start, the moving end its end.
    void setSelectedRange(TextRange range);
    void selectAll() { setSelectedRange({0, length()}); }
    std::string textInRange(TextRange range) const;

    // Replaces `range` (clamped to the text) with `replacement`; the caret lands after what was
    // inserted.
    void replace(TextRange range, std::string_view replacement);
    // What a backspace removes: the selection when there is one, else the character before the caret
    // (empty at the start of the text).
    TextRange rangeForDeleteBackward() const;

    // The character boundary before or after `offset` (0 and length() at the ends).
    std::int64_t previousBoundary(std::int64_t offset) const;
    std::int64_t nextBoundary(std::int64_t offset) const;
    // The boundary at or before `offset` (an offset inside a character moves to its start).
    std::int64_t snapToBoundary(std::int64_t offset) const;
    // Where each character starts, in order, read in one pass (empty for an empty text).
    std::vector<std::int64_t> characterStarts() const;

    // Arrow keys: without `extend` a selection collapses to its start (left) or end (right), a caret
    // moves by one character; with `extend` the moving end moves and the anchor stays.
    void moveLeft(bool extend);
    void moveRight(bool extend);
    void moveToStart(bool extend);
    void moveToEnd(bool extend);

private:
    PLAT_NO_EXPORT void moveFocus(std::int64_t to, bool extend);

    std::u16string _text;
    std::int64_t _anchor = 0, _focus = 0;
};

}  // namespace plat
