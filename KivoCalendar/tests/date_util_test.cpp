#include <gtest/gtest.h>

#include <limits>

#include "KivoCalendar/KivoCalendarSystem.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "calendar_fixture.h"

namespace {

using calendar_test::at;

class DateUtilTest : public calendar_test::PinnedCalendarTest {
protected:
    void SetUp() override {
        PinnedCalendarTest::SetUp();
        util.setCalendar(KivoCalendarSystem::current());
    }
    KivoDateUtil util;
};

TEST_F(DateUtilTest, MonthLengthsFollowLeapYears) {
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2024, 2, 1)), 29u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2024, 2, 29, 23)), 29u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2023, 2, 14)), 28u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(1900, 2, 14)), 28u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2000, 2, 14)), 29u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2023, 1, 31)), 31u);
    EXPECT_EQ(util.getMonthDaysCountFromDate(at(2023, 4, 3)), 30u);
}

TEST_F(DateUtilTest, ComponentReads) {
    plat::Date d = at(2024, 3, 10, 15);
    EXPECT_EQ(util.getYearFromDate(d), 2024);
    EXPECT_EQ(util.getMonthFromDate(d), 3);
    EXPECT_EQ(util.getDayFromDate(d), 10);
    EXPECT_EQ(util.getWeekdayFromDate(d), 1);  // a Sunday
    EXPECT_EQ(util.getWeekdayFromDate(at(2024, 3, 16)), 7);
}

TEST_F(DateUtilTest, AdditionsKeepTheTimeAndClampToTheMonthsLastDay) {
    struct Case {
        const char* what;
        KivoOptionalDate result;
        plat::Date expected;
    };
    const Case cases[] = {
        {"31 Jan 2023 15:00 + 1 month", util.getDateByAddingMonths(1, at(2023, 1, 31, 15)), at(2023, 2, 28, 15)},
        {"31 Jan 2024 + 1 month", util.getDateByAddingMonths(1, at(2024, 1, 31)), at(2024, 2, 29)},
        {"31 Mar 2024 - 1 month", util.getDateByAddingMonths(-1, at(2024, 3, 31)), at(2024, 2, 29)},
        {"15 Nov 2023 + 13 months", util.getDateByAddingMonths(13, at(2023, 11, 15, 8)), at(2024, 12, 15, 8)},
        {"15 Jan 2024 - 13 months", util.getDateByAddingMonths(-13, at(2024, 1, 15)), at(2022, 12, 15)},
        {"29 Feb 2024 + 1 year", util.getDateByAddingYears(1, at(2024, 2, 29, 6)), at(2025, 2, 28, 6)},
        {"10 Mar 2024 - 10 years", util.getDateByAddingYears(-10, at(2024, 3, 10)), at(2014, 3, 10)},
        {"28 Feb 2023 + 1 day", util.getDateByAddingDays(1, at(2023, 2, 28, 12)), at(2023, 3, 1, 12)},
        {"1 Jan 2024 - 1 day", util.getDateBySubtractingDays(1, at(2024, 1, 1)), at(2023, 12, 31)},
        {"1 Mar 2024 + 365 days", util.getDateByAddingDays(365, at(2024, 3, 1)), at(2025, 3, 1)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.result) << c.what;
        EXPECT_EQ(c.result->seconds, c.expected.seconds) << c.what;
    }
}

TEST_F(DateUtilTest, ReplacementsCarryPastTheMonthsEndAndDropTheTime) {
    EXPECT_EQ(util.getDateBySettingMonth(2, at(2023, 1, 31, 15)), at(2023, 3, 3));
    EXPECT_EQ(util.getDateBySettingMonth(2, at(2024, 1, 31, 15)), at(2024, 3, 2));
    EXPECT_EQ(util.getDateBySettingMonth(7, at(2024, 1, 31, 15)), at(2024, 7, 31));
    EXPECT_EQ(util.getDateBySettingYear(2023, at(2024, 2, 29, 9)), at(2023, 3, 1));
    EXPECT_EQ(util.getDateWithYear(2024, 12, 31), at(2024, 12, 31));
    EXPECT_EQ(util.getDateWithYear(2024, 13, 1), at(2025, 1, 1));
}

