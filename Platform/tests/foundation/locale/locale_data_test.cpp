// Locale data by identifier: the digits and marks of numbering systems, which data an identifier
// without data of its own uses, and memory that stays bounded however many identifiers are asked for.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "Platform/foundation/collator.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/number_formatter.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header is not installed here): bytes allocated and not yet freed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using plat::Locale;
using plat::NumberFormatter;

namespace {

std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::string formatted(const char* identifier, double value) {
    return NumberFormatter(NumberFormatter::Style::Decimal, Locale::withIdentifier(identifier)).format(value);
}

}  // namespace

TEST(LocaleData, DigitsAndExponentMarkOfTheNumberingSystem) {
    struct Row {
        const char* id;
        const char* zero;
        const char* nine;
        const char* exponent;
    };
    for (const Row& r : {Row{"en_US", "0", "9", "E"}, Row{"sv_SE", "0", "9", "\u00D710^"},
                         Row{"ar_EG", "\u0660", "\u0669", "\u0627\u0633"}, Row{"th_TH", "0", "9", "E"},
                         Row{"th_TH@numbers=thai", "\u0E50", "\u0E59", "E"}, Row{"en-US-u-nu-thai", "\u0E50", "\u0E59", "E"}}) {
        SCOPED_TRACE(r.id);
        auto loc = Locale::withIdentifier(r.id);
        EXPECT_EQ(loc.digits()[0], r.zero);
        EXPECT_EQ(loc.digits()[9], r.nine);
        EXPECT_EQ(loc.exponentSymbol(), r.exponent);
    }
}

TEST(LocaleData, IdentifiersWithoutDataOfTheirOwnUseTheNearestThatHasSome) {
    EXPECT_EQ(formatted("de_DE_NOSUCHVARIANT", 1234.5), formatted("de_DE", 1234.5));
    EXPECT_EQ(formatted("de_DE_NOSUCHVARIANT@numbers=thai", 12), "\u0E51\u0E52");
    EXPECT_EQ(formatted("zh_TW", 1234.5), formatted("zh_Hant_TW", 1234.5));
    // An unknown language takes the root's data, never the process's default locale's.
    EXPECT_EQ(formatted("xx_NOWHERE", 1234.5), formatted("", 1234.5));
    EXPECT_EQ(formatted("xx_NOWHERE@numbers=thai", 12), "\u0E51\u0E52");
    // The region still names the currency, and the identifier stays the one asked for.
    EXPECT_EQ(Locale::withIdentifier("xx_DE").currencyCode(), "EUR");
    EXPECT_EQ(Locale::withIdentifier("de_DE_NOSUCHVARIANT").identifier(), "de_DE_NOSUCHVARIANT");
}

TEST(LocaleData, DistinctIdentifiersWithoutEndCostBoundedMemory) {
    // Each identifier once cost about 2 KB for good: ours, and ICU's cache of the names it looked up.
    auto ask = [](const char* prefix, int from, int to) {
        for (int i = from; i < to; ++i) {
            auto loc = Locale::withIdentifier(prefix + std::to_string(i));
            EXPECT_FALSE(loc.decimalSeparator().empty());
        }
    };
    const auto held = Locale::withIdentifier("de_DE_HELD");
    ask("de_DE_X", 0, 2 * static_cast<int>(Locale::MaxRememberedIdentifiers));
    ask("q", 0, 2 * static_cast<int>(Locale::MaxRememberedIdentifiers));
    const std::size_t before = heapInUse();
    ask("de_DE_X", 1000, 6000);
    ask("q", 1000, 6000);
    EXPECT_LT(heapInUse(), before + 512 * 1024);
    // Forgotten by the registry but still held: asked for again, it is the same locale.
    EXPECT_EQ(Locale::withIdentifier("de-DE-HELD"), held);
    EXPECT_EQ(formatted("de_DE_X1000", 0.5), "0,5");
}

TEST(LocaleData, IdentifiersUsedForSortingCostBoundedMemoryToo) {
    // Sorting kept an ICU collator for every identifier ever sorted by, each under a name of its own
    // in ICU's caches.
    auto sort = [](int from, int to) {
        for (int i = from; i < to; ++i) {
            const std::string n = std::to_string(i);
            for (const std::string& id : {"de_DE_X" + n, "en_US@x=" + n, "q" + n}) {
                const plat::Collator collator(Locale::withIdentifier(id), plat::Collator::Strength::Secondary);
                EXPECT_EQ(collator.compare("a", "B"), -1) << id;
            }
        }
    };
    sort(0, 2 * static_cast<int>(Locale::MaxRememberedIdentifiers));
    const std::size_t before = heapInUse();
    sort(1000, 3000);
    EXPECT_LT(heapInUse(), before + 512 * 1024);
}
