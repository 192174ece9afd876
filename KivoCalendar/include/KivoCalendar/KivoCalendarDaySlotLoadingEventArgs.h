#pragma once
// The arguments of one of the calendar's loading or selection notifications: the raiser builds one
// and hands its fields to the matching delegate method.

#include <memory>
#include <optional>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"
#include "Platform/foundation/date.h"

class KivoCalendarDaySlotBase;

// One cell of a month page; the application answers the slot to show in its place.
class KIVO_CALENDAR_EXPORT KivoCalendarDaySlotLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarDaySlotLoadingEventArgs(std::optional<plat::Date> date, bool isAdjacentDay,
                                        std::shared_ptr<KivoCalendarDaySlotBase> daySlot)
        : _date(date), _isAdjacentDay(isAdjacentDay), _daySlot(std::move(daySlot)) {}

    const std::optional<plat::Date>& date() const { return _date; }
    bool isAdjacentDay() const { return _isAdjacentDay; }
    const std::shared_ptr<KivoCalendarDaySlotBase>& daySlot() const { return _daySlot; }
    void setDaySlot(std::shared_ptr<KivoCalendarDaySlotBase> slot) { _daySlot = std::move(slot); }

private:
    std::optional<plat::Date> _date;
    bool _isAdjacentDay;
    std::shared_ptr<KivoCalendarDaySlotBase> _daySlot;
};
