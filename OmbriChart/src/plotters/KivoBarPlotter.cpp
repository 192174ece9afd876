// KivoBarPlotter: the axis limits of bar series, the drawing of one series (look, selection, one bar,
// hit area and label record per valid point, then the labels), one bar by its plot-element path, and
// the selection drawn again on top.
//
// Sections: limits · one series · one bar · selection.

#include <algorithm>
#include <cmath>

#include "ChartCore/KivoHitAreas.h"
#include "ChartCore/KivoHitTester.h"
#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbrChartDataLabelData.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "plotters/BarColumnMerge.h"
#include "plotters/BarRectArea.h"
#include "plotters/BarRectMath.h"
#include "plotters/KivoBarUpdateGeometry.h"
#include "plotters/LinePointArea.h"
#include "plotters/MissingValues.h"
#include "series/SeriesColumns.h"

namespace {

constexpr const char* SeriesGroup = "series";

// Edges included, so a bar of no length at the plot's edge still counts as inside.
bool intersects(const KivoRect& a, const KivoRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

}  // namespace

KivoBarPlotter::KivoBarPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                               std::shared_ptr<KivoHitTester> hitTester)
    : KivoBasePlotter(chart) {
    _dataInfo = std::move(dataInfo);
    _hitTester = std::move(hitTester);
}

void KivoBarPlotter::clear() {
    // Labels belong to one pass, even when its first bar series never reaches the point where the
    // list is emptied (a series being added first, a bar series after series of other types).
    clearLabels();
}

// ---- Limits ----

std::shared_ptr<KivoRect> KivoBarPlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo,
                                                       std::optional<double> logBase) {
    setDataInfo(dataInfo);
    if (!dataInfo) return KivoBasePlotter::adjustLimits(dataInfo, logBase);
    const double minX = dataInfo->getMinX(), maxX = dataInfo->getMaxX();
    double minY = dataInfo->getMinY(), maxY = dataInfo->getMaxY();
    const double dx = dataInfo->deltaX() > 0 ? dataInfo->deltaX() : 1.0;

    // The value range reaches the origin the bars rise from; dates are not stretched down to it, and
    // on a logarithmic axis the minimum drops one power of the base instead (only where a logarithm
    // exists: a minimum at or below 0 stays).
    const double o = _origin;
    if (o > maxY) {
        maxY = o;
    } else if (o < minY && dataInfo->getDataTypeY() != KivoDataTypeDate) {
        if (logBase) {
            const double b = *logBase;
            if (minY > 0 && b > 0 && b != 1) minY = std::pow(b, std::floor(std::log(minY) / std::log(b)) - 1);
        } else {
            minY = o;
        }
    }

    const auto owner = chart();
    if (!_rotated) {
        if (owner && owner->axisY() && !std::isnan(owner->axisY()->origin())) minY = std::min(minY, owner->axisY()->origin());
        return KivoRect::create(minX - dx / 2, minY, maxX - minX + dx, maxY - minY);
    }
    if (owner && owner->axisX() && !std::isnan(owner->axisX()->origin())) minY = std::min(minY, owner->axisX()->origin());
    return KivoRect::create(minY, minX - dx / 2, maxY - minY, maxX - minX + dx);
}

// ---- One series ----

