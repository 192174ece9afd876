#include <gtest/gtest.h>

#include "Platform/graphics/recording_context.h"
#include "test_chart.h"

namespace {

class DrawTitleTest : public ::testing::Test {
protected:
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoRenderEngine> engine = chart->renderEngine();
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<KivoRect> area = KivoRect::create(10, 20, 300, 200);
};

}  // namespace

TEST_F(DrawTitleTest, HeaderAndFooterTakeABandOffTheirEdgeAndCentreTheirText) {
    chart->setTextColor(plat::Color::blue());
    chart->setFooterTextColor(plat::Color::green());
    auto left = chart->drawTitle(engine, area, "Revenue", false);
    left = chart->drawTitle(engine, left, "Source", true);

    ASSERT_TRUE(chart->rectHeader() && chart->rectFooter());
    const auto& header = *chart->rectHeader();
    const auto& footer = *chart->rectFooter();
    EXPECT_EQ(header.top(), 20);
    EXPECT_EQ(footer.bottom(), 220);
    EXPECT_EQ(header.width(), 300);
    EXPECT_TRUE(left->isEqual(KivoRect::create(10, 20 + header.height(), 300, 200 - header.height() - footer.height())));

    ASSERT_EQ(rec.texts().size(), 2u);
    const auto& head = *rec.findText("Revenue");
    EXPECT_NEAR(head.origin.x + head.textSize.width / 2, 160, 1e-9);
    EXPECT_NEAR(head.origin.y + head.textSize.height / 2, header.top() + header.height() / 2, 1e-9);
    EXPECT_NEAR(header.height(), head.textSize.height + 2 * OmbriChartBase::TitlePadding, 1e-9);
    EXPECT_EQ(head.color, plat::Color::blue());  // the control's text colour, when the header has none
    EXPECT_EQ(head.text.attributes.font.weight, plat::FontWeight::Bold);
    EXPECT_EQ(rec.findText("Source")->color, plat::Color::green());
    // The engine's look is as it was.
    EXPECT_EQ(engine->getTextFill(), engine->DEFAULT_TEXTFILL);
    EXPECT_EQ(engine->nominalFont(), engine->DEFAULT_FONT);
}

TEST_F(DrawTitleTest, ATitleTooWideIsCutWithAnEllipsisAndAMissingOneTakesNoRoom) {
    auto narrow = KivoRect::create(0, 0, 90, 100);
    chart->drawTitle(engine, narrow, "A title far too long for its band", false);
    ASSERT_EQ(rec.texts().size(), 1u);
    const auto& op = *rec.texts().front();
    EXPECT_TRUE(op.text.text.starts_with("A title"));
    EXPECT_TRUE(op.text.text.ends_with("\xE2\x80\xA6"));
    EXPECT_LE(op.textSize.width, 90 - 2 * OmbriChartBase::TitlePadding);

    rec.clear();
    EXPECT_EQ(chart->drawTitle(engine, area, std::nullopt, false), area);
    EXPECT_EQ(chart->drawTitle(engine, area, "", true), area);
    EXPECT_FALSE(chart->drawTitle(engine, nullptr, "Revenue", false));
    EXPECT_TRUE(rec.texts().empty());
}
