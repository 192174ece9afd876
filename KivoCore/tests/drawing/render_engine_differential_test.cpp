// The engine's filled primitives drawn through Cairo agree with what the recording context holds of
// them, pixel by pixel: the engine's geometry tests (on the recording) then speak for the pixels too.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/testing/cairo_differential.h"

using plat::Color;
using std::numbers::pi;

namespace {

constexpr plat::Size Surface{60, 40};

// The engine drawing into whichever context the check hands it, fills only (a clear stroke).
std::function<void(plat::Context&)> engineScene(std::function<void(KivoRenderEngine&)> draw) {
    return [draw = std::move(draw)](plat::Context& c) {
        plat::CurrentContextScope scope(c);
        KivoRenderEngine e;
        e.setFill(Color::rgb255(240, 140, 30));
        e.setStroke(Color::clear());
        draw(e);
    };
}

std::vector<std::shared_ptr<KivoPoint>> star(double cx, double cy, double r) {
    std::vector<std::shared_ptr<KivoPoint>> points;
    for (int k = 0; k < 5; ++k) {
        double a = -pi / 2 + k * 4 * pi / 5;
        points.push_back(KivoPoint::create(cx + r * std::cos(a), cy + r * std::sin(a)));
    }
    return points;
}

}  // namespace

TEST(RenderEngineDifferential, FilledPrimitivesAgreeWithTheRecording) {
    struct Case {
        const char* what;
        std::function<void(KivoRenderEngine&)> draw;
    };
    const Case cases[] = {
        {"rectangle", [](KivoRenderEngine& e) { e.drawRect(6, 5, 30, 22); }},
        {"ellipse about its centre", [](KivoRenderEngine& e) { e.drawEllipse(30, 20, 40, 26); }},
        {"polygon",
         [](KivoRenderEngine& e) {
             e.drawPolygon(std::vector<double>{4, 56, 30}, std::vector<double>{36, 36, 3});
         }},
        {"star, nonzero", [](KivoRenderEngine& e) { e.drawPolygonWithMode(star(30, 21, 18), 0); }},
        {"star, even-odd (open centre)", [](KivoRenderEngine& e) { e.drawPolygonWithMode(star(30, 21, 18), 1); }},
        {"spline area",
         [](KivoRenderEngine& e) {
             e.drawSplineAreas(std::vector<double>{4, 18, 32, 50, 50, 4}, std::vector<double>{20, 6, 24, 10, 36, 36}, false,
                               false);
         }},
        {"spline area, rotated",
         [](KivoRenderEngine& e) {
             e.drawSplineAreas(std::vector<double>{10, 30, 14, 40, 54, 54}, std::vector<double>{2, 12, 24, 36, 36, 2}, false,
                               true);
         }},
        {"pie segment, selected", [](KivoRenderEngine& e) { e.drawPieSegment(30, 20, 16, 0.3, 2 * pi / 3, true); }},
        {"doughnut segment", [](KivoRenderEngine& e) { e.drawDonutSegment(30, 20, 18, 9, pi / 4, pi, false); }},
        {"full ring", [](KivoRenderEngine& e) { e.drawDonutSegment(30, 20, 18, 9, 0, 2 * pi, false); }},
        {"opacity and a clip",
         [](KivoRenderEngine& e) {
             e.setOpacity(0.4);
             e.setClipRect(20, 4, 24, 30);
             e.drawEllipse(30, 20, 44, 30);
             e.clearClipRect();
         }},
        {"scale and pan",
         [](KivoRenderEngine& e) {
             e.setPan(10, 5);
             e.setScale(2, 1);
             e.drawRect(0, 0, 18, 24);
         }},
    };
    for (const auto& c : cases) EXPECT_TRUE(plat::testing::cairoMatchesRecording(engineScene(c.draw), Surface)) << c.what;
}

// An outline that turns back on itself (a point being inserted with no width yet, then the data
// falling away) is bevelled at the turn, not drawn as a spike standing above the corner.
TEST(RenderEngineDifferential, AnOutlineTurningBackLeavesNoSpike) {
    plat::Image img(40, 30);
    plat::CairoContext c(img);
    {
        plat::CurrentContextScope scope(c);
        KivoRenderEngine e;
        e.setFill(Color::clear());
        e.setStroke(Color::black());
        e.setStrokeThickness(3);
        // Up a short vertical step at x 20 to y 12, then steeply down to the right.
        e.drawPolygon(std::vector<double>{4, 20, 20, 27}, std::vector<double>{20, 20, 12, 29});
    }
    // Half the line width above the corner and no further; a miter at this angle reaches about 8
    // pixels above it.
    int highest = img.pixelHeight();
    for (int y = 0; y < img.pixelHeight() && highest == img.pixelHeight(); ++y)
        for (int x = 0; x < img.pixelWidth(); ++x)
            if ((img.rawPixel(x, y) >> 24) != 0) {
                highest = y;
                break;
            }
    EXPECT_GE(highest, 12 - 2);
}
