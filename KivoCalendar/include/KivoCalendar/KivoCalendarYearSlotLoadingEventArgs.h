#pragma once
// The arguments of one of the calendar's loading or selection notifications: the raiser builds one
// and hands its fields to the matching delegate method.

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"

class KivoCalendarYearSlotBase;

// One year cell of a decade page.
class KIVO_CALENDAR_EXPORT KivoCalendarYearSlotLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarYearSlotLoadingEventArgs(std::uint64_t year, bool isAdjacentYear,
                                         std::shared_ptr<KivoCalendarYearSlotBase> yearSlot)
        : _year(year), _isAdjacentYear(isAdjacentYear), _yearSlot(std::move(yearSlot)) {}

    std::uint64_t year() const { return _year; }
    bool isAdjacentYear() const { return _isAdjacentYear; }
    const std::shared_ptr<KivoCalendarYearSlotBase>& yearSlot() const { return _yearSlot; }
    void setYearSlot(std::shared_ptr<KivoCalendarYearSlotBase> slot) { _yearSlot = std::move(slot); }

private:
    std::uint64_t _year;
    bool _isAdjacentYear;
    std::shared_ptr<KivoCalendarYearSlotBase> _yearSlot;
};
