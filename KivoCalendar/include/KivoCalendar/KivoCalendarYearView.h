#pragma once
// The year page of the calendar: the twelve months of one year in 4 columns by 3 rows of month slots,
// coloured by the calendar's bounds and its chosen month; a tap on a month zooms into that month.

#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoCalendarMonthSlot.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

class KivoCalendar;

namespace plat {
class GestureRecognizer;
}

class KIVO_CALENDAR_EXPORT KivoCalendarYearView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarYearView> create(const plat::Rect& frame = {});

    static constexpr int Columns = 4;
    static constexpr int Rows = 3;
    static constexpr int SlotCount = Columns * Rows;
    static constexpr double DefaultFontSize = 14;

    // Not owned. Attaching a calendar gives every slot the page's font and the calendar's text colour.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar);
    // Any moment of the year shown; its month is the one a tap replaces. No date is ignored; a date
    // refreshes the page.
    const KivoOptionalDate& yearDate() const { return _yearDate; }
    void setYearDate(KivoOptionalDate date);

    // The month slots, January first (also the page's subviews).
    const std::vector<std::shared_ptr<KivoCalendarMonthSlot>>& monthLabels() const { return _monthLabels; }

    // Every slot's text colour, border colour or border width.
    void setTextColor(const plat::Color& color);
    void setBorderColor(const plat::Color& color);
    void setBorderWidth(double width);

    // Colours and marks of the slots from the calendar, and the delegate's say on each slot; nothing
    // without a calendar or a date.
    void refresh();

    void layoutSubviews() override;

    // The date one day later, in the platform's current calendar.
    static KivoOptionalDate getNextDateOfDate(KivoOptionalDate date);

protected:
    explicit KivoCalendarYearView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    // A tap at `location` (in the page's coordinates) on a month that can be chosen zooms into it.
    KIVO_CALENDAR_NO_EXPORT void _respondToTap(plat::Point location);

    // Whether minDate or maxDate of the calendar rule out the whole month.
    KIVO_CALENDAR_NO_EXPORT bool _isYearMonthDisabled(std::int64_t year, std::int64_t month) const;

    // `yearDate` in month m, its day kept where the month has it and else the month's last day.
    KIVO_CALENDAR_NO_EXPORT KivoOptionalDate dateInMonth(std::int64_t month) const;
    KIVO_CALENDAR_NO_EXPORT void zoomInto(std::int64_t month);
    KIVO_CALENDAR_NO_EXPORT void showMonth(std::int64_t month);

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _yearDate;
    plat::Font _yearViewFont = plat::Font::system(DefaultFontSize);
    std::vector<std::shared_ptr<KivoCalendarMonthSlot>> _monthLabels;
    bool _isZooming = false;
};
