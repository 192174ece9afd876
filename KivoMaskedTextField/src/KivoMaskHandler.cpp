#include "KivoMaskedTextField/KivoMaskHandler.h"

#include <algorithm>

#include "Platform/foundation/log.h"
#include "Platform/foundation/utf16.h"
#include "mask/MaskLocale.h"

using plat::toUtf16;
using plat::toUtf8;

namespace {

constexpr char16_t DefaultPrompt = u'_';

// ASCII only: a position with a case switch may hold any character ("&", "C"), and only ASCII
// letters have a case here.
char16_t toUpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }
char16_t toLowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// Positions whose space means "left empty": a space typed there shows as the prompt.
bool spaceMeansEmpty(char16_t wildcard) {
    return wildcard == u'9' || wildcard == u'#' || wildcard == u'l' || wildcard == u'a' || wildcard == u'?';
}

// Positions that keep a typed space as a character of their own.
bool keepsSpace(char16_t wildcard) { return wildcard == u'&' || wildcard == u'C'; }

std::int64_t clampIndex(std::int64_t index) { return std::max<std::int64_t>(index, 0); }

}  // namespace

// The rebuild's result, with where each position's character came from.
struct KivoMaskHandler::Rebuilt {
    std::u16string text;
    // Per position: the index in the rebuilt text's source of the character that fills it; -1 for
    // literal and unfilled positions.
    std::vector<std::int64_t> sources;
    // Whether every input position is filled.
    bool full = true;
};

void KivoMaskHandler::setMask(std::optional<std::string> mask) {
    if (mask == _mask) return;
    _mask = std::move(mask);
    _parseMaskStr(_mask ? std::string_view(*_mask) : std::string_view());
}

void KivoMaskHandler::setPromptChar(std::string promptChar) {
    _promptChar = std::move(promptChar);
    const char16_t old = _prompt;
    _prompt = promptOf(_promptChar);
    // The remembered text shows the new prompt where nothing was typed, as the field's text will.
    for (std::size_t i = 0; i < _builtFilled.size() && old != _prompt; ++i) {
        if (!_builtFilled[i] && !_maskArr[i].isLiteral()) _builtText[i] = _prompt;
    }
}

char16_t KivoMaskHandler::promptOf(std::string_view promptChar) {
    if (promptChar.empty()) return DefaultPrompt;
    const std::u16string units = toUtf16(promptChar);
    return units.empty() || _isSurrogate(units.front()) ? DefaultPrompt : units.front();
}

void KivoMaskHandler::_parseMaskStr(std::string_view mask) {
    _maskArr.clear();
    forget();
    const std::u16string m = toUtf16(mask);
    _maskLength = static_cast<std::int64_t>(m.size());
    if (m.empty()) return;
    const kivo::detail::MaskLocaleLiterals locale = kivo::detail::currentMaskLocaleLiterals();
    std::int64_t charCase = KivoMaskCharCaseNone;
    const auto addLiterals = [&](const std::string& text) {
        for (char16_t unit : toUtf16(text)) _maskArr.emplace_back(unit, false, false, KivoMaskCharCaseNone);
    };
    for (std::size_t i = 0; i < m.size(); ++i) {
        const char16_t c = m[i];
        switch (c) {
            case u'0':
            case u'9':
            case u'#':
            case u'L':
            case u'l':
            case u'A':
            case u'a':
            case u'&':
                _maskArr.emplace_back(c, true, false, charCase);
                break;
            case u'?':
            case u'C':
                _maskArr.emplace_back(c, true, true, charCase);
                break;
            case u'>':
                charCase = KivoMaskCharCaseUpper;
                break;
            case u'<':
                charCase = KivoMaskCharCaseLower;
                break;
            case u'|':
                charCase = KivoMaskCharCaseNone;
                break;
            case u'\\':
                // A trailing backslash stands for itself.
                _maskArr.emplace_back(i + 1 < m.size() ? m[++i] : c, false, false, KivoMaskCharCaseNone);
                break;
            case u'.':
                addLiterals(locale.decimalSeparator);
                break;
            case u',':
                addLiterals(locale.groupingSeparator);
                break;
            case u'$':
                addLiterals(locale.currencySymbol);
                break;
            case u'/':
                addLiterals(_getDateTimeSeparator(true));
                break;
            case u':':
                addLiterals(_getDateTimeSeparator(false));
                break;
            default:
                _maskArr.emplace_back(c, false, false, KivoMaskCharCaseNone);
                break;
        }
    }
}

std::string KivoMaskHandler::_getDateTimeSeparator(bool isDate) { return kivo::detail::currentDateTimeSeparator(isDate); }

bool KivoMaskHandler::_isCharValid(char16_t wildcard, char16_t c) const { return c == prompt() || fitsWildcard(wildcard, c); }

