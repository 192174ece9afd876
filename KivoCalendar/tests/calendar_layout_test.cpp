#include <gtest/gtest.h>

#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "Platform/ui/scroll_view.h"
#include "calendar_access.h"
#include "calendar_fixture.h"

namespace {

using calendar_test::at;

class CalendarLayoutTest : public calendar_test::CalendarTest {
protected:
    plat::Rect rowFrame(std::size_t column) const { return calendar->weekdayLabels().at(column)->frame(); }
};

TEST_F(CalendarLayoutTest, BandsAreAtMost35PointsAndANinthOfSmallControls) {
    struct Case {
        double height, band;
    };
    for (Case c : {Case{315, 35}, Case{600, 35}, Case{180, 20}}) {
        calendar->setFrame({0, 0, 280, c.height});
        layout();
        EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 280, c.band})) << c.height;
        EXPECT_EQ(rowFrame(0), (plat::Rect{0, 0, 40, c.band})) << c.height;
        EXPECT_EQ(rowFrame(6), (plat::Rect{240, 0, 40, c.band})) << c.height;
        EXPECT_EQ(calendar->bodyView()->frame(), (plat::Rect{0, c.band, 280, c.height - c.band})) << c.height;
        EXPECT_EQ(calendar->scrollView()->frame(), (plat::Rect{0, c.band, 280, c.height - 2 * c.band})) << c.height;
    }
}

TEST_F(CalendarLayoutTest, WithoutTheHeaderTheBodyTakesTheWholeControl) {
    calendar->setShowHeader(false);
    layout();
    EXPECT_TRUE(calendar->headerView()->isHidden());
    EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 280, 35}));
    EXPECT_EQ(calendar->bodyView()->frame(), (plat::Rect{0, 0, 280, 315}));
    EXPECT_EQ(calendar->scrollView()->frame(), (plat::Rect{0, 35, 280, 280}));
}

TEST_F(CalendarLayoutTest, YearAndDecadeModesHaveNoWeekdayRow) {
    for (std::int64_t mode : {KivoCalendarViewModeYear, KivoCalendarViewModeDecade}) {
        calendar->setViewMode(mode);
        layout();
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(rowFrame(i), plat::Rect{}) << mode;
        EXPECT_EQ(calendar->scrollView()->frame(), (plat::Rect{0, 0, 280, 280})) << mode;
        EXPECT_EQ(calendar->yearViewCurrent()->isHidden(), mode != KivoCalendarViewModeYear);
        EXPECT_EQ(calendar->decadeViewCurrent()->isHidden(), mode != KivoCalendarViewModeDecade);
        EXPECT_TRUE(calendar->monthViewCurrent()->isHidden());
    }
    EXPECT_EQ(calendar->decadeViewCurrent()->decadeDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->decadeViewNext()->decadeDate(), at(2034, 3, 14, 10));
    EXPECT_EQ(calendar->decadeViewPrev()->frame(), (plat::Rect{-280, 0, 280, 280}));
    EXPECT_EQ(calendar->headerView()->title(), "2020-2029");

    calendar->setViewMode(KivoCalendarViewModeMonth);
    layout();
    EXPECT_EQ(rowFrame(3), (plat::Rect{120, 0, 40, 35}));
    EXPECT_EQ(calendar->scrollView()->frame(), (plat::Rect{0, 35, 280, 245}));
    EXPECT_FALSE(calendar->monthViewCurrent()->isHidden());
    EXPECT_EQ(calendar->headerView()->title(), "March 2024");
}

TEST_F(CalendarLayoutTest, AHostSizeReplacesTheFramesPositiveSides) {
    calendar->setFrame({0, 0, 400, 315});
    calendar->setXfCalendarSize({300, 0});
    layout();
    EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 300, 35}));
    EXPECT_EQ(calendar->bodyView()->frame(), (plat::Rect{0, 35, 300, 280}));
}

