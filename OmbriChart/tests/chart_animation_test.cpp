#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/display_link.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "recording_plotter.h"

namespace {

constexpr double Frame = 1.0 / plat::DisplayLink::FramesPerSecond;

plat::Value item(double v) { return plat::Value(plat::Dictionary{{"v", v}}); }

plat::ArrayPtr values(int n) {
    auto list = std::make_shared<plat::Array>();
    for (int i = 0; i < n; ++i) list->push_back(item(i + 1));
    return list;
}

class CountingDelegate : public OmbriChartDelegate {
public:
    unsigned answeredMethods() const override { return Rendering | Rendered; }
    void rendering(const std::shared_ptr<OmbriChartBase>&) override { ++renderings; }
    void rendered(const std::shared_ptr<OmbriChartBase>&) override { ++rendereds; }
    int renderings = 0, rendereds = 0;
};

// What one drawn frame showed: when, at which time the bar plotter drew, and the update state.
struct Shown {
    double at;
    double time;
    bool task1, task2;
    double duration;
};

class ChartAnimationTest : public ChartInWindowTest<RecordingChart> {
protected:
    std::shared_ptr<CountingDelegate> delegate = std::make_shared<CountingDelegate>();

    void SetUp() override {
        window->addSubview(chart);
        chart->setDelegate(delegate);
    }
    std::shared_ptr<KivoSeries> add(const std::string& name, std::int64_t visibility = 0) {
        auto s = KivoSeries::create(chart, "v", name);
        s->setVisibility(visibility);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    // A drawing pass when the chart asked for one; what the bar plotter was last asked to draw at.
    bool display() {
        if (!window->needsDisplayInTree()) return false;
        rec.clear();
        window->display(rec);
        return true;
    }
    // Frame by frame for `seconds`, drawing whenever the chart asks: the frames drawn.
    std::vector<Shown> run(double seconds) {
        std::vector<Shown> shown;
        const double end = clock.now().seconds + seconds;
        while (clock.now().seconds < end - 1e-9) {
            clock.advance(Frame);
            const bool task1 = OmbriChartTestAccess::isUpdateTask1(*chart), task2 = OmbriChartTestAccess::isUpdateTask2(*chart);
            const double duration = OmbriChartTestAccess::activeUpdateAnimation(*chart)
                                        ? OmbriChartTestAccess::activeUpdateAnimation(*chart)->duration()
                                        : 0;
            const auto before = chart->bars()->calls.size();
            if (!display()) continue;
            const auto& calls = chart->bars()->calls;
            shown.push_back({clock.now().seconds, calls.size() > before ? calls.back().time : -1, task1, task2, duration});
        }
        return shown;
    }
    // A chart that has played its load animation with three items.
    void loaded() {
        chart->loadAnimation()->setDuration(0.25);
        chart->setItemsSource(values(3));
        add("A");
        display();
        run(0.5);
        ASSERT_FALSE(OmbriChartTestAccess::plotting(*chart));
        ASSERT_FALSE(OmbriChartTestAccess::isFirstRender(*chart));
    }
};

}  // namespace

TEST_F(ChartAnimationTest, TheLoadAnimationPlaysFromItsDelayAndClosesOnItsLastFrame) {
    chart->loadAnimation()->setStartDelay(0.5);
    chart->loadAnimation()->setDuration(1.0);
    chart->setItemsSource(values(3));
    add("A");

    // Data arrives: this pass shows frame, axes and legend, no series yet, and kicks off the animation.
    ASSERT_TRUE(display());
    EXPECT_TRUE(chart->bars()->calls.empty());
    EXPECT_TRUE(OmbriChartTestAccess::plotting(*chart));
    EXPECT_EQ(delegate->renderings, 2);
    EXPECT_EQ(delegate->rendereds, 0);

    // Nothing is redrawn before the delay has passed.
    clock.advance(0.4);
    EXPECT_FALSE(window->needsDisplayInTree());

    const auto shown = run(1.5);
    ASSERT_GE(shown.size(), 3u);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_LE(shown[i - 1].time, shown[i].time);
    }
    // The closing frame hands the whole duration, drawn once more without easing, and it alone is a
    // finished picture.
    EXPECT_DOUBLE_EQ(shown.back().time, 1.0);
    EXPECT_EQ(delegate->rendereds, 1);
    EXPECT_FALSE(OmbriChartTestAccess::plotting(*chart));
    EXPECT_EQ(OmbriChartTestAccess::plotTime(*chart), 0);
    EXPECT_TRUE(OmbriChartTestAccess::beginPlotElementLoading(*chart));
    EXPECT_EQ(chart->getEasing(), KivoEasing::EaseNone());

