#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Platform/foundation/collator.h"
#include "foundation/collator_cache.h"

namespace {

using Strength = plat::Collator::Strength;

plat::Collator collator(const char* locale, Strength strength = Strength::Secondary) {
    return plat::Collator(plat::Locale::withIdentifier(locale), strength);
}

int keyOrder(const std::string& a, const std::string& b) { return a < b ? -1 : b < a ? 1 : 0; }

}  // namespace

TEST(Collator, StrengthDecidesWhetherCaseAndAccentsCount) {
    struct Row {
        Strength strength;
        const char *a, *b;
        int expected;
    };
    const Row rows[] = {
        {Strength::Secondary, "apple", "Banana", -1},  // not byte order: 'B' < 'a' in ASCII
        {Strength::Secondary, "apple", "APPLE", 0},
        {Strength::Secondary, "resume", "r\u00e9sum\u00e9", -1},
        {Strength::Primary, "resume", "R\u00e9sum\u00e9", 0},
        {Strength::Tertiary, "apple", "Apple", -1},
        {Strength::Secondary, "item 2", "item 10", 1},  // digits are characters, not numbers
        {Strength::Secondary, "", "a", -1},
    };
    for (const auto& r : rows) {
        auto c = collator("en_US", r.strength);
        EXPECT_EQ(c.compare(r.a, r.b), r.expected) << r.a << " vs " << r.b;
        EXPECT_EQ(c.compare(r.b, r.a), -r.expected) << r.b << " vs " << r.a;
    }
}

TEST(Collator, LocaleIsHonouredAndTurnsTheAsciiTableOffWhereLettersCombine) {
    // Danish sorts "aa" as its own letter after z; English does not.
    auto danish = collator("da_DK"), english = collator("en_US");
    EXPECT_EQ(danish.compare("aarhus", "zebra"), 1);
    EXPECT_EQ(english.compare("aarhus", "zebra"), -1);
    EXPECT_FALSE(danish.hasAsciiFastPath());
    EXPECT_TRUE(english.hasAsciiFastPath());
    EXPECT_FALSE(collator("en_US", Strength::Tertiary).hasAsciiFastPath());
    std::vector<std::string_view> words{"zebra", "aarhus"};
    auto keys = danish.sortKeys(words);
    EXPECT_EQ(keyOrder(keys[1], keys[0]), 1);
}

// The table-driven keys of an all-ASCII batch must order exactly as ICU's own keys, which a batch with
// one non-ASCII string forces.
TEST(Collator, AsciiKeysAgreeWithIcuKeysOnRandomText) {
    for (const char* locale : {"en_US", "de_DE", "fr_FR", ""}) {
        auto c = collator(locale);
        std::mt19937 rng(7);
        std::vector<std::string> texts;
        for (int i = 0; i < 600; ++i) {
            std::string s;
            size_t len = rng() % 7;
            for (size_t k = 0; k < len; ++k) s += static_cast<char>(rng() % 128);
            texts.push_back(s);
        }
        std::vector<std::string_view> views(texts.begin(), texts.end());
        auto fast = c.sortKeys(views);
        views.push_back("\u00e9");
        auto icu = c.sortKeys(views);
        for (size_t i = 0; i + 1 < texts.size(); ++i) {
            ASSERT_EQ(keyOrder(fast[i], fast[i + 1]), keyOrder(icu[i], icu[i + 1]))
                << locale << ": '" << texts[i] << "' vs '" << texts[i + 1] << "'";
            ASSERT_EQ(c.compare(texts[i], texts[i + 1]), keyOrder(icu[i], icu[i + 1]));
        }
    }
}

TEST(Collator, IllFormedUtf8NeverBreaksOrdering) {
    auto c = collator("en_US");
    std::vector<std::string_view> words{"\xff\xfe", "abc", "\xc3"};
    auto keys = c.sortKeys(words);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(c.compare("\xff", "\xff"), 0);
}

TEST(Collator, OnlyTheMostRecentlyUsedCollatorsAreKept) {
    // Identifiers that share their data share one collator, and distinct data keeps the cache bounded.
    for (int i = 0; i < 200; ++i) collator(("en_US_X" + std::to_string(i)).c_str());
    EXPECT_EQ(collator("en_US_X1").compare("a", "B"), -1);
    const char* languages[] = {"af", "ar", "bg", "ca", "cs", "da", "de", "el", "es", "fi", "fr", "hu", "it", "nl"};
    for (const char* language : languages)
        for (Strength strength : {Strength::Primary, Strength::Secondary, Strength::Tertiary}) collator(language, strength);
    EXPECT_LE(plat::detail::collatorCacheSize(), plat::detail::MaxCachedCollators);
    EXPECT_EQ(collator("sv").compare("\u00e4", "z"), 1) << "a collator built again still follows its locale";
    EXPECT_EQ(collator("en").compare("\u00e4", "z"), -1);
}
