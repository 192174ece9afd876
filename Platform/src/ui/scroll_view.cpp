#include "Platform/ui/scroll_view.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/animation.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/layer.h"

namespace plat {

namespace {

// How stiff the rubber band is past the edges: the share of a short overscroll that shows.
constexpr double RubberBandStiffness = 0.55;
// A deceleration stops once this little is left to go (points).
constexpr double RestDistance = 0.5;
constexpr double IndicatorFadeDuration = 0.2;
// An overscrolled indicator shrinks by the overscroll, down to this.
constexpr double IndicatorSquashedLength = 7;

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// How far past an edge the content shows when the finger is `distance` past it, in a view `extent` long.
double rubberBand(double distance, double extent) {
    if (!(extent > 0)) return 0;
    return (1 - 1 / (distance * RubberBandStiffness / extent + 1)) * extent;
}

// The offset along one axis while dragging: the finger's, with resistance past the edges.
double dragged(double raw, double lo, double hi, double extent, bool bounces) {
    if (raw < lo) return bounces ? lo - rubberBand(lo - raw, extent) : lo;
    if (raw > hi) return bounces ? hi + rubberBand(raw - hi, extent) : hi;
    return raw;
}

}  // namespace

// Where the content is going after the finger lifted, or after a programmatic animated scroll.
struct ScrollView::Motion {
    enum class Kind { Decay, Ease };
    enum class Cause { Deceleration, Animation };
    Kind kind = Kind::Ease;
    Cause cause = Cause::Deceleration;
    Point from, to;
    double start = 0;
    double duration = 0;  // Ease
    double rate = 0;      // Decay: the exponent per second
    TimingFunction timing = TimingFunction::easeOut();

    // The offset at clock time `now`, and whether the motion has arrived.
    std::pair<Point, bool> at(double now) const {
        const double t = std::max(0.0, now - start);
        double f = 1;
        bool done = true;
        if (kind == Kind::Ease) {
            done = t >= duration;
            f = done ? 1 : timing.evaluate(t / duration);
        } else {
            const double left = std::exp(-rate * t);
            const double remaining = std::max(std::fabs(to.x - from.x), std::fabs(to.y - from.y)) * left;
            done = remaining < RestDistance;
            f = done ? 1 : 1 - left;
        }
        if (done) return {to, true};
        return {{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f}, false};
    }
};

std::shared_ptr<ScrollView> ScrollView::create(const Rect& frame) {
    return initialized(std::shared_ptr<ScrollView>(new ScrollView(frame)));
}

ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

ScrollView::~ScrollView() {
    if (_link) _link->invalidate();
    if (_indicatorTimer) _indicatorTimer->invalidate();
}

void ScrollView::initialize() {
    View::initialize();
    std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
    _pan = PanGestureRecognizer::create([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) self->handlePan();
    });
    addGestureRecognizer(_pan);

    for (auto* indicator : {&_horizontalIndicator, &_verticalIndicator}) {
        *indicator = Layer::create();
        (*indicator)->setBackgroundColor(IndicatorColor);
        (*indicator)->setCornerRadius(IndicatorThickness / 2);
        (*indicator)->setHidden(true);
        layer()->addSublayer(*indicator);
    }
}

// ---- Content ----

