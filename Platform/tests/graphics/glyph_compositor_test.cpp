// Text composited straight into an image's pixels must come out byte for byte as Cairo draws it:
// random texts, fonts, sizes, colours, part-pixel origins and scales over random pixels, against the
// same drawings with the compositor turned off.
#include "graphics/glyph_compositor.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/pixel_difference.h"

using namespace plat;
using plat::testing::firstPixelDifference;

namespace {

struct CairoDrawsText {
    CairoDrawsText() { detail::setGlyphCompositingEnabled(false); }
    ~CairoDrawsText() { detail::setGlyphCompositingEnabled(true); }
    CairoDrawsText(const CairoDrawsText&) = delete;
    CairoDrawsText& operator=(const CairoDrawsText&) = delete;
};

class Random {
public:
    explicit Random(unsigned seed) : _rng(seed) {}
    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_rng); }
    double real(double low, double high) { return std::uniform_real_distribution<double>(low, high)(_rng); }

    std::string text() {
        // Letters that kern and touch, marks that stack, digits, punctuation and spaces.
        static const char* const pieces[] = {"a", "W", "j", "f",  "fi", "ffl", "AV",      "Ty", "T.", "rt", "1", "0", ",",
                                             ".", "-", " ", "  ", "é",  "ü",   "e\u0301", "Q",  "g",  "%",  "$", "/", "\u00c5"};
        std::string s;
        for (int n = integer(1, 9); n > 0; --n) s += pieces[integer(0, static_cast<int>(std::size(pieces)) - 1)];
        return s;
    }
    Color colour() {
        return Color(integer(0, 255) / 255.0, integer(0, 255) / 255.0, integer(0, 255) / 255.0,
                     integer(0, 2) == 0 ? integer(1, 254) / 255.0 : 1.0);
    }

private:
    std::mt19937 _rng;
};

// Pixels of every value, opaque and not (premultiplied), the same for both ways.
void scatter(Image& image, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < image.pixelHeight(); ++y)
        for (int x = 0; x < image.pixelWidth(); ++x) {
            const std::uint32_t a = rng() % 4 == 0 ? rng() % 256 : 255;
            const auto channel = [&] { return a == 0 ? 0u : static_cast<std::uint32_t>(rng() % (a + 1)); };
            image.data()[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.pixelWidth()) +
                         static_cast<std::size_t>(x)] = a << 24 | channel() << 16 | channel() << 8 | channel();
        }
}

}  // namespace

TEST(GlyphCompositor, TextComesOutAsCairoDrawsIt) {
    Random random(20261211);
    const std::size_t before = detail::GlyphCompositor::forThread().textsDrawn();
    int texts = 0;
    for (const double scale : {1.0, 2.0, 1.5}) {
        for (int scene = 0; scene < 60; ++scene) {
            struct Draw {
                AttributedString text;
                Point origin;
            };
            std::vector<Draw> draws;
            for (int k = random.integer(1, 6); k > 0; --k) {
                const Font font(random.integer(0, 3) == 0 ? "DejaVu Sans Bold" : "DejaVu Sans",
                                random.integer(0, 1) ? random.integer(7, 22) : random.real(7, 22));
                draws.push_back(
                    {AttributedString(random.text(), font, random.colour()), {random.real(0, 70), random.real(0, 40)}});
            }
            // Each text twice: the second time from what the store remembers of it.
            const auto scene_ = [&](Context& c) {
                for (const Draw& d : draws) c.drawText(d.text, d.origin);
                for (const Draw& d : draws) c.drawText(d.text, {d.origin.x + 3.3, d.origin.y + 29.7});
            };
            Image composited(200, 100, scale, Color::white()), drawn(200, 100, scale, Color::white());
            scatter(composited, static_cast<unsigned>(scene));
            scatter(drawn, static_cast<unsigned>(scene));
            {
                CairoContext c(composited);
                scene_(c);
            }
            {
                const CairoDrawsText cairo;
                CairoContext c(drawn);
                scene_(c);
            }
            texts += 2 * static_cast<int>(draws.size());
            ASSERT_EQ(firstPixelDifference(composited, drawn), "") << "scale " << scale << ", scene " << scene;
        }
    }
    // Most texts are composited (the rest reach past the image, or have glyphs over one pixel).
    EXPECT_GT(detail::GlyphCompositor::forThread().textsDrawn() - before, static_cast<std::size_t>(texts / 2));
}

TEST(GlyphCompositor, KeepsToItsBoundAndDrawsAlikeAfterEmptying) {
    auto& store = detail::GlyphCompositor::forThread();
    store.setMaxGlyphs(40);
    std::string letters;
    for (char ch = 'A'; ch <= 'Z'; ++ch) letters += ch;
    for (char ch = 'a'; ch <= 'z'; ++ch) letters += ch;
    // Twice over: the store is emptied between a text's two draws, and what the text remembers of it
    // must not be taken for what it holds now.
    const auto scene = [&](Context& c) {
        for (int k = 0; k < 24; ++k)
            c.drawText(AttributedString(letters.substr(static_cast<std::size_t>(k % 12 * 4 % 44), 8),
                                        Font("DejaVu Sans", 11 + k % 3), Color(0.2, 0.1, 0.5)),
                       {2.0 + k % 3 * 0.3 + k / 12 * 0.4, 2.0 + k % 12 * 13.4});
    };
    Image composited(90, 170, 1, Color::white()), drawn(90, 170, 1, Color::white());
    {
        CairoContext c(composited);
        scene(c);
        EXPECT_LE(store.glyphCount(), 40u);
    }
    {
        const CairoDrawsText cairo;
        CairoContext c(drawn);
        scene(c);
    }
    store.setMaxGlyphs(detail::GlyphCompositor::MaxGlyphs);
    EXPECT_EQ(firstPixelDifference(composited, drawn), "");
}
