// OmbriPieControl: the load animation (a cover in the background colour, uncovered frame by frame) and
// the three kinds of data update (a slice grows, shrinks, or moves to its new value), both on the
// shared animation driver.

#include <cmath>
#include <numbers>

#include "KivoCore/KivoEasing.h"
#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieControl.h"
#include "PieFrame.h"
#include "PieTimers.h"
#include "Platform/runtime/async_semaphore.h"
#include "Platform/ui/shape_layer.h"

using kivo::detail::pieStartDelay;
using kivo::detail::schedulePieTimer;
using kivo::detail::startPieMove;
using kivo::detail::stopPieMove;
using kivo::detail::stopPieTimer;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerHalfTurn = 180;

}  // namespace

OmbriPieControl::~OmbriPieControl() {
    for (auto* t : {&_loadStartTimer, &_updateStartTimer}) stopPieTimer(*t);
    for (auto* d : {&_loadDriver, &_updateDriver}) stopPieMove(*d);
}

// ---- Load animation ----

void OmbriPieControl::startLoadAnimation() {
    stopLoadAnimation();
    const plat::Rect b = bounds();
    _animationRadius = std::min(b.width() / 2, b.height() / 2);
    _animationMode = _loadAnimation ? _loadAnimation->animationMode() : _animationMode;
    setAlpha(0);
    // The delay is read now: a change made while the animation waits is for the next one.
    const double delay = pieStartDelay(_loadAnimation.get());
    _loadStartTimer = schedulePieTimer(sharedAs<OmbriPieControl>(), delay, &OmbriPieControl::_startLoadAnimation);
}

void OmbriPieControl::_startLoadAnimation() {
    stopPieTimer(_loadStartTimer);
    const auto p = pie();
    if (!p) return;
    _animationStartAngle = _startAngle * Pi / DegreesPerHalfTurn;
    _animationSweepAngle = 2 * Pi;

    const plat::Rect b = bounds();
    _animationLayer = plat::ShapeLayer::create();
    // The cover shares the view's coordinates, so the paths need no conversion.
    _animationLayer->setBounds(b);
    _animationLayer->setPosition({b.x() + b.width() / 2, b.y() + b.height() / 2});
    layer()->addSublayer(_animationLayer);
    const double cx = b.x() + _animationRadius, cy = b.y() + _animationRadius;
    _animationLayer->setPath(_animationMode == KivoLoadAnimationModePoint
                                 ? _getPiePath(cx, cy, _animationRadius, _animationStartAngle, 2 * Pi)
                                 : _getPiePath(cx, cy, 0));
    std::optional<plat::Color> cover;
    if (const auto& own = p->backgroundColor(); own && own->a != 0)
        cover = own;
    else if (const auto ancestor = getSuperView())
        cover = ancestor->backgroundColor();
    _animationLayer->setFillColor(cover);

    _animationTime = 0;
    _loadDriver = startPieMove(sharedAs<OmbriPieControl>(), _loadAnimation ? _loadAnimation->duration() : 0,
                               &OmbriPieControl::_loadAnimationTimerTask);
    setAlpha(1.0);
}

void OmbriPieControl::_loadAnimationTimerTask(double t, double d, bool last) {
    const auto p = pie();
    if (!p || !_animationLayer || !_loadAnimation) {
        stopLoadAnimation();
        return;
    }
    _animationTime = t;
    if (last) {
        stopLoadAnimation();
        _firstLoad = false;
        return;
    }
    const plat::Rect b = bounds();
    const double cx = b.x() + _animationRadius, cy = b.y() + _animationRadius;
    const auto& easing = _loadAnimation->easing();
    if (_animationMode == KivoLoadAnimationModePoint) {
        const double a0 = p->startAngle() * Pi / DegreesPerHalfTurn;
        const double e = KivoEasingUtil::ease(easing, _animationTime, a0, 2 * Pi, d);
        _animationStartAngle = e;
        _animationSweepAngle = 2 * Pi - e + a0;
        // The sector path covers what a slice from its start over its sweep leaves open: given the
        // part revealed so far (a0 to e), it covers the rest, e on to a0 a turn later. (Given the
        // cover's own sector it would cover the revealed part and bare the rest.)
        const double revealed = e - a0;
        _animationLayer->setPath(_getPiePath(cx, cy, _animationRadius, a0, revealed > 0 ? revealed : 2 * Pi));
    } else {
        const double q = KivoEasingUtil::ease(easing, _animationTime, 0, _animationRadius, d);
        _animationLayer->setPath(_getPiePath(cx, cy, q));
    }
}