    // From then on a pass draws at once, at time 0, and is finished.
    chart->invalidate();
    display();
    EXPECT_EQ(chart->bars()->calls.back().time, 0);
    EXPECT_EQ(delegate->rendereds, 2);
}

TEST_F(ChartAnimationTest, TheClockEndsExactlyAtDelayPlusDuration) {
    chart->loadAnimation()->setStartDelay(0.5);
    chart->loadAnimation()->setDuration(1.0);
    chart->setItemsSource(values(3));
    add("A");
    display();
    double last = 0;
    while (OmbriChartTestAccess::plotting(*chart)) {
        clock.advance(Frame);
        last = OmbriChartTestAccess::plotTime(*chart);
    }
    EXPECT_EQ(last, 1.5);
}

TEST_F(ChartAnimationTest, AnItemAddedToAColumnChartPlaysTwoTasks) {
    loaded();
    chart->updateAnimation()->setDuration(0.5);
    chart->loadAnimation()->setDuration(2.0);
    const int rendered = delegate->rendereds;
    chart->collectionView()->addObject(item(9));
    EXPECT_TRUE(OmbriChartTestAccess::isUpdateTask1(*chart));
    EXPECT_TRUE(OmbriChartTestAccess::isChartUpdate(*chart));
    EXPECT_EQ(OmbriChartTestAccess::prevYValsArray(*chart).at(0)->size(), 3u);
    EXPECT_EQ(chart->series()->objectAtIndexAs<KivoSeries>(0)->getValues(0)->size(), 4u);

    const auto shown = run(3.0);
    // Task 1 runs 0.5 s at the update pace, then task 2 2.0 s at the load pace.
    double task1Start = -1, task1End = -1, task2Start = -1, task2End = -1;
    for (const auto& s : shown) {
        if (s.task1 && task1Start < 0) task1Start = s.at;
        if (s.task1) task1End = s.at;
        if (s.task2 && task2Start < 0) task2Start = s.at;
        if (s.task2) task2End = s.at;
        if (s.task1) {
            EXPECT_EQ(s.duration, 0.5);
        }
        if (s.task2) {
            EXPECT_EQ(s.duration, 2.0);
        }
    }
    ASSERT_GE(task1Start, 0);
    ASSERT_GE(task2Start, 0);
    // The last frame of a task is the tick before its end.
    EXPECT_NEAR(task1End + Frame - task1Start, 0.5, 1e-6);
    EXPECT_NEAR(task2End + Frame - task2Start, 2.0, 1e-6);
    // The data source stays marked through both tasks and is cleared at the end; only the closing
    // frame is a finished picture.
    EXPECT_FALSE(OmbriChartTestAccess::isCollectionViewUpdated(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask2(*chart));
    EXPECT_EQ(OmbriChartTestAccess::updateEventArgs(*chart)->action(), KivoNotifyCollectionChangedActionReset);
    EXPECT_DOUBLE_EQ(shown.back().time, 2.0);
    EXPECT_EQ(delegate->rendereds, rendered + 1);
}

TEST_F(ChartAnimationTest, ANewChangeStopsTheRunningTaskAndOwnsTheUpdate) {
    loaded();
    chart->updateAnimation()->setDuration(0.5);
    chart->loadAnimation()->setDuration(1.0);
    chart->collectionView()->addObject(item(9));
    run(0.6);
    ASSERT_TRUE(OmbriChartTestAccess::isUpdateTask2(*chart));
    // A series change during the second task of a data change: the data change gives up its task.
    add("B");
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask2(*chart));
    EXPECT_TRUE(OmbriChartTestAccess::isUpdateTask1(*chart));
    EXPECT_TRUE(OmbriChartTestAccess::isSeriesCollectionUpdated(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isCollectionViewUpdated(*chart));
    // One clock: the new task's times only grow until it ends.
    const auto shown = run(0.4);
    for (std::size_t i = 1; i < shown.size(); ++i)
        if (shown[i].task1 && shown[i - 1].task1) {
            EXPECT_LT(shown[i - 1].time, shown[i].time);
        }
    run(2.0);
    EXPECT_FALSE(OmbriChartTestAccess::plotting(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask1(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask2(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isSeriesCollectionUpdated(*chart));
    EXPECT_EQ(OmbriChartTestAccess::updateEventArgs(*chart)->action(), KivoNotifyCollectionChangedActionReset);
}

TEST_F(ChartAnimationTest, ARemovedSeriesStaysAtItsPlaceAmongTheDrawnOnesWhileItGoes) {
    loaded();
    auto hidden = add("Hidden", KivoSeriesVisibilityLegend);
    auto c = add("C");
    run(2);
    std::int64_t raisedIndex = -1;
    const auto owner = std::make_shared<int>(0);
    chart->series()->collectionChanged()->addHandler(
        KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& container) {
            raisedIndex = container->args<KivoNotifyCollectionChangedEventArgs>()->oldStartingIndex();
        }),
        owner);
    chart->series()->removeObjectAtIndex(2);
    // The chart replays the change at C's place among the drawn series; the raised arguments stay.
    EXPECT_EQ(OmbriChartTestAccess::updateEventArgs(*chart)->oldStartingIndex(), 1);
    EXPECT_EQ(raisedIndex, 2);
    const auto& kept = OmbriChartTestAccess::seriesArrayForUpdate(*chart);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].as<KivoSeries>(), c);
    // A removed bar shrinks at the load pace.
    EXPECT_EQ(OmbriChartTestAccess::activeUpdateAnimation(*chart), chart->loadAnimation());
    chart->bars()->calls.clear();
    run(Frame);
    EXPECT_EQ(chart->bars()->calls.back().series, "C");
}

