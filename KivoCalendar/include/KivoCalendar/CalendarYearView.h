#pragma once
// The year page of the calendar (the twelve months of one year), and the base of the views that
// stand in its month cells.

#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/ui/view.h"

class KivoCalendar;

class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlotBase : public plat::View {
protected:
    explicit KivoCalendarMonthSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

class KIVO_CALENDAR_EXPORT KivoCalendarYearView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarYearView> create(const plat::Rect& frame = {});

    // Not owned.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }
    // Any moment of the year shown.
    const KivoOptionalDate& yearDate() const { return _yearDate; }
    void setYearDate(KivoOptionalDate date);

    // Redraws the page from the calendar's current look.
    void refresh() { setNeedsDisplay(); }

protected:
    explicit KivoCalendarYearView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _yearDate;
};
