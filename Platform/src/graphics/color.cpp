#include "Platform/graphics/color.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {
double unit(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }
}  // namespace

Color Color::fromHSB(double hue, double saturation, double brightness, double alpha) {
    double h = std::isfinite(hue) ? hue - std::floor(hue) : 0.0;
    double s = unit(saturation), v = unit(brightness);
    double sector = h * 6.0;
    int i = static_cast<int>(std::floor(sector)) % 6;
    double f = sector - std::floor(sector);
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
        case 0:
            return {v, t, p, alpha};
        case 1:
            return {q, v, p, alpha};
        case 2:
            return {p, v, t, alpha};
        case 3:
            return {p, q, v, alpha};
        case 4:
            return {t, p, v, alpha};
        default:
            return {v, p, q, alpha};
    }
}

Color::HSB Color::toHSB() const {
    double rr = unit(r), gg = unit(g), bb = unit(b);
    double mx = std::max({rr, gg, bb}), mn = std::min({rr, gg, bb});
    double delta = mx - mn;
    HSB out;
    out.alpha = a;
    out.brightness = mx;
    out.saturation = mx > 0 ? delta / mx : 0;
    if (delta > 0) {
        double h;
        if (mx == rr)
            h = (gg - bb) / delta;
        else if (mx == gg)
            h = 2 + (bb - rr) / delta;
        else
            h = 4 + (rr - gg) / delta;
        h /= 6;
        if (h < 0) h += 1;
        out.hue = h;
    }
    return out;
}

Color Color::clamped() const { return {unit(r), unit(g), unit(b), unit(a)}; }

bool nearlyEqual(const Color& x, const Color& y, double tolerance) {
    return std::fabs(x.r - y.r) <= tolerance && std::fabs(x.g - y.g) <= tolerance && std::fabs(x.b - y.b) <= tolerance &&
           std::fabs(x.a - y.a) <= tolerance;
}

const ColorObject& sharedWhiteColor() {
    static const ColorObject white(Color::white());
    return white;
}

const ColorObject& sharedBlackColor() {
    static const ColorObject black(Color::black());
    return black;
}

const ColorObject& sharedClearColor() {
    static const ColorObject clear(Color::clear());
    return clear;
}

}  // namespace plat
