#pragma once
// The arguments of the calendar's loading and selection notifications: the raiser builds one and
// hands its fields to the matching delegate method (or, for the header, to the headerLoading event).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"
#include "Platform/foundation/date.h"

class KivoCalendarDaySlotBase;
class KivoCalendarMonthSlotBase;
class KivoCalendarRange;
class KivoCalendarYearSlotBase;

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

// The header's title pass: a handler may put its own text into `header` (none: the built-in title).
class KIVO_CALENDAR_EXPORT KivoCalendarHeaderLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarHeaderLoadingEventArgs(std::optional<plat::Date> date, std::int64_t viewMode, std::optional<std::string> text)
        : _date(date), _viewMode(viewMode), _header(std::move(text)) {}

    const std::optional<plat::Date>& date() const { return _date; }
    void setDate(std::optional<plat::Date> date) { _date = date; }
    std::int64_t viewMode() const { return _viewMode; }
    void setViewMode(std::int64_t mode) { _viewMode = mode; }
    const std::optional<std::string>& header() const { return _header; }
    void setHeader(std::optional<std::string> header) { _header = std::move(header); }

private:
    std::optional<plat::Date> _date;
    std::int64_t _viewMode;
    std::optional<std::string> _header;
};

// A selection change: the control's own range, already holding the new dates.
class KIVO_CALENDAR_EXPORT KivoCalendarSelectionChangedEventArgs : public KivoEventArgs {
public:
    explicit KivoCalendarSelectionChangedEventArgs(std::shared_ptr<KivoCalendarRange> selectedDates)
        : _selectedDates(std::move(selectedDates)) {}

    const std::shared_ptr<KivoCalendarRange>& selectedDates() const { return _selectedDates; }

private:
    std::shared_ptr<KivoCalendarRange> _selectedDates;
};
