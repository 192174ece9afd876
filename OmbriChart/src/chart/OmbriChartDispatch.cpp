// OmbriChart: handing the series of a drawing pass to their plotters (indices, counts, origin), and
// working out the progress of each series or point while the load animation reveals them.
//
// Sections: frame kinds · all at once · series by series · point by point · counting · helpers.

#include <algorithm>
#include <cmath>
#include <limits>

#include "OmbriChart/IKivoPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"

namespace {

constexpr std::int32_t NoSelection = -1;

// A quotient of times or counts as a whole number, toward zero, within 0 … int32 max; `fallback` when
// it is not a number.
std::int32_t wholePart(double value, std::int32_t fallback) {
    if (std::isnan(value)) return fallback;
    if (!(value < static_cast<double>(std::numeric_limits<std::int32_t>::max()))) return std::numeric_limits<std::int32_t>::max();
    return value > 0 ? static_cast<std::int32_t>(value) : 0;
}

std::shared_ptr<KivoSeries> seriesAt(const plat::Array& series, std::size_t i) { return series[i].as<KivoSeries>(); }

}  // namespace

// ---- Frame kinds ----

void OmbriChart::_renderSeries(double t) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!(_loadAnimation && _loadAnimation->duration() > 0)) {
        _renderByAll(0);
        return;
    }
    switch (_loadAnimation->animationMode()) {
        case KivoLoadAnimationModeSeries:
            _renderBySeries(t);
            break;
        case KivoLoadAnimationModePoint:
            _renderByPoint(t);
            break;
        default:
            _renderByAll(t);
            break;
    }
}

// ---- All at once ----

void OmbriChart::_renderByAll(double t) {
    const auto alive = keepAlive();  // application code below may drop the chart
    const std::int64_t action =
        _state->updateEventArgs ? _state->updateEventArgs->action() : KivoNotifyCollectionChangedActionReset;
    const bool seriesUpdate = _state->seriesCollectionUpdated && _state->isUpdateTask1();
    const bool addOrRemove = action == KivoNotifyCollectionChangedActionAdd || action == KivoNotifyCollectionChangedActionRemove;
    const plat::Array& array = seriesUpdate && addOrRemove ? _state->seriesArrayForUpdate : _series->sourceArray();
    // A series added while the load animation reveals point by point waits for the second task.
    const bool skipAdded = seriesUpdate && action == KivoNotifyCollectionChangedActionAdd && _loadAnimation &&
                           _loadAnimation->animationMode() == KivoLoadAnimationModePoint && t == 0;
    const std::size_t n = array.size();
    if (n < 1) return;
    beginSeriesPass();

    if (hasMixedTypes(array)) {
        // Each series goes to the plotter of its own type; its index is its position.
        for (std::size_t i = 0; i < n; ++i) {
            const auto s = seriesAt(array, i);
            if (!s || !isPlottedByAll(*s)) continue;
            const auto plotter = _getPlotter(s);
            if (!plotter) continue;
            plotter->setTime(t);
            plotter->setStacking(_stacking);
            plotter->setSymbolSize(_symbolSize);
            plotter->setDataInfoCount(lastPointIndex());
            plotter->setOrigin(plotterOrigin(*s, *plotter));
            plotInFrame(*plotter, s, i, array, true, 0, static_cast<std::int32_t>(i));
        }
        return;
    }

    const auto plotter = _getPlotter(nullptr);
    if (!plotter) return;
    plotter->setTime(t);
    plotter->setStacking(_stacking);
    plotter->setSymbolSize(_symbolSize);
    plotter->setDataInfoCount(lastPointIndex());
    const std::int32_t count = _getSeriesRealLen(array);
    const std::int64_t startingIndex = _state->updateEventArgs ? _state->updateEventArgs->startingIndex() : -1;
    std::int32_t drawn = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (skipAdded && static_cast<std::int64_t>(i) == startingIndex) {
            // Its place stays: the series after it keep their slots.
            ++drawn;
            continue;
        }
        const auto s = seriesAt(array, i);
        if (!s) continue;
        plotter->setOrigin(plotterOrigin(*s, *plotter));
        if (!isPlottedByAll(*s)) continue;
        plot(*plotter, s, drawn, drawn, count, chartType());
        ++drawn;
    }
    plotter->redoSelection(renderEngine());
}

// ---- Series by series ----

