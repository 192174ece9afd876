// A range's excluded days are found by their fields rather than by walking the list: the answers
// must stay those of comparing the date with every excluded date, in whatever time zone the calendar
// computes, and after every change of the list or of the calendar.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KivoCalendar/KivoCalendarSystem.h"
#include "calendar_fixture.h"

namespace {

using calendar_test::at;

constexpr double Hour = 3600;
constexpr double Day = 24 * Hour;

// The reference answer: the range's bounds, then every excluded date compared with the date at the
// same granularity, one by one.
bool walkContains(const KivoCalendarRange& range, const KivoDateUtil& util, KivoOptionalDate date, int depth) {
    auto compare = [&util, depth](KivoOptionalDate a, KivoOptionalDate b) {
        return depth == 3 ? util.compareYMD(a, b) : depth == 2 ? util.compareYM(a, b) : util.compareY(a, b);
    };
    if (!date || !range.startDate() || !range.endDate()) return false;
    auto fromStart = compare(range.startDate(), date), toEnd = compare(range.endDate(), date);
    if (!fromStart || !toEnd || *fromStart == 1 || *toEnd == -1) return false;
    for (const plat::Date& excluded : range.excludedDates())
        if (compare(excluded, date) == 0) return false;
    return true;
}

bool indexedContains(const KivoCalendarRange& range, KivoOptionalDate date, int depth) {
    return depth == 3 ? range.containsDate(date) : depth == 2 ? range.containsDateYM(date) : range.containsDateY(date);
}

class ExcludedDaysTest : public calendar_test::CalendarTest {
protected:
    void useZone(const std::string& name) {
        auto zone = plat::TimeZone::named(name);
        ASSERT_TRUE(zone) << name;
        calendar->dateUtil()->setCalendar(KivoCalendarSystem::create(*zone, plat::Locale::withIdentifier("en_US")));
    }

    // Every probe at every granularity answers as the walk does; the number of probes found excluded.
    int expectAnswersOfTheWalk(const KivoCalendarRange& range, const std::vector<plat::Date>& probes) {
        int excluded = 0;
        for (const plat::Date& probe : probes) {
            for (int depth = 1; depth <= 3; ++depth) {
                const bool expected = walkContains(range, *calendar->dateUtil(), probe, depth);
                EXPECT_EQ(indexedContains(range, probe, depth), expected)
                    << "probe " << probe.seconds << " depth " << depth << " zone "
                    << calendar->dateUtil()->calendarInUse()->timeZone().identifier();
                if (depth == 3 && !expected) ++excluded;
            }
        }
        return excluded;
    }
};

TEST_F(ExcludedDaysTest, AnswersAreThoseOfTheWalkAcrossZonesAndDayBoundaries) {
    // Moments on either side of midnight in UTC, which fall on other days in other zones; a day that
    // one zone left out (Apia skipped 30 December 2011); the same day twice and the same moment twice;
    // a moment no calendar can take apart.
    const std::vector<plat::Date> excluded = {
        at(2024, 3, 12, 23),
        plat::Date(at(2024, 3, 13).seconds - 1),
        at(2024, 3, 13),
        at(2024, 3, 13, 1),
        at(2024, 3, 13, 1),
        at(2011, 12, 30, 10),
        at(2024, 12, 31, 23),
        at(2025, 1, 1),
        at(2024, 7, 4, 12),
        at(2024, 7, 4, 13),
        plat::Date(std::numeric_limits<double>::infinity()),
    };
    std::vector<plat::Date> probes;
    for (const plat::Date& date : excluded) {
        if (!std::isfinite(date.seconds)) continue;
        for (double offset : {-Day - Hour, -Day, -12 * Hour, -Hour, -1.0, 0.0, 1.0, Hour, 11 * Hour, Day, 31 * Day, 366 * Day})
            probes.emplace_back(date.seconds + offset);
    }
    for (const char* zone : {"UTC", "America/Los_Angeles", "Pacific/Kiritimati", "Pacific/Apia", "Australia/Lord_Howe"}) {
        SCOPED_TRACE(zone);
        useZone(zone);
        auto range = KivoCalendarRange::create(at(2010, 1, 1), at(2026, 12, 31), calendar);
        EXPECT_EQ(expectAnswersOfTheWalk(*range, probes), 0) << "nothing excluded yet";
        for (const plat::Date& date : excluded) range->addExcludedDates(date);
        EXPECT_GT(expectAnswersOfTheWalk(*range, probes), 0);
    }
}

TEST_F(ExcludedDaysTest, TheIndexFollowsEveryChangeOfTheListAndOfTheCalendar) {
    useZone("UTC");
    auto range = KivoCalendarRange::create(at(2024, 1, 1), at(2024, 12, 31), calendar);
    const plat::Date lateOn12th = at(2024, 3, 12, 20);  // 13 March in Kiritimati (UTC+14)
    const std::vector<plat::Date> probes = {at(2024, 3, 12, 6), at(2024, 3, 13, 6), at(2024, 3, 14, 6), at(2024, 5, 1)};
    range->addExcludedDates(lateOn12th);
    expectAnswersOfTheWalk(*range, probes);
    EXPECT_FALSE(range->containsDate(at(2024, 3, 12, 6)));
    EXPECT_TRUE(range->containsDate(at(2024, 3, 13, 6)));

    // Another shared calendar puts the same moment on another day.
    useZone("Pacific/Kiritimati");
    expectAnswersOfTheWalk(*range, probes);
    EXPECT_FALSE(range->containsDate(at(2024, 3, 13, 6)));

    // Without a shared calendar the process's zone of the moment counts, and may change.
    calendar->dateUtil()->setCalendar(nullptr);
    plat::TimeZone::setCurrent(*plat::TimeZone::named("Pacific/Kiritimati"));
    EXPECT_FALSE(range->containsDate(at(2024, 3, 13, 6)));
    plat::TimeZone::setCurrent(plat::TimeZone::utc());
    expectAnswersOfTheWalk(*range, probes);
    EXPECT_TRUE(range->containsDate(at(2024, 3, 13, 6)));

    // A day added after a lookup counts at once; a reset empties the list, and a day added after it
    // counts again.
    range->addExcludedDates(at(2024, 3, 14, 23));
    EXPECT_FALSE(range->containsDate(at(2024, 3, 14, 6)));
    EXPECT_FALSE(range->containsDateYM(at(2024, 3, 20)));
    range->resetExcludedDates();
    EXPECT_TRUE(range->containsDate(at(2024, 3, 14, 6)));
    EXPECT_TRUE(range->containsDateY(at(2024, 3, 14, 6)));
    range->addExcludedDates(at(2024, 5, 1, 12));
    EXPECT_TRUE(range->containsDate(at(2024, 3, 14, 6)));
    EXPECT_FALSE(range->containsDate(at(2024, 5, 1)));
    expectAnswersOfTheWalk(*range, probes);
}

}  // namespace
