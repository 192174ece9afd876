// Views under transforms, bounds origins, group opacity and layer masks: drawn, hit and converted
// alike.
#include <gtest/gtest.h>

#include <numbers>

#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/shape_layer.h"
#include "Platform/ui/shapes.h"
#include "Platform/ui/window.h"

using namespace plat;

namespace {

constexpr double Pi = std::numbers::pi;

void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

std::shared_ptr<View> coloured(const Rect& frame, const Color& colour) {
    auto v = View::create(frame);
    v->setBackgroundColor(colour);
    return v;
}

class ViewCompositing : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 100, 100});
};

}  // namespace

TEST_F(ViewCompositing, ARotatedViewIsHitAndConvertedThroughItsTransform) {
    // A 60 × 20 bar centred on (50, 50), turned a quarter: it now stands 20 wide and 60 high.
    auto bar = View::create({20, 40, 60, 20});
    auto tip = View::create({50, 0, 10, 20});  // the bar's right end before the turn
    window->addSubview(bar);
    bar->addSubview(tip);
    bar->setTransform(AffineTransform::rotation(Pi / 2));

    EXPECT_EQ(bar->bounds(), Rect(0, 0, 60, 20)) << "bounds and centre are kept";
    EXPECT_EQ(bar->center(), Point(50, 50));
    const Rect f = bar->frame();
    EXPECT_NEAR(f.x(), 40, 1e-9);
    EXPECT_NEAR(f.y(), 20, 1e-9);
    EXPECT_NEAR(f.width(), 20, 1e-9);
    EXPECT_NEAR(f.height(), 60, 1e-9);

    // Clockwise on screen: the right end is now at the bottom.
    expectNear(bar->convertPointToView({60, 10}, nullptr), {50, 80});
    expectNear(bar->convertPointFromView({50, 80}, nullptr), {60, 10});
    expectNear(window->convertPointToView({50, 80}, tip.get()), {10, 10});

    EXPECT_EQ(window->hitTest({50, 75}, nullptr), tip);
    EXPECT_EQ(window->hitTest({50, 30}, nullptr), bar);
    EXPECT_EQ(window->hitTest({25, 50}, nullptr), window) << "where the bar was before the turn";

    // A zero scale cannot be hit (nor drawn).
    bar->setTransform(AffineTransform::scale(0, 1));
    EXPECT_EQ(window->hitTest({50, 50}, nullptr), window);
    bar->setTransform({NAN, 0, 0, 1, 0, 0});  // ignored
    EXPECT_EQ(bar->transform(), AffineTransform::scale(0, 1));
}

TEST_F(ViewCompositing, TransformsAndBoundsOriginsShowInTheDrawing) {
    auto box = coloured({10, 10, 40, 20}, Color::red());
    window->addSubview(box);
    box->setTransform(AffineTransform::scale(2, 1).rotated(Pi));  // turned half round, twice as wide
    auto scroller = View::create({0, 60, 50, 40});
    auto content = coloured({0, 0, 10, 10}, Color::blue());
    window->addSubview(scroller);
    scroller->addSubview(content);
    scroller->setBounds({-5, 3, 50, 40});  // content moves right by 5 and up by 3

    window->layoutPass();
    EXPECT_FALSE(box->needsLayout()) << "a transform asks for no layout";
    box->setTransform(AffineTransform::scale(2, 1));
    EXPECT_FALSE(box->needsLayout());

    RecordingContext rec;
    window->display(rec);
    const DrawOp* red = rec.findFill(Color::red());
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->bounds(), Rect(-10, 10, 80, 20)) << "about its centre (30, 20)";
    const DrawOp* blue = rec.findFill(Color::blue());
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(blue->bounds(), Rect(5, 57, 10, 10));
    EXPECT_EQ(window->hitTest({7, 62}, nullptr), content);
    EXPECT_EQ(window->hitTest({7, 58}, nullptr), window) << "scrolled out of the scroller's bounds";
    EXPECT_EQ(content->convertPointToView({0, 0}, nullptr), Point(5, 57));

    // Setting the frame of a transformed view places it as if untransformed.
    box->setFrame({0, 0, 10, 10});
    EXPECT_EQ(box->bounds().size, Size(10, 10));
    EXPECT_EQ(box->center(), Point(5, 5));
    EXPECT_EQ(box->frame(), Rect(-5, 0, 20, 10));
}

