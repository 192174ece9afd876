#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/testing/geometry_matchers.h"
#include "drawing/render_engine_fixture.h"

using plat::Color;
using plat::DrawOp;
using plat::Path;
using plat::Point;
using plat::Rect;
using plat::testing::BezierArcTolerance;
using plat::testing::PointNear;
using plat::testing::RectNear;
using std::numbers::pi;

namespace {

// The last point of the subpath before the first `Line` to `target` (where an arc ended).
Point pointBefore(const Path& p, Point target) {
    const auto& pts = p.points();
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (std::hypot(pts[i].x - target.x, pts[i].y - target.y) < 1e-9) return pts[i - 1];
    return {NAN, NAN};
}

std::vector<Path::Verb> verbsOf(const DrawOp* op) { return op->path.verbs(); }

using V = Path::Verb;

}  // namespace

TEST_F(RenderEngineTest, EllipseTakesTheFullWidthAndHeightAboutItsCentre) {
    engine.setFill(Color::red());
    engine.setStroke(Color::blue());
    engine.setStrokeThickness(2);
    engine.drawEllipse(50, 50, 10, 6);
    ASSERT_EQ(rec.fills().size(), 1u);
    ASSERT_EQ(rec.strokes().size(), 1u);
    EXPECT_EQ(rec.ops()[0].kind, DrawOp::Kind::Fill);  // fill first, then the outline
    EXPECT_THAT(rec.fills()[0]->bounds(), RectNear({45, 47, 10, 6}));
    EXPECT_EQ(rec.fills()[0]->color, Color::red());
    EXPECT_EQ(rec.strokes()[0]->color, Color::blue());
    EXPECT_EQ(rec.strokes()[0]->lineWidth, 2);
}

TEST_F(RenderEngineTest, BorderDashesLastOneRectangleOrSegmentButAnyNumberOfLines) {
    struct Case {
        const char* name;
        std::function<void(KivoRenderEngine&)> draw;
        bool firstDashed, secondDashed;
    };
    const std::vector<Case> cases = {
        {"rect", [](auto& e) { e.drawRect(0, 0, 5, 5); }, true, false},
        {"line", [](auto& e) { e.drawLine(0, 0, 5, 5); }, true, true},
        {"ellipse", [](auto& e) { e.drawEllipse(5, 5, 4, 4); }, true, true},
        {"polyline",
         [](auto& e) {
             e.drawLines(std::vector<double>{0, 5}, std::vector<double>{0, 5});
         },
         true, true},
        {"polygon",
         [](auto& e) {
             e.drawPolygon(std::vector<double>{0, 5, 0}, std::vector<double>{0, 5, 5});
         },
         true, true},
        {"gauge band", [](auto& e) { e.drawRadialGauge(10, 10, 0, 0, 8, 4, 0, 1); }, true, true},
        {"selected pie", [](auto& e) { e.drawPieSegment(10, 10, 8, 0, 1, true); }, true, false},
        {"unselected pie", [](auto& e) { e.drawPieSegment(10, 10, 8, 0, 1, false); }, false, false},
        {"selected doughnut", [](auto& e) { e.drawDonutSegment(10, 10, 8, 4, 0, 1, true); }, true, false},
        {"rect not selected", [](auto& e) { e.drawRect(0, 0, 5, 5, false); }, true, true},
    };
    for (const auto& c : cases) {
        rec.clear();
        KivoRenderEngine e;
        e.setBorderDashes({4, 2});
        c.draw(e);
        c.draw(e);
        auto strokes = rec.strokes();
        ASSERT_EQ(strokes.size(), 2u) << c.name;
        EXPECT_EQ(strokes[0]->isDashed(), c.firstDashed) << c.name;
        EXPECT_EQ(strokes[1]->isDashed(), c.secondDashed) << c.name;
    }
}

TEST_F(RenderEngineTest, SelectedRectanglesUseTheSelectedDashesAndRestoreASolidContextDash) {
    engine.setBorderDashes({4, 2});
    engine.drawRect(0, 0, 5, 5, true);  // no selected dashes: solid
    engine.setSelectedDashes({1, 1});
    engine.drawRect(0, 0, 5, 5, true);
    auto strokes = rec.strokes();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_FALSE(strokes[0]->isDashed());
    EXPECT_EQ(strokes[1]->userDash, (std::vector<double>{1, 1}));
    EXPECT_TRUE(rec.state().dash.empty());
    EXPECT_EQ(engine.borderDashes(), (std::vector<double>{4, 2}));
}

