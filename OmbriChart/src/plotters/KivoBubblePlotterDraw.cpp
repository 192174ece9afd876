// KivoBubblePlotter: the drawing pass of one series (points, hit areas, symbols, labels), one symbol or
// bubble, and the selected series drawn again on top.
//
// Sections: plotSeries · one symbol · labels · redoSelection.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <string>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "plotters/BubbleUpdatePhase.h"
#include "plotters/LinePlotterSupport.h"
#include "plotters/LinePointArea.h"
#include "plotters/MissingValues.h"
#include "plotters/SeriesLook.h"
#include "plotters/SymbolStamp.h"
#include "series/SeriesColumns.h"

using kivo::detail::numberAt;
using kivo::detail::squareMeetsPlot;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// The thinnest border of a selected symbol.
constexpr double MinSelectedBorderWidth = 2.0;

std::int32_t positionOf(const OmbriChart& chart, const std::shared_ptr<KivoSeries>& series) {
    const auto& list = chart.series();
    const std::size_t found = list && series ? list->indexOfObject(plat::Value(series)) : 0;
    return list && series && found < list->count() ? static_cast<std::int32_t>(found) : -1;
}

// The category label of point i, else `fallback`.
plat::Value labelOr(const OmbriChart& chart, std::int64_t i, const std::string& fallback) {
    const auto& labels = chart.xlabels();
    if (i >= 0 && static_cast<std::size_t>(i) < labels.size()) return plat::Value(labels[static_cast<std::size_t>(i)]);
    return plat::Value(fallback);
}

bool isFirstOf(const plat::ArrayPtr& list, const std::shared_ptr<KivoSeries>& series) {
    return list && !list->empty() && series && list->front().as<KivoSeries>() == series;
}

}  // namespace

// ---- plotSeries ----

