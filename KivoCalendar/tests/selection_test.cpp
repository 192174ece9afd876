#include <gtest/gtest.h>

#include <limits>

#include "calendar_fixture.h"

namespace {

using calendar_test::at;

class SelectionTest : public calendar_test::CalendarTest {
protected:
    std::shared_ptr<KivoCalendarRange> range(plat::Date start, plat::Date end) {
        return KivoCalendarRange::create(start, end, calendar);
    }
};

TEST_F(SelectionTest, ARangeContainsItsDaysBothEndsIncludedLessTheExcludedOnes) {
    auto r = range(at(2024, 3, 10, 18), at(2024, 3, 16, 6));
    r->addExcludedDates(at(2024, 3, 12, 9));
    struct Case {
        plat::Date date;
        bool contained;
    };
    const Case cases[] = {
        {at(2024, 3, 9, 23), false},  {at(2024, 3, 10, 0), true},  {at(2024, 3, 11, 12), true},
        {at(2024, 3, 12, 23), false},  // another time of an excluded day
        {at(2024, 3, 16, 23), true},  {at(2024, 3, 17, 0), false}, {at(2023, 3, 12, 0), false},
    };
    for (const Case& c : cases) EXPECT_EQ(r->containsDate(c.date), c.contained) << c.date.seconds;
    EXPECT_FALSE(r->containsDate(std::nullopt));
    EXPECT_FALSE(r->containsDate(plat::Date(std::numeric_limits<double>::infinity())));

    auto slot = KivoCalendarDaySlot::create(calendar, {});
    slot->setDate(at(2024, 3, 11));
    EXPECT_TRUE(r->containsDay(slot));
    EXPECT_FALSE(r->containsDay(nullptr));
}

TEST_F(SelectionTest, MonthAndYearMembershipLoseAWholeMonthOrYearToOneExcludedDay) {
    auto r = range(at(2024, 3, 10), at(2025, 6, 1));
    EXPECT_TRUE(r->containsDateYM(at(2024, 3, 1)));  // the start's month, before its day
    EXPECT_TRUE(r->containsDateYM(at(2025, 6, 30)));
    EXPECT_FALSE(r->containsDateYM(at(2024, 2, 29)));
    EXPECT_FALSE(r->containsDateYM(at(2025, 7, 1)));
    EXPECT_TRUE(r->containsDateY(at(2024, 1, 1)));
    EXPECT_FALSE(r->containsDateY(at(2026, 1, 1)));
    r->addExcludedDates(at(2024, 5, 3));
    EXPECT_FALSE(r->containsDateYM(at(2024, 5, 20)));
    EXPECT_TRUE(r->containsDateYM(at(2024, 4, 20)));
    EXPECT_FALSE(r->containsDateY(at(2024, 8, 1)));
    EXPECT_TRUE(r->containsDateY(at(2025, 8, 1)));
}

TEST_F(SelectionTest, AnIncompleteOrUnboundRangeContainsNothing) {
    auto r = range(at(2024, 3, 10), at(2024, 3, 16));
    r->setEndDate(std::nullopt);
    EXPECT_FALSE(r->containsDate(at(2024, 3, 10)));
    EXPECT_FALSE(r->containsDateYM(at(2024, 3, 10)));
    auto unbound = KivoCalendarRange::create(at(2024, 3, 10), at(2024, 3, 16), nullptr);
    EXPECT_FALSE(unbound->containsDate(at(2024, 3, 12)));
    EXPECT_FALSE(unbound->containsDateYM(at(2024, 3, 12)));
    EXPECT_FALSE(unbound->containsDateY(at(2024, 3, 12)));
    // A range outlives its calendar without holding it.
    auto kept = range(at(2024, 3, 10), at(2024, 3, 16));
    calendar->removeFromSuperview();
    calendar.reset();
    EXPECT_FALSE(kept->calendar());
    EXPECT_FALSE(kept->containsDate(at(2024, 3, 12)));
}

TEST_F(SelectionTest, ExcludedDatesAreKeptOncePerMoment) {
    auto r = range(at(2024, 3, 10), at(2024, 3, 16));
    r->addExcludedDates(at(2024, 3, 12, 9));
    r->addExcludedDates(at(2024, 3, 12, 9));
    r->addExcludedDates(at(2024, 3, 12, 10));
    r->addExcludedDates(std::nullopt);
    r->addExcludedDates(plat::Date(std::numeric_limits<double>::quiet_NaN()));
    r->addExcludedDates(at(2024, 3, 11));
    EXPECT_EQ(r->excludedDates(), (std::vector<plat::Date>{at(2024, 3, 12, 9), at(2024, 3, 12, 10), at(2024, 3, 11)}));
    r->resetExcludedDates();
    EXPECT_TRUE(r->containsDate(at(2024, 3, 12)));
    r->addExcludedDates(at(2024, 3, 12, 9));
    EXPECT_EQ(r->excludedDates().size(), 1u);
}

TEST_F(SelectionTest, DaysOutsideMinAndMaxAreDisabledByDay) {
    calendar->setMinDate(at(2024, 3, 15, 12));
    calendar->setMaxDate(at(2024, 3, 20, 6));
    struct Case {
        plat::Date date;
        bool disabled;
    };
    for (Case c : {Case{at(2024, 3, 14, 23), true}, Case{at(2024, 3, 15, 0), false}, Case{at(2024, 3, 20, 23), false},
                   Case{at(2024, 3, 21, 0), true}})
        EXPECT_EQ(calendar->isDateDisabled(c.date), c.disabled) << c.date.seconds;
    EXPECT_TRUE(calendar->isDateDisabled(std::nullopt));
    EXPECT_TRUE(calendar->isDateDisabled(plat::Date(std::numeric_limits<double>::quiet_NaN())));
    calendar->setMinDate(std::nullopt);
    calendar->setMaxDate(std::nullopt);
    EXPECT_FALSE(calendar->isDateDisabled(at(1, 1, 1)));
}

TEST_F(SelectionTest, TheSelectedDateLeavesTheRangeAlone) {
    calendar->selectedDates()->setStartDate(at(2024, 3, 1));
    calendar->selectedDates()->setEndDate(at(2024, 3, 3));
    calendar->setSelectedDate(at(2024, 3, 20));
    EXPECT_EQ(calendar->selectedDates()->startDate(), at(2024, 3, 1));
    EXPECT_EQ(calendar->selectedDate(), at(2024, 3, 20));
    auto replacement = range(at(2024, 1, 1), at(2024, 1, 2));
    calendar->setSelectedDates(replacement);
    EXPECT_EQ(calendar->selectedDates(), replacement);
}

}  // namespace
