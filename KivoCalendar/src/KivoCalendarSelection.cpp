// The calendar's selection data: the dates that can be chosen, the single selected date, and the
// selected range's membership tests.

#include <algorithm>

#include "KivoCalendar/CalendarDaySlot.h"
#include "KivoCalendar/CalendarHeaderView.h"
#include "KivoCalendar/CalendarMonthView.h"
#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarRange.h"

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

void KivoCalendar::setSelectedDate(KivoOptionalDate date) {
    const KivoOptionalDate previous = _selectedDate;
    _selectedDate = date;
    if (_viewMode != KivoCalendarViewModeMonth) return;
    const KivoOptionalDate& month = _monthViewCurrent->monthDate();
    if (!month) return;
    // Both days that change their look are redrawn when the shown month holds them, also when the
    // new date lies elsewhere (the old day would otherwise keep showing as selected).
    for (const KivoOptionalDate& day : {date, previous})
        if (_dateUtil->compareYM(day, month) == 0) redrawSlotsOfDay(*day);
}

// ---- Range ----

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
    for (const plat::Date& excluded : _excludedDates)
        if (compare(excluded, date) == 0) return false;
    return true;
}

void KivoCalendarRange::addExcludedDates(KivoOptionalDate date) {
    if (!date) return;
    if (std::find(_excludedDates.begin(), _excludedDates.end(), *date) == _excludedDates.end()) _excludedDates.push_back(*date);
}
