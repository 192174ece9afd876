#include "KivoDropDown/KivoDropDownView.h"

#include <cmath>

std::shared_ptr<KivoDropDownView> KivoDropDownView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoDropDownView>(new KivoDropDownView(frame)));
}

void KivoDropDownView::initialize() {
    plat::View::initialize();
    setBackgroundColor(DefaultBackgroundColor);
}

void KivoDropDownView::setDropDownHeight(double height) {
    if (!std::isfinite(height) || height < 0) return;
    const plat::Rect f = frame();
    setFrame({f.x(), f.y(), f.width(), height});
    refresh();
}

void KivoDropDownView::setDropDownWidth(double width) {
    if (!std::isfinite(width) || width < 0) return;
    const plat::Rect f = frame();
    setFrame({f.x(), f.y(), width, f.height()});
    refresh();
}
