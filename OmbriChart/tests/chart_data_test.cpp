#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "recording_plotter.h"

namespace {

constexpr double Jan2024 = 1704067200;

plat::ArrayPtr itemsWithX(std::vector<plat::Value> xs) {
    auto list = std::make_shared<plat::Array>();
    double v = 1;
    for (auto& x : xs) {
        plat::Dictionary d{{"v", v}, {"w", v * 100}};
        ++v;
        if (!x.isNil()) d["x"] = std::move(x);
        list->push_back(plat::Value(std::move(d)));
    }
    return list;
}

std::string describe(const KivoValues& values) {
    std::ostringstream out;
    out.precision(12);
    for (const auto& v : *values) {
        if (std::isnan(v.asDouble()))
            out << "gap ";
        else
            out << v.asDouble() << " ";
    }
    return out.str();
}

std::string describe(const std::vector<std::string>& labels) {
    std::string out;
    for (const auto& l : labels) out += "'" + l + "' ";
    return out;
}

class ChartDataTest : public ChartInWindowTest<RecordingChart> {
protected:
    void SetUp() override {
        chart->setIsAnimated(false);
        window->addSubview(chart);
    }
    std::shared_ptr<KivoSeries> add(const std::string& name, const std::string& binding = "v") {
        auto s = KivoSeries::create(chart, binding, name);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
};

}  // namespace

TEST_F(ChartDataTest, BindingReadsNumbersAndDatesAsValuesAndAnythingElseAsCategories) {
    struct Case {
        const char* name;
        std::vector<plat::Value> xs;
        const char* xvals;
        const char* xlabels;
        std::int64_t type;
    };
    const Case cases[] = {
        {"numbers", {1, 2.5, 3}, "1 2.5 3 ", "", KivoDataTypeNumber},
        {"dates as seconds", {plat::Date(Jan2024), plat::Date(Jan2024 + 60)}, "1704067200 1704067260 ", "", KivoDataTypeDate},
        {"one text makes categories", {1, "b", 3}, "", "'1' 'b' '3' ", KivoDataTypeNumber},
        // A missing value is a gap, not the end of the data.
        {"a gap among numbers", {1, plat::Value(), 3}, "1 gap 3 ", "", KivoDataTypeNumber},
        {"a gap among categories", {"a", plat::Value(), "c"}, "", "'a' '' 'c' ", KivoDataTypeString},
    };
    chart->setBindingX("x");
    for (const auto& c : cases) {
        chart->setItemsSource(itemsWithX(c.xs));
        EXPECT_EQ(describe(chart->xvals()), c.xvals) << c.name;
        EXPECT_EQ(describe(chart->xlabels()), c.xlabels) << c.name;
        EXPECT_EQ(chart->xDataType(), c.type) << c.name;
    }
    // Without an X binding, or without a collection view, there is neither.
    chart->setBindingX(std::nullopt);
    chart->setItemsSource(itemsWithX({1, 2}));
    EXPECT_TRUE(chart->xvals()->empty());
    EXPECT_TRUE(chart->xlabels().empty());
    chart->setBindingX("x");
    chart->setCollectionView(nullptr);
    EXPECT_TRUE(chart->xvals()->empty());
    EXPECT_EQ(chart->xDataType(), KivoDataTypeNone);
}

TEST_F(ChartDataTest, NewDataIsReadAgainBySeriesThatShowTheChartsItems) {
    auto s = add("A");
    chart->setItemsSource(itemsWithX({plat::Value(), plat::Value()}));
    EXPECT_EQ(s->getValues(0)->size(), 2u);
    // A sort of the items rebinds the chart: the series reads the new order.
    auto list = itemsWithX({plat::Value(), plat::Value(), plat::Value()});
    chart->collectionView()->setSourceCollection(list);
    EXPECT_EQ(s->getValues(0)->size(), 3u);
}

TEST_F(ChartDataTest, AxisLimitsComeFromThePlottersRectangle) {
    chart->setChartType(OmbriChartTypeLine);
    chart->setItemsSource(itemsWithX({plat::Value(), plat::Value()}));
    add("A");
    auto line = chart->lines();
    line->limits = KivoRect::create(-1, 10, 21, 90);
    chart->axisX()->setLogBase(2.0);
    line->logBases.clear();
    chart->prepareForRender();
    // The chart-type plotter measures first, then gives the X and the Y axis' limits with their bases.
    EXPECT_EQ(line->logBases, (std::vector<std::optional<double>>{std::nullopt, 2.0, std::nullopt}));
    chart->axisX()->setLogBase(std::nullopt);
    chart->prepareForRender();
    EXPECT_EQ(chart->axisX()->actualMin(), -1);
    EXPECT_EQ(chart->axisX()->actualMax(), 20);
    EXPECT_EQ(chart->axisY()->actualMin(), 10);
    EXPECT_EQ(chart->axisY()->actualMax(), 100);

    // A column series anywhere makes the bar plotter measure the whole chart.
    add("C")->setChartType(OmbriChartTypeColumn);
    chart->bars()->limits = KivoRect::create(-0.5, 0, 2, 50);
    chart->prepareForRender();
    EXPECT_EQ(chart->axisX()->actualMin(), -0.5);
    EXPECT_EQ(chart->axisY()->actualMax(), 50);

    // An origin on one axis puts the other back to its whole range.
    chart->axisX()->setScale(0.5);
    chart->axisY()->setOrigin(0);
    chart->prepareForRender();
    EXPECT_EQ(chart->axisX()->scale(), 1.0);
}

TEST_F(ChartDataTest, AnAxisWithAnOriginCrossesTheOtherAtThatValue) {
    chart->setItemsSource(itemsWithX({plat::Value(), plat::Value(), plat::Value()}));
    add("A");
    chart->setChartType(OmbriChartTypeLine);
    chart->lines()->limits = KivoRect::create(0, -50, 4, 100);
    // Room at the left and top of the chart: the bands of the axes do not start at 0.
    chart->setPadding({30, 40, 0, 0});
    chart->axisX()->setOrigin(0);  // the X axis crosses Y at 0: mid-height
    chart->axisY()->setOrigin(2);  // the Y axis crosses X at 2: mid-width
    chart->axisY()->setLineColor(plat::Color::rgb255(200, 0, 0));
    chart->axisX()->setLineColor(plat::Color::rgb255(0, 0, 200));
    draw();
    const KivoRect plot = *chart->plotRect();
    // Both axis lines lie on the crossings, inside the plot, wherever their bands are.
    const auto* yLine = rec.findStroke(plat::Color::rgb255(200, 0, 0));
    const auto* xLine = rec.findStroke(plat::Color::rgb255(0, 0, 200));
    ASSERT_TRUE(yLine && xLine);
    EXPECT_NEAR(yLine->bounds().x(), plot.left() + plot.width() / 2, 1e-9);
    EXPECT_NEAR(xLine->bounds().y(), plot.top() + plot.height() / 2, 1e-9);
}

TEST_F(ChartDataTest, AddedAxesFitTheirOwnSeriesAndDrawOnlyWhenLaidOut) {
    chart->setItemsSource(itemsWithX({plat::Value(), plat::Value(), plat::Value()}));
    auto right = KivoAxis::create(KivoAxisPositionRight, chart);
    right->setTitle("Right");
    auto spare = KivoAxis::create(KivoAxisPositionRight, chart);
    spare->setTitle("Spare");
    OmbriChartTestAccess::axesArray(*chart).push_back(right);
    OmbriChartTestAccess::axesArray(*chart).push_back(spare);
    add("A");
    auto big = add("Big", "w");
    big->setAxisY(right);
    // The recording plotter reports the data as it is: the added axis gets the range of its series only.
    draw();
    auto bars = chart->bars();
    ASSERT_TRUE(bars);
    EXPECT_EQ(right->actualMin(), 100);
    EXPECT_EQ(right->actualMax(), 300);
    // The series are drawn with the chart's own analysis of all of them.
    EXPECT_EQ(bars->dataInfo(), chart->dataInfo());
    EXPECT_EQ(chart->dataInfo()->getMinY(), 1);
    EXPECT_EQ(chart->dataInfo()->getMaxY(), 300);
    const auto texts = rec.strings();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Right"), texts.end());
    // An axis that no series uses takes no room, and so is not drawn.
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Spare"), texts.end());
}