TEST_F(RenderEngineTest, DashLengthsThatAreNaNCountAsZeroAndBrokenPatternsDrawSolid) {
    engine.setBorderDashes({4, NAN, 2});
    engine.drawLine(0, 0, 10, 0);
    engine.setBorderDashes({0, 0});
    engine.drawLine(0, 0, 10, 0);
    engine.setBorderDashes({-3, 2});
    engine.drawLine(0, 0, 10, 0);
    auto strokes = rec.strokes();
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0]->userDash, (std::vector<double>{4, 0, 2}));
    EXPECT_FALSE(strokes[1]->isDashed());
    EXPECT_FALSE(strokes[2]->isDashed());
}

TEST_F(RenderEngineTest, OpacityIsAppliedByEveryOperationButSegmentsAndImages) {
    struct Case {
        const char* name;
        std::function<void(KivoRenderEngine&)> draw;
        bool appliesOpacity;
    };
    auto img = std::make_shared<plat::Image>(2, 2);
    const std::vector<Case> cases = {
        {"rect", [](auto& e) { e.drawRect(0, 0, 5, 5); }, true},
        {"ellipse", [](auto& e) { e.drawEllipse(5, 5, 4, 4); }, true},
        {"line", [](auto& e) { e.drawLine(0, 0, 5, 5); }, true},
        {"splines",
         [](auto& e) {
             e.drawSplines(std::vector<double>{0, 5, 9}, std::vector<double>{0, 5, 1}, false);
         },
         true},
        {"gauge", [](auto& e) { e.drawRadialGauge(10, 10, 0, 0, 8, 4, 0, 7); }, true},
        {"text", [](auto& e) { e.drawString("a", KivoPoint::create(1, 1)); }, true},
        {"pie", [](auto& e) { e.drawPieSegment(10, 10, 8, 0, 1, false); }, false},
        {"doughnut", [](auto& e) { e.drawDonutSegment(10, 10, 8, 4, 0, 1, false); }, false},
        {"image",
         [img](auto& e) {
             e.drawImage(img, {0, 0, 4, 4});
         },
         false},
    };
    for (const auto& c : cases) {
        rec.clear();
        rec.setAlpha(0.3);
        KivoRenderEngine e;
        e.setOpacity(0.8);
        c.draw(e);
        ASSERT_FALSE(rec.ops().empty()) << c.name;
        EXPECT_DOUBLE_EQ(rec.ops().back().alpha, c.appliesOpacity ? 0.8 : 0.3) << c.name;
    }
}

TEST_F(RenderEngineTest, PointListsUseTheShorterListAndNeedTwoPoints) {
    engine.drawLines(std::vector<double>{0, 1, 2, 3, 4}, std::vector<double>{5, 6, 7});
    ASSERT_EQ(rec.strokes().size(), 1u);
    EXPECT_EQ(rec.strokes()[0]->path.points().size(), 3u);
    EXPECT_EQ(rec.strokes()[0]->lineJoin, plat::LineJoin::Round);
    rec.clear();
    rec.setAlpha(0.5);
    engine.setOpacity(0.2);
    std::vector<double> one{1};
    engine.drawLines(one, one);
    engine.drawSplines(one, one, false);
    engine.drawSplineAreas(one, one, true, false);
    engine.drawPolygon(one, one);
    engine.drawPolygonWithMode({KivoPoint::create(1, 1), nullptr}, 3);
    EXPECT_TRUE(rec.ops().empty());
    EXPECT_EQ(rec.state().alpha, 0.5);  // not even the look was applied
}

