#include <gtest/gtest.h>

#include <string>

#include "OmbriChart/DefaultChartDataLabelRenderer.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "test_chart.h"

namespace {

const plat::Color Background = plat::Color::rgb255(250, 240, 200);
const plat::Color Border = plat::Color::rgb255(30, 60, 90);
const plat::Color TextColour = plat::Color::rgb255(120, 20, 20);

class DataLabelTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<OmbriChartDataLabel> label = chart->dataLabel();
    std::shared_ptr<OmbriChartDataLabelRenderer> renderer = chart->dataLabelRenderer();
    std::shared_ptr<KivoRect> element = KivoRect::create(100, 100, 40, 20);
    plat::testing::PinnedLocale pinned{"en_US", "UTC"};

    void SetUp() override {
        label->setDataLabelBackgroundColor(Background);
        label->setDataLabelBorderColor(Border);
        label->setDataLabelFontColor(TextColour);
    }
    std::string text(const std::string& content, const std::string& name, std::int64_t index, double x, double y) {
        label->setContent(content);
        return std::static_pointer_cast<DefaultChartDataLabelRenderer>(renderer)->labelText(name, index, x, y);
    }
    void draw(double y = 7) { renderer->render("S", element, 0, 0, 1, y, plat::Value()); }
    std::shared_ptr<KivoSize> measure(const std::string& s) {
        chart->renderEngine()->setFont(label->dataLabelFont());
        return chart->renderEngine()->measureString(s);
    }
    const plat::DrawOp& onlyText() {
        EXPECT_EQ(rec.texts().size(), 1u);
        return *rec.texts().front();
    }
};

}  // namespace

TEST_F(DataLabelTest, PlaceholdersAreFilledInOneScan) {
    chart->setXlabels({"Jan", "Feb", "Mar"});
    struct Case {
        const char* content;
        const char* name;
        std::int64_t index;
        double x, y;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"{y}", "S", 0, 1, 3.5, "", "3.5"},
        {"{seriesName} #{pointIndex}: {x} / {y}", "Sales", 1, 4, 7, "", "Sales #1: Feb / 7"},
        {"{x}", "S", 3, 4.25, 0, "", "4.25"},   // past the category texts: the number
        {"{x}", "S", -1, 4.25, 0, "", "4.25"},  // a negative index is past them too
        {"{y}", "S", 0, 0, 1234.5, "N1", "1,234.5"},
        {"{seriesName}={y}", "{y}", 0, 0, 7, "", "{y}=7"},  // inserted text is not scanned again
        {"{{y}} {z} {", "S", 0, 0, 7, "", "{7} {z} {"},
    };
    for (const auto& c : cases) {
        label->setDataLabelFormat(c.format);
        EXPECT_EQ(text(c.content, c.name, c.index, c.x, c.y), c.expected) << c.content;
    }
}

TEST_F(DataLabelTest, NothingIsDrawnAtPositionZeroWithoutTextOrFromTheBaseRenderer) {
    draw();
    renderer->render("S", element, 0, 0, 1, 7, plat::Value(), 5.0);
    label->setPosition(KivoDataLabelPositionAbove);
    label->setContent(std::nullopt);
    draw();
    label->setContent("{y}");
    OmbriChartDataLabelRenderer::create(chart, label)->render("S", element, 0, 0, 1, 7, plat::Value());
    EXPECT_TRUE(rec.ops().empty());
    draw();
    EXPECT_EQ(rec.strings(), std::vector<std::string>{"7"});
}

TEST_F(DataLabelTest, PositionsPlaceTheTextAroundTheElement) {
    const auto size = measure("7");
    const double w = size->width(), h = size->height();
    struct Case {
        std::int64_t position;
        double x, y;
    };
    const Case cases[] = {
        {KivoDataLabelPositionLeft, 100 - w, 110 - h / 2},
        {KivoDataLabelPositionRight, 140, 110 - h / 2},
        {KivoDataLabelPositionAbove, 120 - w / 2, 100 - h},
        {KivoDataLabelPositionBelow, 120 - w / 2, 120},
        {KivoDataLabelPositionCenter, 120 - w / 2, 110 - h / 2},
        {6, 120 - w / 2, 100 - h},
        {-1, 120 - w / 2, 100 - h},
    };
    for (const auto& c : cases) {
        rec.clear();
        label->setPosition(c.position);
        draw();
        EXPECT_NEAR(onlyText().origin.x, c.x, 1e-9) << "position " << c.position;
        EXPECT_NEAR(onlyText().origin.y, c.y, 1e-9) << "position " << c.position;
    }
}

