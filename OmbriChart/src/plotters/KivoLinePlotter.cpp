// KivoLinePlotter: construction, limits, one series' points, hit areas, line, symbols and labels, and
// the stroking of a line (reduced to pixel columns when it is far denser than the plot).
//
// Sections: construction · limits · plotSeries · symbols and labels · stroking.

#include "OmbriChart/KivoLinePlotter.h"
#include "chart/ChartState.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <string>

#include "ChartCore/KivoHitAreas.h"
#include "ChartCore/KivoHitTester.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/context.h"
#include "data/DataInfoInternals.h"
#include "plotters/ColumnReduction.h"
#include "plotters/LineFamilyMotion.h"
#include "plotters/LinePlotterSupport.h"
#include "plotters/LinePointArea.h"
#include "plotters/MissingValues.h"
#include "plotters/SeriesLook.h"
#include "plotters/SymbolStamp.h"
#include "series/SeriesColumns.h"

using kivo::detail::numberAt;
using kivo::detail::reuseFor;
using kivo::detail::xAt;
using kivo::detail::xText;

namespace {

using kivo::detail::deviceScaleAlong;

std::int32_t positionOf(const OmbriChart& chart, const std::shared_ptr<KivoSeries>& series) {
    return kivo::detail::seriesPosition(chart, series);
}

// An axis' linear conversion as one multiply-add: base + fraction × (±length) is the same number as
// base ± fraction × length, so the positions equal the axis' own.
struct Placement {
    double min, range, base, length;
    explicit Placement(const KivoAxis::LinearConversion& c)
        : min(c.min), range(c.range), base(c.base), length(c.fromBase ? c.length : -c.length) {}
    double operator()(double v) const { return base + ((v - min) / range) * length; }
};

// Whether every one of `v[0…m)` is finite: a finite number less itself is 0, anything else is not. Four
// sums (each 0 or NaN) keep the additions from waiting on one another.
bool allFinite(const double* v, int m) {
    double spread[4] = {0, 0, 0, 0};
    int k = 0;
    for (; k + 4 <= m; k += 4)
        for (int j = 0; j < 4; ++j) spread[j] += v[k + j] - v[k + j];
    for (; k < m; ++k) spread[0] += v[k] - v[k];
    return spread[0] + spread[1] + spread[2] + spread[3] == 0;
}

// Places the points `first` … `first` + n − 1 of the columns (without X values at their indices):
// `along` places a point's X and `across` its value. The places are made a chunk at a time, in a loop
// simple enough to run several points at once, and handed on as put(k, along, across, count) for the
// chunk from point k. Answers false, at once, when some value or place is not finite.
constexpr std::size_t PlaceChunk = 512;
template <bool HasX, class Put>
bool placeAll(const double* xv, const double* yv, std::int64_t first, std::size_t n, const Placement& along,
              const Placement& across, Put put) {
    double a[PlaceChunk], c[PlaceChunk];
    for (std::size_t k0 = 0; k0 < n; k0 += PlaceChunk) {
        const int m = static_cast<int>(std::min(PlaceChunk, n - k0));
        // Indices are whole numbers far below 2^53: the chunk's first plus k is the index itself, and a
        // small signed k converts to double in vector steps.
        const double chunkStart = static_cast<double>(first) + static_cast<double>(k0);
        const double* xs = HasX ? xv + k0 : nullptr;
        const double* ys = yv + k0;
        // A chunk whose X values are all finite (the usual case) is placed from them straight; otherwise
        // the X of each point first (its index where it has none), then the places.
        if (HasX && allFinite(xs, m)) {
            for (int k = 0; k < m; ++k) {
                a[k] = along(xs[k]);
                c[k] = across(ys[k]);
            }
        } else {
            for (int k = 0; k < m; ++k) {
                const double index = chunkStart + static_cast<double>(k);
                if constexpr (HasX)
                    a[k] = std::isnan(xs[k]) ? index : xs[k];
                else
                    a[k] = index;
            }
            for (int k = 0; k < m; ++k) {
                a[k] = along(a[k]);
                c[k] = across(ys[k]);
            }
        }
        // A finite number less itself is 0; anything else (a missing value gives NaN) is not. Four sums
        // (each 0 or NaN) keep the additions from waiting on one another.
        double spread[4] = {0, 0, 0, 0};
        int k = 0;
        for (; k + 4 <= m; k += 4)
            for (int j = 0; j < 4; ++j) spread[j] += (a[k + j] - a[k + j]) + (c[k + j] - c[k + j]);
        for (; k < m; ++k) spread[0] += (a[k] - a[k]) + (c[k] - c[k]);
        if (spread[0] + spread[1] + spread[2] + spread[3] != 0) return false;
        put(k0, a, c, static_cast<std::size_t>(m));
    }
    return true;
}

template <class Put>
bool placeAll(const double* xv, const double* yv, std::int64_t first, std::size_t n, const Placement& along,
              const Placement& across, Put put) {
    return xv ? placeAll<true>(xv, yv, first, n, along, across, put) : placeAll<false>(xv, yv, first, n, along, across, put);
}

// Leaves point i out of the block's entries. Before any entry the entries simply start after it; later
// the entries stop being consecutive and list their indices.
void skipPoint(kivo::detail::LinePointBlock& block, std::int64_t i) {
    if (block.size() == 0)
        block.firstIndex = i + 1;
    else
        block.listIndices();
}

// The point loop of a pass that neither stacks nor moves: the points from `first` to `end` that have
// values, placed by the axes' linear conversions, into the block. False when a placed position is
// missing. Every point present (the usual case) goes through one straight loop over the columns.
bool plainPoints(kivo::detail::LinePointBlock& block, const KivoAxis::LinearConversion& toX,
                 const KivoAxis::LinearConversion& toY, bool rotated, std::int64_t first, std::int64_t end) {
    const kivo::detail::ValueColumn* xs = block.hasX ? block.xs.get() : nullptr;
    const kivo::detail::ValueColumn& ys = *block.ys;
    auto& sxs = block.sx;
    auto& sys = block.sy;
    const bool straight = first >= 0 && end >= first && static_cast<std::uint64_t>(end) < ys.size() &&
                          (!xs || static_cast<std::uint64_t>(end) < xs->size()) && !toX.degenerate && !toX.halved &&
                          !toY.degenerate && !toY.halved;
    if (straight) {
        const auto n = static_cast<std::size_t>(end - first + 1);
        sxs.resize(n);
        sys.resize(n);
        const double* xv = xs ? xs->values.data() + first : nullptr;
        const double* yv = ys.values.data() + first;
        double* outX = sxs.data();
        double* outY = sys.data();
        const Placement along(rotated ? toY : toX), across(rotated ? toX : toY);
        double* alongOut = rotated ? outY : outX;
        double* acrossOut = rotated ? outX : outY;
        const bool placed = placeAll(xv, yv, first, n, along, across,
                                     [&](std::size_t k0, const double* a, const double* c, std::size_t m) {
                                         std::copy_n(a, m, alongOut + k0);
                                         std::copy_n(c, m, acrossOut + k0);
                                     });
        if (placed) return true;
        // Some point has no value or no place: placed one by one below.
        sxs.clear();
        sys.clear();
    }
    bool allValid = true;
    for (std::int64_t i = first; i <= end; ++i) {
        double x = static_cast<double>(i);
        if (xs) {
            const double bound = xs->at(i);
            if (!std::isnan(bound)) x = bound;
        }
        const double y = ys.at(i);
        if (!KivoDataInfo::isValid(x) || !KivoDataInfo::isValid(y)) {
            skipPoint(block, i);
            continue;
        }
        const double sx = toX(rotated ? y : x), sy = toY(rotated ? x : y);
        allValid = allValid && KivoDataInfo::isValid(sx) && KivoDataInfo::isValid(sy);
        sxs.push_back(sx);
        sys.push_back(sy);
        if (!block.indices.empty()) block.indices.push_back(static_cast<std::int32_t>(i));
    }
    return allValid;
}

// Puts the replaced point `at` where its move has it, in a block the usual pass filled; false when its
// entry cannot be told (the pass then places every point one by one).
bool placeReplaced(kivo::detail::LinePointBlock& block, std::int64_t at, std::pair<double, double> place,
                   bool& allValid) {
    std::size_t entry = block.size();
    if (block.indices.empty()) {
        if (at >= block.firstIndex) entry = static_cast<std::size_t>(at - block.firstIndex);
    } else {
        const auto found = std::lower_bound(block.indices.begin(), block.indices.end(), at);
        if (found != block.indices.end() && *found == at) entry = static_cast<std::size_t>(found - block.indices.begin());
    }
    if (entry >= block.size()) return false;
    block.sx[entry] = place.first;
    block.sy[entry] = place.second;
    allValid = allValid && KivoDataInfo::isValid(place.first) && KivoDataInfo::isValid(place.second);
    return true;
}
}  // namespace

