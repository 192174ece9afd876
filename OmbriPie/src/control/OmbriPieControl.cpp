// OmbriPieControl: construction, the drawing entry, the turn to the selected position and the small
// helpers. The drawing pass is in OmbriPieControlRender.cpp.

#include "OmbriPie/OmbriPieControl.h"

#include <cmath>
#include <numbers>

#include "OmbriPie/OmbriPie.h"
#include "PieMaskPaths.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerHalfTurn = 180;

}  // namespace

std::shared_ptr<OmbriPieControl> OmbriPieControl::create(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriPieControl>(new OmbriPieControl(pie, frame)));
}

OmbriPieControl::OmbriPieControl(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame) : View(frame), _pie(pie) {}

void OmbriPieControl::initialize() {
    View::initialize();
    setBackgroundColor(plat::Color::clear());
    setContentMode(plat::ViewContentMode::Redraw);
    _loadAnimation = KivoChartLoadAnimation::create();
    _updateAnimation = std::make_shared<KivoAnimation>();
    _rectPie = KivoRect::create();
}

// ---- Drawing entry ----

void OmbriPieControl::drawRect(plat::Context&, const plat::Rect&) {
    if (!_engine || !isRectValid() || !pie()) return;
    const auto keep = weak_from_this().lock();  // application code in the pass may drop the pie and this view
    render(_engine);
    // The load animation is not played: a first pass ends the first load, as a disabled one does.
    if (_firstLoad) _firstLoad = false;
}

// ---- Sweep rule ----

double OmbriPieControl::sweep(double value, double sum) {
    const double v = std::abs(value);
    if (std::abs(v - sum) < FullTurnTolerance) return 2 * Pi;
    return v * 2 * Pi / sum;
}

std::int64_t OmbriPieControl::validSelectedIndex() const {
    const auto n = static_cast<std::int64_t>(drawnValues().size());
    return _selectedIndex >= 0 && _selectedIndex < n ? _selectedIndex : -1;
}

// ---- The turn to the selected position ----

void OmbriPieControl::transfromPieControlAndSetRotationAngle(double sum, double angle) {
    const auto p = pie();
    const std::int64_t selected = validSelectedIndex();
    if (!p || selected < 0) return;
    const auto& values = drawnValues();
    double a = angle;
    for (const double v : values) {
        const double w = sweep(v, sum);
        _angles.push_back(_reversed ? a - w / 2 : a + w / 2);
        a = _reversed ? a - w : a + w;
    }
    const double mid = _angles[static_cast<std::size_t>(selected)];
    double turn = 0;
    if (mid != 0 && p->selectedItemPosition() != 0) {
        getPieAngle();
        turn = p->angle() * Pi / DegreesPerHalfTurn - mid - _rotationAngle;
    }
    if (!p->isAnimated()) {
        const double degrees = OmbriPie::clampAngle(turn * DegreesPerHalfTurn / Pi);
        const plat::AffineTransform t = transform().rotated(degrees * Pi / DegreesPerHalfTurn);
        setTransform(t);
        // The platform reads a transform's angle in single precision.
        _rotationAngle = static_cast<double>(std::atan2(static_cast<float>(t.b), static_cast<float>(t.a)));
        p->setRotationAngle(_rotationAngle);
    }
    // An animated turn is the pie's selection animation to run; this view then stays as it is.
    _angles.clear();
}

void OmbriPieControl::getPieAngle() {
    const auto p = pie();
    if (!p) return;
    switch (p->selectedItemPosition()) {
        case KivoAxisPositionLeft:
            p->setAngle(0);
            break;
        case KivoAxisPositionTop:
            p->setAngle(90);
            break;
        case KivoAxisPositionRight:
            p->setAngle(180);
            break;
        case KivoAxisPositionBottom:
            p->setAngle(270);
            break;
        default:
            break;
    }
}

// ---- Load-animation covers ----

plat::Path OmbriPieControl::_getPiePath(double cx, double cy, double radius) const {
    return kivo::pie::ringMaskPath(cx, cy, radius, _animationRadius);
}

plat::Path OmbriPieControl::_getPiePath(double cx, double cy, double radius, double startAngle, double sweepAngle) const {
    return kivo::pie::sectorMaskPath(cx, cy, radius, startAngle, sweepAngle);
}

// ---- Helpers ----

std::shared_ptr<plat::View> OmbriPieControl::getSuperView() const {
    const auto p = pie();
    for (auto v = p ? p->superview() : nullptr; v; v = v->superview())
        if (const auto& c = v->backgroundColor(); c && _getcolorAlpha(*c) > 0) return v;
    return nullptr;
}

double OmbriPieControl::_getcolorAlpha(const plat::Color& color) { return color.a; }
