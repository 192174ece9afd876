#include <gtest/gtest.h>

#include <cmath>

#include "KivoCore/KivoGeometry.h"

TEST(KivoGeometry, ExactEqualityNaNAndSignedZero) {
    auto p = KivoPoint::create(NAN, 1);
    EXPECT_FALSE(p->isEqual(p));
    EXPECT_TRUE(KivoPoint::create(0.0, 1)->isEqual(KivoPoint::create(-0.0, 1)));
    EXPECT_FALSE(KivoPoint::create(1, 2)->isEqual(std::shared_ptr<KivoPoint>()));
    EXPECT_TRUE(KivoSize::create(3, 4)->isEqual(KivoSize::create(3, 4)->clone()));
    EXPECT_FALSE(KivoRect::create(1, 2, 3, 4)->isEqual(KivoRect::create(1, 2, 3, 5)));
    EXPECT_FALSE(plat::Value(KivoPoint::create(1, 2)) == plat::Value(KivoSize::create(1, 2)));
    EXPECT_TRUE(plat::Value(KivoPoint::create(1, 2)) == plat::Value(KivoPoint::create(1, 2)));
}

TEST(KivoGeometry, ContainsPointIsInclusiveAndNeverNormalises) {
    struct Case {
        double l, t, w, h, x, y;
        bool inside;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, true},  // a degenerate rectangle holds its own corner
        {0, 0, 0, 0, 0.0001, 0, false},
        {10, 20, 30, 40, 40, 60, true},  // right and bottom edges included
        {10, 20, 30, 40, 40.001, 60, false},
        {10, 20, -5, 40, 8, 30, false},  // negative width contains nothing
        {10, 20, 30, -5, 15, 18, false},
        {0, 0, 10, 10, NAN, 5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KivoRect::create(c.l, c.t, c.w, c.h)->containsPoint(KivoPoint::create(c.x, c.y)), c.inside)
            << c.l << "," << c.t << "," << c.w << "," << c.h << " ∋ " << c.x << "," << c.y;
    EXPECT_FALSE(KivoRect::create(0, 0, 1, 1)->containsPoint(nullptr));
}

TEST(KivoGeometry, InflateMakesANewRectAndDerivedEdgesFollow) {
    auto r = KivoRect::create(10, 20, 30, 40);
    auto g = r->inflate(2, 3);
    EXPECT_TRUE(g->isEqual(KivoRect::create(8, 17, 34, 46)));
    EXPECT_TRUE(r->isEqual(KivoRect::create(10, 20, 30, 40)));
    r->setLeft(15);
    EXPECT_EQ(r->right(), 45);
    r->setWidth(5);
    EXPECT_EQ(r->right(), 20);
    EXPECT_EQ(r->left(), 15);
    EXPECT_EQ(r->bottom(), 60);
}
