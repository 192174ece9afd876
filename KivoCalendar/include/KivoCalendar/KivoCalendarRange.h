#pragma once
// The calendar's selected date range: a first and a last day, both included, less the days that were
// excluded from it. Every test compares by day (or month, or year), never by time of day, through
// the date utility of the calendar the range belongs to.

#include <memory>
#include <unordered_set>
#include <vector>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/foundation/object.h"

class KivoCalendar;
class KivoCalendarDaySlotBase;

namespace kivo::detail {
class ExcludedDayIndex;
}

class KIVO_CALENDAR_EXPORT KivoCalendarRange : public plat::Object {
public:
    // The calendar is not owned (the calendar owns its range).
    KivoCalendarRange(KivoOptionalDate startDate, KivoOptionalDate endDay, const std::shared_ptr<KivoCalendar>& calendar);
    ~KivoCalendarRange() override;
    static std::shared_ptr<KivoCalendarRange> create(KivoOptionalDate startDate, KivoOptionalDate endDay,
                                                     const std::shared_ptr<KivoCalendar>& calendar) {
        return std::make_shared<KivoCalendarRange>(startDate, endDay, calendar);
    }

    const KivoOptionalDate& startDate() const { return _startDate; }
    void setStartDate(KivoOptionalDate date) { _startDate = date; }
    const KivoOptionalDate& endDate() const { return _endDate; }
    void setEndDate(KivoOptionalDate date) { _endDate = date; }
    std::shared_ptr<KivoCalendar> calendar() const { return _calendar.lock(); }

    // Whether the slot's date is in the range.
    bool containsDay(const std::shared_ptr<KivoCalendarDaySlotBase>& slot) const;
    // False without a date, a calendar, a start or an end; false outside start...end and on an excluded day.
    bool containsDate(KivoOptionalDate date) const;
    // The same tests by month and by year: one excluded day takes its whole month (year) out.
    bool containsDateYM(KivoOptionalDate date) const;
    bool containsDateY(KivoOptionalDate date) const;

    // Adds a day unless the very same moment is already excluded; nothing for no date (or NaN).
    void addExcludedDates(KivoOptionalDate date);
    void resetExcludedDates();
    // In the order they were added.
    const std::vector<plat::Date>& excludedDates() const { return _excludedDates; }

private:
    KIVO_CALENDAR_NO_EXPORT bool contains(KivoOptionalDate date, int depth) const;

    KivoOptionalDate _startDate;
    KivoOptionalDate _endDate;
    std::vector<plat::Date> _excludedDates;
    // The same moments, to find one without walking the list.
    std::unordered_set<double> _excludedMoments;
    // Their days, months and years, worked out when first asked for after a change.
    std::unique_ptr<kivo::detail::ExcludedDayIndex> _excludedDays;
    std::weak_ptr<KivoCalendar> _calendar;
};
