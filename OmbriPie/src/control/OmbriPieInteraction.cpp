// OmbriPie: the touch side. The hit test (undoing the pie's turn), taps that select a slice and turn
// it to its side, the tooltip of a slice (the default text bubble or the application's own, through
// its delegate), the turn a tap starts, and the pinch zoom. The turn itself is in OmbriPieAnimation.cpp.

#include <cmath>
#include <cstdio>
#include <numbers>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieSegment.h"
#include "PieFrame.h"
#include "PieTimers.h"
#include "Platform/ui/gestures.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerHalfTurn = 180;
constexpr double AdjustGridStep = 5;  // points between the probes of adjustFinalPoint

// "%@ %.2f" of a label and a value: the default tooltip's text.
std::string tooltipText(const std::string& name, double value) {
    char number[64];
    std::snprintf(number, sizeof number, "%.2f", value);
    return name + " " + number;
}

// `p` turned by `angle` (radians, as a rotation transform turns it on screen) about `c`.
plat::Point turnedAbout(plat::Point p, plat::Point c, double angle) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    return {c.x + dx * std::cos(angle) - dy * std::sin(angle), c.y + dx * std::sin(angle) + dy * std::cos(angle)};
}

}  // namespace

// ---- Hit test ----

std::shared_ptr<KivoPieHitTestInfo> OmbriPie::hitTest(const std::shared_ptr<KivoPoint>& point) {
    return point ? _hitTest(point->x(), point->y()) : _hitTest(NAN, NAN);
}

std::shared_ptr<KivoPieHitTestInfo> OmbriPie::_hitTest(double x, double y) {
    const auto p = toControl(x, y);
    auto info = KivoPieHitTestInfo::create(sharedAs<OmbriPie>(), x, y);
    info->dataPoint()->setPointIndex(-1);
    if (const KivoChartElement title = titleElementAt(p); title != KivoChartElementNone) {
        info->setChartElement(title);
        return info;
    }
    if (contains(_rectLegend, p)) {
        if (legend()) legend()->hitTest(p);
        info->setChartElement(KivoChartElementLegend);
        return info;
    }
    if (!contains(rectChart(), p)) {
        info->setChartElement(KivoChartElementNone);
        return info;
    }
    // The areas were recorded unturned: the point is turned back by the turn on screen.
    plat::Point q{p->x(), p->y()};
    if (_rotationAngle != 0) {
        const double cx = _center->x(), cy = _center->y();
        const double a = std::atan2(q.y - cy, q.x - cx) - _rotationAngle;
        const double d = std::hypot(q.x - cx, q.y - cy);
        q = {cx + d * std::cos(a), cy + d * std::sin(a)};
    }
    const KivoPoint probe(q.x, q.y);
    const auto& areas = _pieControl->areas();
    const auto& centres = _pieControl->sliceCenterPoints();
    for (std::size_t k = 0; k < areas.size(); ++k) {
        if (!areas[k] || !areas[k]->contains(probe)) continue;
        info->dataPoint()->setPointIndex(static_cast<std::int32_t>(areas[k]->tag().asInteger()));
        if (k < centres.size() && centres[k]) info->setSliceCenter(centres[k]->clone());
        break;
    }
    info->setChartElement(KivoChartElementChartArea);
    const std::int64_t index = info->dataPoint()->pointIndex();
    const auto& values = _pieControl->values();
    if (index >= 0 && static_cast<std::size_t>(index) < values.size()) {
        const double v = values[static_cast<std::size_t>(index)];
        info->dataPoint()->setValue(v);
        if (static_cast<std::size_t>(index) < _labels.size())
            info->dataPoint()->setName(_labels[static_cast<std::size_t>(index)]);
        info->dataPoint()->setPercentage(percentageOf(v));
    }
    return info;
}

double OmbriPie::percentageOf(double value) const {
    const double sum = _pieControl->sum();
    return sum > 0 ? value / sum : 0;
}

std::shared_ptr<KivoPieDataPoint> OmbriPie::dataPointOf(std::int64_t index) const {
    auto dp = KivoPieDataPoint::create();
    dp->setPointIndex(static_cast<std::int32_t>(index));
    const auto& values = _pieControl->values();
    if (index < 0 || static_cast<std::size_t>(index) >= values.size()) return dp;
    const auto i = static_cast<std::size_t>(index);
    dp->setValue(values[i]);
    if (i < _labels.size()) dp->setName(_labels[i]);
    dp->setPercentage(percentageOf(values[i]));
    return dp;
}

// ---- Tap ----

