#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "recording_plotter.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

class ChartDispatchTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<RecordingChart> chart = RecordingChart::create();

    // `n` items with the value i + 1 under "v".
    void items(int n) {
        auto list = std::make_shared<plat::Array>();
        for (int i = 0; i < n; ++i) list->push_back(plat::Value(plat::Dictionary{{"v", i + 1}}));
        chart->setItemsSource(list);
    }
    std::shared_ptr<KivoSeries> add(const std::string& name, std::int64_t type = 0, std::int64_t visibility = 0) {
        auto s = KivoSeries::create(chart, "v", name);
        s->setChartType(type);
        s->setVisibility(visibility);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    std::vector<std::string> frame(double t, void (OmbriChart::*pass)(double) = OmbriChartTestAccess::_renderByAll) {
        chart->log->clear();
        (chart.get()->*pass)(t);
        return chart->plotted();
    }
    using Calls = std::vector<std::string>;
};

}  // namespace

TEST_F(ChartDispatchTest, AllAtOnceGivesEachSeriesItsPlaceAmongTheDrawnOnes) {
    items(3);
    add("A");
    add("B", 0, KivoSeriesVisibilityLegend);
    add("C");
    chart->prepareForRender();
    // One plotter: the hidden series takes no place, and the selection goes on top once.
    EXPECT_EQ(frame(0), (Calls{"bar plot A 0/0/2", "bar plot C 1/1/2", "bar redo"}));
    EXPECT_EQ(chart->bars()->calls[0].selectedIndex, -1);
    EXPECT_EQ(chart->bars()->calls[0].chartType, OmbriChartTypeColumn);
    EXPECT_EQ(chart->bars()->calls[0].dataInfoCount, 2);

    // While the first task of a removal of items runs, a hidden series stays hidden.
    OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
    OmbriChartTestAccess::setUpdateEventArgs(*chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(
                                                         KivoNotifyCollectionChangedActionRemove, nullptr, -1, nullptr, 1));
    EXPECT_EQ(frame(0.25), (Calls{"bar plot A 0/0/2", "bar plot C 1/1/2", "bar redo"}));
    EXPECT_EQ(chart->bars()->calls.back().time, 0.25);
    // A series being hidden (removed from the drawn ones) is drawn while the first task takes it away.
    OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, true);
    const auto hidden = chart->series()->objectAtIndex(1);
    OmbriChartTestAccess::setUpdateEventArgs(
        *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionRemove, nullptr, -1,
                                                                       std::make_shared<plat::Array>(plat::Array{hidden}), 1));
    OmbriChartTestAccess::_startUpdateSeriesAnimationTask1(*chart);
    EXPECT_EQ(frame(0.25), (Calls{"bar plot A 0/0/3", "bar plot B 1/1/3", "bar plot C 2/2/3", "bar redo"}));
}

TEST_F(ChartDispatchTest, MixedTypesGoToTheirOwnPlottersRankedAmongTheirType) {
    items(3);
    chart->setChartType(OmbriChartTypeLine);
    add("L1");
    add("Area", OmbriChartTypeArea);
    add("L2", OmbriChartTypeLine);
    add("Hidden", 0, KivoSeriesVisibilityHidden);
    add("Odd", 99);  // no plotter draws it
    // Index: the position; rank and count among the same type, hidden series counted; the selection
    // goes on top after every series.
    const Calls expected{"line plot L1 0/0/3", "line redo",          "area plot Area 1/0/1",
                         "area redo",          "line plot L2 2/1/3", "line redo"};
    EXPECT_EQ(frame(0), expected);
    EXPECT_EQ(chart->areas()->calls[0].chartType, OmbriChartTypeArea);
    // The other frame kinds give the number drawn before as the index, and redo after every series too.
    chart->loadAnimation()->setAnimationMode(KivoLoadAnimationModeSeries);
    const Calls bySeries{"line plot L1 0/0/3", "line redo",          "area plot Area 1/0/1",
                         "area redo",          "line plot L2 2/1/3", "line redo"};
    EXPECT_EQ(frame(1, OmbriChartTestAccess::_renderBySeries), bySeries);
    EXPECT_EQ(frame(1, OmbriChartTestAccess::_renderByPoint), bySeries);

    // A chart type no plotter serves draws no series at all.
    chart->series()->removeAllObjects();
    add("A");
    chart->setChartType(13);
    EXPECT_TRUE(frame(0).empty());
}

TEST_F(ChartDispatchTest, SeriesBySeriesStartOneAfterAnotherByVisibleRank) {
    items(3);
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(2);
    auto hidden = add("H", 0, KivoSeriesVisibilityLegend);
    auto a = add("A"), b = add("B");
    add("C");
    add("D");
    // Four visible series over 2 s: each has 1 s, and they start a third of a second apart.
    EXPECT_EQ(frame(0.5, OmbriChartTestAccess::_renderBySeries), (Calls{"bar plot A 0/0/4", "bar plot B 1/1/4", "bar redo"}));
    EXPECT_EQ(OmbriChartTestAccess::seriesCount(*chart), 2);
    EXPECT_DOUBLE_EQ(a->animationTime(), 0.5);
    EXPECT_DOUBLE_EQ(b->animationTime(), 0.5 - 2.0 / 3 * 0.5);
    EXPECT_DOUBLE_EQ(b->animationDuration(), 1.0);
    // At the end, and past it, every visible series is drawn in full, the hidden one in front or not.
    for (const double t : {2.0, 2.5}) {
        EXPECT_EQ(frame(t, OmbriChartTestAccess::_renderBySeries),
                  (Calls{"bar plot A 0/0/4", "bar plot B 1/1/4", "bar plot C 2/2/4", "bar plot D 3/3/4", "bar redo"}))
            << t;
        EXPECT_EQ(OmbriChartTestAccess::seriesCount(*chart), 4);
    }
    EXPECT_EQ(hidden->animationDuration(), 0);

    // One visible series plays from the first frame; a duration of 0 shows everything.
    chart->series()->removeAllObjects();
    add("A");
    EXPECT_EQ(frame(0, OmbriChartTestAccess::_renderBySeries).size(), 2u);
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(0);
    add("B");
    EXPECT_EQ(frame(0, OmbriChartTestAccess::_renderBySeries).size(), 3u);
}

