#include <gtest/gtest.h>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoCollectionView.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "Platform/testing/geometry_matchers.h"
#include "interaction/CategoryIndex.h"
#include "touch_fixture.h"

namespace {

KivoPoint middle(const KivoRect& r) { return {r.left() + r.width() / 2, r.top() + r.height() / 2}; }

}  // namespace

class ChartHitTest : public TouchChartTest {
protected:
    std::shared_ptr<KivoChartHitTestInfo> at(double x, double y) { return chart->hitTest(KivoPoint::create(x, y)); }
};

TEST_F(ChartHitTest, ElementsTakePrecedenceTitlesLegendAnnotationsThenTheAreas) {
    chart->setBindingX("name");
    setItems({10, 20, 30, 40});
    const auto sales = add("sales", "Sales");
    chart->setPadding({0, 20, 0, 0});
    chart->setHeader("Header");
    chart->setFooter("Footer");
    draw();
    const auto plot = *chart->plotRect();
    auto under = std::make_shared<BoxAnnotation>(KivoRect(plot.left(), plot.top(), 60, 60));
    auto over = std::make_shared<BoxAnnotation>(KivoRect(plot.left() + 30, plot.top(), 60, 60));
    chart->annotations()->addObject(plat::Value(under));
    chart->annotations()->addObject(plat::Value(over));
    // An annotation over the header changes nothing there.
    chart->annotations()->addObject(plat::Value(std::make_shared<BoxAnnotation>(*chart->rectHeader())));

    const auto header = middle(*chart->rectHeader());
    EXPECT_EQ(at(header.x(), header.y())->chartElement(), KivoChartElementHeader);
    const auto footer = middle(*chart->rectFooter());
    EXPECT_EQ(at(footer.x(), footer.y())->chartElement(), KivoChartElementFooter);

    ASSERT_TRUE(chart->rectLegend());
    const auto& legendBox = *chart->rectLegend();
    std::shared_ptr<KivoChartHitTestInfo> onItem;
    for (double y = legendBox.top(); y <= legendBox.bottom() && !onItem; y += 1)
        if (auto info = at(legendBox.left() + legendBox.width() / 2, y); info->series()) onItem = info;
    ASSERT_TRUE(onItem);
    EXPECT_EQ(onItem->chartElement(), KivoChartElementLegend);
    EXPECT_EQ(onItem->series(), sales);
    EXPECT_EQ(onItem->dataPoint()->seriesIndex(), 0);
    EXPECT_EQ(onItem->dataPoint()->seriesName(), "Sales");

    auto info = at(plot.left() + 45, plot.top() + 10);  // inside both annotations
    EXPECT_EQ(info->chartElement(), KivoChartElementAnnotation);
    EXPECT_EQ(info->annotation(), over);
    EXPECT_EQ(at(plot.left() + 10, plot.top() + 10)->annotation(), under);

    EXPECT_EQ(at(-5, 10)->chartElement(), KivoChartElementNone);

    const auto bar = centreOf(0, 2);
    info = at(bar.x, bar.y);
    EXPECT_EQ(info->chartElement(), KivoChartElementPlotArea);
    EXPECT_EQ(info->series(), sales);
    EXPECT_EQ(info->dataPoint()->pointIndex(), 2);
    EXPECT_EQ(info->distance(), 0);
    EXPECT_TRUE(info->area());
    EXPECT_TRUE(info->dataPoint()->dataObject().isDictionary());  // the item behind the point

    // Off the plot, the axis bands count only because an area was found (far away as it is).
    const auto xBand = middle(*chart->axisX()->axrect());
    info = at(xBand.x(), xBand.y());
    EXPECT_EQ(info->chartElement(), KivoChartElementAxisX);
    EXPECT_GT(info->distance(), 0);
    const auto yBand = middle(*chart->axisY()->axrect());
    EXPECT_EQ(at(yBand.x(), yBand.y())->chartElement(), KivoChartElementAxisY);
    const auto& axisYBand = *chart->axisY()->axrect();
    ASSERT_GT(axisYBand.left(), 2);
    EXPECT_EQ(at(1, yBand.y())->chartElement(), KivoChartElementChartArea);

    // Without areas: the plot area or the chart area, axes included.
    chart->hitTester()->clear();
    info = at(plot.left() + 100, plot.top() + 100);
    EXPECT_EQ(info->chartElement(), KivoChartElementPlotArea);
    EXPECT_EQ(info->dataPoint()->seriesIndex(), -1);
    EXPECT_EQ(at(xBand.x(), xBand.y())->chartElement(), KivoChartElementChartArea);
}

