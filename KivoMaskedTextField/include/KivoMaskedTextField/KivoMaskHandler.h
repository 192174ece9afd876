#pragma once
// The mask engine of the masked text field: parses a mask string into positions and uses them to
// rebuild any text into masked text, check characters against positions, extract the raw value and
// move the caret over literals. Texts are UTF-8; every position, index and length counts UTF-16 units.
//
// The mask language, one position per character unless noted:
//   0 digit · 9 digit or space · # digit, space, "+" or "-" · L letter · l letter or space ·
//   ? letter or space (optional) · A letter or digit · a letter, digit or space · & any · C any (optional)
//   > upper-case, < lower-case, | no case from here on (no position) · \x the literal x (a trailing
//   backslash is itself a literal) · . , $ the locale's decimal and grouping separators and currency
//   symbol · / : the locale's date and time separators · anything else is a literal.
// Letters and digits are ASCII only. Unfilled input positions show the prompt character.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KivoInput/KivoInputExport.h"
#include "KivoMaskedTextField/KivoMaskElement.h"

namespace kivo::detail {
class MaskContent;
}
namespace kivo::testing {
struct InputAccess;
}

class KIVO_INPUT_EXPORT KivoMaskHandler {
public:
    KivoMaskHandler() = default;

    // None at start. Setting a different mask parses it at once, with the locale's separators of that
    // moment; setting the same mask again does nothing.
    const std::optional<std::string>& mask() const { return _mask; }
    void setMask(std::optional<std::string> mask);
    // The parsed positions in mask order.
    const std::vector<KivoMaskElement>& maskArr() const { return _maskArr; }

    // Only its first UTF-16 unit is used; an empty prompt, or one that starts with half of a surrogate
    // pair, uses "_".
    const std::string& promptChar() const { return _promptChar; }
    void setPromptChar(std::string promptChar);
    // Whether the last rebuild filled every input position (optional ones included).
    bool maskFull() const { return _maskFull; }
    // Set by the field before each edit: while it is set, the rebuild passes over spaces that land on
    // positions other than "&" and "C".
    bool isDelete() const { return _isDelete; }
    void setIsDelete(bool isDelete) { _isDelete = isDelete; }
    // Plain storage for the field's placeholder text.
    const std::optional<std::string>& placeholder() const { return _placeholder; }
    void setPlaceholder(std::optional<std::string> placeholder) { _placeholder = std::move(placeholder); }

    // The rebuild: one character per position. Literals come from the mask (a literal already in the
    // text at its place is taken over); each input position takes the next character of the text that
    // fits it, characters passed over are dropped, and case switches map ASCII letters. Without a mask
    // the text comes back as it is (the empty string for a text equal to the prompt); a mask without
    // positions gives the empty string. `charsNum` is accepted and never written.
    std::string applyMaskTo(std::string_view text);
    std::string applyMaskTo(std::string_view text, std::int64_t* charsNum);
    // Typed text laid onto the mask from position `start`, without case mapping: the literals up to
    // each input position, then the character when it fits. `start` is measured against the mask
    // string: without a mask, or with `start` past its end, the text itself; nullopt when `start` is
    // exactly its length; the empty string when no position is left after `start`.
    std::optional<std::string> applyMaskToMaskStartPos(std::string_view text, std::int64_t start) const;
    // How many positions typed text takes from `start`: a literal position takes any character, an
    // input position one that fits. At most the positions left after `start`.
    std::int64_t getAppliedCharsNum(std::string_view text, std::int64_t start) const;
    // The caret position after moving over literals: backward lands one past the nearest input
    // position before `position` (or at the first input position when there is none); forward passes
    // the literals at and after it. Unchanged without a parsed mask.
    std::int64_t getValidPosition(std::int64_t position, bool isForward) const;
    // Whether the input characters of masked text from position `oldMaskPos` on still fit their input
    // positions when moved to start at `newMaskPos` (what a deletion would do).
    bool isStringValid(std::string_view text, std::int64_t oldMaskPos, std::int64_t newMaskPos) const;
    // The characters of masked text at input positions that are not the prompt, in order. For the
    // text the handler last built or edited, the typed characters themselves (a space typed where a
    // space is also the prompt counts).
    std::string getRawValue(std::string_view text) const;

