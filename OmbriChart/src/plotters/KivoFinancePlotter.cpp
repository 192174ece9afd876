// KivoFinancePlotter: the drawing path of one financial element.

#include "OmbriChart/KivoFinancePlotter.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"

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
