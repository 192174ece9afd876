#include <gtest/gtest.h>

#include <limits>

#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarSystem.h"
#include "KivoCalendar/KivoCalendarViewModeAnimation.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/testing/log_capture.h"
#include "Platform/ui/label.h"
#include "calendar_fixture.h"

namespace {

using calendar_test::at;
using calendar_test::RecordingDelegate;

class CalendarControlTest : public calendar_test::CalendarTest {
protected:
    std::vector<std::string> rowTexts() const {
        std::vector<std::string> texts;
        for (const auto& view : calendar->weekdayLabels()) texts.push_back(std::static_pointer_cast<plat::Label>(view)->text());
        return texts;
    }
};

TEST_F(CalendarControlTest, Defaults) {
    EXPECT_EQ(calendar->displayDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->currentDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);
    EXPECT_EQ(calendar->maxSelectionCount(), 1);
    EXPECT_EQ(calendar->navigateAnimation()->duration(), 0.5);
    EXPECT_EQ(calendar->navigateAnimation()->easing(), KivoEasing::EaseOutCubic());
    EXPECT_EQ(calendar->viewModeAnimation()->duration(), 0.5);
    EXPECT_EQ(calendar->viewModeAnimation()->scaleFactor(), 8.0);
    EXPECT_EQ(calendar->dayOfWeekBackgroundColor(), plat::Color::rgb255(234, 234, 234));
    EXPECT_TRUE(calendar->todayFont().isBold());
    EXPECT_FALSE(calendar->selectedDates()->startDate());
    EXPECT_EQ(calendar->selectedDates()->calendar(), calendar);
    EXPECT_EQ(calendar->dateUtil()->getCalendar()->timeZone(), plat::TimeZone::utc());
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
}

TEST_F(CalendarControlTest, TheWeekdayRowStartsAtTheFirstDayOfWeekInTheChosenFormat) {
    calendar->setFirstDayOfWeek(2);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}));
    EXPECT_EQ(calendar->dateUtil()->getCalendar()->firstWeekday(), 2u);
    calendar->setDayOfWeekFormat(KivoCalendarDayOfWeekFormatVeryShort);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"M", "T", "W", "T", "F", "S", "S"}));
    calendar->setFirstDayOfWeek(7);
    calendar->setDayOfWeekFormat(KivoCalendarDayOfWeekFormatFull);
    EXPECT_EQ(rowTexts().front(), "Saturday");
    calendar->setDayOfWeekFormat(5);  // unknown formats show the short names
    EXPECT_EQ(rowTexts().front(), "Sat");
}

TEST_F(CalendarControlTest, WeekdayNamesFollowTheCalendarsLocale) {
    auto util = calendar->dateUtil();
    util->setCalendar(KivoCalendarSystem::create(plat::TimeZone::utc(), plat::Locale::withIdentifier("de_DE")));
    calendar->setFirstDayOfWeek(2);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}));
    util->setCalendar(KivoCalendarSystem::create(plat::TimeZone::utc(), plat::Locale::withIdentifier("ja_JP")));
    calendar->setFirstDayOfWeek(1);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"日", "月", "火", "水", "木", "金", "土"}));
}

TEST_F(CalendarControlTest, FirstDayOfWeekOutsideOneToSevenIsRefused) {
    calendar->setFirstDayOfWeek(2);
    plat::testing::LogCapture log;
    for (std::int64_t bad : {0, 8, -1, 1000}) calendar->setFirstDayOfWeek(bad);
    EXPECT_EQ(calendar->firstDayOfWeek(), 2);
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(rowTexts().front(), "Mon");
    EXPECT_EQ(calendar->dateUtil()->getCalendar()->firstWeekday(), 2u);
}

