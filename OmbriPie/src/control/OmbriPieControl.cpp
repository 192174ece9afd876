// OmbriPieControl: construction, the drawing entry, the selected-item position and the small helpers.
// The pass is in OmbriPieControlRender.cpp.

#include "OmbriPie/OmbriPieControl.h"

#include <cmath>
#include <numbers>

#include "OmbriPie/OmbriPie.h"
#include "PieFrame.h"
#include "PieMaskPaths.h"
#include "Platform/runtime/async_semaphore.h"

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
    _semaphore = std::make_shared<plat::dispatch::AsyncSemaphore>(1);
}

// ---- Drawing entry ----

void OmbriPieControl::drawRect(plat::Context&, const plat::Rect&) {
    if (!_engine || !isRectValid() || !pie()) return;
    const auto keep = weak_from_this().lock();  // application code in the pass may drop the pie and this view
    render(_engine);

    const std::int64_t mode = _loadAnimation ? _loadAnimation->animationMode() : _animationMode;
    // One load animation at a time: passes while it waits or runs start none, unless the mode changed.
    if (isLoadAnimating()) {
        if (mode != _animationMode) startLoadAnimation();
        return;
    }
    const bool playable = _isAnimated && _loadAnimation && _loadAnimation->isValid();
    if (_firstLoad && playable) {
        startLoadAnimation();
        return;
    }
    if (mode == _animationMode) {
        if (!playable) _firstLoad = false;
        return;
    }
    startLoadAnimation();
}

double OmbriPieControl::appliedRotation() const {
    const plat::AffineTransform& t = transform();
    return std::atan2(t.b, t.a);
}

double OmbriPieControl::shortestTurn(double angle) {
    if (!std::isfinite(angle)) return 0;
    double a = std::fmod(angle + Pi, 2 * Pi);
    if (a < 0) a += 2 * Pi;
    return a - Pi;
}

// ---- Sweep rule ----

double OmbriPieControl::sweep(double value, double sum) {
    const double v = std::abs(value);
    if (std::abs(v - sum) < FullTurnTolerance) return 2 * Pi;
    return v * 2 * Pi / sum;
}

const std::vector<std::string>& OmbriPieControl::drawnLabels() const {
    static const std::vector<std::string> none;
    if (drawsOldLayout()) return _preLabels;
    return _frame ? _frame->labels : none;
}

std::int64_t OmbriPieControl::validSelectedIndex() const {
    const auto n = static_cast<std::int64_t>(drawnValues().size());
    return _selectedIndex >= 0 && _selectedIndex < n ? _selectedIndex : -1;
}

// ---- The selected-item position ----

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
