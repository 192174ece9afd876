#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"

using namespace plat;

TEST(Context, SaveRestoreStackAndUnmatchedRestore) {
    RecordingContext ctx;
    ctx.setFillColor(Color::red());
    ctx.save();
    ctx.setFillColor(Color::blue());
    ctx.translate(10, 0);
    ctx.clipToRect({0, 0, 5, 5});
    ctx.restore();
    EXPECT_EQ(ctx.state().fillColor, Color::red());
    EXPECT_TRUE(ctx.ctm().isIdentity());
    EXPECT_FALSE(ctx.clipBoundingBox());
    ctx.restore();  // no save: ignored
    ctx.restore();
    EXPECT_EQ(ctx.saveDepth(), 0u);
    EXPECT_EQ(ctx.state().fillColor, Color::red());
}

TEST(Context, SavesShareTheClipsInForceAndLaterClipsStayWithTheirState) {
    RecordingContext ctx;
    for (int i = 0; i < 100; ++i) ctx.clipToRect({0, 0, 100.0 - i, 100});
    const ClipEntry* newest = &ctx.state().clips.back();
    for (int i = 0; i < 1000; ++i) ctx.save();
    EXPECT_EQ(&ctx.state().clips.back(), newest) << "a save copies no clip";
    EXPECT_EQ(ctx.state().clips.size(), 100u);

    ctx.clipToRect({0, 0, 10, 10});
    EXPECT_EQ(ctx.state().clips.size(), 101u);
    EXPECT_EQ(ctx.clipBoundingBox(), (Rect{0, 0, 1, 10}));
    ctx.restore();
    EXPECT_EQ(ctx.state().clips.size(), 100u);
    EXPECT_EQ(&ctx.state().clips.back(), newest);
    EXPECT_EQ(ctx.clipBoundingBox(), (Rect{0, 0, 1, 100}));
    while (ctx.saveDepth() > 0) ctx.restore();
    EXPECT_EQ(ctx.clipBoundingBox(), (Rect{0, 0, 1, 100}));
}

TEST(Context, DashPatternsThatWouldBreakABackendDrawSolid) {
    struct Case {
        std::vector<double> dash;
        bool dashed;
    };
    const Case cases[] = {
        {{4, 2}, true},  {{0, 4}, true},  // dots are valid
        {{0, 0}, false}, {{4, -1}, false}, {{NAN, 2}, false}, {{INFINITY, 2}, false}, {{}, false},
    };
    for (const auto& c : cases) {
        RecordingContext ctx;
        ctx.setLineDash(0, {3, 3});
        ctx.setLineDash(0, c.dash);
        EXPECT_EQ(!ctx.state().dash.empty(), c.dashed) << c.dash.size();
    }
}

TEST(Context, AlphaMultipliesEveryColourAndIsLimited) {
    RecordingContext ctx;
    ctx.setFillColor({1, 0, 0, 0.5});
    ctx.setStrokeColor(Color::blue());
    ctx.setAlpha(0.5);
    ctx.drawPath(
        [] {
            Path p;
            p.addRect({0, 0, 10, 10});
            return p;
        }(),
        DrawingMode::FillStroke);
    ASSERT_EQ(ctx.ops().size(), 2u);
    EXPECT_DOUBLE_EQ(ctx.ops()[0].color.a, 0.25);
    EXPECT_DOUBLE_EQ(ctx.ops()[1].color.a, 0.5);
    ctx.setAlpha(2.0);  // stored as given, applied limited to 1
    EXPECT_EQ(ctx.state().alpha, 2.0);
    EXPECT_EQ(ctx.effectiveStrokeColor(), Color::blue());
    ctx.setAlpha(NAN);
    EXPECT_EQ(ctx.state().alpha, 2.0);
}

TEST(Context, DrawingModesRecordFillsAndStrokes) {
    struct Case {
        DrawingMode mode;
        int fills, strokes;
        FillRule rule;
    };
    const Case cases[] = {
        {DrawingMode::Fill, 1, 0, FillRule::NonZero},
        {DrawingMode::EvenOddFill, 1, 0, FillRule::EvenOdd},
        {DrawingMode::Stroke, 0, 1, FillRule::NonZero},
        {DrawingMode::FillStroke, 1, 1, FillRule::NonZero},
        {DrawingMode::EvenOddFillStroke, 1, 1, FillRule::EvenOdd},
        {static_cast<DrawingMode>(7), 0, 0, FillRule::NonZero},
    };
    Path p;
    p.addRect({0, 0, 4, 4});
    for (const auto& c : cases) {
        RecordingContext ctx;
        ctx.drawPath(p, c.mode);
        EXPECT_EQ(static_cast<int>(ctx.fills().size()), c.fills) << static_cast<int>(c.mode);
        EXPECT_EQ(static_cast<int>(ctx.strokes().size()), c.strokes) << static_cast<int>(c.mode);
        if (c.fills) {
            EXPECT_EQ(ctx.fills()[0]->rule, c.rule);
        }
    }
}

