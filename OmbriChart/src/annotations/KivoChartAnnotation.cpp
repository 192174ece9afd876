// KivoChartAnnotation: state, the drawing decision, placement of an anchor in one of four coordinate
// systems, and the hit test against the saved outline.

#include "OmbriChart/KivoChartAnnotation.h"

#include <cmath>
#include <limits>
#include <typeinfo>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartLineAnnotation.h"
#include "OmbriChart/KivoChartTextAnnotation.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "annotations/AnnotationSupport.h"
#include "axis/AxisInternals.h"
#include "chart/ChartState.h"

namespace {

constexpr double SecondsPerDay = 86400;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A data X on the category axis: on a time axis, a number of days counted from the data minimum while
// it lies inside the visible window, and an axis value (seconds) outside it.
double convertDataX(const KivoAxis& axis, double x) {
    if (!axis.isTimeAxis()) return axis.convert(x);
    const double lo = (axis.actualMin() - axis.actualDataMin()) / SecondsPerDay;
    const double hi = (axis.actualMax() - axis.actualDataMin()) / SecondsPerDay;
    if (lo <= x && x <= hi) return axis.convert(x, hi, lo);
    return axis.convert(x);
}

// The category coordinate of a point number.
double convertIndex(const KivoAxis& axis, std::int32_t pointIndex, double unchanged) {
    if (!axis.isTimeAxis()) return axis.convert(static_cast<double>(pointIndex));
    double time = 0;
    if (pointIndex < 0 || !kivo::detail::AxisInternals::indexValue(axis, static_cast<std::size_t>(pointIndex), time))
        return unchanged;
    return axis.convert(time);
}

// Negative indices compare as huge unsigned ones, so they are out of range like any index past the end.
bool indexBelow(std::int32_t index, std::size_t count) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(index)) < count;
}

}  // namespace

KivoChartAnnotation::KivoChartAnnotation(const std::shared_ptr<OmbriChart>& chart) : _chart(chart), _hadChart(chart != nullptr) {}

// ---- Drawing decision ----

bool KivoChartAnnotation::isNeedRender(const std::shared_ptr<IKivoRenderEngine>& engine) const {
    const auto owner = chart();
    if (!engine || !owner || !_isVisible) return false;
    return kivo::detail::chartState(*owner).beginPlotElementLoading;
}

bool KivoChartAnnotation::render(const std::shared_ptr<IKivoRenderEngine>& engine) { return isNeedRender(engine); }

bool KivoChartAnnotation::isNeedClipRect() const {
    return static_cast<std::uint64_t>(_attachment) - 1 < 2;
}

bool KivoChartAnnotation::isContains(const std::shared_ptr<KivoPoint>& point) const {
    if (!_path || !point) return false;
    return _path->contains({point->x(), point->y()}, plat::FillRule::NonZero);
}

// ---- Placement ----

