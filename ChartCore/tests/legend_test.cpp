#include <gtest/gtest.h>

#include "ChartCore/KivoLegend.h"
#include "Platform/graphics/recording_context.h"
#include "test_chart.h"

namespace {

class LegendTest : public ::testing::Test {
protected:
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoLegend> legend = KivoLegend::create(chart);
    std::shared_ptr<KivoRenderEngine> engine = KivoRenderEngine::create();
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};

    void SetUp() override {
        chart->setLegend(legend);
        chart->legendItems = {{30, 10}, {50, 12}, {20, 10}};
    }
};

}  // namespace

TEST_F(LegendTest, OrientationFollowsThePositionUnlessSetExplicitly) {
    struct Case {
        std::int64_t position, orientation;
        bool vertical;
    };
    const Case cases[] = {
        {KivoAxisPositionLeft, KivoLegendOrientationAuto, true},
        {KivoAxisPositionRight, KivoLegendOrientationAuto, true},
        {KivoAxisPositionTop, KivoLegendOrientationAuto, false},
        {KivoAxisPositionBottom, KivoLegendOrientationAuto, false},
        {KivoAxisPositionLeft, KivoLegendOrientationHorizontal, false},
        {KivoAxisPositionBottom, KivoLegendOrientationVertical, true},
        {KivoAxisPositionTop, 42, false},
    };
    for (const auto& c : cases) {
        legend->setPosition(c.position);
        legend->setOrientation(c.orientation);
        EXPECT_EQ(legend->isVertical(), c.vertical) << c.position << "/" << c.orientation;
        ASSERT_TRUE(legend->getDesiredSize(engine));
        EXPECT_EQ(chart->legendVertical, c.vertical);
    }
}

TEST_F(LegendTest, DesiredSizeAddsBorderAndPaddingOrIsNilWhenThereIsNoLegend) {
    legend->setPosition(KivoAxisPositionRight);
    legend->setBorderWidth(1);
    legend->setPadding(3);
    auto size = legend->getDesiredSize(engine);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width(), 50 + 8);
    EXPECT_EQ(size->height(), 32 + 8);
    EXPECT_EQ(chart->fontSeenByLegend, legend->labelFont());  // the items are measured in the legend's font

    for (std::int64_t position : {std::int64_t{0}, std::int64_t{5}, std::int64_t{-1}}) {
        legend->setPosition(position);
        EXPECT_FALSE(legend->getDesiredSize(engine)) << position;
    }
    legend->setPosition(KivoAxisPositionTop);
    chart->legendItems.clear();  // the control has nothing to list
    EXPECT_FALSE(legend->getDesiredSize(engine));
}

TEST_F(LegendTest, RenderDrawsTheBoxAndHitTestAnswersTheItemIndex) {
    legend->setPosition(KivoAxisPositionBottom);
    legend->setBorderWidth(2);
    legend->setBorderColor(plat::Color::red());
    legend->setPadding(4);
    ASSERT_TRUE(legend->getDesiredSize(engine));  // 100 + 12 by 12 + 12
    legend->render(engine, KivoPoint::create(40, 150));

    EXPECT_TRUE(chart->legendPoint->isEqual(KivoPoint::create(46, 156)));
    const auto* border = rec.findStroke(plat::Color::red());
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->lineWidth, 2);
    EXPECT_EQ(border->bounds(), (plat::Rect{41, 151, 110, 22}));  // the line lies inside the box
    ASSERT_TRUE(legend->bounds());
    EXPECT_TRUE(legend->bounds()->isEqual(KivoRect::create(40, 150, 112, 24)));

    ASSERT_EQ(legend->areas().size(), 3u);
    struct Case {
        double x, y;
        std::int32_t item;
    };
    const Case cases[] = {{46, 156, 0}, {76, 160, 0}, {77, 160, 1}, {126, 168, 1}, {146, 166, 2}, {147, 160, -1}, {60, 167, -1}};
    for (const auto& c : cases) EXPECT_EQ(legend->hitTest(KivoPoint::create(c.x, c.y)), c.item) << c.x << "," << c.y;
    EXPECT_EQ(legend->hitTest(nullptr), -1);
}

TEST_F(LegendTest, WithoutAMeasuredSizeNothingIsDrawnAndEarlierItemsAreForgotten) {
    legend->setPosition(KivoAxisPositionLeft);
    ASSERT_TRUE(legend->getDesiredSize(engine));
    legend->render(engine, KivoPoint::create(0, 0));
    ASSERT_EQ(legend->areas().size(), 3u);
    legend->setPosition(KivoAxisPositionNone);
    EXPECT_FALSE(legend->getDesiredSize(engine));
    legend->render(engine, KivoPoint::create(0, 0));
    EXPECT_TRUE(legend->areas().empty());
    EXPECT_EQ(legend->hitTest(KivoPoint::create(5, 5)), -1);
    EXPECT_FALSE(legend->bounds());
}
