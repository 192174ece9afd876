#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"

using namespace plat;

namespace {

// Renders `scene` on a 40 × 30 white surface.
Image renderOnWhite(const std::function<void(Context&)>& scene) {
    Image img(40, 30);
    img.fill(Color::white());
    {
        CairoContext cairo(img);
        scene(cairo);
    }
    return img;
}

// Two overlapping opaque blue squares, (0, 0)–(20, 20) and (10, 0)–(30, 20).
void twoSquares(Context& c) {
    c.setFillColor(Color::blue());
    c.fillRect({0, 0, 20, 20});
    c.fillRect({10, 0, 20, 20});
}

std::vector<DrawOp::Kind> kinds(const RecordingContext& rec) {
    std::vector<DrawOp::Kind> out;
    for (const auto& op : rec.ops()) out.push_back(op.kind);
    return out;
}

}  // namespace

TEST(TransparencyGroup, CompositesOverlappingDrawingsOnceInCairo) {
    const Image grouped = renderOnWhite([](Context& c) {
        c.beginTransparencyGroup(0.5);
        twoSquares(c);
        c.endTransparencyGroup();
    });
    const Color once = grouped.pixel(5, 5), overlap = grouped.pixel(15, 5);
    EXPECT_TRUE(nearlyEqual(once, Color(0.5, 0.5, 1), 0.01)) << "half blue over white";
    EXPECT_TRUE(nearlyEqual(overlap, once, 1e-9)) << "the overlap is no darker";
    EXPECT_EQ(grouped.pixel(35, 25), Color::white());

    // The same drawings with a plain alpha show the overlap: that is what the group prevents.
    const Image plain = renderOnWhite([](Context& c) {
        c.setAlpha(0.5);
        twoSquares(c);
    });
    EXPECT_FALSE(nearlyEqual(plain.pixel(15, 5), plain.pixel(5, 5), 0.1));
}

TEST(TransparencyGroup, TakesTheAlphaAndClipOfItsBeginAndPutsTheStateBack) {
    const Image img = renderOnWhite([](Context& c) {
        c.setAlpha(0.5);
        c.clipToRect({0, 0, 20, 30});
        c.translate(1, 1);
        c.beginTransparencyGroup(0.5);  // 0.25 in all
        EXPECT_EQ(c.state().alpha, 1) << "drawing inside starts opaque";
        c.save();
        c.save();
        c.setFillColor(Color::black());
        c.fillRect({-1, -1, 40, 30});
        c.endTransparencyGroup();  // two saves left unbalanced
        EXPECT_EQ(c.state().alpha, 0.5);
        EXPECT_EQ(c.ctm(), AffineTransform::translation(1, 1));
        EXPECT_EQ(c.saveDepth(), 0u);
    });
    EXPECT_TRUE(nearlyEqual(img.pixel(5, 5), Color::white(0.75), 0.01));
    EXPECT_EQ(img.pixel(30, 5), Color::white()) << "outside the clip of the begin";
}

TEST(TransparencyGroup, AMaskShowsTheContentOnlyWhereItIsOpaque) {
    const Image img = renderOnWhite([](Context& c) {
        c.beginTransparencyGroup(1);
        c.setFillColor(Color::red());
        c.fillRect({0, 0, 40, 30});
        c.beginTransparencyGroupMask();
        c.setFillColor(Color::green());  // the mask's colour plays no part, its alpha does
        c.fillRect({0, 0, 10, 30});
        c.setFillColor(Color::green().withAlpha(0.5));
        c.fillRect({20, 0, 10, 30});
        c.endTransparencyGroup();
    });
    EXPECT_EQ(img.pixel(5, 5), Color::red());
    EXPECT_EQ(img.pixel(15, 5), Color::white()) << "nothing drawn in the mask there";
    EXPECT_TRUE(nearlyEqual(img.pixel(25, 5), Color(1, 0.5, 0.5), 0.01));

    // A group alpha and a mask together.
    const Image faded = renderOnWhite([](Context& c) {
        c.beginTransparencyGroup(0.5);
        c.setFillColor(Color::red());
        c.fillRect({0, 0, 40, 30});
        c.beginTransparencyGroupMask();
        c.fillRect({0, 0, 10, 30});
        c.endTransparencyGroup();
    });
    EXPECT_TRUE(nearlyEqual(faded.pixel(5, 5), Color(1, 0.5, 0.5), 0.01));
    EXPECT_EQ(faded.pixel(15, 5), Color::white());
}

TEST(TransparencyGroup, MisuseIsHarmless) {
    RecordingContext rec;
    rec.endTransparencyGroup();        // no group
    rec.beginTransparencyGroupMask();  // no group
    rec.beginTransparencyGroup(NAN);   // counts as 1
    rec.restore();                     // cannot undo the begin
    EXPECT_EQ(rec.transparencyGroupDepth(), 1u);
    rec.beginTransparencyGroupMask();
    rec.beginTransparencyGroupMask();  // once only
    rec.endTransparencyGroup();
    EXPECT_EQ(kinds(rec),
              (std::vector<DrawOp::Kind>{DrawOp::Kind::BeginGroup, DrawOp::Kind::BeginGroupMask, DrawOp::Kind::EndGroup}));
    EXPECT_EQ(rec.ops()[0].alpha, 1);
    EXPECT_EQ(rec.saveDepth(), 0u);

    // Groups a Cairo context leaves open still reach its image.
    Image img(4, 4);
    {
        CairoContext cairo(img);
        cairo.beginTransparencyGroup(1);
        cairo.fillRect({0, 0, 4, 4});
    }
    EXPECT_EQ(img.pixel(1, 1), Color::black());
}

TEST(TransparencyGroup, RecordingShowsNestingAlphasAndMaskDrawingApart) {
    RecordingContext rec;
    rec.setAlpha(0.5);
    rec.beginTransparencyGroup(0.5);
    rec.setFillColor(Color::blue());
    rec.fillRect({0, 0, 10, 10});
    rec.beginTransparencyGroup(0.4);
    rec.fillRect({0, 0, 5, 5});
    rec.beginTransparencyGroupMask();
    rec.setFillColor(Color::black());
    rec.fillRect({1, 1, 2, 2});
    rec.endTransparencyGroup();
    rec.endTransparencyGroup();

    ASSERT_EQ(rec.ops().size(), 8u);
    EXPECT_EQ(rec.ops()[0].alpha, 0.25) << "the group takes the alpha in force at its begin";
    ASSERT_EQ(rec.fills().size(), 2u) << "mask drawing is not paint";
    EXPECT_EQ(rec.fills()[0]->color, Color::blue());
    EXPECT_DOUBLE_EQ(rec.fills()[0]->visibleAlpha(), 0.25);
    EXPECT_DOUBLE_EQ(rec.fills()[1]->visibleAlpha(), 0.1);
    EXPECT_EQ(rec.findFill(Color::black()), nullptr);
    const DrawOp& maskFill = rec.ops()[5];
    EXPECT_TRUE(maskFill.inMask);
    EXPECT_EQ(maskFill.bounds(), Rect(1, 1, 2, 2));
}
