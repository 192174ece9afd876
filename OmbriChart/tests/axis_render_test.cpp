#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoLabelLoadingEventArgs.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

const plat::Color MajorGrid = plat::Color::rgb255(200, 0, 0);
const plat::Color MinorGrid = plat::Color::rgb255(0, 0, 200);
const plat::Color MajorFill = plat::Color::rgb255(240, 240, 200);
const plat::Color MinorFill = plat::Color::rgb255(200, 240, 240);
const plat::Color Ticks = plat::Color::rgb255(0, 120, 0);
const plat::Color Line = plat::Color::rgb255(90, 0, 90);

// The plot area and the bands around it: a Y axis on the left, an X axis below.
constexpr plat::Rect Plot{80, 20, 300, 200};
constexpr double YBandLeft = 40, YBandThickness = 40, XBandThickness = 30;

std::vector<std::string> categories(int n) {
    std::vector<std::string> labels;
    for (int i = 0; i < n; ++i) labels.push_back("L" + std::to_string(i));
    return labels;
}

class AxisRenderTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::testing::PinnedLocale pinned{"en_US", "UTC"};
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<IKivoRenderEngine> engine = chart->renderEngine();
    std::shared_ptr<KivoAxis> y = chart->axisY();
    std::shared_ptr<KivoAxis> x = chart->axisX();
    std::shared_ptr<KivoRect> plot = KivoRect::create(Plot.x(), Plot.y(), Plot.width(), Plot.height());

    void SetUp() override {
        // A drawn series: an axis of a chart that draws nothing shows only its line and title.
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", "v")));
        for (const auto& axis : {x, y}) {
            axis->setMajorGridColor(MajorGrid);
            axis->setMinorGridColor(MinorGrid);
            axis->setMajorTickColor(Ticks);
            axis->setLineColor(Line);
        }
        layout(y);
        layout(x);
    }
    // A Y axis is handed its band with its length in the width.
    void layout(const std::shared_ptr<KivoAxis>& axis, double length = Plot.height()) {
        if (axis->axisType() == KivoAxisTypeY)
            axis->layout(KivoRect::create(YBandLeft, Plot.y(), length, YBandThickness), plot);
        else
            axis->layout(KivoRect::create(Plot.x(), Plot.maxY(), Plot.width(), XBandThickness), plot);
    }
    void draw(const std::shared_ptr<KivoAxis>& axis, bool isOverlap = false) {
        rec.clear();
        axis->render(engine, isOverlap);
    }

    std::vector<plat::Rect> ops(plat::DrawOp::Kind kind, const plat::Color& c) const {
        std::vector<plat::Rect> found;
        for (const auto* op : rec.ofKind(kind))
            if (plat::nearlyEqual(op->color, c, 1e-6)) found.push_back(op->bounds());
        return found;
    }
    std::vector<plat::Rect> strokes(const plat::Color& c) const { return ops(plat::DrawOp::Kind::Stroke, c); }
    std::vector<plat::Rect> fills(const plat::Color& c) const { return ops(plat::DrawOp::Kind::Fill, c); }
};

}  // namespace

