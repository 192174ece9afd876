// KivoAreaPlotter: construction, limits and one series' drawing pass: its points and hit areas, the
// eased top line, the bottom edge it closes along, the fill, and the hand-over to symbols and labels.
// A polyline far denser than the plot's pixel columns is reduced to each column's extremes before the
// engine gets it.
//
// Sections: helpers · construction · limits · plotSeries.

#include "OmbriChart/KivoAreaPlotter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "plotters/AreaOutline.h"
#include "plotters/LineFamilyMotion.h"
#include "plotters/LinePlotterSupport.h"
#include "plotters/LinePointArea.h"
#include "plotters/MissingValues.h"
#include "series/SeriesColumns.h"

using kivo::detail::AreaOutline;
using kivo::detail::MissingOld;
using kivo::detail::numberAt;
using kivo::detail::xAt;

namespace {

// Leaves point i out of the block's entries (see the line plotter's loop).
void skipPoint(kivo::detail::LinePointBlock& block, std::int64_t i) {
    if (block.size() == 0)
        block.firstIndex = i + 1;
    else
        block.listIndices();
}

// The Y of each closing point eased up from `bottom` as the load animation raises the area.
void easeUp(std::vector<double>& ys, double bottom, const KivoEasePtr& easing, double t, double d) {
    if (!easing) return;
    for (double& y : ys)
        if (!std::isnan(y)) y = KivoEasingUtil::ease(easing, t, bottom, y - bottom, d);
}

}  // namespace

// ---- Construction ----

KivoAreaPlotter::KivoAreaPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                                 std::shared_ptr<KivoHitTester> hitTester) {
    setChart(chart);
    setDataInfo(std::move(dataInfo));
    setHitTester(std::move(hitTester));
}

// ---- Limits ----

std::shared_ptr<KivoRect> KivoAreaPlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double>) {
    _dataInfo = dataInfo;
    const auto owner = chart();
    return kivo::detail::limitsToAxisOrigins(dataInfo.get(), owner.get(), _rotated);
}

// ---- plotSeries ----

