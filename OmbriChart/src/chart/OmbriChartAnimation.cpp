// OmbriChart: the load and update animations: the two collection-change handlers that start an
// update, and the three tasks that run on the shared animation driver and ask for frames.
//
// Sections: change handlers · tasks · task ends · driver.

#include <cmath>

#include "KivoCore/KivoAnimationDriver.h"
#include "OmbriChart/IKivoPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "series/SeriesColumns.h"

using kivo::detail::ChartTask;

namespace {

// The change as the chart replays it: the chart adjusts its indices for hidden series, and the
// arguments that other handlers of the same change saw stay as they were raised.
std::shared_ptr<KivoNotifyCollectionChangedEventArgs> privateCopy(const KivoNotifyCollectionChangedEventArgs& args) {
    return std::make_shared<KivoNotifyCollectionChangedEventArgs>(args.action(), args.items(), args.startingIndex(),
                                                                  args.oldItems(), args.oldStartingIndex());
}

bool isLineOrAreaType(std::int64_t type) {
    switch (type) {
        case OmbriChartTypeLine:
        case OmbriChartTypeLineSymbols:
        case OmbriChartTypeArea:
        case OmbriChartTypeSpline:
        case OmbriChartTypeSplineSymbols:
        case OmbriChartTypeSplineArea:
            return true;
        default:
            return false;
    }
}

}  // namespace

// ---- Change handlers ----

void OmbriChart::onSeriesCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (!args) return;
    if (!canAnimateChange()) {
        // A series shown or hidden now is not animated either.
        setIsSeriesVisibilityAnimation(false);
        invalidate();
        return;
    }
    beginUpdate(args);
    _state->seriesCollectionUpdated = true;
    _startUpdateSeriesAnimationTask1();
}

void OmbriChart::onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // New items through the chart's own setters play the load animation; the setters bind them.
    if (!args || _state->replacingData) return;
    // A reset was bound by the chart base already, which hears the change first.
    const bool reset = args->action() == KivoNotifyCollectionChangedActionReset;
    const bool replaceDuringTask1 =
        _state->running == ChartTask::Update1 && args->action() == KivoNotifyCollectionChangedActionReplace;
    if (!canAnimateChange() || replaceDuringTask1) {
        // Not animated, but never lost: the next pass draws the new data.
        if (!reset) kivo::detail::ChartInternals::itemsChanged(*this, *args);
        invalidate();
        return;
    }
    beginUpdate(args);
    _state->collectionViewUpdated = true;
    // The values before the change, per series position (hidden series too), for the plotters to move from.
    _state->prevYValsArray.clear();
    _state->prevXValsArray.clear();
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        _state->prevYValsArray.push_back(s ? kivo::detail::SeriesInternals::keptValues(*s, 0) : nullptr);
        _state->prevXValsArray.push_back(s ? kivo::detail::SeriesInternals::keptValues(*s, 1) : nullptr);
    }
    if (args->action() == KivoNotifyCollectionChangedActionRemove) {
        const auto plotter = _getPlotter(nullptr);
        const auto& info = plotter && plotter->dataInfo() ? plotter->dataInfo() : _dataInfo;
        _state->stackAbs = std::make_shared<StackDictionary>(info->getStackAbs());
    }
    if (!reset) kivo::detail::ChartInternals::itemsChanged(*this, *args);
    _startUpdateSeriesAnimationTask1();
}

void OmbriChart::beginUpdate(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // The newest change owns the update state: an update still running gives it up.
    stopAllLinks();
    _state->seriesCollectionUpdated = false;
    _state->collectionViewUpdated = false;
    _state->chartUpdate = true;
    _state->update = ChartTask::Update1;
    _state->suppressAnimation = false;
    _state->updateEventArgs = privateCopy(*args);
    _state->prevAxisYMax = _axisY->actualMax();
    _state->prevAxisYMin = _axisY->actualMin();
    _state->prevAxisXMax = _axisX->actualMax();
    _state->prevAxisXMin = _axisX->actualMin();
}

// ---- Tasks ----

std::shared_ptr<KivoAnimation> OmbriChart::_getActiveUpdateAnimation(bool task1) const {
    const std::int64_t action =
        _state->updateEventArgs ? _state->updateEventArgs->action() : KivoNotifyCollectionChangedActionReset;
    if (task1) {
        // A removed bar or bubble shrinks away at the pace of the load animation; lines and areas move.
        if (action == KivoNotifyCollectionChangedActionRemove && !isLineOrAreaType(chartType())) return _loadAnimation;
        return _updateAnimation;
    }
    // An added one grows in at the pace of the load animation.
    return action == KivoNotifyCollectionChangedActionAdd ? _loadAnimation : _updateAnimation;
}

void OmbriChart::_startLoadingAnimationTask() {
    stopAllLinks();
    _state->plotTime = 0;
    _state->beginPlotElementLoading = false;
    _state->activeUpdateAnimation = _loadAnimation;
    _state->running = ChartTask::Load;
    runTask(_loadAnimation.get(), &OmbriChart::_loadingAnimationTask);
}

void OmbriChart::_startUpdateSeriesAnimationTask1() {
    stopAllLinks();
    _state->plotTime = 0;
    _state->beginPlotElementLoading = false;
    _state->activeUpdateAnimation = _getActiveUpdateAnimation(true);
    if (_state->seriesCollectionUpdated && _state->isUpdateTask1()) rebuildSeriesArrayForUpdate();
    _state->running = ChartTask::Update1;
    runTask(_state->activeUpdateAnimation.get(), &OmbriChart::_updateSeriesAnimationTask1);
}

