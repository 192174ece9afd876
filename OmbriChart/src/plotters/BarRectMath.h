#pragma once
// Rectangle arithmetic shared by the bar plotter's static and update geometry: every bar rectangle
// leaves the plotter with its minimum corner and a non-negative size, whatever the direction of the
// axes that produced its edges.

#include <cmath>
#include <memory>
#include <optional>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoAxis.h"

namespace kivo::detail {

// The rectangle (left, top, width, height) moved to its minimum corner with absolute sizes. A negative
// width (a reversed category axis, an edge pair taken in the other order) covers the same ground as
// its normalised form. NaN parts stay NaN: such a bar is skipped by the caller.
inline KivoRect normalisedBar(double left, double top, double width, double height) {
    if (width < 0) {
        left += width;
        width = -width;
    }
    if (height < 0) {
        top += height;
        height = -height;
    }
    return {left, top, width, height};
}
inline std::shared_ptr<KivoRect> normalisedRect(double left, double top, double width, double height) {
    const KivoRect bar = normalisedBar(left, top, width, height);
    return KivoRect::create(bar.left(), bar.top(), bar.width(), bar.height());
}

// The same for a rectangle already made; null stays null (a point with no rectangle).
inline std::shared_ptr<KivoRect> normalisedRect(const std::shared_ptr<KivoRect>& rect) {
    if (!rect) return nullptr;
    return normalisedRect(rect->left(), rect->top(), rect->width(), rect->height());
}

// Whether every part of the rectangle is a finite number: a bar that can be drawn and hit.
inline bool isFiniteRect(const KivoRect& rect) {
    return std::isfinite(rect.left()) && std::isfinite(rect.top()) && std::isfinite(rect.width()) && std::isfinite(rect.height());
}

// An axis' convert(value), its linear arithmetic taken once for all the bars of a series rather than
// asked of the axis per edge; the same arithmetic, so the same places.
class AxisPlace {
public:
    explicit AxisPlace(const KivoAxis& axis) : _axis(&axis), _linear(axis.linearConversion()) {}
    double operator()(double value) const { return _linear ? (*_linear)(value) : _axis->convert(value); }

private:
    const KivoAxis* _axis;
    std::optional<KivoAxis::LinearConversion> _linear;
};

// Both axes' places, and whether the X axis runs backwards, for one series' bars.
struct BarAxisPlaces {
    BarAxisPlaces(const KivoAxis& axisX, const KivoAxis& axisY) : x(axisX), y(axisY), reversedX(axisX.reversed()) {}
    AxisPlace x, y;
    bool reversedX;
};

}  // namespace kivo::detail