// ---- Construction ----

KivoLinePlotter::KivoLinePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                                 std::shared_ptr<KivoHitTester> hitTester) {
    setChart(chart);
    setDataInfo(std::move(dataInfo));
    setHitTester(std::move(hitTester));
}

// ---- Limits ----

std::shared_ptr<KivoRect> KivoLinePlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double>) {
    _dataInfo = dataInfo;
    const auto owner = chart();
    return kivo::detail::limitsToAxisOrigins(dataInfo.get(), owner.get(), _rotated);
}

// ---- plotSeries ----

void KivoLinePlotter::plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                 const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                 std::int32_t index, std::int32_t realIndex, std::int32_t, std::int32_t, std::int64_t,
                                 StackDictionary& stackPos, StackDictionary& stackNeg) {
    const auto owner = chart();
    if (!owner || !series || !engine || !axisX || !axisY) return;
    const std::int32_t seriesPos = positionOf(*owner, series);
    if (index == 0) {
        stackNeg.clear();
        stackPos.clear();
    }
    kivo::detail::ColumnPtr ys = kivo::detail::SeriesInternals::values(*series, 0);
    kivo::detail::ColumnPtr xs = kivo::detail::SeriesInternals::values(*series, 1);
    if ((!xs || xs->empty()) && _dataInfo) xs = kivo::detail::DataInfoInternals::xColumn(*_dataInfo);
    if (!ys || ys->empty()) return;

    // The line's look.
    const std::int64_t selectionMode = owner->selectionMode();
    const bool selected = selectionMode != KivoChartSelectionModeNone && owner->isSeriesSelected(series);
    const auto line = kivo::detail::seriesLineLook(*owner, *series, seriesPos, selected);
    engine->setStroke(line.color);
    engine->setStrokeThickness(line.width > 0 ? line.width : _defaultLineWidth);
    engine->setFill(std::nullopt);
    engine->setOpacity(series->opacity());
    if (selected) {
        forgetSelection();
        _selState = engine->saveState();
        _selSeries = series;
        _selSeriesPos = seriesPos;
    }

    // The frame's animation state.
    const bool interpolate = owner->interpolateNulls();
    auto args = kivo::detail::chartState(*owner).updateEventArgs;
    if (!args) args = std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReset);
    const std::int64_t action = args->action();
    const std::int64_t loadMode = owner->loadAnimation() ? owner->loadAnimation()->animationMode() : KivoLoadAnimationModeAll;
    const bool updating = kivo::detail::chartState(*owner).isUpdateTask1() || kivo::detail::chartState(*owner).isUpdateTask2();
    const bool revealing = loadMode == KivoLoadAnimationModePoint && kivo::detail::chartState(*owner).plotting() && !updating;
    const KivoEasePtr easing = owner->getEasing();
    double t = 0, duration = 0;
    std::int32_t end = 0;
    getAnimationInfo(series, t, duration, end);

    engine->startGroup("series-" + std::to_string(seriesPos));

    const bool itemsChanged = kivo::detail::chartState(*owner).collectionViewUpdated;
    const bool listChanged = kivo::detail::chartState(*owner).seriesCollectionUpdated;
    if (itemsChanged && action == KivoNotifyCollectionChangedActionRemove) {
        // The removed point is still drawn while it leaves: the lists from before the change.
        ++end;
        const auto& prevX = kivo::detail::chartState(*owner).prevXValsArray;
        const auto& prevY = kivo::detail::chartState(*owner).prevYValsArray;
        const auto at = static_cast<std::size_t>(std::max(index, 0));
        if (at < prevY.size() && prevY[at]) ys = prevY[at];
        if (at < prevX.size() && prevX[at] && !prevX[at]->empty()) xs = prevX[at];
    }
    const bool hasX = xs && !xs->empty();

    const auto frame = kivo::detail::moveFrame(*owner, _dataInfo.get(), axisX, axisY, _rotated, t, duration, easing, args, index,
                                               end, xs, ys, _stacking, stackPos, stackNeg);

    // The point loop: screen positions and hit areas of the valid points, recorded in the series' block
    // (a pass started from inside this one, by a symbol's handler, takes a block of its own).
    bool allValid = true;
    std::vector<double> prevVals;
    const std::int64_t first = frame.origin;
    const std::size_t expected = end >= first ? static_cast<std::size_t>(end - first + 1) : 0;
    const auto block = takeBlock(expected);
    auto& sxs = block->sx;
    auto& sys = block->sy;
    block->info = {owner, series->name(), seriesPos, _rotated, _symbolSize};
    block->firstIndex = first;
    block->xs = xs;
    block->ys = ys;
    block->hasX = hasX;
    // The axes' conversions taken once for the loop (nothing in it changes an axis).
    const auto linearX = axisX->linearConversion(), linearY = axisY->linearConversion();
    const auto toScreenX = [&](double v) { return linearX ? (*linearX)(v) : axisX->convert(v); };
    const auto toScreenY = [&](double v) { return linearY ? (*linearY)(v) : axisY->convert(v); };
    // Missing values filled for the whole series at once.
    std::optional<kivo::detail::FilledValues> filled;
    if (interpolate && ys) filled.emplace(*ys, end);
    const auto& revealAxis = _rotated ? owner->axisX() : owner->axisY();
    // The point at index i, or none when it cannot be drawn.
    const auto pointAt = [&](std::int64_t i, double& x, double& y) {
        x = hasX ? xAt(xs, i) : static_cast<double>(i);
        y = numberAt(ys, i);
        if (filled && !KivoDataInfo::isValid(y)) y = filled->at(i);
        // A reveal runs from the first to the last point even when they are missing.
        if (revealing && (i == 0 || i == end) && std::isnan(y) && revealAxis) y = revealAxis->actualMin();
        return KivoDataInfo::isValid(x) && KivoDataInfo::isValid(y);
    };
    // What a point adds to the running sum at its X: its value, or its share of the absolute sum there.
    const auto shareOf = [&](double x, double y) {
        if (_stacking != KivoPlotterStackingStacked100 || !_dataInfo) return y;
        const double sum = _dataInfo->getStackedAbsSum(x);
        return sum != 0 ? y / sum : 0.0;
    };
    // The stacked values of the series, taken into the running sums in one merge. An update that moves
    // points by their neighbours' running sums reads the sums as they stand at each point: it stacks
    // point by point.
    const bool stacking = _stacking != KivoPlotterStackingNone;
    const bool neighboursReadSums =
        itemsChanged && (action == KivoNotifyCollectionChangedActionAdd || action == KivoNotifyCollectionChangedActionRemove);
    std::vector<double> stackedRun;
    if (stacking && !neighboursReadSums) {
        KivoNumberDictionary::Run run;
        run.reserve(expected);
        for (std::int64_t i = first; i <= end; ++i) {
            double x, y;
            if (pointAt(i, x, y)) run.emplace_back(x, shareOf(x, y));
        }
        stackPos.addRun(run, stackedRun);
        for (std::size_t k = 0; k < run.size(); ++k) stackedRun[k] += run[k].second;
    }
    // The Ys of the entries are not all the column's: each entry keeps its own.
    const bool keepsY = filled || revealing;
    if (keepsY) block->takenY.reserve(expected);
    const bool plain = !stacking && !listChanged && !itemsChanged && !keepsY && linearX && linearY;
    // One item replaced and nothing else changed: every other point stands where its values place it,
    // as in the usual pass, and only the replaced one may be on its way. Its place is worked out alone;
    // when it already stands at its own, the pass is the usual one.
    bool inPlace = false;
    std::optional<std::pair<double, double>> moving;
    const std::int64_t replacedAt = args->oldStartingIndex();
    if (itemsChanged && !listChanged && action == KivoNotifyCollectionChangedActionReplace && !stacking && !keepsY &&
        linearX && linearY) {
        inPlace = true;
        double x, y;
        if (replacedAt >= first && replacedAt <= end && pointAt(replacedAt, x, y)) {
            const double ownX = toScreenX(_rotated ? y : x), ownY = toScreenY(_rotated ? x : y);
            double sx = ownX, sy = ownY;
            updatedPosition(frame, replacedAt, x, y, sx, sy);
            if (!KivoDataInfo::isValid(ownX) || !KivoDataInfo::isValid(ownY))
                inPlace = false;
            else if (std::bit_cast<std::uint64_t>(sx) != std::bit_cast<std::uint64_t>(ownX) ||
                     std::bit_cast<std::uint64_t>(sy) != std::bit_cast<std::uint64_t>(ownY))
                moving.emplace(sx, sy);
        }
    }
    const bool usual = plain || (inPlace && !moving);
    if (usual && strokeOnly(*owner, selected, action, listChanged, realIndex, *args, loadMode, easing) &&
        streamLine(*engine, *block, *axisX, *axisY, first, end)) {
        if (_hitTester)
            _hitTester->addBlock(block, block.get(), block->size(), &kivo::detail::LinePointBlock::areaAt, seriesPos);
        engine->endGroup();
        return;
    }
    bool placed = false;
    if (usual || inPlace) {
        // The usual pass: every point where its values place it, read straight from the columns.
        allValid = plainPoints(*block, *linearX, *linearY, _rotated, first, end);
        placed = !moving || placeReplaced(*block, replacedAt, *moving, allValid);
        if (!placed) {
            sxs.clear();
            sys.clear();
            block->indices.clear();
            allValid = true;
        }
    }
    if (!placed) {
        std::size_t drawn = 0;
        for (std::int64_t i = first; i <= end; ++i) {
            double x, y;
            if (!pointAt(i, x, y)) {
                skipPoint(*block, i);
                continue;
            }

            double stacked = y;
            if (stacking && !neighboursReadSums) {
                stacked = stackedRun[drawn++];
            } else if (stacking) {
                stacked = shareOf(x, y);
                stackPos.add(x, stacked);
                if (const double* total = stackPos.find(x)) stacked = *total;
            }

            double sx = toScreenX(_rotated ? stacked : x);
            double sy = toScreenY(_rotated ? x : stacked);
            if (listChanged) {
                prevVals.push_back(previousValue(frame, i, stacked));
            } else if (itemsChanged) {
                updatedPosition(frame, i, x, stacked, sx, sy);
            }
            allValid = allValid && KivoDataInfo::isValid(sx) && KivoDataInfo::isValid(sy);
            sxs.push_back(sx);
            sys.push_back(sy);
            if (!block->indices.empty()) block->indices.push_back(static_cast<std::int32_t>(i));
            if (keepsY) block->takenY.push_back(y);
        }
    }
    if (_hitTester)
        _hitTester->addBlock(block, block.get(), block->size(), &kivo::detail::LinePointBlock::areaAt, seriesPos);
    if (!sxs.empty()) {
        kivo::detail::SeriesPass pass;
        pass.series = series;
        pass.seriesPos = seriesPos;
        pass.index = index;
        pass.selected = selected;
        pass.selectionMode = selectionMode;
        pass.end = end;
        pass.time = t;
        pass.duration = duration;
        pass.easing = easing;
        pass.args = args;
        pass.listChanged = listChanged;
        pass.loadMode = loadMode;
        pass.block = block.get();

        // The valid entries (an eased position may be missing); usually all of them, which are not copied.
        std::vector<double> keptXs, keptYs;
        pass.validX = sxs;
        pass.validY = sys;
        if (!allValid) {
            pass.validAt.emplace();
            for (std::size_t k = 0; k < sxs.size(); ++k) {
                if (!KivoDataInfo::isValid(sxs[k]) || !KivoDataInfo::isValid(sys[k])) continue;
                keptXs.push_back(sxs[k]);
                keptYs.push_back(sys[k]);
                pass.validAt->push_back(k);
            }
            pass.validX = keptXs;
            pass.validY = keptYs;
        }

        // The points to draw: the load's reveal or rise, or the update's moves.
        const bool loading =
            action == KivoNotifyCollectionChangedActionReset ||
            (action == KivoNotifyCollectionChangedActionAdd && listChanged && args->startingIndex() == realIndex);
        std::optional<PointList> eased;
        if (loading && loadMode == KivoLoadAnimationModePoint) {
            eased = getPointsForPointMode(pass.validX, pass.validY, t, duration, easing, _rotated);
        } else if (loading && easing) {
            const double bottom = axisY->convert(axisY->actualMin());
            eased = PointList{{pass.validX.begin(), pass.validX.end()}, {}};
            eased->y.reserve(pass.validY.size());
            for (const double y : pass.validY) eased->y.push_back(KivoEasingUtil::ease(easing, t, bottom, y - bottom, duration));
        } else if (!loading) {
            eased = getUpdatedPointsDictionary(args, axisX, axisY, index, sxs, sys, prevVals, t, duration, easing, _rotated);
        }
        // Without an eased list the points stand at their places.
        pass.drawnByValid = loading || !eased;
        pass.drawnX = eased ? std::span<const double>(eased->x) : pass.validX;
        pass.drawnY = eased ? std::span<const double>(eased->y) : pass.validY;
        pass.entries = sxs.size();

        if (selected) {
            _selDataX.assign(pass.drawnX.begin(), pass.drawnX.end());
            _selDataY.assign(pass.drawnY.begin(), pass.drawnY.end());
        } else if (_hasLines) {
            strokeLine(*engine, pass.drawnX, pass.drawnY);
        }
        drawSymbolsAndLabels(*owner, engine, pass);
    }

    engine->endGroup();
}