void OmbriChart::_renderBySeries(double t) {
    const auto alive = keepAlive();  // application code below may drop the chart
    const plat::Array& array = _series->sourceArray();
    if (array.empty()) return;
    beginSeriesPass();
    const bool mixed = hasMixedTypes(array);
    const auto chartPlotter = _getPlotter(nullptr);
    const std::int32_t visible = chartPlotter ? chartPlotter->getRealLen(array) : _getSeriesRealLen(array);

    // Each visible series starts a step after the one before and has half the duration to play; the
    // last starts at half the duration, so all are complete when it ends.
    const double D = _state->activeUpdateAnimation ? _state->activeUpdateAnimation->duration() : 0.0;
    const double half = D * 0.5;
    const double step = visible >= 2 ? half / (visible - 1) : 0.0;
    // The last frame (t at or past the duration), or a duration that leaves no step, shows them all.
    if (!(t < D) || !(step > 0))
        _state->seriesCount = visible;
    else
        _state->seriesCount = std::min(visible, wholePart(t / step, visible - 1) + 1);

    std::shared_ptr<IKivoPlotter> last;
    std::int32_t rank = 0, drawn = 0;
    for (std::size_t i = 0; i < array.size() && rank < _state->seriesCount; ++i) {
        const auto s = seriesAt(array, i);
        // The walk counts visible series only: a hidden one neither delays the next nor takes a place.
        if (!s || !s->isDrawn()) continue;
        s->setAnimationTime(t - step * rank);
        s->setAnimationDuration(half);
        ++rank;
        const auto plotter = _getPlotter(s);
        if (!plotter) continue;
        plotter->setSymbolSize(_symbolSize);
        plotter->setTime(t);
        plotter->setStacking(_stacking);
        plotter->setOrigin(plotterOrigin(*s, *plotter));
        plotInFrame(*plotter, s, i, array, mixed, visible, drawn++);
        last = plotter;
    }
    finishFrame(mixed, last ? last : chartPlotter);
}

// ---- Point by point ----

void OmbriChart::_renderByPoint(double t) {
    const auto alive = keepAlive();  // application code below may drop the chart
    const plat::Array& array = _series->sourceArray();
    if (array.empty()) return;
    beginSeriesPass();
    const bool mixed = hasMixedTypes(array);
    const auto chartPlotter = _getPlotter(nullptr);
    const std::int32_t visible = chartPlotter ? chartPlotter->getRealLen(array) : _getSeriesRealLen(array);
    const std::int32_t E = lastPointIndex();
    const bool bars = chartType() == OmbriChartTypeColumn || chartType() == OmbriChartTypeBar;

    // Bars finish revealing by half-time; other types add a point after each duration / page size
    // seconds. A segment, page or window that is empty reveals everything.
    const double D = _state->activeUpdateAnimation ? _state->activeUpdateAnimation->duration() : 0.0;
    const double pageSize = static_cast<double>(_dataInfo->getPageSize());
    const double segment = bars ? D * 0.5 : D / pageSize;
    const bool lastFrame = !(t < D);
    std::int32_t revealed = E;
    if (!lastFrame && segment > 0 && std::isfinite(segment) && E > 0)
        revealed = bars ? std::min(wholePart(t / (segment / E), E), E) : wholePart(t / segment, E);

    std::shared_ptr<IKivoPlotter> last;
    std::int32_t drawn = 0;
    for (std::size_t i = 0; i < array.size(); ++i) {
        const auto s = seriesAt(array, i);
        if (!s) continue;
        s->setAnimationTime(t);
        s->setAnimationDuration(segment);
        if (!s->isDrawn()) continue;
        const auto plotter = _getPlotter(s);
        if (!plotter) continue;
        plotter->setTime(t);
        plotter->setStacking(_stacking);
        plotter->setSymbolSize(_symbolSize);
        plotter->setOrigin(plotterOrigin(*s, *plotter));
        plotter->setDataInfoCount(lastFrame ? E : revealed);
        plotInFrame(*plotter, s, i, array, mixed, visible, drawn++);
        last = plotter;
    }
    finishFrame(mixed, last ? last : chartPlotter);
}

// ---- Counting ----

std::int32_t OmbriChart::_getRealSeriesCount(std::int64_t type, std::int64_t seriesChartType, const plat::Array& series) const {
    std::int32_t n = 0;
    for (const auto& entry : series) {
        const auto s = entry.as<KivoSeries>();
        if (s && (s->chartType() == OmbriChartTypeDefault ? type : s->chartType()) == seriesChartType) ++n;
    }
    return n;
}

