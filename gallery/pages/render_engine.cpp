// The render engine's page: every primitive of the engine in a grid of captioned cells of 120 × 80
// points.

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/image.h"
#include "gallery_page.h"

namespace {

constexpr plat::Size SamplerSize{480, 320};

// Draws the sampler into the current drawing context, in points from its top-left corner.
void drawSampler() {
    using plat::Color;
    using std::numbers::pi;
    KivoRenderEngine e;
    e.setFont(plat::Font("HelveticaNeue", 9));
    e.setTextFill(Color::gray());
    auto cell = [&](int col, int row, const char* caption) {
        e.drawString(caption, KivoPoint::create(col * 120 + 4, row * 80 + 66));
        return std::pair<double, double>{col * 120.0, row * 80.0};
    };
    const Color blue = Color::rgb255(40, 100, 200), orange = Color::rgb255(240, 140, 30), green = Color::rgb255(50, 160, 80);

    auto [x, y] = cell(0, 0, "rect / dashed rect");
    e.setFill(orange);
    e.setStroke(blue);
    e.setStrokeThickness(2);
    e.drawRect(x + 8, y + 10, 44, 44);
    e.setBorderDashes({6, 3});
    e.drawRect(x + 64, y + 10, 44, 44);

    std::tie(x, y) = cell(1, 0, "ellipses");
    e.drawEllipse(x + 30, y + 32, 44, 44);
    e.setBorderDashes({2, 2});
    e.drawEllipse(x + 86, y + 32, 40, 24);
    e.setBorderDashes({});

    std::tie(x, y) = cell(2, 0, "line / dashed polyline");
    e.setStroke(green);
    e.setStrokeThickness(3);
    e.drawLine(x + 8, y + 54, x + 50, y + 10);
    e.setBorderDashes({5, 3});
    e.drawLines(std::vector<double>{x + 60, x + 75, x + 90, x + 112}, std::vector<double>{y + 54, y + 10, y + 45, y + 12});
    e.setBorderDashes({});

    std::tie(x, y) = cell(3, 0, "splines / rotated");
    e.setStroke(blue);
    e.setStrokeThickness(2);
    e.drawSplines(std::vector<double>{x + 6, x + 24, x + 42, x + 60}, std::vector<double>{y + 50, y + 12, y + 40, y + 8}, false);
    e.drawSplines(std::vector<double>{x + 80, x + 110, x + 76, x + 112}, std::vector<double>{y + 6, y + 22, y + 38, y + 56},
                  true);

    std::tie(x, y) = cell(0, 1, "spline area / stacked");
    e.setFill(orange.withAlpha(0.7));
    e.setStroke(orange);
    e.setStrokeThickness(1);
    e.drawSplineAreas(std::vector<double>{x + 6, x + 22, x + 38, x + 54, x + 54, x + 6},
                      std::vector<double>{y + 30, y + 10, y + 36, y + 16, y + 58, y + 58}, false, false);
    e.setFill(blue.withAlpha(0.6));
    e.setStroke(blue);
    e.drawSplineAreas(std::vector<double>{x + 64, x + 86, x + 110, x + 110, x + 86, x + 64},
                      std::vector<double>{y + 20, y + 8, y + 22, y + 50, y + 40, y + 56}, true, false);

    std::tie(x, y) = cell(1, 1, "polygon (open outline)");
    e.setFill(green);
    e.setStroke(Color::black());
    e.setStrokeThickness(2);
    e.drawPolygon(std::vector<double>{x + 20, x + 100, x + 60}, std::vector<double>{y + 56, y + 56, y + 8});

    // A five-pointed star in each mode: the even-odd modes leave its centre open.
    for (int mode = 0; mode <= 4; ++mode) {
        double cx = mode < 2 ? 2 * 120 + 30 + mode * 60 : 3 * 120 + 20 + (mode - 2) * 40;
        double cy = 80 + 32;
        std::vector<std::shared_ptr<KivoPoint>> star;
        for (int k = 0; k < 5; ++k) {
            double a = -pi / 2 + k * 4 * pi / 5;
            double r = mode < 2 ? 26 : 18;
            star.push_back(KivoPoint::create(cx + r * std::cos(a), cy + r * std::sin(a)));
        }
        e.setFill(orange);
        e.setStroke(blue);
        e.drawPolygonWithMode(star, mode);
    }
    cell(2, 1, "modes 0 fill, 1 even-odd");
    cell(3, 1, "modes 2, 3, 4");

    std::tie(x, y) = cell(0, 2, "pie (one selected)");
    const Color slices[] = {blue, orange, green, Color::rgb255(200, 60, 60)};
    double start = 0;
    const double sweeps[] = {pi / 2, 2 * pi / 3, pi / 3, 2 * pi / 2 - pi / 2};
    e.setStroke(Color::white());
    e.setStrokeThickness(1);
    for (int i = 0; i < 4; ++i) {
        e.setFill(slices[i]);
        if (i == 1) {
            e.setStroke(Color::black());
            e.setBorderDashes({3, 2});
        }
        e.drawPieSegment(x + 60, y + 32, 28, start, sweeps[i], i == 1);
        e.setStroke(Color::white());
        start += sweeps[i];
    }

    std::tie(x, y) = cell(1, 2, "doughnut / full ring");
    start = 0;
    for (int i = 0; i < 3; ++i) {
        e.setFill(slices[i]);
        e.drawDonutSegment(x + 34, y + 32, 28, 16, start, 2 * pi / 3, false);
        start += 2 * pi / 3;
    }
    e.setFill(green);
    e.drawDonutSegment(x + 92, y + 32, 22, 12, 0, 2 * pi, false);

    std::tie(x, y) = cell(2, 2, "gauge band / full ring");
    e.setFill(orange);
    e.setStroke(Color::black());
    e.setStrokeThickness(2);
    e.drawRadialGauge(x + 36, y + 40, 0, 0, 30, 20, -pi / 4, 5 * pi / 4);
    e.setFill(blue);
    e.drawRadialGauge(x + 94, y + 32, 0, 0, 22, 14, 0, 6.28);

    std::tie(x, y) = cell(3, 2, "text");
    e.setTextFill(Color::black());
    e.setFont(plat::Font("HelveticaNeue-Bold", 12));
    e.drawString("At a point", KivoPoint::create(x + 4, y + 4));
    e.setFont(plat::Font("HelveticaNeue", 10));
    e.setTextFill(blue);
    e.drawStringInRect("Wrapped in a narrow box", {x + 4, y + 22, 64, 40});
    e.setTextFill(Color::rgb255(200, 60, 60));
    e.drawStringRotated("Rotated", KivoPoint::create(x + 82, y + 30), KivoPoint::create(x + 96, y + 36), -60);
    e.setTextFill(Color::gray());
    e.setFont(plat::Font("HelveticaNeue", 9));

    std::tie(x, y) = cell(0, 3, "image");
    auto img = std::make_shared<plat::Image>(4, 4);
    for (int py = 0; py < 4; ++py)
        for (int px = 0; px < 4; ++px) img->setPixel(px, py, (px + py) % 2 ? blue : orange);
    e.drawImage(img, {x + 8, y + 8, 48, 48});

    std::tie(x, y) = cell(1, 3, "opacity 0.4 / clip");
    e.setOpacity(0.4);
    e.setFill(blue);
    e.setStroke(Color::black());
    e.drawRect(x + 8, y + 8, 40, 40);
    e.drawRect(x + 28, y + 20, 40, 40);
    e.setOpacity(1);
    e.setClipRect(x + 76, y + 8, 20, 50);
    e.setFill(green);
    e.drawEllipse(x + 96, y + 32, 44, 44);
    e.clearClipRect();

    std::tie(x, y) = cell(2, 3, "scale and pan");
    e.setClipRect(x, y, 120, 62);
    e.setPan(static_cast<float>(x + 10), static_cast<float>(y + 10));
    e.setScale(2, 1);
    e.setFill(orange);
    e.drawRect(0, 0, 20, 20);
    e.clearClipRect();

    std::tie(x, y) = cell(3, 3, "bad input ignored");
    e.setClipRect(x, y, 120, 62);
    e.setScale(0, 0);
    e.drawRect(0, 0, 50, 50);
    e.clearClipRect();
    e.setBorderDashes({0, 0});
    e.drawLine(x + 8, y + 30, x + 110, y + 30);
    e.setBorderDashes({-1, 4});
    e.drawLine(x + 8, y + 40, x + 110, y + 40);
}

const gallery::PageRegistrar registrar({
    .name = "render_engine",
    .description = "Every primitive of the render engine: rectangles, ellipses, lines, polylines, splines, spline "
                   "areas, polygons in each drawing mode, pie and doughnut segments, gauge bands, text, an image, "
                   "opacity, clipping, scale and pan.",
    .size = SamplerSize,
    .draw = drawSampler,
});

}  // namespace