std::shared_ptr<kivo::detail::LinePointBlock> KivoLinePlotter::takeBlock(std::size_t expected) {
    return kivo::detail::takeKeptBlock(_blocks, expected);
}

// ---- Symbols and labels ----

void KivoLinePlotter::drawSymbolsAndLabels(const OmbriChart& owner, const std::shared_ptr<IKivoRenderEngine>& engine,
                                           const kivo::detail::SeriesPass& pass) {
    const bool labelled =
        owner.dataLabel() && owner.dataLabel()->position() != KivoDataLabelPositionNone && owner.dataLabelRenderer();
    if (!_hasSymbols && !labelled) return;
    const auto& series = pass.series;
    const auto& points = *pass.block;
    const auto& args = *pass.args;
    const std::int64_t action = args.action();
    // With lines the symbols sit on the drawn line; a replaced series' symbols follow its move too.
    const bool onLine = _hasLines || (pass.listChanged && action == KivoNotifyCollectionChangedActionReplace);
    const std::span<const double> atX = onLine ? pass.drawnX : pass.validX;
    const std::span<const double> atY = onLine ? pass.drawnY : pass.validY;
    const auto entryAt = [&](std::size_t j) { return onLine ? pass.drawnEntry(j) : pass.validEntry(j); };
    // Symbols on a line keep their size unless the series list changes; labels alone keep theirs on a line.
    const bool whole = _hasLines && (!pass.listChanged || !_hasSymbols);
    const double eased = whole ? 1.0 : KivoEasingUtil::ease(pass.easing, pass.time, 0, 1, pass.duration);
    const auto plot = owner.plotRect();
    const std::string seriesName = series->name().value_or("");

    const auto look = kivo::detail::seriesSymbolLook(owner, *series, pass.seriesPos, pass.selected);
    std::int32_t path = KivoPlotElementEventPathDefault;
    if (_hasSymbols) {
        engine->setStroke(look.border);
        engine->setStrokeThickness(look.width);
        engine->setFill(look.fill);
        engine->setOpacity(series->symbolOpacity());
        if (pass.selected) {
            _symState = engine->saveState();
            _symInts.clear();
            for (std::size_t j = 0; j < pass.drawnX.size(); ++j) _symInts.push_back(points.pointIndex(pass.drawnEntry(j)));
            // In point mode the symbols drawn now look unselected; the redraw marks the selected one.
            if (pass.selectionMode == KivoChartSelectionModePoint) {
                engine->setStroke(look.plainBorder);
                engine->setStrokeThickness(look.plainWidth);
            }
        }
        path = getPlotElementPath();
        engine->clearClipRect();
    }
    const std::size_t n = std::min(atX.size(), atY.size());
    const bool stamping = _hasSymbols && !pass.selected && path == KivoPlotElementEventPathDefault;
    std::optional<kivo::detail::SymbolStampScope> stamps;
    if (stamping) stamps.emplace(symbolStamper(), *engine, n, plot.get());
    for (std::size_t j = 0; j < n && static_cast<std::int64_t>(j) <= pass.end; ++j) {
        const double sx = KivoDataInfo::isValid(atX[j]) ? atX[j] : static_cast<double>(j);
        const double sy = atY[j];
        if (!KivoDataInfo::isValid(sy)) continue;
        const std::size_t entry = entryAt(j);
        const std::int32_t pointIndex = points.pointIndex(entry);
        double scale = eased;
        if (pass.loadMode == KivoLoadAnimationModePoint)
            scale = getScaleForPointMode(pass.easing, pass.time, pass.duration, static_cast<std::int32_t>(j),
                                         static_cast<std::int64_t>(j) == pass.end);
        const double factor =
            seriesListFactor(pass.listChanged, action, args.startingIndex(), args.oldStartingIndex(), pass.index, scale);
        const double size = _symbolSize * factor;
        if (_hasSymbols && !pass.selected && kivo::detail::squareMeetsPlot(sx, sy, size, plot.get()))
            drawSymbol(engine, sx, sy, look.width, size, look.fill, look.border, series->symbolMarker(), series,
                       pointIndex, path == KivoPlotElementEventPathEvent ? points.area(entry).dataPoint() : nullptr, path);
        if (!labelled) continue;
        auto rect = KivoRect::create(sx - size / 2, sy - size / 2, size, size);
        const double x = points.x(entry), y = points.y(entry);
        const plat::Value text = xText(owner, pointIndex, x, _rotated);
        if (pass.selected && _hasSymbols) {
            // Drawn after the selected symbols, on top of them.
            _selLabels.push_back({std::move(rect), pointIndex, x, y, text});
        } else {
            // Over the symbols drawn so far.
            if (stamps) _symbolStamper->flush();
            owner.dataLabelRenderer()->render(seriesName, rect, pass.seriesPos, pointIndex, x, y, text);
        }
    }
    stamps.reset();
    if (_hasSymbols && plot) engine->setClipRect(plot->left(), plot->top(), plot->width(), plot->height());
}