std::int32_t OmbriChart::_getRealSeriesIndex(std::int64_t type, std::int64_t seriesChartType, const plat::Array& series,
                                             std::int32_t index) const {
    if (index < 0) return -1;
    std::int32_t n = 0;
    const std::size_t end = std::min(series.size(), static_cast<std::size_t>(index) + 1);
    for (std::size_t i = 0; i < end; ++i) {
        const auto s = seriesAt(series, i);
        if (s && (s->chartType() == OmbriChartTypeDefault ? type : s->chartType()) == seriesChartType) ++n;
    }
    return n - 1;
}

std::int32_t OmbriChart::_getSeriesRealLen(const plat::Array& series) const {
    std::int32_t n = 0;
    for (const auto& entry : series) {
        const auto s = entry.as<KivoSeries>();
        if (s && isPlottedByAll(*s)) ++n;
    }
    return n;
}

// ---- Helpers ----

bool OmbriChart::isPlottedByAll(const KivoSeries& series) const {
    if (!isDrawableChartType(effectiveType(series))) return false;
    if (series.isDrawn()) return true;
    // A series being hidden or removed is drawn while the first task animates it away; other hidden
    // series stay hidden (an item removed from the data changes no series).
    if (!_state->isUpdateTask1() || !_state->seriesCollectionUpdated || !_state->updateEventArgs ||
        _state->updateEventArgs->action() != KivoNotifyCollectionChangedActionRemove || !_state->updateEventArgs->oldItems())
        return false;
    const auto& removed = *_state->updateEventArgs->oldItems();
    return std::any_of(removed.begin(), removed.end(),
                       [&](const plat::Value& entry) { return entry.as<KivoSeries>().get() == &series; });
}

bool OmbriChart::hasMixedTypes(const plat::Array& series) const {
    return std::any_of(series.begin(), series.end(), [&](const plat::Value& entry) {
        const auto s = entry.as<KivoSeries>();
        return s && s->chartType() != OmbriChartTypeDefault && s->chartType() != chartType();
    });
}

double OmbriChart::plotterOrigin(const KivoSeries& series, const IKivoPlotter& plotter) const {
    // The value bars and areas start from: the origin of the axis along which the series' categories
    // run (the series' own axis first).
    double origin;
    if (series.axisX() && !plotter.rotated())
        origin = series.axisX()->origin();
    else if (series.axisY() && plotter.rotated())
        origin = series.axisY()->origin();
    else
        origin = plotter.rotated() ? _axisY->origin() : _axisX->origin();
    return std::isnan(origin) ? 0.0 : origin;
}

std::int32_t OmbriChart::lastPointIndex() const {
    // No items: no index (the window's end would wrap round as an unsigned number).
    if (_dataInfo->getPageSize() == 0) return -1;
    const std::uint64_t end = _dataInfo->getEnd();
    return end > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) ? std::numeric_limits<std::int32_t>::max()
                                                                                      : static_cast<std::int32_t>(end);
}

void OmbriChart::beginSeriesPass() {
    _clearPlotters();
    // Stacked sums belong to one pass: two passes over the same data stack the same.
    _state->stackpos.clear();
    _state->stackneg.clear();
}

void OmbriChart::plotInFrame(IKivoPlotter& plotter, const std::shared_ptr<KivoSeries>& series, std::size_t position,
                             const plat::Array& array, bool mixed, std::int32_t count, std::int32_t index) {
    if (!mixed) {
        plot(plotter, series, index, index, count, chartType());
        return;
    }
    // Ranked among the series of its own type, and its plotter puts its selection on top at once.
    const std::int64_t type = effectiveType(*series);
    plot(plotter, series, index, _getRealSeriesIndex(chartType(), type, array, static_cast<std::int32_t>(position)),
         _getRealSeriesCount(chartType(), type, array), type);
    plotter.redoSelection(renderEngine());
}

void OmbriChart::finishFrame(bool mixed, const std::shared_ptr<IKivoPlotter>& last) {
    // One plotter drew every series: its selection goes on top once, after all of them.
    if (!mixed && last) last->redoSelection(renderEngine());
}

void OmbriChart::plot(IKivoPlotter& plotter, const std::shared_ptr<KivoSeries>& series, std::int32_t index,
                      std::int32_t realIndex, std::int32_t count, std::int64_t type) {
    plotter.plotSeries(series, renderEngine(), series->axisX() ? series->axisX() : _axisX,
                       series->axisY() ? series->axisY() : _axisY, index, realIndex, count, NoSelection, type, _state->stackpos,
                       _state->stackneg);
}