bool KivoMaskHandler::fitsWildcard(char16_t wildcard, char16_t c) const {
    if (_isSurrogate(c)) return false;
    switch (wildcard) {
        case u'0':
            return _isDigit(c);
        case u'9':
            return _isDigit(c) || c == u' ';
        case u'#':
            return _isDigit(c) || c == u' ' || c == u'+' || c == u'-';
        case u'L':
            return _isLetter(c);
        case u'l':
        case u'?':
            return _isLetter(c) || c == u' ';
        case u'A':
            return _isAlphanumeric(c);
        case u'a':
            return _isAlphanumeric(c) || c == u' ';
        case u'&':
        case u'C':
            return true;
        default:
            return false;
    }
}

KivoMaskHandler::Fit KivoMaskHandler::fit(const KivoMaskElement& e, char16_t c, From from, char16_t& shown) const {
    const char16_t w = e.wildcard();
    const bool moved = from == From::Moved;
    if (moved ? !fitsWildcard(w, c) : !_isCharValid(w, c)) return Fit::No;
    if (c == u' ' && spaceMeansEmpty(w)) return Fit::Unfilled;
    const bool keptSpace = from == From::Typed && c == u' ' && keepsSpace(w);
    if (c == prompt() && !moved && !keptSpace) return Fit::Unfilled;
    if (e.charCase() == KivoMaskCharCaseUpper) c = toUpperAscii(c);
    if (e.charCase() == KivoMaskCharCaseLower) c = toLowerAscii(c);
    // Mapped onto the prompt, a character of a text cannot be told from an unfilled position.
    if (c == prompt() && from == From::Text) return Fit::Unfilled;
    shown = c;
    return Fit::Filled;
}

KivoMaskHandler::Rebuilt KivoMaskHandler::rebuild(std::u16string_view s, bool deleting) const {
    Rebuilt out;
    out.text.reserve(_maskArr.size());
    out.sources.reserve(_maskArr.size());
    const char16_t p = prompt();
    std::size_t j = 0;
    for (const KivoMaskElement& e : _maskArr) {
        if (e.isLiteral()) {
            // The text already holds this literal here: take it over.
            if (j < s.size() && s[j] == e.literal()) ++j;
            out.text += e.literal();
            out.sources.push_back(-1);
            continue;
        }
        const char16_t w = e.wildcard();
        while (j < s.size() && (!_isCharValid(w, s[j]) || (deleting && s[j] == u' ' && !keepsSpace(w)))) ++j;
        char16_t shown = p;
        const bool filled = j < s.size() && fit(e, s[j], From::Text, shown) == Fit::Filled;
        out.sources.push_back(filled ? static_cast<std::int64_t>(j) : -1);
        if (j < s.size()) ++j;
        if (!filled) out.full = false;
        out.text += filled ? shown : p;
    }
    return out;
}

void KivoMaskHandler::remember(std::u16string text, std::vector<bool> filled) const {
    _builtText = std::move(text);
    _builtFilled = std::move(filled);
}

const std::vector<bool>* KivoMaskHandler::remembered(std::u16string_view s, char16_t promptShown) const {
    if (_builtFilled.empty() || s.size() != _builtText.size()) return nullptr;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool unfilled = !_builtFilled[i] && !_maskArr[i].isLiteral();
        if (s[i] != (unfilled ? promptShown : _builtText[i])) return nullptr;
    }
    return &_builtFilled;
}

std::u16string KivoMaskHandler::contentOf(std::u16string_view s, std::vector<bool>& filled) const {
    if (const std::vector<bool>* known = remembered(s, prompt())) {
        filled = *known;
        return std::u16string(s);
    }
    Rebuilt built = rebuild(s, false);
    filled.assign(built.sources.size(), false);
    for (std::size_t i = 0; i < filled.size(); ++i) filled[i] = built.sources[i] >= 0;
    return std::move(built.text);
}

std::vector<bool> KivoMaskHandler::_filledPositions(std::string_view text) const {
    std::vector<bool> filled;
    contentOf(toUtf16(text), filled);
    return filled;
}

std::string KivoMaskHandler::applyMaskTo(std::string_view text) { return applyMaskTo(text, nullptr); }

std::string KivoMaskHandler::applyMaskTo(std::string_view text, std::int64_t* /*charsNum*/) {
    _maskFull = true;
    if (!hasMask()) return text == _promptChar ? std::string() : std::string(text);
    if (_maskArr.empty()) return {};
    const std::u16string s = toUtf16(text);
    // The text last built or edited keeps what it holds: a typed space stays typed under a space prompt.
    if (const std::vector<bool>* known = remembered(s, prompt())) {
        for (std::size_t i = 0; i < known->size(); ++i) {
            if (!(*known)[i] && !_maskArr[i].isLiteral()) _maskFull = false;
        }
        return std::string(text);
    }
    if (std::ranges::any_of(s, _isSurrogate)) {
        plat::log("KivoMaskHandler: characters outside the Basic Multilingual Plane take no mask position; dropped");
    }
    Rebuilt built = rebuild(s, _isDelete);
    _maskFull = built.full;
    std::vector<bool> filled(built.sources.size());
    for (std::size_t i = 0; i < filled.size(); ++i) filled[i] = built.sources[i] >= 0;
    std::string out = toUtf8(built.text);
    remember(std::move(built.text), std::move(filled));
    return out;
}

