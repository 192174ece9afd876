// The mask language and the mask engine: parsing, the rebuild, typed text onto the mask, caret
// positions, the deletion check, the raw value and the locale's literals.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "Platform/foundation/utf16.h"
#include "Platform/testing/log_capture.h"
#include "input_access.h"
#include "mask_test_support.h"

namespace {

using Access = kivo::testing::InputAccess;

// One position per word: an input position as its wildcard, "^" upper, "v" lower, "*" optional; a
// literal in quotes.
std::string describe(const KivoMaskHandler& h) {
    std::string out;
    for (const KivoMaskElement& e : h.maskArr()) {
        if (!out.empty()) out += ' ';
        if (e.isLiteral()) {
            EXPECT_EQ(e.charCase(), KivoMaskCharCaseNone);
            out += "'" + plat::toUtf8(std::u16string(1, e.literal())) + "'";
            continue;
        }
        EXPECT_EQ(e.literal(), u'\0');
        EXPECT_FALSE(e.isVague());
        out += static_cast<char>(e.wildcard());
        if (e.charCase() == KivoMaskCharCaseUpper) out += '^';
        if (e.charCase() == KivoMaskCharCaseLower) out += 'v';
        if (e.isOptional()) out += '*';
    }
    return out;
}

KivoMaskHandler handlerFor(const std::string& mask, const std::string& prompt = "_") {
    KivoMaskHandler h;
    h.setMask(mask);
    h.setPromptChar(prompt);
    return h;
}

class MaskHandlerTest : public PinnedLocaleTest {};

TEST_F(MaskHandlerTest, StartsWithoutMaskAndFull) {
    KivoMaskHandler h;
    EXPECT_FALSE(h.mask().has_value());
    EXPECT_EQ(h.promptChar(), "_");
    EXPECT_TRUE(h.maskFull());
    EXPECT_FALSE(h.isDelete());
    EXPECT_FALSE(h.placeholder().has_value());
    EXPECT_TRUE(h.maskArr().empty());
}

TEST_F(MaskHandlerTest, ParsesEveryMaskCharacter) {
    struct Row {
        const char* mask;
        const char* positions;
    };
    const Row rows[] = {
        {"09#LlAa&", "0 9 # L l A a &"},
        {"?C", "?* C*"},
        {">L<l|&", "L^ lv &"},
        {">0", "0^"},  // the case state reaches every input position
        {">-L", "'-' L^"},
        {"\\0\\\\\\>", "'0' '\\' '>'"},
        {"00\\", "0 0 '\\'"},
        {"(x) é", "'(' 'x' ')' ' ' 'é'"},
        {".,$/:", "'.' ',' '$' '/' ':'"},
        {"><|", ""},
        {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mask);
        EXPECT_EQ(describe(handlerFor(r.mask)), r.positions);
    }
}

TEST_F(MaskHandlerTest, NewMaskReplacesThePositions) {
    KivoMaskHandler h = handlerFor("000");
    h.setMask("LL");
    EXPECT_EQ(describe(h), "L L");
    h.setMask(std::nullopt);
    EXPECT_TRUE(h.maskArr().empty());
    EXPECT_EQ(h.applyMaskTo("abc"), "abc");
}

struct RebuildRow {
    const char* mask;
    const char* text;
    const char* expected;
    bool full;
    bool isDelete = false;
    const char* prompt = "_";
};

TEST_F(MaskHandlerTest, RebuildsTextOntoTheMask) {
    const RebuildRow rows[] = {
        {"(LLL) LL", "abcde", "(abc) de", true},
        {"(LLL) LL", "ab", "(ab_) __", false},
        {"(LLL) LL", "(ab_) __", "(ab_) __", false},
        {"(LLL) LL", "abcdefgh", "(abc) de", true},  // beyond the last position: dropped
        {"LL-00", "a1", "a_-__", false},             // the digit is passed over by the second letter
        {"LL-00", "ab-12", "ab-12", true},
        {"LL-00", "ab12", "ab-12", true},
        {">LLL", "abc", "ABC", true},
        {"<LL|L", "ABC", "abC", true},
        {">&&", "é1", "é1", true},  // only ASCII letters have a case here
        {"\\000", "12", "012", true},
        {"\\000", "012", "012", true},  // the literal already in the text is taken over
        {"00\\", "12", "12\\", true},
        // Each wildcard: what it passes over, what it takes.
        {"0", "a 5", "5", true},
        {"9", "a5", "5", true},
        {"9", "a 5", "_", false},  // a space at "9" is an empty position
        {"#", "a+", "+", true},
        {"#", "x-", "-", true},
        {"L", "1 éb", "b", true},
        {"l", "1 b", "_", false},
        {"?", "1b", "b", true},
        {"A", " -7", "7", true},
        {"a", "- 7", "_", false},
        {"&", " x", " ", true},
        {"C", "€", "€", true},
        {"&&", "a\U0001F600", "a_", false},  // a position never holds half of a character
        {"C&", "\U0001F600b", "b_", false},
        {"L?", "a", "a_", false},  // an optional position left empty
        {"LC", "a", "a_", false},
        // Deleting: spaces are passed over, except at "&" and "C", which keep them as typed.
        {"99", " 5", "_5", false},
        {"99", " 5", "5_", false, true},
        {"&&&", "a b", "a b", true, true},
        {"CLC", " b ", " b ", true, true},
        // The prompt always fits, never counts as filled and is never case-mapped.
        {">LLL", "axx", "Axx", false, false, "x"},
        {"<LL", "XX", "xx", false, false, "x"},  // mapped onto the prompt: unfilled
        {"000", "1*3", "1*3", false, false, "*"},
        {"00", "1", "1_", false, false, ""},  // an empty prompt uses "_"
        {"00", "1", "1x", false, false, "xyz"},
        {"00", "1", "1_", false, false, "\U0001F600"},  // half of a surrogate pair cannot prompt: "_"
        // Without positions.
        {"><", "abc", "", true},
        {"", "abc", "abc", true},
        {"", "_", "", true},
    };
    const plat::testing::LogCapture log;  // the two rows with a character outside the BMP each log its drop
    for (const RebuildRow& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " <- '" + r.text + "' prompt '" + r.prompt + "'" + (r.isDelete ? " deleting" : ""));
        KivoMaskHandler h = handlerFor(r.mask, r.prompt);
        h.setIsDelete(r.isDelete);
        EXPECT_EQ(h.applyMaskTo(r.text), r.expected);
        EXPECT_EQ(h.maskFull(), r.full);
    }
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST_F(MaskHandlerTest, RebuildOfMissingTextLeavesEveryPositionUnfilled) {
    KivoMaskHandler h = handlerFor("(000)");
    std::int64_t count = 42;
    EXPECT_EQ(h.applyMaskTo("", &count), "(___)");
    EXPECT_EQ(count, 42);
    EXPECT_FALSE(h.maskFull());
}

// A rebuilt text rebuilds to itself, with the same fullness, whatever mask, prompt and text.
TEST_F(MaskHandlerTest, RebuildIsIdempotent) {
    std::mt19937 random(20240611);
    const std::u16string maskAlphabet = u"09#LlAa&C?><|\\.,$/:-( )xé";
    const std::u16string textAlphabet = u"aZq5 -+_x*(é.,€";
    const std::string prompts[] = {"_", "x", "*", " ", "X"};
    const auto pick = [&](const std::u16string& alphabet, int length) {
        std::u16string s;
        for (int i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return plat::toUtf8(s);
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string prompt = prompts[round % 5];
        const bool deleting = round % 3 == 0 && prompt != " ";  // a space prompt is passed over while deleting
        KivoMaskHandler h = handlerFor(pick(maskAlphabet, 1 + random() % 10), prompt);
        h.setIsDelete(deleting);
        const std::string text = pick(textAlphabet, random() % 14);
        const std::string once = h.applyMaskTo(text);
        const bool full = h.maskFull();
        SCOPED_TRACE(*h.mask() + " <- '" + text + "' prompt '" + prompt + "'");
        ASSERT_EQ(h.applyMaskTo(once), once);
        ASSERT_EQ(h.maskFull(), full);
    }
}

TEST_F(MaskHandlerTest, LaysTypedTextOntoTheMaskFromAStart) {
    struct Row {
        const char* mask;
        const char* text;
        std::int64_t start;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"(000) 000-0000", "5551234567", 0, "(555) 123-4567"},
        {"(000) 000-0000", "12", 1, "12"},
        {"(000) 000-0000", "12", 4, ") 12"},
        {"LL-00", "a1b2", 0, "a-2"},     // a misfit is dropped and uses up its position
        {">LL", "ab", 0, "ab"},          // no case mapping here
        {"00", "1234", 1, "1"},          // the last input position takes the rest; cut to what is left
        {"0-", "12", 0, "1-"},           // the last position is a literal: nothing more
        {"000", "12", 3, std::nullopt},  // at the end of the mask string
        {"000", "12", 4, "12"},
        // Measured against the mask string, which case switches make longer than its positions.
        {">LL<ll", "ab", 4, ""},
        {">LL<ll", "ab", 5, ""},
        {">LL<ll", "ab", 6, std::nullopt},
        {">LL<ll", "ab", 7, "ab"},
        {"000", "12", -2, "12"},
        {"", "12", 0, "12"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " <- '" + r.text + "' from " + std::to_string(r.start));
        EXPECT_EQ(handlerFor(r.mask).applyMaskToMaskStartPos(r.text, r.start), r.expected);
    }
}

TEST_F(MaskHandlerTest, CountsThePositionsTypedTextTakes) {
    struct Row {
        const char* mask;
        const char* text;
        std::int64_t start;
        std::int64_t expected;
    };
    const Row rows[] = {
        {"(000) 000-0000", "5551234567", 1, 10},  // literal positions take any character
        {"(000) 000-0000", "5", 1, 1},
        {"(000) 000-0000", "x", 1, 0},
        {"LL-00", "a1", 0, 1},
        {"00", "123", 0, 2},
        {"00", "123", 1, 1},
        {"00", "1", 2, 0},
        {"\\\\>", "é", 0, 1},  // "\\" then the literal ">": two literals (the handler counts units)
        {"", "abc", 5, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " <- '" + r.text + "' from " + std::to_string(r.start));
        EXPECT_EQ(handlerFor(r.mask).getAppliedCharsNum(r.text, r.start), r.expected);
    }
}

TEST_F(MaskHandlerTest, MovesTheCaretOverLiterals) {
    struct Row {
        const char* mask;
        std::int64_t from;
        bool forward;
        std::int64_t expected;
    };
    const Row rows[] = {
        {"(LLL) LL", 4, true, 6},   {"(LLL) LL", 1, false, 1},  // 0, then forward over "("
        {"(LLL) LL", 0, true, 1},   {"(LLL) LL", 0, false, 1}, {"(LLL) LL", 3, true, 3}, {"(LLL) LL", 6, false, 4},
        {"(LLL) LL", 5, false, 4},  {"(LLL) LL", 8, false, 8}, {"(LLL) LL", 8, true, 8}, {"(LLL) LL", 12, false, 12},
        {"(LLL) LL", -3, false, 1}, {"LL--", 3, true, 4},      {"--", 1, false, 2},      {"", 5, false, 5},
        {"><", 5, true, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " from " + std::to_string(r.from) + (r.forward ? " forward" : " backward"));
        EXPECT_EQ(handlerFor(r.mask).getValidPosition(r.from, r.forward), r.expected);
    }
}

TEST_F(MaskHandlerTest, ChecksWhetherADeletionStillFits) {
    struct Row {
        const char* mask;
        const char* text;
        std::int64_t oldPos, newPos;
        bool expected;
    };
    const Row rows[] = {
        {"(000) 000-0000", "(555) 123-4567", 9, 8, true},
        {"(000) 000-0000", "(555) 123-4567", 5, 4, true},  // a literal
        {"LL00", "ab12", 2, 1, false},                     // "1" onto a letter position
        {"L0L0", "a1b2", 2, 1, false},
        {"L0L0", "a1__", 2, 1, true},  // prompts fit everywhere
        {"L0L0", "a1b2", 3, 3, true},
        {"00", "12", 1, 2, true},  // nothing left to move onto
        {"0L0", "1a2", 2, 1, false},
        {"0-0", "1-2", 2, 0, true},  // the last input character moves to the first position
        // Texts shorter than the mask are read only as far as they go.
        {"(000) 000-0000", "(55", 2, 1, true},
        {"(000) 000-0000", "", 1, 0, true},
        {"LL00", "ab1", 2, 1, false},
        {"LL00", "ab12", 9, 1, true},
        {"", "ab", 1, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " '" + r.text + "' " + std::to_string(r.oldPos) + " -> " + std::to_string(r.newPos));
        EXPECT_EQ(handlerFor(r.mask).isStringValid(r.text, r.oldPos, r.newPos), r.expected);
    }
}

TEST_F(MaskHandlerTest, RawValueKeepsTheFilledInputCharacters) {
    struct Row {
        const char* mask;
        const char* text;
        const char* expected;
        const char* prompt = "_";
    };
    const Row rows[] = {
        {"(LLL) LL", "(ab_) __", "ab"},    {"(LLL) LL", "(abc) de", "abcde"}, {"(LLL) LL", "(a", "a"},  // shorter text
        {"(LLL) LL", "(ab_) __xyz", "ab"}, {"000", "1*3", "13", "*"},         {"&&&", "a_é", "a_é", "*"}, {"", "a_b", "a_b"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mask) + " '" + r.text + "'");
        EXPECT_EQ(handlerFor(r.mask, r.prompt).getRawValue(r.text), r.expected);
    }
}

