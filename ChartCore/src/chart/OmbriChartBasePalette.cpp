// OmbriChartBase: the palette and the colours derived from it.

#include <algorithm>
#include <array>
#include <cmath>

#include "ChartCore/OmbriChartBase.h"

namespace {

// Ten colours that stay apart from each other on white and on dark backgrounds.
constexpr std::array<plat::Color, 10> DefaultPalette{{
    plat::Color::rgb255(47, 111, 179),
    plat::Color::rgb255(232, 131, 58),
    plat::Color::rgb255(78, 159, 80),
    plat::Color::rgb255(214, 69, 80),
    plat::Color::rgb255(132, 99, 184),
    plat::Color::rgb255(42, 165, 168),
    plat::Color::rgb255(199, 161, 46),
    plat::Color::rgb255(212, 111, 166),
    plat::Color::rgb255(122, 106, 88),
    plat::Color::rgb255(111, 143, 168),
}};

// A darker colour keeps this share of each component; a lighter one moves this share towards white.
constexpr double DarkenShare = 0.7;
constexpr double LightenShare = 0.4;

double alphaOr(double opacity, double fallback) { return std::isnan(opacity) ? fallback : std::clamp(opacity, 0.0, 1.0); }

}  // namespace

std::vector<plat::Color> OmbriChartBase::defaultPalette() { return {DefaultPalette.begin(), DefaultPalette.end()}; }

void OmbriChartBase::setPalette(std::vector<plat::Color> palette) {
    if (palette.empty()) palette = defaultPalette();
    if (palette == _palette) return;
    _palette = std::move(palette);
    invalidate();
}

plat::Color OmbriChartBase::getColor(std::int64_t index) const {
    const auto n = static_cast<std::int64_t>(_palette.size());
    if (n == 0) return DefaultPalette[0];
    return _palette[static_cast<std::size_t>(((index % n) + n) % n)];
}

plat::Color OmbriChartBase::getColor(std::int64_t index, double opacity) const {
    const plat::Color c = getColor(index);
    return c.withAlpha(alphaOr(opacity, c.a));
}

plat::Color OmbriChartBase::lighten(const plat::Color& color, double opacity) {
    auto up = [](double v) { return v + (1.0 - v) * LightenShare; };
    return {up(color.r), up(color.g), up(color.b), alphaOr(opacity, color.a)};
}

plat::Color OmbriChartBase::darken(const plat::Color& color) {
    return {color.r * DarkenShare, color.g * DarkenShare, color.b * DarkenShare, color.a};
}
