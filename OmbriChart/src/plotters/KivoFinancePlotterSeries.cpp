// KivoFinancePlotter: the drawing of one series: its look, the frame's growth and the motion of an
// item update, then per item of the window one mark, its hit area and its label.
//
// Sections: the motion of an item update · one series (its look, the frame, then each mark: values,
// style, growth, view points, mark, hit area and label).

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoFinancePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/OmbriChartDataLabelRenderer.h"
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "plotters/BarRectMath.h"
#include "plotters/KivoFinancePlotterArea.h"
#include "plotters/LinePlotterSupport.h"

namespace {

using kivo::detail::ColumnPtr;

// A high-low-open-close mark is this wide in X units, whatever the candle width.
constexpr double MarkWidth = 0.7;
constexpr double DefaultThickness = 1.5;
// On a time axis the width is in days.
constexpr double SecondsPerDay = 86400.0;

double numberOf(const plat::Value& value) { return value.isNumber() ? value.asDouble() : NAN; }

// The look of one series: the normal one and the selection one.
struct FinanceLook {
    plat::Color fill;
    plat::Color stroke, selectedStroke;
    double thickness = DefaultThickness, selectedThickness = DefaultThickness;
    std::vector<double> selectedDashes;
};

// How the marks of one frame move while the chart replays an edit of its items: the edit, which task
// plays, and the values from before it.
struct ItemMotion {
    std::int64_t action = KivoNotifyCollectionChangedActionReset;
    bool task1 = false, task2 = false;
    std::int64_t startingIndex = -1, oldStartingIndex = -1;
    ColumnPtr prevX, prevY;
    // The first item the edit took away or replaced (nil without one), and the binding names of the
    // low, open and close to read from it.
    plat::Value oldItem;
    std::optional<std::string> keys[3];
    kivo::detail::MoveFrame frame;

    // The low (0), open (1) or close (2) of the old item.
    double oldValue(int k) const { return numberOf(KivoFinancePlotter::getValue(oldItem, keys[k])); }

    // `from` eased toward `to` in this frame; a missing start is no motion.
    double move(double from, double to) const {
        if (!KivoDataInfo::isValid(from) || !KivoDataInfo::isValid(to) || from == to) return to;
        return KivoLinePlotter::moveToward(from, to,
                                           KivoEasingUtil::ease(frame.easing, frame.time, 0, std::fabs(to - from), frame.duration));
    }
};

// Where one mark stands in view points: across the position axis, then its four values.
struct MarkPlace {
    double position;
    double hi, lo, open, close;
};

// ---- The motion of an item update ----

// Moves `place` (where mark i stands after the edit) from where it stood before, as far as this frame
// of the replay goes. `grown` holds the mark's values after the edit.
void moveMark(const ItemMotion& motion, std::int64_t i, double xv, const FinanceValues& grown, MarkPlace& place) {
    const auto& frame = motion.frame;
    // The mark as it stood before the edit, at `oldX` with these values, read against the old ranges.
    const auto moveFrom = [&](double oldX, double hi, double lo, double open, double close) {
        place.position = motion.move(frame.catOld(oldX), place.position);
        place.hi = motion.move(frame.valOld(hi), place.hi);
        place.lo = motion.move(frame.valOld(lo), place.lo);
        place.open = motion.move(frame.valOld(open), place.open);
        place.close = motion.move(frame.valOld(close), place.close);
    };
    switch (motion.action) {
        case KivoNotifyCollectionChangedActionAdd:
            // Only the first task moves: the items after the new one stood one place earlier, at the X
            // they had there.
            if (motion.task1) {
                const double oldX = i > motion.startingIndex ? kivo::detail::xAt(motion.prevX, i - 1) : xv;
                moveFrom(oldX, grown.high, grown.low, grown.open, grown.close);
            }
            break;
        case KivoNotifyCollectionChangedActionRemove:
            // The second task: the items from the removed one on stood one place later, with their own
            // values; those before it stood where they stand.
            if (motion.task2) {
                if (i >= motion.oldStartingIndex) {
                    const double oldX = kivo::detail::xAt(motion.prevX, i + 1);
                    moveFrom(oldX, kivo::detail::numberAt(motion.prevY, i + 1), grown.low, grown.open, grown.close);
                } else {
                    moveFrom(xv, grown.high, grown.low, grown.open, grown.close);
                }
            }
            break;
        case KivoNotifyCollectionChangedActionReplace:
            if (i == motion.oldStartingIndex) {
                const double oldX = kivo::detail::xAt(motion.prevX, i);
                moveFrom(oldX, kivo::detail::numberAt(motion.prevY, i), motion.oldValue(0), motion.oldValue(1),
                         motion.oldValue(2));
            }
            break;
        default:
            break;
    }
}

// The data window's last index; -1 without items (the window's end would wrap round as an unsigned number).
std::int64_t lastIndexOf(const KivoDataInfo& info) {
    if (info.getPageSize() == 0) return -1;
    const std::uint64_t end = info.getEnd();
    constexpr auto Max = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return end > Max ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int64_t>(end);
}

}  // namespace

