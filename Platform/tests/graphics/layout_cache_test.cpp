// The laid-out texts kept between draws: a text drawn from a kept layout is the same pixels as one
// laid out afresh, requests that could lay out differently never share an entry, and the bounds hold.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/layout_cache.h"
#include "graphics/text_draws.h"

using namespace plat;
using plat::detail::LayoutCache;

namespace {

using Draw = plat::testing::TextDraw;

std::vector<std::uint32_t> pixels(const Draw& d) { return plat::testing::textPixels(d, {120, 40}); }

AttributedString text(const std::string& s, double size = 12, const Color& color = Color::black()) {
    return plat::testing::sansText(s, size, color);
}

class LayoutCacheTest : public ::testing::Test {
protected:
    void SetUp() override { cache().clear(); }
    void TearDown() override {
        cache().setLimits(LayoutCache::DefaultMaxEntries, LayoutCache::DefaultMaxBytes);
        cache().clear();
    }
    static LayoutCache& cache() { return LayoutCache::forThread(); }
};

}  // namespace

TEST_F(LayoutCacheTest, AKeptLayoutDrawsTheSamePixelsAsAFreshOne) {
    TextOptions right;
    right.alignment = TextAlignment::Right;
    const std::vector<Draw> draws = {
        {"plain", text("1,234.50"), {2, 2, 110, 20}, {}},
        {"right-aligned at a fractional offset", text("Product 42"), {3.3, 7.6, 100, 20}, right},
        {"scale 2", text("4/18/24"), {2, 2, 110, 20}, {}, 2},
        {"translated and scaled",
         text("Region 3"),
         {0, 0, 80, 20},
         {},
         1,
         [](Context& c) {
             c.translate(5.5, 3.25);
             c.scale(1.5, 1.5);
         }},
        {"half transparent",
         text("Category 7", 12, Color(0.2, 0.4, 0.8, 0.5)),
         {2, 2, 110, 20},
         {},
         1,
         [](Context& c) { c.setAlpha(0.6); }},
    };
    for (const auto& d : draws) {
        cache().clear();
        const auto missesBefore = cache().misses();
        const auto fresh = pixels(d);
        ASSERT_GT(cache().misses(), missesBefore) << d.name;
        const auto hitsBefore = cache().hits();
        const auto kept = pixels(d);
        EXPECT_GT(cache().hits(), hitsBefore) << d.name << ": drawn again from the kept layout";
        EXPECT_EQ(fresh, kept) << d.name;
    }
}

