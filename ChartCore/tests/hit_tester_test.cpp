#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

#include "ChartCore/KivoDataPoint.h"
#include "ChartCore/KivoHitAreas.h"
#include "ChartCore/KivoHitTester.h"

namespace {

std::shared_ptr<KivoCircleArea> circle(double x, double y, double r) {
    return KivoCircleArea::create(KivoPoint::create(x, y), r);
}
std::shared_ptr<KivoRectArea> rect(double x, double y, double w, double h) {
    return KivoRectArea::create(KivoRect::create(x, y, w, h));
}
std::shared_ptr<KivoPoint> at(double x, double y) { return KivoPoint::create(x, y); }

}  // namespace

TEST(KivoHitAreas, DistanceIsZeroInsideEdgesIncludedAndMeasuredFromTheOutline) {
    struct Case {
        const char* name;
        std::shared_ptr<IKivoHitArea> area;
        double x, y;
        bool inside;
        double distance;
    };
    const Case cases[] = {
        {"circle centre", circle(10, 10, 5), 10, 10, true, 0},
        {"circle rim", circle(10, 10, 5), 15, 10, true, 0},
        {"circle outside", circle(10, 10, 5), 10, 22, false, 7},
        {"circle of negative radius", circle(10, 10, -5), 13, 14, false, 5},
        {"rect corner", rect(0, 0, 10, 20), 10, 20, true, 0},
        {"rect left edge", rect(0, 0, 10, 20), 0, 7, true, 0},
        {"rect beside", rect(0, 0, 10, 20), 14, 7, false, 4},
        {"rect off a corner", rect(0, 0, 10, 20), 13, 24, false, 5},
        {"rect of negative size", rect(10, 20, -10, -20), 5, 5, true, 0},
    };
    for (const auto& c : cases) {
        const KivoPoint p(c.x, c.y);
        EXPECT_EQ(c.area->contains(p), c.inside) << c.name;
        EXPECT_DOUBLE_EQ(c.area->distance(p), c.distance) << c.name;
    }
    // Areas without usable geometry are never hit.
    EXPECT_TRUE(std::isnan(KivoRectArea::create(nullptr)->distance(KivoPoint(0, 0))));
    EXPECT_TRUE(std::isnan(rect(0, NAN, 10, 10)->distance(KivoPoint(5, 5))));
    EXPECT_FALSE(rect(0, NAN, 10, 10)->contains(KivoPoint(5, 5)));
    EXPECT_TRUE(std::isnan(KivoCircleArea::create(nullptr, 3)->distance(KivoPoint(0, 0))));
}

TEST(KivoHitAreas, KeepTheirTagAndACopyOfTheirGeometry) {
    auto given = KivoRect::create(0, 0, 10, 10);
    auto area = KivoRectArea::create(given);
    given->setLeft(100);
    EXPECT_EQ(area->rect()->left(), 0);

    auto point = KivoDataPoint::create();
    area->setTag(point);
    EXPECT_EQ(area->tag().as<KivoDataPoint>(), point);
    auto slice = circle(0, 0, 1);
    slice->setTag(3);
    EXPECT_EQ(slice->tag().asInteger(), 3);
}

class KivoHitTesterTest : public ::testing::Test {
protected:
    std::shared_ptr<KivoHitTester> tester = KivoHitTester::create();
    std::shared_ptr<KivoCircleArea> a0 = circle(0, 0, 2), b0 = circle(100, 0, 2);
    std::shared_ptr<KivoRectArea> a1 = rect(20, -5, 10, 10);
    void SetUp() override {
        tester->add(a0, 0);
        tester->add(b0, 0);
        tester->add(a1, 1);
        tester->add(nullptr, 1);  // ignored
    }
};

