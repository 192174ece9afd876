#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "OmbriChart/DefaultChartDataLabelRenderer.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChartInternalChartData.h"
#include "Platform/foundation/reflect.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

using AxisList = OmbriChart::AxisList;

class ChartPropertiesTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();

    bool tooltipShown() const { return chart->tooltip()->content()->isVisible(); }
    // A chart whose load animation has played out, with its tooltip on screen and no redraw counted.
    void settle() {
        OmbriChartTestAccess::setSuppressAnimation(*chart, true);
        chart->tooltip()->content()->show();
        chart->invalidates = 0;
    }
};

}  // namespace

TEST_F(ChartPropertiesTest, ANewChartHasItsDefaults) {
    EXPECT_FALSE(chart->plotRect());
    EXPECT_FALSE(chart->plotterChart());
    ASSERT_TRUE(chart->lineMarker());
    EXPECT_EQ(chart->lineMarker()->chart(), chart);
    ASSERT_TRUE(chart->dataLabel());
    EXPECT_EQ(chart->dataLabel()->chart(), chart);
    EXPECT_EQ(chart->dataLabel()->position(), KivoDataLabelPositionNone);
    EXPECT_EQ(chart->dataLabel()->content(), "{y}");
    auto renderer = std::dynamic_pointer_cast<DefaultChartDataLabelRenderer>(chart->dataLabelRenderer());
    ASSERT_TRUE(renderer);
    EXPECT_EQ(renderer->label(), chart->dataLabel());
    EXPECT_EQ(renderer->chart(), chart);
    EXPECT_EQ(chart->series()->count(), 0u);
    EXPECT_EQ(chart->annotations()->count(), 0u);

    ASSERT_TRUE(chart->axisX() && chart->axisY());
    EXPECT_EQ(OmbriChartTestAccess::axesArray(*chart), (AxisList{chart->axisX(), chart->axisY()}));
    EXPECT_EQ(chart->getAxes(), (AxisList{chart->axisX(), chart->axisY()}));
    EXPECT_EQ(chart->axisX()->position(), KivoAxisPositionBottom);
    EXPECT_FALSE(chart->axisX()->majorGridVisible());
    EXPECT_EQ(chart->axisY()->position(), KivoAxisPositionLeft);
    EXPECT_TRUE(chart->axisY()->majorGridVisible());
    EXPECT_EQ(chart->axisY()->chart(), chart);

    EXPECT_EQ(chart->chartType(), OmbriChartTypeColumn);
    EXPECT_FALSE(chart->selection());
    EXPECT_EQ(chart->selectionIndex(), -1);
    EXPECT_EQ(chart->stacking(), 0);
    EXPECT_EQ(chart->symbolSize(), 10.0);
    EXPECT_FALSE(chart->interpolateNulls());
    EXPECT_FALSE(chart->isReallyRotated());
    EXPECT_FALSE(chart->rotated());
    EXPECT_TRUE(chart->isAnimated());
    ASSERT_TRUE(chart->loadAnimation());
    EXPECT_EQ(chart->loadAnimation()->chart(), chart);
    EXPECT_EQ(chart->loadAnimation()->duration(), 1.0);
    ASSERT_TRUE(chart->updateAnimation() && OmbriChartTestAccess::activeUpdateAnimation(*chart));
    EXPECT_NE(chart->updateAnimation(), OmbriChartTestAccess::activeUpdateAnimation(*chart));
    EXPECT_EQ(chart->maxItemsVisible(), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(chart->zoomMode(), KivoZoomModeNone);
    ASSERT_TRUE(chart->options());
    EXPECT_EQ(chart->options()->chart(), chart);
    EXPECT_TRUE(chart->xlabels().empty());
    ASSERT_TRUE(chart->xvals());
    EXPECT_TRUE(chart->xvals()->empty());
    EXPECT_EQ(chart->xDataType(), 0);
    EXPECT_TRUE(std::dynamic_pointer_cast<KivoIOSValueFormatter>(chart->valueFormatter()));
    EXPECT_FALSE(chart->customPlotElement());
    EXPECT_FALSE(OmbriChartTestAccess::beginPlotElementLoading(*chart));
    EXPECT_FALSE(chart->isHandleXFPlotElementLoading());
    EXPECT_FALSE(OmbriChartTestAccess::isUpdateTask1(*chart) || OmbriChartTestAccess::isUpdateTask2(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isSeriesCollectionUpdated(*chart) ||
                 OmbriChartTestAccess::isCollectionViewUpdated(*chart));
    ASSERT_TRUE(OmbriChartTestAccess::updateEventArgs(*chart));
    EXPECT_EQ(OmbriChartTestAccess::updateEventArgs(*chart)->action(), KivoNotifyCollectionChangedActionReset);
    EXPECT_EQ(OmbriChartTestAccess::prevAxisYMax(*chart), 0);
    EXPECT_TRUE(OmbriChartTestAccess::prevXValsArray(*chart).empty() && OmbriChartTestAccess::prevYValsArray(*chart).empty());
    EXPECT_FALSE(OmbriChartTestAccess::stackAbs(*chart));
    EXPECT_FALSE(OmbriChartTestAccess::isChartUpdate(*chart));
    EXPECT_TRUE(chart->plotElementLoading());
    EXPECT_FALSE(OmbriChartTestAccess::suppressAnimation(*chart));
    EXPECT_FALSE(chart->isSeriesVisibilityAnimation());
    EXPECT_TRUE(chart->dataInfo());
    EXPECT_TRUE(chart->hitTester());
    // The chart's own legend and tooltip, not the base's.
    EXPECT_EQ(chart->legend()->chart(), chart);
    EXPECT_EQ(chart->tooltip()->chart(), chart);
    EXPECT_EQ(chart->tooltip()->content()->superview(), chart);
}

TEST_F(ChartPropertiesTest, SetterEffects) {
    const auto series = KivoSeries::create(chart, "v", "V");
    const auto axes = AxisList{chart->axisX(), chart->axisY()};
    const auto items = std::make_shared<plat::Array>();
    const auto formatter = std::make_shared<KivoIOSValueFormatter>("de_DE");
    const auto loadAnimation = KivoChartLoadAnimation::create();
    const auto updateAnimation = std::make_shared<KivoAnimation>();
    const auto options = OmbriChartOptions::create(chart);
    const auto view = plat::View::create({});
    struct Case {
        const char* name;
        std::function<void(TestChart&)> set;
        bool redraws, hidesTooltip, replays, renewsDataInfo;
        bool actsAgainOnTheSameValue = false;
    };
    const Case cases[] = {
        {"chartType", [](TestChart& c) { c.setChartType(OmbriChartTypeLine); }, true, true, true, true},
        {"rotated", [](TestChart& c) { c.setRotated(true); }, true, true, true, false},
        {"stacking", [](TestChart& c) { c.setStacking(KivoPlotterStackingStacked); }, true, true, true, false},
        {"interpolateNulls", [](TestChart& c) { c.setInterpolateNulls(true); }, true, false, false, false},
        {"symbolSize", [](TestChart& c) { c.setSymbolSize(12); }, true, false, false, false},
        {"maxItemsVisible", [](TestChart& c) { c.setMaxItemsVisible(50); }, true, false, false, true},
        {"selection", [&](TestChart& c) { c.setSelection(series); }, true, false, false, false},
        {"loadAnimation", [&](TestChart& c) { c.setLoadAnimation(loadAnimation); }, true, false, true, false},
        {"textColor", [](TestChart& c) { c.setTextColor(plat::Color::red()); }, true, false, false, false, true},
        {"axesArray", [&](TestChart& c) { c.setAxesArray(axes); }, true, false, false, false, true},
        {"chartOptions", [&](TestChart& c) { c.setChartOptions(options); }, true, false, false, false, true},
        {"itemsSource", [&](TestChart& c) { c.setItemsSource(items); }, true, false, true, true, true},
        {"updateAnimation", [&](TestChart& c) { c.setUpdateAnimation(updateAnimation); }, false, false, false, false},
        {"valueFormatter", [&](TestChart& c) { c.setValueFormatter(formatter); }, false, false, false, false},
        {"customPlotElement", [&](TestChart& c) { c.setCustomPlotElement(view); }, false, false, false, false},
        {"zoomMode", [](TestChart& c) { c.setZoomMode(KivoZoomModeXY); }, false, false, false, false},
        {"options", [&](TestChart& c) { c.setOptions(options); }, false, false, false, false},
        {"dataLabel", [](TestChart& c) { c.setDataLabel(OmbriChartDataLabel::create(nullptr)); }, false, false, false, false},
        {"isAnimated", [](TestChart& c) { c.setIsAnimated(false); }, false, false, false, false},
        {"textColor nil", [](TestChart& c) { c.setTextColor(std::nullopt); }, false, false, false, false},
    };
    for (const auto& c : cases) {
        chart = TestChart::create();
        settle();
        const auto info = chart->dataInfo();
        c.set(*chart);
        EXPECT_EQ(chart->invalidates > 0, c.redraws) << c.name;
        EXPECT_EQ(!tooltipShown(), c.hidesTooltip) << c.name;
        EXPECT_EQ(!OmbriChartTestAccess::suppressAnimation(*chart), c.replays) << c.name;
        EXPECT_EQ(chart->dataInfo() != info, c.renewsDataInfo) << c.name;

        settle();
        c.set(*chart);
        EXPECT_EQ(chart->invalidates > 0, c.redraws && c.actsAgainOnTheSameValue) << c.name << " again";
        EXPECT_TRUE(tooltipShown()) << c.name << " again";
    }
}

TEST_F(ChartPropertiesTest, TextColourBecomesEveryAxisLabelColourAndNaNSymbolSizeIsAlwaysAChange) {
    auto added = KivoAxis::create(KivoAxisPositionRight, chart);
    OmbriChartTestAccess::axesArray(*chart).push_back(added);
    chart->setTextColor(plat::Color::blue());
    for (const auto& axis : OmbriChartTestAccess::axesArray(*chart)) EXPECT_EQ(axis->labelTextColor(), plat::Color::blue());
    chart->setTextColor(std::nullopt);
    EXPECT_EQ(added->labelTextColor(), plat::Color::blue());

    chart->setSymbolSize(NAN);
    settle();
    chart->setSymbolSize(NAN);
    EXPECT_EQ(chart->invalidates, 1);
}

TEST_F(ChartPropertiesTest, TurningStackingOffBringsBackTheAxesShownBefore) {
    struct Case {
        const char* name;
        std::int64_t chartType;
        int addedAxes;
        bool removeFirstAdded;
        std::vector<std::int64_t> steps;
        std::int64_t storedStacking;
        int expectedAdded;  // the added axes (after any removal) that are back at the end
    };
    const Case cases[] = {
        {"0 → 1 → 0 brings back an added axis", 1, 1, false, {1, 0}, 0, 1},
        {"an axis removed before comes not back", 1, 2, true, {1, 0}, 0, 1},
        {"without added axes the primaries stay", 1, 0, false, {1, 0}, 0, 0},
        {"1 → 2 → 0 restores the list taken at 1", 1, 1, false, {1, 2, 0}, 0, 1},
        {"setting 0 again changes nothing more", 1, 1, false, {1, 0, 0}, 0, 1},
        {"a finance chart stores 0, and 0 still restores", 8, 1, false, {1, 0}, 0, 1},
        {"while stacked only the primaries show", 1, 2, false, {2}, 2, 0},
        {"finance, stacked: the primaries only", 9, 1, false, {1}, 0, 0},
    };
    for (const auto& c : cases) {
        chart = TestChart::create();
        chart->setChartType(c.chartType);
        AxisList added;
        for (int i = 0; i < c.addedAxes; ++i) {
            added.push_back(KivoAxis::create(KivoAxisPositionRight, chart));
            OmbriChartTestAccess::axesArray(*chart).push_back(added.back());
        }
        if (c.removeFirstAdded) {
            std::erase(OmbriChartTestAccess::axesArray(*chart), added.front());
            added.erase(added.begin());
        }
        for (auto step : c.steps) chart->setStacking(step);
        EXPECT_EQ(chart->stacking(), c.storedStacking) << c.name;
        AxisList expected{chart->axisX(), chart->axisY()};
        expected.insert(expected.end(), added.begin(), added.begin() + c.expectedAdded);
        EXPECT_EQ(OmbriChartTestAccess::axesArray(*chart), expected) << c.name;
    }
}

TEST_F(ChartPropertiesTest, StackingAFinanceChartStillHidesTheTooltipAndRedraws) {
    chart->setChartType(OmbriChartTypeCandlestick);
    OmbriChartTestAccess::axesArray(*chart).push_back(KivoAxis::create(KivoAxisPositionRight, chart));
    settle();
    chart->setStacking(KivoPlotterStackingStacked);
    EXPECT_EQ(chart->stacking(), 0);
    EXPECT_EQ(OmbriChartTestAccess::axesArray(*chart).size(), 2u);
    EXPECT_FALSE(tooltipShown());
    EXPECT_GT(chart->invalidates, 0);

    settle();
    chart->setStacking(KivoPlotterStackingNone);  // stored 0 already, but an axis waits to come back
    EXPECT_EQ(OmbriChartTestAccess::axesArray(*chart).size(), 3u);
    EXPECT_GT(chart->invalidates, 0);
    settle();
    chart->setStacking(KivoPlotterStackingNone);
    EXPECT_EQ(chart->invalidates, 0);
}

TEST_F(ChartPropertiesTest, EasingFollowsTheRunningAnimation) {
    const auto ease = KivoEasing::EaseOutBounce();
    chart->loadAnimation()->setEasing(ease);
    OmbriChartTestAccess::activeUpdateAnimation(*chart)->setEasing(KivoEasing::EaseInSine());
    struct Case {
        const char* name;
        bool suppress, animated, task1, task2;
        double loadDuration;
        KivoEasePtr expected;
    };
    const Case cases[] = {
        {"load animation", false, true, false, false, 1, ease},
        {"update task 1", false, true, true, false, 1, KivoEasing::EaseInSine()},
        {"update task 2", false, true, false, true, 1, KivoEasing::EaseInSine()},
        {"suppressed", true, true, false, false, 1, KivoEasing::EaseNone()},
        {"not animated", false, false, false, false, 1, KivoEasing::EaseNone()},
        {"a load animation of no time", false, true, false, false, 0, KivoEasing::EaseNone()},
    };
    for (const auto& c : cases) {
        OmbriChartTestAccess::setSuppressAnimation(*chart, c.suppress);
        chart->setIsAnimated(c.animated);
        OmbriChartTestAccess::setIsUpdateTask1(*chart, c.task1);
        OmbriChartTestAccess::setIsUpdateTask2(*chart, c.task2);
        chart->loadAnimation()->setDuration(c.loadDuration);
        EXPECT_EQ(chart->getEasing(), c.expected) << c.name;
    }
    OmbriChartTestAccess::setIsUpdateTask1(*chart, false);
    chart->setIsAnimated(true);
    OmbriChartTestAccess::setSuppressAnimation(*chart, false);
    chart->setLoadAnimation(nullptr);
    EXPECT_EQ(chart->getEasing(), KivoEasing::EaseNone());
}

TEST_F(ChartPropertiesTest, PreparingForTheDesignerTwiceGivesSixSeriesOverTheSameRecords) {
    chart->prepareForInterfaceBuilder();
    chart->prepareForInterfaceBuilder();
    EXPECT_FALSE(chart->isAnimated());
    EXPECT_EQ(chart->bindingX(), "name");
    ASSERT_EQ(chart->series()->count(), 6u);
    const char* names[] = {"Sales", "Expenses", "Downloads"};
    const char* bindings[] = {"sales, sales", "expenses, expenses", "downloads, downloads"};
    for (std::size_t i = 0; i < 6; ++i) {
        const auto s = chart->series()->objectAtIndexAs<KivoSeries>(i);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->name(), names[i % 3]);
        EXPECT_EQ(s->binding(), bindings[i % 3]);
        EXPECT_EQ(s->chart(), chart);
    }
    const auto& records = OmbriChartInternalChartData::demoData();
    EXPECT_EQ(chart->itemsSource(), records);
    ASSERT_EQ(records->size(), 6u);
    const char* countries[] = {"US", "Germany", "UK", "Japan", "Italy", "Greece"};
    for (std::size_t i = 0; i < 6; ++i) {
        const auto record = (*records)[i].as<OmbriChartInternalChartData>();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->name, countries[i]);
        EXPECT_TRUE(record->sales >= 0 && record->sales <= 10000);
        EXPECT_TRUE(record->expenses >= 0 && record->expenses <= 5000);
        EXPECT_TRUE(record->downloads >= 0 && record->downloads <= 20000);
        // The records answer the series' bindings by name.
        EXPECT_EQ(plat::valueForKey((*records)[i], "downloads").asInteger(), record->downloads);
    }
    EXPECT_EQ(chart->collectionView()->items()->size(), 6u);
}

