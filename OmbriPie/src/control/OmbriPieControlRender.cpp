// OmbriPieControl: the pass. Layout first (the sum and radius the pass draws with, the room labels
// need, the start of a handed-over update), then drawing (slices, the selected one, the data labels)
// from the frame the pie handed over; drawing writes only the pass's cache of hit areas and angles.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "OmbriPie/OmbriPieControl.h"
#include "OmbriPie/OmbriPieDataLabel.h"
#include "OmbriPie/OmbriPieDataLabelRenderer.h"
#include "OmbriPie/OmbriPieSegment.h"
#include "PieFrame.h"
#include "PieTimers.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerHalfTurn = 180;
const char* const SliceGroup = "pieData";

// `p` moved by `d` along the pie angle `a`.
plat::Point along(plat::Point p, double d, double a) { return {p.x - d * std::cos(a), p.y - d * std::sin(a)}; }

// Whether a slice takes the common push: its own entry's sign when it has one, else the push's.
bool isPushed(const std::vector<double>* offsets, std::int64_t i, double offset, double sweep) {
    if (sweep >= 2 * Pi) return false;
    if (offsets && i >= 0 && static_cast<std::size_t>(i) < offsets->size()) return (*offsets)[static_cast<std::size_t>(i)] > 0;
    return offset > 0;
}

}  // namespace

void OmbriPieControl::setFrame(std::shared_ptr<const kivo::detail::PieFrame> frame) { _frame = std::move(frame); }

double OmbriPieControl::passSum() const { return _isUpdateAnimated ? kivo::detail::absoluteSum(_preValues) : _sum; }

std::vector<double> OmbriPieControl::drawnMidAngles() const {
    return kivo::detail::pieMidAngles(drawnValues(), passSum(), _startAngle * Pi / DegreesPerHalfTurn, _reversed, &sweep);
}

void OmbriPieControl::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!engine || !_frame) return;
    layoutPass();
    drawPass(engine);
}

void OmbriPieControl::layoutPass() {
    const kivo::detail::PieFrame& f = *_frame;
    _laidOut = false;
    _labelDimension = 0;
    if (_sum < 0 || std::isnan(_sum) || !_rectPie) return;

    // The radius leaves room for the pushes, so that a pushed slice stays in the square.
    double r = std::min(_rectPie->width() / 2, _rectPie->height() / 2);
    const double m = _offset + _selectedItemOffset;
    if (m > 0) r /= 1 + m;

    const auto& values = drawnValues();
    const auto& labels = drawnLabels();
    if (const auto& renderer = f.labelRenderer) {
        const std::size_t n = std::min(values.size(), labels.size());
        for (std::size_t k = 0; k < n; ++k)
            _labelDimension =
                std::max(_labelDimension, renderer->dataLabelDimension(labels[k], static_cast<std::int64_t>(k), values[k]));
    }
    if (f.labelPosition == KivoPieLabelPositionOutside) {
        if (f.xamarinLabel) {
            double maxW = 0, maxH = 0;
            if (const auto& renderer = f.labelRenderer) {
                for (std::size_t i = 0; i < values.size(); ++i) {
                    const std::string& name = i < labels.size() ? labels[i] : std::string();
                    if (const auto s = renderer->getLabelSize(name, static_cast<std::int64_t>(i), values[i], values)) {
                        maxW = std::max(maxW, s->width());
                        maxH = std::max(maxH, s->height());
                    }
                }
            }
            r -= std::hypot(maxW, maxH);
        } else {
            r -= _labelDimension;
        }
    }
    // Labels wider than the pie leave it no room; a negative radius would draw the slices turned
    // inside out through the centre.
    r = std::max(r, 0.0);
    _radius = r;
    _innerR = _innerRadius * r;
    _passSum = passSum();
    _laidOut = true;

    // One start for one update, however many passes come before it; the delay is read now.
    if (_isUpdateAnimated && !_updateStartTimer)
        _updateStartTimer =
            kivo::detail::schedulePieTimer(sharedAs<OmbriPieControl>(), kivo::detail::pieStartDelay(_updateAnimation.get()),
                                           &OmbriPieControl::startUpdateAnimation);
}

void OmbriPieControl::drawPass(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const kivo::detail::PieFrame& f = *_frame;
    _angles.clear();
    _areas.clear();
    _sliceCenterPoints.clear();
    ++_count;

    const plat::Rect b = bounds();
    engine->setStrokeThickness(0);
    engine->setFill(f.background);
    engine->drawRect(b.x(), b.y(), b.width(), b.height());
    if (!_laidOut) return;

    const double r = _radius, ir = _innerR, sum = _passSum;
    const double m = _offset + _selectedItemOffset;
    const double o = _offset * r;
    const auto& values = drawnValues();
    const auto n = static_cast<std::int64_t>(values.size());

    const double cx = _rectPie->left() + _rectPie->width() / 2, cy = _rectPie->top() + _rectPie->height() / 2;
    double a = _startAngle * Pi / DegreesPerHalfTurn;
    const std::int64_t selected = validSelectedIndex();

    double selectedStart = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        renderSlice(engine, _startAngle, i, _reversed, _innerRadius, o, nullptr, a, cx, cy, r, m, ir, sum, false);
        if (i == selected) selectedStart = a;
        const double w = sweep(values[static_cast<std::size_t>(i)], sum);
        a = _reversed ? a - w : a + w;
    }
    if (selected >= 0)
        renderSlice(engine, _startAngle, selected, _reversed, _innerRadius, o, nullptr, selectedStart, cx, cy, r, m, ir, sum,
                    true);

    if (f.xamarinLabel && f.labelRenderer) f.labelRenderer->clearXamarinDataLabelIfUpdated();
    for (std::int64_t i = 0; i < n; ++i) {
        renderSliceDataLabel(engine, _startAngle, i, _reversed, _innerRadius, o, nullptr, a, cx, cy, r, m, ir, sum,
                             i == selected);
        const double w = sweep(values[static_cast<std::size_t>(i)], sum);
        a = _reversed ? a - w : a + w;
    }
}

