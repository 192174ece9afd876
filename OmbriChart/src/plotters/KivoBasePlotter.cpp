// KivoBasePlotter: the frame's settings, the default limits, the series count, the selection test,
// the loop over a series list, and the element drawing paths.

#include "OmbriChart/KivoBasePlotter.h"
#include "chart/ChartState.h"

#include <limits>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/exception.h"

namespace {

constexpr const char* PlotSeriesSelector =
    "plotSeries:engine:axisX:axisY:index:realIndex:count:selectedIndex:chartType:stackPos:stackNeg:";
constexpr const char* RedoSelectionSelector = "redoSelection:";
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

KivoBasePlotter::KivoBasePlotter(const std::shared_ptr<OmbriChart>& chart) : _chart(chart), _symbolSize(DefaultSymbolSize) {}

void KivoBasePlotter::mustOverride(const std::string& selector) {
    throw plat::InternalInconsistencyException("You must override " + selector + " in a subclass");
}

// ---- IKivoPlotter ----

std::shared_ptr<KivoRect> KivoBasePlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double>) {
    _dataInfo = dataInfo;
    const double minX = dataInfo ? dataInfo->getMinX() : NaN;
    const double maxX = dataInfo ? dataInfo->getMaxX() : NaN;
    const double minY = dataInfo ? dataInfo->getMinY() : NaN;
    const double maxY = dataInfo ? dataInfo->getMaxY() : NaN;
    if (_rotated) return KivoRect::create(minY, minX, maxY - minY, maxX - minX);
    return KivoRect::create(minX, minY, maxX - minX, maxY - minY);
}

void KivoBasePlotter::redoSelection(const std::shared_ptr<IKivoRenderEngine>&) { mustOverride(RedoSelectionSelector); }

std::int32_t KivoBasePlotter::getRealLen(const plat::Array& series) const {
    std::int32_t n = 0;
    for (const auto& entry : series)
        if (const auto s = entry.as<KivoSeries>(); s && s->isDrawn()) ++n;
    return n;
}

void KivoBasePlotter::plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                                 const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t,
                                 std::int32_t, std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) {
    mustOverride(PlotSeriesSelector);
}

void KivoBasePlotter::plotSeriesCollection(const plat::Array& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                           const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                           const std::shared_ptr<plat::Object>&, std::int32_t elementIndex,
                                           StackDictionary& stackPos, StackDictionary& stackNeg) {
    const std::int32_t count = getRealLen(series);
    const auto owner = chart();
    const std::int64_t type = owner ? owner->chartType() : OmbriChartTypeDefault;
    std::int32_t plotted = 0;
    for (const auto& entry : series) {
        const auto s = entry.as<KivoSeries>();
        if (!s || !s->isDrawn()) continue;
        plotSeries(s, engine, axisX, axisY, plotted, plotted, count, elementIndex, type, stackPos, stackNeg);
        ++plotted;
    }
    redoSelection(engine);
}

// ---- Selection ----

bool KivoBasePlotter::isSelected(const std::shared_ptr<KivoSeries>& series, std::int32_t selectedIndex,
                                 std::int32_t curentIndex) const {
    const auto owner = chart();
    if (!owner || !owner->selection() || !series) return false;
    const bool same = owner->selection() == std::static_pointer_cast<plat::Object>(series);
    switch (owner->selectionMode()) {
        case KivoChartSelectionModeSeries:
            return same;
        case KivoChartSelectionModePoint:
            return same && selectedIndex == curentIndex;
        default:
            return false;
    }
}

// ---- Element drawing paths ----

std::int32_t KivoBasePlotter::getPlotElementPath() const {
    const auto owner = chart();
    if (!owner) return KivoPlotElementEventPathDefault;
    if (owner->isHandleXFPlotElementLoading() && owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading))
        return KivoPlotElementEventPathDelegate;
    const auto& event = owner->plotElementLoading();
    const auto handlers = event ? event->handlers() : nullptr;
    if (handlers && !handlers->empty()) return KivoPlotElementEventPathEvent;
    return KivoPlotElementEventPathDefault;
}

void KivoBasePlotter::drawPlotElement(std::int32_t path, const std::shared_ptr<IKivoRenderEngine>& engine,
                                      const std::shared_ptr<BasePlotElementRender>& renderer,
                                      const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex, double anchorX,
                                      double anchorY, const std::shared_ptr<KivoRect>& rect,
                                      const std::shared_ptr<KivoChartDataPoint>& dataPoint, std::int32_t seriesNumber) {
    if (!renderer) return;
    if (path == KivoPlotElementEventPathEvent) {
        raisePlotElement(engine, renderer, series, pointIndex, anchorX, anchorY, dataPoint);
    } else if (path == KivoPlotElementEventPathDelegate) {
        if (!askHostToDraw(engine, renderer, rect, pointIndex, anchorX, anchorY, seriesNumber)) renderer->execute();
    } else {
        renderer->execute();
    }
}

void KivoBasePlotter::raisePlotElement(const std::shared_ptr<IKivoRenderEngine>& engine,
                                       const std::shared_ptr<BasePlotElementRender>& renderer,
                                       const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex, double anchorX,
                                       double anchorY, const std::shared_ptr<KivoChartDataPoint>& dataPoint,
                                       const std::function<void(KivoChartPlotElementEventArgs&)>& afterHandlers) {
    const auto owner = chart();
    if (!owner || !engine) return;
    auto info = KivoChartHitTestInfo::create(owner, anchorX, anchorY);
    const auto& point = info->dataPoint();
    if (dataPoint) {
        // The record describes the element: its values, then where it belongs.
        point->setValue(dataPoint->value());
        point->setValueX(dataPoint->valueX());
        point->setDataX(dataPoint->dataX());
        point->setHigh(dataPoint->high());
        point->setLow(dataPoint->low());
        point->setOpen(dataPoint->open());
        point->setClose(dataPoint->close());
        point->setBubbleSize(dataPoint->bubbleSize());
    }
    point->setPointIndex(pointIndex);
    if (series) {
        point->setSeriesName(series->name());
        const std::size_t position = owner->series()->indexOfObject(plat::Value(series));
        point->setSeriesIndex(position < owner->series()->count() ? static_cast<std::int32_t>(position) : -1);
    }
    auto args = std::make_shared<KivoChartPlotElementEventArgs>(engine, info, dataPoint ? dataPoint : point, renderer);
    const auto saved = engine->saveState();
    owner->onPlotElementLoading(args);
    if (afterHandlers) afterHandlers(*args);
    engine->restoreState(saved);
}

bool KivoBasePlotter::askHostToDraw(const std::shared_ptr<IKivoRenderEngine>& engine,
                                    const std::shared_ptr<BasePlotElementRender>& renderer, const std::shared_ptr<KivoRect>& rect,
                                    std::int32_t pointIndex, double anchorX, double anchorY, std::int32_t seriesNumber) {
    const auto owner = chart();
    const auto host = owner ? owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading) : nullptr;
    if (!host) return false;
    const auto area = rect ? rect : KivoRect::create();
    if (!host->handlePlotElementLoading(owner, engine, area, pointIndex, KivoPoint::create(anchorX, anchorY), seriesNumber,
                                        renderer))
        return false;
    if (const auto& view = owner->customPlotElement()) {
        view->setFrame({area->left(), area->top(), area->width(), area->height()});
        owner->addSubview(view);
    }
    return true;
}