TEST_F(ChartPropertiesTest, ChangesOfTheSeriesOrOfTheItemsRedraw) {
    chart->setItemsSource(std::make_shared<plat::Array>(plat::Array{1.0, 2.0}));
    chart->invalidates = 0;
    const plat::testing::LogCapture log;  // plain numbers have no property "v": each read says so
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", std::nullopt)));
    EXPECT_EQ(chart->invalidates, 1);
    chart->collectionView()->addObject(3.0);
    EXPECT_GE(chart->invalidates, 2);
    EXPECT_FALSE(log.lines().empty());
    for (const auto& line : log.lines()) EXPECT_EQ(line, "Exception:the key v is not available!");
}

TEST_F(ChartPropertiesTest, TheChartsPartsHoldItWeaklySoItIsFreedWhenReleased) {
    chart->prepareForInterfaceBuilder();
    OmbriChartTestAccess::axesArray(*chart).push_back(KivoAxis::create(KivoAxisPositionRight, chart));
    const auto axis = chart->axisX();
    const auto options = chart->options();
    const auto label = chart->dataLabel();
    const auto renderer = chart->dataLabelRenderer();
    const auto series = chart->series()->objectAtIndexAs<KivoSeries>(0);
    std::weak_ptr<OmbriChart> weak = chart;
    chart.reset();
    EXPECT_TRUE(weak.expired());

    // Through the expired reference nothing happens and queries answer their defaults.
    EXPECT_FALSE(axis->chart());
    axis->setMin(2.0);
    options->setGroupWidth(0.5f);
    label->setPosition(KivoDataLabelPositionAbove);
    renderer->render("S", KivoRect::create(0, 0, 1, 1), 0, 0, 1, 2, plat::Value());
    EXPECT_FALSE(series->chart());
    EXPECT_EQ(series->binding(), "sales, sales");
}
