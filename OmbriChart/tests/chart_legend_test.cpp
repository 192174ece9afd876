#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "test_chart.h"

namespace {

const plat::Color Blue = plat::Color::rgb255(30, 90, 200);
const plat::Color Selected = plat::Color::rgb255(220, 20, 20);

class LegendChart : public TestChart {
public:
    static std::shared_ptr<LegendChart> create() {
        return initialized(std::shared_ptr<LegendChart>(new LegendChart({0, 0, 400, 300})));
    }
    using OmbriChart::setChartWidth;
    using OmbriChart::setLegendWidth;

protected:
    using TestChart::TestChart;
};

class ChartLegendTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<LegendChart> chart = LegendChart::create();
    std::shared_ptr<IKivoRenderEngine> engine = chart->renderEngine();
    std::shared_ptr<KivoLegend> legend = chart->legend();

    // Without a name the series has no binding either (a binding would name it).
    std::shared_ptr<KivoSeries> add(std::optional<std::string> name, std::int64_t type = 0) {
        const std::optional<std::string> binding = name ? std::optional<std::string>("v") : std::nullopt;
        auto s = KivoSeries::create(chart, binding, std::move(name));
        s->setChartType(type);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    // The width of one legend item named like the "Item n" series (DejaVu digits are all as wide).
    double itemWidth() {
        engine->setFont(legend->labelFont());
        const double w = add("Item 0")->measureLegendItem(engine)->width();
        chart->series()->removeAllObjects();
        return w;
    }
    std::shared_ptr<KivoSize> measure(double rowWidth, double chartWidth = 400) {
        chart->setLegendWidth(rowWidth);
        chart->setChartWidth(chartWidth);
        return legend->getDesiredSize(engine);
    }
    void draw(double x = 10, double y = 250) {
        rec.clear();
        legend->render(engine, KivoPoint::create(x, y));
    }
    std::vector<plat::Rect> areas() const {
        std::vector<plat::Rect> out;
        for (const auto& r : legend->areas()) out.emplace_back(r->left(), r->top(), r->width(), r->height());
        return out;
    }
};

}  // namespace

TEST_F(ChartLegendTest, AnItemIsItsSymbolAndNameWithMargins) {
    auto s = add("Revenue", OmbriChartTypeColumn);
    s->setColor(Blue);
    const auto text = engine->measureString("Revenue");
    const auto m = s->measureLegendItem(engine);
    EXPECT_DOUBLE_EQ(m->width(), 10 + text->width() + 12);
    EXPECT_DOUBLE_EQ(m->height(), std::max(10.0, text->height()) + 8);
    EXPECT_TRUE(add(std::nullopt)->measureLegendItem(engine)->isEqual(KivoSize::create(22, 18)));

    s->drawLegendItem(engine, KivoRect::create(100, 50, m->width(), m->height()));
    const double cy = 50 + m->height() / 2;
    const auto* symbol = rec.findFill(Blue);
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->bounds(), plat::Rect(104, cy - 5, 10, 10));
    const auto* name = rec.findText("Revenue");
    ASSERT_TRUE(name);
    EXPECT_NEAR(name->bounds().minX(), 118, 1e-9);
    EXPECT_NEAR(name->bounds().midY(), cy, 1e-9);
}

