#include "Platform/foundation/text_folding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstring>
#include <vector>

#include "locale/icu_bridge.h"

namespace plat {

namespace {

constexpr char16_t DotlessI = u'\u0131';
// No combining mark lies below this code point.
constexpr UChar32 FirstMark = 0x300;
// Room for the full case folding of one code point (at most three, each at most two units).
constexpr int32_t FoldBufferSize = 8;

bool isTurkicLanguage(const Locale& locale) {
    const char* language = locale.impl().icu.getLanguage();
    return std::strcmp(language, "tr") == 0 || std::strcmp(language, "az") == 0;
}

bool isMark(UChar32 c) {
    if (c < FirstMark) return false;
    const auto type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK || type == U_ENCLOSING_MARK;
}

// Hangul syllables stay whole: their decomposition into jamo would let a syllable being typed match
// the start of another syllable.
bool isHangulSyllable(UChar32 c) { return c >= 0xAC00 && c <= 0xD7A3; }

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Appends the folded units of `source` to `out` and, when `origins` is given, for each unit the
// offset in `source` where its character starts.
class Folding {
public:
    Folding(bool turkic, bool ignoreAccents) : _turkic(turkic), _ignoreAccents(ignoreAccents) {}

    void run(std::u16string_view source, std::u16string& out, std::vector<std::int32_t>* origins) const {
        const auto length = static_cast<std::int32_t>(source.size());
        std::int32_t i = 0;
        while (i < length) {
            const std::int32_t start = i;
            UChar32 c;
            U16_NEXT(source.data(), i, length, c);
            if (c < 0x80) {
                emitUnit(asciiFold(static_cast<char16_t>(c)), start, out, origins);
                continue;
            }
            UChar one[2];
            std::int32_t oneLength = 0;
            U16_APPEND_UNSAFE(one, oneLength, c);
            UChar folded[FoldBufferSize];
            UErrorCode status = U_ZERO_ERROR;
            const std::int32_t foldedLength = u_strFoldCase(
                folded, FoldBufferSize, one, oneLength, _turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT, &status);
            const UChar* units = U_SUCCESS(status) ? folded : one;
            const std::int32_t count = U_SUCCESS(status) ? foldedLength : oneLength;
            for (std::int32_t k = 0; k < count;) {
                UChar32 f;
                U16_NEXT(units, k, count, f);
                emitDecomposed(f, start, out, origins);
            }
        }
    }

    char16_t asciiFold(char16_t c) const {
        if (c < u'A' || c > u'Z') return c;
        if (_turkic && c == u'I') return DotlessI;
        return static_cast<char16_t>(c + (u'a' - u'A'));
    }

private:
    void emitDecomposed(UChar32 c, std::int32_t origin, std::u16string& out, std::vector<std::int32_t>* origins) const {
        static const icu::Normalizer2* const nfd = [] {
            UErrorCode status = U_ZERO_ERROR;
            const icu::Normalizer2* instance = icu::Normalizer2::getNFDInstance(status);
            return U_SUCCESS(status) ? instance : nullptr;
        }();
        icu::UnicodeString decomposition;
        if (isHangulSyllable(c) || !nfd || !nfd->getDecomposition(c, decomposition)) {
            emitCodePoint(c, origin, out, origins);
            return;
        }
        for (std::int32_t k = 0; k < decomposition.length();) {
            const UChar32 d = decomposition.char32At(k);
            emitCodePoint(d, origin, out, origins);
            k += U16_LENGTH(d);
        }
    }

    void emitCodePoint(UChar32 c, std::int32_t origin, std::u16string& out, std::vector<std::int32_t>* origins) const {
        if (_ignoreAccents && c >= FirstMark && u_charType(c) == U_NON_SPACING_MARK) return;
        if (U16_LENGTH(c) == 1) {
            emitUnit(static_cast<char16_t>(c), origin, out, origins);
        } else {
            emitUnit(static_cast<char16_t>(U16_LEAD(c)), origin, out, origins);
            emitUnit(static_cast<char16_t>(U16_TRAIL(c)), origin, out, origins);
        }
    }

    static void emitUnit(char16_t unit, std::int32_t origin, std::u16string& out, std::vector<std::int32_t>* origins) {
        out.push_back(unit);
        if (origins) origins->push_back(origin);
    }

    bool _turkic;
    bool _ignoreAccents;
};

bool endsOnBoundary(std::u16string_view text, std::size_t end) {
    if (end >= text.size()) return true;
    if (U16_IS_TRAIL(text[end])) return false;
    UChar32 c;
    U16_GET(text.data(), 0, static_cast<std::int32_t>(end), static_cast<std::int32_t>(text.size()), c);
    return !isMark(c);
}

// The offset of the first match of `pattern` in `text` that ends on a character boundary.
std::size_t findWhole(std::u16string_view text, std::u16string_view pattern) {
    std::size_t at = text.find(pattern);
    while (at != std::u16string_view::npos && !endsOnBoundary(text, at + pattern.size())) at = text.find(pattern, at + 1);
    return at;
}

}  // namespace

TextFolder::TextFolder(const Locale& locale, Accents accents)
    : _locale(locale), _accents(accents), _turkic(isTurkicLanguage(locale)) {}

std::u16string TextFolder::fold(std::string_view text) const {
    const Folding folding(_turkic, _accents == Accents::Ignore);
    std::u16string out;
    if (isAscii(text)) {
        out.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) out[i] = folding.asciiFold(static_cast<char16_t>(text[i]));
        return out;
    }
    const std::u16string source = toUtf16(text);
    out.reserve(source.size());
    folding.run(source, out, nullptr);
    return out;
}

bool TextFolder::contains(std::u16string_view foldedText, std::u16string_view foldedPattern) const {
    if (foldedPattern.empty()) return true;
    return findWhole(foldedText, foldedPattern) != std::u16string_view::npos;
}

std::optional<TextRange> TextFolder::find(std::string_view text, std::string_view pattern) const {
    const std::u16string wanted = fold(pattern);
    if (wanted.empty()) return TextRange{0, 0};
    const std::u16string source = toUtf16(text);
    std::u16string folded;
    std::vector<std::int32_t> origins;
    folded.reserve(source.size());
    origins.reserve(source.size());
    Folding(_turkic, _accents == Accents::Ignore).run(source, folded, &origins);

    const std::size_t at = findWhole(folded, wanted);
    if (at == std::u16string_view::npos) return std::nullopt;
    const std::int32_t start = origins[at];
    // The match ends after the source character of its last folded unit.
    const std::int32_t last = origins[at + wanted.size() - 1];
    std::int32_t end = static_cast<std::int32_t>(source.size());
    for (std::size_t k = at + wanted.size(); k < origins.size(); ++k) {
        if (origins[k] > last) {
            end = origins[k];
            break;
        }
    }
    return TextRange{start, end - start};
}

}  // namespace plat
