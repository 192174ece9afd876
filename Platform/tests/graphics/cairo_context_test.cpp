#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/cairo_differential.h"

using namespace plat;
using plat::testing::cairoMatchesRecording;

namespace {

bool painted(const Image& img, int x, int y) { return (img.rawPixel(x, y) >> 24) > 0; }

}  // namespace

TEST(CairoContext, GeometryAgreesWithTheRecordingContext) {
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) { c.fillRect({3, 4, 10, 7}); }));
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        c.scale(0.5, 0.5);
        c.translate(20, 10);
        c.fillEllipse({0, 0, 40, 30});
    }));
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        Path p;
        p.moveTo({2, 28});
        p.quadTo({20, -20}, {38, 28});  // quadratics go through the cubic conversion
        p.close();
        c.fillPath(p);
    }));
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        Path p;
        p.addArc({20, 15}, 12, 0, 3 * std::numbers::pi / 2);  // three quarters, clockwise on screen
        p.lineTo({20, 15});
        p.close();
        c.fillPath(p);
    }));
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        Path p;
        p.addRect({2, 2, 30, 24});
        p.addRect({10, 8, 12, 10});
        c.fillPath(p, FillRule::EvenOdd);
    }));
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        c.translate(20, 15);
        c.rotate(std::numbers::pi / 6);
        c.fillRect({-8, -5, 16, 10});
    }));
}

TEST(CairoContext, ScaledTargetsDrawInPoints) {
    Image img(80, 60, 2);
    CairoContext c(img);
    c.setFillColor(Color::red());
    c.fillRect({10, 10, 5, 5});
    EXPECT_EQ(img.pixel(21, 21), Color::red());
    EXPECT_EQ(img.pixel(29, 29), Color::red());
    EXPECT_FALSE(painted(img, 31, 21));
}

TEST(CairoContext, AlphaAndColoursReachThePixels) {
    Image img(10, 10);
    CairoContext c(img);
    c.setFillColor({0, 0, 1, 1});
    c.setAlpha(0.5);
    c.fillRect({0, 0, 10, 10});
    Color px = img.pixel(5, 5);
    EXPECT_NEAR(px.a, 0.5, 0.01);
    EXPECT_NEAR(px.b, 1.0, 0.01);
}

TEST(CairoContext, ClipsLimitPaintingUntilRestored) {
    Image img(20, 10);
    CairoContext c(img);
    c.setFillColor(Color::black());
    c.save();
    c.clipToRect({0, 0, 10, 10});
    c.fillRect({0, 0, 20, 5});
    c.restore();
    c.fillRect({0, 5, 20, 5});
    EXPECT_TRUE(painted(img, 5, 2));
    EXPECT_FALSE(painted(img, 15, 2));
    EXPECT_TRUE(painted(img, 15, 7));
}

TEST(CairoContext, InputsThatBreakCairoLeaveLaterDrawingWorking) {
    const std::function<void(Context&)> breakers[] = {
        [](Context& c) {
            c.setLineDash(0, {0, 0});
            c.strokeRect({1, 1, 5, 5});
        },
        [](Context& c) {
            c.setLineDash(0, {4, -2});
            c.strokeRect({1, 1, 5, 5});
        },
        [](Context& c) {
            c.scale(0, 0);
            c.fillRect({0, 0, 5, 5});
            c.clipToRect({0, 0, 1, 1});
        },
        [](Context& c) {
            c.restore();
            c.restore();
        },
        [](Context& c) {
            c.scale(NAN, 1);
            c.fillRect({0, 0, 5, 5});
        },
        [](Context& c) {
            Path p;
            p.moveTo({NAN, 0});
            p.lineTo({5, INFINITY});
            c.strokePath(p);
        },
        [](Context& c) {
            c.setLineWidth(-3);
            c.strokeRect({1, 1, 5, 5});
        },
        [](Context& c) {
            Image tiny(1, 1);
            c.drawImage(tiny, {0, 0, 0, 5});
            c.drawImage(tiny, {0, 0, NAN, 5});
        },
    };
    int i = 0;
    for (const auto& breaker : breakers) {
        Image img(10, 10);
        CairoContext c(img);
        c.save();
        breaker(c);
        c.restore();
        c.setFillColor(Color::green());
        c.fillRect({6, 6, 4, 4});
        EXPECT_EQ(img.pixel(8, 8), Color::green()) << "breaker " << i++;
    }
}

TEST(CairoContext, ImagesScaleIntoTheirRectangleWithAlpha) {
    Image src(2, 1);
    src.setPixel(0, 0, Color::red());
    src.setPixel(1, 0, Color::blue());
    Image img(20, 10);
    CairoContext c(img);
    c.setAlpha(0.5);
    c.drawImage(src, {0, 0, 20, 10});
    Color left = img.pixel(2, 5), right = img.pixel(17, 5);
    EXPECT_NEAR(left.a, 0.5, 0.01);
    EXPECT_NEAR(left.r, 1, 0.02);
    EXPECT_NEAR(right.b, 1, 0.02);
    EXPECT_NEAR(right.r, 0, 0.02);
}

