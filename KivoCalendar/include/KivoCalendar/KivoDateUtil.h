#pragma once
// The calendar's date arithmetic: component reads, month lengths, additions, replacements and
// comparisons by day, month or year. Every instance computes with one calendar shared by the whole
// process (the calendar controls set it); while none is set, with the current calendar of the
// moment. Main thread only. An operation given no date (or a date the calendar cannot take apart)
// answers nothing.

#include <cstdint>
#include <memory>
#include <optional>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoCalendarSystem.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/object.h"

using KivoOptionalDate = std::optional<plat::Date>;

class KIVO_CALENDAR_EXPORT KivoDateUtil : public plat::Object {
public:
    static std::shared_ptr<KivoDateUtil> create() { return std::make_shared<KivoDateUtil>(); }

    // The shared calendar: replacing it replaces it for every instance; null clears it.
    void setCalendar(std::shared_ptr<KivoCalendarSystem> calendar);
    std::shared_ptr<KivoCalendarSystem> getCalendar() const;
    // The shared calendar's first weekday; nothing while no calendar is set.
    void setFirstWeekday(std::uint64_t weekday);
    // The shared calendar, or a current one made for the caller while none is set.
    std::shared_ptr<KivoCalendarSystem> calendarInUse() const;

    // The start of that day. Values beyond a month carry over (day 30 of month 2 is early March,
    // month 13 is January of the next year).
    KivoOptionalDate getDateWithYear(std::int64_t year, std::int64_t month, std::int64_t day) const;

    std::optional<std::int64_t> getYearFromDate(KivoOptionalDate date) const;
    // 1 to 12.
    std::optional<std::int64_t> getMonthFromDate(KivoOptionalDate date) const;
    std::optional<std::int64_t> getDayFromDate(KivoOptionalDate date) const;
    // 1 Sunday to 7 Saturday.
    std::optional<std::int64_t> getWeekdayFromDate(KivoOptionalDate date) const;
    // 28 to 31.
    std::optional<std::uint64_t> getMonthDaysCountFromDate(KivoOptionalDate date) const;

    // The time of day stays. Past the end of the target month the day becomes its last day (31 January
    // plus a month is 28 or 29 February; 29 February plus a year is 28 February).
    KivoOptionalDate getDateByAddingDays(std::int64_t days, KivoOptionalDate date) const;
    KivoOptionalDate getDateBySubtractingDays(std::int64_t days, KivoOptionalDate date) const;
    KivoOptionalDate getDateByAddingMonths(std::int64_t months, KivoOptionalDate date) const;
    KivoOptionalDate getDateByAddingYears(std::int64_t years, KivoOptionalDate date) const;

    // The date's year, month and day with one of them replaced, as the start of that day; a day past
    // the end of the month carries into the next (month 2 on 31 January is 3 March).
    KivoOptionalDate getDateBySettingMonth(std::int64_t month, KivoOptionalDate date) const;
    KivoOptionalDate getDateBySettingYear(std::int64_t year, KivoOptionalDate date) const;

    // Same year, month and day; false when either date is missing.
    bool isYMDEqual(KivoOptionalDate date1, KivoOptionalDate date2) const;
    // Orders two dates by day (by month, by year only): -1 when date1 comes first, 0 when both
    // fall in the same one, +1 when date1 comes later.
    std::optional<std::int64_t> compareYMD(KivoOptionalDate date1, KivoOptionalDate date2) const;
    std::optional<std::int64_t> compareYM(KivoOptionalDate date1, KivoOptionalDate date2) const;
    std::optional<std::int64_t> compareY(KivoOptionalDate date1, KivoOptionalDate date2) const;

private:
    KIVO_CALENDAR_NO_EXPORT std::optional<plat::DateComponents> components(KivoOptionalDate date) const;
    KIVO_CALENDAR_NO_EXPORT KivoOptionalDate dateFrom(const plat::DateComponents& components) const;
    KIVO_CALENDAR_NO_EXPORT std::optional<std::int64_t> compare(KivoOptionalDate date1, KivoOptionalDate date2, int depth) const;
};
