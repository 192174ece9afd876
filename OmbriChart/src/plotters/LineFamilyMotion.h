#pragma once
// How the points of a line or an area move while the chart animates: the point-by-point reveal, a
// series moving or sinking during a change of the series list, a replaced value easing from its old
// place, the places of points while an item is added, removed or replaced, and the running stacked
// value that a neighbour of such an item has. The line and the area plotters draw from the same
// moves; each keeps its own timing and its own choice of lists.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "KivoCore/IKivoEaseAction.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "plotters/LinePlotterSupport.h"

class KivoDataInfo;
class KivoSeries;
class OmbriChart;

namespace kivo::detail {

using MotionPoints = KivoLinePlotter::PointList;

// The series' position in the chart's series; -1 when it is not there.
std::int32_t seriesPosition(const OmbriChart& chart, const std::shared_ptr<KivoSeries>& series);

// The data info's extremes, each minimum lowered to the origin of the chart's axis for it where that
// axis has one; X and Y exchanged when rotated.
std::shared_ptr<KivoRect> limitsToAxisOrigins(const KivoDataInfo* info, const OmbriChart* owner, bool rotated);

// The frame of the running update in which series `index` is drawn: the chart's previous axis ranges
// with the pass' axes, timing, values (points `info`'s origin to `end`) and running sums.
MoveFrame moveFrame(const OmbriChart& owner, const KivoDataInfo* info, const std::shared_ptr<KivoAxis>& axisX,
                    const std::shared_ptr<KivoAxis>& axisY, bool rotated, double time, double duration, const KivoEasePtr& easing,
                    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args, std::int32_t index, std::int64_t end,
                    const ColumnPtr& xs, const ColumnPtr& ys, std::int64_t stacking, const KivoNumberDictionary& stackPos,
                    const KivoNumberDictionary& stackNeg);

// What a plotter does with a point whose old value is missing: the line keeps the missing place (the
// point is left out while it moves), the area starts the point at its new place.
enum class MissingOld { StaysMissing, StartsAtNew };

// Where a move stands: seconds into it, its length, its easing, and whether the chart lies on its side.
struct MotionTiming {
    double time = 0;
    double duration = 0;
    KivoEasePtr easing;
    bool rotated = false;
};

// Which series an update draws, and what it knows of it: the change, the axes, the series' index and
// the values it had before.
struct SeriesUpdate {
    std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args;
    std::shared_ptr<KivoAxis> axisX;
    std::shared_ptr<KivoAxis> axisY;
    std::int32_t index = 0;
    std::span<const double> prevVals;
};

// The points up to the eased front along the category axis (from the first point's coordinate to the
// last one's) and one more on the segment that the front cuts; every point at time 0. Nothing for
// empty lists.
std::optional<MotionPoints> getPointsForPointMode(std::span<const double> xs, std::span<const double> ys,
                                                  const MotionTiming& timing);

// Each value coordinate (Y; X when rotated) moved toward `dest` by the eased distance; a missing one
// stays missing. Direction 0 gives empty lists.
MotionPoints movedPoints(std::span<const double> xs, std::span<const double> ys, std::span<const double> dest, double time,
                         double duration, std::int64_t direction, const KivoEasePtr& type, bool rotated);

// Each value coordinate moved away from the value axis by the eased distance to `bottom` (screen y
// grows; rotated, screen x shrinks). Direction 0 gives empty lists.
MotionPoints sunkPoints(std::span<const double> xs, std::span<const double> ys, double bottom, double time, double duration,
                        std::int64_t direction, const KivoEasePtr& type, bool rotated);

// The lists to draw during an update other than the loading of series `index`: the lists given for an
// item change; for a series-list change the points moving from `prevVals` (the removed series sinking
// to the value axis' minimum); nothing otherwise.
std::optional<MotionPoints> getUpdatedPointsDictionary(const OmbriChart* owner, const SeriesUpdate& update,
                                                       std::span<const double> dx, std::span<const double> dy,
                                                       const MotionTiming& timing);

// The value coordinate of data point `dataIndex` during an item replacement: the replaced one eases
// from its old value (read from the chart's saved lists at `savedAt`) under the old range toward its
// new one; any other point stands at its new place.
double replacedCoordinate(const OmbriChart* owner, const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                          const std::shared_ptr<KivoAxis>& axis, std::int32_t savedAt, std::int32_t dataIndex, double value,
                          double time, double duration, const KivoEasePtr& type, bool rotated, MissingOld missing);

// The running stacked value at x a neighbour would have: the sum so far in `stackPos` (plus y, or its
// share of the absolute sum at x, when `added`), or that value itself without an entry. Stores nothing.
double stackedNeighbour(const KivoDataInfo* info, bool stacked100, double x, double y, bool added,
                        const KivoNumberDictionary& stackPos);

// Where point i (data x, y) is drawn in a frame of an item update, eased between old and new.
void itemUpdatePlace(const MoveFrame& f, const KivoDataInfo* info, const OmbriChart* owner, std::int64_t i, double x, double y,
                     double& sx, double& sy, MissingOld missing);

// The value coordinate a point had before a series-list update: the replaced series' value when this
// series replaces another.
double previousSeriesValue(const MoveFrame& f, std::int64_t i, double y, MissingOld missing);

}  // namespace kivo::detail
