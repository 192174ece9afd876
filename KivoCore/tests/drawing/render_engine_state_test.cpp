#include <cmath>
#include <numbers>

#include "KivoCore/KivoRenderState.h"
#include "drawing/render_engine_fixture.h"

using plat::Color;
using plat::Font;
namespace csc = plat::ContentSizeCategory;

TEST_F(RenderEngineTest, StartsWithTheDefaultLook) {
    EXPECT_EQ(engine.getFill(), Color::clear());
    EXPECT_EQ(engine.getStroke(), Color::black());
    EXPECT_EQ(engine.getTextFill(), Color::black());
    EXPECT_EQ(engine.getStrokeThickness(), 1.0);
    EXPECT_EQ(engine.opacity(), 1.0);
    EXPECT_EQ(engine.font(), Font("HelveticaNeue", 12));
    EXPECT_EQ(engine.fontSize(), 12);
    EXPECT_EQ(engine.fontFamily(), "HelveticaNeue");
    EXPECT_TRUE(engine.borderDashes().empty());
}

TEST_F(RenderEngineTest, NilAndNaNRestoreDefaultsAndNothingElseIsLimited) {
    engine.setFill(Color::red());
    engine.setFill(std::nullopt);
    EXPECT_EQ(engine.getFill(), engine.DEFAULT_FILL);
    engine.setStroke(std::nullopt);
    EXPECT_EQ(engine.getStroke(), engine.DEFAULT_STROKE);
    engine.setTextFill(Color::blue());
    engine.setTextFill(std::nullopt);
    EXPECT_EQ(engine.getTextFill(), engine.DEFAULT_TEXTFILL);
    engine.setStrokeThickness(NAN);
    EXPECT_EQ(engine.getStrokeThickness(), 1.0);
    engine.setStrokeThickness(-2);
    EXPECT_EQ(engine.getStrokeThickness(), -2);
    engine.setOpacity(NAN);
    EXPECT_EQ(engine.opacity(), 1.0);
    engine.setOpacity(2.0);
    EXPECT_EQ(engine.opacity(), 2.0);
    engine.setFontSize(NAN);
    EXPECT_EQ(engine.fontSize(), 12);
    engine.setFontFamily("");
    EXPECT_EQ(engine.fontFamily(), "HelveticaNeue");
    engine.setFontSize(30);
    engine.setFontFamily("Georgia");
    EXPECT_EQ(engine.font(), Font("HelveticaNeue", 12));  // recorded only
}

TEST_F(RenderEngineTest, FontScalesWithTheUsersTextSizeWithin7To20Points) {
    struct Case {
        const char* category;
        double base, expected;
    };
    const Case cases[] = {
        {csc::ExtraSmall, 12, 8.4},
        {csc::Small, 12, 9},
        {csc::Medium, 12, 9.6},
        {csc::Large, 6, 7},
        {csc::Large, 30, 20},
        {csc::ExtraLarge, 12, 12.6},
        {csc::ExtraExtraLarge, 12, 13.2},
        {csc::ExtraExtraExtraLarge, 12, 14.4},
        {csc::AccessibilityMedium, 10, 11},
        {csc::AccessibilityLarge, 10, 12},
        {csc::AccessibilityExtraLarge, 10, 15},
        {csc::AccessibilityExtraExtraLarge, 9, 18},
        {csc::AccessibilityExtraExtraExtraLarge, 12, 20},
        {"MadeUpAccessibilityCategory", 12, 12},
        {"SomethingElse", 4, 7},
    };
    for (const auto& c : cases) {
        plat::setPreferredContentSizeCategory(c.category);
        engine.setFont(Font("Georgia", c.base));
        EXPECT_NEAR(engine.font().size, c.expected, 1e-9) << c.category << " " << c.base;
        EXPECT_NEAR(engine.fontSize(), c.expected, 1e-9);
        EXPECT_EQ(engine.fontFamily(), "Georgia");
        EXPECT_EQ(engine.nominalFont().size, c.base);
    }
}