TEST_F(AxisRenderTest, GridLinesSkipTheLowestValueAndFillBandsAlternate) {
    y->updateActualLimits(KivoDataTypeNumber, 0, 100);
    y->setMajorUnit(20);
    y->setMinorUnit(10);
    y->setMinorGridVisible(true);
    y->setMajorGridFill(MajorFill);
    y->setMinorGridFill(MinorFill);
    draw(y);
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));

    // Major lines 1.4 times majorGridWidth across the plot at 20 … 100 (the highest value too).
    const auto major = strokes(MajorGrid);
    ASSERT_EQ(major.size(), 5u);
    for (std::size_t i = 0; i < major.size(); ++i) {
        EXPECT_DOUBLE_EQ(major[i].y(), y->convert(20.0 * static_cast<double>(i + 1)));
        EXPECT_DOUBLE_EQ(major[i].width(), Plot.width());
    }
    EXPECT_DOUBLE_EQ(rec.findStroke(MajorGrid)->userLineWidth, 0.25 * 1.4);
    // Minor lines at 10 … 90, neither end.
    const auto minor = strokes(MinorGrid);
    ASSERT_EQ(minor.size(), 9u);
    EXPECT_DOUBLE_EQ(minor.front().y(), y->convert(10));
    EXPECT_DOUBLE_EQ(rec.findStroke(MinorGrid)->userLineWidth, 0.25);

    // Every other band between labels (two past the last one), 0.7 grid widths before its line, inside
    // the plot area's clip.
    const auto bands = fills(MajorFill);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_NEAR(bands[0].maxY(), y->convert(0) - 0.7 * 0.25, 1e-9);
    EXPECT_NEAR(bands[0].y(), y->convert(20) - 0.7 * 0.25, 1e-9);
    EXPECT_NEAR(bands[1].y(), y->convert(60) - 0.7 * 0.25, 1e-9);
    EXPECT_DOUBLE_EQ(bands[0].width(), Plot.width());
    EXPECT_EQ(*rec.findFill(MajorFill)->clip, Plot);
    const auto minorBands = fills(MinorFill);
    ASSERT_EQ(minorBands.size(), 5u);  // 0–10, 20–30, … 80–90
    EXPECT_NEAR(minorBands[1].maxY(), y->convert(20) - 0.5 * 0.25, 1e-9);

    // On a logarithmic axis a band runs from one power to the next.
    auto log = KivoAxis::create(KivoAxisPositionRight, chart);
    log->layout(KivoRect::create(Plot.maxX(), Plot.y(), Plot.height(), YBandThickness), plot);
    log->setLogBase(10.0);
    log->updateActualLimits(KivoDataTypeNumber, 3, 420);
    log->setMajorGridFill(MajorFill);
    draw(log);
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"1", "10", "100", "1000"}));
    const auto logBands = fills(MajorFill);
    ASSERT_EQ(logBands.size(), 3u);  // 1–10, 100–1000, and one past the top, clipped
    EXPECT_NEAR(logBands[0].maxY(), log->convert(1) - 0.7 * 0.25, 1e-9);
    EXPECT_NEAR(logBands[0].y(), log->convert(10) - 0.7 * 0.25, 1e-9);
    EXPECT_NEAR(logBands[1].y(), log->convert(1000) - 0.7 * 0.25, 1e-9);

    // Redrawn above the series: ticks and labels only.
    y->setGridLineIsExsit(true);
    draw(y);
    EXPECT_TRUE(strokes(MajorGrid).empty());
    EXPECT_TRUE(strokes(MinorGrid).empty());
    EXPECT_TRUE(fills(MajorFill).empty());
    EXPECT_TRUE(fills(MinorFill).empty());
    EXPECT_EQ(strokes(Ticks).size(), 6u);
    EXPECT_EQ(rec.strings().size(), 6u);
}

TEST_F(AxisRenderTest, TicksLabelsLineAndTitleSitAgainstTheBandEdges) {
    y->updateActualLimits(KivoDataTypeNumber, 0, 100);
    y->setMajorUnit(50);
    y->setTitle("Sales");
    y->getHeight(engine);
    draw(y);
    // Left axis: ticks 4 long outward of the band's right edge, labels right-aligned 4 beyond them.
    const double edge = YBandLeft + YBandThickness;
    const auto ticks = strokes(Ticks);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_DOUBLE_EQ(ticks[0].x(), edge - 4);
    EXPECT_DOUBLE_EQ(ticks[0].maxX(), edge);
    const auto* label = rec.findText("50");
    ASSERT_TRUE(label);
    EXPECT_NEAR(label->bounds().maxX(), edge - 8, 1e-9);
    EXPECT_NEAR(label->bounds().midY(), y->convert(50), 1e-9);
    // The line along the band's plot side; the title turned to read upwards at the band's far side.
    const auto line = strokes(Line);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0], plat::Rect(edge, Plot.y(), 0, Plot.height()));
    const auto* title = rec.findText("Sales");
    ASSERT_TRUE(title);
    EXPECT_NEAR(title->rotationDegrees(), -90, 1e-9);
    EXPECT_NEAR(title->bounds().minX(), YBandLeft, 1e-9);
    EXPECT_NEAR(title->bounds().midY(), Plot.midY(), 1e-9);

    // Bottom axis: the label below the tick, centred on it; the title at the band's bottom.
    x->updateActualLimits(KivoDataTypeNumber, 0, 10);
    x->setMajorUnit(5);
    x->setTitle("Week");
    x->getHeight(engine);
    draw(x);
    const auto* five = rec.findText("5");
    ASSERT_TRUE(five);
    EXPECT_NEAR(five->bounds().y(), Plot.maxY() + 4, 1e-9);
    EXPECT_NEAR(five->bounds().midX(), x->convert(5), 1e-9);
    EXPECT_NEAR(rec.findText("Week")->bounds().maxY(), Plot.maxY() + XBandThickness, 1e-9);
    EXPECT_EQ(strokes(Line)[0], plat::Rect(Plot.x(), Plot.maxY(), Plot.width(), 0));
}

