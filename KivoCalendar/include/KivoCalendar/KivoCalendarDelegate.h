#pragma once
// The calendar's optional delegate and its slot templates. Every delegate method has a default that
// means "not answered"; the control calls the delegate it holds (weakly) and nothing without one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/geometry.h"

class KivoCalendar;
class KivoCalendarDaySlotBase;
class KivoCalendarMonthSlotBase;
class KivoCalendarRange;
class KivoCalendarYearSlotBase;

namespace plat {
class View;
}

class KIVO_CALENDAR_EXPORT KivoCalendarDelegate {
public:
    virtual ~KivoCalendarDelegate() = default;

    // A tap changed the selection; the range already holds the new dates. Changing comes before the
    // slots redraw, changed after the redraw was queued.
    virtual void selectionChanging(const std::shared_ptr<KivoCalendar>& calendar,
                                   const std::shared_ptr<KivoCalendarRange>& selectedDates) {}
    virtual void selectionChanged(const std::shared_ptr<KivoCalendar>& calendar,
                                  const std::shared_ptr<KivoCalendarRange>& selectedDates) {}
    // Around a change of the display date's day: before it is stored, and after the pages were refilled.
    virtual void displayDateChanging(const std::shared_ptr<KivoCalendar>& calendar) {}
    virtual void displayDateChanged(const std::shared_ptr<KivoCalendar>& calendar) {}
    // After a change of view mode, last.
    virtual void viewModeChanged(const std::shared_ptr<KivoCalendar>& calendar) {}
    // Called at the start of each layout pass, ahead of the weekday row and the frame layout.
    virtual void rendered(const std::shared_ptr<KivoCalendar>& calendar) {}
    // One view of the weekday row (`dayOfWeek` 1 Sunday to 7 Saturday), on every layout pass. Return
    // true when the delegate took care of the view: the weekday template is then not asked for it.
    virtual bool dayOfWeekSlotLoading(const std::shared_ptr<KivoCalendar>& calendar, std::int64_t dayOfWeek, bool isWeekend,
                                      const std::shared_ptr<plat::View>& dayOfWeekSlot) {
        return false;
    }
    // A day of the shown month while a page is filled: the slot to show in the cell (the one handed in
    // keeps it). Nothing means not answered, and the day-slot template is asked instead; an answer of
    // null keeps the framework's slot.
    virtual std::optional<std::shared_ptr<KivoCalendarDaySlotBase>> daySlotLoading(
        const std::shared_ptr<KivoCalendar>& calendar, std::optional<plat::Date> date, bool isAdjacentDay,
        const std::shared_ptr<KivoCalendarDaySlotBase>& daySlot) {
        return std::nullopt;
    }
    // A month cell of the year page (`month` 1 to 12) while the page is refreshed, after the page gave
    // it its colours and mark: the delegate may restyle the slot in place.
    virtual void monthSlotLoading(const std::shared_ptr<KivoCalendar>& calendar, std::uint64_t month,
                                  const std::shared_ptr<KivoCalendarMonthSlotBase>& monthSlot) {}
    // A year cell of a decade page, likewise. `isAdjacentYear` is true for the years that frame the
    // decade, unless they cannot be chosen.
    virtual void yearSlotLoading(const std::shared_ptr<KivoCalendar>& calendar, std::uint64_t year, bool isAdjacentYear,
                                 const std::shared_ptr<KivoCalendarYearSlotBase>& yearSlot) {}
    // For a host layer: the current title of the header, offered with the header's own text for the
    // page. Nothing means not answered (the calendar's headerLoading event is raised instead); an
    // answer without text keeps the header's own.
    virtual std::optional<std::optional<std::string>> handleHeaderLoading(const std::shared_ptr<KivoCalendar>& calendar,
                                                                          const std::optional<std::string>& header,
                                                                          std::int64_t viewMode, std::optional<plat::Date> date) {
        return std::nullopt;
    }
};

// Views in place of the drawn day slots: of the shown month, and of the neighbouring months. The view
// must be a day slot (anything else is refused and the drawn slot stays); null keeps the drawn slot.
class KIVO_CALENDAR_EXPORT IDaySlotTemplate {
public:
    virtual ~IDaySlotTemplate() = default;
    virtual std::shared_ptr<plat::View> getView(std::optional<plat::Date> date, const plat::Rect& frame) = 0;
};

class KIVO_CALENDAR_EXPORT IAdjacentDaySlotTemplate {
public:
    virtual ~IAdjacentDaySlotTemplate() = default;
    virtual std::shared_ptr<plat::View> getView(std::optional<plat::Date> date, const plat::Rect& frame) = 0;
};

// A view in place of a label of the weekday row; `column` counts from 1 at the row's first column.
class KIVO_CALENDAR_EXPORT IDayOfWeekSlotTemplate {
public:
    virtual ~IDayOfWeekSlotTemplate() = default;
    virtual std::shared_ptr<plat::View> getView(std::int64_t column, const plat::Rect& frame) = 0;
};
