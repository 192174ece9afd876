#pragma once
// What the bar plotter's update-geometry members share: the frame of an update animation as the chart
// holds it (which task runs, the easing, the axis maxima before the change), the conversions against
// the old and the new axis ranges, and the move of a bar from where it stood at the start of the task
// to where it stands at its end.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/IKivoPlotter.h"
#include "Platform/foundation/value.h"
#include "series/ValueColumn.h"

class KivoAxis;
class OmbriChart;

namespace kivo::detail {

// One frame of an update task for one series' bars: the category axis runs across the bars, the value
// axis along them (exchanged when the bars are rotated).
class BarUpdateFrame {
public:
    // The axes must outlive the frame (a frame lives for one member call).
    BarUpdateFrame(std::shared_ptr<OmbriChart> chart, const std::shared_ptr<KivoAxis>& axisX,
                   const std::shared_ptr<KivoAxis>& axisY, bool rotated, double time, double duration);

    // No chart or no axes: nothing to place a bar with.
    bool valid() const { return _chart && _axisX && _axisY; }
    bool task1() const { return _task1; }
    bool task2() const { return _task2; }
    const OmbriChart& chart() const { return *_chart; }

    // Where a value stands on the category or value axis now, and where it stood before the change (the
    // axis' range with the maximum it had then; NaN when that range had no extent, so a bar does not move).
    double category(double value) const;
    double oldCategory(double value) const;
    double value(double value) const;
    double oldValue(double value) const;

    // The ends of slot `index` (`w` wide) of the cluster (`cw` wide) around X value `x`, on the category
    // axis now and before the change.
    std::pair<double, double> slot(double x, double cw, double w, std::int32_t index) const;
    std::pair<double, double> oldSlot(double x, double cw, double w, std::int32_t index) const;
    // An unstacked bar now: its slot, from the base line to its value.
    KivoRect slotBar(double x, double cw, double w, std::int32_t index, double originScreen, double y) const;
    // The same with no length: on the base line, where an unstacked bar grows from and sinks to.
    KivoRect emptySlotBar(double x, double cw, double w, std::int32_t index, double originScreen) const {
        const auto [a, b] = slot(x, cw, w, index);
        return bar(a, b, originScreen, originScreen);
    }
    // A bar between the category coordinates c0, c1 and the value coordinates v0, v1 (screen units, in
    // any order), normalised to its minimum corner and non-negative sizes.
    KivoRect bar(double c0, double c1, double v0, double v1) const;
    // The frame's rectangle of a bar moving from `from` (where it stood when the task began) to `to`
    // (where the task leaves it): each of the four quantities moves toward its end by the eased distance.
    // A start that is not a finite rectangle (a previous value that is missing) means no motion: `to`.
    std::shared_ptr<KivoRect> move(const KivoRect& from, const KivoRect& to) const;
    // The eased share of `change` at this frame's time: 0 at the start of the task, `change` at its end.
    double eased(double change) const;

private:
    const KivoAxis& categoryAxis() const { return _rotated ? *_axisY : *_axisX; }
    const KivoAxis& valueAxis() const { return _rotated ? *_axisX : *_axisY; }
    // The range maximum the chart saved for this axis when the change arrived.
    double previousMax(const KivoAxis& axis) const;
    // `v` against the axis' range before the change; NaN when that range was empty.
    double oldConvert(const KivoAxis& axis, double v) const;

    std::shared_ptr<OmbriChart> _chart;
    const KivoAxis* _axisX;
    const KivoAxis* _axisY;
    bool _rotated;
    double _time, _duration;
    KivoEasePtr _easing;
    bool _task1 = false, _task2 = false;
};

// The X of item `index` in the data that a bar stood at: its value in `values` when that is a number,
// else the index itself (a series without X values places its items by index).
double positionAt(const ColumnPtr& values, std::int64_t index);

// The stacked segment of one point, after the running stack of its X value has taken it.
struct StackedSegment {
    double share;  // the value stacked: the value itself, or its share of the absolute sum at its X
    double base;   // the stack's top under the segment, in data units
};
// Takes `datay` (its share of `absSum` when stacking 100 %; a zero sum gives a share of 0) onto the
// positive stack (a value above 0) or the negative one (anything else) at `datax`.
StackedSegment pushOntoStack(double datax, double datay, std::int64_t stacking, double absSum,
                             IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg);

// The stacked segments of one series' points, in drawing order, worked out at once: a series whose X
// values come in any order stacks in one merge per stack rather than one insertion per point.
struct StackPlan {
    std::vector<double> xs, ys;
    std::vector<StackedSegment> segments;
    std::size_t next = 0;
};
// Plans the points (`xs`, `ys`, each point's absolute sum in `absSums`) and takes all of them onto the
// stacks, as pushOntoStack would one after another.
void planStack(StackPlan& plan, std::vector<double> xs, std::vector<double> ys, const std::vector<double>& absSums,
               std::int64_t stacking, IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg);
// The point's planned segment when `plan` holds it next; without a plan (or for a point it does not
// hold) the point is pushed onto the stacks there and then.
StackedSegment takeSegment(StackPlan* plan, double datax, double datay, std::int64_t stacking, double absSum,
                           IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg);

}  // namespace kivo::detail