void ScrollView::setBounds(const Rect& bounds) {
    const Point before = contentOffset();
    View::setBounds(bounds);
    if (contentOffset() == before) return;
    setNeedsLayout();
    updateIndicators();
    contentOffsetDidChange();
    if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

void ScrollView::setContentOffset(Point offset) {
    if (!finite(offset)) return;
    stopMotion();
    setBounds({offset, bounds().size});
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (!animated || !finite(offset)) {
        setContentOffset(offset);
        return;
    }
    if (offset == contentOffset()) return;
    auto motion = std::make_unique<Motion>();
    motion->kind = Motion::Kind::Ease;
    motion->cause = Motion::Cause::Animation;
    motion->from = contentOffset();
    motion->to = offset;
    motion->duration = ScrollAnimationDuration;
    motion->timing = TimingFunction::easeInEaseOut();
    startMotion(std::move(motion));
}

void ScrollView::setContentSize(Size size) {
    if (!std::isfinite(size.width) || !std::isfinite(size.height)) return;
    _contentSize = {std::max(0.0, size.width), std::max(0.0, size.height)};
    updateIndicators();
}

void ScrollView::setContentInset(EdgeInsets inset) {
    if (!std::isfinite(inset.top) || !std::isfinite(inset.left) || !std::isfinite(inset.bottom) || !std::isfinite(inset.right))
        return;
    _contentInset = inset;
    updateIndicators();
}

Point ScrollView::minimumContentOffset() const { return {-_contentInset.left, -_contentInset.top}; }

Point ScrollView::maximumContentOffset() const {
    const Point lo = minimumContentOffset();
    const Size b = bounds().size;
    return {std::max(lo.x, _contentSize.width + _contentInset.right - b.width),
            std::max(lo.y, _contentSize.height + _contentInset.bottom - b.height)};
}

Point ScrollView::clampedOffset(Point offset) const {
    const Point lo = minimumContentOffset(), hi = maximumContentOffset();
    return {std::clamp(offset.x, lo.x, hi.x), std::clamp(offset.y, lo.y, hi.y)};
}

bool ScrollView::scrollsHorizontally() const {
    return _alwaysBounceHorizontal || maximumContentOffset().x > minimumContentOffset().x;
}

bool ScrollView::scrollsVertically() const {
    return _alwaysBounceVertical || maximumContentOffset().y > minimumContentOffset().y;
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    const Rect r = rect.standardized();
    if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) || !std::isfinite(r.height())) return;
    const Rect visible = bounds();
    Point target = visible.origin;
    // The near edge wins when the rectangle is larger than the view.
    auto axis = [](double lo, double hi, double viewLo, double extent) {
        if (hi > viewLo + extent) viewLo = hi - extent;
        if (lo < viewLo) viewLo = lo;
        return viewLo;
    };
    target.x = axis(r.minX(), r.maxX(), visible.x(), visible.width());
    target.y = axis(r.minY(), r.maxY(), visible.y(), visible.height());
    setContentOffset(clampedOffset(target), animated);
}

// ---- Behaviour ----

void ScrollView::setScrollEnabled(bool enabled) {
    _scrollEnabled = enabled;
    _pan->setEnabled(enabled);
}

void ScrollView::setDecelerationRate(double rate) {
    if (rate > 0 && rate < 1) _decelerationRate = rate;
}

// ---- Dragging ----

std::shared_ptr<View> ScrollView::hitTest(Point point, const Event* event) {
    auto hit = View::hitTest(point, event);
    _touchStoppedScrolling = false;
    if (hit && _motion && _motion->cause == Motion::Cause::Deceleration) return sharedAs<View>();
    return hit;
}

void ScrollView::touchesBegan(const TouchSet&, const Event&) {
    // Touches that reach the scroll view itself end here: it is what they touched.
    if (!_motion || _motion->cause != Motion::Cause::Deceleration) return;
    stopMotion();
    _touchStoppedScrolling = true;
    scheduleIndicatorHide();
}

void ScrollView::handlePan() {
    auto keep = sharedAs<ScrollView>();
    using State = GestureRecognizerState;
    switch (_pan->state()) {
        case State::Began: {
            stopMotion();
            // The pan starts once the finger has moved a little; the content follows from here on
            // rather than jumping by that distance.
            _pan->setTranslation({}, this);
            _dragStart = contentOffset();
            _dragging = true;
            showIndicators();
            if (auto d = delegate()) d->scrollViewWillBeginDragging(*this);
            break;
        }
        case State::Changed: {
            const Point t = _pan->translationInView(this);
            const Point lo = minimumContentOffset(), hi = maximumContentOffset();
            const Size b = bounds().size;
            Point offset = contentOffset();
            if (scrollsHorizontally()) offset.x = dragged(_dragStart.x - t.x, lo.x, hi.x, b.width, _bounces);
            if (scrollsVertically()) offset.y = dragged(_dragStart.y - t.y, lo.y, hi.y, b.height, _bounces);
            setBounds({offset, b});
            break;
        }
        case State::Ended: {
            const Point v = _pan->velocityInView(this);
            endDrag({scrollsHorizontally() ? -v.x : 0, scrollsVertically() ? -v.y : 0});
            break;
        }
        case State::Cancelled:
            endDrag({});
            break;
        default:
            break;
    }
}

