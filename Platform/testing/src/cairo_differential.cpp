#include "Platform/testing/cairo_differential.h"

#include <cmath>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"

namespace plat::testing {

namespace {

// A handful of mismatches tell the story; the rest are counted.
constexpr int MaxReportedPixels = 8;
// A pixel is judged by a grid of probes over its square grown by the margin: dense enough that a
// sharp corner reaching into the square is seen.
constexpr int ProbesPerSide = 5;

bool painted(const Image& img, int x, int y) { return (img.rawPixel(x, y) >> 24) > 0; }

}  // namespace

::testing::AssertionResult cairoMatchesRecording(const std::function<void(Context&)>& scene, Size pixels, double margin) {
    const int width = static_cast<int>(pixels.width), height = static_cast<int>(pixels.height);
    Image img(width, height);
    {
        CairoContext cairo(img);
        scene(cairo);
    }
    RecordingContext rec;
    scene(rec);
    if (rec.fills().empty()) return ::testing::AssertionFailure() << "the scene fills nothing";

    const double reach = 0.5 + margin;
    int judged = 0, wrong = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool inside = false, near = false;
            for (const DrawOp* op : rec.fills()) {
                bool allIn = true, anyIn = false;
                for (int i = 0; i < ProbesPerSide; ++i) {
                    for (int j = 0; j < ProbesPerSide; ++j) {
                        const Point p{x + 0.5 + reach * (2.0 * i / (ProbesPerSide - 1) - 1),
                                      y + 0.5 + reach * (2.0 * j / (ProbesPerSide - 1) - 1)};
                        bool in = op->path.contains(p, op->rule) && (!op->clip || op->clip->contains(p));
                        allIn = allIn && in;
                        anyIn = anyIn || in;
                    }
                }
                inside = inside || allIn;
                near = near || anyIn;
            }
            if (!inside && near) continue;
            ++judged;
            if (inside == painted(img, x, y)) continue;
            if (++wrong <= MaxReportedPixels)
                failure << "pixel " << x << "," << y << (inside ? " should be painted" : " should be clear") << "; ";
        }
    }
    if (wrong > 0) return failure << wrong << " of " << judged << " judged pixels disagree";
    if (judged * 2 < width * height)
        return ::testing::AssertionFailure() << "only " << judged << " of " << width * height << " pixels judged";
    return ::testing::AssertionSuccess();
}

}  // namespace plat::testing
