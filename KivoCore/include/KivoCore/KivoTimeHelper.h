#pragma once
// A date taken apart into calendar fields (in a time zone, by default the process's current one), and
// the time axes' helpers: day numbers (days since 1970 as a double), rounding of day numbers to
// calendar units, and "nice" label increments for a span and a date format.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoTimeSpan.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoTimeHelper : public plat::Object {
public:
    // The fields of the date in the zone's Gregorian calendar. A date the calendar cannot hold (not a
    // number, infinite, millions of years away) makes a helper that is no date: its fields read 0 and
    // it gives a date that is not a number, whatever its fields are set to later.
    explicit KivoTimeHelper(plat::Date date, plat::TimeZone zone = plat::TimeZone::current());
    explicit KivoTimeHelper(double timeIntervalSince1970, plat::TimeZone zone = plat::TimeZone::current())
        : KivoTimeHelper(plat::Date(timeIntervalSince1970), std::move(zone)) {}

    std::int64_t year() const { return _year; }
    void setYear(std::int64_t v) { _year = v; }
    std::int64_t month() const { return _month; }
    void setMonth(std::int64_t v) { _month = v; }
    std::int64_t day() const { return _day; }
    void setDay(std::int64_t v) { _day = v; }
    std::int64_t hour() const { return _hour; }
    void setHour(std::int64_t v) { _hour = v; }
    std::int64_t minute() const { return _minute; }
    void setMinute(std::int64_t v) { _minute = v; }
    std::int64_t second() const { return _second; }
    void setSecond(std::int64_t v) { _second = v; }

    // The fields back to a date, clamping them first (and keeping the clamped values): the month to
    // 1...12, the day to the month's own length, then every whole 24 hours of the hour to one more day
    // (across month and year ends: 10 May 48:00 is 12 May 00:00), and hour, minute and second to their
    // ranges. Not-a-number when the helper is no date or the calendar cannot hold the year.
    plat::Date getTimeAsDateTime();
    // getTimeAsDateTime as a day number; not-a-number as above.
    double getTimeAsDouble();

    // value - value % unit, plus unit when rounding up and there was a remainder. A unit of 0 leaves
    // the value as it is.
    static std::int64_t tround(std::int64_t value, std::int64_t unit, bool roundup);
    // A day number rounded to `unit` days: 1...31 rounds the day of the month, 32...364 the month
    // (by unit / 31 months; the day becomes 1), 365 and more the year (by unit / 365 years; 1 January).
    // A unit below 1, or a day number that is not finite, is returned unchanged.
    static double roundTime(double t, std::int64_t unit, bool roundup);
    static std::shared_ptr<KivoTimeSpan> timeSpanFromTmInc(std::int64_t seconds);
    // The finest unit a date format displays, counted in seconds; a format with fractional seconds
    // answers -n for its n "f" digits (6 at most). An empty format answers 1.
    static std::int64_t manualTimeInc(std::string_view format);
    // The first entry (a number text) that, times `mult`, reaches `ts`; 0 when none does.
    static double getNiceInc(const std::vector<std::string>& tsinc, double ts, double mult);
    // A label increment for a span: the first of the calendar-friendly multiples (seconds, minutes,
    // hours, days, months, years) that reaches the span, starting at the smallest unit the format shows.
    static std::shared_ptr<KivoTimeSpan> niceTimeSpan(const std::shared_ptr<KivoTimeSpan>& ts, std::string_view manualformat);

private:
    plat::TimeZone _zone;
    std::int64_t _year = 0, _month = 0, _day = 0, _hour = 0, _minute = 0, _second = 0;
    bool _isDate = false;
};