void KivoBubblePlotter::plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                   const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                   std::int32_t index, std::int32_t, std::int32_t, std::int32_t, std::int64_t chartType,
                                   StackDictionary& stackPos, StackDictionary& stackNeg) {
    _chartType = chartType;
    const auto owner = chart();
    if (!owner || !series || !engine || !axisX || !axisY) return;
    const std::int32_t seriesPos = positionOf(*owner, series);
    if (index == 0) {
        stackNeg.clear();
        stackPos.clear();
        _prevStackPos.clear();
    }
    kivo::detail::ColumnPtr yvals = kivo::detail::SeriesInternals::values(*series, 0);
    kivo::detail::ColumnPtr xvals = kivo::detail::SeriesInternals::values(*series, 1);
    if (!yvals) return;
    if ((!xvals || xvals->empty()) && _dataInfo) xvals = kivo::detail::DataInfoInternals::xColumn(*_dataInfo);
    bool hasXs = xvals && !xvals->empty();

    // The frame's update.
    auto args = kivo::detail::chartState(*owner).updateEventArgs;
    if (!args) args = KivoNotifyCollectionChangedEventArgs::reset();
    const std::int64_t action = args->action();
    const UpdatePhase phase = currentPhase();
    // A series leaving the chart keeps the colour of its former place while it shrinks away.
    std::int64_t paletteIndex = seriesPos;
    if (paletteIndex < 0 && phase.seriesChange && action == KivoNotifyCollectionChangedActionRemove &&
        isFirstOf(args->oldItems(), series))
        paletteIndex = args->oldStartingIndex();

    // The series' look.
    const std::int64_t selectionMode = owner->selectionMode();
    const bool selected = selectionMode != KivoChartSelectionModeNone && owner->isSeriesSelected(series);
    const auto line = kivo::detail::seriesLineLook(*owner, *series, paletteIndex, selected);
    engine->setStroke(line.color);
    engine->setStrokeThickness(line.width == 0 ? 1.0 : line.width);
    engine->setFill(std::nullopt);
    engine->setOpacity(series->opacity());
    if (selected) _selState = engine->saveState();

    // The frame's animation state.
    const bool interpolate = owner->interpolateNulls();
    const std::int64_t loadMode = owner->loadAnimation() ? owner->loadAnimation()->animationMode() : KivoLoadAnimationModeAll;
    const KivoEasePtr easing = owner->getEasing();
    double t = 0, d = 0;
    std::int32_t last = 0;
    getAnimationInfo(series, t, d, last);
    engine->startGroup("series-" + std::to_string(seriesPos));

    if (phase.itemChange && action == KivoNotifyCollectionChangedActionRemove && phase.task1) {
        // The removed point is still drawn while it shrinks: the values before the removal.
        ++last;
        const auto at = static_cast<std::size_t>(std::max(seriesPos, 0));
        const auto& prevX = kivo::detail::chartState(*owner).prevXValsArray;
        const auto& prevY = kivo::detail::chartState(*owner).prevYValsArray;
        xvals = at < prevX.size() ? prevX[at] : nullptr;
        yvals = at < prevY.size() ? prevY[at] : nullptr;
        hasXs = xvals && !xvals->empty();
    }

    // The point loop: hit areas and screen positions of the valid points.
    const bool stacked = _stacking != KivoPlotterStackingNone;
    const bool stacked100 = _stacking == KivoPlotterStackingStacked100;
    const bool movesItems = phase.itemChange && !_rotated;
    const auto& valueAxis = _rotated ? axisX : axisY;
    const double prevValueMax =
        _rotated ? kivo::detail::chartState(*owner).prevAxisXMax : kivo::detail::chartState(*owner).prevAxisYMax;
    const double prevValueMin =
        _rotated ? kivo::detail::chartState(*owner).prevAxisXMin : kivo::detail::chartState(*owner).prevAxisYMin;
    const bool replacesSeries = phase.seriesChange && action == KivoNotifyCollectionChangedActionReplace &&
                                args->oldStartingIndex() == index && args->oldItems() && !args->oldItems()->empty();
    const auto replaced = replacesSeries ? args->oldItems()->front().as<KivoSeries>() : nullptr;
    const kivo::detail::ColumnPtr replacedValues = replaced ? kivo::detail::SeriesInternals::values(*replaced, 0) : nullptr;
    const std::int64_t first = _dataInfo ? static_cast<std::int64_t>(_dataInfo->getOrigin()) : 0;
    const std::size_t expected = last >= first ? static_cast<std::size_t>(last - first + 1) : 0;
    // The loop's lists (and the block below), kept from pass to pass so that a large series asks for no
    // fresh memory; taken out while in use, so that a pass started from a symbol's handler has lists of
    // its own.
    std::vector<double> prevVals;
    std::vector<KeptPoint> kept = std::move(_loopPoints);
    kivo::detail::reuseFor(kept, expected);
    const auto keepLists = [&] { _loopPoints = std::move(kept); };
    // Missing values filled for the whole series at once.
    std::optional<kivo::detail::FilledValues> filled;
    if (interpolate && yvals) filled.emplace(*yvals, last);
    // The block holds where each point is drawn, for the symbols and labels as for the hit areas (which
    // are made from it only when asked for).
    const auto block = kivo::detail::takeKeptBlock(_bubbleBlocks, expected);
    // What the block keeps beyond the columns: each entry's Y where it is not the column's, its size
    // value where the series binds one, and where it stands while an animation moves it.
    const bool takesY = stacked || filled.has_value();
    const auto sizeMember = series->getBinding(1);
    const bool sized = sizeMember && !sizeMember->empty();
    block->info = {owner, series->name(), seriesPos, _rotated, _symbolSize};
    block->firstIndex = first;
    block->xs = xvals;
    block->ys = yvals;
    block->hasX = hasXs;
    if (takesY) block->takenY.reserve(expected);
    if (sized) block->sizes.reserve(expected);
    if (movesItems) {
        block->standX.reserve(expected);
        block->standY.reserve(expected);
    }
    const auto& xs = block->sx;
    const auto& ys = block->sy;
    // Records entry i of the block; entries after a left-out point list their indices.
    const auto record = [&](std::int64_t i, double sx, double sy, double y, double placeX, double placeY) {
        auto& b = *block;
        if (b.indices.empty() && i != b.firstIndex + static_cast<std::int64_t>(b.sx.size())) {
            if (b.sx.empty())
                b.firstIndex = i;
            else
                b.listIndices();
        }
        if (!b.indices.empty()) b.indices.push_back(static_cast<std::int32_t>(i));
        b.sx.push_back(sx);
        b.sy.push_back(sy);
        if (takesY) b.takenY.push_back(y);
        if (sized) b.sizes.push_back(_getBubbleSizeData(series, i));
        if (movesItems) {
            b.standX.push_back(placeX);
            b.standY.push_back(placeY);
        }
    };
    const auto pointAt = [&](std::int64_t i, double& x, double& y) {
        x = hasXs ? kivo::detail::xAt(xvals, i) : static_cast<double>(i);
        y = numberAt(yvals, i);
        if (filled && !KivoDataInfo::isValid(y)) y = filled->at(i);
        return KivoDataInfo::isValid(x) && KivoDataInfo::isValid(y);
    };
    const auto shareOfStack = [&](double x, double y) {
        return kivo::detail::stackShare(y, stacked100, stacked100 && _dataInfo ? _dataInfo->getStackedAbsSum(x) : 0.0);
    };
    // The stacked values of the series, taken into the running sums in one merge.
    std::vector<double> stackedRun;
    if (stacked) {
        KivoNumberDictionary::Run run;
        std::vector<double> shares;
        for (std::int64_t i = first; i <= last; ++i) {
            double x, y;
            if (!pointAt(i, x, y)) continue;
            const double share = shareOfStack(x, y);
            shares.push_back(share);
            // A share that is not finite is drawn as it is and summed nowhere.
            run.emplace_back(KivoDataInfo::isValid(share) ? x : NaN, share);
        }
        stackPos.addRun(run, stackedRun);
        for (std::size_t k = 0; k < run.size(); ++k)
            stackedRun[k] = std::isnan(run[k].first) ? shares[k] : stackedRun[k] + shares[k];
    }
    // The axes' conversions taken once for the loop (the same arithmetic as convert, so the same places).
    const auto linearX = axisX->linearConversion(), linearY = axisY->linearConversion();
    const auto toScreenX = [&](double v) { return linearX ? (*linearX)(v) : axisX->convert(v); };
    const auto toScreenY = [&](double v) { return linearY ? (*linearY)(v) : axisY->convert(v); };
    std::size_t drawn = 0;
    for (std::int64_t i = first; i <= last; ++i) {
        double x, y;
        if (!pointAt(i, x, y)) continue;
        const double plain = y;
        if (stacked) y = stackedRun[drawn++];

        double sx = _rotated ? toScreenX(y) : toScreenX(x);
        double sy = _rotated ? toScreenY(x) : toScreenY(y);
        // Where the point stands; its hit area is where the running animation has moved it.
        const double placeX = sx, placeY = sy;
        if (phase.seriesChange) {
            const double before = replacesSeries ? numberAt(replacedValues, i) : y;
            prevVals.push_back(valueAxis->convert(before, prevValueMax, prevValueMin));
        } else if (movesItems) {
            const auto n = static_cast<std::int32_t>(i);
            sx = x;
            sy = y;
            if (action == KivoNotifyCollectionChangedActionAdd)
                _getDataForCollectionViewAdded(sx, sy, axisX, axisY, xvals, yvals, n, hasXs, stacked, stacked100, args, t, d,
                                               stackPos, stackNeg);
            else if (action == KivoNotifyCollectionChangedActionRemove)
                _getDataForCollectionViewRemoved(sx, sy, axisX, axisY, seriesPos, n, hasXs, stacked, stacked100, args, t, d,
                                                 stackPos, stackNeg);
            else if (action == KivoNotifyCollectionChangedActionReplace)
                _getDataForCollectionViewReplaced(sx, sy, axisX, axisY, seriesPos, n, stacked, stacked100, args, t, d, stackPos,
                                                  stackNeg);
            else
                sx = axisX->convert(x), sy = axisY->convert(y);
        }
        kept.push_back({i, x, plain});
        // Also for bubbles, whatever their drawn size.
        record(i, sx, sy, y, placeX, placeY);
    }
    if (_hitTester) _hitTester->addBlock(block, block.get(), block->size(), &kivo::detail::BubblePointBlock::areaAt, seriesPos);
    if (xs.empty()) {
        engine->endGroup();
        keepLists();
        return;
    }

    // The pairs on screen (an eased position may be missing): usually all of them, which are not copied.
    std::vector<double> validX, validY, validPrev;
    std::vector<KeptPoint> validPoints;
    bool allValid = true;
    for (std::size_t k = 0; k < xs.size() && allValid; ++k)
        allValid = KivoDataInfo::isValid(xs[k]) && KivoDataInfo::isValid(ys[k]);
    if (!allValid) {
        for (std::size_t k = 0; k < xs.size(); ++k) {
            if (!KivoDataInfo::isValid(xs[k]) || !KivoDataInfo::isValid(ys[k])) continue;
            validX.push_back(xs[k]);
            validY.push_back(ys[k]);
            if (k < prevVals.size()) validPrev.push_back(prevVals[k]);
            validPoints.push_back(kept[k]);
        }
    }
    const std::span<const double> xs2 = allValid ? std::span<const double>(xs) : std::span<const double>(validX);
    const std::span<const double> ys2 = allValid ? std::span<const double>(ys) : std::span<const double>(validY);
    const std::vector<double>& prevVals2 = allValid ? prevVals : validPrev;
    const std::vector<KeptPoint>& ints = allValid ? kept : validPoints;

    // The eased lists: the load's, or the update's moves. Only a selected series and a series replacing
    // another draw at them, so other passes make none (at a million points they are two fresh lists
    // of eight megabytes each).
    const bool loading = action == KivoNotifyCollectionChangedActionReset ||
                         (action == KivoNotifyCollectionChangedActionAdd && phase.seriesChange && args->startingIndex() == index);
    const bool useEased = phase.seriesChange && action == KivoNotifyCollectionChangedActionReplace;
    const bool drawsEased = selected || useEased;
    std::optional<PointList> eased;
    if (drawsEased && loading && loadMode == KivoLoadAnimationModePoint) {
        eased = getPointsForPointMode(xs2, ys2, t, d, easing, _rotated);
    } else if (drawsEased && loading) {
        // Each point rises from the value axis' minimum (as the easing utility eases a list, without
        // boxing a million numbers twice).
        const double bottom = axisY->convert(axisY->actualMin());
        PointList list{{xs2.begin(), xs2.end()}, {}};
        list.y.reserve(ys2.size());
        for (const double y : ys2) list.y.push_back(std::isnan(y) ? NaN : KivoEasingUtil::ease(easing, t, bottom, y - bottom, d));
        eased = std::move(list);
    } else if (drawsEased) {
        eased = getUpdatedPointsDictionary(args, axisX, axisY, index, xs2, ys2, prevVals2, t, d, easing, _rotated);
    }
    // Without an eased list the points stand at their places.
    const std::span<const double> easedX = eased ? std::span<const double>(eased->x) : xs2;
    const std::span<const double> easedY = eased ? std::span<const double>(eased->y) : ys2;
    const double s = KivoEasingUtil::ease(easing, t, 0.0, 1.0, d);

    // The symbols' look.
    const auto look = kivo::detail::seriesSymbolLook(*owner, *series, paletteIndex, selected);
    engine->setStroke(look.border);
    engine->setStrokeThickness(look.width);
    engine->setFill(look.fill);
    engine->setOpacity(series->symbolOpacity());
    if (selected) {
        _selDataX.assign(easedX.begin(), easedX.end());
        _selDataY.assign(easedY.begin(), easedY.end());
        _symState = engine->saveState();
        _symInts.clear();
        for (const auto& p : ints) _symInts.push_back(p.index);
        _selPoints = ints;
        _selValueAxis = valueAxis;
        if (selectionMode == KivoChartSelectionModePoint) {
            engine->setStroke(look.plainBorder);
            engine->setStrokeThickness(look.plainWidth);
        }
    }

    // The lists symbols and labels stand at: their places, or the eased ones while a series replaces
    // another.
    const std::span<const double> atX = useEased ? easedX : xs2;
    const std::span<const double> atY = useEased ? easedY : ys2;
    const std::size_t n = std::min({atX.size(), atY.size(), ints.size()});
    const std::int32_t path = getPlotElementPath();
    const auto plot = owner->plotRect();
    // The growth of a point outside update animations.
    const auto loadGrowth = [&](std::int64_t i) {
        if (!easing) return 1.0;
        if (loadMode == KivoLoadAnimationModePoint)
            return getScaleForPointMode(easing, t, d, static_cast<std::int32_t>(i), i == last);
        return s;
    };
    // Outside update animations and the point-by-point load every symbol grows alike.
    const std::optional<double> steady = !phase.seriesChange && !phase.itemChange && loadMode != KivoLoadAnimationModePoint
                                             ? std::optional<double>(easing ? s : 1.0)
                                             : std::nullopt;
    std::vector<bool> shown(n, true);
    // Symbols at the plot's edge are drawn whole; the chart's clip to the plot area comes back after
    // them (the two calls stay paired, so nothing is touched without a plot area).
    if (plot) engine->clearClipRect();
    std::optional<kivo::detail::SymbolStampScope> stamps;
    if (!selected && path == KivoPlotElementEventPathDefault) stamps.emplace(symbolStamper(), *engine, n, plot.get());
    for (std::size_t k = 0; k < n; ++k) {
        const double x = KivoDataInfo::isValid(atX[k]) ? atX[k] : static_cast<double>(k);
        const double y = atY[k];
        if (!KivoDataInfo::isValid(y)) continue;
        const auto factor = steady ? steady : symbolFactor(phase, index, ints[k].index, s, loadGrowth(ints[k].index));
        shown[k] = factor.has_value();
        if (!factor || selected) continue;
        const double r = *factor * _symbolSize;
        if (squareMeetsPlot(x, y, r, plot.get()))
            _renderSymbol(engine, x, y, look.width, r, look.fill, look.border, series->symbolMarker(), series,
                          static_cast<std::int32_t>(ints[k].index), path);
    }
    stamps.reset();
    if (plot) engine->setClipRect(plot->left(), plot->top(), plot->width(), plot->height());

    // Data labels; the selected series' come with its symbols in redoSelection.
    const bool labelled =
        owner->dataLabel() && owner->dataLabel()->position() != KivoDataLabelPositionNone && owner->dataLabelRenderer();
    if (labelled && !selected) {
        for (std::size_t k = 0; k < n; ++k) {
            const double x = KivoDataInfo::isValid(atX[k]) ? atX[k] : static_cast<double>(k);
            const double y = atY[k];
            if (!KivoDataInfo::isValid(y) || !shown[k]) continue;
            const std::int64_t i = ints[k].index;
            const double g = loadMode == KivoLoadAnimationModePoint
                                 ? getScaleForPointMode(easing, t, d, static_cast<std::int32_t>(i), i == last)
                                 : s;
            renderLabel(series, seriesPos, ints[k], x, y, labelFactor(phase, index, g) * labelExtent(series, i), valueAxis);
        }
    }
    engine->endGroup();
    keepLists();
}

