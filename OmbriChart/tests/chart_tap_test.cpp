#include <gtest/gtest.h>

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "Platform/testing/touches.h"
#include "touch_fixture.h"

namespace {

// A delegate that records what the chart tells it; `answers` says which methods it implements.
class RecordingDelegate : public OmbriChartDelegate {
public:
    unsigned answers = 0;
    bool endTaps = false;
    int selectionChanges = 0;
    int taps = 0;
    int tooltips = 0;
    std::shared_ptr<KivoPoint> tooltipPoint;
    bool tooltipShown = false;
    plat::ArrayPtr tooltipData;

    unsigned answeredMethods() const override { return answers; }
    bool tapped(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoPoint>&) override {
        ++taps;
        return endTaps;
    }
    void selectionChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoHitTestInfo>&) override {
        ++selectionChanges;
    }
    void handleTooltip(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoPoint>& point, bool isVisible,
                       const plat::ArrayPtr& data) override {
        ++tooltips;
        tooltipPoint = point->clone();
        tooltipShown = isVisible;
        tooltipData = data;
    }
};

}  // namespace

class ChartTapTest : public TouchChartTest {
protected:
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();

    void SetUp() override {
        TouchChartTest::SetUp();
        chart->setDelegate(delegate);
    }
    void tap(plat::Point p) { plat::testing::Touches(window).tap(p); }
    void tap(double x, double y) { tap(plat::Point{x, y}); }
    const std::shared_ptr<KivoBaseChartTooltipView>& content() const { return chart->tooltip()->content(); }
    // A point of the plot area far from every bar.
    plat::Point emptyPlot() const { return {chart->plotRect()->left() + 2, chart->plotRect()->top() + 2}; }
    // A point on the legend item of a series, found by hit testing down the legend box.
    plat::Point legendItemOf(const std::shared_ptr<KivoSeries>& series) const {
        const auto& box = *chart->rectLegend();
        for (double y = box.top(); y <= box.bottom(); y += 1)
            for (double x = box.left(); x <= box.right(); x += 4)
                if (chart->hitTest(KivoPoint::create(x, y))->series() == series) return {x, y};
        ADD_FAILURE() << "no legend item";
        return {NAN, NAN};
    }
};

TEST_F(ChartTapTest, ATapOnEmptyPlotClearsTheSelectionOnce) {
    setItems({10, 20, 30});
    const auto series = add("sales");
    chart->setSelectionMode(KivoChartSelectionModePoint);
    delegate->answers = OmbriChartDelegate::SelectionChanged;
    draw();
    chart->setSelection(series);
    chart->setSelectionIndex(1);

    tap(emptyPlot());
    EXPECT_FALSE(chart->selection());
    EXPECT_EQ(chart->selectionIndex(), -1);
    EXPECT_EQ(delegate->selectionChanges, 1);
    tap(emptyPlot());
    EXPECT_EQ(delegate->selectionChanges, 1);
}

TEST_F(ChartTapTest, ATapOnAPointSelectsItsSeriesAndPoint) {
    setItems({10, 20, 30});
    const auto sales = add("sales");
    const auto cost = add("cost");
    delegate->answers = OmbriChartDelegate::SelectionChanged;
    draw();
    for (const auto mode : {KivoChartSelectionModeSeries, KivoChartSelectionModePoint}) {
        chart->setSelectionMode(mode);
        tap(centreOf(1, 2));
        EXPECT_EQ(chart->selection(), cost) << mode;
        EXPECT_EQ(chart->selectionIndex(), 2) << mode;
    }
    EXPECT_EQ(delegate->selectionChanges, 1);  // the second mode found the same selection
    // With selection off nothing changes.
    chart->setSelectionMode(KivoChartSelectionModeNone);
    tap(centreOf(0, 0));
    EXPECT_EQ(chart->selection(), cost);
}

TEST_F(ChartTapTest, TheLegendTogglesBetweenShownAndListedOnlyWhenAsked) {
    setItems({10, 20, 30});
    const auto plotOnly = add("cost", "Cost");
    plotOnly->setVisibility(KivoSeriesVisibilityPlot);  // drawn, not listed
    const auto sales = add("sales", "Sales");
    draw();
    const auto item = legendItemOf(sales);

    tap(item);
    EXPECT_EQ(sales->visibility(), KivoSeriesVisibilityVisible);
    chart->setLegendToggle(true);
    tap(item);
    EXPECT_EQ(sales->visibility(), KivoSeriesVisibilityLegend);
    draw();
    tap(item);
    EXPECT_EQ(sales->visibility(), KivoSeriesVisibilityVisible);
    EXPECT_EQ(plotOnly->visibility(), KivoSeriesVisibilityPlot);

    // A series hidden everywhere keeps its visibility: the toggle knows only 0 and 2.
    sales->setVisibility(KivoSeriesVisibilityHidden);
    OmbriChartTestAccess::tapAt(*chart, item.x, item.y);
    EXPECT_EQ(sales->visibility(), KivoSeriesVisibilityHidden);
}

TEST_F(ChartTapTest, ADelegateThatTakesTheTapEndsIt) {
    setItems({10, 20, 30});
    add("sales");
    chart->setSelectionMode(KivoChartSelectionModePoint);
    delegate->answers = OmbriChartDelegate::Tapped | OmbriChartDelegate::SelectionChanged;
    delegate->endTaps = true;
    int raised = 0;
    chart->chartTapped()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++raised; }, nullptr);
    draw();
    tap(centreOf(0, 1));
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(delegate->taps, 1);
    EXPECT_FALSE(chart->selection());
    EXPECT_FALSE(content()->isVisible());

    delegate->endTaps = false;
    tap(centreOf(0, 1));
    EXPECT_EQ(chart->selectionIndex(), 1);
    EXPECT_TRUE(content()->isVisible());
}

