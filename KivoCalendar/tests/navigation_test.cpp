// Page moves on the virtual clock: at once when not animated, a frame-by-frame slide of header and body
// when animated (its first frame, start delay and zero duration), one move at a time, swipes along
// the orientation only, and the ring of pages and the dates each mode moves by.

#include <algorithm>
#include <limits>

#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "KivoCore/KivoAnimation.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/label.h"
#include "Platform/ui/scroll_view.h"
#include "calendar_access.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

// 60 Hz frames.
constexpr double OneFrame = 1.0 / 60;

class NavigationTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        delegate = std::make_shared<RecordingDelegate>();
        calendar->setDelegate(delegate);
        layout();
        delegate->calls.clear();
    }
    void run(double seconds) { plat::RunLoop::main().runFor(seconds); }
    bool showsMonth(int year, int month) const {
        return calendar->dateUtil()->compareYM(calendar->displayDate(), at(year, month, 1)) == 0;
    }
    double bodyOffset() const { return calendar->scrollView()->contentOffset().x; }
    // A quick horizontal or vertical stroke across the body.
    void swipe(plat::Point from, plat::Point to) { plat::testing::Touches(window).drag(from, to, 0.1, 5); }

    std::shared_ptr<RecordingDelegate> delegate;
};

TEST_F(NavigationTest, WithoutAnimationASwipeMovesAtOnceAndTurnsTheRing) {
    calendar->setIsAnimated(false);
    swipe({220, 200}, {60, 200});
    EXPECT_TRUE(showsMonth(2024, 4));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"displayDateChanging", "displayDateChanged"}));
    const auto& util = *calendar->dateUtil();
    EXPECT_EQ(util.compareYM(calendar->monthViewCurrent()->monthDate(), at(2024, 4, 1)), 0);
    EXPECT_EQ(util.compareYM(calendar->monthViewNext()->monthDate(), at(2024, 5, 1)), 0);
    EXPECT_EQ(util.compareYM(calendar->monthViewPrev()->monthDate(), at(2024, 3, 1)), 0);
    const double w = calendar->scrollView()->frame().width();
    EXPECT_EQ(calendar->monthViewCurrent()->frame().x(), 0);
    EXPECT_EQ(calendar->monthViewNext()->frame().x(), w);
    EXPECT_EQ(calendar->monthViewPrev()->frame().x(), -w);
    EXPECT_EQ(bodyOffset(), 0);
    // The current month and view index follow the display date, so a later layout pass keeps April.
    EXPECT_EQ(util.compareYM(calendar->currentMonth(), at(2024, 4, 1)), 0);
    EXPECT_EQ(calendar->currentViewIndex(), 0);
    calendar->refresh();
    layout();
    EXPECT_EQ(util.compareYM(calendar->monthViewCurrent()->monthDate(), at(2024, 4, 1)), 0);

    swipe({60, 200}, {220, 200});
    swipe({60, 200}, {220, 200});
    EXPECT_TRUE(showsMonth(2024, 2));
}

TEST_F(NavigationTest, AnAnimatedMoveSlidesHeaderAndBodyFromOffsetZeroToTheNextPage) {
    const double w = calendar->scrollView()->frame().width();
    const double titleWidth = calendar->headerView()->headerScrollView()->frame().width();
    calendar->goForwardAsync();
    EXPECT_TRUE(calendar->isAnimating());
    run(OneFrame);  // the first frame: time 0
    EXPECT_EQ(bodyOffset(), 0);
    EXPECT_EQ(calendar->headerView()->headerScrollView()->contentOffset().x, 0);
    run(0.25);
    // Cubic ease-out over 0.5 s: a quarter in, at least 80 % of the way.
    EXPECT_GT(bodyOffset(), 0.8 * w);
    EXPECT_LT(bodyOffset(), w);
    EXPECT_NEAR(calendar->headerView()->headerScrollView()->contentOffset().x / titleWidth, bodyOffset() / w, 1e-9);
    EXPECT_TRUE(showsMonth(2024, 3));
    run(0.3);
    EXPECT_FALSE(calendar->isAnimating());
    EXPECT_TRUE(showsMonth(2024, 4));
    EXPECT_EQ(bodyOffset(), 0);
    EXPECT_EQ(calendar->headerView()->headerScrollView()->contentOffset().x, 0);
    EXPECT_EQ(calendar->headerView()->title(), "April 2024");
    EXPECT_EQ(calendar->headerView()->headerCurrent()->frame().x(), 0);
}

TEST_F(NavigationTest, AStartDelayHoldsThePagesAndAZeroDurationFinishesOnTheFirstFrame) {
    calendar->navigateAnimation()->setStartDelay(0.2);
    calendar->goBackwardAsync();
    run(0.15);
    EXPECT_EQ(bodyOffset(), 0);
    run(0.2);
    EXPECT_LT(bodyOffset(), 0);
    run(0.4);
    EXPECT_TRUE(showsMonth(2024, 2));

    calendar->navigateAnimation()->setStartDelay(0);
    calendar->navigateAnimation()->setDuration(0);
    calendar->goBackwardAsync();
    run(OneFrame);
    EXPECT_FALSE(calendar->isAnimating());
    EXPECT_TRUE(showsMonth(2024, 1));
}