TEST_F(AxisRenderTest, LabelsThinOutOnlyWhereTheyWouldCollide) {
    // A Y axis with horizontal labels estimates no collision, until there are 21 labels or more.
    for (const auto& [count, thinned] : std::vector<std::pair<int, bool>>{{20, false}, {21, true}}) {
        layout(y, 100);  // about 5 points per label, text 14 high
        y->updateActualLimits(KivoDataTypeNumber, 0, count - 1, categories(count), nullptr);
        draw(y);
        EXPECT_EQ(rec.strings().size() < static_cast<std::size_t>(count), thinned) << count;
        EXPECT_EQ(strokes(Ticks).size(), static_cast<std::size_t>(count)) << count;
        draw(y, true);  // isOverlap draws every label
        EXPECT_EQ(rec.strings().size(), static_cast<std::size_t>(count)) << count;
    }

    // An X axis with horizontal labels keeps a label only at more than half its width from the last
    // one drawn.
    x->updateActualLimits(KivoDataTypeNumber, 0, 9,
                          {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October"},
                          nullptr);
    draw(x);
    const auto drawn = rec.strings();
    EXPECT_LT(drawn.size(), 10u);
    EXPECT_EQ(drawn.front(), "January");
    for (std::size_t i = 1; i < drawn.size(); ++i) {
        const auto* a = rec.findText(drawn[i - 1]);
        const auto* b = rec.findText(drawn[i]);
        EXPECT_GT(b->bounds().minX(), a->bounds().maxX()) << drawn[i];
    }
}

TEST_F(AxisRenderTest, ACategoryStepBelowOneKeepsEveryLabel) {
    struct Case {
        double majorUnit;
        std::vector<std::string> drawn;
    };
    for (const auto& c : {Case{0.5, {"L0", "L1", "L2", "L3", "L4"}}, Case{2, {"L0", "L2", "L4"}},
                          Case{std::numeric_limits<double>::infinity(), {"L0"}}}) {
        x->updateActualLimits(KivoDataTypeString, 0, 4, categories(5), nullptr);
        x->setMajorUnit(c.majorUnit);
        draw(x, true);
        EXPECT_EQ(rec.strings(), c.drawn) << c.majorUnit;
    }
}

TEST_F(AxisRenderTest, NoFillBandsWithoutLabelValues) {
    for (double unit : {-5.0, std::numeric_limits<double>::infinity()}) {
        y->updateActualLimits(KivoDataTypeNumber, 0, 100);
        y->setMajorUnit(unit);
        y->setMajorGridFill(MajorFill);
        draw(y);
        EXPECT_TRUE(fills(MajorFill).empty()) << unit;
        EXPECT_TRUE(rec.strings().empty()) << unit;
        EXPECT_EQ(strokes(Line).size(), 1u) << unit;
    }
}

TEST_F(AxisRenderTest, LabelLoadingLetsAHandlerChangeOrDropALabel) {
    y->updateActualLimits(KivoDataTypeNumber, 0, 100);
    y->setMajorUnit(50);
    std::vector<std::shared_ptr<KivoRect>> regions;
    std::shared_ptr<plat::Object> sender;
    y->labelLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                      auto args = c->args<KivoLabelLoadingEventArgs>();
                                      sender = c->sender();
                                      regions.push_back(args->region()->clone());
                                      if (args->value() == 50) args->setLabel("half");
                                      if (args->value() == 100) args->setLabel("");
                                      EXPECT_EQ(args->renderEngine(), engine);
                                  }),
                                  chart);
    draw(y);
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"0", "half"}));
    EXPECT_EQ(sender, y);
    EXPECT_TRUE(y->isCustomizedLabel());
    // The changed text is placed by its own size: right-aligned against the tick like the others.
    EXPECT_NEAR(rec.findText("half")->bounds().maxX(), YBandLeft + YBandThickness - 8, 1e-9);
    // The region of "0": left of the anchor, centred on the value.
    ASSERT_EQ(regions.size(), 3u);
    const auto zero = engine->measureString("0");
    EXPECT_NEAR(regions[0]->right(), YBandLeft + YBandThickness - 8, 1e-9);
    EXPECT_NEAR(regions[0]->top(), y->convert(0) - zero->height() / 2, 1e-9);
    // Dropped labels keep their grid lines and ticks.
    EXPECT_EQ(strokes(Ticks).size(), 3u);
    EXPECT_EQ(strokes(MajorGrid).size(), 2u);
}