TEST_F(RenderEngineTest, SplinesStayWithinTheirNeighboursValues) {
    engine.drawSplines(std::vector<double>{0, 10}, std::vector<double>{0, 10}, false);
    EXPECT_EQ(verbsOf(rec.strokes()[0]), (std::vector<V>{V::Move, V::Line}));
    rec.clear();
    engine.drawSplines(std::vector<double>{0, 10, 20, 30}, std::vector<double>{5, 5, 5, 5}, false);
    for (const auto& poly : rec.strokes()[0]->path.flattened())
        for (Point p : poly.points) EXPECT_NEAR(p.y, 5, 1e-12);
    rec.clear();
    engine.drawSplines(std::vector<double>{0, 10, 20}, std::vector<double>{0, 10, 0}, false);
    Rect b = rec.strokes()[0]->bounds();
    EXPECT_NEAR(b.y(), 0, 1e-9);
    EXPECT_NEAR(b.height(), 10, 1e-9);
    EXPECT_THAT(rec.strokes()[0]->path.currentPoint(), PointNear({20, 0}));
    rec.clear();
    // Rotated: tangents are vertical, so x stays within the neighbours' values.
    engine.drawSplines(std::vector<double>{0, 10, 0}, std::vector<double>{0, 10, 20}, true);
    b = rec.strokes()[0]->bounds();
    EXPECT_NEAR(b.x(), 0, 1e-9);
    EXPECT_NEAR(b.width(), 10, 1e-9);
}

TEST_F(RenderEngineTest, SplineAreasCloseTheirOutline) {
    engine.setFill(Color::green());
    // Not stacked: one curve point and two base-line corners make a triangle.
    engine.drawSplineAreas(std::vector<double>{0, 10, 0}, std::vector<double>{0, 10, 10}, false, false);
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(verbsOf(rec.fills()[0]), (std::vector<V>{V::Move, V::Line, V::Line, V::Close}));
    EXPECT_TRUE(rec.fills()[0]->path.contains({3, 7}));
    EXPECT_FALSE(rec.fills()[0]->path.contains({7, 3}));
    rec.clear();
    // Not stacked with five points: curve through three, then straight to the two corners.
    engine.drawSplineAreas(std::vector<double>{0, 10, 20, 20, 0}, std::vector<double>{5, 0, 5, 20, 20}, false, false);
    auto verbs = verbsOf(rec.fills()[0]);
    EXPECT_EQ(std::count(verbs.begin(), verbs.end(), V::Quad), 4);
    EXPECT_EQ(std::count(verbs.begin(), verbs.end(), V::Line), 2);
    EXPECT_EQ(verbs.back(), V::Close);
    rec.clear();
    // Stacked: the whole outline is smoothed.
    engine.drawSplineAreas(std::vector<double>{0, 10, 20}, std::vector<double>{5, 0, 5}, true, false);
    verbs = verbsOf(rec.fills()[0]);
    EXPECT_EQ(std::count(verbs.begin(), verbs.end(), V::Quad), 4);
    EXPECT_EQ(std::count(verbs.begin(), verbs.end(), V::Line), 0);
    rec.clear();
    engine.drawSplineAreas(std::vector<double>{0, 10}, std::vector<double>{0, 10}, false, false);
    EXPECT_TRUE(rec.ops().empty());  // no curve point: nothing to draw
}

TEST_F(RenderEngineTest, PolygonsLeaveOrCloseTheirLastEdge) {
    engine.drawPolygon(std::vector<double>{0, 10, 0}, std::vector<double>{0, 0, 10});
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(verbsOf(rec.strokes()[0]), (std::vector<V>{V::Move, V::Line, V::Line}));  // two sides
    EXPECT_TRUE(rec.fills()[0]->path.contains({2, 2}));
    rec.clear();
    auto pts =
        std::vector<std::shared_ptr<KivoPoint>>{KivoPoint::create(0, 0), KivoPoint::create(10, 0), KivoPoint::create(0, 10)};
    engine.drawPolygonWithMode(pts, 3);
    EXPECT_EQ(verbsOf(rec.strokes()[0]), (std::vector<V>{V::Move, V::Line, V::Line, V::Close}));  // three sides

    struct Case {
        int mode;
        std::size_t fills, strokes;
        plat::FillRule rule;
    };
    const Case cases[] = {{0, 1, 0, plat::FillRule::NonZero}, {1, 1, 0, plat::FillRule::EvenOdd},
                          {2, 0, 1, plat::FillRule::NonZero}, {3, 1, 1, plat::FillRule::NonZero},
                          {4, 1, 1, plat::FillRule::EvenOdd}, {9, 0, 0, plat::FillRule::NonZero}};
    for (const auto& c : cases) {
        rec.clear();
        engine.drawPolygonWithMode(pts, c.mode);
        EXPECT_EQ(rec.fills().size(), c.fills) << c.mode;
        EXPECT_EQ(rec.strokes().size(), c.strokes) << c.mode;
        if (c.fills) {
            EXPECT_EQ(rec.fills()[0]->rule, c.rule) << c.mode;
        }
    }
}