Point ScrollView::pageTarget(Point offset, Point velocity) const {
    auto axis = [](double at, double v, double page, double lo, double hi) {
        if (!(page > 0)) return std::clamp(at, lo, hi);
        const double position = at / page;
        double index = std::round(position);
        if (v > PageFlickVelocity)
            index = std::floor(position) + 1;
        else if (v < -PageFlickVelocity)
            index = std::ceil(position) - 1;
        return std::clamp(index * page, lo, hi);
    };
    const Point lo = minimumContentOffset(), hi = maximumContentOffset();
    const Size b = bounds().size;
    return {axis(offset.x, velocity.x, b.width, lo.x, hi.x), axis(offset.y, velocity.y, b.height, lo.y, hi.y)};
}

void ScrollView::endDrag(Point velocity) {
    _dragging = false;
    const Point offset = contentOffset();
    // A flick keeps (rate ^ 1000) of its speed per second: it travels v / k, with k the decay exponent.
    const double k = -std::log(_decelerationRate) * 1000;
    Point target;
    if (_pagingEnabled) {
        target = pageTarget(offset, velocity);
    } else {
        target = clampedOffset({offset.x + velocity.x / k, offset.y + velocity.y / k});
    }
    if (auto d = delegate()) {
        d->scrollViewWillEndDragging(*this, velocity, target);
        if (!finite(target)) target = clampedOffset(offset);
    }
    const bool overscrolled = clampedOffset(offset) != offset;
    const bool moves = target != offset;
    if (auto d = delegate()) d->scrollViewDidEndDragging(*this, moves);
    if (!moves) {
        scheduleIndicatorHide();
        return;
    }
    auto motion = std::make_unique<Motion>();
    motion->cause = Motion::Cause::Deceleration;
    motion->from = offset;
    motion->to = target;
    if (_pagingEnabled || overscrolled) {
        motion->kind = Motion::Kind::Ease;
        motion->duration = overscrolled && !_pagingEnabled ? BounceBackDuration : PageSnapDuration;
    } else {
        motion->kind = Motion::Kind::Decay;
        motion->rate = k;
    }
    _decelerating = true;
    if (auto d = delegate()) d->scrollViewWillBeginDecelerating(*this);
    startMotion(std::move(motion));
}

// ---- Motion on the display link ----

void ScrollView::startMotion(std::unique_ptr<Motion> motion) {
    const bool decelerating = _decelerating;
    stopMotion();
    _decelerating = decelerating;
    motion->start = Clock::now();
    _motion = std::move(motion);
    showIndicators();
    std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
    _link = DisplayLink::create([weak](DisplayLink&, double timestamp) {
        if (auto self = weak.lock()) self->tick(timestamp);
    });
    _link->addToRunLoop(RunLoop::main());
}

void ScrollView::stopMotion() {
    if (_link) _link->invalidate();
    _link.reset();
    _motion.reset();
    _decelerating = false;
}

void ScrollView::tick(double timestamp) {
    if (!_motion) return;
    auto keep = sharedAs<ScrollView>();
    const auto [offset, done] = _motion->at(timestamp);
    setBounds({offset, bounds().size});
    if (done) finishMotion();
}

void ScrollView::finishMotion() {
    const Motion::Cause cause = _motion->cause;
    if (_link) _link->invalidate();
    _link.reset();
    _motion.reset();
    _decelerating = false;
    scheduleIndicatorHide();
    if (auto d = delegate()) {
        if (cause == Motion::Cause::Deceleration)
            d->scrollViewDidEndDecelerating(*this);
        else
            d->scrollViewDidEndScrollingAnimation(*this);
    }
}

// ---- Indicators ----

void ScrollView::setShowsHorizontalScrollIndicator(bool shows) {
    _showsHorizontalIndicator = shows;
    updateIndicators();
}

