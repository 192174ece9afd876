#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/geometry_matchers.h"
#include "pie_access.h"

using kivo::detail::PieTestAccess;
using pie_testing::FixedMetricsEngine;
using plat::testing::RectNear;

namespace {

// A 400 × 300 pie over items labelled `names`, laid out with text of fixed metrics.
class PieLayout : public ::testing::Test {
protected:
    std::shared_ptr<OmbriPie> pie = OmbriPie::create({0, 0, 400, 300});
    std::shared_ptr<FixedMetricsEngine> engine = std::make_shared<FixedMetricsEngine>();

    void bind(const std::vector<std::string>& names) {
        pie->setItemsSource(pie_testing::namedItems(names));
        pie->setBinding("value");
        pie->setBindingName("name");
    }
    void render() { pie->render(engine); }
    plat::Rect rect(const std::shared_ptr<KivoRect>& r) const { return {r->left(), r->top(), r->width(), r->height()}; }
    plat::Point centre() const { return {pie->center()->x(), pie->center()->y()}; }
};

}  // namespace

TEST_F(PieLayout, ALegendItemIsItsSwatchAndTextWithRoomAround) {
    const auto withName = pie->measureLegendItem(engine, "abc");
    EXPECT_EQ(withName->width(), 10 + 18 + 12.0);
    EXPECT_EQ(withName->height(), 12 + 8.0);
    const auto without = pie->measureLegendItem(engine, std::nullopt);
    EXPECT_EQ(without->width(), 22.0);
    EXPECT_EQ(without->height(), 18.0);
}

TEST_F(PieLayout, EachLegendPositionTakesItsRoomFromThePlotRectangle) {
    // Items (34 × 20) and (46 × 20); the legend's box adds 5 on each side (border 1, padding 4).
    bind({"ab", "abcd"});
    struct Case {
        std::int64_t position;
        std::optional<plat::Rect> legend;
        plat::Point centre;
        double radius;
    };
    const Case cases[] = {
        {KivoAxisPositionLeft, plat::Rect{0, 125, 56, 50}, {228, 150}, 144},
        {KivoAxisPositionTop, plat::Rect{155, 10, 90, 30}, {200, 172}, 129},
        {KivoAxisPositionRight, plat::Rect{344, 125, 56, 50}, {172, 150}, 144},
        {KivoAxisPositionBottom, plat::Rect{155, 260, 90, 30}, {200, 130}, 124},
        {KivoAxisPositionNone, std::nullopt, {200, 150}, 144},
        {5, std::nullopt, {200, 150}, 144},
    };
    for (const auto& c : cases) {
        pie->legend()->setPosition(c.position);
        render();
        if (c.legend) {
            ASSERT_TRUE(pie->rectLegend()) << c.position;
            EXPECT_THAT(rect(pie->rectLegend()), RectNear(*c.legend)) << c.position;
        } else {
            EXPECT_FALSE(pie->rectLegend()) << c.position;
        }
        EXPECT_EQ(centre(), c.centre) << c.position;
        EXPECT_EQ(pie->radius(), c.radius) << c.position;
    }
}

TEST_F(PieLayout, ATopLegendThatDoesNotFitWrapsWithLaterRowsCentredOnTheChartWidth) {
    // Five items 118 wide (16 characters): three fit in 400.
    bind({"aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbb", "cccccccccccccccc", "dddddddddddddddd", "eeeeeeeeeeeeeeee"});
    pie->legend()->setPosition(KivoAxisPositionTop);
    render();

    EXPECT_EQ(PieTestAccess::legendWidth(*pie), 354);  // the first row's width
    EXPECT_EQ(PieTestAccess::chartWidth(*pie), 400);
    EXPECT_EQ(PieTestAccess::rowsWidth(*pie), (std::map<std::int32_t, double>{{1, 236}}));
    ASSERT_TRUE(pie->rectLegend());
    EXPECT_THAT(rect(pie->rectLegend()), RectNear({18, 10, 364, 50}));

    std::vector<plat::Rect> items;
    for (const auto& a : pie->legend()->areas()) items.push_back(rect(a));
    const std::vector<plat::Rect> expected{
        {23, 15, 118, 20}, {141, 15, 118, 20}, {259, 15, 118, 20}, {82, 35, 118, 20}, {200, 35, 118, 20}};
    EXPECT_EQ(items, expected);

    // The plot rectangle starts below the legend and 7 more; it loses the legend's height.
    EXPECT_EQ(centre(), (plat::Point{200, 57 + 250 / 2.0}));
    EXPECT_EQ(pie->radius(), 125 - 6.0);
}