void OmbriPieControl::renderSlice(const std::shared_ptr<IKivoRenderEngine>& engine, double, std::int64_t i, bool reversed, double,
                                  double offset, const std::vector<double>* offsets, double angle, double cx0, double cy0,
                                  double r, double, double irad, double sum, bool renderSelected) {
    const auto& values = drawnValues();
    if (!engine || !_frame || i < 0 || static_cast<std::size_t>(i) >= values.size()) return;
    const kivo::detail::PieFrame& f = *_frame;
    engine->setFill(f.fill(static_cast<std::size_t>(i)));
    engine->setStroke(f.stroke(static_cast<std::size_t>(i)));
    const double w = sweep(values[static_cast<std::size_t>(i)], sum);
    engine->startGroup(SliceGroup);
    const double mid = reversed ? angle - w / 2 : angle + w / 2;
    _angles.push_back(mid);

    plat::Point c{cx0, cy0};
    if (isPushed(offsets, i, offset, w)) c = along(c, offset, mid);
    const bool isSelected = i == validSelectedIndex();
    if (!renderSelected) {
        engine->setStrokeThickness(_sliceBorderWidth);
        if (!isSelected) _drawSlice(engine, i, reversed, c.x, c.y, r, irad, angle, w, false);
    } else {
        engine->setStrokeThickness(f.selectedBorderWidth);
        engine->setBorderDashes(f.selectedDashes);
        if (f.selectedBorderColor) engine->setStroke(*f.selectedBorderColor);
        if (isSelected) {
            c = along(c, _selectedItemOffset * r, mid);
            _drawSlice(engine, i, reversed, c.x, c.y, r, irad, angle, w, true);
        }
    }
    engine->endGroup();
}
void OmbriPieControl::_drawSlice(const std::shared_ptr<IKivoRenderEngine>& engine, std::int64_t i, bool reversed, double cx,
                                 double cy, double r, double irad, double angle, double sweepAngle, bool selected) {
    const double from = reversed ? angle - sweepAngle : angle;
    const double mid = reversed ? angle - sweepAngle / 2 : angle + sweepAngle / 2;
    std::shared_ptr<OmbriSliceSegment> area;
    if (irad > 0) {
        auto donut = OmbriDonutSegment::create();
        donut->render(engine, cx, cy, r, irad, from, sweepAngle, selected);
        area = std::move(donut);
    } else {
        auto segment = OmbriPieSegment::create();
        segment->render(engine, cx, cy, r, from, sweepAngle, selected);
        area = std::move(segment);
    }
    area->setTag(plat::Value(i));
    area->setStartAngle(angle);
    area->setSweep(sweepAngle);
    const double d = irad > 0 ? (r + irad) / 2 : r / 2;
    const plat::Point centre = along({cx, cy}, d, mid);
    _areas.push_back(std::move(area));
    _sliceCenterPoints.push_back(KivoPoint::create(centre.x, centre.y));
}

void OmbriPieControl::renderSliceDataLabel(const std::shared_ptr<IKivoRenderEngine>& engine, double, std::int64_t i,
                                           bool reversed, double innerRadius, double offset, const std::vector<double>* offsets,
                                           double angle, double cx0, double cy0, double r, double, double, double sum,
                                           bool renderSelected) {
    const auto& values = drawnValues();
    if (!engine || !_frame || i < 0 || static_cast<std::size_t>(i) >= values.size()) return;
    const kivo::detail::PieFrame& f = *_frame;
    const auto index = static_cast<std::size_t>(i);
    engine->startGroup(SliceGroup);
    const double w = sweep(values[index], sum);
    const double mid = reversed ? angle - w / 2 : angle + w / 2;
    _angles.push_back(mid);

    plat::Point c{cx0, cy0};
    if (isPushed(offsets, i, offset, w)) c = along(c, offset, mid);
    if (renderSelected) c = along(c, _selectedItemOffset * r, mid);

    const double dim = _labelDimension;
    plat::Point at{0, 0};
    switch (f.labelPosition) {
        case KivoPieLabelPositionInside:
            at = along(c, r - dim / 2 - dim / 10, mid);
            break;
        case KivoPieLabelPositionOutside:
            at = along(c, r + dim / 2 + dim / 10 + _padding, mid);
            break;
        case KivoPieLabelPositionCenter:
            at = along(c, innerRadius > 0 ? innerRadius * r + (1 - innerRadius) * r / 2 : r / 2, mid);
            break;
        default:
            break;
    }
    auto box = KivoRect::create(at.x - r / 4, at.y - r / 4, r / 2, r / 2);
    // An application-side renderer places its own view: it gets the slice's centre and the way to the rim.
    if (f.xamarinLabel) box = KivoRect::create(c.x, c.y, r * std::cos(mid), r * std::sin(mid));
    const auto& renderer = f.labelRenderer;
    const auto& labels = drawnLabels();
    if (renderer && index < labels.size()) renderer->render(labels[index], box, i, values[index], values);
    engine->endGroup();
}
