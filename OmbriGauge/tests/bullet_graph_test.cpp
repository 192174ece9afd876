// The bullet graph: its good, bad and target ranges and the pointer's colour over them.

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoBulletGraph.h"
#include "gauge_fixture.h"

using gauge_test::rectNear;
using gauge_test::toRect;

namespace {

class BulletGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = plat::Window::create({0, 0, 320, 240});
        graph = KivoBulletGraph::create({0, 0, 208, 40});
        graph->setIsAnimated(false);
        window->addSubview(graph);
    }
    const plat::RecordingContext& draw() {
        rec.clear();
        window->display(rec);
        return rec;
    }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<KivoBulletGraph> graph;
    plat::RecordingContext rec;
};

}  // namespace

TEST_F(BulletGraphTest, ANewGraphShadesTheWholeScaleWithTheTargetAtItsEnd) {
    EXPECT_EQ(graph->good(), 100);
    EXPECT_EQ(graph->bad(), 100);
    EXPECT_EQ(graph->target(), 100);
    ASSERT_EQ(graph->ranges()->count(), 3u);
    EXPECT_EQ(graph->ranges()->objectAtIndexAs<KivoGaugeRange>(0), graph->rngGood());
    EXPECT_EQ(graph->ranges()->objectAtIndexAs<KivoGaugeRange>(1), graph->rngBad());
    EXPECT_EQ(graph->ranges()->objectAtIndexAs<KivoGaugeRange>(2), graph->rngTarget());
    EXPECT_EQ(graph->direction(), KivoLinearGaugeDirectionLeftToRight);
    draw();
    const auto* bad = rec.findFill(plat::Color(0, 0, 0, 0.3));
    ASSERT_NE(bad, nullptr);
    EXPECT_TRUE(rectNear(bad->bounds(), {4, 4, 200, 32}));
    const auto* target = rec.findFill(plat::Color::black());
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(rectNear(target->bounds(), {203, 7.2, 3, 25.6}, 1e-9));
}

TEST_F(BulletGraphTest, ShadesAndTargetBarFollowTheirLimits) {
    graph->setMax(200);
    graph->setGood(150);
    graph->setBad(80);
    graph->setTarget(120);
    graph->setValue(60);
    draw();
    // The scale maps v to 4 + v: the darker shade (bad over good) spans 0…80, the lighter 80…150.
    EXPECT_TRUE(rectNear(rec.findFill(plat::Color(0, 0, 0, 0.15))->bounds(), {4, 4, 150, 32}));
    EXPECT_TRUE(rectNear(rec.findFill(plat::Color(0, 0, 0, 0.3))->bounds(), {4, 4, 80, 32}));
    // A black bar 3 points long from 1 point before the position of 120, 0.8 of the bar thick.
    EXPECT_TRUE(rectNear(rec.findFill(plat::Color::black())->bounds(), {123, 7.2, 3, 25.6}, 1e-9));

    struct Case {
        std::int64_t direction;
        plat::Rect frame, target;
    };
    const Case cases[] = {
        {KivoLinearGaugeDirectionRightToLeft, {0, 0, 208, 40}, {84, 7.2, 3, 25.6}},
        {KivoLinearGaugeDirectionBottomToTop, {0, 0, 40, 208}, {7.2, 88, 25.6, 3}},
        {KivoLinearGaugeDirectionTopToBottom, {0, 0, 40, 208}, {7.2, 123, 25.6, 3}},
    };
    for (const Case& c : cases) {
        graph->setFrame(c.frame);
        graph->setDirection(c.direction);
        EXPECT_TRUE(rectNear(toRect(*graph->getRangeRect(graph->rngTarget(), 120)), c.target, 1e-9)) << c.direction;
    }
}

TEST_F(BulletGraphTest, TheTargetBarNeverColoursThePointer) {
    graph->setMax(200);
    graph->setGood(150);
    graph->setBad(80);
    graph->setTarget(120);
    graph->setShowRanges(false);
    EXPECT_EQ(graph->getPointerColor(110), graph->pointerColor());    // narrowest: the target range
    EXPECT_EQ(graph->getPointerColor(130), plat::Color(0, 0, 0, 1));  // the good range, opaque
    EXPECT_EQ(graph->getPointerColor(50), plat::Color(0, 0, 0, 1));   // the bad range, opaque
    EXPECT_EQ(graph->getPointerColor(190), graph->pointerColor());    // in none
    graph->setGoodRangeColor(plat::Color(0, 0.5, 0, 0.2));
    EXPECT_EQ(graph->getPointerColor(130), plat::Color(0, 0.5, 0, 1));
    graph->setShowRanges(true);
    EXPECT_EQ(graph->getPointerColor(130), graph->pointerColor());
}

TEST_F(BulletGraphTest, LimitsRedrawOnlyWhenTheyChange) {
    draw();
    bool redrawn = false;
    graph->gaugeRendered()->addHandler([&redrawn](const auto&) { redrawn = true; }, graph);
    graph->setTarget(graph->target());
    graph->setTargetColor(graph->targetColor());
    EXPECT_FALSE(graph->needsDisplay());
    graph->setTarget(90);
    EXPECT_TRUE(graph->needsDisplay());
    draw();
    EXPECT_TRUE(redrawn);
}
