#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/locale/calendar.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/date_picker.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::LogCapture;
using plat::testing::PinnedLocale;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

Date utc(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour = 0, std::int64_t minute = 0) {
    return *Calendar(TimeZone::utc()).dateFromComponents({.year = year, .month = month, .day = day, .hour = hour, .minute = minute});
}

struct Fixture {
    PinnedLocale pin{"en_US", "UTC"};
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 568});
    std::shared_ptr<TextField> field = TextField::create({10, 10, 200, 30});
    std::shared_ptr<DatePicker> picker = DatePicker::create();
    int changes = 0;
    Fixture() {
        window->addSubview(field);
        picker->addTarget([this](Control&) { ++changes; }, ControlEventValueChanged);
    }
};

}  // namespace

TEST(DatePicker, AsAnInputViewATapOnARowChangesThatPartOfTheDate) {
    Fixture f;
    f.picker->setDate(utc(2024, 1, 31, 15, 30));
    f.field->setInputView(f.picker);
    ASSERT_TRUE(f.field->becomeFirstResponder());
    ASSERT_EQ(f.picker->window(), f.window);
    EXPECT_DOUBLE_EQ(f.picker->frame().height(), 216);
    f.window->layoutPass();

    const auto& wheels = f.picker->pickerView();
    const Rect february = wheels->convertRectToView(wheels->rectForRow(1, DatePicker::MonthComponent), nullptr);
    Touches(f.window).tap(february.center());
    // The 31st has no February: the month's last day, the time of day kept.
    EXPECT_EQ(f.picker->date(), utc(2024, 2, 29, 15, 30));
    EXPECT_EQ(f.changes, 1);
    EXPECT_EQ(wheels->selectedRow(DatePicker::MonthComponent), 1);
    EXPECT_EQ(wheels->numberOfRowsInComponent(DatePicker::DayComponent), 29);

    f.picker->setEnabled(false);
    Touches(f.window).tap(wheels->convertRectToView(wheels->rectForRow(2, DatePicker::MonthComponent), nullptr).center());
    EXPECT_EQ(f.picker->date(), utc(2024, 2, 29, 15, 30));
    EXPECT_EQ(f.changes, 1);
}

TEST(DatePicker, PickingAPartKeepsTheOthersAndTheTimeOfDay) {
    struct Case {
        const char* name;
        Date start;
        std::int64_t component, row;
        Date expected;
    };
    const Case cases[] = {
        {"day", utc(2024, 2, 29, 15, 30), DatePicker::DayComponent, 9, utc(2024, 2, 10, 15, 30)},
        {"year off a leap day", utc(2024, 2, 29, 8), DatePicker::YearComponent, 2022, utc(2023, 2, 28, 8)},
        {"month", utc(2023, 5, 31), DatePicker::MonthComponent, 5, utc(2023, 6, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.picker->setDate(c.start);
        const auto& wheels = f.picker->pickerView();
        wheels->delegate()->didSelectRow(*wheels, c.row, c.component);
        EXPECT_EQ(f.picker->date(), c.expected);
        EXPECT_EQ(f.changes, 1);
    }
}

TEST(DatePicker, SettingTheDateShowsItInTheZoneAndLocaleAndSendsNothing) {
    Fixture f;
    // 02:00 on 1 March in UTC is still 29 February in New York.
    f.picker->setTimeZone(*TimeZone::named("America/New_York"));
    f.picker->setLocale(Locale::withIdentifier("de_DE"));
    f.picker->setFrame({0, 0, 320, 216});
    f.window->addSubview(f.picker);
    f.picker->setDate(utc(2024, 3, 1, 2));
    const auto& wheels = f.picker->pickerView();
    EXPECT_EQ(wheels->selectedRow(DatePicker::MonthComponent), 1);
    EXPECT_EQ(wheels->selectedRow(DatePicker::DayComponent), 28);
    EXPECT_EQ(wheels->selectedRow(DatePicker::YearComponent), 2023);
    EXPECT_EQ(f.changes, 0);

    RecordingContext rec;
    f.window->display(rec);
    ASSERT_NE(rec.findText("Februar"), nullptr);
    EXPECT_EQ(rec.findText("Februar")->color, f.picker->tintColor());
    ASSERT_NE(rec.findText("29"), nullptr);
    EXPECT_NE(rec.findText("2024"), nullptr);

    LogCapture log;
    f.picker->setDate(Date(NAN));
    EXPECT_EQ(f.picker->date(), utc(2024, 3, 1, 2));
    EXPECT_THAT(log.lines(), ::testing::ElementsAre(::testing::HasSubstr("not finite")));
}
