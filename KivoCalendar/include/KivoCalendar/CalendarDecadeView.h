#pragma once
// A decade page of the calendar (the ten years of a decade with one year either side), and the base
// of the views that stand in its year cells.

#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/ui/view.h"

class KivoCalendar;

class KIVO_CALENDAR_EXPORT KivoCalendarYearSlotBase : public plat::View {
protected:
    explicit KivoCalendarYearSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

class KIVO_CALENDAR_EXPORT KivoCalendarDecadeView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarDecadeView> create(const plat::Rect& frame = {});

    // Not owned.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }
    // Any moment of a year of the decade shown.
    const KivoOptionalDate& decadeDate() const { return _decadeDate; }
    void setDecadeDate(KivoOptionalDate date);

    // Redraws the page from the calendar's current look.
    void refresh() { setNeedsDisplay(); }

protected:
    explicit KivoCalendarDecadeView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _decadeDate;
};
