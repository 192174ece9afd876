#pragma once
// The tests' one way into the chart library's internals: the chart's update state and the private
// steps of the chart, its axes, series and plotters. The library only names this class as a friend;
// it is defined here, for the tests alone.

#include <utility>

#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoFinancePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/BubbleUpdatePhase.h"

// Forwards a private step of whatever object it is handed, under the step's own name.
#define KIVO_CHART_TEST_FORWARD(name)                            \
    template <class Object, class... Args>                       \
    static decltype(auto) name(Object& object, Args&&... args) { \
        return object.name(std::forward<Args>(args)...);         \
    }

class OmbriChartTestAccess {
public:
    using State = kivo::detail::ChartState;
    using Task = kivo::detail::ChartTask;
    using StackDictionary = OmbriChart::StackDictionary;

    static State& state(OmbriChart& chart) { return *chart._state; }

    // ---- The chart's update state, under the names of its former accessors ----
    static bool plotting(OmbriChart& chart) { return state(chart).plotting(); }
    static double plotTime(OmbriChart& chart) { return state(chart).plotTime; }
    static bool isUpdateTask1(OmbriChart& chart) { return state(chart).isUpdateTask1(); }
    static bool isUpdateTask2(OmbriChart& chart) { return state(chart).isUpdateTask2(); }
    // Sets or clears one update task; clearing leaves the other task as it is.
    static void setIsUpdateTask1(OmbriChart& chart, bool on) { setTask(chart, Task::Update1, on); }
    static void setIsUpdateTask2(OmbriChart& chart, bool on) { setTask(chart, Task::Update2, on); }
    static bool isSeriesCollectionUpdated(OmbriChart& chart) { return state(chart).seriesCollectionUpdated; }
    static void setIsSeriesCollectionUpdated(OmbriChart& chart, bool on) { state(chart).seriesCollectionUpdated = on; }
    static bool isCollectionViewUpdated(OmbriChart& chart) { return state(chart).collectionViewUpdated; }
    static void setIsCollectionViewUpdated(OmbriChart& chart, bool on) { state(chart).collectionViewUpdated = on; }
    static auto& updateEventArgs(OmbriChart& chart) { return state(chart).updateEventArgs; }
    static void setUpdateEventArgs(OmbriChart& chart, std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args) {
        state(chart).updateEventArgs = std::move(args);
    }
    static auto& activeUpdateAnimation(OmbriChart& chart) { return state(chart).activeUpdateAnimation; }
    static void setActiveUpdateAnimation(OmbriChart& chart, std::shared_ptr<KivoAnimation> animation) {
        state(chart).activeUpdateAnimation = std::move(animation);
    }
    static double prevAxisYMax(OmbriChart& chart) { return state(chart).prevAxisYMax; }
    static double prevAxisYMin(OmbriChart& chart) { return state(chart).prevAxisYMin; }
    static double prevAxisXMax(OmbriChart& chart) { return state(chart).prevAxisXMax; }
    static double prevAxisXMin(OmbriChart& chart) { return state(chart).prevAxisXMin; }
    static void setPrevAxisYMax(OmbriChart& chart, double v) { state(chart).prevAxisYMax = v; }
    static void setPrevAxisYMin(OmbriChart& chart, double v) { state(chart).prevAxisYMin = v; }
    static void setPrevAxisXMax(OmbriChart& chart, double v) { state(chart).prevAxisXMax = v; }
    static void setPrevAxisXMin(OmbriChart& chart, double v) { state(chart).prevAxisXMin = v; }
    static auto& prevXValsArray(OmbriChart& chart) { return state(chart).prevXValsArray; }
    static auto& prevYValsArray(OmbriChart& chart) { return state(chart).prevYValsArray; }
    // Values as a series keeps them (null stays null).
    static kivo::detail::ColumnPtr column(const plat::ArrayPtr& values) {
        return values ? kivo::detail::columnOfValues(*values) : nullptr;
    }
    static void setPrevXValsArray(OmbriChart& chart, const std::vector<plat::ArrayPtr>& v) {
        state(chart).prevXValsArray.clear();
        for (const auto& values : v) state(chart).prevXValsArray.push_back(column(values));
    }
    static void setPrevYValsArray(OmbriChart& chart, const std::vector<plat::ArrayPtr>& v) {
        state(chart).prevYValsArray.clear();
        for (const auto& values : v) state(chart).prevYValsArray.push_back(column(values));
    }
    static auto& stackAbs(OmbriChart& chart) { return state(chart).stackAbs; }
    static void setStackAbs(OmbriChart& chart, std::shared_ptr<StackDictionary> sums) { state(chart).stackAbs = std::move(sums); }
    static bool beginPlotElementLoading(OmbriChart& chart) { return state(chart).beginPlotElementLoading; }
    static bool isChartUpdate(OmbriChart& chart) { return state(chart).chartUpdate; }
    static bool isFirstRender(OmbriChart& chart) { return state(chart).firstRender; }
    static bool suppressAnimation(OmbriChart& chart) { return state(chart).suppressAnimation; }
    static void setSuppressAnimation(OmbriChart& chart, bool on) { state(chart).suppressAnimation = on; }
    static const plat::Array& seriesArrayForUpdate(OmbriChart& chart) { return state(chart).seriesArrayForUpdate; }
    static std::int32_t seriesCount(OmbriChart& chart) { return state(chart).seriesCount; }
    static StackDictionary& stackpos(OmbriChart& chart) { return state(chart).stackpos; }
    static StackDictionary& stackneg(OmbriChart& chart) { return state(chart).stackneg; }
    // The axis list, to change in place without the redraw that setAxesArray asks for.
    static OmbriChart::AxisList& axesArray(OmbriChart& chart) { return chart._axesArray; }