void KivoBarPlotter::plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                std::int32_t index, std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex,
                                std::int64_t, StackDictionary& stackPos, StackDictionary& stackNeg) {
    const auto owner = chart();
    if (!owner || !series || !engine || !axisX || !axisY || !_dataInfo) return;
    const auto& update = kivo::detail::chartState(*owner).updateEventArgs;
    const std::int64_t action = update ? update->action() : KivoNotifyCollectionChangedActionReset;

    // A series being added appears only in the second task.
    if (kivo::detail::chartState(*owner).seriesCollectionUpdated && kivo::detail::chartState(*owner).isUpdateTask1() &&
        action == KivoNotifyCollectionChangedActionAdd && update->startingIndex() == index)
        return;

    double cw = owner->options() ? static_cast<double>(owner->options()->groupWidth()) : OmbriChartOptions::DefaultGroupWidth;
    if (index == 0) {
        stackPos.clear();
        stackNeg.clear();
        clearLabels();
    }

    kivo::detail::ColumnPtr yvals = kivo::detail::SeriesInternals::values(*series, 0);
    kivo::detail::ColumnPtr xvals = kivo::detail::SeriesInternals::values(*series, 1);
    if (!yvals) return;

    // Slots per cluster: one per bar series sharing it (at least one, so a bad count divides nothing).
    const std::int32_t slots = std::max(count, 1);
    double w = cw / slots;
    if (!xvals || xvals->empty()) xvals = kivo::detail::DataInfoInternals::xColumn(*_dataInfo);
    if (xvals && !xvals->empty() && _dataInfo->deltaX() > 0) {
        cw *= _dataInfo->deltaX();
        w *= _dataInfo->deltaX();
    }

    // The series' look.
    const std::size_t found = owner->series()->indexOfObject(plat::Value(series));
    const std::int32_t position = found < owner->series()->count() ? static_cast<std::int32_t>(found) : -1;
    const plat::Color fill = series->color().value_or(owner->getColor(position));
    const plat::Color border = series->borderColor().value_or(OmbriChartBase::darken(fill));
    const double bw = series->borderWidth();
    const double opacity = series->opacity();
    std::vector<double> dashes;

    // The selection look, which redoSelection draws over everything once the series are drawn.
    const std::int64_t selectionMode = owner->selectionMode();
    const bool selected = selectionMode != KivoChartSelectionModeNone && owner->isSeriesSelected(series);
    plat::Color stroke = border;
    double thickness = bw;
    if (selected) {
        stroke = owner->selectedBorderColor().value_or(OmbriChartBase::darken(fill));
        thickness = owner->selectedBorderWidth();
        dashes = owner->selectedDashes();
    }
    engine->setFill(fill);
    engine->setStroke(stroke);
    engine->setStrokeThickness(thickness);
    engine->setOpacity(opacity);
    engine->setSelectedDashes(dashes);
    if (selected) {
        _selState = engine->saveState();
        _selRects.clear();
        if (selectionMode == KivoChartSelectionModePoint) {
            engine->setStroke(border);
            engine->setStrokeThickness(bw);
        }
    }

    double t = 0, d = 0;
    std::int32_t n = 0;
    _getAnimationInfo(series, t, d, n);
    const std::int32_t path = getPlotElementPath();
    engine->startGroup(SeriesGroup);

    // While the first task of a removal runs, bars come from the data as it was, so the removed item
    // still has a bar to shrink.
    if (kivo::detail::chartState(*owner).collectionViewUpdated && action == KivoNotifyCollectionChangedActionRemove &&
        kivo::detail::chartState(*owner).isUpdateTask1()) {
        n = n + 1;
        const auto at = static_cast<std::size_t>(position);
        xvals = position >= 0 && at < kivo::detail::chartState(*owner).prevXValsArray.size()
                    ? kivo::detail::chartState(*owner).prevXValsArray[at]
                    : nullptr;
        yvals = position >= 0 && at < kivo::detail::chartState(*owner).prevYValsArray.size()
                    ? kivo::detail::chartState(*owner).prevYValsArray[at]
                    : nullptr;
    }

    const auto& plotRect = owner->plotRect();
    const KivoRect plot = plotRect ? *plotRect : KivoRect();

    // The base line, kept inside the value axis' range.
    const auto& valueAxis = _rotated ? axisX : axisY;
    double o = _origin;
    if (valueAxis->actualMin() > o)
        o = valueAxis->actualMin();
    else if (o > valueAxis->actualMax())
        o = valueAxis->actualMax();
    const double originScreen = valueAxis->convert(o);
    // Every edge of the series' bars is placed with the axes' arithmetic taken once.
    const kivo::detail::BarAxisPlaces places(*axisX, *axisY);
    const auto& categoryPlace = _rotated ? places.y : places.x;

    // The default renderer clips to the bar, so half of this band shows inside it: the series' width.
    const double bw2 = bw + bw;
    const bool pointSelection = selected && selectionMode == KivoChartSelectionModePoint;
    const bool updating =
        kivo::detail::chartState(*owner).seriesCollectionUpdated || kivo::detail::chartState(*owner).collectionViewUpdated;
    const bool pointByPoint =
        !updating && owner->loadAnimation() && owner->loadAnimation()->animationMode() == KivoLoadAnimationModePoint;
    const bool stacked = _stacking != KivoPlotterStackingNone;

    // Missing values filled for the whole series at once.
    std::optional<kivo::detail::FilledValues> filled;
    if (owner->interpolateNulls() && yvals) filled.emplace(*yvals, n);
    const auto pointAt = [&](std::int64_t i, double& x, double& y) {
        // An X that is no number (a category) places the point at its index; a NaN X is a gap.
        const bool numericX = xvals && xvals->isNumber(i);
        x = numericX ? xvals->at(i) : static_cast<double>(i);
        y = kivo::detail::numberAt(yvals, i);
        if (filled && !KivoDataInfo::isValid(y)) y = filled->at(i);
        return KivoDataInfo::isValid(x) && KivoDataInfo::isValid(y);
    };
    const std::int64_t first = static_cast<std::int64_t>(_dataInfo->getOrigin());
    // The update geometry takes over only while the chart replays a change.
    const bool ordinary =
        !(update && action >= KivoNotifyCollectionChangedActionAdd && action <= KivoNotifyCollectionChangedActionReplace);
    // Every stacked bar of the series takes its segment from one merge per stack, made before the bars.
    const bool stackingChange =
        update && action >= KivoNotifyCollectionChangedActionAdd && action <= KivoNotifyCollectionChangedActionReplace &&
        !kivo::detail::chartState(*owner).seriesCollectionUpdated && !kivo::detail::chartState(*owner).collectionViewUpdated;
    if (stacked && !stackingChange) {
        std::vector<double> xs, ys, sums;
        for (std::int64_t i = first; i <= n; ++i) {
            double x, y;
            if (!pointAt(i, x, y)) continue;
            xs.push_back(x);
            ys.push_back(y);
            // Only a stack in percent takes its share of the sum (a look-up per point).
            sums.push_back(_stacking == KivoPlotterStackingStacked100 ? _dataInfo->getStackedAbsSum(x) : 0.0);
        }
        _stackPlan = std::make_shared<kivo::detail::StackPlan>();
        kivo::detail::planStack(*_stackPlan, std::move(xs), std::move(ys), sums, _stacking, stackPos, stackNeg);
    }
    // The plan and the easing belong to this series' bars only.
    _seriesEasing = owner->getEasing();
    const struct SeriesScope {
        std::shared_ptr<kivo::detail::StackPlan>& plan;
        std::optional<std::shared_ptr<IKivoEaseAction>>& easing;
        ~SeriesScope() {
            plan.reset();
            easing.reset();
        }
    } seriesScope{_stackPlan, _seriesEasing};

    // Bars of the default path narrower than a device pixel, merged per pixel column while every bar
    // has the series' look.
    // The series' hit areas, which also stand for its label records.
    const std::size_t expected = n >= first ? static_cast<std::size_t>(n - first + 1) : 0;
    const auto block = kivo::detail::takeKeptBlock(_blocks, expected);
    block->info = {owner, series->name(), position, _rotated, 0};
    block->open(expected);
    kivo::detail::BarColumnMerger merger;
    if (path == KivoPlotElementEventPathDefault && !pointSelection) merger.begin(engine, _rotated);
    // Every bar is drawn in the bar look. While merging, nothing but the default renderer (which leaves
    // the look alone) draws between the bars, so the look is set once.
    const auto setBarLook = [&] {
        engine->setFill(fill);
        engine->setStroke(border);
        engine->setStrokeThickness(bw2);
        engine->setOpacity(opacity);
        engine->setSelectedDashes(dashes);
    };
    const bool lookPerBar = !merger.active();
    if (!lookPerBar && first <= n) setBarLook();
    for (std::int64_t i = first; i <= n; ++i) {
        const auto point = static_cast<std::int32_t>(i);
        if (lookPerBar) setBarLook();
        if (pointSelection) {
            if (point == owner->selectionIndex()) {
                engine->setSelectedDashes(owner->selectedDashes());
                engine->setStrokeThickness(owner->selectedBorderWidth());
            } else {
                engine->setSelectedDashes({});
                engine->setStrokeThickness(bw2);
            }
        }

        double x, y;
        const bool drawable = pointAt(i, x, y);
        if (pointByPoint) t = _getAnimationTimeForPointMode(series, point, point == n);
        if (!drawable) continue;

        double sum = 0;
        // The ordinary bar (no change replayed) needs no rectangle object of its own.
        KivoRect bar;
        if (ordinary) {
            bar = stacked ? stackedBar(places, x, y, cw, t, d, _rotated, sum, stackPos, stackNeg)
                          : ordinaryBar(places, realIndex, x, y, cw, w, originScreen, t, d, _rotated);
        } else {
            const auto made = stacked ? _getStackedBarRect(axisX, axisY, realIndex, point, n, xvals, x, y, slots, cw, w,
                                                           originScreen, t, d, _rotated, position, sum, stackPos, stackNeg)
                                      : _getBarRect(axisX, axisY, realIndex, point, n, xvals, x, y, slots, cw, w, originScreen, t,
                                                    d, _rotated, position);
            // A point without a rectangle gets no bar, no hit area and no label.
            if (!made) continue;
            bar = *made;
        }
        // Nor does one whose rectangle is not a number.
        if (!kivo::detail::isFiniteRect(bar)) continue;

        std::shared_ptr<KivoRect> rect;
        const auto shared = [&] {
            if (!rect) rect = KivoRect::create(bar.left(), bar.top(), bar.width(), bar.height());
            return rect;
        };
        if (selected && (selectedIndex == -1 || selectedIndex == point)) _selRects.push_back({shared(), point});
        if (intersects(bar, plot) && !merger.take(bar)) {
            if (path == KivoPlotElementEventPathDefault)
                DefaultBarElementRender(engine, bar.left(), bar.top(), bar.width(), bar.height()).execute();
            else
                _drawBarElement(engine, shared(), series, position, point, path);
        }

        // Across the category axis the point sits in the middle of its slot (of the cluster, stacked).
        const double c0 = stacked ? x - cw / 2 : x - cw / 2 + realIndex * w;
        const double c1 = stacked ? x + cw / 2 : c0 + w;
        block->place(bar, point, x, y, (categoryPlace(c0) + categoryPlace(c1)) / 2);
    }

    merger.end();
    block->close();
    if (_hitTester) _hitTester->addBlock(block, block.get(), block->size(), &kivo::detail::BarPlaceBlock::areaAt, position);
    _labelBlocks.push_back(block);

    // Every label collected in this pass, so the last series' labels end on top of all bars.
    const auto& label = owner->dataLabel();
    const auto& renderer = owner->dataLabelRenderer();
    if (label && renderer && label->position() != KivoDataLabelPositionNone)
        for (const auto& record : dataLabelData())
            renderer->render(record->seriesName(), record->rect(), record->seriesIndex(), record->pointIndex(), record->dataX(),
                             record->dataY(), record->valueX());
    engine->endGroup();
}

