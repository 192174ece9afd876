// OmbriChart: the plotter pool, the choice of a plotter by chart type, and the chart queries the
// plotters ask while drawing (selection, plot-element event, null interpolation, fonts).

#include <cmath>

#include "OmbriChart/KivoAreaPlotter.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoFinancePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

// The variant flags of the line family, in the order symbols, lines, spline.
void setLineVariant(IKivoPlotter& plotter, bool symbols, bool lines, bool spline) {
    if (auto* line = dynamic_cast<KivoLinePlotter*>(&plotter)) {
        line->setHasSymbols(symbols);
        line->setHasLines(lines);
        line->setIsSpline(spline);
    }
}

void setAreaVariant(IKivoPlotter& plotter, bool spline) {
    if (auto* area = dynamic_cast<KivoAreaPlotter*>(&plotter)) area->setIsSpline(spline);
}

void setFinanceVariant(IKivoPlotter& plotter, bool candle) {
    if (auto* finance = dynamic_cast<KivoFinancePlotter*>(&plotter)) finance->setIsCandle(candle);
}

// A number that is neither NaN nor infinite, at a position inside the array; NaN otherwise.
double validAt(const plat::Array& values, std::int64_t j) {
    if (j < 0 || static_cast<std::uint64_t>(j) >= values.size()) return NAN;
    const auto& v = values[static_cast<std::size_t>(j)];
    if (!v.isNumber()) return NAN;
    const double d = v.asDouble();
    return std::isfinite(d) ? d : NAN;
}

}  // namespace

// ---- The pool ----

std::shared_ptr<IKivoPlotter> OmbriChart::makePlotter(PlotterFamily family) {
    const auto self = sharedAs<OmbriChart>();
    switch (family) {
        case PlotterFamily::Bar:
            return KivoBarPlotter::create(self, _dataInfo, _hitTester);
        case PlotterFamily::Line:
            return KivoLinePlotter::create(self, _dataInfo, _hitTester);
        case PlotterFamily::Area:
            return KivoAreaPlotter::create(self, _dataInfo, _hitTester);
        case PlotterFamily::Bubble:
            return KivoBubblePlotter::create(self, _dataInfo, _hitTester);
        case PlotterFamily::Finance:
            return KivoFinancePlotter::create(self, _dataInfo, _hitTester);
    }
    return nullptr;
}

const std::shared_ptr<IKivoPlotter>& OmbriChart::plotter(PlotterFamily family) {
    std::shared_ptr<IKivoPlotter>* slot = &_barPlotter;
    switch (family) {
        case PlotterFamily::Bar:
            slot = &_barPlotter;
            break;
        case PlotterFamily::Line:
            slot = &_linePlotter;
            break;
        case PlotterFamily::Area:
            slot = &_areaPlotter;
            break;
        case PlotterFamily::Bubble:
            slot = &_bubblePlotter;
            break;
        case PlotterFamily::Finance:
            slot = &_financePlotter;
            break;
    }
    if (!*slot) *slot = makePlotter(family);
    return *slot;
}

std::vector<IKivoPlotter*> OmbriChart::madePlotters() const {
    std::vector<IKivoPlotter*> made;
    for (const auto* slot : {&_areaPlotter, &_barPlotter, &_linePlotter, &_bubblePlotter, &_financePlotter})
        if (*slot) made.push_back(slot->get());
    return made;
}

void OmbriChart::renewDataInfo() {
    _dataInfo = KivoDataInfo::create();
    for (auto* plotter : madePlotters()) plotter->setDataInfo(_dataInfo);
}

void OmbriChart::_clearPlotters() {
    for (auto* plotter : madePlotters()) plotter->clear();
}

std::int64_t OmbriChart::effectiveType(const KivoSeries& series) const {
    return series.chartType() != OmbriChartTypeDefault ? series.chartType() : chartType();
}

std::shared_ptr<IKivoPlotter> OmbriChart::_getPlotter(const std::shared_ptr<KivoSeries>& series) {
    const std::int64_t type = series ? effectiveType(*series) : chartType();
    std::shared_ptr<IKivoPlotter> chosen;
    switch (type) {
        case OmbriChartTypeColumn:
        case OmbriChartTypeBar:
            chosen = barPlotter();
            break;
        case OmbriChartTypeScatter:
            chosen = bubblePlotter();
            if (chosen) setLineVariant(*chosen, true, false, false);
            break;
        case OmbriChartTypeBubble:
            // Keeps the symbols-only variant it was made with and that scatter charts write.
            chosen = bubblePlotter();
            break;
        case OmbriChartTypeLine:
        case OmbriChartTypeLineSymbols:
        case OmbriChartTypeSpline:
        case OmbriChartTypeSplineSymbols:
            chosen = linePlotter();
            if (chosen)
                setLineVariant(*chosen, type == OmbriChartTypeLineSymbols || type == OmbriChartTypeSplineSymbols, true,
                               type == OmbriChartTypeSpline || type == OmbriChartTypeSplineSymbols);
            break;
        case OmbriChartTypeArea:
        case OmbriChartTypeSplineArea:
            chosen = areaPlotter();
            if (chosen) setAreaVariant(*chosen, type == OmbriChartTypeSplineArea);
            break;
        case OmbriChartTypeCandlestick:
        case OmbriChartTypeHighLowOpenClose:
            chosen = financePlotter();
            if (chosen) setFinanceVariant(*chosen, type == OmbriChartTypeCandlestick);
            break;
        default:
            return nullptr;
    }
    // The chart's rotation, whatever the series' own type: a bar series in a column chart stands upright.
    if (chosen) chosen->setRotated(_isRotated());
    return chosen;
}

// ---- What the plotters ask ----

bool OmbriChart::isSeriesSelected(const std::shared_ptr<KivoSeries>& series) const {
    return series && selection() && selection() == std::static_pointer_cast<plat::Object>(series);
}

void OmbriChart::onPlotElementLoading(const std::shared_ptr<KivoChartPlotElementEventArgs>& args) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!_plotElementLoading) return;
    const auto handlers = _plotElementLoading->handlers();
    if (!handlers || handlers->empty()) return;
    _plotElementLoading->raise(shared_from_this(), args);
}

double OmbriChart::getInterpolatedValue(const KivoValues& values, std::int32_t index, std::int32_t count) const {
    if (!values) return NAN;
    double next = NAN, previous = NAN;
    for (std::int64_t j = std::int64_t{index} + 1; j <= count; ++j) {
        next = validAt(*values, j);
        if (!std::isnan(next)) break;
    }
    for (std::int64_t j = std::int64_t{index} - 1; j >= 0; --j) {
        previous = validAt(*values, j);
        if (!std::isnan(previous)) break;
    }
    const bool hasPrevious = !std::isnan(previous), hasNext = !std::isnan(next);
    if (hasPrevious && hasNext) return (previous + next) * 0.5;
    // One side only: the line carries on at that neighbour's value.
    if (hasPrevious) return previous;
    if (hasNext) return next;
    return NAN;
}