TEST_F(ChartTapTest, TheTooltipPointsAtTheTappedElement) {
    struct Case {
        const char* name;
        std::int64_t type;
        bool rotated;
    };
    const Case cases[] = {
        {"line: centre above", OmbriChartTypeLineSymbols, false},
        {"column: category middle", OmbriChartTypeColumn, false},
        {"bar: beside the tap", OmbriChartTypeBar, false},
    };
    for (const auto& c : cases) {
        chart->setChartType(c.type);
        chart->setRotated(c.rotated);
        chart->legend()->setPosition(KivoAxisPositionNone);
        setItems({10, 20, 30});
        add("sales", "Sales");
        draw();
        const auto area = areaOf(0, 1);
        ASSERT_TRUE(area) << c.name;
        const auto b = area->bounds();
        const plat::Point centre{(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
        // Off the middle of the element, still on it.
        const plat::Point at = c.type == OmbriChartTypeLineSymbols ? centre : plat::Point{centre.x + 1, centre.y + 2};
        tap(at);
        ASSERT_TRUE(content()->isVisible()) << c.name;
        const double gap = content()->gap();
        plat::Point expected;
        if (c.type == OmbriChartTypeLineSymbols)
            expected = {centre.x, centre.y - gap};
        else if (c.type == OmbriChartTypeColumn)
            expected = {centre.x, at.y - gap};
        else
            expected = {at.x + gap, centre.y};
        EXPECT_NEAR(content()->senderPoint().x, expected.x, 1e-9) << c.name;
        EXPECT_NEAR(content()->senderPoint().y, expected.y, 1e-9) << c.name;
        EXPECT_EQ(content()->text(), "Sales\n" +
                                         chart->hitTest(KivoPoint::create(at.x, at.y))->dataPoint()->valueX().description() +
                                         " " + (c.type == OmbriChartTypeBar ? chart->axisX() : chart->axisY())->formatValue(20))
            << c.name;
        EXPECT_EQ(content()->chartData(), areaOf(0, 1)->tag().as<KivoChartDataPoint>()) << c.name;
        chart->series()->removeAllObjects();
    }
}

TEST_F(ChartTapTest, NoTooltipWhenTooltipsAreOffOrTheTapIsFar) {
    setItems({10, 20, 30});
    add("sales");
    draw();
    chart->tooltip()->setIsVisible(false);
    tap(centreOf(0, 1));
    EXPECT_FALSE(content()->isVisible());
    chart->tooltip()->setIsVisible(true);
    tap(emptyPlot());
    EXPECT_FALSE(content()->isVisible());
}

TEST_F(ChartTapTest, ACustomisedTooltipGoesToTheDelegateWithTheMovedPointAndTheFacts) {
    setItems({10, 20, 30});
    add("sales", "Sales");
    draw();
    content()->setIsCustomized(true);
    const auto bar = centreOf(0, 2);
    tap({bar.x + 3, bar.y + 4});
    EXPECT_EQ(delegate->tooltips, 0);  // a delegate that does not answer: nothing at all
    EXPECT_FALSE(content()->isVisible());

    delegate->answers = OmbriChartDelegate::HandleTooltip;
    tap({bar.x + 3, bar.y + 4});
    ASSERT_EQ(delegate->tooltips, 1);
    EXPECT_TRUE(delegate->tooltipShown);
    EXPECT_DOUBLE_EQ(delegate->tooltipPoint->x(), bar.x);  // the category middle
    EXPECT_DOUBLE_EQ(delegate->tooltipPoint->y(), bar.y + 4);
    ASSERT_TRUE(delegate->tooltipData);
    ASSERT_EQ(delegate->tooltipData->size(), 8u);
    EXPECT_EQ((*delegate->tooltipData)[2].asInteger(), OmbriChartTypeColumn);
    EXPECT_EQ((*delegate->tooltipData)[3].asString(), "Sales");
    EXPECT_EQ((*delegate->tooltipData)[5].asInteger(), 2);
    EXPECT_EQ((*delegate->tooltipData)[6].asString(), chart->axisY()->formatValue(30));
    EXPECT_FALSE(content()->isVisible());

    tap(emptyPlot());
    EXPECT_EQ(delegate->tooltips, 2);
    EXPECT_FALSE(delegate->tooltipShown);
}

TEST_F(ChartTapTest, ATapOnAnAnnotationShowsItsTooltipText) {
    setItems({10, 20, 30});
    add("sales");
    draw();
    const auto& plot = *chart->plotRect();
    auto note = std::make_shared<BoxAnnotation>(KivoRect(plot.left(), plot.top(), 40, 40));
    chart->annotations()->addObject(plat::Value(note));
    const plat::Point at{plot.left() + 10, plot.top() + 10};

    tap(at);  // no text: nothing
    EXPECT_FALSE(content()->isVisible());
    note->setTooltipText("Launch");
    note->setIsVisible(false);
    tap(at);
    EXPECT_FALSE(content()->isVisible());
    note->setIsVisible(true);
    tap(at);
    EXPECT_TRUE(content()->isVisible());
    EXPECT_EQ(content()->text(), "Launch");
    EXPECT_EQ(content()->senderPoint().x, at.x);
    EXPECT_EQ(content()->senderPoint().y, at.y);
}
