#pragma once
// The one door the calendar tests use into the controls' inner workings: the library declares this
// type a friend of the classes whose internals a test must drive, and only the tests define it.

#include <cstdint>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarImageDaySlot.h"

namespace kivo::detail {

struct CalendarTestAccess {
    static void reloadMonthView(KivoCalendar& calendar) { calendar._reloadMonthView(); }
    static void respondToSwipe(KivoCalendar& calendar, std::int64_t direction, bool vertical) {
        calendar._respondToSwipe(direction, vertical);
    }
    static void nextAnimationFinished(KivoCalendar& calendar) { calendar._nextAnimationFinished(); }
    static double scrollViewWidth(const KivoCalendar& calendar) { return calendar._getScrollViewWidth(); }
    static void selectNextView(KivoCalendarHeaderView& header) { header._selectNextView(); }
    static plat::ContentMode imageViewContentMode(std::int64_t imageAspect) {
        return KivoCalendarImageDaySlot::_getImageViewContentMode(imageAspect);
    }
};

}  // namespace kivo::detail

namespace calendar_test {
using Access = kivo::detail::CalendarTestAccess;
}