std::optional<std::string> KivoMaskHandler::applyMaskToMaskStartPos(std::string_view text, std::int64_t start) const {
    start = clampIndex(start);
    const std::int64_t count = positionCount();
    if (!hasMask() || _maskLength < start) return std::string(text);
    if (_maskLength == start) return std::nullopt;
    // A mask with case switches is longer than its positions: no position is left after `start`.
    if (count <= start) return std::string();
    std::u16string out;
    std::int64_t m = start;
    const KivoMaskElement* current = nullptr;
    for (char16_t c : toUtf16(text)) {
        if (m < count) {
            while (m < count && _maskArr[m].isLiteral()) {
                current = &_maskArr[m++];
                out += current->literal();
            }
            if (m < count) current = &_maskArr[m++];
        }
        // Past the last position the last one looked at stays current.
        if (current && !current->isLiteral() && _isCharValid(current->wildcard(), c)) out += c;
    }
    const auto limit = static_cast<std::size_t>(count - start);
    if (out.size() > limit) out.resize(limit);
    return toUtf8(out);
}

std::int64_t KivoMaskHandler::getAppliedCharsNum(std::string_view text, std::int64_t start) const {
    start = clampIndex(start);
    const std::u16string s = toUtf16(text);
    if (!hasMask()) return static_cast<std::int64_t>(s.size());
    const std::int64_t count = positionCount();
    if (count <= start) return 0;
    std::int64_t taken = 0;
    std::int64_t m = start;
    for (std::size_t i = 0; i < s.size() && m < count; ++i) {
        const KivoMaskElement& e = _maskArr[m];
        if (e.isLiteral() || _isCharValid(e.wildcard(), s[i])) {
            ++taken;
            ++m;
        }
    }
    return taken;
}

std::int64_t KivoMaskHandler::getValidPosition(std::int64_t position, bool isForward) const {
    if (_maskArr.empty()) return position;
    std::int64_t n = clampIndex(position);
    const std::int64_t count = positionCount();
    if (!isForward && n > 0 && n < count) {
        std::int64_t i = n - 1;
        while (i >= 0 && _maskArr[i].isLiteral()) --i;
        n = i + 1;
    }
    if (isForward || n == 0) {
        while (n < count && _maskArr[n].isLiteral()) ++n;
    }
    return n;
}

bool KivoMaskHandler::isStringValid(std::string_view text, std::int64_t oldMaskPos, std::int64_t newMaskPos) const {
    const std::int64_t count = positionCount();
    std::int64_t n = clampIndex(newMaskPos);
    if (!hasMask() || count <= n) return true;
    const std::u16string s = toUtf16(text);
    const std::int64_t end = std::min<std::int64_t>(count, static_cast<std::int64_t>(s.size()));
    for (std::int64_t i = clampIndex(oldMaskPos); i < end; ++i) {
        if (_maskArr[i].isLiteral()) continue;
        while (n < count && _maskArr[n].isLiteral()) ++n;
        // No input position left to move to: what remains counts as fitting.
        if (n >= count) return true;
        if (!_isCharValid(_maskArr[n].wildcard(), s[i])) return false;
        ++n;
    }
    return true;
}

std::string KivoMaskHandler::getRawValue(std::string_view text) const {
    if (!hasMask()) return std::string(text);
    const std::u16string s = toUtf16(text);
    const char16_t p = prompt();
    const std::vector<bool>* known = remembered(s, p);
    std::u16string raw;
    const std::size_t end = std::min(_maskArr.size(), s.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (known ? (*known)[i] : (s[i] != p && !_maskArr[i].isLiteral())) raw += s[i];
    }
    return toUtf8(raw);
}

std::string KivoMaskHandler::replacePrompt(std::string_view text, std::string_view oldPromptChar) const {
    const char16_t from = promptOf(oldPromptChar), to = prompt();
    if (!hasMask() || from == to) return std::string(text);
    std::u16string s = toUtf16(text);
    // A typed character equal to the old prompt (a typed space) is no unfilled position.
    const std::vector<bool>* known = remembered(s, from);
    const std::size_t end = std::min(_maskArr.size(), s.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (s[i] == from && !_maskArr[i].isLiteral() && !(known && (*known)[i])) s[i] = to;
    }
    return toUtf8(s);
}