// ---- Label records ----

void KivoBarPlotter::clearLabels() {
    _labelBlocks.clear();
    _dataLabelData.clear();
    _labelBlocksMade = 0;
}

const std::vector<std::shared_ptr<OmbrChartDataLabelData>>& KivoBarPlotter::dataLabelData() const {
    // Made when first asked for: a chart without labels never needs a record per bar.
    for (; _labelBlocksMade < _labelBlocks.size(); ++_labelBlocksMade) {
        const auto& block = *_labelBlocks[_labelBlocksMade];
        const std::string seriesName = block.info.name.value_or("");
        _dataLabelData.reserve(_dataLabelData.size() + block.size());
        for (std::size_t k = 0; k < block.size(); ++k) {
            const auto& area = block.area(k);
            // Labels stand against the bar's top edge (columns) or right edge (bars).
            const KivoRect bar = area.rect();
            auto anchor = block.info.rotated ? KivoRect::create(bar.right(), bar.top(), 0, bar.height())
                                             : KivoRect::create(bar.left(), bar.top(), bar.width(), 0);
            _dataLabelData.push_back(OmbrChartDataLabelData::create(seriesName, std::move(anchor), block.info.seriesIndex,
                                                                    area.pointIndex(), area.x(), area.y(), area.xText()));
        }
    }
    return _dataLabelData;
}