// ---- One series ----

void KivoFinancePlotter::plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                    std::int32_t index, std::int32_t, std::int32_t, std::int32_t, std::int64_t, StackDictionary&,
                                    StackDictionary&) {
    const auto owner = chart();
    if (!owner || !series || !engine || !axisX || !axisY || !_dataInfo) return;
    const auto& state = kivo::detail::chartState(*owner);
    const auto& update = state.updateEventArgs;

    // The series' place in the chart's series names its points, labels and hit areas, and finds its
    // values from before an edit (hidden series before it count).
    const std::size_t found = owner->series() ? owner->series()->indexOfObject(plat::Value(series)) : SIZE_MAX;
    const std::int32_t position =
        owner->series() && found < owner->series()->count() ? static_cast<std::int32_t>(found) : -1;

    ColumnPtr ys = kivo::detail::SeriesInternals::values(*series, 0);
    ColumnPtr xs = kivo::detail::SeriesInternals::values(*series, 1);
    // Upright and rotated alike: no highs, nothing to draw; no X values, the marks stand at their indices.
    if (!ys || ys->empty()) return;
    if (!xs || xs->empty()) xs = kivo::detail::DataInfoInternals::xColumn(*_dataInfo);

    // ---- The series' look ----
    const double w =
        _isCandle ? static_cast<double>(owner->options() ? owner->options()->candleWidth() : OmbriChartOptions::DefaultCandleWidth)
                  : MarkWidth;
    FinanceLook look;
    look.fill = series->color().value_or(owner->getColor(position));
    // A candle's outline is its own border colour unless that merely repeats the fill colour.
    const std::optional<plat::Color> border =
        _isCandle ? (series->borderColor() != series->color() ? series->borderColor() : series->symbolBorderColor())
                  : series->color();
    look.stroke = border.value_or(_isCandle ? OmbriChartBase::darken(look.fill) : look.fill);
    if (_isCandle) {
        if (series->symbolBorderWidth() > 0) look.thickness = series->symbolBorderWidth();
        if (series->borderWidth() > 0) look.thickness = series->borderWidth();
    }
    const bool seriesSelected = owner->isSeriesSelected(series);
    look.selectedStroke = owner->selectedBorderColor().value_or(look.stroke);
    look.selectedThickness = std::max(owner->selectedBorderWidth(), look.thickness);
    look.selectedDashes = owner->selectedDashes();
    const std::int64_t selectionMode = owner->selectionMode();

    // ---- The frame ----
    const auto& load = owner->loadAnimation();
    double duration = load ? load->duration() : 0;
    std::int64_t last = lastIndexOf(*_dataInfo);
    const bool pointByPoint = !state.seriesCollectionUpdated && !state.collectionViewUpdated && load &&
                              load->animationMode() == KivoLoadAnimationModePoint;
    if (pointByPoint) {
        duration = series->animationDuration();
        last = _dataInfoCount;
    }
    const bool task1 = state.isUpdateTask1(), task2 = state.isUpdateTask2();
    if (task1 || task2) duration = state.activeUpdateAnimation ? state.activeUpdateAnimation->duration() : 0;

    const bool itemUpdate = state.collectionViewUpdated && update;
    ItemMotion motion;
    if (itemUpdate) {
        motion.action = update->action();
        motion.task1 = task1;
        motion.task2 = task2;
        motion.startingIndex = update->startingIndex();
        motion.oldStartingIndex = update->oldStartingIndex();
        const auto at = static_cast<std::size_t>(position);
        if (position >= 0 && at < state.prevYValsArray.size()) motion.prevY = state.prevYValsArray[at];
        if (position >= 0 && at < state.prevXValsArray.size()) motion.prevX = state.prevXValsArray[at];
        if (update->oldItems() && !update->oldItems()->empty()) motion.oldItem = update->oldItems()->front();
    }
    // The first task of a removal draws the data as it was, so the removed item still has a mark to shrink.
    const bool removal1 = itemUpdate && motion.action == KivoNotifyCollectionChangedActionRemove && task1;
    if (removal1) {
        last += 1;
        ys = motion.prevY;
        xs = motion.prevX;
        if (!ys || ys->empty()) return;
    }
    const auto easing = owner->getEasing();
    double f0 = KivoEasingUtil::ease(easing, _time, 0, 1.0, duration);

    const auto& positionAxis = _rotated ? axisY : axisX;
    const auto& valueAxis = _rotated ? axisX : axisY;
    auto& frame = motion.frame;
    frame.axisX = axisX;
    frame.axisY = axisY;
    frame.rotated = _rotated;
    frame.easing = easing;
    frame.time = _time;
    frame.duration = duration;
    frame.prevXMin = state.prevAxisXMin;
    frame.prevXMax = state.prevAxisXMax;
    frame.prevYMin = state.prevAxisYMin;
    frame.prevYMax = state.prevAxisYMax;

    // The mark's width in view points, measured on the chart's own position axis; its sign is dropped so
    // that a reversed axis draws the same mark.
    const auto& widthAxis = _rotated ? owner->axisY() : owner->axisX();
    double a = index * w - w / 2, b = (index + 1) * w - w / 2;
    if (widthAxis && widthAxis->isTimeAxis()) {
        a *= SecondsPerDay;
        b *= SecondsPerDay;
    }
    const double markWidth = widthAxis ? std::fabs(widthAxis->convert(b) - widthAxis->convert(a)) : NAN;
    const std::int32_t path = getPlotElementPath();
    const bool reversed = valueAxis->reversed();

    const ColumnPtr lows = kivo::detail::financeColumn(*series, kivo::detail::LowBinding);
    const ColumnPtr opens = kivo::detail::financeColumn(*series, kivo::detail::OpenBinding);
    const ColumnPtr closes = kivo::detail::financeColumn(*series, kivo::detail::CloseBinding);
    motion.keys[0] = series->getBinding(kivo::detail::LowBinding);
    motion.keys[1] = series->getBinding(kivo::detail::OpenBinding);
    motion.keys[2] = series->getBinding(kivo::detail::CloseBinding);
    const std::int64_t length = series->getLength();
    const auto& label = owner->dataLabel();
    const auto& labelRenderer = owner->dataLabelRenderer();
    const bool labels = label && labelRenderer && label->position() != KivoDataLabelPositionNone;
    const std::string seriesName = series->name().value_or("");

    const std::int64_t first = static_cast<std::int64_t>(_dataInfo->getOrigin());
    const auto block = kivo::detail::takeKeptBlock(_blocks, last >= first ? static_cast<std::size_t>(last - first + 1) : 0);
    block->info = {owner, series->name(), position, _rotated, 0};

    for (std::int64_t i = first; i <= last; ++i) {
        // While a removal's first task draws the old data, the items after the removed one have moved
        // down by one, and the removed one is only in the edit.
        const bool removed = removal1 && i == motion.oldStartingIndex;
        const std::int64_t item = removal1 && i > motion.oldStartingIndex ? i - 1 : i;
        if (removed ? motion.oldItem.isNil() : item < 0 || item >= length) continue;

        if (pointByPoint) {
            _time = std::min(series->animationTime() - static_cast<double>(i) * series->animationDuration(),
                             series->animationDuration());
            f0 = KivoEasingUtil::ease(easing, _time, 0, 1.0, duration);
        }
        double f = f0;
        if (state.collectionViewUpdated) {
            switch (motion.action) {
                case KivoNotifyCollectionChangedActionAdd:
                    // The new item appears in the second task.
                    if (task1 && i == motion.startingIndex) continue;
                    if (task1) f = 1;
                    if (task2) f = i == motion.startingIndex ? f0 : 1;
                    break;
                case KivoNotifyCollectionChangedActionRemove:
                    if (task1) f = i == motion.oldStartingIndex ? 1 - f0 : 1;
                    if (task2) f = 1;
                    break;
                case KivoNotifyCollectionChangedActionReplace:
                    f = i == motion.oldStartingIndex ? f0 : 1;
                    break;
                default:
                    break;
            }
        }

        // ---- Values ----
        const double xv = xs && xs->isNumber(i) ? xs->at(i) : static_cast<double>(i);
        const double high = kivo::detail::numberAt(ys, i);
        double low, open, close;
        if (removed) {
            low = motion.oldValue(0);
            open = motion.oldValue(1);
            close = motion.oldValue(2);
        } else {
            low = kivo::detail::numberAt(lows, item);
            open = kivo::detail::numberAt(opens, item);
            close = kivo::detail::numberAt(closes, item);
        }

        // Only marks on the position axis are drawn; a removal's first task keeps the old range from the
        // removed item on.
        const bool oldRange = removal1 && i >= motion.oldStartingIndex;
        const double lowest = oldRange ? (_rotated ? state.prevAxisYMin : state.prevAxisXMin) : positionAxis->actualMin();
        const double highest = oldRange ? (_rotated ? state.prevAxisYMax : state.prevAxisXMax) : positionAxis->actualMax();
        if (!KivoDataInfo::isValid(xv) || !(xv >= lowest && xv <= highest)) continue;

        // ---- Style ----
        bool selectedElement = false;
        if (selectionMode == KivoChartSelectionModePoint)
            selectedElement = seriesSelected && i == owner->selectionIndex();
        else if (selectionMode == KivoChartSelectionModeSeries)
            selectedElement = seriesSelected;
        const plat::Color& stroke = selectedElement ? look.selectedStroke : look.stroke;
        engine->setStroke(stroke);
        engine->setStrokeThickness(selectedElement ? look.selectedThickness : look.thickness);
        engine->setBorderDashes(selectedElement ? look.selectedDashes : std::vector<double>{});
        _strokeColor = stroke;
        _isSelected = selectionMode == KivoChartSelectionModePoint || selectionMode == KivoChartSelectionModeSeries
                          ? selectedElement
                          : seriesSelected;
        // A rising candle is hollow; a falling or flat one is filled.
        engine->setFill(close > open ? plat::Color::clear() : look.fill);

        // ---- Growth from the middle ----
        FinanceValues grown{high, low, open, close};
        if (KivoDataInfo::isValid(high) && KivoDataInfo::isValid(low)) {
            const double m = (high + low) / 2;
            grown.high = m + f * (high - m);
            grown.low = m - f * (m - low);
        }
        if (KivoDataInfo::isValid(open) && KivoDataInfo::isValid(close)) {
            const double m = (open + close) / 2;
            grown.open = m + f * (open - m);
            grown.close = m + f * (close - m);
        }

        // ---- View points ----
        const double middle = frame.catNew(xv);
        MarkPlace place{middle, frame.valNew(grown.high), frame.valNew(grown.low), frame.valNew(grown.open),
                        frame.valNew(grown.close)};
        if (itemUpdate && (task1 || task2)) {
            if (removal1) {
                // The old data in the old layout.
                place = {frame.catOld(xv), frame.valOld(grown.high), frame.valOld(grown.low), frame.valOld(grown.open),
                         frame.valOld(grown.close)};
            } else {
                moveMark(motion, i, xv, grown, place);
            }
        }

        // ---- Mark, hit area, label ----
        // The hit area spans what the mark draws: its high and low, or its body where they are missing.
        double top = NAN, bottom = NAN;
        for (const double v : {place.hi, place.lo, place.open, place.close}) {
            if (!KivoDataInfo::isValid(v)) continue;
            top = std::isnan(top) ? v : std::min(top, v);
            bottom = std::isnan(bottom) ? v : std::max(bottom, v);
        }
        const KivoRect hit = _rotated ? kivo::detail::normalisedBar(top, place.position - markWidth / 2, bottom - top, markWidth)
                                      : kivo::detail::normalisedBar(place.position - markWidth / 2, top, markWidth, bottom - top);
        FinanceRectArea area(&block->info, hit, static_cast<std::int32_t>(i), xv, high, middle, grown);
        const double mx = _rotated ? 0.0 : place.position, my = _rotated ? place.position : 0.0;
        _drawFinanceElement(engine, mx, my, markWidth, place.hi, place.lo, place.open, place.close, series, index,
                            static_cast<std::int32_t>(i), _rotated, reversed, path,
                            path == KivoPlotElementEventPathEvent ? area.dataPoint() : nullptr);

        if (labels && KivoDataInfo::isValid(place.close)) {
            auto anchor = _rotated ? KivoRect::create(place.close, place.position, 0, 0)
                                   : KivoRect::create(place.position, place.close, 0, 0);
            labelRenderer->render(seriesName, anchor, position, i, xv, close, area.xText());
        }
        if (kivo::detail::isFiniteRect(hit)) block->areas.push_back(std::move(area));
    }
    engine->setBorderDashes({});
    if (_hitTester) _hitTester->addAll(block, std::span(block->areas), position);
}
