// KivoAreaPlotter: what is drawn over an area: the symbols (only through the element hooks), the data
// labels, and the selected series redrawn on top.
//
// Sections: symbols · labels · selection.

#include <string>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoAreaPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/LineFamilyMotion.h"
#include "plotters/LinePointArea.h"

namespace {

bool present(double x, double y) { return !std::isnan(x) && !std::isnan(y); }

}  // namespace

// ---- Symbols ----

void KivoAreaPlotter::_drawAreaSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoSeries>& series,
                                      std::span<const double> dx, std::span<const double> dy, std::int64_t type) {
    const auto owner = chart();
    if (!owner || !series) return;
    if (type != KivoPlotElementEventPathEvent && type != KivoPlotElementEventPathDelegate) return;
    const std::int32_t seriesIndex = kivo::detail::seriesPosition(*owner, series);
    const auto renderer = std::make_shared<BasePlotElementRender>();
    for (std::size_t k = 0; k < dx.size() && k < dy.size(); ++k) {
        const double x = dx[k], y = dy[k];
        if (!present(x, y)) continue;
        const auto position = static_cast<std::int32_t>(k);
        if (type == KivoPlotElementEventPathEvent) {
            raisePlotElement(engine, nullptr, series, position, x, y, nullptr);
            continue;
        }
        const auto host = owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading);
        if (!host) return;
        const double s = _symbolSize;
        if (!host->handlePlotElementLoading(owner, engine, KivoRect::create(x, y, s, s), position, KivoPoint::create(x, y),
                                            seriesIndex, renderer))
            continue;
        const auto& view = owner->customPlotElement();
        if (!view || !kivo::detail::chartState(*owner).beginPlotElementLoading) continue;
        // The custom view stands centred on the point.
        view->setFrame({x - s * 0.5, y - s * 0.5, s, s});
        owner->addSubview(view);
    }
}

// ---- Labels ----

void KivoAreaPlotter::_drawDataLabels(const std::shared_ptr<IKivoRenderEngine>&, const std::shared_ptr<KivoSeries>& series,
                                      std::span<const double> dx, std::span<const double> dy, std::span<const LabelPoint> points) {
    const auto owner = chart();
    if (!owner || !series) return;
    const auto& renderer = owner->dataLabelRenderer();
    if (!renderer) return;
    const std::int32_t seriesIndex = kivo::detail::seriesPosition(*owner, series);
    const std::string name = series->name().value_or("");
    const std::size_t n = std::min({dx.size(), dy.size(), points.size()});
    for (std::size_t k = 0; k < n; ++k) {
        const double x = dx[k], y = dy[k];
        if (!present(x, y)) continue;
        const auto& point = points[k];
        const plat::Value text = kivo::detail::xText(*owner, point.index, point.x, _rotated);
        renderer->render(name, KivoRect::create(x, y, 0, 0), seriesIndex, point.index, point.x, point.y, text);
    }
}

// ---- Selection ----

void KivoAreaPlotter::redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!_selState || !engine) return;
    engine->restoreState(_selState);
    if (_isSpline && !_selReduced) {
        engine->drawSplineAreas(_selDataX2, _selDataY2, _stacking != KivoPlotterStackingNone, _rotated);
    } else {
        engine->drawPolygon(_selDataX2, _selDataY2);
        // The outline is stroked closed: back to its first point.
        auto closedX = _selDataX2, closedY = _selDataY2;
        if (!closedX.empty() && !closedY.empty()) {
            closedX.push_back(closedX.front());
            closedY.push_back(closedY.front());
        }
        engine->drawLines(closedX, closedY);
    }
    engine->setBorderDashes({});
    const auto owner = chart();
    if (owner && owner->dataLabel() && owner->dataLabel()->position() != KivoDataLabelPositionNone)
        _drawDataLabels(engine, _selSeries, _selDataX1, _selDataY1, _selLabels);
    _selState.reset();
    _selSeries.reset();
    _selDataX1.clear();
    _selDataY1.clear();
    _selDataX2.clear();
    _selDataY2.clear();
    _selLabels.clear();
    _selReduced = false;
}
