// An image context may leave an opaque fill unwritten until something else is drawn, and skip it when
// another opaque fill covers it first. Whatever is drawn, read back or copied out in between, the
// pixels must be those of a context that writes every fill at once.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/pixel_difference.h"

using namespace plat;
using plat::testing::firstPixelDifference;

namespace {

constexpr int Width = 48, Height = 36;

// A step of a scene, given the context and a place to put what it read back.
using Step = std::function<void(Context&, std::vector<std::shared_ptr<Image>>&)>;

class RandomSteps {
public:
    explicit RandomSteps(unsigned seed) : _rng(seed) {}
    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_rng); }

    Rect box() {
        const int x = integer(-4, Width - 2), y = integer(-4, Height - 2);
        return {static_cast<double>(x), static_cast<double>(y), static_cast<double>(integer(1, Width)),
                static_cast<double>(integer(1, Height))};
    }
    Color colour(bool opaque) {
        return Color(integer(0, 255) / 255.0, integer(0, 255) / 255.0, integer(0, 255) / 255.0,
                     opaque ? 1.0 : integer(20, 230) / 255.0);
    }

    Step step() {
        const Rect r = box();
        const Color c = colour(integer(0, 3) != 0);
        switch (integer(0, 11)) {
            case 0:
            case 1:
            case 2:  // the fills that may be left owed, some covering the one before
                return [r, c](Context& k, auto&) {
                    k.setFillColor(c);
                    k.fillRect(r);
                };
            case 3:
                return [c](Context& k, auto&) {
                    k.setFillColor(c);
                    k.fillRect({0, 0, Width, Height});
                };
            case 4:
                return [r, c](Context& k, auto&) {
                    k.setFillColor(c);
                    k.fillRect({r.x() + 0.5, r.y(), r.width(), r.height()});  // through Cairo
                };
            case 5:
                return [r, c](Context& k, auto&) {
                    k.setStrokeColor(c);
                    k.strokeRect(r.insetBy(0.5, 0.5));
                };
            case 6:
                return [r, c](Context& k, auto&) {
                    k.setFillColor(c);
                    k.fillEllipse(r);
                };
            case 7:
                return [r, c](Context& k, auto&) { k.drawText(AttributedString("Ag", Font("DejaVu Sans", 12), c), r); };
            case 8:  // a clip for the steps up to the next restore
                return [r](Context& k, auto&) {
                    k.restore();
                    k.save();
                    k.clipToRect(r);
                };
            case 9:  // pixels read back and drawn again elsewhere
                return [r](Context& k, auto& read) {
                    const Rect inside = r.intersection({0, 0, Width, Height});
                    if (inside.isEmpty()) return;
                    if (auto copy = k.copyOpaquePixels(inside, 1)) {
                        read.push_back(copy);
                        k.drawImage(*copy, {inside.x() + 3, inside.y() + 2, inside.width(), inside.height()});
                    }
                };
            case 10:
                return [r, c](Context& k, auto&) {
                    k.beginTransparencyGroup(0.6);
                    k.setFillColor(c);
                    k.fillRect(r);
                    k.endTransparencyGroup();
                };
            default:
                return [](Context& k, auto& read) {
                    // A look at the whole target so far.
                    read.push_back(static_cast<CairoContext&>(k).target().pixelWidth() > 0
                                       ? std::make_shared<Image>(static_cast<CairoContext&>(k).target())
                                       : nullptr);
                };
        }
    }

private:
    std::mt19937 _rng;
};

}  // namespace

TEST(DeferredFills, ImageContextsDrawWhatContextsWritingEveryFillDraw) {
    RandomSteps random(20261211);
    for (int scene = 0; scene < 300; ++scene) {
        const bool opaque = random.integer(0, 1) == 1;
        std::vector<Step> steps;
        const int count = random.integer(1, 14);
        for (int k = 0; k < count; ++k) steps.push_back(random.step());

        const auto run = [&](Context& c, std::vector<std::shared_ptr<Image>>& read) {
            c.save();
            for (const Step& s : steps) s(c, read);
            c.restore();
        };
        // Twice each way: the second image context reuses the first one's pixels.
        std::vector<std::shared_ptr<Image>> deferredRead;
        std::shared_ptr<Image> deferred;
        for (int round = 0; round < 2; ++round) {
            deferredRead.clear();
            ImageContext image({Width, Height}, 1, opaque);
            run(image.context(), deferredRead);
            deferred = image.finish();
        }
        Image direct(Width, Height, 1, opaque ? Color::white() : Color::clear());
        std::vector<std::shared_ptr<Image>> directRead;
        {
            CairoContext c(direct);
            run(c, directRead);
        }
        ASSERT_EQ(firstPixelDifference(*deferred, direct), "") << "scene " << scene;
        ASSERT_EQ(deferredRead.size(), directRead.size()) << "scene " << scene;
        for (std::size_t k = 0; k < directRead.size(); ++k)
            ASSERT_EQ(firstPixelDifference(*deferredRead[k], *directRead[k]), "") << "scene " << scene << ", read " << k;
    }
}
