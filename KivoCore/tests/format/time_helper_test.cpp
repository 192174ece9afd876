#include <gtest/gtest.h>

#include <cmath>

#include "KivoCore/KivoTimeHelper.h"
#include "Platform/foundation/locale/calendar.h"
#include "format/format_test_support.h"

namespace {

class TimeHelper : public PinnedLocaleTest {
protected:
    // Day number of a UTC calendar date.
    static double day(std::int64_t y, std::int64_t mo, std::int64_t d, std::int64_t h = 0, std::int64_t mi = 0,
                      std::int64_t s = 0) {
        return plat::Calendar(plat::TimeZone::utc()).dateFromComponents({y, mo, d, h, mi, s})->seconds / 86400;
    }
    static double niceSeconds(double span, const char* format) {
        return KivoTimeHelper::niceTimeSpan(KivoTimeSpan::fromSeconds(span), format)->totalSeconds();
    }
};

}  // namespace

TEST_F(TimeHelper, TimeSpan) {
    EXPECT_EQ(KivoTimeSpan::fromDays(1.5)->totalSeconds(), 129600);
    EXPECT_EQ(KivoTimeSpan::fromSeconds(43200)->totalDays(), 0.5);
    EXPECT_EQ(KivoTimeHelper::timeSpanFromTmInc(90)->totalSeconds(), 90);
}

TEST_F(TimeHelper, TakesADateApartInItsZone) {
    KivoTimeHelper utc(plat::Date(1704469530));  // 2024-01-05 15:45:30 UTC
    EXPECT_EQ(utc.year(), 2024);
    EXPECT_EQ(utc.month(), 1);
    EXPECT_EQ(utc.day(), 5);
    EXPECT_EQ(utc.hour(), 15);
    EXPECT_EQ(utc.minute(), 45);
    EXPECT_EQ(utc.second(), 30);
    EXPECT_EQ(utc.getTimeAsDateTime().seconds, 1704469530);
    KivoTimeHelper tokyo(1704469530.0, *plat::TimeZone::named("Asia/Tokyo"));
    EXPECT_EQ(tokyo.day(), 6);
    EXPECT_EQ(tokyo.hour(), 0);
    EXPECT_EQ(tokyo.getTimeAsDateTime().seconds, 1704469530);
}

TEST_F(TimeHelper, ClampsFieldsToTheMonthsOwnLength) {
    struct Row {
        std::int64_t y, mo, d, h, mi, s;
        double expected;
    };
    const Row rows[] = {
        {2024, 1, 31, 10, 0, 0, day(2024, 1, 31, 10)},  // the 31st stays the 31st
        {2024, 4, 30, 0, 0, 0, day(2024, 4, 30)},
        {2024, 4, 31, 0, 0, 0, day(2024, 4, 30)},
        {2023, 2, 30, 0, 0, 0, day(2023, 2, 28)},
        {2024, 2, 30, 0, 0, 0, day(2024, 2, 29)},
        {2024, 0, 0, 0, 0, 0, day(2024, 1, 1)},
        {2024, 13, 40, 0, 0, 0, day(2024, 12, 31)},
        {2024, 5, 10, 12, 75, 99, day(2024, 5, 10, 12, 59, 59)},
        {2024, 5, 10, -3, -1, -1, day(2024, 5, 10)},
        // An hour of 24 moves to the next day, across month and year ends.
        {2024, 5, 10, 24, 0, 0, day(2024, 5, 11)},
        {2024, 1, 31, 25, 0, 0, day(2024, 2, 1, 1)},
        {2024, 12, 31, 24, 30, 0, day(2025, 1, 1, 0, 30)},
        // Every whole 24 hours is one more day.
        {2024, 5, 10, 48, 0, 0, day(2024, 5, 12)},
        {2024, 5, 10, 50, 0, 0, day(2024, 5, 12, 2)},
        {2024, 1, 31, 24 * 30, 0, 0, day(2024, 3, 1)},
        {2023, 12, 31, 24 * 367 + 5, 0, 0, day(2025, 1, 1, 5)},  // across a leap year
        {2024, 4, 31, 48, 0, 0, day(2024, 5, 2)},                // from the 30th, the month's last day
        // Far beyond the calendar, without overflowing on the way.
        {2024, 5, INT64_MAX, 24, 0, 0, day(2024, 6, 1)},
        {2024, 5, 10, INT64_MAX, 0, 0, NAN},
        {INT64_MAX, 5, INT64_MAX, INT64_MAX, 0, 0, NAN},
        {INT64_MIN, 5, INT64_MIN, 24, 0, 0, NAN},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.y) + "-" + std::to_string(r.mo) + "-" + std::to_string(r.d) + " " + std::to_string(r.h));
        KivoTimeHelper h(0.0);
        h.setYear(r.y), h.setMonth(r.mo), h.setDay(r.d), h.setHour(r.h), h.setMinute(r.mi), h.setSecond(r.s);
        if (std::isnan(r.expected))
            EXPECT_TRUE(std::isnan(h.getTimeAsDouble()));
        else
            EXPECT_EQ(h.getTimeAsDouble(), r.expected);
    }
    KivoTimeHelper h(0.0);
    h.setYear(2024), h.setMonth(4), h.setDay(31), h.setHour(24);
    h.getTimeAsDateTime();
    EXPECT_EQ(h.month(), 5);  // the clamped fields are kept
    EXPECT_EQ(h.day(), 1);
    EXPECT_EQ(h.hour(), 0);
}

