#pragma once
// The chevron buttons either side of the calendar's header title.

#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/button.h"

class KivoCalendar;

// A header button: a chevron drawn in the header's text colour, or in the calendar's disabled colour
// when the page it leads to cannot be reached.
class KIVO_CALENDAR_EXPORT KivoCalendarHeaderButton : public plat::Button {
public:
    static std::shared_ptr<KivoCalendarHeaderButton> create(bool isNextButton);

    // Not owned.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }
    bool isNextButton() const { return _isNextButton; }
    void setIsNextButton(bool next) { _isNextButton = next; }

    // The colour the chevron is drawn in now.
    plat::Color arrowColor() const;
    void drawRect(plat::Context& context, const plat::Rect& rect) override;

    static constexpr double ArrowThickness = 2.0;
    // The chevron's box is the button's square less this share of its side on every edge.
    static constexpr double ArrowInsetDivisor = 6;

protected:
    explicit KivoCalendarHeaderButton(const plat::Rect& frame) : plat::Button(frame) {}

private:
    KIVO_CALENDAR_NO_EXPORT void drawArrow(double x, double y, double w, double h) const;

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    bool _isNextButton = false;
};
