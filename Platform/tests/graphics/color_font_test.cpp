#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/testing/font_attribute_cases.h"

using namespace plat;

TEST(Color, HsbRoundTripsAndKnownHues) {
    struct Case {
        double h, s, v;
        Color rgb;
    };
    const Case cases[] = {
        {0.0, 1, 1, Color::red()},        {1.0 / 3, 1, 1, Color::green()}, {2.0 / 3, 1, 1, Color::blue()},
        {1.0 / 6, 1, 1, Color::yellow()}, {0.5, 1, 1, Color::cyan()},      {0.0, 0, 0.5, Color::gray()},
        {1.25, 1, 1, {0.5, 1, 0, 1}},  // hue wraps around to a quarter turn
    };
    for (const auto& c : cases) {
        Color got = Color::fromHSB(c.h, c.s, c.v);
        EXPECT_TRUE(nearlyEqual(got, c.rgb, 1e-12)) << c.h << " " << c.s << " " << c.v;
        Color back = Color::fromHSB(got.toHSB().hue, got.toHSB().saturation, got.toHSB().brightness);
        EXPECT_TRUE(nearlyEqual(back, got, 1e-12));
    }
    Color odd{0.2, 0.7, 0.4, 0.3};
    auto hsb = odd.toHSB();
    EXPECT_TRUE(nearlyEqual(Color::fromHSB(hsb.hue, hsb.saturation, hsb.brightness, hsb.alpha), odd, 1e-12));
}

TEST(Color, ClampedLimitsAndClearsNaN) {
    Color c = Color{2, -1, NAN, 1.5}.clamped();
    EXPECT_EQ(c, (Color{1, 0, 0, 1}));
}

TEST(Font, NamedFacesSplitWeightAndTraits) {
    struct Case {
        const char* name;
        const char* family;
        FontWeight weight;
        unsigned traits;
    };
    const Case cases[] = {
        {"HelveticaNeue", "HelveticaNeue", FontWeight::Regular, FontTraitNone},
        {"HelveticaNeue-Bold", "HelveticaNeue", FontWeight::Bold, FontTraitBold},
        {"HelveticaNeue-BoldItalic", "HelveticaNeue", FontWeight::Bold, FontTraitBold | FontTraitItalic},
        {"Helvetica-Light", "Helvetica", FontWeight::Light, FontTraitNone},
        {"Avenir-Medium", "Avenir", FontWeight::Medium, FontTraitNone},
        {"-Bold", "-Bold", FontWeight::Regular, FontTraitNone},  // nothing left for a family
    };
    for (const auto& c : cases) {
        Font f = Font::named(c.name, 14);
        EXPECT_EQ(f.family, c.family) << c.name;
        EXPECT_EQ(f.weight, c.weight) << c.name;
        EXPECT_EQ(f.traits, c.traits) << c.name;
        EXPECT_EQ(f.size, 14);
    }
}

TEST(Font, AttributeDictionariesDescribeOneFont) {
    for (const auto& c : plat::testing::fontAttributeCases()) EXPECT_EQ(fontFromAttributes(c.attributes), c.font) << c.what;
}

TEST(ContentSizeCategory, ChangesReachTheHandlerOnlyWhenTheyChange) {
    std::vector<std::string> seen;
    auto previous = setContentSizeCategoryChangeHandler([&](const std::string& c) { seen.push_back(c); });
    setPreferredContentSizeCategory(ContentSizeCategory::Large);
    setPreferredContentSizeCategory(ContentSizeCategory::ExtraSmall);
    setPreferredContentSizeCategory(ContentSizeCategory::ExtraSmall);
    EXPECT_EQ(preferredContentSizeCategory(), ContentSizeCategory::ExtraSmall);
    setPreferredContentSizeCategory(ContentSizeCategory::Large);
    setContentSizeCategoryChangeHandler({});
    setPreferredContentSizeCategory(ContentSizeCategory::Small);
    setPreferredContentSizeCategory(ContentSizeCategory::Large);
    EXPECT_EQ(seen, (std::vector<std::string>{ContentSizeCategory::ExtraSmall, ContentSizeCategory::Large}));
    EXPECT_FALSE(setContentSizeCategoryChangeHandler(std::move(previous)));  // ours was already removed
}

TEST(ContentSizeCategory, ScaleIsRelativeToLarge) {
    EXPECT_DOUBLE_EQ(contentSizeScale(ContentSizeCategory::Large), 1.0);
    EXPECT_LT(contentSizeScale(ContentSizeCategory::ExtraSmall), 1.0);
    EXPECT_GT(contentSizeScale(ContentSizeCategory::AccessibilityExtraExtraExtraLarge), 3.0);
    EXPECT_DOUBLE_EQ(contentSizeScale("no such category"), 1.0);
}