TEST(Context, RecordsGeometryStrokesAndClipInDeviceSpace) {
    RecordingContext ctx(AffineTransform::scale(2, 2));
    ctx.translate(10, 5);
    ctx.clipToRect({0, 0, 20, 20});
    ctx.setLineWidth(3);
    ctx.setLineDash(0, {4, 2});
    ctx.strokeRect({1, 1, 4, 4});
    ASSERT_EQ(ctx.strokes().size(), 1u);
    const DrawOp& op = *ctx.strokes()[0];
    EXPECT_EQ(op.bounds(), Rect(22, 12, 8, 8));
    EXPECT_EQ(op.clip, Rect(20, 10, 40, 40));
    EXPECT_EQ(op.lineWidth, 6);
    EXPECT_EQ(op.userLineWidth, 3);
    EXPECT_EQ(op.dash, (std::vector<double>{8, 4}));
}

TEST(Context, ZeroScaleDrawsNothingAndClipsEverything) {
    RecordingContext ctx;
    ctx.save();
    ctx.scale(0, 0);
    ctx.fillRect({0, 0, 10, 10});
    ctx.clipToRect({0, 0, 10, 10});
    ctx.restore();
    EXPECT_TRUE(ctx.ops().empty());
    ctx.fillRect({0, 0, 10, 10});
    EXPECT_EQ(ctx.fills().size(), 1u);
    EXPECT_FALSE(ctx.fills()[0]->clip);
}

TEST(Context, TextInAFontOfNoUsableSizeDrawsNothing) {
    RecordingContext ctx;
    for (double size : {0.0, -3.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        ctx.drawText(AttributedString("Hi", Font("HelveticaNeue", size), Color::red()), Point{10, 0});
        ctx.drawText(AttributedString("Hi", Font("HelveticaNeue", size), Color::red()), Rect{0, 0, 50, 20});
    }
    EXPECT_TRUE(ctx.ops().empty());
}

TEST(Context, TextAndImagesAreRecordedWhereTheyLand) {
    RecordingContext ctx;
    ctx.translate(100, 100);
    ctx.rotate(std::numbers::pi / 2);
    ctx.setAlpha(0.5);
    ctx.drawText(AttributedString("Hi", Font("HelveticaNeue", 12), Color::red()), Point{10, 0});
    Image img(4, 2);
    ctx.drawImage(img, {0, 0, 8, 4});
    ASSERT_EQ(ctx.texts().size(), 1u);
    const DrawOp& t = *ctx.texts()[0];
    EXPECT_NEAR(t.origin.x, 100, 1e-9);
    EXPECT_NEAR(t.origin.y, 110, 1e-9);
    EXPECT_NEAR(t.rotationDegrees(), 90, 1e-9);
    EXPECT_EQ(t.color, Color(1, 0, 0, 0.5));
    EXPECT_GT(t.textSize.width, 0);
    EXPECT_EQ(ctx.findText("Hi"), &ctx.ops()[0]);
    ASSERT_EQ(ctx.images().size(), 1u);
    EXPECT_EQ(ctx.images()[0]->image, &img);
    EXPECT_DOUBLE_EQ(ctx.images()[0]->alpha, 0.5);
    Rect b = ctx.images()[0]->bounds();
    EXPECT_NEAR(b.x(), 96, 1e-9);
    EXPECT_NEAR(b.width(), 4, 1e-9);
    EXPECT_NEAR(b.height(), 8, 1e-9);
}

TEST(CurrentContext, StackPushPopAndRemoval) {
    EXPECT_EQ(currentContext(), nullptr);
    RecordingContext a, b;
    {
        CurrentContextScope sa(a);
        EXPECT_EQ(currentContext(), &a);
        pushContext(b);
        EXPECT_EQ(currentContext(), &b);
        removeContext(a);  // a goes away from under b
        EXPECT_EQ(currentContext(), &b);
        popContext();
        EXPECT_EQ(currentContext(), nullptr);
    }
    popContext();  // empty: ignored
    EXPECT_EQ(currentContext(), nullptr);
}