TEST_F(PieLayout, ABottomLegendWrapsTheSameWay) {
    bind({"aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbb", "cccccccccccccccc", "dddddddddddddddd"});
    pie->legend()->setPosition(KivoAxisPositionBottom);
    render();
    EXPECT_EQ(PieTestAccess::rowsWidth(*pie), (std::map<std::int32_t, double>{{1, 118}}));
    ASSERT_EQ(pie->legend()->areas().size(), 4u);
    EXPECT_THAT(rect(pie->legend()->areas()[3]), RectNear({141, 300 - 50 - 10 + 5 + 20, 118, 20}));
}

TEST_F(PieLayout, AHorizontalLegendStaysOnOneLine) {
    bind({"aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbb", "cccccccccccccccc", "dddddddddddddddd"});
    pie->legend()->setPosition(KivoAxisPositionTop);
    pie->legend()->setOrientation(KivoLegendOrientationHorizontal);
    render();
    ASSERT_TRUE(pie->rectLegend());
    EXPECT_EQ(pie->rectLegend()->width(), 4 * 118 + 10.0);
    EXPECT_EQ(pie->legend()->areas()[3]->top(), pie->legend()->areas()[0]->top());
}

TEST_F(PieLayout, BorderHeaderAndFooterNarrowThePlotRectangle) {
    bind({"a"});
    pie->legend()->setPosition(KivoAxisPositionNone);
    pie->setBorderWidth(2);
    pie->setHeader("Header");
    pie->setFooter("Footer");
    render();
    // Title bands are the text's 12 and 4 above and below.
    ASSERT_TRUE(pie->rectHeader() && pie->rectFooter());
    EXPECT_THAT(rect(pie->rectHeader()), RectNear({2, 2, 396, 20}));
    EXPECT_THAT(rect(pie->rectFooter()), RectNear({2, 278, 396, 20}));
    EXPECT_EQ(centre(), (plat::Point{200, 150}));
    EXPECT_EQ(pie->radius(), 128 - 6.0);
}

TEST_F(PieLayout, TheDrawingViewGetsThePiesSquareInTheControlsCoordinates) {
    bind({"a"});
    pie->legend()->setPosition(KivoAxisPositionNone);
    pie->setPlotMargin({10, 20, 30, 40});  // top, left, bottom, right
    render();
    const auto& view = pie->pieControl();
    ASSERT_TRUE(view->rectPie());
    EXPECT_THAT(rect(view->rectPie()), RectNear({66, 16, 248, 248}));
    EXPECT_THAT(view->bounds(), RectNear({63, 13, 254, 254}));
    EXPECT_EQ(view->center(), (plat::Point{190, 140}));
    EXPECT_THAT(view->frame(), RectNear(view->bounds()));  // own coordinates equal the pie's
    EXPECT_EQ(view->engine(), std::static_pointer_cast<IKivoRenderEngine>(engine));
    EXPECT_TRUE(view->isRectValid());
}

TEST_F(PieLayout, APieWithoutRoomForAPositiveRadiusGivesItsDrawingViewNoSquare) {
    bind({"a"});
    pie->legend()->setPosition(KivoAxisPositionNone);
    struct Case {
        const char* what;
        plat::Rect frame;
        plat::EdgeInsets margin;
    };
    const Case cases[] = {
        {"12 points", {0, 0, 12, 40}, {}},
        {"5 points", {0, 0, 5, 5}, {}},
        {"margin takes the room", {0, 0, 400, 300}, {150, 0, 150, 0}},
    };
    for (const auto& c : cases) {
        pie->setFrame(c.frame);
        pie->setPlotMargin(c.margin);
        pie->layoutIfNeeded();
        plat::RecordingContext rec;
        pie->drawRect(rec, c.frame);
        const auto& view = pie->pieControl();
        EXPECT_FALSE(view->rectPie()) << c.what;
        EXPECT_FALSE(view->isRectValid()) << c.what;
        EXPECT_GE(view->bounds().width(), 0) << c.what;
        EXPECT_GE(view->bounds().height(), 0) << c.what;
        EXPECT_EQ(pie->radius(), 0) << c.what;
    }
    pie->setFrame({0, 0, 14, 40});  // radius 1
    pie->setPlotMargin({});
    plat::RecordingContext rec;
    pie->drawRect(rec, {0, 0, 14, 40});
    EXPECT_TRUE(pie->pieControl()->isRectValid());
}

TEST_F(PieLayout, ANegativeOrNaNSumLeavesTheDrawingViewAsItWas) {
    bind({"a"});
    for (double sum : {-1.0, std::nan("")}) {
        pie->pieControl()->setRectPie(nullptr);
        pie->pieControl()->setSum(sum);
        PieTestAccess::renderPieControl(*pie, engine, KivoRect::create(0, 0, 400, 300));
        EXPECT_FALSE(pie->pieControl()->rectPie()) << sum;
    }
}