// Reports every weekday view it is offered, and optionally takes care of them itself.
class WeekdayDelegate : public RecordingDelegate {
public:
    bool dayOfWeekSlotLoading(const std::shared_ptr<KivoCalendar>&, std::int64_t dayOfWeek, bool isWeekend,
                              const std::shared_ptr<plat::View>& slot) override {
        offered.push_back({dayOfWeek, isWeekend, slot});
        return answers;
    }
    struct Offer {
        std::int64_t dayOfWeek;
        bool isWeekend;
        std::shared_ptr<plat::View> slot;
    };
    std::vector<Offer> offered;
    bool answers = true;
};

TEST_F(CalendarControlTest, TheDelegateIsOfferedEachWeekdayWithItsNumberAndWeekend) {
    calendar->setFirstDayOfWeek(2);
    auto delegate = std::make_shared<WeekdayDelegate>();
    calendar->setDelegate(delegate);
    layout();
    ASSERT_EQ(delegate->offered.size(), 7u);
    EXPECT_EQ(delegate->offered[0].dayOfWeek, 2);
    EXPECT_FALSE(delegate->offered[0].isWeekend);
    EXPECT_EQ(delegate->offered[5].dayOfWeek, 7);  // Saturday, column 6
    EXPECT_TRUE(delegate->offered[5].isWeekend);
    EXPECT_EQ(delegate->offered[6].dayOfWeek, 1);  // Sunday, column 7
    EXPECT_TRUE(delegate->offered[6].isWeekend);
    EXPECT_EQ(delegate->offered[6].slot, calendar->weekdayLabels()[6]);
    // The delegate hears of the pass before the row is offered.
    EXPECT_EQ(delegate->calls.front(), "rendered");
}

// Hands out a plain view for every column it is asked about.
class ColumnTemplate : public IDayOfWeekSlotTemplate {
public:
    std::shared_ptr<plat::View> getView(std::int64_t column, const plat::Rect& frame) override {
        columns.push_back(column);
        return column == 3 ? plat::View::create(frame) : nullptr;
    }
    std::vector<std::int64_t> columns;
};

TEST_F(CalendarControlTest, TheWeekdayTemplateIsAskedOnlyOnceADelegateWasAssigned) {
    auto weekdays = std::make_shared<ColumnTemplate>();
    calendar->setDayOfWeekSlotTemplate(weekdays);
    calendar->setNeedsLayout();
    layout();
    EXPECT_TRUE(weekdays->columns.empty());

    auto delegate = std::make_shared<WeekdayDelegate>();
    delegate->answers = false;
    calendar->setDelegate(delegate);
    layout();
    EXPECT_EQ(weekdays->columns, (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7}));
    // Column 3's view took the label's place in the row and among the body's subviews.
    const auto& replaced = calendar->weekdayLabels()[2];
    EXPECT_FALSE(std::dynamic_pointer_cast<plat::Label>(replaced));
    EXPECT_EQ(calendar->bodyView()->subviews()[2], replaced);
    EXPECT_EQ(calendar->weekdayLabels().size(), 7u);
    EXPECT_EQ(replaced->frame(), (plat::Rect{80, 0, 40, 35}));

    // A delegate that takes care of the views keeps the template from being asked.
    weekdays->columns.clear();
    delegate->answers = true;
    calendar->setNeedsLayout();
    layout();
    EXPECT_TRUE(weekdays->columns.empty());
}

TEST_F(CalendarControlTest, AssigningTheSameDelegateAgainChangesNothing) {
    auto delegate = std::make_shared<RecordingDelegate>();
    calendar->setDelegate(delegate);
    EXPECT_EQ(calendar->headerView()->frame(), plat::Rect{});  // refreshed
    layout();
    calendar->setDelegate(delegate);
    EXPECT_EQ(calendar->headerView()->frame(), (plat::Rect{0, 0, 280, 35}));

    // Held weakly unless given as the strong delegate.
    delegate.reset();
    EXPECT_EQ(calendar->delegate(), nullptr);
    auto strong = std::make_shared<RecordingDelegate>();
    calendar->setStrongDelegate(strong);
    std::weak_ptr<RecordingDelegate> weak = strong;
    strong.reset();
    EXPECT_EQ(calendar->delegate(), weak.lock());
    EXPECT_NE(calendar->delegate(), nullptr);
}