// ---- One bar ----

void KivoBarPlotter::_drawBarElement(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect,
                                     const std::shared_ptr<KivoSeries>& series, std::int32_t seriesIndex, std::int32_t pointIndex,
                                     std::int64_t type) {
    if (!engine || !rect) return;
    auto render = std::make_shared<DefaultBarElementRender>(engine, rect->left(), rect->top(), rect->width(), rect->height());
    if (type != KivoPlotElementEventPathDelegate) {
        drawPlotElement(static_cast<std::int32_t>(type), engine, render, series, pointIndex, rect->left(), rect->top(), rect,
                        nullptr, seriesIndex);
        return;
    }
    // The host draws the bar, or hands it back to the default renderer. Its custom view stands over
    // the bar only while the chart is loading plot elements.
    const auto owner = chart();
    const auto host = owner ? owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading) : nullptr;
    if (!host || !host->handlePlotElementLoading(owner, engine, rect, pointIndex, KivoPoint::create(rect->left(), rect->top()),
                                                 seriesIndex, render)) {
        render->execute();
        return;
    }
    const auto& view = owner->customPlotElement();
    if (view && kivo::detail::chartState(*owner).beginPlotElementLoading) {
        view->setFrame({rect->left(), rect->top(), rect->width(), rect->height()});
        owner->addSubview(view);
    }
}

// ---- Selection ----

void KivoBarPlotter::redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto owner = chart();
    if (!engine || !owner) {
        _selState.reset();
        _selRects.clear();
        return;
    }
    // The saved state carries the selection stroke and thickness.
    if (_selState) {
        engine->restoreState(_selState);
        _selState.reset();
    }
    const std::int64_t mode = owner->selectionMode();
    for (std::size_t k = 0; k < _selRects.size(); ++k) {
        const auto& [rect, pointIndex] = _selRects[k];
        const bool draw = mode == KivoChartSelectionModeSeries ||
                          (mode == KivoChartSelectionModePoint && pointIndex == owner->selectionIndex());
        if (!draw) continue;
        engine->setSelectedDashes(owner->selectedDashes());
        engine->drawRect(rect->left(), rect->top(), rect->width(), rect->height(), true);
        engine->setSelectedDashes({});
    }
    _selRects.clear();
}
