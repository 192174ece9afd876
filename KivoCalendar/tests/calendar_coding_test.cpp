#include <gtest/gtest.h>

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(KivoCalendar, getter)

// The calendar lays out its header and month views from the decoded frame, as from a frame.
TEST(CalendarCoding, ACalendarFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoCalendar>("KivoCalendar", {0, 0, 320, 300},
                                                       {SAME(textColor),
                                                        SAME(backgroundColor),
                                                        SAME(borderColor),
                                                        SAME(borderWidth),
                                                        SAME(disabledTextColor),
                                                        SAME(adjacentDayTextColor),
                                                        SAME(dayBorderColor),
                                                        SAME(dayBorderWidth),
                                                        SAME(todayBackgroundColor),
                                                        SAME(todayTextColor),
                                                        SAME(selectionBackgroundColor),
                                                        SAME(selectionTextColor),
                                                        SAME(dayOfWeekBackgroundColor),
                                                        SAME(dayOfWeekFormat),
                                                        SAME(dayOfWeekTextColor),
                                                        SAME(headerBackgroundColor),
                                                        SAME(headerTextColor),
                                                        SAME(showHeader),
                                                        SAME(showNavigationButtons),
                                                        SAME(viewMode),
                                                        SAME(orientation),
                                                        SAME(firstDayOfWeek),
                                                        SAME(currentViewIndex),
                                                        SAME(isAnimated),
                                                        SAME(isEnabled),
                                                        SAME(isMultiSelected)});
}

TEST(CalendarCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("KivoCalendar"); }

}  // namespace
