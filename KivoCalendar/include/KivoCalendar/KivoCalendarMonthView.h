#pragma once
// A month page of the calendar: 6 rows of 7 day slots, from the days of the previous month that
// complete the first week through the month's own days to the days of the next month that fill the
// 42nd cell. The slots are built once and refilled for every month; an application may put slots of
// its own into the cells through the calendar's delegate or its slot templates.

#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/ui/view.h"

class KivoCalendar;
class KivoCalendarDaySlotBase;

class KIVO_CALENDAR_EXPORT KivoCalendarMonthView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarMonthView> create(const plat::Rect& frame = {});

    static constexpr int Rows = 6;
    static constexpr int Columns = 7;
    static constexpr int CellCount = Rows * Columns;

    // Not owned; the slots take it at the next fill.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }

    // Any moment of the month shown. Setting it fills the grid when the page has a usable frame;
    // otherwise the date waits for the next refresh.
    const KivoOptionalDate& monthDate() const { return _monthDate; }
    void setMonthDate(KivoOptionalDate date);
    // Fills the grid again when the page has a calendar and a month date.
    void refresh();

    // The slot of cell i (0...41) in grid order.
    std::shared_ptr<KivoCalendarDaySlotBase> daySlotAt(std::size_t index) const;
    // The cell rectangle of index i in a page of the given size.
    static plat::Rect cellRect(std::size_t index, plat::Size pageSize);

    void layoutSubviews() override;

protected:
    explicit KivoCalendarMonthView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    // The fill: dates of the 42 cells, slots reused or replaced, the delegate or the templates asked.
    KIVO_CALENDAR_NO_EXPORT void _updateDaySlots();
    // Every cell gets a new framework slot.
    KIVO_CALENDAR_NO_EXPORT void _resetDaySlots();

    // The cell's slot after the application had its say; s is the slot filled for the cell.
    KIVO_CALENDAR_NO_EXPORT void offerToApplication(std::size_t index, const std::shared_ptr<KivoCalendar>& calendar,
                                                    const std::shared_ptr<KivoCalendarDaySlotBase>& slot, bool isAdjacentDay);
    KIVO_CALENDAR_NO_EXPORT void replaceCell(std::size_t index, const std::shared_ptr<plat::View>& view);

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _monthDate;
};
