#pragma once
// The chart's animation and update state, and the one way the library's other classes (plotters,
// axes, series, labels) reach the chart's internals. Nothing here is part of the public interface:
// the public header only names these types so that it can keep a pointer and a friend.

#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/value.h"
#include "data/XValueList.h"
#include "series/ValueColumn.h"

class KivoAnimationDriver;

namespace kivo::detail {

// The animation tasks of a chart: the load reveals the series, the first update task replays a
// change, the second follows it for bars, financial elements and (after a data change) bubbles.
enum class ChartTask : std::uint8_t { None, Load, Update1, Update2 };

struct ChartState {
    using StackDictionary = KivoDataInfo::StackDictionary;

    // The task whose clock runs (None: no animation plays).
    ChartTask running = ChartTask::None;
    // The update task whose geometry the plotters draw: Update1, Update2 or None. It is apart from
    // `running` because the first task's geometry stays selected from the moment a change is taken
    // until that task plays out, whichever clock runs meanwhile.
    ChartTask update = ChartTask::None;
    // Seconds since the first tick of the running task (its end value on the closing frame).
    double plotTime = 0;
    // The clock of the running task.
    std::shared_ptr<KivoAnimationDriver> driver;

    // The load animation has played out: later passes draw without animating until something
    // plays it again.
    bool suppressAnimation = false;
    // No pass has ended with items yet: changes before that are drawn at once.
    bool firstRender = true;
    // An animated change was taken once (never cleared).
    bool chartUpdate = false;
    // Set while the chart's own setters hand new items to the chart base.
    bool replacingData = false;
    bool beginPlotElementLoading = false;

    // What the running update replays: a change of the series list or of the chart's items.
    bool seriesCollectionUpdated = false;
    bool collectionViewUpdated = false;
    std::shared_ptr<KivoNotifyCollectionChangedEventArgs> updateEventArgs;
    // The animation that paces the running task.
    std::shared_ptr<KivoAnimation> activeUpdateAnimation;
    // The picture before the change, for the plotters to move from.
    double prevAxisYMax = 0, prevAxisYMin = 0, prevAxisXMax = 0, prevAxisXMin = 0;
    std::vector<ColumnPtr> prevXValsArray;
    std::vector<ColumnPtr> prevYValsArray;
    std::shared_ptr<StackDictionary> stackAbs;
    // The series drawn during the first task of an added or removed series (the removed one kept at
    // its place).
    plat::Array seriesArrayForUpdate;

    // The chart's X values (empty when it has none) and their change counter.
    std::shared_ptr<XValueList> xList = std::make_shared<XValueList>();
    std::uint64_t xGeneration = nextGeneration();

    // The running stacked sums of one series pass, and the series a series-by-series frame reached.
    StackDictionary stackpos, stackneg;
    std::int32_t seriesCount = 0;

    bool plotting() const { return running != ChartTask::None; }
    bool isUpdateTask1() const { return update == ChartTask::Update1; }
    bool isUpdateTask2() const { return update == ChartTask::Update2; }
};

// The chart's internals as the library's own classes need them.
class ChartInternals {
public:
    static ChartState& state(OmbriChart& chart) { return *chart._state; }
    static const ChartState& state(const OmbriChart& chart) { return *chart._state; }
    // Starts the load animation before the first drawing pass (the gallery shows a chart part of the
    // way through it).
    static void startLoadingAnimationTask(OmbriChart& chart) { chart._startLoadingAnimationTask(); }
    // An add, remove or replace of the chart's items: the X values and the values of every series that
    // reads the chart's items follow the items that changed (anything else rebinds), then the data is
    // analysed as bindChart ends.
    static void itemsChanged(OmbriChart& chart, const KivoNotifyCollectionChangedEventArgs& args);
    // New X values: their numbers and change counter follow.
    static void xValuesChanged(OmbriChart& chart);
    // Whether the categories run vertically (rotated, or a bar chart that is not).
    static bool isRotated(OmbriChart& chart) { return chart._isRotated(); }
};

inline const ChartState& chartState(const OmbriChart& chart) { return ChartInternals::state(chart); }

}  // namespace kivo::detail