TEST_F(RenderEngineTest, PieSegmentsStartLeftOfTheCentreAndTurnClockwise) {
    engine.setFill(Color::red());
    auto path = engine.drawPieSegment(100, 100, 50, 0, pi / 2, false);
    ASSERT_TRUE(path);
    EXPECT_THAT(path->points().front(), PointNear({50, 100}));
    EXPECT_THAT(pointBefore(*path, {100, 100}), PointNear({100, 50}));  // the arc ends straight above the centre
    EXPECT_THAT(path->bounds(), RectNear({50, 50, 50, 50}));
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(rec.fills()[0]->path, *path);
    EXPECT_TRUE(path->contains({80, 80}));
    EXPECT_FALSE(path->contains({120, 80}));

    rec.clear();
    engine.setOpacity(0.5);
    auto full = engine.drawPieSegment(100, 100, 50, 1, 2 * pi, true);
    EXPECT_THAT(full->bounds(), RectNear({50, 50, 100, 100}));
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_THAT(rec.fills()[0]->bounds(), RectNear({50, 50, 100, 100}));
    EXPECT_DOUBLE_EQ(rec.fills()[0]->alpha, 0.5);  // drawn as an ellipse, opacity and all
}

TEST_F(RenderEngineTest, DoughnutSegmentsAreBandsAndAFullSweepIsARing) {
    auto path = engine.drawDonutSegment(100, 100, 50, 30, 0, pi / 2, false);
    EXPECT_TRUE(path->contains({100 - 40 * std::cos(pi / 4), 100 - 40 * std::sin(pi / 4)}));
    EXPECT_FALSE(path->contains({90, 90}));  // inside the hole
    EXPECT_THAT(path->points().front(), PointNear({50, 100}));
    EXPECT_THAT(path->currentPoint(), PointNear({50, 100}));

    auto ring = engine.drawDonutSegment(100, 100, 50, 30, 0.3, 2 * pi, false);
    for (double a = 0; a < 2 * pi; a += 0.5) {
        EXPECT_TRUE(ring->contains({100 + 40 * std::cos(a), 100 + 40 * std::sin(a)})) << a;
        EXPECT_FALSE(ring->contains({100 + 20 * std::cos(a), 100 + 20 * std::sin(a)})) << a;
    }
    EXPECT_THAT(ring->bounds(), RectNear({50, 50, 100, 100}, BezierArcTolerance));
}

TEST_F(RenderEngineTest, GaugeBandsClipTheirDoubledBorderAndFullSweepsDrawARing) {
    engine.setStrokeThickness(3);
    engine.drawRadialGauge(100, 100, 0, 0, 50, 40, 0, 6.28);
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(rec.fills()[0]->rule, plat::FillRule::EvenOdd);
    EXPECT_FALSE(rec.fills()[0]->clip);
    EXPECT_EQ(rec.strokes()[0]->lineWidth, 6);
    EXPECT_FALSE(rec.fills()[0]->path.contains({100, 100}, plat::FillRule::EvenOdd));
    EXPECT_TRUE(rec.fills()[0]->path.contains({145, 100}, plat::FillRule::EvenOdd));

    rec.clear();
    engine.drawRadialGauge(100, 100, 0, 0, 50, 40, 0, 6.279);
    ASSERT_EQ(rec.fills().size(), 1u);
    ASSERT_TRUE(rec.fills()[0]->clip);
    EXPECT_THAT(*rec.fills()[0]->clip, RectNear({50, 50, 100, 100}, BezierArcTolerance));
    EXPECT_EQ(rec.fills()[0]->rule, plat::FillRule::NonZero);
    EXPECT_FALSE(rec.state().clips.size());  // the band's clip ends with it

    rec.clear();
    engine.drawRadialGauge(100, 100, 0, 0, 50, 40, 0, pi / 2);  // the upper-left quarter
    const DrawOp& band = *rec.fills()[0];
    EXPECT_TRUE(band.path.contains({100 - 45 * std::cos(pi / 4), 100 - 45 * std::sin(pi / 4)}));
    EXPECT_FALSE(band.path.contains({100 + 45 * std::cos(pi / 4), 100 - 45 * std::sin(pi / 4)}));
    EXPECT_THAT(*band.clip, RectNear({50, 50, 50, 50}, BezierArcTolerance));
}