// ---- Symbols ----

void KivoLinePlotter::drawSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double borderWidth,
                                 double symbolSize, const plat::Color&, std::optional<plat::Color> borderColor,
                                 std::int64_t symbolMarker, const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex,
                                 const std::shared_ptr<KivoChartDataPoint>& dataPoint, std::int32_t type) {
    if (!engine) return;
    if (type == KivoPlotElementEventPathDefault && _symbolStamper && _symbolStamper->active()) {
        _symbolStamper->draw(x, y, borderWidth, symbolSize, borderColor, symbolMarker);
        return;
    }
    auto renderer = std::make_shared<DefaultPlotElementRender>(engine, x, y, borderWidth, symbolSize, borderColor, symbolMarker);
    const auto owner = chart();
    if (!owner || type == KivoPlotElementEventPathDefault) {
        renderer->execute();
        return;
    }
    if (type == KivoPlotElementEventPathEvent) {
        raisePlotElement(engine, renderer, series, pointIndex, x, y, dataPoint);
        return;
    }
    const auto host = owner->delegateAnswering(OmbriChartDelegate::HandlePlotElementLoading);
    // The host is told where the symbol lies: its square, centred on the point.
    auto square = KivoRect::create(x - symbolSize / 2, y - symbolSize / 2, symbolSize, symbolSize);
    if (!host || !host->handlePlotElementLoading(owner, engine, square, pointIndex, KivoPoint::create(x, y),
                                                 series ? positionOf(*owner, series) : -1, renderer)) {
        renderer->execute();
        return;
    }
    if (const auto& view = owner->customPlotElement(); view && kivo::detail::chartState(*owner).beginPlotElementLoading) {
        view->setFrame({square->left(), square->top(), square->width(), square->height()});
        owner->addSubview(view);
    }
}

