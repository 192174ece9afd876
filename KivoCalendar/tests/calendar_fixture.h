#pragma once
// What the calendar tests share: UTC and en_US pinned as the process's current zone and locale, the
// shared calendar reset around each test, and dates written as year, month, day and hour in UTC.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/foundation/locale/calendar.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

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
