#include "KivoDropDown/KivoDropDownButton.h"

#include "KivoCore/KivoRenderEngine.h"

std::shared_ptr<KivoDropDownButton> KivoDropDownButton::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoDropDownButton>(new KivoDropDownButton(frame)));
}

void KivoDropDownButton::initialize() {
    plat::Button::initialize();
    _initInternals();
}

void KivoDropDownButton::_initInternals() {
    _buttonColor = DefaultButtonColor;
    _renderEngine = KivoRenderEngine::create();
    _renderEngine->setStroke(_buttonColor);
    _renderEngine->setStrokeThickness(ChevronLineWidth);
    _isDropDownOpen = false;
}

void KivoDropDownButton::setDropDownButtonColor(const plat::Color& color) {
    if (color == _buttonColor) return;
    _buttonColor = color;
    _renderEngine->setStroke(color);
    setNeedsDisplay();
}

void KivoDropDownButton::updateDropDownButton(bool open) {
    if (open == _isDropDownOpen) return;
    _isDropDownOpen = open;
    setNeedsDisplay();
}

void KivoDropDownButton::drawRect(plat::Context& context, const plat::Rect& rect) {
    plat::Button::drawRect(context, rect);
    const double inset = rect.width() * ChevronInsetRatio;
    const plat::Rect r = rect.insetBy(inset, inset);
    if (!(r.width() > 0) || !(r.height() > 0)) return;
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    // The chevron's arms meet at the middle: low for a closed popup (pointing down), high for an open one.
    const double ends = _isDropDownOpen ? y + 3 * h / 4 : y + h / 4;
    const double tip = _isDropDownOpen ? y + h / 4 : y + 3 * h / 4;
    _renderEngine->drawLine(x, ends, x + w / 2, tip);
    _renderEngine->drawLine(x + w / 2, tip, x + w, ends);
}
