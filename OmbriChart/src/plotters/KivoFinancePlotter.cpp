// KivoFinancePlotter: reading a mark's values, the limits of financial series, and the drawing path
// of one financial element. The series drawing is in KivoFinancePlotterSeries.cpp.
//
// Sections: values · limits · one element.

#include "OmbriChart/KivoFinancePlotter.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "plotters/KivoFinancePlotterArea.h"

// ---- Values ----

plat::Value KivoFinancePlotter::getValue(const plat::Value& item, const std::optional<std::string>& key) {
    if (!key || item.isNil()) return plat::Value::null();
    plat::Value value = KivoReflector::getValue(item, *key);
    return value.isNumber() ? value : plat::Value::null();
}

// ---- Limits ----

std::shared_ptr<KivoRect> KivoFinancePlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo,
                                                           std::optional<double> logBase) {
    setDataInfo(dataInfo);
    if (!dataInfo) return KivoBasePlotter::adjustLimits(dataInfo, logBase);
    const double minX = dataInfo->getMinX(), maxX = dataInfo->getMaxX();
    double minY = dataInfo->getMinY(), maxY = dataInfo->getMaxY();
    const auto owner = chart();
    if (owner && owner->series()) {
        // The high is the Y value the analysis saw; the other three widen the range here. Hidden series
        // count too, so showing one does not move the value axis.
        const auto widen = [&](double v) {
            if (!KivoDataInfo::isValid(v)) return;
            minY = std::isnan(minY) ? v : std::min(minY, v);
            maxY = std::isnan(maxY) ? v : std::max(maxY, v);
        };
        for (const auto& entry : *owner->series()) {
            const auto series = entry.as<KivoSeries>();
            if (!series) continue;
            for (std::int64_t k = kivo::detail::LowBinding; k <= kivo::detail::CloseBinding; ++k) {
                const auto column = kivo::detail::financeColumn(*series, k);
                if (!column) continue;
                for (std::size_t i = 0; i < column->size(); ++i) widen(column->at(static_cast<std::int64_t>(i)));
            }
        }
        const auto& axis = _rotated ? owner->axisY() : owner->axisX();
        if (axis && !std::isnan(axis->origin())) minY = std::fmin(minY, axis->origin());
    }
    if (_rotated) return KivoRect::create(minY, minX, maxY - minY, maxX - minX);
    return KivoRect::create(minX, minY, maxX - minX, maxY - minY);
}

// ---- One element ----

void KivoFinancePlotter::_drawFinanceElement(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double w,
                                             double hi, double lo, double open, double close,
                                             const std::shared_ptr<KivoSeries>& series, std::int32_t seriesIndex,
                                             std::int32_t pointIndex, bool rotated, bool reversed, std::int32_t type,
                                             const std::shared_ptr<KivoChartDataPoint>& dataPoint) {
    if (!engine) return;
    auto renderer =
        std::make_shared<DefaultFinanceElementRender>(engine, x, y, w, hi, lo, open, close, _isCandle, rotated, reversed);
    // The body's rectangle: nothing without both open and close.
    auto rect = KivoRect::create();
    if (std::isfinite(open) && std::isfinite(close)) {
        const double mn = std::min(open, close), extent = std::fabs(open - close);
        rect = rotated ? KivoRect::create(mn, y - w / 2, extent, w) : KivoRect::create(x - w / 2, mn, w, extent);
    }

    if (type == KivoPlotElementEventPathEvent) {
        // The default mark is drawn after the handlers, in the colours they chose (a selected element
        // keeps its selection stroke).
        raisePlotElement(engine, renderer, series, pointIndex, rotated ? hi : x, rotated ? y : hi, dataPoint,
                         [&](KivoChartPlotElementEventArgs& args) {
                             const auto& target = args.renderEngine() ? args.renderEngine() : engine;
                             if (args.candleFillColor()) target->setFill(args.candleFillColor());
                             if (args.candleBorderColor())
                                 engine->setStroke(_isSelected ? _strokeColor : args.candleBorderColor());
                             if (args.defaultRender()) args.defaultRender()->execute();
                         });
        return;
    }
    if (type == KivoPlotElementEventPathDelegate) {
        const auto saved = engine->saveState();
        if (!askHostToDraw(engine, renderer, rect, pointIndex, rect->left(), rect->top(), seriesIndex)) renderer->execute();
        engine->restoreState(saved);
        return;
    }
    renderer->execute();
}