// ---- One symbol ----

void KivoBubblePlotter::_renderSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double borderWidth,
                                      double symbolSize, const plat::Color& fillColor, std::optional<plat::Color> borderColor,
                                      std::int64_t symbolMarker, const std::shared_ptr<KivoSeries>& series,
                                      std::int32_t pointIndex, std::int32_t type) {
    if (_chartType == OmbriChartTypeBubble)
        _renderBubbleSymbol(engine, x, y, borderWidth, symbolSize, fillColor, borderColor, symbolMarker, series, pointIndex,
                            type);
    else if (_chartType == OmbriChartTypeScatter)
        drawSymbol(engine, x, y, borderWidth, symbolSize, fillColor, borderColor, symbolMarker, series, pointIndex, nullptr,
                   type);
}

plat::Value KivoBubblePlotter::bubbleItem(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const {
    const auto owner = chart();
    const auto& args = owner ? kivo::detail::chartState(*owner).updateEventArgs : nullptr;
    if (owner && args && kivo::detail::chartState(*owner).collectionViewUpdated &&
        kivo::detail::chartState(*owner).isUpdateTask1() && args->action() == KivoNotifyCollectionChangedActionRemove) {
        const std::int64_t removed = args->oldStartingIndex();
        if (pointIndex == removed) {
            const auto& old = args->oldItems();
            return old && !old->empty() ? old->front() : plat::Value();
        }
        if (removed >= 0 && pointIndex > removed) return series->getItem(pointIndex - 1);
    }
    return series->getItem(pointIndex);
}

void KivoBubblePlotter::_renderBubbleSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y,
                                            double borderWidth, double, const plat::Color& fillColor,
                                            std::optional<plat::Color> borderColor, std::int64_t symbolMarker,
                                            const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex,
                                            std::int32_t type) {
    const auto owner = chart();
    const auto value = sizeValue(series, pointIndex);
    if (!owner || !value) return;

    const auto& load = owner->loadAnimation();
    const double g0 = KivoEasingUtil::ease(owner->getEasing(), _time, 0.0, 1.0, load ? load->duration() : 0.0);
    const auto& args = kivo::detail::chartState(*owner).updateEventArgs;
    const double g = bubbleFactor(currentPhase(), args && isFirstOf(args->items(), series),
                                  args && isFirstOf(args->oldItems(), series), pointIndex, g0);
    const double diameter = bubbleDiameter(*value, g, _minValue, _maxValue, _minSize, _maxSize);
    if (!(diameter > 0)) return;
    drawSymbol(engine, x, y, borderWidth, diameter, fillColor, borderColor, symbolMarker, series, pointIndex, nullptr, type);
}