void OmbriChart::_startUpdateSeriesAnimationTask2() {
    stopAllLinks();
    _state->update = ChartTask::Update2;
    _state->suppressAnimation = false;
    _state->plotTime = 0;
    _state->beginPlotElementLoading = false;
    _state->activeUpdateAnimation = _getActiveUpdateAnimation(false);
    _state->running = ChartTask::Update2;
    runTask(_state->activeUpdateAnimation.get(), &OmbriChart::_updateSeriesAnimationTask2);
}

void OmbriChart::rebuildSeriesArrayForUpdate() {
    _state->seriesArrayForUpdate.clear();
    auto& args = *_state->updateEventArgs;
    const std::int64_t action = args.action();
    if (action != KivoNotifyCollectionChangedActionAdd && action != KivoNotifyCollectionChangedActionRemove) return;
    // The index of the change becomes its place among the drawn series.
    const bool add = action == KivoNotifyCollectionChangedActionAdd;
    const std::int64_t at = add ? args.startingIndex() : args.oldStartingIndex();
    std::int64_t place = at;
    for (std::size_t i = 0; i < _series->count(); ++i) {
        const auto& entry = _series->objectAtIndex(i);
        const auto s = entry.as<KivoSeries>();
        if (s && s->isDrawn())
            _state->seriesArrayForUpdate.push_back(entry);
        else if (static_cast<std::int64_t>(i) < at)
            --place;
    }
    if (add) {
        args.setStartingIndex(place);
        return;
    }
    args.setOldStartingIndex(place);
    // The removed series stays drawable at its former place while it disappears.
    const auto& old = args.oldItems();
    if (!old || old->empty()) return;
    const plat::Value& removed = old->front();
    for (const auto& entry : _state->seriesArrayForUpdate)
        if (entry.isIdentical(removed)) return;
    const std::int64_t size = static_cast<std::int64_t>(_state->seriesArrayForUpdate.size());
    const std::int64_t index = place < 0 ? 0 : (place > size ? size : place);
    _state->seriesArrayForUpdate.insert(_state->seriesArrayForUpdate.begin() + index, removed);
}

// ---- Task ends ----

void OmbriChart::_loadingAnimationTask() {
    _state->suppressAnimation = true;
    _state->beginPlotElementLoading = true;
    invalidate();
}

void OmbriChart::_updateSeriesAnimationTask1() {
    auto& state = *_state;
    state.suppressAnimation = true;
    state.update = ChartTask::None;
    // Bars and financial elements (and, after a data change, scatter points and bubbles) play a second
    // task when one series or item was added or removed and all series share the chart's type.
    const std::int64_t type = chartType();
    const bool eligible = type == OmbriChartTypeColumn || type == OmbriChartTypeBar || type == OmbriChartTypeCandlestick ||
                          type == OmbriChartTypeHighLowOpenClose ||
                          ((type == OmbriChartTypeScatter || type == OmbriChartTypeBubble) && state.collectionViewUpdated);
    const std::int64_t action = state.updateEventArgs ? state.updateEventArgs->action() : KivoNotifyCollectionChangedActionReset;
    const bool addOrRemove = action == KivoNotifyCollectionChangedActionAdd || action == KivoNotifyCollectionChangedActionRemove;
    if (eligible && addOrRemove && !hasMixedTypes(_series->sourceArray())) {
        _startUpdateSeriesAnimationTask2();
        return;
    }
    state.seriesCollectionUpdated = false;
    state.collectionViewUpdated = false;
    state.beginPlotElementLoading = true;
    state.updateEventArgs = KivoNotifyCollectionChangedEventArgs::reset();
    invalidate();
}

void OmbriChart::_updateSeriesAnimationTask2() {
    auto& state = *_state;
    state.suppressAnimation = true;
    state.seriesCollectionUpdated = false;
    state.collectionViewUpdated = false;
    state.beginPlotElementLoading = true;
    state.updateEventArgs = KivoNotifyCollectionChangedEventArgs::reset();
    invalidate();
}

// ---- Driver ----

void OmbriChart::runTask(const KivoAnimation* animation, TaskEnd end) {
    const double delay = animation ? animation->startDelay() : 0.0;
    const double duration = animation ? animation->duration() : 0.0;
    // The driver runs the whole span, delay included, without a delay of its own: the clock advances
    // through the delay too, so that a pass asked for by something else meanwhile draws the first
    // frame. A span the clock cannot time ends the task at its first tick.
    const bool timed = std::isfinite(delay) && std::isfinite(duration) && duration > 0;
    const double span = timed ? delay + duration : 0.0;
    std::weak_ptr<OmbriChart> weak = sharedAs<OmbriChart>();
    KivoAnimationDriver::Handlers handlers;
    handlers.frame = [weak, delay](const KivoAnimationDriver::Frame& frame) {
        const auto chart = weak.lock();
        if (!chart || frame.fraction >= 1) return;  // the end step draws the closing frame
        chart->_state->plotTime = frame.elapsed;
        if (frame.elapsed >= delay) chart->invalidate();
    };
    handlers.end = [weak, end, span](KivoAnimationDriver::End how) {
        const auto chart = weak.lock();
        if (!chart || how != KivoAnimationDriver::End::Finished) return;
        // The clock stands at the task's end for the closing frame.
        chart->_state->plotTime = span > 0 ? span : 0.0;
        chart->stopAllLinks();
        ((*chart).*end)();
    };
    _state->driver = KivoAnimationDriver::start(weak, span, 0.0, nullptr, std::move(handlers));
}

void OmbriChart::stopAllLinks() {
    // Taken out first: stopping calls the end handler, which leaves a stopped task alone.
    if (auto driver = std::move(_state->driver)) driver->stop();
    _state->running = ChartTask::None;
    // A second task that stops no longer runs.
    if (_state->isUpdateTask2()) _state->update = ChartTask::None;
}
