// The frame of a bar update animation: conversions against the old and new axis ranges, and the eased
// move of a bar's rectangle from the start of a task to its end.

#include "plotters/KivoBarUpdateGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/BarRectMath.h"

namespace kivo::detail {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

BarUpdateFrame::BarUpdateFrame(std::shared_ptr<OmbriChart> chart, const std::shared_ptr<KivoAxis>& axisX,
                               const std::shared_ptr<KivoAxis>& axisY, bool rotated, double time, double duration)
    : _chart(std::move(chart)), _axisX(axisX.get()), _axisY(axisY.get()), _rotated(rotated), _time(time), _duration(duration) {
    if (!_chart) return;
    _easing = _chart->getEasing();
    _task1 = kivo::detail::chartState(*_chart).isUpdateTask1();
    _task2 = kivo::detail::chartState(*_chart).isUpdateTask2();
}

double BarUpdateFrame::previousMax(const KivoAxis& axis) const {
    return &axis == _axisX ? kivo::detail::chartState(*_chart).prevAxisXMax : kivo::detail::chartState(*_chart).prevAxisYMax;
}

double BarUpdateFrame::category(double v) const { return categoryAxis().convert(v); }
double BarUpdateFrame::oldConvert(const KivoAxis& axis, double v) const {
    // A range that had no extent places nothing (the axis would answer its corner, 0): no old place.
    const double max = previousMax(axis);
    return max == axis.actualMin() ? NaN : axis.convert(v, max);
}

double BarUpdateFrame::oldCategory(double v) const { return oldConvert(categoryAxis(), v); }
double BarUpdateFrame::value(double v) const { return valueAxis().convert(v); }
double BarUpdateFrame::oldValue(double v) const { return oldConvert(valueAxis(), v); }

std::pair<double, double> BarUpdateFrame::slot(double x, double cw, double w, std::int32_t index) const {
    const double s = x - cw / 2;
    return {category(s + index * w), category(s + (index + 1) * w)};
}

std::pair<double, double> BarUpdateFrame::oldSlot(double x, double cw, double w, std::int32_t index) const {
    const double s = x - cw / 2;
    return {oldCategory(s + index * w), oldCategory(s + (index + 1) * w)};
}

KivoRect BarUpdateFrame::slotBar(double x, double cw, double w, std::int32_t index, double originScreen, double y) const {
    const auto [a, b] = slot(x, cw, w, index);
    return bar(a, b, originScreen, value(y));
}

KivoRect BarUpdateFrame::bar(double c0, double c1, double v0, double v1) const {
    const double across = std::min(c0, c1), thickness = std::abs(c1 - c0);
    const double along = std::min(v0, v1), length = std::abs(v1 - v0);
    if (_rotated) return KivoRect(along, across, length, thickness);
    return KivoRect(across, along, thickness, length);
}

double BarUpdateFrame::eased(double change) const {
    // A task that takes no time is over at once.
    if (!(_duration > 0)) return change;
    return KivoEasingUtil::ease(_easing, _time, 0, change, _duration);
}

std::shared_ptr<KivoRect> BarUpdateFrame::move(const KivoRect& from, const KivoRect& to) const {
    if (!isFiniteRect(from)) return KivoRect::create(to.left(), to.top(), to.width(), to.height());
    const auto toward = [this](double start, double end) {
        if (!std::isfinite(end)) return end;
        const double step = eased(std::abs(end - start));
        return end >= start ? start + step : start - step;
    };
    // An easing that overshoots may carry a size below 0 for a moment: the rectangle stays normalised.
    return normalisedRect(toward(from.left(), to.left()), toward(from.top(), to.top()), toward(from.width(), to.width()),
                          toward(from.height(), to.height()));
}

double positionAt(const ColumnPtr& values, std::int64_t index) {
    const double x = numberAt(values, index);
    return std::isnan(x) ? static_cast<double>(index) : x;
}

namespace {

double shareOf(double datay, std::int64_t stacking, double absSum) {
    if (stacking != KivoPlotterStackingStacked100) return datay;
    return absSum != 0 && std::isfinite(absSum) ? datay / absSum : 0.0;
}

}  // namespace

StackedSegment pushOntoStack(double datax, double datay, std::int64_t stacking, double absSum,
                             IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg) {
    const double share = shareOf(datay, stacking, absSum);
    auto& stack = share > 0 ? stackPos : stackNeg;
    const double base = stack.valueOr(datax, 0);
    stack.add(datax, share);
    return {share, base};
}

void planStack(StackPlan& plan, std::vector<double> xs, std::vector<double> ys, const std::vector<double>& absSums,
               std::int64_t stacking, IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg) {
    const std::size_t n = std::min({xs.size(), ys.size(), absSums.size()});
    plan.segments.assign(n, {});
    plan.next = 0;
    // One run per stack; each point remembers where in its run it went.
    KivoNumberDictionary::Run positive, negative;
    std::vector<std::size_t> slot(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double share = shareOf(ys[k], stacking, absSums[k]);
        plan.segments[k].share = share;
        auto& run = share > 0 ? positive : negative;
        slot[k] = run.size();
        run.emplace_back(xs[k], share);
    }
    std::vector<double> positiveBases, negativeBases;
    stackPos.addRun(positive, positiveBases);
    stackNeg.addRun(negative, negativeBases);
    for (std::size_t k = 0; k < n; ++k)
        plan.segments[k].base = plan.segments[k].share > 0 ? positiveBases[slot[k]] : negativeBases[slot[k]];
    plan.xs = std::move(xs);
    plan.ys = std::move(ys);
    plan.xs.resize(n);
    plan.ys.resize(n);
}

StackedSegment takeSegment(StackPlan* plan, double datax, double datay, std::int64_t stacking, double absSum,
                           IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg) {
    if (plan && plan->next < plan->segments.size() && plan->xs[plan->next] == datax && plan->ys[plan->next] == datay)
        return plan->segments[plan->next++];
    return pushOntoStack(datax, datay, stacking, absSum, stackPos, stackNeg);
}

}  // namespace kivo::detail
