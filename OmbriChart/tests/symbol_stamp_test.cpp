// The stamping of dense symbols on its own: when it starts, which symbols it leaves out as repeats,
// where the stamps land, and that a stamp paints what drawing the symbol paints.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/recording_context.h"
#include "plotters/DenseDrawing.h"
#include "plotters/SymbolStamp.h"

using kivo::detail::SymbolStamper;

namespace {

constexpr double Scale = 2;  // device pixels per point
const plat::Color Fill = plat::Color::rgb255(40, 100, 200);
const plat::Color Border = plat::Color::rgb255(10, 30, 60);

// A plot of 20 × 10 points: 800 device pixels, so 200 symbols make it dense.
const auto Plot = KivoRect::create(0, 0, 20, 10);
constexpr std::size_t Dense = 200;

struct Symbol {
    double x, y, size = 6;
    plat::Color border = Border;
};

class SymbolStampTest : public ::testing::Test {
protected:
    plat::RecordingContext rec{plat::AffineTransform::scale(Scale, Scale)};
    std::shared_ptr<KivoRenderEngine> engine = std::make_shared<KivoRenderEngine>();
    SymbolStamper stamper;

    void SetUp() override {
        engine->setFill(Fill);
        engine->setOpacity(0.8);
    }
    // Draws the symbols into the recording context as one series; answers whether stamping was on.
    bool drawAll(const std::vector<Symbol>& symbols, std::size_t count = Dense) {
        plat::CurrentContextScope current(rec);
        kivo::detail::SymbolStampScope scope(stamper, *engine, count, Plot.get());
        const bool on = stamper.active();
        if (on)
            for (const Symbol& s : symbols) stamper.draw(s.x, s.y, 1, s.size, s.border, 0);
        return on;
    }
};

}  // namespace

TEST_F(SymbolStampTest, LeavesOutASymbolOnlyWhenTheOneBeforeItHasItsLookAndQuarterPixel) {
    const plat::Color other = plat::Color::rgb255(200, 0, 0);
    struct Case {
        std::string what;
        std::vector<Symbol> symbols;
        std::size_t stamps;
    };
    // At 2 device pixels a point, a quarter pixel is 0.125 points: 10.05 rounds with 10, 10.1 does not.
    const Case cases[] = {
        {"the same place", {{10, 5}, {10, 5}}, 1},
        {"within the same quarter pixel", {{10, 5}, {10.05, 5.05}}, 1},
        {"the next quarter pixel across", {{10, 5}, {10.1, 5}}, 2},
        {"the next quarter pixel down", {{10, 5}, {10, 5.1}}, 2},
        {"back where the one before the last was", {{10, 5}, {12, 5}, {10, 5}}, 3},
        {"another size", {{10, 5, 6}, {10, 5, 8}}, 2},
        {"another border", {{10, 5, 6, Border}, {10, 5, 6, other}}, 2},
    };
    for (const Case& c : cases) {
        rec.clear();
        ASSERT_TRUE(drawAll(c.symbols)) << c.what;
        EXPECT_EQ(rec.images().size(), c.stamps) << c.what;
        EXPECT_TRUE(rec.fills().empty()) << c.what << ": nothing drawn symbol by symbol";
    }
}

TEST_F(SymbolStampTest, AStampIsCentredOnItsSymbolsDevicePosition) {
    ASSERT_TRUE(drawAll({{10.3, 4.6}, {3, 7.9, 9}}));
    ASSERT_EQ(rec.images().size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const plat::Rect r = rec.images()[k]->bounds();
        const double cx = k == 0 ? 10.3 : 3, cy = k == 0 ? 4.6 : 7.9;
        // Odd sides: the middle pixel is the one the centre lies in, once rounded to a quarter pixel.
        EXPECT_EQ(r.midX() - 0.5, std::floor(std::round(cx * Scale * 4) / 4));
        EXPECT_EQ(r.midY() - 0.5, std::floor(std::round(cy * Scale * 4) / 4));
        EXPECT_EQ(r.width(), r.height());
        EXPECT_GE(r.width(), (k == 0 ? 6 : 9) * Scale) << "the whole symbol fits";
        EXPECT_DOUBLE_EQ(rec.images()[k]->alpha, 1) << "the stamp holds the symbol's opacity";
    }
}

