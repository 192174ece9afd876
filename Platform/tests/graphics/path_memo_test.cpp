// Small path draws written from the memo must leave every pixel as Cairo alone leaves it: random
// shapes and styles, drawn again and again at whole-pixel and part-pixel offsets, over plain and
// patterned pixels, under clips of every kind, compared byte for byte with the memo off. A key that
// misses anything Cairo rasterises by gives a draw another draw's pixels, and a difference here.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "graphics/path_memo.h"

using namespace plat;

namespace {

constexpr int W = 160, H = 120;

// Uniform, or a pattern that repeats every 8 pixels (a shape moved by a multiple of 8 finds the same
// pixels under it, moved by anything else other pixels), some of it translucent.
Image background(bool patterned) {
    Image img(W, H, 1);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            img.setPixel(x, y,
                         patterned ? Color((x % 8) * 30 / 255.0, (y % 8) * 31 / 255.0, ((x + y) % 8) * 17 / 255.0,
                                           (x + 2 * y) % 8 == 0 ? 0.5 : 1)
                                   : Color(0.95, 0.9, 0.85));
    return img;
}

// Draws `scene` on `img` with the memo on or off (on: starting from an empty memo).
void drawWith(Image& img, bool memo, const std::function<void(Context&)>& scene) {
    const bool was = detail::pathMemoEnabled();
    detail::pathMemoEnabled() = memo;
    if (memo) detail::PathMemo::forThread().clear();
    {
        CairoContext c(img);
        scene(c);
    }
    detail::pathMemoEnabled() = was;
}

std::string firstDifference(bool patterned, const std::function<void(Context&)>& scene) {
    Image viaCairo = background(patterned), memoised = background(patterned);
    drawWith(viaCairo, false, scene);
    drawWith(memoised, true, scene);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (viaCairo.rawPixel(x, y) != memoised.rawPixel(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): Cairo " +
                       std::to_string(viaCairo.rawPixel(x, y)) + ", memo " + std::to_string(memoised.rawPixel(x, y));
    return {};
}

Path ellipse(const Rect& r) {
    Path p;
    p.addEllipse(r);
    return p;
}

// A draw's whole look besides its path and where it goes.
struct Style {
    DrawingMode mode = DrawingMode::Stroke;
    Color fill, stroke;
    double alpha = 1, width = 1, miter = 10;
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    std::vector<double> dash;
    double dashPhase = 0;
    double scale = 1, rotation = 0;
    // The path drawn at this much its size: with the scale grown as much, the same device path under
    // another transform (only the stroke's pen then differs).
    double shrink = 1;

    void apply(Context& c) const {
        c.scale(scale, scale);
        c.rotate(rotation);
        c.setAlpha(alpha);
        c.setFillColor(fill);
        c.setStrokeColor(stroke);
        c.setLineWidth(width);
        c.setMiterLimit(miter);
        c.setLineCap(cap);
        c.setLineJoin(join);
        c.setLineDash(dashPhase, std::span<const double>(dash));
    }
};

class RandomScenes {
public:
    explicit RandomScenes(unsigned seed) : _rng(seed) {}

    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(_rng); }
    int integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(_rng); }
    bool chance(double p) { return real(0, 1) < p; }

    // Lines, quadratic and cubic curves in a box of about 14 points, some subpaths closed.
    Path path() {
        Path p;
        const auto pt = [&] { return Point{real(0, 14), real(0, 14)}; };
        const int subpaths = chance(0.8) ? 1 : 2;
        for (int s = 0; s < subpaths; ++s) {
            p.moveTo(pt());
            const int segments = integer(1, 4);
            for (int k = 0; k < segments; ++k) {
                const int kind = integer(0, 3);
                if (kind == 0)
                    p.quadTo(pt(), pt());
                else if (kind == 1)
                    p.cubicTo(pt(), pt(), pt());
                else
                    p.lineTo(pt());
            }
            if (chance(0.4)) p.close();
        }
        return p;
    }

    Color colour() { return Color(real(0, 1), real(0, 1), real(0, 1), chance(0.5) ? 1.0 : real(0.05, 1)); }

    Style style() {
        Style s;
        s.mode = static_cast<DrawingMode>(integer(0, 4));
        s.fill = colour();
        s.stroke = colour();
        s.alpha = chance(0.7) ? 1 : real(0.2, 1);
        s.width = chance(0.3) ? 1 : real(0.3, 4);
        s.miter = chance(0.5) ? 10 : real(1, 4);
        s.cap = static_cast<LineCap>(integer(0, 2));
        s.join = static_cast<LineJoin>(integer(0, 2));
        if (chance(0.3)) s.dash = {real(0.5, 3), real(0.5, 3)}, s.dashPhase = real(0, 2);
        s.scale = chance(0.6) ? 1 : (chance(0.5) ? 2 : 1.5);
        s.rotation = chance(0.8) ? 0 : real(-1, 1);
        return s;
    }