void KivoAreaPlotter::plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                 const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                 std::int32_t index, std::int32_t, std::int32_t, std::int32_t, std::int64_t,
                                 StackDictionary& stackPos, StackDictionary& stackNeg) {
    const auto owner = chart();
    if (!owner || !series || !engine || !axisX || !axisY) return;
    engine->setBorderDashes({});
    const std::int32_t seriesPos = kivo::detail::seriesPosition(*owner, series);
    if (index == 0) {
        stackPos.clear();
        stackNeg.clear();
    }
    kivo::detail::ColumnPtr ys = kivo::detail::SeriesInternals::values(*series, 0);
    if (!ys) return;
    kivo::detail::ColumnPtr xs = kivo::detail::SeriesInternals::values(*series, 1);
    if ((!xs || xs->empty()) && _dataInfo) xs = kivo::detail::DataInfoInternals::xColumn(*_dataInfo);

    const bool stacking = _stacking == KivoPlotterStackingStacked || _stacking == KivoPlotterStackingStacked100;
    const bool stacked100 = _stacking == KivoPlotterStackingStacked100;
    const bool rotated = _rotated;
    const bool interpolate = owner->interpolateNulls();
    const auto& state = kivo::detail::chartState(*owner);
    auto args = state.updateEventArgs;
    if (!args) args = std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReset);
    const std::int64_t action = args->action();
    const bool pointMode = owner->loadAnimation() && owner->loadAnimation()->animationMode() == KivoLoadAnimationModePoint;
    const KivoEasePtr easing = owner->getEasing();
    double t = 0, duration = 0;
    std::int32_t end = 0;
    _getAnimationInfo(series, t, duration, end);

    const bool itemsChanged = state.collectionViewUpdated;
    const bool listChanged = state.seriesCollectionUpdated;
    const bool removing = itemsChanged && action == KivoNotifyCollectionChangedActionRemove;
    if (removing) {
        // The removed item is still drawn while it leaves: the values from before the change, kept at
        // the series' own position.
        ++end;
        const auto& prevX = state.prevXValsArray;
        const auto& prevY = state.prevYValsArray;
        const auto at = static_cast<std::size_t>(std::max(seriesPos, 0));
        if (seriesPos >= 0 && at < prevY.size() && prevY[at]) ys = prevY[at];
        if (seriesPos >= 0 && at < prevX.size() && prevX[at] && !prevX[at]->empty()) xs = prevX[at];
    }
    const bool hasX = xs && !xs->empty();
    if (stacking) {
        _stackXValues.clear();
        _stackYValues.clear();
        if (index == 0) {
            _stackXValuesDict.clear();
            _stackYValuesDict.clear();
        }
    }

    engine->startGroup("series-" + std::to_string(seriesPos));

    auto frame = kivo::detail::moveFrame(*owner, _dataInfo.get(), axisX, axisY, rotated, t, duration, easing, args, index, end,
                                         xs, ys, _stacking, stackPos, stackNeg);
    // The chart saves each series' values at its position in the chart's series.
    frame.savedAt = seriesPos;

    // ---- The point loop: positions, hit areas, running totals ----
    const std::int64_t first = frame.origin;
    const std::size_t expected = end >= first ? static_cast<std::size_t>(end - first + 1) : 0;
    const auto block = kivo::detail::takeKeptBlock(_blocks, expected);
    auto& sxs = block->sx;
    auto& sys = block->sy;
    block->info = {owner, series->name(), seriesPos, rotated, HitRadius};
    block->firstIndex = first;
    block->xs = xs;
    block->ys = ys;
    block->hasX = hasX;
    const auto linearX = axisX->linearConversion(), linearY = axisY->linearConversion();
    const auto toScreenX = [&](double v) { return linearX ? (*linearX)(v) : axisX->convert(v); };
    const auto toScreenY = [&](double v) { return linearY ? (*linearY)(v) : axisY->convert(v); };
    std::optional<kivo::detail::FilledValues> filled;
    if (interpolate) filled.emplace(*ys, end);
    if (filled) block->takenY.reserve(expected);
    // While a removal replays, the shares of a stacked 100 % series are taken of the sums from before it.
    const StackDictionary* savedSums = removing ? state.stackAbs.get() : nullptr;
    std::vector<double> baseX, baseY, prevVals;
    bool allValid = true;
    for (std::int64_t i = first; i <= end; ++i) {
        const double x = hasX ? xAt(xs, i) : static_cast<double>(i);
        double y = numberAt(ys, i);
        if (filled && !KivoDataInfo::isValid(y)) y = filled->at(i);
        if (!KivoDataInfo::isValid(x) || !KivoDataInfo::isValid(y)) {
            skipPoint(*block, i);
            continue;
        }
        double value = y;
        if (stacking) {
            if (stacked100) {
                const double sum = removing ? (savedSums ? savedSums->valueOr(x, 0) : 0.0)
                                            : (_dataInfo ? _dataInfo->getStackedAbsSum(x) : 0.0);
                // Nothing to take a share of: the point adds nothing.
                value = sum != 0 ? y / sum : 0.0;
            }
            const double base = stackPos.valueOr(x, 0);
            stackPos.add(x, value);
            value += base;
            baseX.push_back(toScreenX(rotated ? base : x));
            baseY.push_back(toScreenY(rotated ? x : base));
        }
        double sx = toScreenX(rotated ? value : x);
        double sy = toScreenY(rotated ? x : value);
        if (listChanged)
            prevVals.push_back(kivo::detail::previousSeriesValue(frame, i, value, MissingOld::StartsAtNew));
        else if (itemsChanged)
            kivo::detail::itemUpdatePlace(frame, _dataInfo.get(), owner.get(), i, x, value, sx, sy, MissingOld::StartsAtNew);
        allValid = allValid && KivoDataInfo::isValid(sx) && KivoDataInfo::isValid(sy);
        sxs.push_back(sx);
        sys.push_back(sy);
        if (!block->indices.empty()) block->indices.push_back(static_cast<std::int32_t>(i));
        if (filled) block->takenY.push_back(y);
        if (stacking) {
            _stackXValues.push_back(sx);
            _stackYValues.push_back(sy);
        }
    }
    if (_hitTester)
        _hitTester->addBlock(block, block.get(), block->size(), &kivo::detail::LinePointBlock::areaAt, seriesPos);
    // A series without a drawable point leaves its group open: the engine's groups carry no state.
    if (sxs.empty()) return;

    // ---- The look ----
    const double opacity = series->opacity();
    const auto& own = series->color();
    const plat::Color fill = own ? OmbriChartBase::lighten(*own, opacity) : owner->getColor(seriesPos, opacity);
    const plat::Color base = own.value_or(owner->getColor(seriesPos));
    plat::Color stroke = series->borderColor().value_or(OmbriChartBase::darken(base));
    double thickness = series->borderWidth();
    const std::int64_t selectionMode = owner->selectionMode();
    const bool selected = (selectionMode == KivoChartSelectionModeSeries || selectionMode == KivoChartSelectionModePoint) &&
                          owner->isSeriesSelected(series);
    if (selected && selectionMode == KivoChartSelectionModeSeries) {
        stroke = owner->selectedBorderColor().value_or(OmbriChartBase::darken(base));
        engine->setBorderDashes(owner->selectedDashes());
        thickness = owner->selectedBorderWidth();
    } else if (selected) {
        engine->setBorderDashes({});
    }
    engine->setFill(fill);
    engine->setStroke(stroke);
    engine->setStrokeThickness(thickness);
    engine->setOpacity(opacity);
    if (selected) {
        _selState = engine->saveState();
        _selSeries = series;
    }
    const std::int32_t path = getPlotElementPath();

    // ---- The top line of this frame ----
    const bool justAdded =
        action == KivoNotifyCollectionChangedActionAdd && listChanged && args->startingIndex() == index;
    const bool loading = action == KivoNotifyCollectionChangedActionReset || justAdded;
    // The load raises the area from the Y axis' minimum, also when rotated.
    const double bottom = axisY->convert(axisY->actualMin());
    std::optional<PointList> eased;
    if (loading && pointMode) {
        eased = kivo::detail::getPointsForPointMode(sxs, sys, {t, duration, easing, rotated});
    } else if (loading && easing) {
        eased = PointList{{sxs.begin(), sxs.end()}, {sys.begin(), sys.end()}};
        easeUp(eased->y, bottom, easing, t, duration);
    } else if (!loading) {
        eased = kivo::detail::getUpdatedPointsDictionary(owner.get(), {args, axisX, axisY, index, prevVals}, sxs, sys,
                                                         {t, duration, easing, rotated});
    }
    AreaOutline outline;
    if (eased) {
        // The reveal's last point may be the cut on the segment the front reaches: no data point is behind it.
        const bool cut = loading && pointMode && !eased->x.empty() && eased->x.size() <= sxs.size() &&
                         (eased->x.back() != sxs[eased->x.size() - 1] || eased->y.back() != sys[eased->x.size() - 1]);
        outline.setTop(eased->x, eased->y, cut);
    } else {
        outline.setTop(sxs, sys, false, allValid);
    }
    std::vector<LabelPoint> labelPoints;
    const bool labelled = owner->dataLabel() && owner->dataLabel()->position() != KivoDataLabelPositionNone;
    if (labelled || selected) {
        labelPoints.reserve(outline.topSize());
        for (std::size_t k = 0; k < outline.topSize(); ++k) {
            const auto entry = outline.entryOf(k);
            // A position no point placed ends the labels.
            if (!entry || *entry >= sxs.size()) break;
            labelPoints.push_back({block->pointIndex(*entry), block->x(*entry), block->y(*entry)});
        }
    }

    const auto plot = owner->plotRect();
    outline.reduceTop(plot.get(), rotated);
    if (selected) {
        _selDataX1.assign(outline.topX().begin(), outline.topX().end());
        _selDataY1.assign(outline.topY().begin(), outline.topY().end());
        _selLabels = labelPoints;
    } else if (!_isSpline) {
        engine->setFill(std::nullopt);
        engine->drawLines(outline.drawnTopX(), outline.drawnTopY());
    }

    // ---- The bottom edge ----
    const bool noUpdate = !listChanged && !itemsChanged;
    const bool recompute = (noUpdate || justAdded) && !pointMode;
    const auto& va = rotated ? axisX : axisY;
    const auto closingPoint = [&](double along, double across) {
        // (along the category axis, across it at the value coordinate)
        return rotated ? std::pair{across, along} : std::pair{along, across};
    };
    const auto& ca = rotated ? axisY : axisX;
    std::vector<double> closeX, closeY;
    const auto append = [&](std::pair<double, double> p) {
        closeX.push_back(p.first);
        closeY.push_back(p.second);
    };
    if (!stacking) {
        double o = _origin;
        if (va->actualMin() > o)
            o = va->actualMin();
        else if (o > va->actualMax())
            o = va->actualMax();
        double b = va->convert(o);
        if (b == 0.0) b = va->actualDataMin() >= 0 ? va->convert(va->actualDataMin()) : va->convert(0.0);
        if (pointMode && outline.topSize() > 0) {
            append(closingPoint(rotated ? outline.lastTopY() : outline.lastTopX(), b));
            append(closingPoint(ca->convert(ca->actualDataMin()), b));
        } else if (recompute) {
            append(closingPoint(ca->convert(ca->actualDataMax()), b));
            append(closingPoint(ca->convert(ca->actualDataMin()), b));
        }
        if (!(noUpdate || justAdded)) {
            const double u = va->actualDataMin() >= 0 ? va->convert(va->actualDataMin()) : va->convert(0.0);
            append(closingPoint(ca->convert(ca->actualDataMax()), u));
            append(closingPoint(ca->convert(ca->actualDataMin()), u));
        }
    } else {
        std::vector<double> cx, cy;
        const auto stored = [&](std::int32_t at) {
            const auto fx = _stackXValuesDict.find(at);
            const auto fy = _stackYValuesDict.find(at);
            if (fx != _stackXValuesDict.end()) cx = fx->second;
            if (fy != _stackYValuesDict.end()) cy = fy->second;
        };
        if (itemsChanged) {
            _stackXValuesDict[index] = _stackXValues;
            _stackYValuesDict[index] = _stackYValues;
            _stackXValues.clear();
            _stackYValues.clear();
            if (index != 0) {
                stored(index - 1);
            } else {
                cx = baseX;
                cy = baseY;
            }
        } else if (pointMode) {
            _stackXValuesDict[index].assign(outline.topX().begin(), outline.topX().end());
            _stackYValuesDict[index].assign(outline.topY().begin(), outline.topY().end());
            if (index != 0) {
                stored(index - 1);
            } else if (rotated) {
                cx = baseX;
                cy.assign(outline.topY().begin(), outline.topY().end());
            } else {
                cx.assign(outline.topX().begin(), outline.topX().end());
                cy = baseY;
            }
        } else {
            cx = std::move(baseX);
            cy = std::move(baseY);
        }
        const std::size_t n = std::min(cx.size(), cy.size());
        closeX.assign(cx.rend() - static_cast<std::ptrdiff_t>(n), cx.rend());
        closeY.assign(cy.rend() - static_cast<std::ptrdiff_t>(n), cy.rend());
    }
    if (recompute) easeUp(closeY, bottom, easing, t, duration);
    outline.setBottom(std::move(closeX), std::move(closeY), plot.get(), rotated, stacking);

    // ---- The fill ----
    if (selected) {
        outline.polygon(_selDataX2, _selDataY2);
        _selReduced = outline.reduced();
    } else {
        engine->setFill(fill);
        if (path == KivoPlotElementEventPathDelegate) {
            if (const auto host = owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading))
                host->handlePlotElementLoading(owner, engine, nullptr, 0, nullptr, 0, std::make_shared<BasePlotElementRender>());
        } else if (path == KivoPlotElementEventPathEvent) {
            owner->onPlotElementLoading(std::make_shared<KivoChartPlotElementEventArgs>(engine, nullptr, nullptr, nullptr));
        }
        std::vector<double> polyX, polyY;
        outline.polygon(polyX, polyY);
        // A reduced outline has no bends finer than a pixel left to smooth.
        if (_isSpline && !outline.reduced())
            engine->drawSplineAreas(polyX, polyY, stacking, rotated);
        else
            engine->drawPolygon(polyX, polyY);
    }

    _drawAreaSymbol(engine, series, outline.topX(), outline.topY(), path);
    if (labelled) _drawDataLabels(engine, series, outline.topX(), outline.topY(), labelPoints);
    engine->endGroup();
}
