// Taps on day slots: single dates, anchored ranges bounded by the selection count, the delegate's
// calls, and taps on neighbouring months' days that select them and move there (the day stays
// selected when the move is refused).

#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

class SelectionDelegate : public RecordingDelegate {
public:
    void selectionChanging(const std::shared_ptr<KivoCalendar>&, const std::shared_ptr<KivoCalendarRange>& r) override {
        calls.push_back("selectionChanging");
        ranges.push_back(r);
        seenEnd = r->endDate();
    }
    void selectionChanged(const std::shared_ptr<KivoCalendar>&, const std::shared_ptr<KivoCalendarRange>& r) override {
        calls.push_back("selectionChanged");
        ranges.push_back(r);
    }
    std::vector<std::shared_ptr<KivoCalendarRange>> ranges;
    KivoOptionalDate seenEnd;
};

class SelectionTapTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        calendar->setIsAnimated(false);
    }
    // A tap on a slot of a day of the shown month (a slot on no page is never a neighbouring day).
    void tapDay(plat::Date day) {
        auto slot = KivoCalendarDaySlot::create(calendar, {});
        slot->setDate(day);
        calendar->handleDaySlotTapGesture(slot);
    }
    void expectRange(plat::Date start, plat::Date end) {
        const auto& range = calendar->selectedDates();
        EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(range->startDate(), start));
        EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(range->endDate(), end));
    }
    // The centre of a slot of the current page, in window coordinates.
    plat::Point centreOf(std::size_t index) {
        auto slot = calendar->monthViewCurrent()->daySlotAt(index);
        const plat::Rect b = slot->bounds();
        return slot->convertPointToView({b.width() / 2, b.height() / 2}, nullptr);
    }
};

TEST_F(SelectionTapTest, RangesGrowFromTheAnchorUpToTheCount) {
    struct Case {
        int tapped, start, end;
    } cases[] = {{20, 10, 16}, {12, 10, 12}, {5, 5, 10}, {1, 4, 10}};
    calendar->setMaxSelectionCount(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tapped);
        tapDay(at(2024, 3, 10));
        EXPECT_TRUE(calendar->isMultiSelected());
        tapDay(at(2024, 3, c.tapped));
        expectRange(at(2024, 3, c.start), at(2024, 3, c.end));
        EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 3, 10)));
        EXPECT_FALSE(calendar->isMultiSelected());
    }
}

TEST_F(SelectionTapTest, ACompletedRangeStartsANewAnchorAndANegativeCountHasNoBound) {
    calendar->setMaxSelectionCount(2);
    tapDay(at(2024, 3, 10));
    tapDay(at(2024, 3, 11));
    expectRange(at(2024, 3, 10), at(2024, 3, 11));
    tapDay(at(2024, 3, 10));
    expectRange(at(2024, 3, 10), at(2024, 3, 10));

    calendar->setMaxSelectionCount(-1);
    tapDay(at(2024, 6, 1));
    expectRange(at(2024, 3, 10), at(2024, 6, 1));
}

TEST_F(SelectionTapTest, AnchorTapsEmptyTheExcludedDatesAndExtendTapsKeepThem) {
    calendar->setMaxSelectionCount(7);
    calendar->selectedDates()->addExcludedDates(at(2024, 3, 12));
    tapDay(at(2024, 3, 10));
    EXPECT_TRUE(calendar->selectedDates()->excludedDates().empty());
    calendar->selectedDates()->addExcludedDates(at(2024, 3, 12));
    tapDay(at(2024, 3, 14));
    EXPECT_EQ(calendar->selectedDates()->excludedDates().size(), 1u);
    EXPECT_FALSE(calendar->selectedDates()->containsDate(at(2024, 3, 12)));
    EXPECT_TRUE(calendar->selectedDates()->containsDate(at(2024, 3, 13)));
}

TEST_F(SelectionTapTest, TheDelegateHearsChangingThenChangedWithTheUpdatedRangeBeforeTheSlotsRedraw) {
    auto delegate = std::make_shared<SelectionDelegate>();
    calendar->setDelegate(delegate);
    layout();
    delegate->calls.clear();
    tapDay(at(2024, 3, 20));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"selectionChanging", "selectionChanged"}));
    ASSERT_EQ(delegate->ranges.size(), 2u);
    EXPECT_EQ(delegate->ranges[0], calendar->selectedDates());
    EXPECT_EQ(delegate->ranges[1], calendar->selectedDates());
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(delegate->seenEnd, at(2024, 3, 20)));
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 3, 20)));
}

TEST_F(SelectionTapTest, DisabledDaysAndCountZeroChangeNothing) {
    auto delegate = std::make_shared<SelectionDelegate>();
    calendar->setDelegate(delegate);
    calendar->setMinDate(at(2024, 3, 15));
    delegate->calls.clear();
    tapDay(at(2024, 3, 14));
    EXPECT_FALSE(calendar->selectedDate());
    calendar->setMaxSelectionCount(0);
    tapDay(at(2024, 3, 20));
    EXPECT_FALSE(calendar->selectedDate());
    EXPECT_FALSE(calendar->selectedDates()->startDate());
    EXPECT_TRUE(delegate->calls.empty());
}

