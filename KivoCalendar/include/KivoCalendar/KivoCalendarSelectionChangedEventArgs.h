#pragma once
// The arguments of one of the calendar's loading or selection notifications: the raiser builds one
// and hands its fields to the matching delegate method.

#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"

class KivoCalendarRange;

// A selection change: the control's own range, already holding the new dates.
class KIVO_CALENDAR_EXPORT KivoCalendarSelectionChangedEventArgs : public KivoEventArgs {
public:
    explicit KivoCalendarSelectionChangedEventArgs(std::shared_ptr<KivoCalendarRange> selectedDates)
        : _selectedDates(std::move(selectedDates)) {}

    const std::shared_ptr<KivoCalendarRange>& selectedDates() const { return _selectedDates; }

private:
    std::shared_ptr<KivoCalendarRange> _selectedDates;
};