    // Masked text whose unfilled input positions show `oldPromptChar`, with those positions showing
    // the current prompt instead; what else it holds stays. The field calls it when its prompt
    // changes, so that old prompts never turn into typed characters.
    std::string replacePrompt(std::string_view text, std::string_view oldPromptChar) const;

private:
    friend class kivo::detail::MaskContent;
    friend struct kivo::testing::InputAccess;

    // Per position of `text`, whether it holds a typed character: read from what the handler
    // remembers when `text` is the text it last built or edited, else from the rebuild of `text`.
    KIVO_INPUT_NO_EXPORT std::vector<bool> _filledPositions(std::string_view text) const;
    KIVO_INPUT_NO_EXPORT void _parseMaskStr(std::string_view mask);
    KIVO_INPUT_NO_EXPORT bool _isCharValid(char16_t wildcard, char16_t character) const;
    KIVO_INPUT_NO_EXPORT static bool _isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
    KIVO_INPUT_NO_EXPORT static bool _isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
    KIVO_INPUT_NO_EXPORT static bool _isAlphanumeric(char16_t c) { return _isDigit(c) || _isLetter(c); }
    // Surrogate units never fit: a position holds a whole character or nothing.
    KIVO_INPUT_NO_EXPORT static bool _isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
    // The locale's one-character date ("/" when it has none of "/-.") or time (":" when it has none of
    // ":-.") separator.
    KIVO_INPUT_NO_EXPORT static std::string _getDateTimeSeparator(bool isDate);

    // What a character does at an input position: it does not fit, it fits and leaves the position
    // unfilled (the prompt, or a space where a space means "left empty"), or it fills it, shown as
    // `shown` (case-mapped). Where it comes from decides the prompt's part: in a text, a character
    // equal to the prompt is an unfilled position; typed, a space at a position that keeps spaces is
    // a character whatever the prompt; moved, a typed character stays one.
    enum class Fit { No, Unfilled, Filled };
    enum class From { Text, Typed, Moved };
    KIVO_INPUT_NO_EXPORT Fit fit(const KivoMaskElement& position, char16_t c, From from, char16_t& shown) const;
    KIVO_INPUT_NO_EXPORT bool fitsWildcard(char16_t wildcard, char16_t c) const;

    struct Rebuilt;
    // `deleting` passes over spaces as the rebuild does while the field deletes.
    KIVO_INPUT_NO_EXPORT Rebuilt rebuild(std::u16string_view text, bool deleting) const;
    // Remembers masked text with the positions that hold typed characters, so that a typed space and
    // an unfilled position stay apart under a space prompt.
    KIVO_INPUT_NO_EXPORT void remember(std::u16string text, std::vector<bool> filled) const;
    // Masked text for `text`, one character per position, with whether each holds a typed
    // character: the remembered text as it is, any other through its rebuild.
    KIVO_INPUT_NO_EXPORT std::u16string contentOf(std::u16string_view text, std::vector<bool>& filled) const;
    // The remembered flags when `text` is the remembered text with its unfilled positions showing
    // `promptShown`; null otherwise.
    KIVO_INPUT_NO_EXPORT const std::vector<bool>* remembered(std::u16string_view text, char16_t promptShown) const;
    KIVO_INPUT_NO_EXPORT static char16_t promptOf(std::string_view promptChar);
    KIVO_INPUT_NO_EXPORT char16_t prompt() const { return _prompt; }
    KIVO_INPUT_NO_EXPORT std::int64_t positionCount() const { return static_cast<std::int64_t>(_maskArr.size()); }
    KIVO_INPUT_NO_EXPORT bool hasMask() const { return _mask && !_mask->empty(); }
    KIVO_INPUT_NO_EXPORT void forget() const {
        _builtText.clear();
        _builtFilled.clear();
    }

    std::optional<std::string> _mask;
    std::int64_t _maskLength = 0;  // the mask string's UTF-16 units
    std::vector<KivoMaskElement> _maskArr;
    std::string _promptChar = "_";
    char16_t _prompt = u'_';  // the unit that _promptChar stands for
    bool _maskFull = true;
    bool _isDelete = false;
    std::optional<std::string> _placeholder;
    // The text last built or edited, and per position whether it holds a typed character (empty: none).
    mutable std::u16string _builtText;
    mutable std::vector<bool> _builtFilled;
};