void OmbriPie::attachTapRecognizer() {
    std::weak_ptr<OmbriPie> weak = sharedAs<OmbriPie>();
    _tapRecognizer = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (r.state() != plat::GestureRecognizerState::Recognized) return;
        if (const auto pie = weak.lock()) pie->respondToTapGesture(r);
    });
    _tapRecognizer->setDelegate(std::weak_ptr<plat::GestureRecognizerDelegate>(sharedAs<OmbriPie>()));
    addGestureRecognizer(_tapRecognizer);
}

void OmbriPie::respondToTapGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();  // the delegate and handlers below may drop the pie
    _isTapping = true;
    const plat::Point p = recognizer.locationInView(this);
    raiseChartTapped(KivoPoint::create(p.x, p.y));
    if (_pieControl->firstLoad()) return;

    const auto info = _hitTest(p.x, p.y);
    if (const auto d = delegateAnswering(OmbriChartDelegate::Tapped))
        if (d->tapped(sharedAs<OmbriPie>(), info->point())) return;
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    if (content) content->setIsVisible(false);
    const bool customised = content && content->isCustomized();
    const std::int64_t index = info->dataPoint()->pointIndex();
    if (index < 0 && customised)
        if (const auto d = delegateAnswering(OmbriChartDelegate::HandleTooltip))
            d->handleTooltip(sharedAs<OmbriPie>(), info->sliceCenter(), false, nullptr);

    if (index != _selectedIndex && selectionMode() == KivoChartSelectionModePoint) {
        if (!_animating) {
            _selectedIndex = index;
            _pieControl->setSelectedIndex(index);
            if (index != -1) rotatePieControl(p);
            if (const auto d = delegateAnswering(OmbriChartDelegate::SelectionChanged)) {
                const auto c = toControl(p.x, p.y);
                auto changed = KivoPieHitTestInfo::create(sharedAs<OmbriPie>(), c->x(), c->y());
                changed->setChartElement(info->chartElement());
                changed->dataPoint()->setPointIndex(info->dataPoint()->pointIndex());
                changed->dataPoint()->setValue(info->dataPoint()->value());
                changed->dataPoint()->setName(info->dataPoint()->name());
                changed->dataPoint()->setPercentage(info->dataPoint()->percentage());
                d->selectionChanged(sharedAs<OmbriPie>(), changed);
            }
            _pieControl->invalidate();
        }
    } else if (index != -1 && (_selectedItemPosition == 0 || index == _selectedIndex)) {
        const auto& dp = info->dataPoint();
        const bool inUse = tooltip() && tooltip()->isVisible();
        if (customised) {
            const plat::Point at = _selectedItemPosition != 0 ? getCorrespondTooltipPoint()
                                                              : plat::Point{info->sliceCenter()->x(), info->sliceCenter()->y()};
            auto data = _getCustomizedTooltipData(dp->name(), dp->value(), dp->percentage(), index);
            if (!_animating && inUse)
                if (const auto d = delegateAnswering(OmbriChartDelegate::HandleTooltip))
                    d->handleTooltip(sharedAs<OmbriPie>(), KivoPoint::create(at.x, at.y), true, data);
        } else {
            auto data = KivoPieDataPoint::create();
            data->setPointIndex(dp->pointIndex());
            data->setValue(dp->value());
            data->setName(dp->name());
            data->setPercentage(dp->percentage());
            const std::string text = tooltipText(dp->name(), dp->value());
            if (!_animating && inUse && _selectedItemPosition == 0)
                _showTooltip(text, {info->sliceCenter()->x(), info->sliceCenter()->y()}, data);
            else if (inUse)
                _showTooltip(text, getCorrespondTooltipPoint(), data);
        }
    } else if (index == -1 && content) {
        content->setIsVisible(false);
    }
    if (content) content->invalidate();
}

// ---- Selection from code and the selected-item position ----

void OmbriPie::setSelectedIndex(std::int64_t index) {
    if (index == _selectedIndex || selectionMode() == KivoChartSelectionModeNone || index < 0 ||
        static_cast<std::size_t>(index) >= _pieControl->values().size())
        return;
    const auto alive = keepAlive();
    if (const auto& content = tooltip() ? tooltip()->content() : nullptr; content && content->isVisible())
        content->setIsVisible(false);
    _isTapping = false;
    _setWithCode = true;
    _selectedIndex = index;
    _pieControl->setSelectedIndex(index);
    _pieControl->invalidate();
    setPieControlAngles();
    setTootipPoint();
    _pieControl->angles().clear();
    if (const auto d = delegateAnswering(OmbriChartDelegate::SelectionChanged))
        d->selectionChanged(sharedAs<OmbriPie>(), _hitTest(_selectAnimationSenderPoint.x, _selectAnimationSenderPoint.y));
}