TEST_F(NavigationTest, AMoveWhoseTimeNeverRunsOutEndsOnItsFirstFrameAndLetsTheNextOneIn) {
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    struct Case {
        double duration, delay;
    } cases[] = {{NaN, 0}, {Infinity, 0}, {-Infinity, 0}, {-1, 0}, {0.5, NaN}, {0.5, Infinity}};
    int month = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " s after " << c.delay << " s");
        calendar->navigateAnimation()->setDuration(c.duration);
        calendar->navigateAnimation()->setStartDelay(c.delay);
        calendar->goForwardAsync();
        run(OneFrame);
        EXPECT_FALSE(calendar->isAnimating());
        EXPECT_TRUE(showsMonth(2024, ++month));
        EXPECT_EQ(bodyOffset(), 0);
        EXPECT_EQ(calendar->headerView()->headerScrollView()->contentOffset().x, 0);
    }
    EXPECT_EQ(std::count(delegate->calls.begin(), delegate->calls.end(), "displayDateChanged"), 6);
}

TEST_F(NavigationTest, AMoveArrivingDuringAnotherIsIgnoredEvenOnceAnimationIsSwitchedOff) {
    calendar->goForwardAsync();
    run(0.1);
    calendar->goForwardAsync();
    calendar->setIsAnimated(false);
    calendar->goForwardAsync();
    swipe({220, 200}, {60, 200});
    Access::selectNextView(*calendar->headerView());
    EXPECT_TRUE(showsMonth(2024, 3));
    run(1);
    EXPECT_TRUE(showsMonth(2024, 4));
    EXPECT_EQ(std::count(delegate->calls.begin(), delegate->calls.end(), "displayDateChanged"), 1);
}

TEST_F(NavigationTest, SwipesAcrossTheOrientationAndWhileDisabledAreIgnored) {
    calendar->setIsAnimated(false);
    swipe({140, 280}, {140, 120});
    EXPECT_TRUE(showsMonth(2024, 3));
    calendar->setIsEnabled(false);
    swipe({220, 200}, {60, 200});
    calendar->goForwardAsync();
    EXPECT_TRUE(showsMonth(2024, 3));

    calendar->setIsEnabled(true);
    calendar->setOrientation(KivoCalendarOrientationVertical);
    layout();
    swipe({220, 200}, {60, 200});
    EXPECT_TRUE(showsMonth(2024, 3));
    swipe({140, 280}, {140, 120});
    EXPECT_TRUE(showsMonth(2024, 4));
    EXPECT_EQ(calendar->monthViewNext()->frame().y(), calendar->scrollView()->frame().height());
}

TEST_F(NavigationTest, TheDayOfMonthClampsAndTheClampCarries) {
    calendar->setIsAnimated(false);
    calendar->setDisplayDate(at(2024, 1, 31));
    calendar->goForwardAsync();
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->displayDate(), at(2024, 2, 29)));
    calendar->goForwardAsync();
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->displayDate(), at(2024, 3, 29)));
}

TEST_F(NavigationTest, AMaxDateInTheShownMonthStopsEveryForwardRoad) {
    calendar->setMaxDate(at(2024, 3, 20));
    calendar->goForwardAsync();
    swipe({220, 200}, {60, 200});
    Access::selectNextView(*calendar->headerView());
    run(1);
    EXPECT_TRUE(showsMonth(2024, 3));
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(NavigationTest, YearModeSlidesOnlyTheTitleAndMovesThroughTheDisplayDate) {
    calendar->setViewMode(KivoCalendarViewModeYear);
    layout();
    delegate->calls.clear();
    calendar->goForwardAsync();
    run(0.25);
    EXPECT_EQ(bodyOffset(), 0);
    EXPECT_GT(calendar->headerView()->headerScrollView()->contentOffset().x, 0);
    run(0.5);
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->displayDate(), at(2025, 3, 14)));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"displayDateChanging", "displayDateChanged"}));
    EXPECT_EQ(calendar->dateUtil()->compareY(calendar->yearViewCurrent()->yearDate(), at(2025, 1, 1)), 0);
    EXPECT_EQ(calendar->headerView()->title(), "2025");
}

TEST_F(NavigationTest, DecadeModeMovesTenYearsWithoutNotifications) {
    calendar->setViewMode(KivoCalendarViewModeDecade);
    layout();
    delegate->calls.clear();
    calendar->setIsAnimated(false);
    calendar->goBackwardAsync();
    EXPECT_EQ(calendar->dateUtil()->getYearFromDate(calendar->displayDate()), 2014);
    EXPECT_EQ(calendar->dateUtil()->getYearFromDate(calendar->decadeViewCurrent()->decadeDate()), 2014);
    EXPECT_EQ(calendar->dateUtil()->getYearFromDate(calendar->decadeViewPrev()->decadeDate()), 2004);
    EXPECT_EQ(calendar->headerView()->title(), "2010-2019");
    EXPECT_TRUE(delegate->calls.empty());
}

}  // namespace