TEST_F(RenderEngineTest, TextIsPlacedAtItsPointInItsRectOrTurnedAboutItsCentre) {
    engine.setTextFill(Color::blue());
    engine.setFont(plat::Font("Georgia", 15));
    engine.drawString("At a point", KivoPoint::create(10, 20));
    engine.drawStringInRect("In a rectangle that wraps", {5, 5, 40, 100});
    engine.drawStringRotated("Turned", KivoPoint::create(10, 0), KivoPoint::create(0, 0), 90);
    engine.drawString("nowhere", nullptr);
    auto texts = rec.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->origin, (Point{10, 20}));
    EXPECT_EQ(texts[0]->text.attributes.font, plat::Font("Georgia", 15));
    EXPECT_EQ(texts[0]->color, Color::blue());
    ASSERT_TRUE(texts[1]->layoutRect);
    EXPECT_EQ(*texts[1]->layoutRect, Rect(5, 5, 40, 100));
    EXPECT_FALSE(texts[1]->textOptions.clipToRect);
    EXPECT_LE(texts[1]->textSize.width, 40.001);
    EXPECT_GT(texts[1]->textSize.height, texts[0]->textSize.height);
    EXPECT_THAT(texts[2]->origin, PointNear({0, 10}));
    EXPECT_NEAR(texts[2]->rotationDegrees(), 90, 1e-9);
    EXPECT_TRUE(rec.ctm().isIdentity());
    EXPECT_EQ(rec.saveDepth(), 0u);
}

TEST_F(RenderEngineTest, ClipPairsNestAndUndoScaleAndPan) {
    rec.save();  // the drawing pass's own state
    engine.setClipRect(0, 0, 50, 50);
    engine.setScale(2, 2);
    engine.setPan(5, 0);
    engine.drawRect(0, 0, 1, 1);
    engine.setClipRect(0, 0, 10, 10);
    engine.drawRect(0, 0, 1, 1);
    engine.clearClipRect();
    engine.clearClipRect();
    engine.drawRect(0, 0, 1, 1);
    engine.clearClipRect();  // unpaired: must not undo the pass's save
    EXPECT_EQ(rec.saveDepth(), 1u);
    auto fills = rec.fills();
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0]->bounds(), Rect(10, 0, 2, 2));
    EXPECT_EQ(fills[0]->clip, Rect(0, 0, 50, 50));
    EXPECT_EQ(fills[1]->clip, Rect(10, 0, 20, 20));
    EXPECT_EQ(fills[2]->bounds(), Rect(0, 0, 1, 1));
    EXPECT_FALSE(fills[2]->clip);
}

TEST_F(RenderEngineTest, AZeroScaleDrawsNothingUntilItsClipPairEnds) {
    engine.setClipRect(0, 0, 100, 100);
    engine.setScale(0, 0);
    engine.drawRect(0, 0, 5, 5);
    engine.drawString("hidden", KivoPoint::create(0, 0));
    engine.clearClipRect();
    EXPECT_TRUE(rec.ops().empty());
    engine.drawRect(0, 0, 5, 5);
    EXPECT_EQ(rec.fills().size(), 1u);
}

TEST_F(RenderEngineTest, ImagesAreDrawnIntoTheirRectangleInsideASavedState) {
    auto img = std::make_shared<plat::Image>(4, 2);
    engine.drawImage(img, {10, 10, 8, 4});
    engine.drawImage(nullptr, {0, 0, 8, 4});
    ASSERT_EQ(rec.images().size(), 1u);
    EXPECT_EQ(rec.images()[0]->image, img.get());
    EXPECT_EQ(rec.images()[0]->bounds(), Rect(10, 10, 8, 4));
}

TEST(RenderEngineWithoutContext, DrawsNothingButKeepsItsRules) {
    ASSERT_EQ(plat::currentContext(), nullptr);
    KivoRenderEngine e;
    e.setBorderDashes({2, 2});
    e.drawRect(0, 0, 5, 5);
    EXPECT_TRUE(e.borderDashes().empty());
    e.setClipRect(0, 0, 1, 1);
    e.clearClipRect();
    e.drawString("x", KivoPoint::create());
    auto path = e.drawPieSegment(0, 0, 10, 0, 1, false);
    ASSERT_TRUE(path);
    EXPECT_FALSE(path->isEmpty());
}