TEST_F(MaskHandlerTest, ReplacePromptTouchesOnlyUnfilledInputPositions) {
    KivoMaskHandler h = handlerFor("&_-L&", "*");
    // The literal "_" stays; the old prompt at input positions becomes the new one.
    EXPECT_EQ(h.replacePrompt("a_-__", "_"), "a_-**");
    EXPECT_EQ(h.replacePrompt("a_-__x", "_"), "a_-**x");  // beyond the mask: left as it is
    EXPECT_EQ(h.replacePrompt("_", ""), "*");             // an empty old prompt was "_"
    EXPECT_EQ(h.replacePrompt("a*", "*"), "a*");
    EXPECT_EQ(handlerFor("").replacePrompt("__", "_"), "__");
}

TEST_F(MaskHandlerTest, LocaleLiteralsFollowTheCurrentLocale) {
    struct Row {
        const char* locale;
        const char* mask;
        const char* positions;
    };
    const Row rows[] = {
        {"en_US", "$#,##0.00", "'$' # ',' # # 0 '.' 0 0"},
        {"de_DE", "$#,##0.00", "'€' # '.' # # 0 ',' 0 0"},
        {"en_US", "00/00 00:00", "0 0 '/' 0 0 ' ' 0 0 ':' 0 0"},
        {"de_DE", "00/00 00:00", "0 0 '.' 0 0 ' ' 0 0 ':' 0 0"},
        {"fi_FI", "00:00", "0 0 '.' 0 0"},
        {"ja_JP", "$0", "'￥' 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.locale) + " " + r.mask);
        pin(r.locale);
        EXPECT_EQ(describe(handlerFor(r.mask)), r.positions);
    }
    pin("de_DE");
    KivoMaskHandler h = handlerFor("$ 0,000.00");
    EXPECT_EQ(h.applyMaskTo("123456"), "€ 1.234,56");
    EXPECT_EQ(h.getRawValue("€ 1.234,56"), "123456");
    EXPECT_EQ(Access::dateTimeSeparator(true), ".");
    EXPECT_EQ(Access::dateTimeSeparator(false), ":");
}

TEST_F(MaskHandlerTest, ChecksCharactersAgainstWildcards) {
    KivoMaskHandler h = handlerFor("0", "*");
    EXPECT_TRUE(Access::isCharValid(h, u'0', u'*'));  // the prompt fits everywhere
    EXPECT_TRUE(Access::isCharValid(h, u'Z', u'*'));
    EXPECT_FALSE(Access::isCharValid(h, u'Z', u'1'));  // not a wildcard
    EXPECT_FALSE(Access::isCharValid(h, u'A', u'é'));
    EXPECT_FALSE(Access::isDigit(u'٣'));  // ASCII digits only
    EXPECT_TRUE(Access::isAlphanumeric(u'z'));
}

}  // namespace
