// The gauge's touch input: a tap sets the value (unless read-only or kept by the delegate), a pinch
// zooms the drawing (never below the view's own size), and the pan recogniser is refused every touch
// so that a drag never changes the value.

#include <algorithm>
#include <cmath>

#include "OmbriGauge/KivoGauge.h"
#include "Platform/ui/gestures.h"

namespace {
// The pinch never zooms out below the view's own size.
constexpr double MinimumZoom = 1.0;
}  // namespace

double KivoGauge::getValueFromPoint(const std::shared_ptr<KivoPoint>&) { return NAN; }

double KivoGauge::hitTest(const std::shared_ptr<KivoPoint>& point) {
    if (_isReadOnly || !point) return value();
    return hitTest(point->x(), point->y());
}

double KivoGauge::hitTest(double x, double y) {
    if (_isReadOnly) return value();
    return getValueFromPoint(KivoPoint::create(x, y));
}

plat::Point KivoGauge::_undoZoom(plat::Point point) const {
    if (_zoomTransform.isIdentity()) return point;
    const plat::Point c = bounds().center();
    const plat::Point p = _zoomTransform.inverted().apply({point.x - c.x, point.y - c.y});
    return {p.x + c.x, p.y + c.y};
}

void KivoGauge::respondToTapGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();
    if (recognizer.state() != plat::GestureRecognizerState::Recognized) return;
    const plat::Point at = _undoZoom(recognizer.locationInView(this));
    auto point = KivoPoint::create(at.x, at.y);
    raiseGaugeTapped(point);
    if (auto d = delegate()) {
        if (d->tapped(sharedAs<KivoGauge>(), point).value_or(false)) return;
    }
    setValue(hitTest(point->x(), point->y()));
}

void KivoGauge::respondToPinchGesture(plat::GestureRecognizer& recognizer) {
    auto* pinch = dynamic_cast<plat::PinchGestureRecognizer*>(&recognizer);
    if (!pinch) return;
    const auto state = recognizer.state();
    if (state == plat::GestureRecognizerState::Began) _previousScale = _scale;
    const double s = std::max(MinimumZoom, pinch->scale() * _scale);
    if (std::isfinite(s)) {
        // A pinch that arrives without its start zooms from the settled scale.
        const double from = _previousScale > 0 ? _previousScale : _scale;
        _zoomTransform = _zoomTransform.scaled(s / from, s / from);
        _previousScale = s;
        invalidate();
    }
    if (state == plat::GestureRecognizerState::Ended || state == plat::GestureRecognizerState::Cancelled ||
        state == plat::GestureRecognizerState::Failed)
        _scale = _previousScale;
}

void KivoGauge::respondToPanGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();
    const plat::Point at = _undoZoom(recognizer.locationInView(this));
    if (!_isReadOnly) _panUpdateFlag = true;
    setValue(hitTest(at.x, at.y));
}

bool KivoGauge::gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch&) {
    return &recognizer != static_cast<plat::GestureRecognizer*>(_panRecognizer.get());
}