TEST_F(LayoutCacheTest, RequestsThatLayOutDifferentlyNeverShareAnEntry) {
    TextOptions right, truncated, wrapped, oneLine, centred;
    right.alignment = TextAlignment::Right;
    truncated.lineBreak = LineBreakMode::TruncateTail;
    wrapped.lineBreak = LineBreakMode::CharWrap;
    oneLine.maxLines = 1;
    centred.alignment = TextAlignment::Center;
    AttributedString bold = text("Amount due today");
    bold.attributes.font.weight = FontWeight::Bold;
    AttributedString run = text("Amount due today");
    run.runs.push_back({0, 6, Font("DejaVu Sans", 16), Color(1, 0, 0), std::nullopt});
    AttributedString backed = text("Amount due today");
    backed.attributes.background = Color(1, 1, 0);
    const std::vector<Draw> draws = {
        {"base", text("Amount due today"), {2, 2, 110, 30}, {}},
        {"another size", text("Amount due today", 13), {2, 2, 110, 30}, {}},
        {"another family", AttributedString("Amount due today", Font("DejaVu Serif", 12), Color::black()), {2, 2, 110, 30}, {}},
        {"bold", bold, {2, 2, 110, 30}, {}},
        {"a run", run, {2, 2, 110, 30}, {}},
        {"a background", backed, {2, 2, 110, 30}, {}},
        {"another colour", text("Amount due today", 12, Color(0, 0.5, 0)), {2, 2, 110, 30}, {}},
        {"narrower", text("Amount due today"), {2, 2, 60, 30}, {}},
        {"right", text("Amount due today"), {2, 2, 110, 30}, right},
        {"centred", text("Amount due today"), {2, 2, 110, 30}, centred},
        {"truncated", text("Amount due today"), {2, 2, 60, 30}, truncated},
        {"char wrap", text("Amount due today"), {2, 2, 60, 30}, wrapped},
        {"one line", text("Amount due today"), {2, 2, 60, 30}, oneLine},
        {"scale 2", text("Amount due today"), {2, 2, 110, 30}, {}, 2},
        {"rotated", text("Amount due today"), {2, 2, 110, 30}, {}, 1, [](Context& c) { c.rotate(0.1); }},
        {"another text", text("Amount due"), {2, 2, 110, 30}, {}},
    };
    // Each alone first, laid out afresh; then all in turn with every layout kept.
    std::vector<std::vector<std::uint32_t>> fresh;
    for (const auto& d : draws) {
        cache().clear();
        fresh.push_back(pixels(d));
    }
    cache().clear();
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < draws.size(); ++i)
            EXPECT_EQ(pixels(draws[i]), fresh[i]) << draws[i].name << " in round " << round;
    EXPECT_EQ(cache().count(), draws.size()) << "one entry each, found again in the second round";
    for (std::size_t i = 1; i < fresh.size(); ++i) EXPECT_NE(fresh[i], fresh[0]) << draws[i].name << " must look different";
}

TEST_F(LayoutCacheTest, MeasuringKeepsLayoutsApartFromDrawingAndAgreesWithAFreshLayout) {
    const AttributedString s = text("one two three four five six");
    const Size fresh = measureText(s, 60);
    const auto misses = cache().misses();
    EXPECT_EQ(measureText(s, 60), fresh);
    EXPECT_EQ(cache().misses(), misses);
    EXPECT_NE(measureText(s, 90), fresh) << "another width is another layout";
    EXPECT_EQ(cache().misses(), misses + 1);
}

TEST_F(LayoutCacheTest, TheLeastRecentlyUsedGoFirstAtEitherBound) {
    cache().setLimits(3, LayoutCache::DefaultMaxBytes);
    for (const char* s : {"a", "b", "c"}) measureText(s, Font("DejaVu Sans", 12));
    measureText("a", Font("DejaVu Sans", 12));  // used again: "b" is now the oldest
    measureText("d", Font("DejaVu Sans", 12));
    EXPECT_EQ(cache().count(), 3u);
    auto misses = cache().misses();
    measureText("a", Font("DejaVu Sans", 12));
    EXPECT_EQ(cache().misses(), misses) << "kept";
    measureText("b", Font("DejaVu Sans", 12));
    EXPECT_EQ(cache().misses(), misses + 1) << "dropped";

    // By bytes: a bound that holds about two short texts keeps no more, and a text larger than the
    // bound is laid out but not kept.
    cache().clear();
    cache().setLimits(1000, 0);
    measureText("x", Font("DejaVu Sans", 12));
    const std::size_t one = cache().count() == 0 ? 0 : cache().bytes();
    EXPECT_EQ(one, 0u) << "nothing fits a bound of no bytes";
    cache().setLimits(1000, 1u << 20);
    measureText("x", Font("DejaVu Sans", 12));
    const std::size_t each = cache().bytes();
    cache().setLimits(1000, each * 2 + each / 2);
    for (const char* s : {"y", "z", "w", "v"}) measureText(s, Font("DejaVu Sans", 12));
    EXPECT_EQ(cache().count(), 2u);
    EXPECT_LE(cache().bytes(), each * 2 + each / 2);
    const std::string longText(std::size_t{100000}, 'q');
    EXPECT_GT(measureText(longText, Font("DejaVu Sans", 12)).width, 0);
    EXPECT_EQ(cache().count(), 2u) << "too large to keep";
}