TEST_F(ChartAnimationTest, TheUpdatePaceDependsOnTheTaskTheChangeAndTheChartType) {
    struct Case {
        bool task1;
        std::int64_t action, chartType;
        bool load;
    };
    const Case cases[] = {
        {true, KivoNotifyCollectionChangedActionAdd, OmbriChartTypeColumn, false},
        {true, KivoNotifyCollectionChangedActionRemove, OmbriChartTypeColumn, true},
        {true, KivoNotifyCollectionChangedActionRemove, OmbriChartTypeBubble, true},
        {true, KivoNotifyCollectionChangedActionRemove, OmbriChartTypeLine, false},
        {true, KivoNotifyCollectionChangedActionRemove, OmbriChartTypeSplineArea, false},
        {true, KivoNotifyCollectionChangedActionReplace, OmbriChartTypeColumn, false},
        {false, KivoNotifyCollectionChangedActionAdd, OmbriChartTypeLine, true},
        {false, KivoNotifyCollectionChangedActionRemove, OmbriChartTypeColumn, false},
        {false, KivoNotifyCollectionChangedActionReset, OmbriChartTypeColumn, false},
    };
    for (const auto& c : cases) {
        chart->setChartType(c.chartType);
        OmbriChartTestAccess::setUpdateEventArgs(*chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(c.action));
        const auto expected = c.load ? std::static_pointer_cast<KivoAnimation>(chart->loadAnimation()) : chart->updateAnimation();
        EXPECT_EQ(OmbriChartTestAccess::_getActiveUpdateAnimation(*chart, c.task1), expected)
            << c.task1 << " " << c.action << " " << c.chartType;
    }
}

TEST_F(ChartAnimationTest, AChangeThatCannotBeAnimatedIsStillDrawn) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> change;
        std::size_t values;
    };
    const Case cases[] = {
        {"before the first pass with items",
         [&] {
             chart->setItemsSource(values(3));
             add("A");
         },
         [&] { chart->collectionView()->addObject(item(9)); }, 4},
        {"with animation off",
         [&] {
             loaded();
             chart->setIsAnimated(false);
         },
         [&] { chart->collectionView()->removeAt(0); }, 2},
        {"a series added with animation off",
         [&] {
             loaded();
             chart->setIsAnimated(false);
         },
         [&] { add("B"); }, 3},
        {"a series hidden before the first pass",
         [&] {
             chart->setItemsSource(values(3));
             add("A");
             add("B");
         },
         [&] { chart->series()->objectAtIndexAs<KivoSeries>(0)->setVisibility(KivoSeriesVisibilityLegend); }, 3},
    };
    for (const auto& c : cases) {
        chart = RecordingChart::create();
        window->addSubview(chart);
        c.prepare();
        const int invalidates = chart->invalidates;
        c.change();
        EXPECT_FALSE(OmbriChartTestAccess::plotting(*chart)) << c.name;
        EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask1(*chart)) << c.name;
        EXPECT_FALSE(chart->isSeriesVisibilityAnimation()) << c.name;
        EXPECT_GT(chart->invalidates, invalidates) << c.name;
        display();
        const auto s = chart->series()->objectAtIndexAs<KivoSeries>(chart->series()->count() - 1);
        EXPECT_EQ(s->getValues(0)->size(), c.values) << c.name;
        chart->removeFromSuperview();
    }
}