TEST_F(ChartLegendTest, EachChartTypeHasItsSymbol) {
    enum Shape { Square, Line, LineAndDot, Dot, None };
    struct Case {
        std::int64_t type;
        Shape shape;
        double lineWidth;
    };
    const std::vector<Case> cases = {
        {OmbriChartTypeColumn, Square, 0},
        {OmbriChartTypeBar, Square, 0},
        {OmbriChartTypeArea, Square, 0},
        {OmbriChartTypeSplineArea, Square, 0},
        {OmbriChartTypeLine, Line, 2},
        {OmbriChartTypeSpline, Line, 2},
        {OmbriChartTypeCandlestick, Line, 1},
        {OmbriChartTypeHighLowOpenClose, Line, 1},
        {OmbriChartTypeLineSymbols, LineAndDot, 2},
        {OmbriChartTypeSplineSymbols, LineAndDot, 2},
        {OmbriChartTypeScatter, Dot, 0},
        {OmbriChartTypeBubble, Dot, 0},
        {13, None, 0},
    };
    const auto item = KivoRect::create(0, 0, 80, 20);
    for (const auto& c : cases) {
        chart->series()->removeAllObjects();
        auto s = add("S", c.type);
        s->setColor(Blue);
        rec.clear();
        s->drawLegendItem(engine, item);
        std::vector<plat::Rect> blueFills, blueStrokes;
        for (const auto& op : rec.ops()) {
            if (!plat::nearlyEqual(op.color, Blue, 1e-6)) continue;
            (op.kind == plat::DrawOp::Kind::Fill ? blueFills : blueStrokes).push_back(op.bounds());
        }
        const bool line = c.shape == Line || c.shape == LineAndDot;
        const bool dot = c.shape == LineAndDot || c.shape == Dot;
        EXPECT_EQ(blueStrokes.size(), line ? 1u : 0u) << c.type;
        if (line) {
            EXPECT_EQ(blueStrokes[0], plat::Rect(4, 10, 10, 0)) << c.type;
            EXPECT_DOUBLE_EQ(rec.findStroke(Blue)->userLineWidth, c.lineWidth) << c.type;
        }
        ASSERT_EQ(blueFills.size(), c.shape == Square || dot ? 1u : 0u) << c.type;
        if (c.shape == Square) {
            EXPECT_EQ(blueFills[0], plat::Rect(4, 5, 10, 10)) << c.type;
        } else if (dot) {
            EXPECT_EQ(blueFills[0], plat::Rect(6.5, 7.5, 5, 5)) << c.type;  // 5 across, centred 9 in
        }
        EXPECT_EQ(rec.strings(), std::vector<std::string>{"S"}) << c.type;
    }
}

TEST_F(ChartLegendTest, ListingFollowsNameAndVisibility) {
    legend->setPosition(KivoAxisPositionRight);
    EXPECT_FALSE(measure(400));  // no series at all
    auto shown = add("Shown");
    add(std::nullopt);
    add("");
    add("Plot only")->setVisibility(KivoSeriesVisibilityPlot);
    add("Hidden")->setVisibility(KivoSeriesVisibilityHidden);
    auto paler = add("Legend only");
    paler->setVisibility(KivoSeriesVisibilityLegend);
    paler->setColor(Blue);
    ASSERT_TRUE(measure(400));
    draw();
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"Shown", "Legend only"}));
    ASSERT_EQ(legend->areas().size(), 2u);
    // A vertical legend: items one below the other, as wide as the widest.
    const auto first = areas()[0], second = areas()[1];
    EXPECT_EQ(second.y(), first.maxY());
    EXPECT_EQ(second.x(), first.x());
    // The series that is not drawn shows a paler symbol; its name keeps full strength.
    const auto* symbol = rec.findFill(plat::Color(Blue.r, Blue.g, Blue.b, 0.5));
    ASSERT_TRUE(symbol);
    EXPECT_DOUBLE_EQ(rec.findText("Legend only")->color.a, 1.0);
}

TEST_F(ChartLegendTest, ASelectedLineKeepsTheSelectionStroke) {
    auto s = add("Line", OmbriChartTypeLine);
    s->setColor(Blue);
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelectedBorderColor(Selected);
    chart->setSelectedBorderWidth(3);
    chart->setSelection(s);
    s->drawLegendItem(engine, KivoRect::create(0, 0, 60, 20));
    const auto* line = rec.findStroke(Selected);
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->userLineWidth, 3);
    EXPECT_FALSE(rec.findStroke(Blue));

    // A look-alike (same name, binding and type) is not the selected series.
    rec.clear();
    auto twin = add("Line", OmbriChartTypeLine);
    twin->setColor(Blue);
    twin->drawLegendItem(engine, KivoRect::create(0, 0, 60, 20));
    EXPECT_TRUE(rec.findStroke(Blue));
    EXPECT_FALSE(rec.findStroke(Selected));
}

