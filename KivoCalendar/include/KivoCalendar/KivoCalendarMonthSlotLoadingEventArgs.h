#pragma once
// The arguments of one of the calendar's loading or selection notifications: the raiser builds one
// and hands its fields to the matching delegate method.

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"

class KivoCalendarMonthSlotBase;

// One month cell of the year page.
class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlotLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarMonthSlotLoadingEventArgs(std::uint64_t month, std::shared_ptr<KivoCalendarMonthSlotBase> monthSlot)
        : _month(month), _monthSlot(std::move(monthSlot)) {}

    // 1 to 12.
    std::uint64_t month() const { return _month; }
    const std::shared_ptr<KivoCalendarMonthSlotBase>& monthSlot() const { return _monthSlot; }
    void setMonthSlot(std::shared_ptr<KivoCalendarMonthSlotBase> slot) { _monthSlot = std::move(slot); }

private:
    std::uint64_t _month;
    std::shared_ptr<KivoCalendarMonthSlotBase> _monthSlot;
};