TEST_F(RenderEngineTest, NoFontGivesTheScaledDefaultAndLaterCategoryChangesWaitForSetFont) {
    plat::setPreferredContentSizeCategory(csc::ExtraSmall);
    engine.setFont(std::nullopt);
    EXPECT_EQ(engine.font(), Font("HelveticaNeue", 12 * 0.7));
    plat::setPreferredContentSizeCategory(csc::Large);
    EXPECT_NEAR(engine.font().size, 8.4, 1e-9);
    KivoRenderEngine fresh;  // a new engine reads the category when it is made
    EXPECT_EQ(fresh.font().size, 12);
}

TEST_F(RenderEngineTest, SaveAndRestoreBringBackTheLookAndTheScaledFont) {
    plat::setPreferredContentSizeCategory(csc::ExtraLarge);
    engine.setFill(Color::red());
    engine.setStroke(Color::green());
    engine.setStrokeThickness(3);
    engine.setOpacity(0.4);
    engine.setBorderDashes({4, 2});
    engine.setFont(Font("Georgia", 14));
    engine.setTextFill(Color::blue());
    auto saved = engine.saveState();

    engine.setFill(Color::white());
    engine.setStroke(std::nullopt);
    engine.setStrokeThickness(9);
    engine.setOpacity(1);
    engine.setBorderDashes({});
    engine.setFont(Font("Courier", 10));
    engine.setTextFill(Color::yellow());
    auto other = engine.saveState();
    engine.restoreState(saved);

    EXPECT_EQ(engine.getFill(), Color::red());
    EXPECT_EQ(engine.getStroke(), Color::green());
    EXPECT_EQ(engine.getStrokeThickness(), 3);
    EXPECT_EQ(engine.opacity(), 0.4);
    EXPECT_EQ(engine.borderDashes(), (std::vector<double>{4, 2}));
    EXPECT_EQ(engine.font(), Font("Georgia", 14 * 1.05));
    EXPECT_DOUBLE_EQ(engine.fontSize(), 14 * 1.05);
    EXPECT_EQ(engine.fontFamily(), "Georgia");
    EXPECT_EQ(engine.getTextFill(), Color::yellow());  // not part of a state

    engine.restoreState(other);  // states restore in any order
    EXPECT_EQ(engine.font(), Font("Courier", 10 * 1.05));
    engine.restoreState(nullptr);
    EXPECT_EQ(engine.font(), Font("Courier", 10 * 1.05));

    engine.restoreState(std::make_shared<KivoRenderState>());  // an empty state is the defaults
    EXPECT_EQ(engine.getFill(), engine.DEFAULT_FILL);
    EXPECT_EQ(engine.opacity(), 1.0);
    EXPECT_EQ(engine.getStrokeThickness(), 1.0);
    EXPECT_EQ(engine.nominalFont(), engine.DEFAULT_FONT);
}

TEST_F(RenderEngineTest, MeasuresTextAndItsRotatedBoundingBox) {
    auto plain = engine.measureString("Measure me");
    EXPECT_EQ(plain->width(), plat::measureText("Measure me", engine.font()).width);
    EXPECT_GT(plain->height(), 0);
    EXPECT_TRUE(engine.measureString("Measure me", 0)->isEqual(plain));
    auto quarter = engine.measureString("Measure me", 90);
    EXPECT_NEAR(quarter->width(), plain->height(), 1e-9);
    EXPECT_NEAR(quarter->height(), plain->width(), 1e-9);
    auto diag = engine.measureString("Measure me", -45);
    double c = std::cos(std::numbers::pi / 4);
    EXPECT_NEAR(diag->width(), (plain->width() + plain->height()) * c, 1e-9);
    EXPECT_NEAR(diag->height(), (plain->width() + plain->height()) * c, 1e-9);
    EXPECT_TRUE(rec.ops().empty());  // measuring draws nothing
}
