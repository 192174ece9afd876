// OmbriChart: the load and update animations: the two collection-change handlers that start an
// update, and the three display-link tasks that advance the one clock and ask for frames.
//
// Sections: change handlers · tasks · ticks · links.

#include <cmath>

#include "OmbriChart/IKivoPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"

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
    _isSeriesCollectionUpdated = true;
    _startUpdateSeriesAnimationTask1();
}

void OmbriChart::onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // New items through the chart's own setters play the load animation; the setters bind them.
    if (!args || _replacingData) return;
    // A reset was bound by the chart base already, which hears the change first.
    const bool reset = args->action() == KivoNotifyCollectionChangedActionReset;
    const bool replaceDuringTask1 = _update1DisplayLink && args->action() == KivoNotifyCollectionChangedActionReplace;
    if (!canAnimateChange() || replaceDuringTask1) {
        // Not animated, but never lost: the next pass draws the new data.
        if (!reset) bindChart();
        invalidate();
        return;
    }
    beginUpdate(args);
    _isCollectionViewUpdated = true;
    // The values before the change, per series position (hidden series too), for the plotters to move from.
    _prevYValsArray.clear();
    _prevXValsArray.clear();
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        _prevYValsArray.push_back(s ? s->getValues(0) : nullptr);
        _prevXValsArray.push_back(s ? s->getValues(1) : nullptr);
    }
    if (args->action() == KivoNotifyCollectionChangedActionRemove) {
        const auto plotter = _getPlotter(nullptr);
        const auto& info = plotter && plotter->dataInfo() ? plotter->dataInfo() : _dataInfo;
        _stackAbs = std::make_shared<StackDictionary>(info->getStackAbs());
    }
    if (!reset) bindChart();
    _startUpdateSeriesAnimationTask1();
}

void OmbriChart::beginUpdate(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // The newest change owns the update state: an update still running gives it up.
    stopAllLinks();
    _isSeriesCollectionUpdated = false;
    _isCollectionViewUpdated = false;
    _isChartUpdate = true;
    _isUpdateTask1 = true;
    _suppressAnimation = false;
    _updateEventArgs = privateCopy(*args);
    _prevAxisYMax = _axisY->actualMax();
    _prevAxisYMin = _axisY->actualMin();
    _prevAxisXMax = _axisX->actualMax();
    _prevAxisXMin = _axisX->actualMin();
}

// ---- Tasks ----

std::shared_ptr<KivoAnimation> OmbriChart::_getActiveUpdateAnimation(bool task1) const {
    const std::int64_t action = _updateEventArgs ? _updateEventArgs->action() : KivoNotifyCollectionChangedActionReset;
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
    _plotting = true;
    _plotTime = 0;
    _firstTimestamp = 0;
    _beginPlotElementLoading = false;
    _activeUpdateAnimation = _loadAnimation;
    _displayLink = startLink(&OmbriChart::_loadingAnimationTask);
}

void OmbriChart::_startUpdateSeriesAnimationTask1() {
    stopAllLinks();
    _plotting = true;
    _plotTime = 0;
    _firstTimestamp = 0;
    _beginPlotElementLoading = false;
    _activeUpdateAnimation = _getActiveUpdateAnimation(true);
    if (_isSeriesCollectionUpdated && _isUpdateTask1) rebuildSeriesArrayForUpdate();
    _update1DisplayLink = startLink(&OmbriChart::_updateSeriesAnimationTask1);
}

void OmbriChart::_startUpdateSeriesAnimationTask2() {
    stopAllLinks();
    _isUpdateTask2 = true;
    _suppressAnimation = false;
    _plotting = true;
    _plotTime = 0;
    _firstTimestamp = 0;
    _beginPlotElementLoading = false;
    _activeUpdateAnimation = _getActiveUpdateAnimation(false);
    _update2DisplayLink = startLink(&OmbriChart::_updateSeriesAnimationTask2);
}

void OmbriChart::rebuildSeriesArrayForUpdate() {
    _seriesArrayForUpdate.clear();
    auto& args = *_updateEventArgs;
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
            _seriesArrayForUpdate.push_back(entry);
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
    for (const auto& entry : _seriesArrayForUpdate)
        if (entry.isIdentical(removed)) return;
    const std::int64_t size = static_cast<std::int64_t>(_seriesArrayForUpdate.size());
    const std::int64_t index = place < 0 ? 0 : (place > size ? size : place);
    _seriesArrayForUpdate.insert(_seriesArrayForUpdate.begin() + index, removed);
}

