// The Cairo context hands clips to Cairo only when Cairo next draws. Random scenes of saves, clips,
// restores, groups and masks between drawings of every kind must come out byte for byte as when every
// clip and restore reaches Cairo at once.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/pixel_difference.h"
#include "graphics/lazy_clips.h"

using namespace plat;
using plat::testing::firstPixelDifference;

namespace {

constexpr int Width = 56, Height = 40;

struct EagerClips {
    EagerClips() { detail::lazyClipsEnabled() = false; }
    ~EagerClips() { detail::lazyClipsEnabled() = true; }
    EagerClips(const EagerClips&) = delete;
    EagerClips& operator=(const EagerClips&) = delete;
};

Path ellipse(const Rect& r) {
    Path p;
    p.addEllipse(r);
    return p;
}

class RandomScene {
public:
    explicit RandomScene(unsigned seed) : _rng(seed) {}
    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_rng); }

    Rect box() {
        return {static_cast<double>(integer(-4, Width - 4)), static_cast<double>(integer(-4, Height - 4)),
                static_cast<double>(integer(2, Width)), static_cast<double>(integer(2, Height))};
    }
    Color colour() {
        return Color(integer(0, 255) / 255.0, integer(0, 255) / 255.0, integer(0, 255) / 255.0,
                     integer(0, 2) == 0 ? integer(40, 230) / 255.0 : 1.0);
    }

    std::function<void(Context&)> step(const std::shared_ptr<Image>& picture) {
        const Rect r = box();
        const Color c = colour();
        switch (integer(0, 15)) {
            case 0:
            case 1:
                return [](Context& k) { k.save(); };
            case 2:
            case 3:
                return [](Context& k) { k.restore(); };
            case 4:
                return [r](Context& k) { k.clipToRect(r); };  // whole pixels
            case 5:
                return [r](Context& k) { k.clipToRect({r.x() + 0.5, r.y() + 0.25, r.width(), r.height()}); };
            case 6:
                return [r](Context& k) { k.clipToPath(ellipse(r)); };
            case 7:
                return [r, c](Context& k) {
                    k.setFillColor(c);
                    k.fillRect(r);  // straight into the pixels
                };
            case 8:
                return [r, c](Context& k) {
                    k.setFillColor(c);
                    k.fillEllipse(r);  // through Cairo
                };
            case 9:
                return [r, c](Context& k) {
                    k.setStrokeColor(c);
                    k.setLineWidth(2);
                    k.strokeLine(r.origin, {r.maxX(), r.maxY()});
                };
            case 10:
                return [r, c](Context& k) { k.drawText(AttributedString("Wq", Font("DejaVu Sans", 13), c), r.origin); };
            case 11:
                return [r, picture](Context& k) { k.drawImage(*picture, {r.x(), r.y(), 10, 8}); };  // copied
            case 12:
                return [r, picture](Context& k) { k.drawImage(*picture, r); };  // scaled by Cairo
            case 13:
                return [](Context& k) { k.beginTransparencyGroup(0.7); };
            case 14:
                return [](Context& k) { k.beginTransparencyGroupMask(); };
            default:
                return [](Context& k) { k.endTransparencyGroup(); };
        }
    }

private:
    std::mt19937 _rng;
};

}  // namespace

TEST(LazyClips, ScenesComeOutAsWithEveryClipGivenToCairoAtOnce) {
    auto picture = std::make_shared<Image>(10, 8, 1, Color(0.3, 0.6, 0.2));
    for (int y = 0; y < 8; ++y) picture->setPixel(y, y, Color::red());
    RandomScene random(20261211);
    for (int scene = 0; scene < 250; ++scene) {
        std::vector<std::function<void(Context&)>> steps;
        const int count = random.integer(4, 24);
        for (int k = 0; k < count; ++k) steps.push_back(random.step(picture));
        const auto draw = [&](Image& into) {
            CairoContext c(into);
            for (const auto& s : steps) s(c);
        };
        Image lazy(Width, Height, 1, Color::white()), eager(Width, Height, 1, Color::white());
        draw(lazy);
        {
            const EagerClips eagerly;
            draw(eager);
        }
        ASSERT_EQ(firstPixelDifference(lazy, eager), "") << "scene " << scene;
    }
}

TEST(LazyClips, TextBesideTheEdgesOfItsClipsComesOutAsUnderThem) {
    // Cells of whole pixels with text slid towards and across each edge, at part-pixel origins, with
    // and without the text's own rectangle clipping, at two scales: what is left unclipped must be
    // exactly what the clips would have let through.
    const AttributedString text("Wjg,Q", Font("DejaVu Sans", 12), Color(0.1, 0.2, 0.7));
    for (const double scale : {1.0, 2.0}) {
        for (const bool ownRect : {false, true}) {
            const auto scene = [&](Context& c) {
                for (int k = 0; k < 48; ++k) {
                    const Rect cell{2.0 + (k % 3) * 62, 2.0 + (k / 3) * 26, 60, 24};
                    const double dx = (k % 7) * 0.37 + (k % 9) * 4.4 - 8, dy = (k % 5) * 0.29 + (k % 11) * 1.3 - 5;
                    c.save();
                    c.clipToRect(cell);
                    TextOptions options;
                    options.clipToRect = ownRect;
                    const Rect where{cell.x() + dx, cell.y() + dy, 44.0 - (k % 4) * 3, 18.0 + (k % 3)};
                    c.drawText(text, where, options);
                    c.restore();
                }
            };
            Image lazy(190, 420, scale, Color::white()), eager(190, 420, scale, Color::white());
            {
                CairoContext c(lazy);
                scene(c);
            }
            {
                const EagerClips eagerly;
                CairoContext c(eager);
                scene(c);
            }
            EXPECT_EQ(firstPixelDifference(lazy, eager), "") << "scale " << scale << (ownRect ? ", own rectangle" : "");
        }
    }
}
