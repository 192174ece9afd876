// The header's chevron buttons: drawn through the calendar's render engine, pointing along the
// calendar's orientation, greyed when the page they lead to cannot be reached.

#include "KivoCalendar/KivoCalendarHeaderButton.h"

#include <algorithm>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCore/KivoRenderEngine.h"

namespace {

// Added to the end of each chevron's first stroke so the two strokes meet without a notch.
constexpr double ArrowJoin = 0.7071067811865475;

}  // namespace

std::shared_ptr<KivoCalendarHeaderButton> KivoCalendarHeaderButton::create(bool isNextButton) {
    auto button = initialized(std::shared_ptr<KivoCalendarHeaderButton>(new KivoCalendarHeaderButton({})));
    button->setIsNextButton(isNextButton);
    return button;
}

plat::Color KivoCalendarHeaderButton::arrowColor() const {
    auto calendar = kivoCalendar();
    if (!calendar) return plat::Color::clear();
    return calendar->isAdjacentMonthOrYearDisabled(_isNextButton ? 1 : -1) ? calendar->disabledTextColor()
                                                                           : calendar->headerTextColor();
}

void KivoCalendarHeaderButton::drawRect(plat::Context&, const plat::Rect& rect) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->renderEngine()) return;
    KivoRenderEngine& engine = *calendar->renderEngine();
    const double s = std::min(rect.width(), rect.height());
    const double x = rect.x() + (rect.width() - s) / 2, y = rect.y() + (rect.height() - s) / 2;
    auto saved = engine.saveState();
    engine.setStrokeThickness(ArrowThickness);
    engine.setStroke(arrowColor());
    const double inset = s / ArrowInsetDivisor;
    drawArrow(x + inset, y + inset, s - 2 * inset, s - 2 * inset);
    engine.restoreState(saved);
}

void KivoCalendarHeaderButton::drawArrow(double x, double y, double w, double h) const {
    KivoRenderEngine& engine = *kivoCalendar()->renderEngine();
    const double c = ArrowJoin;
    const bool horizontal = kivoCalendar()->orientation() == KivoCalendarOrientationHorizontal;
    if (horizontal && _isNextButton) {
        engine.drawLine(x + w / 4, y, x + 3 * w / 4 + c, y + h / 2 + c);
        engine.drawLine(x + 3 * w / 4, y + h / 2, x + w / 4, y + h);
    } else if (horizontal) {
        engine.drawLine(x + 3 * w / 4, y, x + w / 4 - c, y + h / 2 + c);
        engine.drawLine(x + w / 4, y + h / 2, x + 3 * w / 4, y + h);
    } else if (_isNextButton) {
        engine.drawLine(x, y + h / 4, x + w / 2 + c, y + 3 * h / 4 + c);
        engine.drawLine(x + w / 2, y + 3 * h / 4, x + w, y + h / 4);
    } else {
        engine.drawLine(x, y + 3 * h / 4, x + w / 2 + c, y + h / 4 + c);
        engine.drawLine(x + w / 2, y + h / 4, x + w, y + 3 * h / 4);
    }
}
