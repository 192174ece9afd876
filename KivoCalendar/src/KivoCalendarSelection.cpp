// The calendar's selection data: the dates that can be chosen, the single selected date, and the
// selected range's membership tests.

#include <cmath>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "calendar/ExcludedDayIndex.h"

// ---- Dates that can be chosen ----

void KivoCalendar::setMinDate(KivoOptionalDate date) {
    if (date == _minDate) return;
    _minDate = date;
    _headerView->updateButtonTextColor();
}

void KivoCalendar::setMaxDate(KivoOptionalDate date) {
    if (date == _maxDate) return;
    _maxDate = date;
    _headerView->updateButtonTextColor();
}

bool KivoCalendar::isDateDisabled(KivoOptionalDate date) const {
    // A date the calendar cannot take apart cannot be chosen either.
    if (!_dateUtil->getDayFromDate(date)) return true;
    if (_minDate && _dateUtil->compareYMD(_minDate, date) == 1) return true;
    if (_maxDate && _dateUtil->compareYMD(_maxDate, date) == -1) return true;
    return false;
}

// ---- Single selection ----

void KivoCalendar::setMaxSelectionCount(std::int32_t count) {
    _maxSelectionCount = count;
    // Only range taps clear the anchor; left set, it would keep neighbouring days from moving and
    // the excluded dates from being emptied for as long as no range can be selected.
    if (count == 0 || count == 1) _isMultiSelected = false;
}

void KivoCalendar::setSelectedDate(KivoOptionalDate date) {
    const KivoOptionalDate previous = _selectedDate;
    _selectedDate = date;
    if (_viewMode != KivoCalendarViewModeMonth || !_monthViewCurrent->monthDate()) return;
    // Both days that change their look are redrawn wherever the page shows them: in its month, and
    // among the neighbouring months' days before and after it.
    for (const KivoOptionalDate& day : {date, previous})
        if (day) redrawSlotsOfDay(*day);
}

// ---- Range ----

KivoCalendarRange::KivoCalendarRange(KivoOptionalDate startDate, KivoOptionalDate endDay,
                                     const std::shared_ptr<KivoCalendar>& calendar)
    : _startDate(startDate),
      _endDate(endDay),
      _excludedDays(std::make_unique<kivo::detail::ExcludedDayIndex>()),
      _calendar(calendar) {}

KivoCalendarRange::~KivoCalendarRange() = default;

bool KivoCalendarRange::containsDay(const std::shared_ptr<KivoCalendarDaySlotBase>& slot) const {
    return slot && containsDate(slot->date());
}

bool KivoCalendarRange::containsDate(KivoOptionalDate date) const { return contains(date, 3); }
bool KivoCalendarRange::containsDateYM(KivoOptionalDate date) const { return contains(date, 2); }
bool KivoCalendarRange::containsDateY(KivoOptionalDate date) const { return contains(date, 1); }

bool KivoCalendarRange::contains(KivoOptionalDate date, int depth) const {
    auto calendar = _calendar.lock();
    if (!date || !calendar || !_startDate || !_endDate) return false;
    const KivoDateUtil& util = *calendar->dateUtil();
    auto compare = [&util, depth](KivoOptionalDate a, KivoOptionalDate b) {
        return depth == 3 ? util.compareYMD(a, b) : depth == 2 ? util.compareYM(a, b) : util.compareY(a, b);
    };
    auto fromStart = compare(_startDate, date);
    auto toEnd = compare(_endDate, date);
    if (!fromStart || !toEnd || *fromStart == 1 || *toEnd == -1) return false;
    if (_excludedDates.empty()) return true;
    // The excluded days as the comparisons above see them: fields in the calendar in use now.
    const auto system = util.calendarInUse();
    const auto fields = system->calendar().components(*date);
    return !fields || !_excludedDays->holds(*fields, static_cast<kivo::detail::ExcludedDayIndex::Depth>(depth), _excludedDates,
                                            system->calendar());
}

void KivoCalendarRange::addExcludedDates(KivoOptionalDate date) {
    // A moment that is no number names no day, and no two of them would ever be found equal.
    if (!date || std::isnan(date->seconds)) return;
    if (!_excludedMoments.insert(date->seconds).second) return;
    _excludedDates.push_back(*date);
    _excludedDays->added(*date);
}

void KivoCalendarRange::resetExcludedDates() {
    _excludedDates.clear();
    _excludedMoments.clear();
    _excludedDays->invalidate();
}
