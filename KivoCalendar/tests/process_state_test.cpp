// What the test programs' reset before each test puts back for the calendar.

#include <gtest/gtest.h>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/testing/process_state.h"

TEST(CalendarProcessState, ResetDropsTheSharedCalendarThatAControlOrATestSet) {
    KivoDateUtil util;
    util.setCalendar(KivoCalendarSystem::create(*plat::TimeZone::named("Asia/Tokyo"), plat::Locale::withIdentifier("ja_JP")));
    plat::testing::resetProcessState();
    EXPECT_EQ(util.getCalendar(), nullptr);

    // A control sets it from the locale and time zone of the moment; the next test has its own.
    auto calendar = KivoCalendar::create({0, 0, 300, 300});
    ASSERT_NE(util.getCalendar(), nullptr);
    plat::testing::resetProcessState();
    EXPECT_EQ(util.getCalendar(), nullptr);
}