    // The same style with one thing changed, or the same style.
    Style variant(Style s) {
        switch (integer(0, 10)) {
            case 0:
                s.fill.r = 1 - s.fill.r;
                break;
            case 1:
                s.stroke.g = 1 - s.stroke.g;
                break;
            case 2:
                s.alpha *= 0.5;
                break;
            case 3:
                s.width += 0.25;
                break;
            case 4:
                s.cap = static_cast<LineCap>((static_cast<int>(s.cap) + 1) % 3);
                break;
            case 5:
                s.join = static_cast<LineJoin>((static_cast<int>(s.join) + 1) % 3);
                break;
            case 6:
                s.dash = {1, 1.5};
                break;
            case 7:
                s.mode = static_cast<DrawingMode>((static_cast<int>(s.mode) + 1) % 5);
                break;
            case 8:
                s.miter = 1.2;
                break;
            case 9:
                s.shrink = 0.5, s.scale *= 2;
                break;
            default:
                break;
        }
        return s;
    }

    // A clip of a kind picked at random, over the area the shapes go (device space at scale 1).
    std::function<void(Context&)> clip() {
        const int kind = integer(0, 7);
        const Rect r{static_cast<double>(integer(0, 60)), static_cast<double>(integer(0, 40)),
                     static_cast<double>(integer(30, 120)), static_cast<double>(integer(30, 90))};
        switch (kind) {
            case 1:
                return [r](Context& c) { c.clipToRect(r); };  // whole pixels
            case 2:
                return [r](Context& c) { c.clipToRect({r.x() + 0.4, r.y() + 0.3, r.width(), r.height()}); };
            case 3:
                return [r](Context& c) { c.clipToPath(ellipse(r)); };
            case 4:
                return [r](Context& c) {
                    c.clipToPath(ellipse(r), FillRule::EvenOdd);
                    c.clipToRect({r.x() + 3.5, r.y(), r.width(), r.height()});
                };
            case 5:  // a cell's whole-pixel rectangle, then a shape's own clip inside it
                return [r](Context& c) {
                    c.clipToRect(r);
                    c.clipToPath(ellipse(r.insetBy(2, 2)));
                };
            case 6:
                return [r](Context& c) {
                    c.clipToPath(ellipse(r));
                    c.clipToRect({r.x() + 5, r.y() + 3, r.width(), r.height()});
                };
            default:
                return [](Context&) {};
        }
    }

private:
    std::mt19937 _rng;
};

// Draws `path` in `style` at (x, y) device pixels.
void drawAt(Context& c, const Path& path, const Style& style, double x, double y) {
    c.save();
    c.translate(x, y);
    style.apply(c);
    c.drawPath(style.shrink != 1 ? path.transformed(AffineTransform::scale(style.shrink, style.shrink)) : path, style.mode);
    c.restore();
}

}  // namespace

TEST(PathMemo, RandomDrawsMatchCairoByteForByte) {
    RandomScenes random(20261211);
    for (int scene = 0; scene < 160; ++scene) {
        const Path path = random.path();
        const Style first = random.style(), second = random.variant(first);
        const auto clip = random.clip();
        const bool patterned = random.chance(0.5), inGroup = random.chance(0.1);
        // Part-pixel origins on a grid of 1/1024 px, so that some draws fall in the same 1/256 of a pixel
        // (one fixed-point number to Cairo) and others just beside it.
        const double fx = random.integer(0, 1023) / 1024.0, fy = random.integer(0, 1023) / 1024.0;
        struct Draw {
            const Style* style;
            double x, y;
        };
        std::vector<Draw> draws;
        for (int k = 0; k < 10; ++k) {
            const Style* s = k < 5 ? &first : &second;
            // Mostly whole multiples of 8 apart, sometimes any whole number, sometimes a sliver off,
            // sometimes at or past the target's edge.
            double x = 8.0 * random.integer(-1, 17) + fx, y = 8.0 * random.integer(-1, 12) + fy;
            if (random.chance(0.2)) x += random.integer(1, 7);
            if (random.chance(0.1)) y += random.chance(0.5) ? 1.0 / 512 : 1.0 / 256;
            draws.push_back({s, x, y});
            if (random.chance(0.5)) draws.push_back({s, x, y});  // the very same place again: its own pixels under it
        }
        const auto diff = firstDifference(patterned, [&](Context& c) {
            clip(c);
            if (inGroup) c.beginTransparencyGroup(0.7);
            for (const Draw& d : draws) drawAt(c, path, *d.style, d.x, d.y);
            if (inGroup) c.endTransparencyGroup();
        });
        ASSERT_EQ(diff, "") << "scene " << scene;
    }
}