TEST_F(SymbolStampTest, OneStampIsKeptPerLookAndQuarterPixelOffset) {
    // Whole points apart at 2 device pixels a point: every symbol has the same offset.
    std::vector<Symbol> symbols;
    for (int i = 0; i < 8; ++i) symbols.push_back({double(i), 5});
    symbols.push_back({3.125, 5});  // a quarter pixel further
    ASSERT_TRUE(drawAll(symbols));
    ASSERT_EQ(rec.images().size(), 9u);
    for (std::size_t k = 1; k < 8; ++k) EXPECT_EQ(rec.images()[k]->image, rec.images()[0]->image);
    EXPECT_NE(rec.images()[8]->image, rec.images()[0]->image);
}

TEST_F(SymbolStampTest, StartsOnlyForDenseSeriesOnAPlainTransformWithoutDashes) {
    EXPECT_FALSE(drawAll({{10, 5}}, Dense - 1)) << "below one symbol per four device pixels";
    EXPECT_TRUE(drawAll({{10, 5}}, Dense));
    {
        kivo::detail::DenseDrawingScope off(false);
        EXPECT_FALSE(drawAll({{10, 5}}));
    }
    engine->setBorderDashes({2, 2});
    EXPECT_FALSE(drawAll({{10, 5}})) << "a dashed border";
    engine->setBorderDashes({});
    rec.rotate(0.3);
    EXPECT_FALSE(drawAll({{10, 5}})) << "a turned transform";
    {
        SymbolStamper alone;
        EXPECT_FALSE(alone.begin(*engine, Dense, Plot.get())) << "no current context";
        plat::CurrentContextScope current(rec);
        EXPECT_FALSE(alone.begin(*engine, Dense, nullptr)) << "no plot area";
    }
}

TEST_F(SymbolStampTest, LeavesTheEngineAsTheDefaultRendererDoes) {
    ASSERT_TRUE(drawAll({{10, 5}, {10, 5}}));
    EXPECT_EQ(engine->getStroke(), Border);
    EXPECT_EQ(engine->getStrokeThickness(), 1);
    // A marker that draws nothing still takes the border.
    plat::CurrentContextScope current(rec);
    rec.clear();
    stamper.begin(*engine, Dense, Plot.get());
    stamper.draw(4, 4, 3, 6, plat::Color::red(), 2);
    EXPECT_EQ(engine->getStroke(), plat::Color::red());
    EXPECT_EQ(engine->getStrokeThickness(), 3);
    EXPECT_TRUE(rec.ops().empty());
    stamper.end();
}

TEST_F(SymbolStampTest, AStampPaintsTheSymbolsPixels) {
    // The symbol on a quarter pixel: stamped and drawn, the pictures agree but for rounding.
    for (const std::int64_t marker : {0, 1}) {
        for (const double x : {10.0, 10.125, 10.375}) {
            std::shared_ptr<plat::Image> drawn, stamped;
            {
                plat::ImageContext image({20, 10}, Scale);
                engine->setStroke(Border);
                engine->setStrokeThickness(1);
                marker == 0 ? engine->drawEllipse(x, 5.25, 7, 7) : engine->drawRect(x - 3.5, 5.25 - 3.5, 7, 7);
                drawn = image.finish();
            }
            {
                plat::ImageContext image({20, 10}, Scale);
                SymbolStamper fresh;
                ASSERT_TRUE(fresh.begin(*engine, Dense, Plot.get()));
                fresh.draw(x, 5.25, 1, 7, Border, marker);
                fresh.end();
                stamped = image.finish();
            }
            ASSERT_TRUE(drawn && stamped);
            int worst = 0;
            for (int py = 0; py < drawn->pixelHeight(); ++py)
                for (int px = 0; px < drawn->pixelWidth(); ++px)
                    for (int shift = 0; shift < 32; shift += 8)
                        worst = std::max(worst, std::abs(int((drawn->rawPixel(px, py) >> shift) & 0xff) -
                                                         int((stamped->rawPixel(px, py) >> shift) & 0xff)));
            EXPECT_LE(worst, 2) << "marker " << marker << " at " << x;
        }
    }
}
