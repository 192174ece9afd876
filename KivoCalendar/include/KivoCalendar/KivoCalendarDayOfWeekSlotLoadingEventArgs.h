#pragma once
// The arguments of one of the calendar's loading or selection notifications: the raiser builds one
// and hands its fields to the matching delegate method.

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"

namespace plat {
class View;
}

// One column of the weekday row. The slot is the row's view (a label unless a template replaced it).
class KIVO_CALENDAR_EXPORT KivoCalendarDayOfWeekSlotLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarDayOfWeekSlotLoadingEventArgs(std::int64_t dayOfWeek, bool isWeekend, std::shared_ptr<plat::View> dayOfWeekSlot)
        : _dayOfWeek(dayOfWeek), _isWeekend(isWeekend), _dayOfWeekSlot(std::move(dayOfWeekSlot)) {}

    // 1 Sunday to 7 Saturday.
    std::int64_t dayOfWeek() const { return _dayOfWeek; }
    bool isWeekend() const { return _isWeekend; }
    const std::shared_ptr<plat::View>& dayOfWeekSlot() const { return _dayOfWeekSlot; }
    void setDayOfWeekSlot(std::shared_ptr<plat::View> slot) { _dayOfWeekSlot = std::move(slot); }

private:
    std::int64_t _dayOfWeek;
    bool _isWeekend;
    std::shared_ptr<plat::View> _dayOfWeekSlot;
};
