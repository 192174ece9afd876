// OmbriChart: the axes in use, the layout of the axes around the plot area, and the chart queries
// the series and axes ask (named axes, whether any series is drawn, a series' hit test).

#include <algorithm>
#include <cmath>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

// No axis takes more than this share of the area across it.
constexpr double MaxAxisShare = 0.3;
// The thinnest plot area, and the thickness of an axis that sits on no side.
constexpr double MinPlotExtent = 1.0;
constexpr double SidelessAxisThickness = 1.0;

double halfWidthOf(const std::shared_ptr<KivoSize>& size) {
    const double w = size ? size->width() * 0.5 : 0.0;
    return std::isfinite(w) && w > 0 ? w : 0.0;
}

// The thickness an axis asks for, within 0 … cap (a measure that is not a number takes no room).
double capped(double thickness, double cap) { return thickness > 0 ? std::min(thickness, cap) : 0.0; }

}  // namespace

// ---- Axes in use ----

OmbriChart::AxisList OmbriChart::getActualAxesArray() const {
    AxisList axes;
    for (std::size_t i = 0; i < _axesArray.size(); ++i) {
        const auto& axis = _axesArray[i];
        if (!axis) continue;
        bool used = i < 2;
        for (std::size_t k = 0; !used && _series && k < _series->count(); ++k) {
            const auto s = _series->objectAtIndexAs<KivoSeries>(k);
            used = s && (s->axisX() == axis || s->axisY() == axis);
        }
        if (used && std::find(axes.begin(), axes.end(), axis) == axes.end()) axes.push_back(axis);
    }
    return axes;
}

std::shared_ptr<KivoAxis> OmbriChart::findAxis(const std::string& name) const {
    for (const auto& axis : _axesArray)
        if (axis && axis->axisName() == name) return axis;
    return nullptr;
}

bool OmbriChart::isAllSeriesHidden() const {
    if (!_series) return true;
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        if (s && s->isDrawn()) return false;
    }
    return true;
}

// ---- Layout ----

void OmbriChart::layout(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!rect || !engine) return;
    ++_count;
    const double L = rect->left(), T = rect->top(), W = rect->width(), H = rect->height();
    const double capX = MaxAxisShare * H, capY = MaxAxisShare * W;

    const AxisList axes = getActualAxesArray();
    if (_count == 1) _axisArr = axes;

    const auto& margin = plotMargin();
    double leftEdge = margin.left, topEdge = margin.top, rightEdge = W - margin.right, bottomEdge = H - margin.bottom;
    // Half the widest label of the axes along each direction stays free at the plot's ends.
    double ox = 0, oy = 0, rx = W, by = H;
    for (const auto& axis : axes) {
        const auto position = axis->position();
        if (axis->axisType() == KivoAxisTypeX) {
            const double s = capped(axis->getHeight(engine), capX);
            axis->setDesiredSize(KivoSize::create(W, s));
            if (position != KivoAxisPositionBottom && position != KivoAxisPositionTop) continue;
            const double half = halfWidthOf(axis->annoSize());
            ox = std::max(ox, half);
            rx = std::min(rx, W - half);
            if (position == KivoAxisPositionBottom)
                bottomEdge -= s;
            else
                topEdge += s;
        } else if (axis->axisType() == KivoAxisTypeY) {
            const double s = capped(axis->getHeight(engine), capY);
            axis->setDesiredSize(KivoSize::create(H, s));
            if (position != KivoAxisPositionLeft && position != KivoAxisPositionRight) continue;
            const double half = halfWidthOf(axis->annoSize());
            oy = std::max(oy, half);
            by = std::min(by, H - half);
            if (position == KivoAxisPositionLeft)
                leftEdge += s;
            else
                rightEdge -= s;
        }
    }

    const double left = L + std::max(ox, leftEdge), right = L + std::min(rx, rightEdge);
    const double top = T + std::max(oy, topEdge), bottom = T + std::min(by, bottomEdge);
    const auto plot = KivoRect::create(left, top, std::max(right - left, MinPlotExtent), std::max(bottom - top, MinPlotExtent));
    setPlotRect(plot);
    engine->setStroke(std::nullopt);

    // Axes sharing a side stack outwards from the plot area in list order.
    double below = plot->bottom(), above = plot->top(), leftLine = plot->left(), rightLine = plot->right();
    const double pw = plot->width(), ph = plot->height();
    _axesInUse.clear();
    for (const auto& axis : axes) {
        const double d = axis->desiredSize() ? axis->desiredSize()->height() : 0.0;
        std::shared_ptr<KivoRect> band;
        if (axis->axisType() == KivoAxisTypeX) {
            if (axis->position() == KivoAxisPositionBottom) {
                band = KivoRect::create(plot->left(), below, pw, d);
                below += d;
            } else if (axis->position() == KivoAxisPositionTop) {
                band = KivoRect::create(plot->left(), above - d, pw, d);
                above -= d;
            } else {
                band = KivoRect::create(plot->left(), above, pw, SidelessAxisThickness);
            }
        } else if (axis->axisType() == KivoAxisTypeY) {
            // Vertical axes get their band with length and thickness swapped (length as width).
            if (axis->position() == KivoAxisPositionLeft) {
                band = KivoRect::create(leftLine - d, plot->top(), ph, d);
                leftLine -= d;
            } else if (axis->position() == KivoAxisPositionRight) {
                band = KivoRect::create(rightLine, plot->top(), ph, d);
                rightLine += d;
            } else {
                band = KivoRect::create(leftLine, plot->top(), ph, SidelessAxisThickness);
            }
        } else {
            continue;
        }
        axis->layout(band, plot);
        _axesInUse.push_back(axis);
    }
}

// ---- Hit testing of one series ----

std::shared_ptr<KivoChartHitTestInfo> OmbriChart::hitTestSeries(const std::shared_ptr<KivoPoint>& point,
                                                                std::int32_t seriesIndex) {
    const double x = point ? point->x() : 0, y = point ? point->y() : 0;
    auto info = KivoChartHitTestInfo::create(sharedAs<OmbriChart>(), x, y);
    if (!point || !_hitTester) return info;
    const auto local = toControl(x, y);
    const auto hit = _hitTester->hitTestSeries(local, seriesIndex);
    if (!hit || !hit->area()) return info;
    const auto dataPoint = hit->area()->tag().as<KivoChartDataPoint>();
    if (!dataPoint) return info;
    info->setDataPoint(dataPoint);
    info->setDistance(hit->distance());
    info->setArea(hit->area());
    info->setChartElement(KivoChartElementPlotArea);
    const auto index = dataPoint->seriesIndex();
    if (index >= 0 && _series && static_cast<std::size_t>(index) < _series->count())
        info->setSeries(_series->objectAtIndexAs<KivoSeries>(static_cast<std::size_t>(index)));
    return info;
}