TEST_F(ChartHitTest, PointAndDataConvertBothWaysWithoutSwappingOnARotatedChart) {
    setItems({10, 20, 30, 40});
    add("sales");
    for (const bool rotated : {false, true}) {
        chart->setRotated(rotated);
        draw();
        const auto data = chart->pointToData(KivoPoint::create(150, 120));
        EXPECT_DOUBLE_EQ(data->x(), chart->axisX()->convertBack(150));
        EXPECT_DOUBLE_EQ(data->y(), chart->axisY()->convertBack(120));
        const auto back = chart->dataToPoint(data);
        EXPECT_THAT((plat::Point{back->x(), back->y()}), plat::testing::PointNear({150, 120})) << rotated;
    }
}

TEST_F(ChartHitTest, ValuesForTheTooltipByDimensionFormattedOrNot) {
    chart->setBindingX("day");
    setItems({10, 20, 30, 40}, {5, 15, 25, 35});
    const auto series = add("sales, cost");
    const auto byName = KivoSeries::create(chart, "sales", "by name");
    byName->setBindingX("name");
    draw();
    const double day2 = March1st2024 + 86400;
    const std::string date = chart->axisX()->formatValue(day2);
    EXPECT_NE(date, chart->axisX()->formatValue(day2 * 86400));

    struct Case {
        const char* name;
        std::shared_ptr<KivoSeries> series;
        std::int32_t dimension;
        bool formatted;
        std::int32_t index;
        plat::Value expected;
    };
    const Case cases[] = {
        {"value", series, 0, false, 1, plat::Value(20.0)},
        {"value formatted", series, 0, true, 1, plat::Value(chart->axisY()->formatValue(20))},
        {"date formatted from its seconds", series, 1, true, 1, plat::Value(date)},
        {"category", byName, 1, false, 1, plat::Value("Germany")},
        {"category formatted stays text", byName, 1, true, 1, plat::Value("Germany")},
        {"further member", series, 2, false, 1, plat::Value(15.0)},
        {"further member formatted as it is", series, 2, true, 1, plat::Value(15.0)},
        {"past the data", series, 0, true, 9, plat::Value()},
        {"negative index", series, 1, false, -1, plat::Value()},
        {"past the data, X", byName, 1, true, 9, plat::Value()},
    };
    for (const auto& c : cases) {
        const auto v = chart->getHitTestInfoValue(c.dimension, c.formatted, c.index, c.series);
        EXPECT_TRUE(v.isEqual(c.expected)) << c.name << ": " << v.description();
    }
    // The unformatted date is the stored value itself.
    const auto stored = chart->getHitTestInfoValue(1, false, 1, series);
    EXPECT_EQ(stored.isDate() ? stored.asDate().seconds : stored.asDouble(), day2);
}

TEST_F(ChartHitTest, WithoutASeriesTheXComesFromTheChartsLabelsOrValues) {
    chart->setBindingX("name");
    setItems({10, 20});
    add("sales");
    draw();
    EXPECT_TRUE(chart->getHitTestInfoValue(1, true, 1, nullptr).isEqual(plat::Value("Germany")));
    EXPECT_TRUE(chart->getHitTestInfoValue(0, true, 1, nullptr).isNil());

    chart->setBindingX("x");
    setItems({10, 20}, {}, {2001, 2002});
    draw();
    EXPECT_TRUE(chart->getHitTestInfoValue(1, false, 1, nullptr).isEqual(plat::Value(2002.0)));
    EXPECT_TRUE(chart->getHitTestInfoValue(1, true, 1, nullptr).isEqual(plat::Value(chart->axisX()->formatValue(2002))));
    EXPECT_TRUE(chart->getHitTestInfoValue(1, true, 2, nullptr).isNil());
}

TEST_F(ChartHitTest, SelectingAPointMovesTheCurrentItem) {
    setItems({10, 20, 30, 40});
    const auto series = add("sales");
    chart->setSelectionMode(KivoChartSelectionModePoint);
    chart->invalidates = 0;
    OmbriChartTestAccess::_select(*chart, series, 2);
    EXPECT_EQ(chart->selection(), series);
    EXPECT_EQ(chart->selectionIndex(), 2);
    EXPECT_EQ(chart->collectionView()->currentPosition(), 2);
    EXPECT_GT(chart->invalidates, 0);

    // In series mode the current item stays.
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    OmbriChartTestAccess::_select(*chart, series, 3);
    EXPECT_EQ(chart->collectionView()->currentPosition(), 2);
}