TEST(CairoContext, SourcesTooLargeToSampleAreDrawnNotDropped) {
    // Cairo's compositor samples nothing from a source near 32,768 pixels a side, or from one shrunk
    // so far that its filter reaches as wide. Long thin images keep these cases small.
    struct Case {
        int width, height;
        Rect dest;
    };
    const Case cases[] = {
        {Image::MaxPixelSide, 2, {0, 0, 100, 10}},  // the widest image
        {2, Image::MaxPixelSide, {0, 0, 10, 100}},  // the tallest
        {25000, 2, {0, 0, 1, 10}},                  // 25,000 pixels into one
    };
    for (const Case& c : cases) {
        Image src(c.width, c.height);
        const bool wide = c.width > c.height;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const bool firstHalf = wide ? x < c.width / 2 : y < c.height / 2;
                src.setPixel(x, y, firstHalf ? Color::red() : Color::blue());
            }
        Image img(100, 100);
        CairoContext ctx(img);
        ctx.drawImage(src, c.dest);
        const Rect d = c.dest;
        const Color first = wide ? img.pixel(static_cast<int>(d.width() / 4), 5) : img.pixel(5, static_cast<int>(d.height() / 4));
        const Color second =
            wide ? img.pixel(static_cast<int>(d.width() * 3 / 4), 5) : img.pixel(5, static_cast<int>(d.height() * 3 / 4));
        EXPECT_GT(first.a, 0.9) << c.width << " x " << c.height;
        if (d.width() >= 10 && d.height() >= 10) {
            EXPECT_TRUE(nearlyEqual(first, Color::red(), 0.05)) << c.width << " x " << c.height;
            EXPECT_TRUE(nearlyEqual(second, Color::blue(), 0.05)) << c.width << " x " << c.height;
        } else {
            EXPECT_NEAR(first.r, 0.5, 0.1) << "one pixel shows the mean of both halves";
            EXPECT_NEAR(first.b, 0.5, 0.1);
        }
    }
}

TEST(CairoContext, TextPaintsInsideItsMeasuredBox) {
    AttributedString s("Hello", Font("HelveticaNeue", 12), Color::black());
    Size size = measureText(s);
    Image img(60, 30);
    CairoContext c(img);
    c.drawText(s, Point{5, 5});
    int inkInside = 0, inkOutside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            if (!painted(img, x, y)) continue;
            bool inside = x >= 5 && x < 5 + size.width + 1 && y >= 5 && y < 5 + size.height + 1;
            (inside ? inkInside : inkOutside)++;
        }
    EXPECT_GT(inkInside, 30);
    EXPECT_EQ(inkOutside, 0);
}

TEST(CairoContext, TextTooLargeForGlyphsIsDrawnAsOutlinesInItsColour) {
    // 10 points at 100x: an em of 1,000 device pixels, which the fonts cannot be made at.
    constexpr double Scale = 100;
    AttributedString s("H", Font("Helvetica", 10), Color::red());
    const Size size = measureText(s);
    const int w = static_cast<int>(size.width * Scale), h = static_cast<int>(size.height * Scale);
    Image img(w + 4, h + 4, Scale);
    CairoContext c(img);
    c.drawText(s, Point{0, 0});
    int ink = 0, outside = 0, notRed = 0, left = img.pixelWidth(), right = 0;
    for (int y = 0; y < img.pixelHeight(); ++y)
        for (int x = 0; x < img.pixelWidth(); ++x) {
            const Color p = img.pixel(x, y);
            if (p.a < 0.5) continue;
            ++ink;
            if (x > w + 1 || y > h + 1) ++outside;
            if (!nearlyEqual(p.withAlpha(1), Color::red(), 0.02)) ++notRed;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_GT(ink, w * h / 10);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(notRed, 0);
    EXPECT_GT(right - left, w * 0.6) << "both stems of the H";
}

TEST(CairoContext, TextUnderExtremeTransformsLeavesPangoQuietAndLaterTextDrawing) {
    const AttributedString s("Hello", Font("Helvetica", 12), Color::black());
    const AffineTransform transforms[] = {
        AffineTransform::scale(1e6, 1e6),   AffineTransform::scale(1e150, 1e150),      AffineTransform::scale(1e-12, 1e12),
        AffineTransform::scale(1e-9, 1e-9), AffineTransform{1, 1, 1, 1.0000001, 0, 0},
    };
    Image img(40, 20);
    CairoContext c(img);
    ::testing::internal::CaptureStderr();
    for (const AffineTransform& t : transforms) {
        c.save();
        c.concatCTM(t);
        c.drawText(s, Point{0, 0});
        c.drawText(s, Rect{0, 0, 100, 100});
        c.restore();
    }
    const std::string complaints = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(complaints.find("Pango"), std::string::npos) << complaints;
    img.fill(Color::clear());
    c.drawText(s, Point{0, 0});
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ink += painted(img, x, y);
    EXPECT_GT(ink, 20);
}