void OmbriPie::setSelectedItemPosition(std::int64_t position) {
    if (position == _selectedItemPosition) return;
    _selectedItemPosition = position;
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    rotatePieControl(content ? content->senderPoint() : plat::Point{});
}

void OmbriPie::setPieControlAngles() {
    const auto mids =
        kivo::detail::pieMidAngles(_pieControl->values(), _pieControl->sum(), _pieControl->startAngle() * Pi / DegreesPerHalfTurn,
                                   _pieControl->reversed(), &OmbriPieControl::sweep);
    auto& angles = _pieControl->angles();
    angles.insert(angles.end(), mids.begin(), mids.end());
}

void OmbriPie::setTootipPoint() {
    const std::int64_t i = _pieControl->selectedIndex();
    const auto& angles = _pieControl->angles();
    if (i < 0 || static_cast<std::size_t>(i) >= _pieControl->values().size()) return;
    _selectAnimationDataPoint = dataPointOf(i);
    if (static_cast<std::size_t>(i) >= angles.size() || angles[static_cast<std::size_t>(i)] == 0) return;
    if (_selectedItemPosition != 0) _selectAnimationSenderPoint = getCorrespondTooltipPoint();
}

plat::Point OmbriPie::getCorrespondTooltipPoint() {
    const plat::Point c = _pieControl->center();
    const double r = _pieControl->radius();
    const double d = _pieControl->selectedItemOffset() * r;
    const double o = _pieControl->offset() * r;
    const double m = _pieControl->innerRadius() > 0 ? r + _pieControl->innerR() : r;
    const double out = m / 2 + d + o;
    switch (_selectedItemPosition) {
        case KivoAxisPositionLeft:
            _angle = 0;
            return {c.x - out, c.y};
        case KivoAxisPositionTop:
            _angle = 90;
            return {c.x, c.y - out};
        case KivoAxisPositionRight:
            _angle = 180;
            return {c.x + out, c.y};
        case KivoAxisPositionBottom:
            _angle = 270;
            return {c.x, c.y + out};
        default:
            return c;
    }
}

// ---- Tooltips ----

plat::ArrayPtr OmbriPie::_getCustomizedTooltipData(const std::string& name, double value, double percentage,
                                                   std::int64_t pointIndex) {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "%.2f %.2f", value, percentage);
    const auto size = renderEngine() ? renderEngine()->measureString(name + "\n" + numbers) : nullptr;
    auto data = std::make_shared<plat::Array>();
    data->push_back(plat::Value(size ? size->width() : 0.0));
    data->push_back(plat::Value(size ? size->height() : 0.0));
    data->push_back(plat::Value(name));
    data->push_back(plat::Value(pointIndex));
    data->push_back(plat::Value(value));
    data->push_back(plat::Value(percentage));
    return data;
}

void OmbriPie::showTooltipAt(const std::shared_ptr<KivoPieDataPoint>& dp, plat::Point position) {
    if (!dp || !tooltip() || !tooltip()->isVisible()) return;
    const auto& content = tooltip()->content();
    if (content && content->isCustomized()) {
        if (const auto d = delegateAnswering(OmbriChartDelegate::HandleTooltip))
            d->handleTooltip(sharedAs<OmbriPie>(), KivoPoint::create(position.x, position.y), true,
                             _getCustomizedTooltipData(dp->name(), dp->value(), dp->percentage(), dp->pointIndex()));
        return;
    }
    _showTooltip(tooltipText(dp->name(), dp->value()), position, dp);
}

std::shared_ptr<KivoPoint> OmbriPie::getCorrespondSliceCenterPoint(plat::Point point) {
    const auto& areas = _pieControl->areas();
    const auto& centres = _pieControl->sliceCenterPoints();
    const KivoPoint probe(point.x, point.y);
    const double push = _pieControl->selectedItemOffset();
    for (std::size_t k = 0; k < centres.size() && k < areas.size(); ++k) {
        if (!areas[k] || !centres[k] || !areas[k]->contains(probe)) continue;
        double x = centres[k]->x(), y = centres[k]->y();
        const auto slice = std::dynamic_pointer_cast<OmbriSliceSegment>(areas[k]);
        if (push > 0 && slice) {
            const double m =
                _pieControl->reversed() ? slice->startAngle() - slice->sweep() / 2 : slice->startAngle() + slice->sweep() / 2;
            x -= push * _pieControl->radius() * std::cos(m);
            y -= push * _pieControl->radius() * std::sin(m);
        }
        return KivoPoint::create(x, y);
    }
    return nullptr;
}