kivo::detail::SymbolStamper& KivoLinePlotter::symbolStamper() {
    if (!_symbolStamper) _symbolStamper = std::make_shared<kivo::detail::SymbolStamper>();
    return *_symbolStamper;
}

// ---- Stroking ----

bool KivoLinePlotter::strokeOnly(const OmbriChart& owner, bool selected, std::int64_t action, bool listChanged,
                                 std::int32_t realIndex, const KivoNotifyCollectionChangedEventArgs& args,
                                 std::int64_t loadMode, const KivoEasePtr& easing) const {
    const bool labelled =
        owner.dataLabel() && owner.dataLabel()->position() != KivoDataLabelPositionNone && owner.dataLabelRenderer();
    if (selected || _hasSymbols || labelled || !_hasLines || !owner.plotRect()) return false;
    // Nothing eases the points: no load with an easing, no update (the caller has no item change, or
    // one whose points all stand at their places).
    const bool loading = action == KivoNotifyCollectionChangedActionReset ||
                         (action == KivoNotifyCollectionChangedActionAdd && listChanged && args.startingIndex() == realIndex);
    return loading ? loadMode != KivoLoadAnimationModePoint && !easing : !listChanged;
}

bool KivoLinePlotter::streamLine(IKivoRenderEngine& engine, kivo::detail::LinePointBlock& block, const KivoAxis& axisX,
                                 const KivoAxis& axisY, std::int64_t first, std::int64_t end) const {
    const auto owner = chart();
    const auto linearX = axisX.linearConversion(), linearY = axisY.linearConversion();
    if (!linearX || !linearY) return false;
    const auto& toX = *linearX;
    const auto& toY = *linearY;
    const kivo::detail::ValueColumn* xs = block.hasX ? block.xs.get() : nullptr;
    const kivo::detail::ValueColumn& ys = *block.ys;
    if (!owner || !owner->plotRect() || first < 0 || end < first || static_cast<std::uint64_t>(end) >= ys.size() ||
        (xs && static_cast<std::uint64_t>(end) >= xs->size()) || toX.degenerate || toX.halved || toY.degenerate ||
        toY.halved)
        return false;
    const auto& plot = *owner->plotRect();
    const auto n = static_cast<std::size_t>(end - first + 1);
    std::vector<double> keptAlong, keptAcross;
    kivo::detail::PixelColumnReducer reducer;
    if (!(_rotated ? reducer.begin(n, plot.top(), plot.height(), deviceScaleAlong(_rotated), keptAlong, keptAcross)
                   : reducer.begin(n, plot.left(), plot.width(), deviceScaleAlong(_rotated), keptAlong, keptAcross)))
        return false;
    // The data X places a point along the line, its value across it.
    const Placement along(_rotated ? toY : toX), across(_rotated ? toX : toY);
    const double* xv = xs ? xs->values.data() + first : nullptr;
    const double* yv = ys.values.data() + first;
    // placeAll hands on only chunks whose places are all finite.
    const bool placed = placeAll(xv, yv, first, n, along, across,
                                 [&](std::size_t, const double* a, const double* c, std::size_t m) { reducer.addFinite(a, c, m); });
    // A point without a value or a place is left out of the line: the pass places its points one by one.
    if (!placed) return false;
    reducer.finish();
    block.placeX = toX;
    block.placeY = toY;
    block.placedCount = n;
    strokeRuns(engine, _rotated ? keptAcross : keptAlong, _rotated ? keptAlong : keptAcross, true);
    return true;
}