// ---- Labels ----

void KivoBubblePlotter::renderLabel(const std::shared_ptr<KivoSeries>& series, std::int32_t seriesPosition,
                                    const KeptPoint& point, double x, double y, double size,
                                    const std::shared_ptr<KivoAxis>& valueAxis) const {
    const auto owner = chart();
    const auto renderer = owner ? owner->dataLabelRenderer() : nullptr;
    if (!renderer) return;
    const std::string text = valueAxis ? valueAxis->formatValue(point.dataY) : std::string();
    renderer->render(series->name().value_or(""), KivoRect::create(x - size / 2, y - size / 2, size, size), seriesPosition,
                     point.index, point.dataX, point.dataY, labelOr(*owner, point.index, text),
                     _getBubbleSizeData(series, point.index));
}

// ---- redoSelection ----

void KivoBubblePlotter::redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!_selState) return;
    const auto owner = chart();
    if (owner && engine) {
        engine->restoreState(_selState);
        const auto sel = owner->selection() ? std::dynamic_pointer_cast<KivoSeries>(owner->selection()) : nullptr;
        const std::int64_t mode = owner->selectionMode();
        if (_symState && sel && (mode == KivoChartSelectionModeSeries || mode == KivoChartSelectionModePoint)) {
            engine->restoreState(_symState);
            engine->setBorderDashes(owner->selectedDashes());
            const double size = _symbolSize;
            const std::int32_t path = getPlotElementPath();
            const std::int32_t selPos = positionOf(*owner, sel);
            const auto look = kivo::detail::seriesSymbolLook(*owner, *sel, selPos, true);
            const double width = std::max(owner->selectedBorderWidth(), MinSelectedBorderWidth);
            const bool labelled =
                owner->dataLabel() && owner->dataLabel()->position() != KivoDataLabelPositionNone && owner->dataLabelRenderer();
            const auto plot = owner->plotRect();
            if (plot) engine->clearClipRect();
            const std::size_t n = std::min({_selDataX.size(), _selDataY.size(), _selPoints.size()});
            for (std::size_t k = 0; k < n; ++k) {
                const double x = KivoDataInfo::isValid(_selDataX[k]) ? _selDataX[k] : static_cast<double>(k);
                const double y = _selDataY[k];
                if (!KivoDataInfo::isValid(y)) continue;
                const auto p = static_cast<std::int32_t>(_selPoints[k].index);
                // In point mode only the selected point shows the selection's border.
                const plat::Color border =
                    mode == KivoChartSelectionModePoint && p != owner->selectionIndex() ? plat::Color::clear() : look.border;
                if (squareMeetsPlot(x, y, size, plot.get()))
                    _renderSymbol(engine, x, y, width, size, look.fill, border, sel->symbolMarker(), sel, p, path);
                if (!labelled) continue;
                const auto saved = engine->saveState();
                renderLabel(sel, selPos, _selPoints[k], x, y, labelExtent(sel, p), _selValueAxis);
                engine->restoreState(saved);
            }
            if (plot) engine->setClipRect(plot->left(), plot->top(), plot->width(), plot->height());
        }
        engine->setBorderDashes({});
    }
    _selState.reset();
    _symState.reset();
    _selDataX.clear();
    _selDataY.clear();
    _symInts.clear();
    _selPoints.clear();
    _selValueAxis.reset();
}
