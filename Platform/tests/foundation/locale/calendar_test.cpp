#include <gtest/gtest.h>

#include <cmath>

#include "Platform/foundation/locale/calendar.h"

using plat::Calendar;
using plat::Date;
using plat::DateComponents;
using plat::TimeZone;

TEST(Calendar, TakesDatesApartInItsZone) {
    Calendar utc(TimeZone::utc());
    auto c = utc.components(Date(1704469530.25));  // 2024-01-05 15:45:30.25 UTC, a Friday
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(*c, (DateComponents{2024, 1, 5, 15, 45, 30, 250000000.0, 6}));
    Calendar tokyo(*TimeZone::named("Asia/Tokyo"));
    c = tokyo.components(Date(1704469530));
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->day, 6);
    EXPECT_EQ(c->hour, 0);
}

TEST(Calendar, BuildsDatesAndRollsOverOutOfRangeFields) {
    Calendar utc(TimeZone::utc());
    EXPECT_EQ(utc.dateFromComponents({2024, 1, 5, 15, 45, 30})->seconds, 1704469530);
    EXPECT_EQ(utc.dateFromComponents({2023, 13, 1})->seconds, utc.dateFromComponents({2024, 1, 1})->seconds);
    EXPECT_EQ(utc.dateFromComponents({2024, 2, 30})->seconds, utc.dateFromComponents({2024, 3, 1})->seconds);
    Calendar berlin(*TimeZone::named("Europe/Berlin"));
    EXPECT_EQ(berlin.dateFromComponents({2024, 7, 1, 2})->seconds, 1719792000);  // 00:00 UTC
}

TEST(Calendar, IsProlepticGregorianAndRefusesWhatItCannotHold) {
    Calendar utc(TimeZone::utc());
    // 1 January of year 1 and of 1 BC (astronomical year 0), with the Gregorian rules throughout.
    auto d = utc.dateFromComponents({1, 1, 1});
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->seconds, -62135596800.0);
    auto c = utc.components(Date(-62135596800.0 - 86400));
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->year, 0);
    EXPECT_EQ(c->month, 12);
    EXPECT_EQ(c->day, 31);
    EXPECT_FALSE(utc.components(Date(NAN)).has_value());
    EXPECT_FALSE(utc.components(Date(1e300)).has_value());
    EXPECT_FALSE(utc.dateFromComponents({2024, 1, 1, 0, 0, 0, NAN}).has_value());
    EXPECT_FALSE(utc.dateFromComponents({4'000'000'000'000, 1, 1}).has_value());
    EXPECT_FALSE(utc.dateFromComponents({2024, 1, INT64_MAX}).has_value());
    EXPECT_TRUE(utc.dateFromComponents({-900'000, 1, 1}).has_value());
}

TEST(Calendar, DaysInMonth) {
    EXPECT_EQ(Calendar::daysInMonth(2024, 2), 29);
    EXPECT_EQ(Calendar::daysInMonth(1900, 2), 28);
    EXPECT_EQ(Calendar::daysInMonth(2000, 2), 29);
    EXPECT_EQ(Calendar::daysInMonth(2023, 4), 30);
    EXPECT_EQ(Calendar::daysInMonth(2023, 12), 31);
    EXPECT_EQ(Calendar::daysInMonth(2023, 13), 0);
}
