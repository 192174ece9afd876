#pragma once
// The Gregorian calendar (proleptic: no Julian cut-over) in an explicit time zone: takes dates apart
// into calendar fields and builds dates from fields. Fields out of range roll over (month 13 is
// January of the next year), as the platform's lenient calendars do.

#include <cstdint>
#include <memory>
#include <optional>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/timezone.h"

namespace plat {

struct PLAT_EXPORT DateComponents {
    std::int64_t year = 1970;  // astronomical: 0 is 1 BC
    std::int64_t month = 1;    // 1...12
    std::int64_t day = 1;      // 1...31
    std::int64_t hour = 0, minute = 0, second = 0;
    double nanosecond = 0;
    int weekday = 0;  // 1 Sunday ... 7 Saturday; ignored when building a date
    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

class PLAT_EXPORT Calendar {
public:
    explicit Calendar(TimeZone zone);
    // The Gregorian calendar in TimeZone::current().
    static Calendar current();

    const TimeZone& timeZone() const { return _zone; }
    // Nothing for dates that are not finite or beyond the calendar's range (about ±980,000 years).
    std::optional<DateComponents> components(Date date) const;
    // Nothing for fields beyond that range (a year past ±1,000,000, a day count past ±10^9).
    std::optional<Date> dateFromComponents(const DateComponents& components) const;
    // 28...31; 0 for a month outside 1...12.
    static int daysInMonth(std::int64_t year, std::int64_t month);

    struct Impl;

private:
    TimeZone _zone;
    std::shared_ptr<Impl> _impl;  // one ICU calendar, shared by copies, used under a lock
};

}  // namespace plat
