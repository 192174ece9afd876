// OmbriPieControl: the drawing pass, one slice, one segment and one data label.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieControl.h"
#include "OmbriPie/OmbriPieSegment.h"
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

std::int64_t labelPosition(const OmbriPie& pie) {
    return pie.dataLabel() ? pie.dataLabel()->position() : KivoPieLabelPositionNone;
}

}  // namespace

void OmbriPieControl::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto p = pie();
    if (!engine || !p) return;
    _angles.clear();
    _areas.clear();
    _sliceCenterPoints.clear();
    _labelDimension.reset();

    if (_count == 0) {
        _tempSum = _sum;
        _preValues = _values;
        _preLabels = p->labels();
    }
    if (_isUpdateAnimated) _tempSum = _sum;

    const plat::Rect b = bounds();
    engine->setStrokeThickness(0);
    engine->setFill(p->plotAreaBackgroundColor());
    engine->drawRect(b.x(), b.y(), b.width(), b.height());

    if (_sum < 0 || std::isnan(_sum) || !_rectPie) {
        ++_count;
        return;
    }

    // The radius leaves room for the pushes, so that a pushed slice stays in the square.
    double r = std::min(_rectPie->width() / 2, _rectPie->height() / 2);
    const double m = _offset + _selectedItemOffset;
    if (m > 0) r /= 1 + m;
    const double o = _offset * r;

    if (labelPosition(*p) == KivoPieLabelPositionOutside) {
        if (p->isXamarinLabel()) {
            double maxW = 0, maxH = 0;
            if (const auto& renderer = p->dataLabelRenderer()) {
                for (std::size_t i = 0; i < _values.size(); ++i) {
                    const auto& labels = drawnLabels(*p);
                    const std::string& name = i < labels.size() ? labels[i] : std::string();
                    if (const auto s = renderer->getLabelSize(name, static_cast<std::int64_t>(i), _values[i], _values)) {
                        maxW = std::max(maxW, s->width());
                        maxH = std::max(maxH, s->height());
                    }
                }
            }
            r -= std::hypot(maxW, maxH);
        } else {
            r -= labelDimension(*p);
        }
    }
    // Labels wider than the pie leave it no room; a negative radius would draw the slices turned
    // inside out through the centre.
    r = std::max(r, 0.0);
    _radius = r;
    _innerR = _innerRadius * r;
    const double ir = _innerR;

    double sum = _sum;
    _drawingPreValues = _isUpdateAnimated;
    if (_drawingPreValues) {
        sum = 0;
        for (const double v : _preValues) sum += std::abs(v);
        // One start for one update, however many passes come before it; the delay is read now.
        if (!_updateStartTimer)
            _updateStartTimer =
                kivo::detail::schedulePieTimer(sharedAs<OmbriPieControl>(), kivo::detail::pieStartDelay(_updateAnimation.get()),
                                               &OmbriPieControl::startUpdateAnimation);
    }
    const auto& values = drawnValues();
    const auto n = static_cast<std::int64_t>(values.size());

    const double cx = _rectPie->left() + _rectPie->width() / 2, cy = _rectPie->top() + _rectPie->height() / 2;
    const double start = _startAngle * Pi / DegreesPerHalfTurn;
    double a = start;
    const std::int64_t selected = validSelectedIndex();

    if (p->selectionMode() != KivoChartSelectionModeNone && p->setWithCode() && selected >= 0 && p->selectedItemPosition() != 0) {
        transfromPieControlAndSetRotationAngle(sum, a);
        p->setSetWithCode(false);
    }

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

    if (p->isXamarinLabel())
        if (const auto& renderer = p->dataLabelRenderer()) renderer->clearXamarinDataLabelIfUpdated();
    for (std::int64_t i = 0; i < n; ++i) {
        renderSliceDataLabel(engine, _startAngle, i, _reversed, _innerRadius, o, nullptr, a, cx, cy, r, m, ir, sum,
                             i == selected);
        const double w = sweep(values[static_cast<std::size_t>(i)], sum);
        a = _reversed ? a - w : a + w;
    }

    _drawingPreValues = false;
    ++_count;
}

