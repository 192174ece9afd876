#include <gtest/gtest.h>

#include <cmath>

#include "ChartCore/OmbriChartBase.h"
#include "Platform/graphics/recording_context.h"

namespace {

class RenderTextTest : public ::testing::Test {
protected:
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<KivoRenderEngine> engine = KivoRenderEngine::create();
    std::shared_ptr<KivoPoint> anchor = KivoPoint::create(100, 50);

    const plat::DrawOp& onlyText() {
        EXPECT_EQ(rec.texts().size(), 1u);
        return *rec.texts().front();
    }
};

}  // namespace

TEST_F(RenderTextTest, AlignmentCodesPlaceTheTextAroundItsAnchor) {
    // halign 0/1/2: right of, centred on, left of the anchor; valign 0/1/2: above, centred, below.
    const auto size = KivoSize::create(40, 20);
    struct Case {
        int h, v;
        double x, y;
    };
    const Case cases[] = {
        {0, 0, 100, 30}, {1, 0, 80, 30}, {2, 0, 60, 30},  //
        {0, 1, 100, 40}, {1, 1, 80, 40}, {2, 1, 60, 40},  //
        {0, 2, 100, 50}, {1, 2, 80, 50}, {2, 2, 60, 50},
    };
    for (const auto& c : cases) {
        rec.clear();
        OmbriChartBase::renderText(engine, "Hg", anchor, c.h, c.v, size);
        const auto& op = onlyText();
        EXPECT_EQ(op.origin.x, c.x) << "halign " << c.h << " valign " << c.v;
        EXPECT_EQ(op.origin.y, c.y) << "halign " << c.h << " valign " << c.v;
    }
}

TEST_F(RenderTextTest, WithoutASizeTheTextIsMeasuredAndBothFormsDrawTheSame) {
    for (int h = 0; h <= 2; ++h) {
        for (int v = 0; v <= 2; ++v) {
            rec.clear();
            OmbriChartBase::renderText(engine, "Legend", anchor, h, v);
            OmbriChartBase::renderText(engine, "Legend", anchor, h, v, nullptr);
            ASSERT_EQ(rec.texts().size(), 2u);
            const auto& a = *rec.texts()[0];
            const auto& b = *rec.texts()[1];
            EXPECT_EQ(a.origin, b.origin);
            EXPECT_EQ(a.text.text, b.text.text);
            EXPECT_NEAR(a.origin.x, 100 - a.textSize.width * h / 2.0, 1e-9);
            EXPECT_NEAR(a.origin.y, 50 - a.textSize.height * (1 - v / 2.0), 1e-9);
        }
    }
}

TEST_F(RenderTextTest, OutOfRangeCodesAreClampedAndNothingIsDrawnWithoutTextOrAnchor) {
    const auto size = KivoSize::create(40, 20);
    OmbriChartBase::renderText(engine, "Hg", anchor, -3, 9, size);
    EXPECT_EQ(onlyText().origin, (plat::Point{100, 50}));
    rec.clear();
    OmbriChartBase::renderText(engine, "Hg", anchor, 7, -1, size);
    EXPECT_EQ(onlyText().origin, (plat::Point{60, 30}));
    rec.clear();
    OmbriChartBase::renderText(engine, "", anchor, 1, 1, size);
    OmbriChartBase::renderText(engine, "Hg", nullptr, 1, 1, size);
    OmbriChartBase::renderText(nullptr, "Hg", anchor, 1, 1, size);
    EXPECT_TRUE(rec.texts().empty());
}

TEST_F(RenderTextTest, RotatedTextIsPlacedUnturnedThenTurnedAboutItsCentre) {
    const auto size = KivoSize::create(40, 20);
    // Starts at the anchor, centred on it vertically: its box's corner is (100, 40) before the turn.
    OmbriChartBase::renderRotatedText(engine, "Hg", anchor, 0, 1, anchor, 90, size);
    const auto& op = onlyText();
    EXPECT_NEAR(op.rotationDegrees(), 90, 1e-9);
    EXPECT_NEAR(op.origin.x, 110, 1e-9);
    EXPECT_NEAR(op.origin.y, 50, 1e-9);

    rec.clear();  // a null centre turns about the anchor
    OmbriChartBase::renderRotatedText(engine, "Hg", anchor, 0, 1, nullptr, 90, size);
    EXPECT_NEAR(onlyText().origin.x, 110, 1e-9);

    rec.clear();  // an angle that is not a number leaves the text unturned
    OmbriChartBase::renderRotatedText(engine, "Hg", anchor, 0, 1, anchor, NAN, size);
    EXPECT_NEAR(onlyText().rotationDegrees(), 0, 1e-9);
    EXPECT_EQ(onlyText().origin, (plat::Point{100, 40}));
}