TEST_F(ChartDispatchTest, PointByPointRevealsBarsInTheFirstHalfAndOtherTypesPointByPoint) {
    items(11);  // the window ends at index 10
    add("A");
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(1);
    chart->prepareForRender();
    const auto revealed = [&](double t) {
        frame(t, OmbriChartTestAccess::_renderByPoint);
        const auto& calls = chart->recorder(OmbriChart::PlotterFamily::Bar)->calls;
        return calls.empty() ? -99 : calls.back().dataInfoCount;
    };
    EXPECT_EQ(revealed(0), 0);
    EXPECT_EQ(revealed(0.25), 5);
    EXPECT_EQ(revealed(0.5), 10);
    EXPECT_EQ(revealed(0.75), 10);
    EXPECT_EQ(revealed(1.0), 10);

    // Lines: one more point every duration / page size (0.1 s here).
    chart->setChartType(OmbriChartTypeLine);
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(1.1);
    chart->prepareForRender();
    frame(0.35, OmbriChartTestAccess::_renderByPoint);
    EXPECT_EQ(chart->lines()->calls.back().dataInfoCount, 3);
    EXPECT_DOUBLE_EQ(chart->series()->objectAtIndexAs<KivoSeries>(0)->animationDuration(), 0.1);
    frame(1.1, OmbriChartTestAccess::_renderByPoint);
    EXPECT_EQ(chart->lines()->calls.back().dataInfoCount, 10);

    // A duration of 0 reveals everything; no items reveal none (the window has no last index).
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(0);
    frame(0, OmbriChartTestAccess::_renderByPoint);
    EXPECT_EQ(chart->lines()->calls.back().dataInfoCount, 10);
    chart->setItemsSource(std::make_shared<plat::Array>());
    chart->prepareForRender();
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setDuration(1);
    frame(0.5, OmbriChartTestAccess::_renderByPoint);
    EXPECT_EQ(chart->lines()->calls.back().dataInfoCount, -1);
}

TEST_F(ChartDispatchTest, ASeriesAddedDuringAPointByPointLoadWaitsForTheSecondTask) {
    items(3);
    add("A");
    add("B");
    add("C");
    chart->loadAnimation()->setAnimationMode(KivoLoadAnimationModePoint);
    OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, true);
    OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
    OmbriChartTestAccess::setUpdateEventArgs(
        *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(
                    KivoNotifyCollectionChangedActionAdd,
                    std::make_shared<plat::Array>(plat::Array{chart->series()->objectAtIndex(1)}), 1, nullptr, -1));
    OmbriChartTestAccess::_startUpdateSeriesAnimationTask1(*chart);
    EXPECT_EQ(frame(0), (Calls{"bar plot A 0/0/3", "bar plot C 2/2/3", "bar redo"}));
    EXPECT_EQ(frame(0.1).size(), 4u);
}

TEST_F(ChartDispatchTest, ThePlotterOriginComesFromTheAxisTheCategoriesRunAlong) {
    items(3);
    auto s = add("A");
    chart->axisX()->setOrigin(3);
    chart->axisY()->setOrigin(4);
    auto ownX = KivoAxis::create(KivoAxisPositionBottom, chart);
    auto ownY = KivoAxis::create(KivoAxisPositionLeft, chart);
    ownX->setOrigin(5);
    ownY->setOrigin(6);
    struct Case {
        bool rotated;
        std::shared_ptr<KivoAxis> x, y;
        double expected;
    };
    for (const auto& c : {Case{false, nullptr, nullptr, 3}, Case{true, nullptr, nullptr, 4}, Case{false, ownX, ownY, 5},
                          Case{true, ownX, ownY, 6}, Case{false, nullptr, ownY, 3}}) {
        chart->setRotated(c.rotated);
        s->setAxisX(c.x);
        s->setAxisY(c.y);
        frame(0);
        EXPECT_EQ(chart->bars()->calls.back().origin, c.expected) << c.rotated << " " << bool(c.x);
    }
    chart->axisX()->setOrigin(NaN);
    s->setAxisX(nullptr);
    chart->setRotated(false);
    frame(0);
    EXPECT_EQ(chart->bars()->calls.back().origin, 0);
}

TEST_F(ChartDispatchTest, EveryPassStacksFromEmptySums) {
    items(3);
    chart->setStacking(KivoPlotterStackingStacked);
    add("A");
    add("B");
    for (int pass = 0; pass < 2; ++pass) {
        chart->bars()->stackSizes.clear();
        frame(0);
        // The second series sees the first's sums; the first sees none, in every pass.
        EXPECT_EQ(chart->bars()->stackSizes, (std::vector<std::size_t>{0, 3})) << pass;
        EXPECT_EQ(chart->bars()->calls.back().stacking, KivoPlotterStackingStacked);
    }
}