TEST(PathMemo, ReplaysRepeatedShapesAndPassesOverWhatItCannotStandFor) {
    Path tick;
    tick.moveTo({2, 6});
    tick.lineTo({5, 9});
    tick.lineTo({11, 2});
    Style style;
    style.stroke = Color(0.1, 0.4, 0.8);
    style.width = 2;
    style.join = LineJoin::Round;
    style.cap = LineCap::Square;
    const auto& memo = detail::PathMemo::forThread();
    struct Case {
        const char* name;
        std::function<void(Context&)> clip;
        double x;
        bool kept;
    };
    // Clips in the shape's own space: each draw finds the clip where the one before found it, as each
    // cell of a grid finds its check box's.
    const Case cases[] = {
        {"no clip", [](Context&) {}, 20.25, true},
        {"whole-pixel clip around it",
         [](Context& c) {
             c.clipToRect({-4, -4, 30, 30});
         },
         20, true},
        {"one round clip",
         [](Context& c) {
             c.clipToPath(ellipse({-4, -4, 24, 24}));
         },
         20.25, true},
        {"one round clip across it",
         [](Context& c) {
             c.clipToPath(ellipse({4, 0, 24, 24}));
         },
         20.25, true},
        {"whole-pixel clip around a round clip",
         [](Context& c) {
             c.clipToRect({-4, -4, 30, 30});
             c.clipToPath(ellipse({-4, -4, 24, 24}));
         },
         20, true},
        // The rectangle stays where it is on the target (across the third draw) while the round clip
        // moves with the shape: the third must not be taken for the two before it.
        {"round clip, and a fixed whole-pixel clip across one draw",
         [](Context& c) {
             c.clipToPath(ellipse({-4, -4, 24, 24}));
             c.clipToRect({-c.ctm().tx, -c.ctm().ty, 200, 42});
         },
         20, true},
        {"whole-pixel clip across it",
         [](Context& c) {
             c.clipToRect({5, 0, 30, 30});
         },
         20, false},
        {"two round clips",
         [](Context& c) {
             c.clipToPath(ellipse({-4, -4, 24, 24}));
             c.clipToPath(ellipse({-3, -4, 24, 24}));
         },
         20.25, false},
        {"at the target's edge", [](Context&) {}, -1.5, false},
    };
    for (const Case& k : cases) {
        const auto scene = [&](Context& c) {
            const auto at = [&](double y) {
                c.save();
                c.translate(k.x, y);
                k.clip(c);
                drawAt(c, tick, style, 0, 0);
                c.restore();
            };
            for (int row = 0; row < 4; ++row) at(4 + 16 * row);
            c.beginTransparencyGroup(0.5);  // never through the memo inside a group
            at(80);
            at(96);
            c.endTransparencyGroup();
        };
        EXPECT_EQ(firstDifference(false, scene), "") << k.name;
        // Noted at the first draw, kept at the second, replayed after.
        EXPECT_EQ(memo.entryCount(), k.kept ? 1u : 0u) << k.name;
    }
}

TEST(PathMemo, StaysWithinItsBounds) {
    Image img = background(false);
    detail::PathMemo& memo = detail::PathMemo::forThread();
    memo.clear();
    CairoContext c(img);
    c.setFillColor(Color(0.2, 0.5, 0.3, 0.8));
    // Shapes that differ, each drawn twice (kept at its second draw), far more than the memo holds.
    std::size_t most = 0;
    for (int k = 0; k < 3 * static_cast<int>(detail::PathMemo::MaxEntries); ++k) {
        const double size = 3 + (k % 97) * 0.25;
        for (int twice = 0; twice < 2; ++twice) c.fillEllipse({10.0 + twice * 40 + (k % 13) / 16.0, 10, size, size});
        EXPECT_LE(memo.entryCount(), detail::PathMemo::MaxEntries);
        EXPECT_LE(memo.byteCount(), detail::PathMemo::MaxBytes);
        most = std::max(most, memo.entryCount());
    }
    EXPECT_GT(most, detail::PathMemo::MaxEntries / 2);
}