void ScrollView::setShowsVerticalScrollIndicator(bool shows) {
    _showsVerticalIndicator = shows;
    updateIndicators();
}

void ScrollView::flashScrollIndicators() {
    showIndicators();
    if (!_dragging && !_motion) scheduleIndicatorHide();
}

void ScrollView::showIndicators() {
    if (_indicatorTimer) _indicatorTimer->invalidate();
    _indicatorTimer.reset();
    _indicatorsShown = true;
    for (auto* indicator : {_horizontalIndicator.get(), _verticalIndicator.get()}) {
        indicator->removeAllAnimations();
        indicator->setOpacity(1);
    }
    updateIndicators();
}

void ScrollView::scheduleIndicatorHide() {
    if (_indicatorTimer) _indicatorTimer->invalidate();
    std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
    _indicatorTimer = Timer::scheduled(IndicatorHideDelay, false, [weak](Timer&) {
        auto self = weak.lock();
        if (!self || self->_dragging || self->_motion) return;
        self->_indicatorTimer.reset();
        self->_indicatorsShown = false;
        for (auto* indicator : {self->_horizontalIndicator.get(), self->_verticalIndicator.get()}) {
            BasicAnimation fade("opacity");
            fade.setFromValue(1.0);
            fade.setToValue(0.0);
            fade.setDuration(IndicatorFadeDuration);
            indicator->addAnimation(fade, "fade");
            indicator->setOpacity(0);
        }
    });
}

void ScrollView::updateIndicators() {
    if (!_verticalIndicator) return;  // before initialize()
    const Rect b = bounds();
    const Point offset = b.origin, lo = minimumContentOffset(), hi = maximumContentOffset();
    const bool vertical = _showsVerticalIndicator && hi.y > lo.y;
    const bool horizontal = _showsHorizontalIndicator && hi.x > lo.x;
    // Each track leaves room for the other indicator at the corner.
    const double corner = IndicatorInset + IndicatorThickness;

    // Along one axis: the indicator's start and length within the track.
    auto place = [](double at, double lo, double hi, double extent, double content, double track) {
        double length = std::max(IndicatorMinimumLength, track * extent / std::max(extent, content));
        length = std::min(length, track);
        double overscroll = 0;
        if (at < lo) overscroll = lo - at;
        if (at > hi) overscroll = at - hi;
        const double squashed = std::max(IndicatorSquashedLength, length - overscroll);
        const double fraction = hi > lo ? std::clamp((at - lo) / (hi - lo), 0.0, 1.0) : 0;
        return std::pair{fraction * (track - squashed), squashed};
    };

    _verticalIndicator->setHidden(!vertical || !_indicatorsShown);
    if (vertical) {
        const double track = b.height() - IndicatorInset - (horizontal ? corner : IndicatorInset);
        const double content = _contentSize.height + _contentInset.top + _contentInset.bottom;
        const auto [start, length] = place(offset.y, lo.y, hi.y, b.height(), content, track);
        _verticalIndicator->setFrame(
            {b.maxX() - IndicatorInset - IndicatorThickness, b.y() + IndicatorInset + start, IndicatorThickness, length});
    }
    _horizontalIndicator->setHidden(!horizontal || !_indicatorsShown);
    if (horizontal) {
        const double track = b.width() - IndicatorInset - (vertical ? corner : IndicatorInset);
        const double content = _contentSize.width + _contentInset.left + _contentInset.right;
        const auto [start, length] = place(offset.x, lo.x, hi.x, b.width(), content, track);
        _horizontalIndicator->setFrame(
            {b.x() + IndicatorInset + start, b.maxY() - IndicatorInset - IndicatorThickness, length, IndicatorThickness});
    }
    // Content views added later go on top of the layer list; the indicators stay above them.
    const auto& subs = layer()->sublayers();
    if (subs.size() < 2 || subs[subs.size() - 1] != _verticalIndicator || subs[subs.size() - 2] != _horizontalIndicator) {
        layer()->addSublayer(_horizontalIndicator);
        layer()->addSublayer(_verticalIndicator);
    }
}

void ScrollView::layoutSubviews() {
    View::layoutSubviews();
    updateIndicators();
}

}  // namespace plat