TEST_F(DateUtilTest, ComparisonsIgnoreWhatIsFinerThanTheirUnit) {
    EXPECT_EQ(util.compareYMD(at(2024, 3, 10, 10), at(2024, 3, 10, 23)), 0);
    EXPECT_EQ(util.compareYMD(at(2024, 3, 10, 23), at(2024, 3, 11, 0)), -1);
    EXPECT_EQ(util.compareYMD(at(2024, 3, 11), at(2024, 3, 10, 23)), 1);
    EXPECT_EQ(util.compareYM(at(2024, 5, 1), at(2024, 5, 31, 23)), 0);
    EXPECT_EQ(util.compareYM(at(2024, 4, 30), at(2024, 5, 1)), -1);
    EXPECT_EQ(util.compareYM(at(2025, 1, 1), at(2024, 12, 31)), 1);
    EXPECT_EQ(util.compareY(at(2024, 1, 1), at(2024, 12, 31, 23)), 0);
    EXPECT_EQ(util.compareY(at(2023, 12, 31), at(2024, 1, 1)), -1);
    EXPECT_TRUE(util.isYMDEqual(at(2024, 3, 10, 1), at(2024, 3, 10, 22)));
    EXPECT_FALSE(util.isYMDEqual(at(2024, 3, 10), at(2023, 3, 10)));
}

TEST_F(DateUtilTest, MissingOrUnusableDatesAnswerNothing) {
    const KivoOptionalDate none;
    const plat::Date nan(std::numeric_limits<double>::quiet_NaN());
    for (KivoOptionalDate d : {none, KivoOptionalDate(nan)}) {
        EXPECT_FALSE(util.getYearFromDate(d));
        EXPECT_FALSE(util.getWeekdayFromDate(d));
        EXPECT_FALSE(util.getMonthDaysCountFromDate(d));
        EXPECT_FALSE(util.getDateByAddingDays(1, d));
        EXPECT_FALSE(util.getDateByAddingMonths(1, d));
        EXPECT_FALSE(util.getDateBySettingYear(2020, d));
        EXPECT_FALSE(util.compareYMD(d, at(2024, 1, 1)));
        EXPECT_FALSE(util.compareY(at(2024, 1, 1), d));
        EXPECT_FALSE(util.isYMDEqual(d, d));
    }
    // Amounts no calendar can hold.
    const auto huge = std::numeric_limits<std::int64_t>::max();
    EXPECT_FALSE(util.getDateByAddingDays(huge, at(2024, 1, 1)));
    EXPECT_FALSE(util.getDateBySubtractingDays(std::numeric_limits<std::int64_t>::min(), at(2024, 1, 1)));
    EXPECT_FALSE(util.getDateByAddingMonths(-huge, at(2024, 1, 1)));
    EXPECT_FALSE(util.getDateByAddingYears(huge, at(2024, 1, 1)));
}

TEST_F(DateUtilTest, DaysAreTheCalendarsTimeZones) {
    auto tokyo = *plat::TimeZone::named("Asia/Tokyo");
    util.setCalendar(KivoCalendarSystem::create(tokyo, plat::Locale::withIdentifier("ja_JP")));
    // 20:00 UTC on 10 March is the morning of 11 March in Tokyo.
    EXPECT_EQ(util.getDayFromDate(at(2024, 3, 10, 20)), 11);
    EXPECT_EQ(util.getDateWithYear(2024, 3, 11), at(2024, 3, 11, 0, tokyo));

    // Across a daylight-saving change a day keeps its wall-clock time (23 hours pass here).
    auto berlin = *plat::TimeZone::named("Europe/Berlin");
    util.setCalendar(KivoCalendarSystem::create(berlin, plat::Locale::withIdentifier("de_DE")));
    EXPECT_EQ(util.getDateByAddingDays(1, at(2024, 3, 30, 12, berlin)), at(2024, 3, 31, 12, berlin));
}

