#include <gtest/gtest.h>

#include <cmath>

#include "Platform/foundation/locale/date_formatter.h"

using plat::Date;
using plat::DateFormatter;
using plat::Locale;
using plat::TimeZone;
using Style = DateFormatter::Style;

namespace {

const Date Jan5 = Date(1704469530);  // 2024-01-05 15:45:30 UTC

DateFormatter make(const char* locale, const char* zone = "UTC") {
    return DateFormatter(Locale::withIdentifier(locale), *TimeZone::named(zone));
}

}  // namespace

TEST(DateFormatter, StylesFollowLocaleAndZone) {
    auto f = make("en_US");
    f.setDateStyle(Style::Short);
    EXPECT_EQ(f.format(Jan5), "1/5/24");
    f.setTimeStyle(Style::Short);
    EXPECT_EQ(f.format(Jan5), "1/5/24, 3:45\u202FPM");
    f.setLocale(Locale::withIdentifier("de_DE"));
    f.setTimeStyle(Style::None);
    EXPECT_EQ(f.format(Jan5), "05.01.24");
    f.setDateStyle(Style::Medium);
    EXPECT_EQ(f.format(Jan5), "05.01.2024");
    f.setDateStyle(Style::None);
    EXPECT_EQ(f.format(Jan5), "");
}

TEST(DateFormatter, PatternWinsOverStylesAndStylesClearIt) {
    auto f = make("en_US", "Asia/Tokyo");
    f.setDateStyle(Style::Short);
    f.setDateFormat("yyyy-MM-dd HH:mm:ss");
    EXPECT_EQ(f.format(Jan5), "2024-01-06 00:45:30");
    f.setTimeZone(TimeZone::utc());
    EXPECT_EQ(f.format(Jan5), "2024-01-05 15:45:30");
    f.setDateFormat("MMM d");
    f.setLocale(Locale::withIdentifier("de_DE"));
    EXPECT_EQ(f.format(Jan5), "Jan. 5");
    f.setDateStyle(Style::Short);
    EXPECT_EQ(f.dateFormat(), "");
    EXPECT_EQ(f.format(Jan5), "05.01.24");
}

TEST(DateFormatter, BrokenPatternsAndDatesStillGiveText) {
    auto f = make("en_US");
    // Patterns are read leniently: a quote runs to the end, unknown letters print nothing.
    f.setDateFormat("yyyy-MM-dd 'unterminated");
    EXPECT_EQ(f.format(Jan5), "2024-01-05 unterminated");
    f.setDateFormat("yyyy j");
    EXPECT_EQ(f.format(Jan5), "2024 ");
    f.setDateFormat("yyyy");
    EXPECT_EQ(f.format(Date(NAN)), "");
    EXPECT_EQ(f.format(Date(INFINITY)), "");
    EXPECT_EQ(f.format(Date(-62135596800.0)), "0001");
}

TEST(DateFormatter, ParsesWholeTextsOnly) {
    auto f = make("en_US");
    f.setDateFormat("yyyy-MM-dd HH:mm:ss");
    auto d = f.parse("2024-01-05 15:45:30");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->seconds, Jan5.seconds);
    EXPECT_FALSE(f.parse("2024-01-05 15:45:30 and more").has_value());
    EXPECT_FALSE(f.parse("not a date").has_value());
    EXPECT_FALSE(f.parse("").has_value());
    EXPECT_FALSE(f.parse("2024-13-45 15:45:30").has_value());
}

TEST(DateFormatter, ParsingOverABaseKeepsTheFieldsTheFormHides) {
    // Zone-aware: 5 Jan 15:45:30 UTC is 16:45:30 in Berlin, and a date-only form there keeps that.
    struct Case {
        const char* zone;
        const char* pattern;  // empty: the short date style
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"UTC", "", "1/6/24", Jan5.seconds + 86400},
        {"Europe/Berlin", "", "1/6/24", Jan5.seconds + 86400},
        {"UTC", "dd MMM", "07 Mar", 1709826330},  // 2024-03-07 15:45:30: the year comes from the base too
        {"UTC", "HH:mm", "09:00", 1704445230},    // 2024-01-05 09:00:30: only hours and minutes given
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto f = make("en_US", c.zone);
        if (*c.pattern) f.setDateFormat(c.pattern);
        else f.setDateStyle(Style::Short);
        const auto d = f.parse(c.text, Jan5);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->seconds, c.expected);
    }
    auto f = make("en_US");
    f.setDateStyle(Style::Short);
    EXPECT_FALSE(f.parse("1/6/24 and more", Jan5).has_value());
    EXPECT_FALSE(f.parse("soon", Jan5).has_value());
    // A base that is not a date reads as the plain parse does.
    EXPECT_EQ(f.parse("1/6/24", Date(NAN)), f.parse("1/6/24"));
}