TEST_F(CalendarLayoutTest, PagesLieOneStepApartAlongThePagingAxis) {
    const auto& scroll = calendar->scrollView();
    EXPECT_EQ(calendar->monthViewCurrent()->frame(), (plat::Rect{0, 0, 280, 245}));
    EXPECT_EQ(calendar->monthViewNext()->frame(), (plat::Rect{280, 0, 280, 245}));
    EXPECT_EQ(calendar->monthViewPrev()->frame(), (plat::Rect{-280, 0, 280, 245}));
    EXPECT_EQ(calendar->scrollView()->contentSize(), (plat::Size{840, 245}));
    EXPECT_TRUE(scroll->clipsToBounds());
    EXPECT_FALSE(scroll->isScrollEnabled());
    EXPECT_TRUE(scroll->isPagingEnabled());

    // A new orientation keeps the scroll view's frame and moves the pages only.
    calendar->setOrientation(KivoCalendarOrientationVertical);
    layout();
    EXPECT_EQ(scroll->frame(), (plat::Rect{0, 35, 280, 245}));
    EXPECT_EQ(calendar->monthViewNext()->frame(), (plat::Rect{0, 245, 280, 245}));
    EXPECT_EQ(calendar->monthViewPrev()->frame(), (plat::Rect{0, -245, 280, 245}));
    EXPECT_EQ(calendar->scrollView()->contentSize(), (plat::Size{280, 735}));
    EXPECT_EQ(calendar_test::Access::scrollViewWidth(*calendar), 245);

    calendar->setViewMode(KivoCalendarViewModeYear);
    layout();
    EXPECT_EQ(calendar->scrollView()->contentSize(), (plat::Size{280, 280}));
}

TEST_F(CalendarLayoutTest, PagesShowTheDisplayMonthAndItsNeighbours) {
    EXPECT_EQ(calendar->monthViewCurrent()->monthDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->monthViewNext()->monthDate(), at(2024, 4, 14, 10));
    EXPECT_EQ(calendar->monthViewPrev()->monthDate(), at(2024, 2, 14, 10));
    EXPECT_EQ(calendar->yearViewCurrent()->yearDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->headerView()->title(), "March 2024");
}

TEST_F(CalendarLayoutTest, RefreshAndOrientationChangesLayTheFramesOutAgain) {
    calendar->setFrame({0, 0, 280, 180});
    calendar->refresh();
    EXPECT_EQ(calendar->headerView()->frame(), plat::Rect{});
    layout();
    EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 280, 20}));

    calendar->setXfCalendarSize({200, 0});
    calendar->respondToOrientationChanged();
    layout();
    EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 200, 20}));
    EXPECT_EQ(calendar->monthViewNext()->frame(), (plat::Rect{200, 0, 200, 140}));
}

TEST_F(CalendarLayoutTest, TheControlsBorderAndTheBackgroundsOfItsParts) {
    calendar->setBorderColor(plat::Color::red());
    calendar->setBorderWidth(2);
    EXPECT_EQ(calendar->layer()->borderColor(), plat::Color::red());
    EXPECT_EQ(calendar->layer()->borderWidth(), 2);
    EXPECT_FALSE(calendar->plat::View::backgroundColor());

    const plat::Color cream = plat::Color::rgb255(255, 250, 235);
    calendar->setBackgroundColor(cream);
    EXPECT_EQ(calendar->headerView()->backgroundColor(), cream);
    EXPECT_EQ(calendar->weekdayLabels()[0]->backgroundColor(), cream);  // the row was still in its default grey
    layout();
    EXPECT_EQ(slotAt(20)->backgroundColor(), cream);

    // A row colour of the application's own stays, as does a header colour.
    calendar->setDayOfWeekBackgroundColor(plat::Color::yellow());
    calendar->setHeaderBackgroundColor(plat::Color::green());
    calendar->setBackgroundColor(plat::Color::white());
    EXPECT_EQ(calendar->weekdayLabels()[0]->backgroundColor(), plat::Color::yellow());
    EXPECT_EQ(calendar->headerView()->backgroundColor(), plat::Color::green());
}

TEST_F(CalendarLayoutTest, UnsetColoursFollowTheTextAndBackgroundColours) {
    EXPECT_EQ(calendar->textColor(), plat::Color::black());
    EXPECT_EQ(calendar->todayBackgroundColor(), plat::Color::white());
    calendar->setTextColor(plat::Color::blue());
    calendar->setBackgroundColor(plat::Color::yellow());
    for (plat::Color c : {calendar->headerTextColor(), calendar->dayOfWeekTextColor(), calendar->todayTextColor(),
                          calendar->selectionTextColor()})
        EXPECT_EQ(c, plat::Color::blue());
    EXPECT_EQ(calendar->todayBackgroundColor(), plat::Color::yellow());
    EXPECT_EQ(calendar->headerBackgroundColor(), plat::Color::yellow());
    calendar->setTextColor(std::nullopt);
    EXPECT_EQ(calendar->headerTextColor(), plat::Color::black());
}

}  // namespace
