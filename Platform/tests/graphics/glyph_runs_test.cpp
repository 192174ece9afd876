// Kept layouts drawn from their glyph runs: the same pixels as Pango's renderer draws from the
// layout, whatever the text, its runs, alignment, transform, origin, alpha and clip; and a layout
// that draws more than plain glyphs is left to Pango's renderer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/glyph_runs.h"
#include "graphics/layout_cache.h"
#include "graphics/text_draws.h"

using namespace plat;
using plat::detail::LayoutCache;

namespace {

using plat::testing::sansText;
using plat::testing::TextDraw;

std::vector<std::uint32_t> pixels(const TextDraw& d, bool runs) {
    detail::setGlyphRunsEnabled(runs);
    auto drawn = plat::testing::textPixels(d, {170, 70});
    detail::setGlyphRunsEnabled(true);
    return drawn;
}

TextOptions options(TextAlignment alignment, LineBreakMode lineBreak = LineBreakMode::WordWrap, bool clip = false) {
    TextOptions o;
    o.alignment = alignment;
    o.lineBreak = lineBreak;
    o.clipToRect = clip;
    return o;
}

AttributedString coloured() {
    AttributedString s = sansText("red green blue bold", 12, Color(0.1, 0.1, 0.1));
    s.runs.push_back({0, 3, std::nullopt, Color(0.9, 0.1, 0.1), std::nullopt});
    s.runs.push_back({4, 5, std::nullopt, Color(0.1, 0.7, 0.2, 0.6), std::nullopt});
    s.runs.push_back({10, 4, Font("DejaVu Serif", 15), Color(0.1, 0.2, 0.9), std::nullopt});
    Font bold("DejaVu Sans", 12);
    bold.weight = FontWeight::Bold;
    s.runs.push_back({15, 4, bold, std::nullopt, std::nullopt});
    return s;
}

class GlyphRunsTest : public ::testing::Test {
protected:
    void SetUp() override { LayoutCache::forThread().clear(); }
    void TearDown() override {
        detail::setGlyphRunsEnabled(true);
        LayoutCache::forThread().clear();
    }
};

}  // namespace

TEST_F(GlyphRunsTest, DrawTheSamePixelsAsPangosRenderer) {
    const std::string paragraph = "The quick brown fox jumps over the lazy dog again and again";
    AttributedString backed = sansText("on yellow");
    backed.attributes.background = Color(1, 1, 0);
    const std::vector<TextDraw> plain = {
        {"Latin", sansText("Product 42, 1,234.50"), {2, 2, 160, 20}},
        {"fractional origin", sansText("4/18/24 Région"), {3.3, 7.61, 150, 20}},
        {"accents and combining marks",
         sansText("e\xcc\x81le\xcc\x80ve n\xcc\x83 a\xcc\x8a\xcc\x81 \xc3\xa5ngstr\xc3\xb6m"),
         {2.5, 2.25, 160, 30}},
        {"Hebrew, right to left",
         sansText("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd7\xa2\xd7\x95\xd7\x9c\xd7\x9d 42"),
         {2, 2, 160, 20},
         options(TextAlignment::Right)},
        {"Arabic, joined", sansText("\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7 \xd8\xa8\xd9\x83"), {2.2, 2.7, 160, 20}},
        {"colour, font and weight runs", coloured(), {1.5, 3, 165, 30}},
        {"alpha below one",
         sansText("Category 7", 13, Color(0.2, 0.4, 0.8, 0.5)),
         {2, 2, 150, 20},
         {},
         1,
         [](Context& c) { c.setAlpha(0.6); }},
        {"wrapped left", sansText(paragraph), {2, 2, 150, 66}, options(TextAlignment::Left)},
        {"wrapped centred", sansText(paragraph), {2.4, 2, 150, 66}, options(TextAlignment::Center)},
        {"wrapped right", sansText(paragraph), {2, 2.4, 150, 66}, options(TextAlignment::Right)},
        {"wrapped justified", sansText(paragraph), {2, 2, 150, 66}, options(TextAlignment::Justified)},
        {"char wrapped", sansText(paragraph), {2, 2, 150, 66}, options(TextAlignment::Left, LineBreakMode::CharWrap)},
        {"truncated head", sansText(paragraph), {2, 2, 120, 20}, options(TextAlignment::Left, LineBreakMode::TruncateHead)},
        {"truncated middle", sansText(paragraph), {2, 2, 120, 20}, options(TextAlignment::Center, LineBreakMode::TruncateMiddle)},
        {"truncated tail, clipped",
         sansText(paragraph),
         {2, 2, 120, 12},
         options(TextAlignment::Left, LineBreakMode::TruncateTail, true)},
        {"clipped mid-glyph",
         sansText(paragraph),
         {2.5, 2.5, 100.3, 9.6},
         options(TextAlignment::Left, LineBreakMode::Clip, true)},
        {"scale 2 at a fractional origin", sansText("Amount 1,234.50"), {2.3, 2.7, 150, 20}, {}, 2},
        {"translated, scaled and rotated",
         sansText("Region 3 \xc3\xa9t\xc3\xa9"),
         {0, 0, 100, 20},
         {},
         1,
         [](Context& c) {
             c.translate(20.37, 5.81);
             c.scale(1.37, 1.37);
             c.rotate(0.3);
         }},
    };
    // Drawing these is more than glyphs: Pango's renderer draws them either way.
    const std::vector<TextDraw> notPlain = {
        {"a background", backed, {2, 2, 150, 20}},
        {"glyphs no font has, drawn as boxes", sansText("\xe6\xbc\xa2\xe5\xad\x97 12"), {2, 2, 150, 20}},
    };
    auto& cache = LayoutCache::forThread();
    auto check = [&](const TextDraw& d, bool fromRuns) {
        cache.clear();
        const auto byPango = pixels(d, false);
        cache.clear();
        const auto before = cache.runDraws();
        const auto byRuns = pixels(d, true);
        EXPECT_EQ(cache.runDraws() - before, fromRuns ? 1u : 0u) << d.name << ": which way it was drawn";
        ASSERT_FALSE(byPango.empty()) << d.name;
        EXPECT_EQ(byRuns, byPango) << d.name;
        // Drawn again from the kept runs, and after Pango drew the kept layout in between.
        EXPECT_EQ(pixels(d, true), byPango) << d.name << ", again";
    };
    for (const auto& d : plain) check(d, true);
    for (const auto& d : notPlain) check(d, false);
}