TEST_F(AxisRenderTest, TheDelegateTakesLabelsOnlyWhenAskedTo) {
    struct Delegate : OmbriChartDelegate {
        unsigned answeredMethods() const override { return HandleLabelLoading; }
        bool handleLabelLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                std::int32_t axisIndex, const std::shared_ptr<KivoEventArgs>& args) override {
            indices.push_back(axisIndex);
            auto label = std::dynamic_pointer_cast<KivoLabelLoadingEventArgs>(args);
            if (label->value() == 5) return true;  // drawn by the application
            label->setLabel("d" + label->label().value_or(""));
            return false;
        }
        std::vector<std::int32_t> indices;
    };
    auto delegate = std::make_shared<Delegate>();
    chart->setDelegate(delegate);
    int events = 0;
    x->labelLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>&) { ++events; }), chart);
    x->updateActualLimits(KivoDataTypeNumber, 0, 10);
    x->setMajorUnit(5);

    draw(x, true);  // without the hook flag: the event
    EXPECT_EQ(events, 3);
    EXPECT_TRUE(delegate->indices.empty());

    x->setIsHandleXFAxisLabelLoading(true);
    draw(x, true);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(delegate->indices, (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"d0", "d10"}));
    EXPECT_EQ(strokes(Ticks).size(), 3u);  // the tick of the label the application drew stays
}

TEST_F(AxisRenderTest, WithoutARangeOnlyTheLineAndTitleAreDrawn) {
    y->setTitle("Units");
    y->setMajorGridFill(MajorFill);
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const std::vector<Case> cases = {
        {"never given limits", [] {}},
        {"an empty range", [&] { y->updateActualLimits(KivoDataTypeNumber, 5, 5); }},
        {"every series hidden",
         [&] {
             y->updateActualLimits(KivoDataTypeNumber, 0, 10);
             chart->series()->objectAtIndexAs<KivoSeries>(0)->setVisibility(KivoSeriesVisibilityHidden);
         }},
    };
    for (const auto& c : cases) {
        c.arrange();
        draw(y);
        EXPECT_EQ(rec.strings(), std::vector<std::string>{"Units"}) << c.name;
        EXPECT_EQ(rec.strokes().size(), 1u) << c.name;
        EXPECT_EQ(strokes(Line).size(), 1u) << c.name;
        EXPECT_TRUE(rec.fills().empty()) << c.name;
    }

    auto nowhere = KivoAxis::create(KivoAxisPositionNone, chart);
    nowhere->setTitle("Hidden");
    nowhere->updateActualLimits(KivoDataTypeNumber, 0, 10);
    nowhere->layout(KivoRect::create(0, 0, 100, 20), plot);
    draw(nowhere);
    EXPECT_TRUE(rec.ops().empty());
}

