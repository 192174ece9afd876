#pragma once
// What the calendar tests share: UTC and en_US pinned as the process's current zone and locale, the
// shared calendar reset around each test, dates written as year, month, day and hour in UTC, and a
// calendar in a window on the virtual clock with a delegate that records its calls.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarDelegate.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/foundation/locale/calendar.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

namespace calendar_test {

inline plat::Date at(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour = 0,
                     const plat::TimeZone& zone = plat::TimeZone::utc()) {
    plat::DateComponents c;
    c.year = year;
    c.month = month;
    c.day = day;
    c.hour = hour;
    return *plat::Calendar(zone).dateFromComponents(c);
}

inline ::testing::AssertionResult rectNear(const plat::Rect& actual, const plat::Rect& expected, double tolerance = 1e-9) {
    auto near = [tolerance](double a, double b) { return std::fabs(a - b) <= tolerance; };
    if (near(actual.x(), expected.x()) && near(actual.y(), expected.y()) && near(actual.width(), expected.width()) &&
        near(actual.height(), expected.height()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.x() << ", " << actual.y() << ", " << actual.width() << ", "
                                         << actual.height() << "), expected (" << expected.x() << ", " << expected.y() << ", "
                                         << expected.width() << ", " << expected.height() << ")";
}

// Pins the zone and locale for the test and clears the process-wide calendar before and after it.
class PinnedCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        _zone = plat::TimeZone::current();
        _locale = plat::Locale::current();
        plat::TimeZone::setCurrent(plat::TimeZone::utc());
        plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US"));
        KivoDateUtil().setCalendar(nullptr);
    }
    void TearDown() override {
        KivoDateUtil().setCalendar(nullptr);
        plat::TimeZone::setCurrent(_zone);
        plat::Locale::setCurrent(_locale);
    }

private:
    plat::TimeZone _zone;
    plat::Locale _locale;
};

}  // namespace calendar_test

// ---- A calendar in a window on the virtual clock ----

namespace calendar_test {

// Every delegate call in order, as "name" or "name:detail".
class RecordingDelegate : public KivoCalendarDelegate {
public:
    void displayDateChanging(const std::shared_ptr<KivoCalendar>& c) override {
        calls.push_back("displayDateChanging");
        if (onChanging) onChanging(*c);
    }
    void displayDateChanged(const std::shared_ptr<KivoCalendar>& c) override {
        calls.push_back("displayDateChanged");
        if (onChanged) onChanged(*c);
    }
    void viewModeChanged(const std::shared_ptr<KivoCalendar>&) override { calls.push_back("viewModeChanged"); }
    void rendered(const std::shared_ptr<KivoCalendar>&) override { calls.push_back("rendered"); }

    std::vector<std::string> calls;
    std::function<void(KivoCalendar&)> onChanging, onChanged;
};

class CalendarTest : public PinnedCalendarTest {
protected:
    // "Now" is Thursday 14 March 2024, 10:00 UTC.
    static constexpr plat::Rect Frame{0, 0, 280, 315};

    CalendarTest() : clock(at(2024, 3, 14, 10)) {}

    void SetUp() override {
        PinnedCalendarTest::SetUp();
        window = plat::Window::create({0, 0, 400, 480});
        calendar = KivoCalendar::create(Frame);
        window->addSubview(calendar);
        layout();
    }

    void layout() { window->layoutPass(); }

    std::shared_ptr<KivoCalendarDaySlot> slotAt(std::size_t i,
                                                const std::shared_ptr<KivoCalendarMonthView>& page = nullptr) const {
        return std::dynamic_pointer_cast<KivoCalendarDaySlot>((page ? page : calendar->monthViewCurrent())->daySlotAt(i));
    }

    // The current page's slot for a day of the shown month.
    std::shared_ptr<KivoCalendarDaySlotBase> slotOfDay(plat::Date day) const {
        const auto& page = calendar->monthViewCurrent();
        for (std::size_t i = 0; i < KivoCalendarMonthView::CellCount; ++i) {
            auto slot = page->daySlotAt(i);
            if (slot && !slot->isAdjacent() && calendar->dateUtil()->isYMDEqual(slot->date(), day)) return slot;
        }
        return nullptr;
    }

    // One slot's painting on its own.
    static void drawSlot(KivoCalendarDaySlot& slot, plat::RecordingContext& rec) {
        rec.clear();
        plat::CurrentContextScope scope(rec);
        slot.drawRect(rec, slot.bounds());
    }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<KivoCalendar> calendar;
};

}  // namespace calendar_test