// ---- Ticks ----

bool OmbriChart::tickClock(plat::DisplayLink& link, double timestamp, const KivoAnimation* animation) {
    if (_firstTimestamp == 0) _firstTimestamp = timestamp;
    _plotTime = timestamp - _firstTimestamp;
    const double delay = animation ? animation->startDelay() : 0.0;
    double end = delay + (animation ? animation->duration() : 0.0);
    if (!(std::isfinite(end) && end > 0)) end = 0;
    if (!(_plotTime < end)) {
        _plotTime = end;
        link.invalidate();
        return true;
    }
    // One frame per tick, from the end of the start delay on.
    if (_plotTime >= delay) invalidate();
    return false;
}

void OmbriChart::_loadingAnimationTask(plat::DisplayLink& link, double timestamp) {
    if (!tickClock(link, timestamp, _loadAnimation.get())) return;
    _plotting = false;
    _suppressAnimation = true;
    _beginPlotElementLoading = true;
    _displayLink.reset();
    invalidate();
}

void OmbriChart::_updateSeriesAnimationTask1(plat::DisplayLink& link, double timestamp) {
    if (!tickClock(link, timestamp, _activeUpdateAnimation.get())) return;
    _plotting = false;
    _suppressAnimation = true;
    _isUpdateTask1 = false;
    _update1DisplayLink.reset();
    // Bars and financial elements (and, after a data change, scatter points and bubbles) play a second
    // task when one series or item was added or removed and all series share the chart's type.
    const std::int64_t type = chartType();
    const bool eligible = type == OmbriChartTypeColumn || type == OmbriChartTypeBar || type == OmbriChartTypeCandlestick ||
                          type == OmbriChartTypeHighLowOpenClose ||
                          ((type == OmbriChartTypeScatter || type == OmbriChartTypeBubble) && _isCollectionViewUpdated);
    const std::int64_t action = _updateEventArgs ? _updateEventArgs->action() : KivoNotifyCollectionChangedActionReset;
    const bool addOrRemove = action == KivoNotifyCollectionChangedActionAdd || action == KivoNotifyCollectionChangedActionRemove;
    if (eligible && addOrRemove && !hasMixedTypes(_series->sourceArray())) {
        _startUpdateSeriesAnimationTask2();
        return;
    }
    _isSeriesCollectionUpdated = false;
    _isCollectionViewUpdated = false;
    _beginPlotElementLoading = true;
    _updateEventArgs = KivoNotifyCollectionChangedEventArgs::reset();
    invalidate();
}

void OmbriChart::_updateSeriesAnimationTask2(plat::DisplayLink& link, double timestamp) {
    if (!tickClock(link, timestamp, _activeUpdateAnimation.get())) return;
    _plotting = false;
    _suppressAnimation = true;
    _isSeriesCollectionUpdated = false;
    _isCollectionViewUpdated = false;
    _isUpdateTask2 = false;
    _beginPlotElementLoading = true;
    _updateEventArgs = KivoNotifyCollectionChangedEventArgs::reset();
    _update2DisplayLink.reset();
    invalidate();
}

// ---- Links ----

std::shared_ptr<plat::DisplayLink> OmbriChart::startLink(Tick tick) {
    // The link holds the chart weakly: a chart that goes stops its animation.
    std::weak_ptr<OmbriChart> weak = sharedAs<OmbriChart>();
    auto link = plat::DisplayLink::create([weak, tick](plat::DisplayLink& ticking, double timestamp) {
        const auto chart = weak.lock();
        if (!chart) {
            ticking.invalidate();
            return;
        }
        ((*chart).*tick)(ticking, timestamp);
    });
    link->addToRunLoop(plat::RunLoop::main());
    return link;
}

void OmbriChart::stopAllLinks() {
    for (auto* link : {&_displayLink, &_update1DisplayLink, &_update2DisplayLink}) {
        if (*link) (*link)->invalidate();
        link->reset();
    }
    // A second task that stops no longer runs.
    _isUpdateTask2 = false;
}