void OmbriPieControl::stopLoadAnimation() {
    stopPieTimer(_loadStartTimer);
    stopPieMove(_loadDriver);
    if (_animationLayer) {
        _animationLayer->removeFromSuperlayer();
        _animationLayer.reset();
    }
    setAlpha(1.0);
}

// ---- Data updates ----

void OmbriPieControl::handOverUpdate(ValueChanges changes) {
    _addedValueArr = std::move(changes.added);
    _removedValueArr = std::move(changes.removed);
    _changedValueArr = std::move(changes.changed);
    _addedValueInd = std::move(changes.addedAt);
    _removedValueInd = std::move(changes.removedAt);
    _changedValueInd = std::move(changes.changedAt);
    _isUpdateAnimated = true;
}

void OmbriPieControl::startUpdateAnimation() {
    stopPieTimer(_updateStartTimer);
    // Rebindings until now all ended at the values this update eases to.
    _tempSum = _sum;
    _myTime = 0;
    _finalValues = _values;
    _updateTick = !_addedValueArr.empty()     ? &OmbriPieControl::increasePieSliceAnimation
                  : !_removedValueArr.empty() ? &OmbriPieControl::reducePieSliceAnimation
                  : !_changedValueArr.empty() ? &OmbriPieControl::changePieSliceAnimation
                                              : nullptr;
    _isUpdateAnimated = false;
    _updateDuration = _updateAnimation ? _updateAnimation->duration() : 0;
    const double delay = _updateAnimation ? _updateAnimation->startDelay() : 0;
    if (!_updateTick || !KivoAnimation::isTimeable(_updateDuration, delay)) {
        // Nothing to animate, or no time to do it in: the new values show at once.
        finishUpdate();
        return;
    }
    _updateDriver = startPieMove(sharedAs<OmbriPieControl>(), _updateDuration, &OmbriPieControl::updateAnimationStep);
    // The first frame at once: the new values must not show whole before the driver's first frame.
    (this->*_updateTick)();
}

void OmbriPieControl::updateAnimationStep(double t, double d, bool last) {
    _myTime = t;
    _updateDuration = d;
    if (last || !_updateTick) {
        finishUpdate();
        return;
    }
    (this->*_updateTick)();
}

bool OmbriPieControl::updateTickEnds() {
    // A pie with nothing left to show cannot be eased: it shows its final values.
    if (!(_sum > 0)) {
        finishUpdate();
        return true;
    }
    return false;
}

namespace {

bool within(const std::vector<double>& values, std::int64_t j) { return j >= 0 && static_cast<std::size_t>(j) < values.size(); }

}  // namespace

template <class Write>
void OmbriPieControl::updateFrame(const std::vector<double>& base, const std::vector<double>& recorded,
                                  const std::vector<std::int64_t>& indices, Write write) {
    if (updateTickEnds()) return;
    const double t = _myTime, d = _updateDuration;
    const auto& easing = _updateAnimation ? _updateAnimation->easing() : nullptr;
    _values = base;
    for (std::size_t k = 0; k < recorded.size() && k < indices.size(); ++k) {
        const std::int64_t j = indices[k];
        if (!within(_values, j)) continue;
        write(static_cast<std::size_t>(j), recorded[k],
              [&](double change) { return KivoEasingUtil::ease(easing, t, 0, change, d); });
    }
    // The frame's sum is what it draws, so the slices always fill exactly one turn.
    _sum = kivo::detail::absoluteSum(_values);
    invalidate();
}

void OmbriPieControl::increasePieSliceAnimation() {
    // The new slices grow from nothing in the new values.
    updateFrame(_finalValues, _addedValueArr, _addedValueInd,
                [this](std::size_t j, double a, const auto& ease) { _values[j] = ease(a); });
}

void OmbriPieControl::reducePieSliceAnimation() {
    // The old values still hold the removed slices, which shrink to nothing.
    updateFrame(_preValues, _removedValueArr, _removedValueInd,
                [this](std::size_t j, double a, const auto& ease) { _values[j] = a - ease(a); });
}

void OmbriPieControl::changePieSliceAnimation() {
    updateFrame(_finalValues, _changedValueArr, _changedValueInd, [this](std::size_t j, double n, const auto& ease) {
        if (j >= _preValues.size()) return;
        const double o = _preValues[j];
        _values[j] = n - o == 0 ? n : o + ease(n - o);
    });
}

void OmbriPieControl::finishUpdate() {
    stopPieMove(_updateDriver);
    _updateTick = nullptr;
    _values = _finalValues;
    _sum = _tempSum;
    _myTime = _updateDuration;
    _isUpdateAnimated = false;
    _preValues = _values;
    if (const auto p = pie()) _preLabels = p->labels();
    invalidate();
    _semaphore->signal();
}
