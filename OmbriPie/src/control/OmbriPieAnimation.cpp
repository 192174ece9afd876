// OmbriPie: the turn of the selected slice to the selected-item position, at once or animated on the
// core's animation driver after its start delay, and the tooltip shown where the turn ends.

#include <cmath>
#include <numbers>

#include "ChartCore/KivoChartTooltip.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriPie/OmbriPie.h"
#include "PieTimers.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerHalfTurn = 180;

}  // namespace

void OmbriPie::turnToSelectedPosition() {
    const std::int64_t selected = _pieControl->validSelectedIndex();
    if (selected < 0) return;
    // A turn still running stops where it stands; the new one starts from there.
    stopSelectAnimation();
    _pieControl->setRotationAngle(_pieControl->appliedRotation());
    auto& angles = _pieControl->angles();
    angles = _pieControl->drawnMidAngles();
    const double mid = angles[static_cast<std::size_t>(selected)];
    double turn = 0;
    if (mid != 0 && _selectedItemPosition != 0) {
        _pieControl->getPieAngle();
        turn = _angle * Pi / DegreesPerHalfTurn - mid - _pieControl->rotationAngle();
    }
    if (isAnimated()) {
        // A turn within a degree is not animated.
        setTootipPoint();
        prepareForSelectAnimation(turn);
    } else {
        // The short way round, to the exact target: whole degrees would miss it by up to one.
        _pieControl->setTransform(_pieControl->transform().rotated(OmbriPieControl::shortestTurn(turn)));
        _pieControl->setRotationAngle(_pieControl->appliedRotation());
        _rotationAngle = _pieControl->rotationAngle();
    }
    _pieControl->angles().clear();
}

void OmbriPie::prepareForSelectAnimation(double angle) {
    stopSelectAnimation();
    const double e = OmbriPieControl::shortestTurn(angle);
    if (std::abs(e) <= MinimumAnimatedTurn) {
        // Too small to animate: the pie takes its place at once.
        applyRotation(e);
        _pieControl->invalidate();
        return;
    }
    _selectAnimationStartAngle = 0;
    _selectAnimationEndAngle = e;
    _animating = true;
    _selectStartTimer = kivo::detail::schedulePieTimer(sharedAs<OmbriPie>(), kivo::detail::pieStartDelay(_selectAnimation.get()),
                                                       &OmbriPie::_startSelectAnimation);
}

void OmbriPie::_startSelectAnimation() {
    kivo::detail::stopPieTimer(_selectStartTimer);
    _animationTime = 0;
    _selectAnimationRotatedAngle = 0;
    const double d = _selectAnimation ? _selectAnimation->duration() : 0;
    // A turn the driver cannot time ends at its first frame, like one whose delay it cannot time.
    const double delay = _selectAnimation ? _selectAnimation->startDelay() : 0;
    _selectDriver = kivo::detail::startPieMove(sharedAs<OmbriPie>(), KivoAnimation::isTimeable(d, delay) ? d : 0.0,
                                               &OmbriPie::_selectAnimationTimerTask);
}

void OmbriPie::_selectAnimationTimerTask(double t, double d, bool last) {
    const KivoEasePtr easing = _selectAnimation ? _selectAnimation->easing() : nullptr;
    const double change = _selectAnimationEndAngle - _selectAnimationStartAngle;
    _animationTime = t;
    if (!last) {
        const double angle = KivoEasingUtil::ease(easing, _animationTime, _selectAnimationStartAngle, change, d);
        // Only the transform moves: the slices are not drawn again until the end.
        _pieControl->setTransform(_pieControl->transform().rotated(angle - _selectAnimationRotatedAngle));
        _selectAnimationRotatedAngle = angle;
        return;
    }
    kivo::detail::stopPieMove(_selectDriver);
    // The end lands on the target itself, whatever the curve gives at the full duration.
    applyRotation(_selectAnimationEndAngle - _selectAnimationRotatedAngle);
    _selectAnimationRotatedAngle = _selectAnimationEndAngle;
    _animating = false;
    _pieControl->invalidate();
    kivo::detail::laterOnMain(sharedAs<OmbriPie>(), [](OmbriPie& pie) { pie.showFinalTooltip(); });
}

void OmbriPie::stopSelectAnimation() {
    kivo::detail::stopPieTimer(_selectStartTimer);
    kivo::detail::stopPieMove(_selectDriver);
    if (!_animating) return;
    _animating = false;
    _rotationAngle = appliedRotation();
    _pieControl->setRotationAngle(_rotationAngle);
}

void OmbriPie::showFinalTooltip() {
    // A selection made in code shows no tooltip after its turn.
    if (!_isTapping || !_selectAnimationDataPoint) return;
    const auto dp = dataPointOf(_selectAnimationDataPoint->pointIndex());
    showTooltipAt(dp, _selectAnimationSenderPoint);
}