TEST_F(ChartLegendTest, ALegendBelowThePlotWrapsIntoCentredRows) {
    const double m = itemWidth();
    legend->setPosition(KivoAxisPositionBottom);
    for (int i = 1; i <= 5; ++i) add("Item " + std::to_string(i));
    add(std::nullopt);  // the last series has no item: the last row's width is still recorded
    const double inset = legend->inset();

    const auto size = measure(3.5 * m, 400);
    ASSERT_TRUE(size);
    EXPECT_DOUBLE_EQ(size->width(), 3 * m + 2 * inset);
    EXPECT_DOUBLE_EQ(chart->legendWidth(), 3 * m);
    EXPECT_EQ(chart->rowsWidth(), (std::map<std::int32_t, double>{{1, 2 * m}}));
    const auto rows = std::vector<std::int32_t>{0, 0, 0, 1, 1};
    const auto columns = std::vector<std::int32_t>{1, 2, 3, 1, 2};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto s = chart->series()->objectAtIndexAs<KivoSeries>(i);
        EXPECT_EQ(s->itemRowNum(), rows[i]) << i;
        EXPECT_EQ(s->itemColumnNum(), columns[i]) << i;
    }

    draw(10, 250);
    const auto a = areas();
    ASSERT_EQ(a.size(), 5u);
    EXPECT_DOUBLE_EQ(size->height(), 2 * a[0].height() + 2 * inset);
    EXPECT_DOUBLE_EQ(a[0].x(), 10 + inset);
    EXPECT_DOUBLE_EQ(a[2].x(), 10 + inset + 2 * m);
    // Later rows are centred on the chart's width, measured from 0.
    EXPECT_DOUBLE_EQ(a[3].x(), (400 - 2 * m) / 2);
    EXPECT_DOUBLE_EQ(a[4].x(), (400 - 2 * m) / 2 + m);
    EXPECT_DOUBLE_EQ(a[3].y(), 250 + inset + a[0].height());
}

TEST_F(ChartLegendTest, RowBoundaries) {
    const double m = itemWidth();
    legend->setPosition(KivoAxisPositionTop);
    struct Case {
        const char* name;
        double rowWidth;
        int items;
        std::vector<std::int32_t> rows;
        double desiredWidth;
    };
    const std::vector<Case> cases = {
        {"items that fill the row exactly stay on it; the next opens a row", 3 * m, 4, {0, 0, 0, 1}, 3 * m},
        {"a first item wider than the row stays on the first row", m / 2, 2, {0, 1}, m},
        {"later rows wrap at the first row's width", 2.5 * m, 5, {0, 0, 1, 1, 2}, 2 * m},
        {"all on one row", 10 * m, 3, {0, 0, 0}, 3 * m},
    };
    for (const auto& c : cases) {
        chart->series()->removeAllObjects();
        for (int i = 0; i < c.items; ++i) add("Item " + std::to_string(i));
        const auto size = measure(c.rowWidth);
        ASSERT_TRUE(size) << c.name;
        EXPECT_DOUBLE_EQ(size->width(), c.desiredWidth + 2 * legend->inset()) << c.name;
        for (int i = 0; i < c.items; ++i)
            EXPECT_EQ(chart->series()->objectAtIndexAs<KivoSeries>(i)->itemRowNum(), c.rows[i]) << c.name << " " << i;
    }

    // A legend that no longer wraps puts every item on the first row again.
    chart->series()->removeAllObjects();
    for (int i = 0; i < 5; ++i) add("Item " + std::to_string(i));
    measure(2.5 * m);
    legend->setOrientation(KivoLegendOrientationHorizontal);
    const auto line = measure(m);
    EXPECT_DOUBLE_EQ(line->width(), 5 * m + 2 * legend->inset());
    draw(0, 0);
    const auto a = areas();
    ASSERT_EQ(a.size(), 5u);
    for (std::size_t i = 1; i < a.size(); ++i) {
        EXPECT_DOUBLE_EQ(a[i].y(), a[0].y());
        EXPECT_DOUBLE_EQ(a[i].x(), a[i - 1].maxX());
    }
}