TEST_F(DataLabelTest, TheBoxHasTheLabelsColoursAndTwoBorderWidthsAroundTheText) {
    label->setPosition(KivoDataLabelPositionAbove);
    label->setDataLabelBorderWidth(2);
    draw();
    const auto& t = onlyText();
    EXPECT_EQ(t.color, TextColour);
    const auto* box = rec.findFill(Background);
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->bounds().x(), t.origin.x - 4, 1e-9);
    EXPECT_NEAR(box->bounds().y(), t.origin.y - 4, 1e-9);
    EXPECT_NEAR(box->bounds().width(), t.textSize.width + 8, 1e-9);
    EXPECT_NEAR(box->bounds().height(), t.textSize.height + 8, 1e-9);
    const auto* outline = rec.findStroke(Border);
    ASSERT_TRUE(outline);
    EXPECT_EQ(outline->userLineWidth, 2);
    EXPECT_LT(box - rec.ops().data(), &t - rec.ops().data());  // the text goes on top
}

TEST_F(DataLabelTest, TheLabelIsKeptInThePlotAreaRightAndBottomWinning) {
    const auto size = measure("7");
    const double w = size->width(), h = size->height();
    struct Case {
        const char* name;
        std::shared_ptr<KivoRect> plot, element;
        std::int64_t position;
        double border;
        double x, y;
    };
    const auto plot = KivoRect::create(0, 0, 200, 150);
    const Case cases[] = {
        {"past the right edge", plot, KivoRect::create(190, 50, 10, 10), KivoDataLabelPositionRight, 1, 200 - w - 4, 55 - h / 2},
        {"past the bottom edge", plot, KivoRect::create(50, 145, 10, 10), KivoDataLabelPositionBelow, 1, 55 - w / 2, 150 - h - 4},
        // The box, border and all, stays inside: the text is 2b plus half the border in.
        {"past the left and top edges", plot, KivoRect::create(0, 0, 10, 10), KivoDataLabelPositionLeft, 1, 2.5, 2.5},
        {"a thick border past the top edge", plot, KivoRect::create(50, 0, 10, 10), KivoDataLabelPositionAbove, 2, 55 - w / 2, 5},
        {"no border: the text itself at the edge", plot, KivoRect::create(190, 50, 10, 10), KivoDataLabelPositionRight, 0,
         200 - w, 55 - h / 2},
        {"wider than the plot", KivoRect::create(10, 0, w / 2, 150), KivoRect::create(10, 50, 1, 1), KivoDataLabelPositionCenter,
         1, 10 + w / 2 - w - 4, 50.5 - h / 2},
        {"no plot area yet: not clamped", nullptr, KivoRect::create(190, 50, 10, 10), KivoDataLabelPositionRight, 1, 200,
         55 - h / 2},
    };
    for (const auto& c : cases) {
        rec.clear();
        chart->setPlotRect(c.plot);
        element = c.element;
        label->setPosition(c.position);
        label->setDataLabelBorderWidth(c.border);
        draw();
        EXPECT_NEAR(onlyText().origin.x, c.x, 1e-9) << c.name;
        EXPECT_NEAR(onlyText().origin.y, c.y, 1e-9) << c.name;
    }
}

TEST_F(DataLabelTest, TheFontIsTheChartsCurrentLabelsAndPositionRedrawsTheChart) {
    auto other = OmbriChartDataLabel::create(chart);
    other->setPosition(KivoDataLabelPositionAbove);
    other->setDataLabelFont(plat::Font::system(24));
    label->setDataLabelFont(plat::Font::system(9));
    DefaultChartDataLabelRenderer::create(chart, other)->render("S", element, 0, 0, 1, 7, plat::Value());
    EXPECT_NEAR(onlyText().textSize.height, measure("7")->height(), 1e-9);

    chart->invalidates = 0;
    label->setPosition(KivoDataLabelPositionAbove);
    label->setPosition(KivoDataLabelPositionAbove);
    EXPECT_EQ(chart->invalidates, 2);
}
