// Rectangles filled or framed on whole pixels are written straight into the target: every pixel must
// be the one Cairo paints for the same drawing, whatever the placement, width, scale, clip, colour and
// alpha, and shapes that do not cover whole pixels must still reach Cairo.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "graphics/pixel_boxes.h"

using namespace plat;

namespace {

constexpr int W = 48, H = 36;

// A target with something under the drawing: a different pixel every few, some of them translucent.
Image background(double scale) {
    Image img(W, H, scale);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            img.setPixel(x, y,
                         Color((x * 37 % 256) / 255.0, (y * 53 % 256) / 255.0, ((x + y) * 19 % 256) / 255.0,
                               (x + 2 * y) % 3 == 0 ? 0.5 : 1));
    return img;
}

Image drawn(double scale, bool direct, const std::function<void(Context&)>& scene) {
    Image img = background(scale);
    const bool was = detail::pixelBoxesEnabled();
    detail::pixelBoxesEnabled() = direct;
    {
        CairoContext c(img);
        scene(c);
    }
    detail::pixelBoxesEnabled() = was;
    return img;
}

// The first pixel at which the two ways differ, or empty when every pixel agrees.
std::string firstDifference(double scale, const std::function<void(Context&)>& scene) {
    const Image viaCairo = drawn(scale, false, scene), direct = drawn(scale, true, scene);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (viaCairo.rawPixel(x, y) != direct.rawPixel(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): Cairo " +
                       std::to_string(viaCairo.rawPixel(x, y)) + ", direct " + std::to_string(direct.rawPixel(x, y));
    return {};
}

struct Look {
    const char* name;
    Color colour;
    double alpha;
};

const Look Looks[] = {
    {"opaque", Color(0.2, 0.4, 0.6), 1},
    {"translucent colour", Color(0.9, 0.1, 0.35, 0.5), 1},
    {"faint colour", Color(0.3, 0.7, 0.1, 0.01), 1},
    {"context alpha", Color(0.8, 0.8, 0.8), 0.7},
    {"clear", Color::clear(), 1},
    {"out of range channels", Color(1.5, -0.2, 0.5, 2), 1},
};

struct Placement {
    const char* name;
    double scale;
    Rect rect;
    std::function<void(Context&)> setUp;
};

const Placement Placements[] = {
    {"whole pixels", 1, {4, 5, 30, 20}, [](Context&) {}},
    {"half pixels", 1, {4.5, 5.5, 30, 20}, [](Context&) {}},
    {"fractions", 1, {4.3, 5.7, 30.2, 19.9}, [](Context&) {}},
    {"scale 2", 2, {2.5, 3, 15, 10}, [](Context&) {}},
    {"scale 1.5", 1.5, {2, 3, 20, 12}, [](Context&) {}},
    {"translated", 1, {0, 0, 12, 9}, [](Context& c) { c.translate(7, 3); }},
    {"translated by a part pixel", 1, {0, 0, 12, 9}, [](Context& c) { c.translate(7.5, 3.25); }},
    {"flipped", 1, {-30, -20, 12, 9}, [](Context& c) { c.scale(-1, -1); }},
    {"rotated", 1, {10, 2, 12, 9}, [](Context& c) { c.rotate(0.3); }},
    {"past the edges", 1, {-5, -6, 70, 50}, [](Context&) {}},
    {"whole clip",
     1,
     {4, 5, 30, 20},
     [](Context& c) {
         c.clipToRect({10, 8, 12, 30});
     }},
    {"part-pixel clip",
     1,
     {4, 5, 30, 20},
     [](Context& c) {
         c.clipToRect({10.5, 8, 12, 30});
     }},
    {"round clip",
     1,
     {4, 5, 30, 20},
     [](Context& c) {
         Path p;
         p.addEllipse({6, 4, 30, 24});
         c.clipToPath(p);
     }},
};

}  // namespace

TEST(PixelBoxes, FillsMatchCairoPixelForPixel) {
    for (const auto& place : Placements)
        for (const auto& look : Looks) {
            const auto diff = firstDifference(place.scale, [&](Context& c) {
                place.setUp(c);
                c.setAlpha(look.alpha);
                c.setFillColor(look.colour);
                c.fillRect(place.rect);
                // And inside a group, which Cairo draws on a surface of its own.
                c.beginTransparencyGroup(0.6);
                c.fillRect({place.rect.x() + 2, place.rect.y() + 2, 5, 4});
                c.endTransparencyGroup();
            });
            EXPECT_EQ(diff, "") << place.name << ", " << look.name;
        }
}

TEST(PixelBoxes, FramesMatchCairosStrokerPixelForPixel) {
    struct Line {
        const char* name;
        double width;
        std::function<void(Context&)> style;
    };
    const Line lines[] = {
        {"one", 1, [](Context&) {}},
        {"half", 0.5, [](Context&) {}},
        {"two", 2, [](Context&) {}},
        {"three (not thin)", 3, [](Context&) {}},
        {"bevelled", 1, [](Context& c) { c.setLineJoin(LineJoin::Bevel); }},
        {"rounded", 1, [](Context& c) { c.setLineJoin(LineJoin::Round); }},
        {"short mitre limit", 1, [](Context& c) { c.setMiterLimit(1.2); }},
        {"dashed", 1,
         [](Context& c) {
             c.setLineDash(0, {3, 2});
         }},
    };
    for (const auto& place : Placements)
        for (const auto& look : Looks)
            for (const auto& line : lines) {
                const auto diff = firstDifference(place.scale, [&](Context& c) {
                    place.setUp(c);
                    line.style(c);
                    c.setAlpha(look.alpha);
                    c.setStrokeColor(look.colour);
                    c.setLineWidth(line.width);
                    c.strokeRect(place.rect);
                    // A rectangle as narrow as the line, and one narrower than it.
                    c.strokeRect({place.rect.x() + 3, place.rect.y() + 3, 1, 6});
                    c.strokeRect({place.rect.x() + 6, place.rect.y() + 3, 0.5, 6});
                });
                EXPECT_EQ(diff, "") << place.name << ", " << look.name << ", " << line.name;
            }
}

TEST(PixelBoxes, ShapesThatAreNoRectangleReachCairo) {
    const std::function<void(Context&)> scenes[] = {
        // Out along an edge and back: no area at all.
        [](Context& c) {
            Path p;
            p.moveTo({4, 4});
            p.lineTo({20, 4});
            p.lineTo({20, 16});
            p.lineTo({20, 4});
            p.close();
            c.fillPath(p);
            c.strokePath(p);
        },
        // A rectangle left open, stroked: its last side is not drawn.
        [](Context& c) {
            Path p;
            p.moveTo({4, 4});
            p.lineTo({20, 4});
            p.lineTo({20, 16});
            p.lineTo({4, 16});
            c.strokePath(p);
        },
        // Filled and stroked at once, and with the even-odd rule.
        [](Context& c) {
            Path p;
            p.addRect({4, 4, 20, 12});
            c.setFillColor(Color(0.1, 0.5, 0.9, 0.5));
            c.drawPath(p, DrawingMode::FillStroke);
            c.fillPath(p, FillRule::EvenOdd);
        },
        // Two rectangles in one path.
        [](Context& c) {
            Path p;
            p.addRect({4, 4, 10, 8});
            p.addRect({20, 10, 10, 8});
            c.fillPath(p);
            c.strokePath(p);
        },
    };
    for (std::size_t k = 0; k < std::size(scenes); ++k) EXPECT_EQ(firstDifference(1, scenes[k]), "") << "scene " << k;
}
