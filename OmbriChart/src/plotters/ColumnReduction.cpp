#include "plotters/ColumnReduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kivo::detail {

namespace {

// A column never keeps more than its first, last, lowest and highest point.
constexpr std::size_t PointsKeptPerColumn = 4;

// One run of consecutive points in the same column, by their indices in the input.
struct ColumnRun {
    std::size_t first = 0, last = 0, lowest = 0, highest = 0;
};

void emitRun(const ColumnRun& run, std::span<const double> along, std::span<const double> across, std::vector<double>& outAlong,
             std::vector<double>& outAcross) {
    std::array<std::size_t, PointsKeptPerColumn> kept{run.first, run.lowest, run.highest, run.last};
    // first ≤ lowest, highest ≤ last: only the middle two can be out of order.
    if (kept[1] > kept[2]) std::swap(kept[1], kept[2]);
    std::size_t previous = std::numeric_limits<std::size_t>::max();
    for (std::size_t index : kept) {
        if (index == previous) continue;
        outAlong.push_back(along[index]);
        outAcross.push_back(across[index]);
        previous = index;
    }
}

}  // namespace

bool reduceToPixelColumns(std::span<const double> along, std::span<const double> across, double start, double extent,
                          double deviceScale, std::vector<double>& outAlong, std::vector<double>& outAcross) {
    const std::size_t n = std::min(along.size(), across.size());
    if (!std::isfinite(start) || !std::isfinite(extent) || !std::isfinite(deviceScale) || extent < 0 || deviceScale <= 0)
        return false;
    const double columnsInPlot = std::max(1.0, std::ceil(extent * deviceScale));
    if (static_cast<double>(n) <= 2 * columnsInPlot) return false;
    // Below n / 2, so it fits. Far before the plot is column `before`, far after it `after`.
    const auto columns = static_cast<std::int64_t>(columnsInPlot);
    // No wider than there are points, whatever the scale: more columns could not hold anything.
    const double band = std::min(std::ceil(EdgeBand * deviceScale), static_cast<double>(n));
    const auto bandColumns = static_cast<std::int64_t>(band);
    const std::int64_t before = -bandColumns - 1, after = columns + bandColumns;
    const double afterOffset = columnsInPlot + band;

    outAlong.clear();
    outAcross.clear();
    const std::size_t expected =
        std::min(n, PointsKeptPerColumn * static_cast<std::size_t>(after - before + 1) + PointsKeptPerColumn);
    outAlong.reserve(expected);
    outAcross.reserve(expected);

    constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
    ColumnRun run;
    bool inRun = false, inGap = false;
    std::int64_t runColumn = 0;
    double lowest = 0, highest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = along[i], v = across[i];
        if (!std::isfinite(a) || !std::isfinite(v)) {
            // A run of gaps breaks the line once.
            if (inRun) emitRun(run, along, across, outAlong, outAcross);
            if (!inGap) {
                outAlong.push_back(Gap);
                outAcross.push_back(Gap);
            }
            inRun = false;
            inGap = true;
            continue;
        }
        const double offset = (a - start) * deviceScale;
        std::int64_t column;
        if (offset >= 0 && offset < afterOffset)
            column = static_cast<std::int64_t>(offset);
        else if (offset < 0)
            column = offset >= -band ? static_cast<std::int64_t>(std::floor(offset)) : before;
        else
            column = after;
        if (inRun && column == runColumn) {
            run.last = i;
            if (v < lowest) {
                lowest = v;
                run.lowest = i;
            } else if (v > highest) {
                highest = v;
                run.highest = i;
            }
            continue;
        }
        if (inRun) emitRun(run, along, across, outAlong, outAcross);
        inGap = false;
        run = {i, i, i, i};
        lowest = highest = v;
        runColumn = column;
        inRun = true;
    }
    if (inRun) emitRun(run, along, across, outAlong, outAcross);
    return true;
}

}  // namespace kivo::detail
