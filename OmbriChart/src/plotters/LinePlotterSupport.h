#pragma once
// Small pieces the line plotter's geometry, selection and animation files share: reading one bound
// value, the screen conversions of an update frame (new and previous axis ranges), and the test of a
// symbol's square against the plot area.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoNumberDictionary.h"
#include "Platform/foundation/value.h"
#include "series/ValueColumn.h"

class KivoSeries;

namespace kivo::detail {

// The X a point at data index i is drawn at: its bound number, else the index itself.
inline double xAt(const ColumnPtr& xs, std::int64_t i) {
    const double x = numberAt(xs, i);
    return std::isnan(x) ? static_cast<double>(i) : x;
}

// What a bubble or scatter point adds to the running sum at its X: its value, or with `asShare` its
// share of the absolute sum there (nothing to take a share of: 0, a value that is not finite as it is).
inline double stackShare(double y, bool asShare, double absSum) {
    if (!asShare) return y;
    return absSum > 0 ? y / absSum : (std::isfinite(y) ? 0.0 : y);
}

// Whether the square of side `size` centred on (x, y) overlaps the plot area (no plot area: always).
inline bool squareMeetsPlot(double x, double y, double size, const KivoRect* plot) {
    if (!plot) return true;
    const double half = size / 2;
    return x - half < plot->right() && x + half > plot->left() && y - half < plot->bottom() && y + half > plot->top();
}

// One frame of an update as the point loop sees it: the axes with their new and previous ranges, the
// category coordinate (screen x; screen y when rotated) and the value coordinate of a data pair.
struct MoveFrame {
    std::shared_ptr<KivoAxis> axisX, axisY;
    bool rotated = false;
    double time = 0, duration = 0;
    KivoEasePtr easing;
    std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args;
    std::int32_t index = 0;   // the plotter's series number
    std::int32_t savedAt = -1;  // where the chart's saved lists hold this series (-1: at `index`)
    std::int64_t origin = 0;  // first and last data index of the drawn window
    std::int64_t end = 0;
    ColumnPtr xs, ys;  // the values the loop reads (the previous ones for a removal)
    std::int64_t stacking = 0;
    const KivoNumberDictionary* stackPos = nullptr;
    const KivoNumberDictionary* stackNeg = nullptr;
    double prevXMin = 0, prevXMax = 0, prevYMin = 0, prevYMax = 0;

    double catNew(double x) const { return rotated ? axisY->convert(x) : axisX->convert(x); }
    double valNew(double y) const { return rotated ? axisX->convert(y) : axisY->convert(y); }
    double catOld(double x) const { return rotated ? py(x) : px(x); }
    double valOld(double y) const { return rotated ? px(y) : py(y); }
    // The previous range always goes with its own axis object.
    double px(double v) const { return axisX->convert(v, prevXMax, prevXMin); }
    double py(double v) const { return axisY->convert(v, prevYMax, prevYMin); }
};

struct LinePointBlock;

// One series' pass after its point loop: what the symbols and labels are drawn from. The loop's lists
// hold one entry per valid data point (its area in `block`); the valid lists leave out entries whose
// eased position is missing; the drawn lists are the eased ones (or the valid ones).
struct SeriesPass {
    std::shared_ptr<KivoSeries> series;
    std::int32_t seriesPos = -1, index = 0;
    bool selected = false, listChanged = false, drawnByValid = true;
    std::int64_t selectionMode = 0, loadMode = 0, end = 0;
    double time = 0, duration = 0;
    KivoEasePtr easing;
    std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args;
    const LinePointBlock* block = nullptr;
    std::size_t entries = 0;
    std::span<const double> validX, validY, drawnX, drawnY;
    std::optional<std::vector<std::size_t>> validAt;  // none: every entry is valid

    std::size_t validEntry(std::size_t j) const { return validAt ? (*validAt)[j] : j; }
    // The entry behind a drawn position (the reveal's cut point borrows the next point's).
    std::size_t drawnEntry(std::size_t j) const {
        if (!drawnByValid) return std::min(j, entries - 1);
        return validEntry(std::min(j, validX.size() - 1));
    }
};

}  // namespace kivo::detail