TEST_F(CalendarControlTest, AnotherTimeOfTheSameDayOnlyUpdatesTheHeader) {
    auto delegate = std::make_shared<RecordingDelegate>();
    calendar->setDelegate(delegate);
    layout();
    delegate->calls.clear();
    calendar->setDisplayDate(at(2024, 3, 14, 23));
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_EQ(calendar->displayDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->monthViewCurrent()->monthDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->headerView()->headerDate(), at(2024, 3, 14, 10));

    calendar->setDisplayDate(std::nullopt);
    calendar->setDisplayDate(plat::Date(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_EQ(calendar->displayDate(), at(2024, 3, 14, 10));
}

TEST_F(CalendarControlTest, ANewDisplayMonthRefillsThePagesBetweenTheTwoNotifications) {
    auto delegate = std::make_shared<RecordingDelegate>();
    std::vector<KivoOptionalDate> seen;
    delegate->onChanging = [&](KivoCalendar& c) { seen.push_back(c.monthViewCurrent()->monthDate()); };
    delegate->onChanged = [&](KivoCalendar& c) {
        seen.push_back(c.monthViewCurrent()->monthDate());
        seen.push_back(c.monthViewNext()->monthDate());
        seen.push_back(c.monthViewPrev()->monthDate());
    };
    calendar->setDelegate(delegate);
    layout();
    delegate->calls.clear();
    calendar->setCurrentViewIndex(2);
    calendar->setDisplayDate(at(2024, 7, 31, 8));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"displayDateChanging", "displayDateChanged"}));
    EXPECT_EQ(seen,
              (std::vector<KivoOptionalDate>{at(2024, 3, 14, 10), at(2024, 7, 31, 8), at(2024, 8, 31, 8), at(2024, 6, 30, 8)}));
    EXPECT_EQ(calendar->currentMonth(), at(2024, 7, 31, 8));
    EXPECT_EQ(calendar->currentViewIndex(), 0);
    EXPECT_EQ(calendar->headerView()->title(), "July 2024");
}

TEST_F(CalendarControlTest, InYearModeOnlyTheYearPageIsRefilled) {
    calendar->setViewMode(KivoCalendarViewModeYear);
    layout();
    calendar->setDisplayDate(at(2026, 5, 1));
    EXPECT_EQ(calendar->yearViewCurrent()->yearDate(), at(2026, 5, 1));
    EXPECT_EQ(calendar->monthViewCurrent()->monthDate(), at(2024, 3, 14, 10));
    EXPECT_EQ(calendar->headerView()->title(), "2026");
}

TEST_F(CalendarControlTest, ViewModeChangesTellTheDelegateOnlyForANewMode) {
    auto delegate = std::make_shared<RecordingDelegate>();
    calendar->setDelegate(delegate);
    layout();
    delegate->calls.clear();
    calendar->setViewMode(KivoCalendarViewModeMonth);
    EXPECT_TRUE(delegate->calls.empty());
    calendar->setCurrentViewIndex(1);
    EXPECT_EQ(calendar->currentMonth(), at(2024, 4, 14, 10));
    calendar->setViewMode(KivoCalendarViewModeDecade);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"viewModeChanged"});
    EXPECT_EQ(calendar->currentViewIndex(), 0);
    EXPECT_EQ(calendar->currentMonth(), at(2024, 3, 14, 10));

    // An unknown mode is kept and leaves the pages as they were.
    calendar->setViewMode(7);
    EXPECT_EQ(calendar->viewMode(), 7);
    EXPECT_FALSE(calendar->decadeViewCurrent()->isHidden());
}

}  // namespace