void KivoLinePlotter::strokeLine(IKivoRenderEngine& engine, std::span<const double> xs, std::span<const double> ys) const {
    std::size_t n = std::min(xs.size(), ys.size());
    xs = xs.first(n);
    ys = ys.first(n);
    // Far more points than pixel columns: each column's extremes draw the same pixels. At that density a
    // curve's bends are smaller than a pixel, so the kept points are joined straight.
    std::vector<double> keptAlong, keptAcross;
    bool reduced = false;
    if (const auto owner = chart(); owner && owner->plotRect() && n > 2) {
        const auto& plot = *owner->plotRect();
        reduced = _rotated ? kivo::detail::reduceToPixelColumns(ys, xs, plot.top(), plot.height(), deviceScaleAlong(_rotated),
                                                                keptAlong, keptAcross)
                           : kivo::detail::reduceToPixelColumns(xs, ys, plot.left(), plot.width(), deviceScaleAlong(_rotated),
                                                                keptAlong, keptAcross);
        if (reduced) {
            xs = _rotated ? keptAcross : keptAlong;
            ys = _rotated ? keptAlong : keptAcross;
            n = xs.size();
        }
    }
    strokeRuns(engine, xs, ys, reduced);
}

void KivoLinePlotter::strokeRuns(IKivoRenderEngine& engine, std::span<const double> xs, std::span<const double> ys,
                                 bool reduced) const {
    const std::size_t n = std::min(xs.size(), ys.size());
    // Each run of present points is one line; a missing point breaks it.
    std::size_t start = 0;
    while (start < n) {
        while (start < n && !(KivoDataInfo::isValid(xs[start]) && KivoDataInfo::isValid(ys[start]))) ++start;
        std::size_t stop = start;
        while (stop < n && KivoDataInfo::isValid(xs[stop]) && KivoDataInfo::isValid(ys[stop])) ++stop;
        if (stop - start >= 2) {
            const auto runX = xs.subspan(start, stop - start), runY = ys.subspan(start, stop - start);
            if (_isSpline && !reduced)
                engine.drawSplines(runX, runY, _rotated);
            else
                engine.drawLines(runX, runY);
        }
        start = stop;
    }
}