// March 2024 starts on a Friday: cells 0-4 are 25-29 February, 36-41 are 1-6 April.
TEST_F(SelectionTapTest, NeighbouringDaysSelectAndMoveThereWithoutTheDelegate) {
    auto delegate = std::make_shared<SelectionDelegate>();
    calendar->setDelegate(delegate);
    layout();
    delegate->calls.clear();

    plat::testing::Touches(window).tap(centreOf(36));
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 4, 1)));
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 4, 1)), 0);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"displayDateChanging", "displayDateChanged"}));

    // April 2024 starts on a Monday: cell 0 is 31 March. With a single date the anchor never sets, so
    // the second neighbouring tap moves as well.
    calendar->handleDaySlotTapGesture(calendar->monthViewCurrent()->daySlotAt(0));
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 3, 1)), 0);
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 3, 31)));
    EXPECT_FALSE(calendar->isMultiSelected());
}

TEST_F(SelectionTapTest, CountZeroNeighbouringTapsOnlyNavigate) {
    calendar->setMaxSelectionCount(0);
    calendar->handleDaySlotTapGesture(calendar->monthViewCurrent()->daySlotAt(38));
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 4, 1)), 0);
    EXPECT_FALSE(calendar->selectedDate());
    EXPECT_FALSE(calendar->selectedDates()->startDate());
}

TEST_F(SelectionTapTest, ANeighbouringDayIsSelectedEvenWhenTheMoveIsRefused) {
    // 5 April (cell 40) can be chosen, but April's nearest day, the 1st, cannot: the page stays and
    // 5 April is selected all the same.
    calendar->setMinDate(at(2024, 4, 3));
    calendar->handleDaySlotTapGesture(calendar->monthViewCurrent()->daySlotAt(40));
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 4, 5)));
    expectRange(at(2024, 4, 5), at(2024, 4, 5));
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 3, 1)), 0);

    // A move already running refuses the second one in the same way: the day is selected, the page
    // makes one move.
    calendar->setMinDate(std::nullopt);
    calendar->setIsAnimated(true);
    calendar->goForwardAsync();
    calendar->handleDaySlotTapGesture(calendar->monthViewCurrent()->daySlotAt(0));
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 2, 25)));
    plat::RunLoop::main().runFor(1);
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 4, 1)), 0);
}

TEST_F(SelectionTapTest, LeavingRangeModeWithAnAnchorSetLeavesNoAnchorBehind) {
    for (std::int32_t single : {1, 0}) {
        SCOPED_TRACE(single);
        calendar->setDisplayDate(at(2024, 3, 14));
        calendar->setMaxSelectionCount(7);
        tapDay(at(2024, 3, 10));
        ASSERT_TRUE(calendar->isMultiSelected());
        calendar->setMaxSelectionCount(single);
        calendar->setMaxSelectionCount(1);
        // An anchor tap empties the excluded dates again...
        calendar->selectedDates()->addExcludedDates(at(2024, 3, 12));
        tapDay(at(2024, 3, 20));
        EXPECT_TRUE(calendar->selectedDates()->excludedDates().empty());
        // ...and a trailing day moves to its month instead of being selected in place.
        calendar->handleDaySlotTapGesture(calendar->monthViewCurrent()->daySlotAt(38));
        EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 4, 3)));
        EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 4, 1)), 0);
        EXPECT_FALSE(calendar->isMultiSelected());
        // Back in range mode, the next tap anchors a new range rather than extending an old one.
        calendar->setMaxSelectionCount(7);
        tapDay(at(2024, 4, 20));
        expectRange(at(2024, 4, 20), at(2024, 4, 20));
        tapDay(at(2024, 4, 22));
        expectRange(at(2024, 4, 20), at(2024, 4, 22));
    }
}

TEST_F(SelectionTapTest, SlotIndicesComeFromTheFirstPageThatHoldsTheSlot) {
    EXPECT_EQ(calendar->getDaySlotIndex(calendar->monthViewCurrent()->daySlotAt(35)), 35);
    EXPECT_EQ(calendar->getDaySlotIndex(calendar->monthViewPrev()->daySlotAt(3)), 3);
    EXPECT_EQ(calendar->getDaySlotIndex(KivoCalendarDaySlot::create(calendar, {})), -1);
    EXPECT_EQ(calendar->getDaySlotIndex(nullptr), -1);
}

TEST_F(SelectionTapTest, AdjacentPagesAreRefusedByTheirNearestDayInEveryMode) {
    struct Case {
        std::int64_t mode;
        plat::Date min, max;
        bool prevDisabled, nextDisabled;
    } cases[] = {
        {KivoCalendarViewModeMonth, at(2024, 3, 1), at(2024, 4, 1), true, false},
        {KivoCalendarViewModeMonth, at(2024, 2, 29), at(2024, 3, 31), false, true},
        {KivoCalendarViewModeYear, at(2024, 1, 1), at(2025, 1, 1), true, false},
        {KivoCalendarViewModeYear, at(2023, 12, 31), at(2024, 12, 31), false, true},
        {KivoCalendarViewModeDecade, at(2020, 1, 1), at(2030, 1, 1), true, false},
        {KivoCalendarViewModeDecade, at(2019, 12, 31), at(2029, 12, 31), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        calendar->setViewMode(c.mode);
        layout();
        calendar->setMinDate(c.min);
        calendar->setMaxDate(c.max);
        EXPECT_EQ(calendar->isAdjacentMonthOrYearDisabled(-1), c.prevDisabled);
        EXPECT_EQ(calendar->isAdjacentMonthOrYearDisabled(1), c.nextDisabled);
        const plat::Date before = calendar->displayDate();
        calendar->selectAdjacentView(c.prevDisabled ? -1 : 1);
        EXPECT_EQ(calendar->displayDate(), before);
    }
}

}  // namespace