TEST_F(ViewCompositing, ATranslucentViewCompositesItsOverlappingSubviewsOnce) {
    window->setBackgroundColor(Color::white());
    auto faded = View::create({10, 10, 60, 30});
    faded->setAlpha(0.5);
    faded->addSubview(coloured({0, 0, 40, 30}, Color::blue()));
    faded->addSubview(coloured({20, 0, 40, 30}, Color::blue()));
    window->addSubview(faded);

    auto image = window->renderImage(1);
    ASSERT_TRUE(image);
    const Color once = image->pixel(15, 20), overlap = image->pixel(40, 20), other = image->pixel(65, 20);
    EXPECT_TRUE(nearlyEqual(once, Color(0.5, 0.5, 1), 0.01));
    EXPECT_TRUE(nearlyEqual(overlap, once, 1e-9)) << "the overlap is no darker";
    EXPECT_TRUE(nearlyEqual(other, once, 1e-9));
    EXPECT_EQ(image->pixel(80, 20), Color::white());

    // The recording shows the one group around both subviews.
    RecordingContext rec;
    window->display(rec);
    const auto groups = rec.ofKind(DrawOp::Kind::BeginGroup);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0]->alpha, 0.5);
    const auto fills = rec.fills();
    ASSERT_EQ(fills.size(), 3u);  // the window's white, then both subviews
    EXPECT_EQ(fills[1]->color, Color::blue());
    EXPECT_EQ(fills[2]->visibleAlpha(), 0.5);
}

TEST_F(ViewCompositing, ATranslucentViewShowsAllItsTreePaintsBeyondItsBounds) {
    // The group is kept to what the tree can paint: a subview outside the bounds, a shape layer that
    // strokes outside its empty frame and a turned view all still show.
    window->setBackgroundColor(Color::white());
    auto faded = View::create({10, 10, 20, 20});
    faded->setAlpha(0.5);
    faded->addSubview(coloured({30, 0, 20, 20}, Color::red()));
    auto line = ShapeLayer::create();
    Path stroke;
    stroke.moveTo({0, 50});
    stroke.lineTo({40, 50});
    line->setPath(stroke);
    line->setStrokeColor(Color::blue());
    line->setLineWidth(6);
    faded->layer()->addSublayer(line);
    window->addSubview(faded);
    auto turned = coloured({60, 60, 20, 20}, Color::green());
    turned->setAlpha(0.5);
    turned->setTransform(AffineTransform::rotation(Pi / 4));
    window->addSubview(turned);

    auto image = window->renderImage(1);
    EXPECT_TRUE(nearlyEqual(image->pixel(45, 15), Color(1, 0.5, 0.5), 0.01));
    EXPECT_TRUE(nearlyEqual(image->pixel(20, 62), Color(0.5, 0.5, 1), 0.01)) << "the stroke's far edge";
    EXPECT_TRUE(nearlyEqual(image->pixel(70, 57), Color(0.5, 1, 0.5), 0.01)) << "the turned square's top corner";
}

TEST_F(ViewCompositing, AShapeLayerMaskRevealsWhatItsPathCovers) {
    window->setBackgroundColor(Color::white());
    auto pie = coloured({0, 0, 100, 100}, Color::green());
    pie->addSubview(coloured({50, 0, 50, 100}, Color::blue()));  // the mask covers subviews too
    window->addSubview(pie);
    auto reveal = ShapeLayer::create();
    reveal->setFrame(pie->bounds());
    Path half;
    half.addRect({0, 0, 100, 50});  // the top half, in the view's coordinates
    reveal->setPath(half);
    pie->layer()->setMask(reveal);
    EXPECT_EQ(reveal->superlayer(), nullptr);

    auto image = window->renderImage(1);
    EXPECT_EQ(image->pixel(20, 20), Color::green());
    EXPECT_EQ(image->pixel(80, 20), Color::blue());
    EXPECT_EQ(image->pixel(20, 80), Color::white());
    EXPECT_EQ(image->pixel(80, 80), Color::white());

    // The reveal grows as its path does; an empty path hides the view.
    Path all;
    all.addRect({0, 0, 100, 100});
    reveal->setPath(all);
    EXPECT_EQ(window->renderImage(1)->pixel(20, 80), Color::green());
    reveal->setPath({});
    EXPECT_EQ(window->renderImage(1)->pixel(20, 20), Color::white());

    // Refused: a layer as its own mask, or a mask cycle.
    pie->layer()->setMask(pie->layer());
    EXPECT_EQ(pie->layer()->mask(), reveal);
    auto other = Layer::create();
    reveal->setMask(other);
    other->setMask(pie->layer());
    EXPECT_EQ(other->mask(), nullptr);
}