TEST_F(DateUtilTest, DayStepsSkipTheDaysAZoneLeftOutAndNeverLandOnTheDayTheyLeft) {
    struct Case {
        const char* zone;
        int year, month, day, hour;
        std::int64_t days;
        int toYear, toMonth, toDay;
    } cases[] = {
        // Apia went from 29 to 31 December 2011, Kiritimati from 30 December 1994 to 1 January 1995.
        {"Pacific/Apia", 2011, 12, 29, 12, 1, 2011, 12, 31},
        {"Pacific/Apia", 2011, 12, 31, 0, -1, 2011, 12, 29},
        {"Pacific/Apia", 2011, 12, 31, 12, -1, 2011, 12, 29},
        {"Pacific/Apia", 2012, 1, 1, 0, -2, 2011, 12, 29},
        {"Pacific/Apia", 2011, 12, 28, 23, 3, 2011, 12, 31},
        {"Pacific/Kiritimati", 1995, 1, 1, 0, -1, 1994, 12, 30},
        {"Pacific/Kiritimati", 1994, 12, 30, 6, 1, 1995, 1, 1},
        // Clocks that jump at midnight: the day starts an hour late, and is still one day.
        {"America/Sao_Paulo", 2018, 11, 5, 0, -1, 2018, 11, 4},
        {"America/Sao_Paulo", 2018, 11, 3, 0, 1, 2018, 11, 4},
        {"America/Havana", 2024, 3, 11, 0, -1, 2024, 3, 10},
        {"Europe/Berlin", 2024, 3, 31, 2, -1, 2024, 3, 30},
        {"Europe/Berlin", 2024, 10, 26, 2, 1, 2024, 10, 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zone << " " << c.year << "-" << c.month << "-" << c.day << " " << c.hour << "h + "
                                        << c.days);
        auto zone = *plat::TimeZone::named(c.zone);
        util.setCalendar(KivoCalendarSystem::create(zone, plat::Locale::withIdentifier("en_US")));
        plat::DateComponents from;
        from.year = c.year;
        from.month = c.month;
        from.day = c.day;
        from.hour = c.hour;
        auto result = util.getDateByAddingDays(c.days, *plat::Calendar(zone).dateFromComponents(from));
        ASSERT_TRUE(result);
        EXPECT_EQ(util.getYearFromDate(result), c.toYear);
        EXPECT_EQ(util.getMonthFromDate(result), c.toMonth);
        EXPECT_EQ(util.getDayFromDate(result), c.toDay);
    }
}

TEST_F(DateUtilTest, TheCalendarIsSharedByEveryInstance) {
    auto berlin = KivoCalendarSystem::create(*plat::TimeZone::named("Europe/Berlin"), plat::Locale::withIdentifier("de_DE"));
    util.setCalendar(berlin);
    KivoDateUtil second;
    EXPECT_EQ(second.getCalendar(), berlin);
    second.setFirstWeekday(2);
    EXPECT_EQ(util.getCalendar()->firstWeekday(), 2u);
    second.setFirstWeekday(0);
    second.setFirstWeekday(8);
    EXPECT_EQ(util.getCalendar()->firstWeekday(), 2u);

    // Without a shared calendar: nothing to set, and each operation takes the current zone.
    util.setCalendar(nullptr);
    second.setFirstWeekday(3);
    EXPECT_EQ(second.getCalendar(), nullptr);
    plat::TimeZone::setCurrent(*plat::TimeZone::named("Asia/Tokyo"));
    EXPECT_EQ(second.getDayFromDate(at(2024, 3, 10, 20)), 11);
}

TEST_F(DateUtilTest, WeekdayNamesComeFromTheCalendarsLocaleSundayFirst) {
    struct Case {
        const char* locale;
        std::vector<std::string> veryShort, abbreviated, full;
    };
    const Case cases[] = {
        {"en_US",
         {"S", "M", "T", "W", "T", "F", "S"},
         {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
         {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}},
        {"de_DE",
         {"S", "M", "D", "M", "D", "F", "S"},
         {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
         {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"}},
        {"ja_JP",
         {"日", "月", "火", "水", "木", "金", "土"},
         {"日", "月", "火", "水", "木", "金", "土"},
         {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"}},
    };
    for (const Case& c : cases) {
        // A zone far from UTC must not shift the names by a day.
        KivoCalendarSystem cal(*plat::TimeZone::named("Pacific/Kiritimati"), plat::Locale::withIdentifier(c.locale));
        EXPECT_EQ(cal.veryShortStandaloneWeekdaySymbols(), c.veryShort) << c.locale;
        EXPECT_EQ(cal.shortStandaloneWeekdaySymbols(), c.abbreviated) << c.locale;
        EXPECT_EQ(cal.standaloneWeekdaySymbols(), c.full) << c.locale;
    }
}

}  // namespace
