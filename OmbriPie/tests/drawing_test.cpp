#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "Platform/testing/geometry_matchers.h"
#include "drawing_fixture.h"

using kivo::detail::PieTestAccess;
using pie_testing::PieDrawing;
using plat::testing::PointNear;

namespace {

constexpr double Pi = std::numbers::pi;

struct Slice {
    std::int64_t tag;
    double start, sweep;
    double push;  // of the centre point's base beyond the pie's centre, along the mid angle
    bool hasPath = true;
};

struct Case {
    const char* what;
    std::vector<double> values;
    double startAngle = 0;
    bool reversed = false;
    double offset = 0, selectedOffset = 0, inner = 0;
    std::int64_t selected = -1;
    double radius;
    std::vector<Slice> slices;  // in drawing order
};

}  // namespace

TEST_F(PieDrawing, SlicesTakeTheirSweepFromTheStartAngleAndArePushedAlongTheirMiddles) {
    const double r13 = 100 / 1.3, r12 = 100 / 1.2;
    const Case cases[] = {
        {"start 0: the first slice begins on the left",
         {1, 2, 3},
         0,
         false,
         0,
         0,
         0,
         -1,
         100,
         {{0, 0, Pi / 3, 0}, {1, Pi / 3, 2 * Pi / 3, 0}, {2, Pi, Pi, 0}}},
        {"start 90: the first slice begins at the top",
         {1, 1},
         90,
         false,
         0,
         0,
         0,
         -1,
         100,
         {{0, Pi / 2, Pi, 0}, {1, 3 * Pi / 2, Pi, 0}}},
        {"reversed: the area keeps the running angle as its start",
         {1, 3},
         90,
         true,
         0,
         0,
         0,
         -1,
         100,
         {{0, Pi / 2, Pi / 2, 0}, {1, 0, 3 * Pi / 2, 0}}},
        {"offset 0.1 and selected offset 0.2",
         {1, 1, 2},
         0,
         false,
         0.1,
         0.2,
         0,
         2,
         r13,
         {{0, 0, Pi / 2, 0.1 * r13}, {1, Pi / 2, Pi / 2, 0.1 * r13}, {2, Pi, Pi, 0.3 * r13}}},
        {"offset with a negative sum of fractions: pushed by offset × r, radius whole",
         {1, 1},
         0,
         false,
         0.1,
         -0.3,
         0,
         0,
         100,
         {{1, Pi, Pi, 10}, {0, 0, Pi, 10 - 30}}},
        {"one slice: a whole disc, never pushed by offset", {5}, 0, false, 0.2, 0, 0, -1, 100 / 1.2, {{0, 0, 2 * Pi, 0}}},
        {"one selected slice: pushed by the selected offset only",
         {5},
         0,
         false,
         0.2,
         0.1,
         0,
         0,
         r13,
         {{0, 0, 2 * Pi, 0.1 * r13}}},
        {"all zeros: every slice a whole disc", {0, 0}, 0, false, 0, 0, 0, -1, 100, {{0, 0, 2 * Pi, 0}, {1, 2 * Pi, 2 * Pi, 0}}},
        {"a zero sweep: an area without a path", {0, 1}, 0, false, 0, 0, 0, -1, 100, {{0, 0, 0, 0, false}, {1, 0, 2 * Pi, 0}}},
        {"a selection outside the slices selects nothing", {1, 1}, 0, false, 0, 0.2, 0, 5, r12, {{0, 0, Pi, 0}, {1, Pi, Pi, 0}}},
        {"a doughnut", {1, 1}, 0, false, 0, 0, 0.5, -1, 100, {{0, 0, Pi, 0}, {1, Pi, Pi, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pie->setStartAngle(c.startAngle);
        pie->setReversed(c.reversed);
        pie->setOffset(c.offset);
        pie->setSelectedItemOffset(c.selectedOffset);
        pie->setInnerRadius(c.inner);
        bind(c.values);
        draw(200, c.selected);

        EXPECT_NEAR(view->radius(), c.radius, 1e-9);
        ASSERT_EQ(view->areas().size(), c.slices.size());
        ASSERT_EQ(view->sliceCenterPoints().size(), c.slices.size());
        const double r = view->radius(), ir = c.inner * r;
        for (std::size_t k = 0; k < c.slices.size(); ++k) {
            const Slice& s = c.slices[k];
            const auto a = area(k);
            ASSERT_TRUE(a);
            EXPECT_EQ(a->tag().asInteger(), s.tag) << k;
            EXPECT_NEAR(a->startAngle(), s.start, 1e-12) << k;
            EXPECT_NEAR(a->sweep(), s.sweep, 1e-12) << k;
            EXPECT_EQ(a->path() != nullptr, s.hasPath) << k;
            EXPECT_EQ(!!std::dynamic_pointer_cast<OmbriDonutSegment>(a), c.inner > 0) << k;
            const double mid = c.reversed ? s.start - s.sweep / 2 : s.start + s.sweep / 2;
            const plat::Point base = at(100, 100, s.push, mid);
            const auto& p = view->sliceCenterPoints()[k];
            EXPECT_THAT((plat::Point{p->x(), p->y()}), PointNear(at(base.x, base.y, c.inner > 0 ? (r + ir) / 2 : r / 2, mid)))
                << k;
            // The slice covers its own middle.
            if (s.hasPath) {
                EXPECT_TRUE(a->contains(KivoPoint(p->x(), p->y()))) << k;
            }
        }
    }
}

TEST_F(PieDrawing, SweepsFillExactlyOneTurn) {
    bind({0.1, 0.2, 0.3, 0.4, 1e-9, 7.25});
    draw();
    double total = 0;
    for (std::size_t k = 0; k < view->areas().size(); ++k) total += area(k)->sweep();
    EXPECT_NEAR(total, 2 * Pi, 1e-10);
    EXPECT_EQ(OmbriPieControl::sweep(-3, 3), 2 * Pi);  // negative values draw by their magnitude
    EXPECT_EQ(OmbriPieControl::sweep(3 + 1e-11, 3), 2 * Pi);
}

TEST_F(PieDrawing, TheSelectedSliceIsDrawnLastDashedInTheSelectionStyle) {
    pie->setSliceBorderWidth(1);
    bind({1, 1, 1});
    draw(200, 1);
    auto strokes = rec.strokes();
    ASSERT_FALSE(strokes.empty());
    const plat::DrawOp* last = strokes.back();
    EXPECT_EQ(last->userLineWidth, 3.0);
    EXPECT_EQ(last->userDash, (std::vector<double>{6, 3}));
    EXPECT_EQ(last->color, pie->getColorDark(1));
    EXPECT_EQ(area(2)->tag().asInteger(), 1);
    for (std::size_t k = 0; k + 1 < strokes.size(); ++k) EXPECT_FALSE(strokes[k]->isDashed()) << k;

    pie->setSelectedBorderColor(plat::Color(1, 0, 0));
    pie->setSelectedBorderWidth(5);
    draw(200, 1);
    strokes = rec.strokes();
    EXPECT_EQ(strokes.back()->color, plat::Color(1, 0, 0));
    EXPECT_EQ(strokes.back()->userLineWidth, 5.0);
    // The next pass starts solid again: the dashes lasted for the one segment.
    EXPECT_EQ(rec.findStroke(pie->getColorDark(0))->userLineWidth, 1.0);
}

TEST_F(PieDrawing, AnAreaContainsItsSliceAndIsFarFromEverythingElse) {
    bind({1, 3});
    draw();
    const auto a = area(0);  // the quarter from the left to the top
    EXPECT_TRUE(a->contains(KivoPoint(60, 60)));
    EXPECT_EQ(a->distance(KivoPoint(60, 60)), 0.0);
    EXPECT_FALSE(a->contains(KivoPoint(140, 140)));
    EXPECT_EQ(a->distance(KivoPoint(140, 140)), std::numeric_limits<double>::max());
    EXPECT_FALSE(area(1)->contains(KivoPoint(1, 1)));  // in the square, outside the circle
    const auto never = OmbriPieSegment::create();
    EXPECT_FALSE(never->contains(KivoPoint(0, 0)));
    EXPECT_FALSE(never->bounds().isKnown());
    const KivoRect box = a->bounds().boundingBox();
    EXPECT_THAT((plat::Rect{box.left(), box.top(), box.width(), box.height()}), plat::testing::RectNear({0, 0, 100, 100}, 1e-6));
}

TEST_F(PieDrawing, NoSquareOrANegativeSumDrawsOnlyTheBackground) {
    pie->setPlotAreaBackgroundColor(plat::Color(0, 0, 1));
    bind({1, 2});
    view->setSum(-1);
    draw();
    EXPECT_TRUE(view->areas().empty());
    EXPECT_EQ(rec.fills().size(), 1u);
    EXPECT_TRUE(rec.findFill(plat::Color(0, 0, 1)));
    const auto passes = view->count();
    view->setSum(std::nan(""));
    draw();
    EXPECT_EQ(view->count(), passes + 1);
}

TEST_F(PieDrawing, ACodeSelectionTurnsTheSelectedMiddleExactlyToTheTopTheShortWay) {
    pie->setIsAnimated(false);
    PieTestAccess::setSelectedItemPosition(*pie, KivoAxisPositionTop);
    struct Case {
        std::vector<double> values;
        double startAngle;
        std::int64_t selected;
        double expectedDegrees;
    };
    const Case cases[] = {
        {{1, 6}, 0, 0, 90 - 180.0 / 7},  // slice 0's middle stands at 180 / 7 ≈ 25.71°
        // The middle of slice 4 stands at 360°: -270° computes as -269.99999999999994° and whole
        // degrees would turn the pie 91°; the short way is exactly 90°.
        {{1, 1, 1, 1, 1, 1}, 90, 4, 90},
    };
    for (const auto& c : cases) {
        view->setTransform({});
        view->setRotationAngle(0);
        pie->setStartAngle(c.startAngle);
        pie->setSetWithCode(true);
        bind(c.values);
        draw(200, c.selected);

        const double expected = c.expectedDegrees * Pi / 180;
        const auto t = view->transform();
        EXPECT_NEAR(std::atan2(t.b, t.a), expected, 1e-12) << c.expectedDegrees;
        EXPECT_NEAR(view->rotationAngle(), expected, 1e-12);
        EXPECT_EQ(pie->rotationAngle(), view->rotationAngle());
        EXPECT_EQ(pie->rotation(), view->rotationAngle());
        EXPECT_EQ(pie->angle(), 90);
        EXPECT_FALSE(pie->setWithCode());

        // Once turned, the next pass turns no further.
        draw(200, c.selected);
        EXPECT_NEAR(std::atan2(view->transform().b, view->transform().a), expected, 1e-12);
    }

    // A selection outside the slices turns nothing and keeps the request.
    view->setTransform({});
    pie->setSetWithCode(true);
    draw(200, 7);
    EXPECT_TRUE(view->transform().isIdentity());
}

TEST(PieControlAngle, EachPositionHasItsAngle) {
    auto pie = OmbriPie::create({0, 0, 100, 100});
    const std::pair<std::int64_t, double> cases[] = {{1, 0}, {2, 90}, {3, 180}, {4, 270}, {0, 270}, {7, 270}};
    for (const auto& [position, angle] : cases) {
        PieTestAccess::setSelectedItemPosition(*pie, position);
        pie->pieControl()->getPieAngle();
        EXPECT_EQ(pie->angle(), angle) << position;
    }
}

TEST(PieControlSuperView, IsTheNearestAncestorOfThePieWithAVisibleBackground) {
    auto pie = OmbriPie::create({0, 0, 100, 100});
    EXPECT_EQ(pie->pieControl()->getSuperView(), nullptr);
    auto outer = plat::View::create({0, 0, 300, 300});
    auto inner = plat::View::create({0, 0, 200, 200});
    outer->addSubview(inner);
    inner->addSubview(pie);
    inner->setBackgroundColor(plat::Color(1, 1, 1, 0));
    outer->setBackgroundColor(plat::Color(1, 1, 1, 0.5));
    EXPECT_EQ(pie->pieControl()->getSuperView(), outer);
    EXPECT_EQ(PieTestAccess::colorAlpha(plat::Color(0.2, 0.3, 0.4, 0.25)), 0.25);
}

TEST_F(PieDrawing, OnlyTheSignOfASlicesOwnOffsetEntryCounts) {
    bind({1, 1, 1});
    draw();
    view->areas().clear();
    view->sliceCenterPoints().clear();
    const std::vector<double> offsets{-1, 5};  // slice 2 has no entry: the common push decides
    const auto& engine = pie->renderEngine();
    plat::CurrentContextScope current(rec);
    for (std::int64_t i = 0; i < 3; ++i)
        view->renderSlice(engine, 0, i, false, 0, 10, &offsets, i * 2 * Pi / 3, 100, 100, 100, 0, 0, 3, false);
    ASSERT_EQ(view->sliceCenterPoints().size(), 3u);
    const double pushes[] = {0, 10, 10};
    for (std::size_t i = 0; i < 3; ++i) {
        const double mid = static_cast<double>(i) * 2 * Pi / 3 + Pi / 3;
        const plat::Point base = at(100, 100, pushes[i], mid);
        const auto& p = view->sliceCenterPoints()[i];
        EXPECT_THAT((plat::Point{p->x(), p->y()}), PointNear(at(base.x, base.y, 50, mid))) << i;
    }
}

TEST_F(PieDrawing, APassDrawsFromTheHandedFrameAndASecondPassRepeatsTheFirst) {
    pie->setPlotAreaBackgroundColor(plat::Color(0, 0, 1));
    pie->dataLabel()->setPosition(KivoPieLabelPositionOutside);
    pie->setSelectionMode(KivoChartSelectionModePoint);
    bind({1, 2, 3});
    draw(200, 1);
    const auto first = rec.ops();
    const double radius = view->radius();
    ASSERT_EQ(view->areas().size(), 3u);
    ASSERT_TRUE(rec.findFill(plat::Color(0, 0, 1)));

    // What the pie changes after the hand-over waits for the next one: the pass reads only its frame.
    pie->setPlotAreaBackgroundColor(plat::Color(1, 0, 0));
    pie->setIsXamarinLabel(true);
    pie->setSetWithCode(true);
    rec.clear();
    {
        plat::CurrentContextScope current(rec);
        view->render(pie->renderEngine());
    }
    EXPECT_FALSE(rec.findFill(plat::Color(1, 0, 0)));
    EXPECT_TRUE(pie->setWithCode());
    EXPECT_EQ(view->radius(), radius);
    EXPECT_EQ(view->areas().size(), 3u);
    ASSERT_EQ(rec.ops().size(), first.size());
    for (std::size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(rec.ops()[k].kind, first[k].kind) << k;
        // An outline of width 0 paints nothing: its colour is whatever the engine last held.
        const bool paints = first[k].kind != plat::DrawOp::Kind::Stroke || first[k].lineWidth > 0;
        if (paints) {
            EXPECT_EQ(rec.ops()[k].color, first[k].color) << k;
        }
        EXPECT_EQ(rec.ops()[k].bounds(), first[k].bounds()) << k;
    }
}
