#include "Platform/ui/screen.h"

#include <cmath>

namespace plat {

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

void Screen::setBounds(const Rect& bounds) {
    if (!(bounds.width() >= 0 && bounds.height() >= 0) || !std::isfinite(bounds.width()) || !std::isfinite(bounds.height()))
        return;
    _bounds = bounds;
}

void Screen::setScale(double scale) {
    if (scale > 0 && std::isfinite(scale)) _scale = scale;
}

void Screen::reset() { *this = Screen(); }

}  // namespace plat