std::shared_ptr<KivoPoint> KivoChartAnnotation::getAbsolutePoint(const std::shared_ptr<KivoPoint>& point, std::int64_t position,
                                                                 std::int64_t attachment,
                                                                 const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto owner = chart();
    if (!owner || !point) return nullptr;
    const auto& plot = owner->plotRect();
    double x = point->x(), y = point->y();

    switch (static_cast<std::uint64_t>(attachment)) {
    case KivoAnnotationAttachmentAbsolute:
        if (!plot) return nullptr;
        x = plot->left() + x;
        y = plot->top() + y;
        break;
    case KivoAnnotationAttachmentRelative:
        if (!plot) return nullptr;
        x = plot->left() + plot->width() * x;
        y = plot->top() + plot->height() * y;
        break;
    case KivoAnnotationAttachmentDataCoordinate: {
        const auto& axisX = owner->axisX();
        const auto& axisY = owner->axisY();
        if (!owner->isReallyRotated()) {
            x = convertDataX(*axisX, x);
            y = axisY->convert(y);
        } else {
            const double newY = convertDataX(*axisY, x);
            x = axisX->convert(y);
            y = newY;
        }
        break;
    }
    case KivoAnnotationAttachmentDataIndex: {
        const auto& series = owner->series();
        if (!series || !indexBelow(_seriesIndex, series->count())) return nullptr;
        const auto s = series->objectAtIndexAs<KivoSeries>(static_cast<std::size_t>(_seriesIndex));
        const auto values = s ? s->getValues(0) : nullptr;
        if (!values || !indexBelow(_pointIndex, values->size())) return nullptr;
        const auto& entry = (*values)[static_cast<std::size_t>(_pointIndex)];
        const double v = entry.isNumber() ? entry.asDouble() : NaN;
        const auto& axisX = owner->axisX();
        const auto& axisY = owner->axisY();
        const bool rotated = owner->isReallyRotated();
        if (!rotated) {
            x = convertIndex(*axisX, _pointIndex, x);
            y = axisY->convert(v);
        } else {
            y = convertIndex(*axisY, _pointIndex, y);
            x = axisX->convert(v);
        }
        if (!axisX->isTimeAxis() && !axisY->isTimeAxis()) {
            // The category coordinate as the plotter recorded the point: a bar's centre, where the
            // category position alone is the middle of the cluster. The value coordinate stays the
            // converted value: a bar records none there, a line point its own, the same one.
            const auto& frame = owner->rectChart();
            const double left = frame ? frame->left() : 0, top = frame ? frame->top() : 0;
            if (const auto around = owner->getDataPointsAroundPoint(x + left, y + top)) {
                for (const auto& dataPoint : *around) {
                    if (!dataPoint || dataPoint->seriesIndex() != _seriesIndex) continue;
                    if (!rotated)
                        x = dataPoint->x();
                    else
                        y = dataPoint->y();
                }
            }
        }
        break;
    }
    default:
        break;  // chart coordinates as given
    }
    if (std::isnan(x) || std::isnan(y)) return nullptr;

    const auto& kind = typeid(*this);
    if (kind == typeid(KivoChartTextAnnotation)) {
        const auto size = static_cast<KivoChartTextAnnotation&>(*this).measureText(engine);
        _width = size.width;
        _height = size.height;
    }

    auto result = KivoPoint::create();
    const bool line = kind == typeid(KivoChartLineAnnotation);
    const bool polygon = kind == typeid(KivoChartPolygonAnnotation);
    if (line || polygon) {
        result->setX(x);
        result->setY(y);
        if (line && attachment == KivoAnnotationAttachmentDataIndex) {
            result->setX(result->x() + point->x());
            result->setY(result->y() + point->y());
        }
    } else {
        const auto corner = kivo::detail::boxCorner(position, x, y, _width, _height);
        result->setX(corner.x);
        result->setY(corner.y);
    }
    if (!(polygon && attachment != KivoAnnotationAttachmentDataIndex) && _offset) {
        result->setX(result->x() + _offset->x());
        result->setY(result->y() + _offset->y());
    }
    return result;
}

// ---- Hit outline ----

void KivoChartAnnotation::replaceHitPath(const plat::Path& outline) {
    _path = std::make_shared<const plat::Path>(outline.transformed(_annoTransform));
}

// ---- Accessors ----

void KivoChartAnnotation::invalidateChart() const {
    if (const auto owner = chart()) owner->invalidate();
}

void KivoChartAnnotation::setIsVisible(bool visible) {
    if (isOrphaned()) return;
    _isVisible = visible;
    invalidateChart();
}

void KivoChartAnnotation::setAttachment(std::int64_t attachment) {
    if (!isOrphaned()) _attachment = attachment;
}

void KivoChartAnnotation::setPosition(std::int64_t position) {
    if (isOrphaned()) return;
    _position = position;
    invalidateChart();
}

void KivoChartAnnotation::setPointIndex(std::int32_t index) {
    if (!isOrphaned()) _pointIndex = index;
}

void KivoChartAnnotation::setSeriesIndex(std::int32_t index) {
    if (isOrphaned()) return;
    _seriesIndex = index;
    invalidateChart();
}

void KivoChartAnnotation::setPoint(std::shared_ptr<KivoPoint> point) {
    if (!isOrphaned()) _point = std::move(point);
}

void KivoChartAnnotation::setOffset(std::shared_ptr<KivoPoint> offset) {
    if (isOrphaned()) return;
    if (!(_offset && _offset->isEqual(offset))) _offset = std::move(offset);
    invalidateChart();
}

void KivoChartAnnotation::setWidth(double width) {
    if (!isOrphaned()) _width = width;
}

void KivoChartAnnotation::setHeight(double height) {
    if (!isOrphaned()) _height = height;
}

void KivoChartAnnotation::setTooltipText(std::optional<std::string> text) {
    if (isOrphaned()) return;
    _tooltipText = std::move(text);
    invalidateChart();
}

void KivoChartAnnotation::setPath(std::shared_ptr<const plat::Path> path) {
    if (!isOrphaned()) _path = std::move(path);
}

void KivoChartAnnotation::setAnnoTransform(const plat::AffineTransform& transform) {
    if (!isOrphaned()) _annoTransform = transform;
}