TEST_F(ChartAnimationTest, AReplaceDuringTheFirstTaskIsDrawnWithoutANewTask) {
    loaded();
    chart->updateAnimation()->setDuration(1);
    chart->collectionView()->addObject(item(9));
    run(0.2);
    ASSERT_TRUE(OmbriChartTestAccess::isUpdateTask1(*chart));
    const double time = chart->bars()->calls.back().time;
    chart->collectionView()->replaceObjectAtIndex(0, item(42));
    EXPECT_EQ(OmbriChartTestAccess::updateEventArgs(*chart)->action(), KivoNotifyCollectionChangedActionAdd);
    EXPECT_EQ(chart->series()->objectAtIndexAs<KivoSeries>(0)->getValues(0)->at(0).asDouble(), 42);
    run(Frame);
    EXPECT_GT(chart->bars()->calls.back().time, time);  // the first task went on
}

TEST_F(ChartAnimationTest, ANewCollectionViewTakesTheSubscription) {
    loaded();
    auto old = chart->collectionView();
    auto next = KivoCollectionView::create();
    next->setSourceCollection(values(2));
    chart->setCollectionView(next);
    run(1);
    old->addObject(item(5));
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask1(*chart));
    next->addObject(item(5));
    EXPECT_TRUE(OmbriChartTestAccess::isUpdateTask1(*chart));
}

TEST_F(ChartAnimationTest, TwoStaticPassesOfStackedDataDrawTheSame) {
    chart->setIsAnimated(false);
    chart->setStacking(KivoPlotterStackingStacked);
    chart->setItemsSource(values(3));
    add("A");
    add("B");
    chart->bars()->draws = true;
    display();
    const auto first = rec.ops();
    chart->invalidate();
    display();
    ASSERT_EQ(rec.ops().size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(rec.ops()[i].bounds(), first[i].bounds()) << i;
    }
}

TEST_F(ChartAnimationTest, AnAnimationThatCannotBeTimedEndsAtItsFirstTick) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double duration, delay;
    };
    const Case cases[] = {{0, 0}, {-1, 0}, {nan, 0}, {inf, 0}, {0, 0.5}, {1, nan}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "duration " << c.duration << ", delay " << c.delay);
        auto fresh = RecordingChart::create();
        window->addSubview(fresh);
        fresh->loadAnimation()->setDuration(c.duration);
        fresh->loadAnimation()->setStartDelay(c.delay);
        OmbriChartTestAccess::_startLoadingAnimationTask(*fresh);
        ASSERT_TRUE(OmbriChartTestAccess::plotting(*fresh));
        clock.advance(Frame);
        // The task is over after one tick, with its closing state, and the next task can start.
        EXPECT_FALSE(OmbriChartTestAccess::plotting(*fresh));
        EXPECT_TRUE(OmbriChartTestAccess::suppressAnimation(*fresh));
        EXPECT_TRUE(OmbriChartTestAccess::beginPlotElementLoading(*fresh));
        EXPECT_EQ(OmbriChartTestAccess::plotTime(*fresh), 0);
        fresh->removeFromSuperview();
    }
}

TEST_F(ChartAnimationTest, TheUpdateStateIsReadableButOnlyTheChartChangesIt) {
    loaded();
    EXPECT_TRUE(chart->beginPlotElementLoading());
    EXPECT_FALSE(chart->isChartUpdate());
    const double yMax = chart->axisY()->actualMax(), xMin = chart->axisX()->actualMin();
    chart->updateAnimation()->setDuration(0.5);
    chart->collectionView()->addObject(item(9));
    EXPECT_TRUE(chart->isUpdateTask1());
    EXPECT_FALSE(chart->isUpdateTask2());
    EXPECT_TRUE(chart->isChartUpdate());
    EXPECT_TRUE(chart->isCollectionViewUpdated());
    EXPECT_FALSE(chart->isSeriesCollectionUpdated());
    EXPECT_FALSE(chart->beginPlotElementLoading());
    EXPECT_EQ(chart->activeUpdateAnimation(), OmbriChartTestAccess::activeUpdateAnimation(*chart));
    ASSERT_TRUE(chart->updateEventArgs());
    EXPECT_EQ(chart->updateEventArgs()->action(), KivoNotifyCollectionChangedActionAdd);
    // The picture before the change: the values and bounds the plotters move from.
    EXPECT_EQ(chart->prevYValsArray(), (std::vector<std::vector<double>>{{1, 2, 3}}));
    ASSERT_EQ(chart->prevXValsArray().size(), 1u);
    EXPECT_EQ(chart->prevAxisYMax(), yMax);
    EXPECT_EQ(chart->prevAxisXMin(), xMin);
    EXPECT_FALSE(chart->stackAbs());
    run(3.0);
    // A removal keeps the stacked sums it moves from.
    chart->collectionView()->removeAt(0);
    EXPECT_TRUE(chart->stackAbs());
    EXPECT_EQ(chart->updateEventArgs()->action(), KivoNotifyCollectionChangedActionRemove);
}
