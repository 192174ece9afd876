#pragma once
// The calendar's decade page: a 4 × 3 grid of year slots. The middle ten are the decade itself; the
// first and last cells borrow one year from each neighbouring decade. Tapping a year zooms in on it.

#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoCalendarYearSlot.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

class KivoCalendar;

class KIVO_CALENDAR_EXPORT KivoCalendarDecadeView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarDecadeView> create(const plat::Rect& frame = {});

    static constexpr int Columns = 4;
    static constexpr int Rows = 3;
    static constexpr int SlotCount = Columns * Rows;
    static constexpr std::int64_t YearsPerDecade = 10;
    static constexpr double DefaultFontSize = 14;

    // Not owned. Attaching a calendar gives every slot the page's font and the calendar's text colour
    // (the adjacent colour to the first and last slot).
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar);
    // Any moment of a year of the decade shown; its year is the one a tap replaces. No date is
    // ignored; a date refreshes the page.
    const KivoOptionalDate& decadeDate() const { return _decadeDate; }
    void setDecadeDate(KivoOptionalDate date);

    // The year slots in grid order (also the page's subviews); each slot's tag is its year once the
    // page was refreshed (-1 before).
    const std::vector<std::shared_ptr<KivoCalendarYearSlot>>& yearLabels() const { return _yearLabels; }

    // Every slot's text colour (the adjacent years' too), border colour or border width.
    void setTextColor(const plat::Color& color);
    void setBorderColor(const plat::Color& color);
    void setBorderWidth(double width);

    // Texts, years, colours and marks of the slots, and the delegate's say on each slot; nothing
    // without a calendar or a date.
    void refresh();

    void layoutSubviews() override;

protected:
    explicit KivoCalendarDecadeView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    // Whether minDate or maxDate of the calendar rule out the whole year.
    KIVO_CALENDAR_NO_EXPORT bool _isYearDisabled(std::int64_t year) const;
    // A tap at `location` (in the page's coordinates) on a year that can be chosen zooms into it.
    KIVO_CALENDAR_NO_EXPORT void _respondToTap(plat::Point location);

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _decadeDate;
    plat::Font _decadeViewFont = plat::Font::system(DefaultFontSize);
    std::vector<std::shared_ptr<KivoCalendarYearSlot>> _yearLabels;
};
