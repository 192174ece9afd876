#include <gtest/gtest.h>

#include <cmath>

#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "foundation/locale/data_locale.h"

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

TEST(Locale, DataIsAskedForUnderNamesThatICUsDataBounds) {
    // However many identifiers are asked for, ICU only sees the names of data it has: extra parts and
    // keywords that select nothing it knows are dropped, keywords that select data are kept.
    const std::pair<const char*, const char*> cases[] = {
        {"en_US_X1", "en_US"},
        {"en_US@x=5", "en_US"},
        {"en_US@numbers=n123;calendar=nocalendar", "en_US"},
        {"th_TH@numbers=thai", "th_TH@numbers=thai"},
        {"de-DE-u-co-phonebk-nu-arab", "de_DE@collation=phonebook;numbers=arab"},
        {"en@currency=EUR;x=1", "en@currency=eur"},
        {"ja_JP@calendar=japanese", "ja_JP@calendar=japanese"},
        {"qq_ZZ", ""},
    };
    for (const auto& [id, data] : cases) EXPECT_EQ(plat::detail::dataLocaleName(Locale::withIdentifier(id)), data) << id;
    EXPECT_EQ(Locale::withIdentifier("en_US@x=5").identifier(), "en_US@x=5") << "the identifier stays as asked";
    EXPECT_EQ(Locale::withIdentifier("de-DE-u-nu-arab").digits()[1], "\u0661");
    // A numbering system ICU does not know no longer leaves dates without text.
    plat::DateFormatter dates(Locale::withIdentifier("fr@numbers=n123"), TimeZone::utc());
    dates.setDateFormat("d MMMM y");
    EXPECT_EQ(dates.format(plat::Date(0)), "1 janvier 1970");
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