TEST_F(TimeHelper, UnrepresentableDates) {
    // A helper made from a date the calendar cannot hold is no date, even with its fields set.
    for (double seconds : {double(NAN), double(INFINITY), -double(INFINITY), 1e20, -1e20}) {
        SCOPED_TRACE(seconds);
        KivoTimeHelper h(seconds);
        EXPECT_EQ(h.month(), 0);
        EXPECT_TRUE(std::isnan(h.getTimeAsDouble()));
        EXPECT_TRUE(std::isnan(h.getTimeAsDateTime().seconds));
        h.setYear(2024), h.setMonth(5), h.setDay(10);
        EXPECT_TRUE(std::isnan(h.getTimeAsDouble()));
    }
    KivoTimeHelper far(0.0);
    far.setYear(4'000'000'000'000);
    EXPECT_TRUE(std::isnan(far.getTimeAsDouble()));
    EXPECT_TRUE(std::isnan(KivoTimeHelper::roundTime(NAN, 7, false)));
    EXPECT_EQ(KivoTimeHelper::roundTime(1e300, 7, false), 1e300);
}

TEST_F(TimeHelper, Tround) {
    struct Row {
        std::int64_t value, unit;
        bool up;
        std::int64_t expected;
    };
    const Row rows[] = {
        {17, 5, false, 15},
        {17, 5, true, 20},
        {15, 5, true, 15},
        {-17, 5, false, -15},
        {-17, 5, true, -10},
        {17, 0, true, 17},
        {INT64_MIN, -1, true, INT64_MIN},
        {INT64_MAX, 2, true, INT64_MAX - 1},
    };
    for (const Row& r : rows) EXPECT_EQ(KivoTimeHelper::tround(r.value, r.unit, r.up), r.expected) << r.value << " " << r.unit;
}

TEST_F(TimeHelper, RoundsDayNumbersByUnit) {
    const double t = day(2024, 5, 17, 13, 20, 5);
    struct Row {
        std::int64_t unit;
        bool up;
        double expected;
    };
    const Row rows[] = {
        {1, false, day(2024, 5, 17)},  // the time of day goes, with or without rounding up
        {1, true, day(2024, 5, 17)},
        {7, false, day(2024, 5, 14)},
        {7, true, day(2024, 5, 21)},
        {10, false, day(2024, 5, 10)},
        {20, false, day(2024, 5, 1)},  // day 0 is clamped to the 1st
        {20, true, day(2024, 5, 20)},
        {32, false, day(2024, 5, 1)},  // the month stays, the day becomes the 1st
        {93, false, day(2024, 3, 1)},  // months by 3: May to March, or to June rounding up
        {93, true, day(2024, 6, 1)},
        {365, false, day(2024, 1, 1)},
        {3650, false, day(2020, 1, 1)},
        {3650, true, day(2030, 1, 1)},
        {0, false, t},
        {-5, true, t},
    };
    for (const Row& r : rows) EXPECT_EQ(KivoTimeHelper::roundTime(t, r.unit, r.up), r.expected) << r.unit << (r.up ? " up" : "");
    // Rounding up past the month's end lands on its last day, not beyond.
    EXPECT_EQ(KivoTimeHelper::roundTime(day(2024, 4, 29), 7, true), day(2024, 4, 30));
    // January is never rounded by months.
    EXPECT_EQ(KivoTimeHelper::roundTime(day(2024, 1, 20), 93, true), day(2024, 1, 1));
}