TEST_F(GlyphRunsTest, ManyOriginsLandOnTheSamePixels) {
    // Glyphs land on whole pixels: a place rounded otherwise than Pango rounds it shows where it is
    // near half a pixel. Pango starts from the origin rounded through Cairo's fixed point (1/256).
    auto& cache = LayoutCache::forThread();
    for (double offset : {0.0, 0.1, 0.3, 0.4985, 0.4995, 0.4999, 0.5, 0.5004, 0.5015, 0.62, 0.999, 17.4996}) {
        const TextDraw d{"offset", sansText("Ag 1,234.50 |"), {1 + offset, 1 + offset / 2, 150, 20}};
        cache.clear();
        const auto byPango = pixels(d, false);
        cache.clear();
        EXPECT_EQ(pixels(d, true), byPango) << "offset " << offset;
    }
}

TEST_F(GlyphRunsTest, RunsAreReleasedWithTheirEntries) {
    // The runs hold references to Cairo's fonts: dropped entries let go of them, whether the bound
    // drops them or the cache is emptied, and the runs count in the cache's bytes while kept.
    auto& cache = LayoutCache::forThread();
    const std::size_t heldBefore = detail::GlyphRuns::fontsHeld();
    const TextDraw d{"plain", sansText("Kept and dropped"), {2, 2, 150, 20}};
    pixels(d, false);
    const std::size_t withoutRuns = cache.bytes();
    cache.clear();
    pixels(d, true);
    EXPECT_GT(cache.bytes(), withoutRuns);
    EXPECT_GT(detail::GlyphRuns::fontsHeld(), heldBefore);
    cache.setLimits(0, LayoutCache::DefaultMaxBytes);
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_EQ(detail::GlyphRuns::fontsHeld(), heldBefore) << "dropped by the bound";
    pixels(d, true);
    EXPECT_EQ(detail::GlyphRuns::fontsHeld(), heldBefore) << "not kept: no runs taken";
    cache.setLimits(LayoutCache::DefaultMaxEntries, LayoutCache::DefaultMaxBytes);
    EXPECT_EQ(pixels(d, true), pixels(d, false)) << "drawn again after the entry went";
    cache.clear();
    EXPECT_EQ(detail::GlyphRuns::fontsHeld(), heldBefore) << "emptied";
}