void OmbriPieControl::renderSlice(const std::shared_ptr<IKivoRenderEngine>& engine, double, std::int64_t i, bool reversed, double,
                                  double offset, const std::vector<double>* offsets, double angle, double cx0, double cy0,
                                  double r, double, double irad, double sum, bool renderSelected) {
    const auto p = pie();
    const auto& values = drawnValues();
    if (!engine || !p || i < 0 || static_cast<std::size_t>(i) >= values.size()) return;
    engine->setFill(p->getColor(i));
    engine->setStroke(p->getColorDark(i));
    const double w = sweep(values[static_cast<std::size_t>(i)], sum);
    engine->startGroup(SliceGroup);
    const double mid = reversed ? angle - w / 2 : angle + w / 2;
    _angles.push_back(mid);

    plat::Point c{cx0, cy0};
    if (isPushed(offsets, i, offset, w)) c = along(c, offset, mid);
    const bool isSelected = i == validSelectedIndex();
    if (!renderSelected) {
        engine->setStrokeThickness(_sliceBorderWidth);
        if (!isSelected) _drawSilce(engine, i, reversed, c.x, c.y, r, irad, angle, w, false);
    } else {
        engine->setStrokeThickness(p->selectedBorderWidth());
        engine->setBorderDashes(p->selectedDashes());
        if (const auto& color = p->selectedBorderColor()) engine->setStroke(*color);
        if (isSelected) {
            c = along(c, _selectedItemOffset * r, mid);
            _drawSilce(engine, i, reversed, c.x, c.y, r, irad, angle, w, true);
        }
    }
    engine->endGroup();
}

void OmbriPieControl::_drawSilce(const std::shared_ptr<IKivoRenderEngine>& engine, std::int64_t i, bool reversed, double cx,
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

double OmbriPieControl::labelDimension(const OmbriPie& pie) {
    if (_labelDimension) return *_labelDimension;
    double d = 0;
    if (const auto& renderer = pie.dataLabelRenderer()) {
        const auto& values = drawnValues();
        const auto& labels = drawnLabels(pie);
        const std::size_t n = std::min(values.size(), labels.size());
        for (std::size_t k = 0; k < n; ++k)
            d = std::max(d, renderer->dataLabelDimension(labels[k], static_cast<std::int64_t>(k), values[k]));
    }
    _labelDimension = d;
    return d;
}

void OmbriPieControl::renderSliceDataLabel(const std::shared_ptr<IKivoRenderEngine>& engine, double, std::int64_t i,
                                           bool reversed, double innerRadius, double offset, const std::vector<double>* offsets,
                                           double angle, double cx0, double cy0, double r, double, double, double sum,
                                           bool renderSelected) {
    const auto p = pie();
    const auto& values = drawnValues();
    if (!engine || !p || i < 0 || static_cast<std::size_t>(i) >= values.size()) return;
    const auto index = static_cast<std::size_t>(i);
    engine->startGroup(SliceGroup);
    const double w = sweep(values[index], sum);
    const double mid = reversed ? angle - w / 2 : angle + w / 2;
    _angles.push_back(mid);

    plat::Point c{cx0, cy0};
    if (isPushed(offsets, i, offset, w)) c = along(c, offset, mid);
    if (renderSelected) c = along(c, _selectedItemOffset * r, mid);

    const double dim = labelDimension(*p);
    plat::Point at{0, 0};
    switch (labelPosition(*p)) {
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
    if (p->isXamarinLabel()) box = KivoRect::create(c.x, c.y, r * std::cos(mid), r * std::sin(mid));
    const auto& renderer = p->dataLabelRenderer();
    const auto& labels = drawnLabels(*p);
    if (renderer && index < labels.size()) renderer->render(labels[index], box, i, values[index], values);
    engine->endGroup();
}
