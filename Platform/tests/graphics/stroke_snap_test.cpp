#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"

using namespace plat;

namespace {

constexpr int W = 40, H = 30;

std::uint32_t alphaAt(const Image& img, int x, int y) { return img.rawPixel(x, y) >> 24; }

// The runs of painted pixels along a row (or a column): start and length of each, and whether any
// pixel of them is only partly painted.
struct Runs {
    std::vector<std::pair<int, int>> runs;
    bool partial = false;
};

Runs runsAlong(const Image& img, bool row, int at) {
    Runs r;
    const int n = row ? img.pixelWidth() : img.pixelHeight();
    for (int k = 0; k < n; ++k) {
        const std::uint32_t a = row ? alphaAt(img, k, at) : alphaAt(img, at, k);
        if (a == 0) continue;
        if (a != 255) r.partial = true;
        if (!r.runs.empty() && r.runs.back().first + r.runs.back().second == k)
            ++r.runs.back().second;
        else
            r.runs.emplace_back(k, 1);
    }
    return r;
}

}  // namespace

// Thin lines along the axes at fractional positions each cover whole pixels, one as dark as the next,
// at every screen scale; the width in pixels is the line's own, rounded.
TEST(StrokeSnap, ThinAxisLinesCoverWholePixelsAtEveryScale) {
    struct Case {
        double scale;
        int pixels;  // a one-point line's width on the device
    };
    for (const Case k : {Case{1, 1}, Case{2, 2}, Case{1.5, 2}}) {
        SCOPED_TRACE(k.scale);
        Image img(W, H, k.scale);
        CairoContext c(img);
        c.setStrokeColor(Color::black());
        c.setLineWidth(1);
        const double w = W / k.scale, h = H / k.scale;
        for (double f : {0.2, 0.35, 0.5, 0.65}) c.strokeLine({w * f + 0.13, 1.2}, {w * f + 0.13, h - 1.2});
        c.strokeLine({0.4, 1.35}, {w - 0.4, 1.35});
        c.strokeRect({2.2, 3.1, w - 4.4, h - 5.3});

        const Runs across = runsAlong(img, true, H / 2);
        EXPECT_FALSE(across.partial);
        ASSERT_EQ(across.runs.size(), 6u);  // four lines and the frame's two sides
        for (const auto& run : across.runs) EXPECT_EQ(run.second, k.pixels);

        const Runs down = runsAlong(img, false, W * 4 / 5);
        EXPECT_FALSE(down.partial);
        ASSERT_EQ(down.runs.size(), 3u);  // the long line and the frame's top and bottom
        for (const auto& run : down.runs) EXPECT_EQ(run.second, k.pixels);
    }
}

TEST(StrokeSnap, DashedThinLinesKeepTheirPatternOnWholePixels) {
    Image img(W, H, 2);
    CairoContext c(img);
    c.setStrokeColor(Color::black());
    c.setLineWidth(0.5);
    const double dash[] = {2, 2};
    c.setLineDash(0, dash);
    c.strokeLine({0, 7.3}, {20, 7.3});
    // Two-point dashes and gaps at scale 2: runs of four pixels, every one whole.
    const Runs r = runsAlong(img, true, 14);
    EXPECT_FALSE(r.partial);
    ASSERT_EQ(r.runs.size(), 5u);
    for (const auto& run : r.runs) EXPECT_EQ(run.second, 4);
}

// Slanted lines, thick lines and the outlines of filled shapes are drawn where they are.
TEST(StrokeSnap, OtherStrokesAreLeftWhereTheyAre) {
    const auto drawn = [](const std::function<void(Context&)>& draw) {
        auto img = std::make_unique<Image>(W, H);
        CairoContext c(*img);
        c.setStrokeColor(Color::black());
        c.setFillColor(Color::white());
        c.setLineWidth(1);
        draw(c);
        return img;
    };
    const auto slanted = drawn([](Context& c) { c.strokeLine({2, 2}, {30, 25}); });
    EXPECT_TRUE(runsAlong(*slanted, true, 12).partial);
    const auto thick = drawn([](Context& c) {
        c.setLineWidth(3);
        c.strokeLine({20.3, 0}, {20.3, 30});
    });
    EXPECT_TRUE(runsAlong(*thick, true, 12).partial);
    const auto shape = drawn([](Context& c) {
        Path p;
        p.addRect({10.2, 10.2, 15, 8});
        c.drawPath(p, DrawingMode::FillStroke);
    });
    EXPECT_TRUE(runsAlong(*shape, true, 14).partial);
}