TEST_F(KivoHitTesterTest, HitTestFindsTheNearestAreaOverAllSeriesOrWithinOne) {
    auto r = tester->hitTest(at(16, 0));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->area(), a1);
    EXPECT_EQ(r->seriesIndex(), 1);
    EXPECT_DOUBLE_EQ(r->distance(), 4);

    r = tester->hitTestSeries(at(16, 0), 0);  // series 1 is nearer but not asked for
    ASSERT_TRUE(r);
    EXPECT_EQ(r->area(), a0);
    EXPECT_EQ(r->seriesIndex(), 0);
    EXPECT_DOUBLE_EQ(r->distance(), 14);

    EXPECT_FALSE(tester->hitTestSeries(at(0, 0), 7));
    EXPECT_FALSE(tester->hitTest(nullptr));
    // A far area is still the nearest one: deciding whether it is near enough is the caller's.
    EXPECT_EQ(tester->hitTest(at(1000, 0))->area(), b0);
}

TEST_F(KivoHitTesterTest, AmongEquallyNearAreasTheOneAddedLastWins) {
    auto top = circle(0, 0, 2);
    tester->add(top, 0);
    EXPECT_EQ(tester->hitTest(at(1, 0))->area(), top);
    EXPECT_EQ(tester->hitTestSeries(at(1, 0), 0)->area(), top);
    auto later = circle(0, 0, 2);
    tester->add(later, 5);
    EXPECT_EQ(tester->hitTest(at(1, 0))->area(), later);
}

TEST_F(KivoHitTesterTest, TheMapListsEachSeriesAreasInOrderUntilCleared) {
    const auto& map = tester->getHitTesterMap();
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(0), (KivoHitTester::AreaList{a0, b0}));
    EXPECT_EQ(map.at(1), (KivoHitTester::AreaList{a1}));
    tester->add(circle(5, 5, 1), 0);  // back to a series added before
    EXPECT_EQ(map.at(0).size(), 3u);
    EXPECT_EQ(tester->count(), 4u);
    tester->clear();
    EXPECT_TRUE(tester->getHitTesterMap().empty());
    EXPECT_FALSE(tester->hitTest(at(0, 0)));
    tester->add(a0, 2);
    EXPECT_EQ(tester->hitTest(at(0, 0))->seriesIndex(), 2);
}

TEST_F(KivoHitTesterTest, ABlockCountsAsItsAreasAddedInTurn) {
    // Three discs in one block that keeps them alive, between single areas of series 0.
    struct Block {
        std::vector<KivoCircleArea> discs;
    };
    auto block = std::make_shared<Block>();
    for (double x : {40.0, 50.0, 60.0}) block->discs.emplace_back(KivoPoint::create(x, 0), 2);
    std::weak_ptr<Block> watch = block;
    tester->addAll(block, std::span(block->discs), 0);
    auto last = circle(60, 0, 2);
    tester->add(last, 0);
    tester->addAll(block, std::span(block->discs).first(0), 3);            // empty: nothing
    tester->addAll(std::shared_ptr<Block>(), std::span(block->discs), 3);  // no owner: nothing
    block.reset();
    EXPECT_FALSE(watch.expired());  // the tester keeps the block

    EXPECT_EQ(tester->count(), 7u);
    auto r = tester->hitTest(at(51, 0));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->area().get(), &watch.lock()->discs[1]);
    EXPECT_EQ(r->seriesIndex(), 0);
    EXPECT_DOUBLE_EQ(r->distance(), 0);
    EXPECT_EQ(tester->hitTestSeries(at(60, 0), 0)->area(), last);  // added after the block: on top
    EXPECT_FALSE(tester->hitTestSeries(at(0, 0), 3));

    // The map lists the block's areas in their place.
    const auto& map = tester->getHitTesterMap();
    ASSERT_EQ(map.size(), 2u);
    const auto& series0 = map.at(0);
    ASSERT_EQ(series0.size(), 6u);
    EXPECT_EQ(series0[1], b0);
    EXPECT_EQ(series0[2].get(), &watch.lock()->discs[0]);
    EXPECT_EQ(series0[4].get(), &watch.lock()->discs[2]);
    EXPECT_EQ(series0[5], last);

    // A found area holds the block after the tester lets it go.
    r = tester->hitTest(at(40, 0));
    tester->clear();
    EXPECT_FALSE(watch.expired());
    r.reset();
    EXPECT_TRUE(watch.expired());
}