TEST_F(TimeHelper, ManualTimeInc) {
    struct Row {
        const char* format;
        std::int64_t expected;
    };
    const Row rows[] = {
        {"", 1},      {"ss", 1},         {"HH:mm:ss", 1},       {"HH:mm", 60},      {"hh a", 3600},
        {"HH", 3600}, {"dd MMM", 86400}, {"MMM yyyy", 2678400}, {"yyyy", 31536000}, {"EEEE", 1},
        {"ss.f", -1}, {"ss.fff", -3},    {"ss.ffffffff", -6},   {"%f", -1},         {"fff.ff", -3},
    };
    for (const Row& r : rows) EXPECT_EQ(KivoTimeHelper::manualTimeInc(r.format), r.expected) << r.format;
}

TEST_F(TimeHelper, GetNiceInc) {
    EXPECT_EQ(KivoTimeHelper::getNiceInc({"1", "2", "5"}, 7, 2), 10);
    EXPECT_EQ(KivoTimeHelper::getNiceInc({"1", "2", "5"}, 11, 2), 0);
    EXPECT_EQ(KivoTimeHelper::getNiceInc({" 1.5", "x", "3"}, 2.5, 1), 3);
    EXPECT_EQ(KivoTimeHelper::getNiceInc({}, 1, 1), 0);
}

TEST_F(TimeHelper, NiceTimeSpan) {
    struct Row {
        double span;
        const char* format;
        double expected;
    };
    const Row rows[] = {
        {45, "", 60},  // no seconds candidate reaches 45 s
        {25, "", 30},
        {7, "", 10},
        {20 * 86400, "", 2678400},  // 14 days do not reach 20 days: one month
        {0, "HH:mm", 60},
        {0, "", 1},
        {0, "dd MMM", 86400},
        {100 * 31536000.0, "", 3153600000},
        {1e12, "", 3153600000},
        {90, "HH:mm", 120},      // starts at minutes
        {5000, "HH:mm", 10800},  // minutes stage ends at an hour: hours
        {3 * 86400, "dd MMM", 7 * 86400},
        {2 * 86400, "HH:mm", 2 * 86400},
        {40 * 86400, "MMM", 2 * 2678400},
        {400 * 86400, "yyyy", 2 * 31536000},
        {400 * 86400, "", 2 * 31536000},
        // Below a second: from the fraction the format shows, by decades, then 1, 2 or 5 of a decade.
        {0.35, "ss.fff", 0.5},
        {0.012, "ss.fff", 0.02},
        {0.0004, "ss.fff", 0.001},
        {3, "ss.f", 5},
        {0, "ss.ff", 0.01},
        {9.5, "ss.f", 10},
        // From 10 s up a fractional format counts whole seconds, as no format does: its fraction
        // code is no unit of seconds, and as one it would skip every seconds candidate to a minute.
        {12, "ss.f", 15},
        {25, "ss.fff", 30},
        {45, "ss.ff", 60},
        {-5, "", 1},
    };
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(niceSeconds(r.span, r.format), r.expected) << r.span << " " << r.format;
    EXPECT_EQ(KivoTimeHelper::niceTimeSpan(nullptr, "")->totalSeconds(), 1);
    EXPECT_GT(niceSeconds(NAN, "ss.f"), 0);
    EXPECT_GT(niceSeconds(NAN, ""), 0);
}