    // ---- Private steps of the chart, axes, series and plotters ----
    // The chart's three kinds of series frame, to call through a member pointer.
    static constexpr auto _renderByAll = &OmbriChart::_renderByAll;
    static constexpr auto _renderBySeries = &OmbriChart::_renderBySeries;
    static constexpr auto _renderByPoint = &OmbriChart::_renderByPoint;
    KIVO_CHART_TEST_FORWARD(_getPlotter)
    KIVO_CHART_TEST_FORWARD(_clearPlotters)
    KIVO_CHART_TEST_FORWARD(_startLoadingAnimationTask)
    KIVO_CHART_TEST_FORWARD(_startUpdateSeriesAnimationTask1)
    KIVO_CHART_TEST_FORWARD(_getActiveUpdateAnimation)
    KIVO_CHART_TEST_FORWARD(_calcMajorUnit)
    KIVO_CHART_TEST_FORWARD(_getAnnoNumber)
    KIVO_CHART_TEST_FORWARD(_createLabels)
    KIVO_CHART_TEST_FORWARD(_createLogarithmicLabels)
    KIVO_CHART_TEST_FORWARD(_createTimeLabels)
    KIVO_CHART_TEST_FORWARD(_simplifyAxisLabelAngle)
    KIVO_CHART_TEST_FORWARD(_isActualOverlap)
    KIVO_CHART_TEST_FORWARD(_onLabelLoading)
    KIVO_CHART_TEST_FORWARD(_drawBarElement)
    KIVO_CHART_TEST_FORWARD(_getAnimationInfo)
    KIVO_CHART_TEST_FORWARD(_getAnimationTimeForPointMode)
    KIVO_CHART_TEST_FORWARD(_getBarRect)
    KIVO_CHART_TEST_FORWARD(_getStackedBarRect)
    KIVO_CHART_TEST_FORWARD(_getBarRectForSeriesAdded)
    KIVO_CHART_TEST_FORWARD(_getBarRectForSeriesRemoved)
    KIVO_CHART_TEST_FORWARD(_getBarRectForSeriesReplaced)
    KIVO_CHART_TEST_FORWARD(_getBarRectForCollectionViewAdded)
    KIVO_CHART_TEST_FORWARD(_getBarRectForCollectionViewRemoved)
    KIVO_CHART_TEST_FORWARD(_getBarRectForCollectionViewReplaced)
    KIVO_CHART_TEST_FORWARD(_getStackedBarRectForCollectionViewAdded)
    KIVO_CHART_TEST_FORWARD(_getStackedBarRectForCollectionViewRemoved)
    KIVO_CHART_TEST_FORWARD(_getStackedBarRectForCollectionViewReplaced)
    KIVO_CHART_TEST_FORWARD(_getBubbleSizeData)
    KIVO_CHART_TEST_FORWARD(_getStackedDatay)
    KIVO_CHART_TEST_FORWARD(_getDataForCollectionViewAdded)
    KIVO_CHART_TEST_FORWARD(_getDataForCollectionViewRemoved)
    KIVO_CHART_TEST_FORWARD(_getDataForCollectionViewReplaced)
    KIVO_CHART_TEST_FORWARD(_getPointsListForSeriesUpdated)
    KIVO_CHART_TEST_FORWARD(_getPointsListForSeriesRemoved)
    KIVO_CHART_TEST_FORWARD(_getStackedValue)
    KIVO_CHART_TEST_FORWARD(_getDataYForCollectionViewReplaced)
    KIVO_CHART_TEST_FORWARD(_drawFinanceElement)
    KIVO_CHART_TEST_FORWARD(selDataX)
    KIVO_CHART_TEST_FORWARD(selDataY)
    KIVO_CHART_TEST_FORWARD(symInts)
    KIVO_CHART_TEST_FORWARD(hasSavedSelection)
    // Hit testing and touch, by the values the recognisers carry.
    KIVO_CHART_TEST_FORWARD(_hitTest)
    KIVO_CHART_TEST_FORWARD(_select)
    KIVO_CHART_TEST_FORWARD(_getTooltipText)
    KIVO_CHART_TEST_FORWARD(_getCustomizedTooltipData)
    KIVO_CHART_TEST_FORWARD(_panLineMarker)
    KIVO_CHART_TEST_FORWARD(panShouldReceiveTouch)
    KIVO_CHART_TEST_FORWARD(scrollBy)
    KIVO_CHART_TEST_FORWARD(zoomBy)
    KIVO_CHART_TEST_FORWARD(tapAt)

    // The bubble plotter's growth rules.
    using BubblePhase = kivo::detail::BubbleUpdatePhase;
    template <class... Args>
    static auto symbolFactor(Args&&... args) {
        return KivoBubblePlotter::symbolFactor(std::forward<Args>(args)...);
    }
    template <class... Args>
    static auto bubbleFactor(Args&&... args) {
        return KivoBubblePlotter::bubbleFactor(std::forward<Args>(args)...);
    }
    template <class... Args>
    static auto labelFactor(Args&&... args) {
        return KivoBubblePlotter::labelFactor(std::forward<Args>(args)...);
    }

private:
    static void setTask(OmbriChart& chart, Task task, bool on) {
        auto& update = state(chart).update;
        if (on)
            update = task;
        else if (update == task)
            update = Task::None;
    }
};

#undef KIVO_CHART_TEST_FORWARD
