#include <gtest/gtest.h>

#include <cmath>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

using plat::Locale;
using plat::TimeZone;

TEST(Locale, SpellingsOfOneLocaleAreTheSameLocale) {
    auto a = Locale::withIdentifier("en_US");
    auto b = Locale::withIdentifier("en-US");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.identifier(), "en_US");
    EXPECT_FALSE(a == Locale::withIdentifier("de_DE"));
    EXPECT_EQ(Locale().identifier(), "");
    EXPECT_EQ(Locale(), Locale::root());
}

TEST(Locale, SymbolsFollowTheLocale) {
    struct Row {
        const char* id;
        const char* decimal;
        const char* grouping;
        const char* currency;
    };
    for (const Row& r : {Row{"en_US", ".", ",", "USD"}, Row{"de_DE", ",", ".", "EUR"}, Row{"fr_FR", ",", "\u202F", "EUR"},
                         Row{"", ".", ",", "XXX"}, Row{"ja_JP", ".", ",", "JPY"}}) {
        SCOPED_TRACE(r.id);
        auto loc = Locale::withIdentifier(r.id);
        EXPECT_EQ(loc.decimalSeparator(), r.decimal);
        EXPECT_EQ(loc.groupingSeparator(), r.grouping);
        EXPECT_EQ(loc.currencyCode(), r.currency);
    }
}

TEST(Locale, CurrentIsSettable) {
    auto saved = Locale::current();
    Locale::setCurrent(Locale::withIdentifier("de_DE"));
    EXPECT_EQ(Locale::current().identifier(), "de_DE");
    Locale::setCurrent(saved);
    EXPECT_EQ(Locale::current(), saved);
}

TEST(TimeZone, NamedZonesAndUnknownNames) {
    EXPECT_EQ(TimeZone().identifier(), TimeZone::utc().identifier());
    EXPECT_FALSE(TimeZone::named("Mars/Olympus_Mons").has_value());
    auto berlin = TimeZone::named("Europe/Berlin");
    ASSERT_TRUE(berlin.has_value());
    EXPECT_EQ(berlin->identifier(), "Europe/Berlin");
    EXPECT_EQ(*berlin, *TimeZone::named("Europe/Berlin"));
    // 2024-01-15 and 2024-07-15, noon UTC: winter and summer time.
    EXPECT_EQ(berlin->secondsFromGMT(plat::Date(1705320000)), 3600);
    EXPECT_EQ(berlin->secondsFromGMT(plat::Date(1721044800)), 7200);
    EXPECT_EQ(TimeZone::utc().secondsFromGMT(plat::Date(1721044800)), 0);
    EXPECT_EQ(berlin->secondsFromGMT(plat::Date(NAN)), 0);
}

TEST(TimeZone, CurrentIsSettable) {
    auto saved = TimeZone::current();
    TimeZone::setCurrent(*TimeZone::named("Asia/Tokyo"));
    EXPECT_EQ(TimeZone::current().identifier(), "Asia/Tokyo");
    TimeZone::setCurrent(saved);
    EXPECT_EQ(TimeZone::current(), saved);
}