plat::Point OmbriPie::adjustFinalPoint(const std::shared_ptr<KivoPieDataPoint>& dp, plat::Point point) {
    if (!dp) return point;
    const auto index = dp->pointIndex();
    if (_hitTest(point.x, point.y)->dataPoint()->pointIndex() == index) return point;
    const plat::Rect f = frame();
    if (!(f.width() >= 0)) return point;
    for (double x = 0; x <= f.width(); x += AdjustGridStep)
        for (double y = 0; y <= f.height(); y += AdjustGridStep)
            if (_hitTest(x, y)->dataPoint()->pointIndex() == index) return {x, y};
    return point;
}

// ---- The turn by touch ----

double OmbriPie::appliedRotation() const { return _pieControl->appliedRotation(); }

void OmbriPie::applyRotation(double angle) {
    _pieControl->setTransform(_pieControl->transform().rotated(angle));
    _rotationAngle = appliedRotation();
    _pieControl->setRotationAngle(_rotationAngle);
}

void OmbriPie::rotatePieControl(plat::Point point) {
    const std::int64_t i = _pieControl->selectedIndex();
    const auto& angles = _pieControl->angles();
    if (angles.empty() || i < 0 || static_cast<std::size_t>(i) >= _pieControl->values().size() || _animating) return;
    const auto self = sharedAs<OmbriPie>();
    if (const auto& content = tooltip() ? tooltip()->content() : nullptr) content->setIsVisible(false);
    const auto dp = dataPointOf(i);
    const double mid = static_cast<std::size_t>(i) < angles.size() ? angles[static_cast<std::size_t>(i)] : 0;

    if (mid != 0 && _selectedItemPosition != 0) {
        const plat::Point s = getCorrespondTooltipPoint();
        _selectAnimationSenderPoint = s;
        const double t = _angle * Pi / DegreesPerHalfTurn - mid - _rotationAngle;
        kivo::detail::laterOnMain(self, [t, s, dp](OmbriPie& pie) {
            if (pie.isAnimated() && pie._selectAnimation && pie._selectAnimation->isValid()) {
                if (std::abs(OmbriPieControl::shortestTurn(t)) > MinimumAnimatedTurn) {
                    pie._selectAnimationDataPoint = dp;
                    pie._selectAnimationSenderPoint = s;
                    pie.prepareForSelectAnimation(t);
                    return;
                }
                // Within a degree: turned at once, not animated.
                pie.applyRotation(OmbriPieControl::shortestTurn(t));
                pie.showTooltipAt(dp, s);
                pie._pieControl->invalidate();
                return;
            }
            pie.applyRotation(t);
            // The slice's centre as it now stands on screen; the scan runs only when it misses.
            plat::Point from = s;
            const auto& areas = pie._pieControl->areas();
            const auto& centres = pie._pieControl->sliceCenterPoints();
            for (std::size_t k = 0; k < areas.size() && k < centres.size(); ++k)
                if (areas[k] && centres[k] && areas[k]->tag().asInteger() == dp->pointIndex())
                    from =
                        turnedAbout({centres[k]->x(), centres[k]->y()}, {pie._center->x(), pie._center->y()}, pie._rotationAngle);
            kivo::detail::laterOnMain(pie.sharedAs<OmbriPie>(),
                                      [dp, from](OmbriPie& later) { later.showTooltipAt(dp, later.adjustFinalPoint(dp, from)); });
        });
    } else {
        const auto q = getCorrespondSliceCenterPoint(point);
        kivo::detail::laterOnMain(self, [dp, q](OmbriPie& pie) {
            if (q) pie.showTooltipAt(dp, {q->x(), q->y()});
        });
    }
    _pieControl->invalidate();
}

// ---- Pinch ----

void OmbriPie::respondToPinchGesture(plat::GestureRecognizer& recognizer) {
    const auto* pinch = dynamic_cast<const plat::PinchGestureRecognizer*>(&recognizer);
    if (!pinch) return;
    const auto state = recognizer.state();
    if (state == plat::GestureRecognizerState::Began) _previousScale = _scale;
    const double s = std::max(1.0, pinch->scale() * _scale);
    if (std::isfinite(s) && _previousScale > 0) setTransform(transform().scaled(s / _previousScale, s / _previousScale));
    _previousScale = s;
    if (state == plat::GestureRecognizerState::Ended || state == plat::GestureRecognizerState::Cancelled ||
        state == plat::GestureRecognizerState::Failed)
        _scale = s;
}