TEST_F(AxisRenderTest, TurnedLabelsAndTheirAngle) {
    for (const auto& [given, normalised] : std::vector<std::pair<double, double>>{{-45, 315}, {725.9, 5}, {360, 0}, {-0.5, 0}})
        EXPECT_EQ(OmbriChartTestAccess::_simplifyAxisLabelAngle(*x, given), normalised) << given;

    // A bottom axis' labels turned by -45 end at their tick and rise towards it.
    x->updateActualLimits(KivoDataTypeNumber, 0, 10);
    x->setMajorUnit(5);
    x->setLabelAngle(-45);
    draw(x, true);
    EXPECT_EQ(x->labelAngle(), 315);
    const auto* five = rec.findText("5");
    ASSERT_TRUE(five);
    EXPECT_NEAR(five->rotationDegrees(), -45, 1e-9);
    const auto size = engine->measureString("5");
    // The text's right end, half its height below its top, sits 4 beyond the tick.
    plat::Point local = five->ctm.inverted().apply(five->origin);
    local.x += size->width();
    local.y += size->height() / 2;
    const plat::Point end = five->ctm.apply(local);
    EXPECT_NEAR(end.x, x->convert(5), 1e-6);
    EXPECT_NEAR(end.y, Plot.maxY() + 4 + 4, 1e-6);
}

TEST_F(AxisRenderTest, TheOverlapEstimateMeasuresTheFirstWholeCharacter) {
    // Ten labels on a Y axis 100 long: 10 points each; turned by 45 degrees each label has 10 points
    // across, more than "€" is wide (about 7.6) but less than a cut byte's replacement glyph (about 12.3).
    layout(y, 100);
    y->updateActualLimits(KivoDataTypeString, 0, 9, categories(10), nullptr);
    y->setLabelAngle(45);
    draw(y);
    const std::string euro =
        "\xE2\x82\xAC"
        "uro";
    EXPECT_FALSE(OmbriChartTestAccess::_isActualOverlap(*y, 45, euro));
    EXPECT_TRUE(OmbriChartTestAccess::_isActualOverlap(*y, 45, "W"));  // wider than 10
    EXPECT_FALSE(OmbriChartTestAccess::_isActualOverlap(*y, 0, "W"));  // horizontal labels on a Y axis never collide
    EXPECT_FALSE(OmbriChartTestAccess::_isActualOverlap(*y, 45, ""));
    // X axis: at 90 degrees never; horizontal labels always count as colliding.
    x->updateActualLimits(KivoDataTypeNumber, 0, 10);
    draw(x);
    EXPECT_FALSE(OmbriChartTestAccess::_isActualOverlap(*x, 90, "W"));
    EXPECT_TRUE(OmbriChartTestAccess::_isActualOverlap(*x, 0, "W"));
}

TEST_F(AxisRenderTest, TheBandFitsLabelsTicksAndTitle) {
    y->updateActualLimits(KivoDataTypeNumber, 0, 100);
    x->updateActualLimits(KivoDataTypeNumber, 0, 100);
    const double hx = x->getHeight(engine), hy = y->getHeight(engine);
    const auto label = x->annoSize();
    ASSERT_TRUE(label);
    EXPECT_TRUE(y->annoSize()->isEqual(label));
    EXPECT_DOUBLE_EQ(hx, label->height() + 2 + 4);         // label, gap, tick
    EXPECT_DOUBLE_EQ(hy, label->width() + 4 + 2 + 2 + 4);  // label, two gaps, gap, tick
    // The longer of the major and minor ticks counts; a title adds its height.
    x->setMinorTickWidth(1);
    x->setMinorTickLength(10);
    x->setTitle("Title");
    const double withTitle = x->getHeight(engine);
    EXPECT_DOUBLE_EQ(withTitle, label->height() + 2 + 10 + x->szTitle()->height());
    x->setLabelsVisible(false);
    EXPECT_DOUBLE_EQ(x->getHeight(engine), 2 + 10 + x->szTitle()->height());
    // Category texts are measured turned by the label angle.
    y->updateActualLimits(KivoDataTypeString, 0, 1, {"Wide label", "x"}, nullptr);
    y->setLabelAngle(90);
    y->getHeight(engine);
    const auto wide = engine->measureString("Wide label");
    EXPECT_NEAR(y->annoSize()->height(), wide->width(), 1e-9);
}
