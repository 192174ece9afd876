#pragma once
// Masked text as its input positions hold it: per position the character shown, and for input
// positions whether it is a typed character or unfilled. Edits work on the typed characters alone
// and rebuild the text from the mask, so a literal never moves into an input position, an input
// character never lands on a literal, and nothing but typed or pasted characters fills a position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/foundation/utf16.h"

class KivoMaskHandler;

namespace kivo::detail {

class MaskContent {
public:
    // The content of the field's text: what the handler remembers of it, else its rebuild.
    MaskContent(const KivoMaskHandler& handler, std::string_view text);

    // What an insertion did. `placed` counts the typed characters (and typed skips) that took a
    // position; `dropped` those that found no room without pushing a typed character out.
    struct Insertion {
        std::int64_t placed = 0;
        std::int64_t dropped = 0;
        std::int64_t wide = 0;  // characters outside the Basic Multilingual Plane, refused whole
        std::int64_t caret = 0;
    };
    // Replaces the input positions in `range` (mask positions) with `typed`, laid onto the mask from
    // the range's start: a typed character equal to the literal it meets takes that literal, one that
    // fits no position there is dropped. What follows the range shifts right by what was typed,
    // taking up the unfilled positions right after the range before anything is pushed; what cannot
    // be placed without pushing a typed character off the mask or onto a position it does not fit is
    // dropped from the end of `typed`. Nothing changes when nothing is placed.
    Insertion insert(plat::TextRange range, std::u16string_view typed);
    // Removes the input positions in `range`; what follows moves left onto the positions freed.
    // Refused (false, nothing changes) when a typed character would not fit where it moves to.
    bool remove(plat::TextRange range);

    bool anyFilled() const;
    // One character per position: literals, typed characters, the prompt where unfilled.
    std::u16string text() const;
    // Makes the handler take this content's text as the text it built, with its typed positions.
    void adoptInto(const KivoMaskHandler& handler) const;

private:
    struct Slot {
        char16_t shown = 0;
        bool typed = false;
    };
    // The input slot of the first input position at or after mask position `position`.
    std::size_t slotAtOrAfter(std::int64_t position) const;
    // `tail` moved to start at slot `to`: each typed slot refitted where it lands (case included);
    // nullopt when one would leave the mask or not stay a typed character there.
    std::optional<std::vector<Slot>> moved(const std::vector<Slot>& tail, std::size_t to) const;
    // Whether the typed slots of `tail` (their indices in `typed`) stay typed when it starts at `to`.
    bool tailFits(const std::vector<Slot>& tail, const std::vector<std::size_t>& typed, std::int64_t to) const;
    // The slots from `from` become `entries`, then `tail` (which fits right after them), then
    // unfilled ones.
    void place(std::size_t from, const std::vector<Slot>& entries, const std::vector<Slot>& tail);

    const KivoMaskHandler& _handler;
    std::vector<std::int64_t> _positions;  // mask position of each input slot
    std::vector<Slot> _slots;
    std::int64_t _maskSize = 0;
};

}  // namespace kivo::detail