class DataPointsAroundTest : public TouchChartTest {
protected:
    void SetUp() override {
        TouchChartTest::SetUp();
        chart->setChartType(OmbriChartTypeLine);
        chart->legend()->setPosition(KivoAxisPositionNone);
        chart->setBindingX("x");
    }
    // The point found for each series at the view point.
    std::vector<std::shared_ptr<KivoChartDataPoint>> around(double x, double y) {
        auto found = chart->getDataPointsAroundPoint(x, y);
        return found ? *found : std::vector<std::shared_ptr<KivoChartDataPoint>>{};
    }
};

TEST_F(DataPointsAroundTest, EachSeriesGivesItsNearestPointAlongTheCategoriesTiesToTheLastAdded) {
    // x 1, 2, 2, 4: two points at 2 in each series; the later one is on top.
    setItems({10, 20, 30, 40}, {40, 30, 20, 10}, {1, 2, 2, 4});
    add("sales");
    add("cost");
    draw();
    const auto& axis = chart->axisX();
    const double top = chart->plotRect()->top();

    auto found = around(axis->convert(1.2), top);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->seriesIndex(), 0);
    EXPECT_EQ(found[0]->pointIndex(), 0);
    EXPECT_EQ(found[1]->seriesIndex(), 1);
    EXPECT_EQ(found[1]->pointIndex(), 0);

    EXPECT_EQ(around(axis->convert(2), top)[0]->pointIndex(), 2);
    EXPECT_FALSE(chart->getDataPointsAroundPoint(-1, 10));
    EXPECT_FALSE(chart->getDataPointsAroundPoint(10, 1000));
}

TEST(CategoryIndex, TheNearestPositionOnEitherSideWinsTiesGoToTheLastAdded) {
    // Pixels 100, 200, 200, 300, NaN, 50 in insertion order.
    const double pixels[] = {100, 200, 200, 300, NAN, 50};
    KivoHitTester::HitTesterMap map;
    for (const double p : pixels) map[3].push_back(KivoRectArea::create(KivoRect::create(p, 0, 1, 1)));
    kivo::detail::CategoryIndex index;
    index.build({}, map, [](const IKivoHitArea& area) { return area.bounds().minX; });
    ASSERT_EQ(index.series().size(), 1u);
    const auto& series = index.series()[0];
    EXPECT_EQ(series.seriesIndex, 3);
    const auto found = [&](double c) {
        const auto* area = index.nearest(series, c);
        for (std::size_t i = 0; i < map[3].size(); ++i)
            if (map[3][i].get() == area) return static_cast<int>(i);
        return -1;
    };
    struct Case {
        double c;
        int expected;
    };
    const Case cases[] = {{150, 2}, {250, 3}, {200, 2}, {210, 2}, {75, 5}, {80, 0}, {-1000, 5}, {1000, 3}, {NAN, -1}};
    for (const auto& c : cases) EXPECT_EQ(found(c.c), c.expected) << c.c;
}

TEST_F(DataPointsAroundTest, OnARotatedChartTheCategoriesRunDownAndValuesAreExchanged) {
    setItems({10, 20, 30}, {}, {1, 2, 3});
    add("sales");
    chart->setRotated(true);
    draw();
    const auto found = around(chart->plotRect()->left(), chart->axisY()->convert(2.1));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->pointIndex(), 1);
    EXPECT_EQ(found[0]->value(), 20);
    EXPECT_EQ(found[0]->dataX(), 2);
    // The area's own point keeps what the plotter gave it.
    const auto own = areaOf(0, 1)->tag().as<KivoChartDataPoint>();
    EXPECT_EQ(own->value(), 2);

    // A new pass with other data is searched afresh.
    setItems({10, 20, 30}, {}, {5, 6, 7});
    draw();
    EXPECT_EQ(around(chart->plotRect()->left(), chart->axisY()->convert(7))[0]->pointIndex(), 2);
}

TEST_F(DataPointsAroundTest, ASeriesWithoutAreasGivesNothing) {
    draw();
    const auto found = chart->getDataPointsAroundPoint(100, 100);
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->empty());
}
