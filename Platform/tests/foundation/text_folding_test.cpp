#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Platform/foundation/text_folding.h"

namespace {

using Accents = plat::TextFolder::Accents;

plat::TextFolder folder(const char* locale, Accents accents) { return {plat::Locale::withIdentifier(locale), accents}; }

}  // namespace

TEST(TextFolder, FindsIgnoringCaseAndOptionallyAccentsInOriginalUnits) {
    struct Row {
        const char* locale;
        Accents accents;
        const char *text, *pattern;
        std::optional<plat::TextRange> expected;
    };
    const Row rows[] = {
        {"en_US", Accents::Ignore, "\u00c9mile", "em", plat::TextRange{0, 2}},
        {"en_US", Accents::Count, "\u00c9mile", "em", std::nullopt},
        {"en_US", Accents::Count, "\u00c9mile", "\u00c9M", plat::TextRange{0, 2}},
        // Precomposed and decomposed letters are the same text.
        {"en_US", Accents::Count, "Cafe\u0301 noir", "caf\u00e9", plat::TextRange{0, 5}},
        {"en_US", Accents::Ignore, "Cafe\u0301 noir", "E N", plat::TextRange{3, 4}},
        // With accents counting, a match never stops inside an accented letter.
        {"en_US", Accents::Count, "Cafe\u0301", "cafe", std::nullopt},
        {"en_US", Accents::Count, "cafe\u0301 cafe", "cafe", plat::TextRange{6, 4}},
        // One letter folding to two: the match covers the whole letter.
        {"de_DE", Accents::Count, "Stra\u00dfe", "SS", plat::TextRange{4, 1}},
        {"de_DE", Accents::Count, "Stra\u00dfe", "strasse", plat::TextRange{0, 6}},
        // Positions count UTF-16 units, two for an emoji.
        {"en_US", Accents::Ignore, "a\U0001F600B\u00e8", "be", plat::TextRange{3, 2}},
        // Turkish: dotless and dotted i are letters of their own.
        {"tr_TR", Accents::Count, "ISPARTA", "\u0131s", plat::TextRange{0, 2}},
        {"en_US", Accents::Count, "ISPARTA", "\u0131s", std::nullopt},
        {"tr_TR", Accents::Ignore, "\u0130stanbul", "ist", plat::TextRange{0, 3}},
        {"tr_TR", Accents::Ignore, "Istanbul", "ist", std::nullopt},
        {"en_US", Accents::Ignore, "\u0130stanbul", "ist", plat::TextRange{0, 3}},
        // A Hangul syllable being typed does not match the start of another syllable.
        {"ko_KR", Accents::Ignore, "\ud55c\uad6d", "\ud558", std::nullopt},
        {"en_US", Accents::Ignore, "Apple", "", plat::TextRange{0, 0}},
        {"en_US", Accents::Ignore, "", "a", std::nullopt},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(folder(r.locale, r.accents).find(r.text, r.pattern), r.expected)
            << r.locale << " '" << r.text << "' / '" << r.pattern << "'";
    }
}

TEST(TextFolder, ContainsAgreesWithFindOnFoldedForms) {
    for (Accents accents : {Accents::Count, Accents::Ignore}) {
        auto f = folder("fr_FR", accents);
        for (const char* text : {"R\u00e9sum\u00e9", "resume", "cafe\u0301", "STRASSE", "na\u00efve", "\xff\xfe bad"}) {
            for (const char* pattern : {"resume", "SUM\u00c9", "caf\u00e9", "cafe", "\u00df", "ive", "bad", ""}) {
                EXPECT_EQ(f.contains(f.fold(text), f.fold(pattern)), f.find(text, pattern).has_value())
                    << text << " / " << pattern << " accents " << static_cast<int>(accents);
            }
        }
    }
}

TEST(TextFolder, AsciiAndOtherTextFoldAlike) {
    auto f = folder("en_US", Accents::Ignore);
    EXPECT_EQ(f.fold("Hello, World 42"), u"hello, world 42");
    EXPECT_EQ(f.fold("\u00c0 la Cr\u00e8me"), u"a la creme");
    EXPECT_EQ(f.fold("\ufb01ne"), u"fine") << "a ligature folds to its letters";
    EXPECT_EQ(f.fold("a\xff"), u"a\ufffd");
}
