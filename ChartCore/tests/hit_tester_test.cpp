#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
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

namespace {

// An area that cannot tell where it lies: the index must still try it.
class HiddenBoundsArea : public plat::Object, public IKivoHitArea {
public:
    HiddenBoundsArea(double x, double y) : _x(x), _y(y) {}
    bool contains(const KivoPoint& p) const override { return distance(p) == 0; }
    double distance(const KivoPoint& p) const override { return std::fabs(p.x() - _x) + std::fabs(p.y() - _y); }
    const plat::Value& tag() const override { return _tag; }
    void setTag(plat::Value tag) override { _tag = std::move(tag); }

private:
    double _x, _y;
    plat::Value _tag;
};

// What a query must answer: every area in insertion order, series by series, the nearest at a
// finite distance, ties to the one met last.
struct Expected {
    IKivoHitArea* area = nullptr;
    std::int32_t series = -1;
    double distance = 0;
};
Expected scan(const KivoHitTester::HitTesterMap& map, const KivoPoint& p, std::optional<std::int32_t> only = std::nullopt) {
    Expected e;
    double best = INFINITY;
    for (const auto& [series, areas] : map) {
        if (only && series != *only) continue;
        for (const auto& area : areas) {
            const double d = area->distance(p);
            if (!std::isfinite(d) || d > best) continue;
            best = d;
            e = {area.get(), series, d};
        }
    }
    return e;
}

// Random circles and rectangles in a few series, half on a coarse lattice so that equal distances
// (and areas lying exactly on each other) are common; some with NaN geometry, some without bounds.
void fillRandomly(KivoHitTester& tester, std::mt19937& rng, int count, std::vector<std::shared_ptr<void>>& keep) {
    std::uniform_int_distribution<int> coord(0, 40), size(0, 6), kind(0, 9), series(0, 3);
    std::uniform_real_distribution<double> off(0, 1);
    for (int i = 0; i < count; ++i) {
        // Every other area off the lattice, at coordinates no float holds exactly.
        const double jitter = i % 2 ? off(rng) / 3 : 0;
        const double x = coord(rng) * 2.5 + jitter, y = coord(rng) * 2.5 + jitter;
        std::shared_ptr<IKivoHitArea> area;
        switch (kind(rng)) {
            case 0:
                area = circle(NAN, y, 3);
                break;
            case 1:
                area = rect(x, y, NAN, 4);
                break;
            case 2:
                area = std::make_shared<HiddenBoundsArea>(x, y);
                break;
            case 3:
            case 4:
            case 5:
                area = rect(x, y, size(rng) * 2.5 - 5, size(rng) * 2.5);
                break;
            default:
                area = circle(x, y, size(rng));
                break;
        }
        keep.push_back(std::static_pointer_cast<void>(area));
        tester.add(area, series(rng));
    }
}

}  // namespace

TEST(KivoHitTesterIndex, AnswersWhatAScanInInsertionOrderAnswers) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> anywhere(-20, 120);
    std::uniform_int_distribution<int> lattice(-4, 44);
    auto tester = KivoHitTester::create();
    std::vector<std::shared_ptr<void>> keep;
    for (int round = 0; round < 3; ++round) {
        // The second round adds to the areas queried before; the third starts over after a clear.
        if (round == 2) tester->clear();
        fillRandomly(*tester, rng, round == 1 ? 200 : 600, keep);
        const auto& map = tester->getHitTesterMap();
        for (int q = 0; q < 400; ++q) {
            // Half the points on the lattice, where ties abound.
            const KivoPoint p =
                q % 2 ? KivoPoint(anywhere(rng), anywhere(rng)) : KivoPoint(lattice(rng) * 2.5, lattice(rng) * 2.5);
            const auto expected = scan(map, p);
            const auto found = tester->hitTest(KivoPoint::create(p.x(), p.y()));
            ASSERT_EQ(found ? found->area().get() : nullptr, expected.area)
                << "round " << round << " at " << p.x() << ", " << p.y();
            if (found) {
                EXPECT_EQ(found->seriesIndex(), expected.series);
                EXPECT_EQ(found->distance(), expected.distance);
            }
            const std::int32_t series = q % 5;  // 4: a series without areas
            const auto inSeries = scan(map, p, series);
            const auto foundInSeries = tester->hitTestSeries(KivoPoint::create(p.x(), p.y()), series);
            ASSERT_EQ(foundInSeries ? foundInSeries->area().get() : nullptr, inSeries.area) << "series " << series;
        }
    }
}

TEST(KivoHitTesterIndex, APointOfNoNumberFindsWhatTheAreasSay) {
    auto tester = KivoHitTester::create();
    tester->add(circle(0, 0, 2), 0);
    auto hidden = std::make_shared<HiddenBoundsArea>(0, 0);
    tester->add(hidden, 1);
    EXPECT_FALSE(tester->hitTest(at(NAN, 0)));
    EXPECT_FALSE(tester->hitTest(at(INFINITY, 0)));
    const auto generation = tester->generation();
    tester->add(circle(1, 1, 1), 0);
    EXPECT_NE(tester->generation(), generation);
}
