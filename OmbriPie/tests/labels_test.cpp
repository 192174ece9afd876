#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "OmbriPie/KivoPieHitTestInfo.h"
#include "Platform/testing/geometry_matchers.h"
#include "drawing_fixture.h"

using pie_testing::PieDrawing;
using plat::testing::PointNear;

namespace {

constexpr double Pi = std::numbers::pi;

// A renderer whose labels all need `dimension` points; it records what it is asked.
class RecordingRenderer : public OmbriPieDataLabelRenderer {
public:
    using OmbriPieDataLabelRenderer::OmbriPieDataLabelRenderer;
    double dimension = 50;
    std::shared_ptr<KivoSize> answeredSize;
    int dimensionCalls = 0;
    std::vector<std::string> heard;
    std::vector<plat::Point> centres;  // of the boxes handed to render
    std::vector<std::shared_ptr<KivoRect>> boxes;

    double dataLabelDimension(const std::string&, std::int64_t, double) override {
        ++dimensionCalls;
        return dimension;
    }
    void render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t, double,
                const std::vector<double>&) override {
        heard.push_back("render " + name);
        boxes.push_back(rect);
        centres.push_back({rect->left() + rect->width() / 2, rect->top() + rect->height() / 2});
    }
    std::shared_ptr<KivoSize> getLabelSize(const std::string&, std::int64_t, double, const std::vector<double>&) override {
        heard.push_back("size");
        return answeredSize;
    }
    void clearXamarinDataLabelIfUpdated() override { heard.push_back("clear"); }
};

class PieLabels : public PieDrawing {
protected:
    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>(pie, pie->dataLabel());

    void useRecordingRenderer() { pie->setDataLabelRenderer(renderer); }
    double distanceFromCentre(const plat::Point& p, double c) const { return std::hypot(p.x - c, p.y - c); }
};

}  // namespace

TEST_F(PieLabels, ATemplateIsFilledInOneScan) {
    const auto& label = pie->dataLabel();
    const auto& r = pie->dataLabelRenderer();
    struct Case {
        std::optional<std::string> content;
        std::string format, name;
        std::int64_t index;
        double value;
        std::string text;
    };
    const Case cases[] = {
        {"{name}: {value}", "", "East", 2, 62, "East: 62"},
        {"{pointIndex}", "", "East", 0, 62, "0"},
        {"{pointIndex}", "", "West", 1, 13, "1"},
        {"{pointIndex}", "", "North", 2, 80, "2"},
        {std::nullopt, "", "East", 0, 62.7, "62"},
        {std::nullopt, "", "East", 0, -3.9, "-3"},
        {"{value}", "0.00", "East", 0, 62, "62.00"},
        {"{name}|{value}|{pointIndex}", "", "{value}", 4, 7, "{value}|7|4"},  // a name is never scanned again
        {"{name}{name} {nam", "", "{pointIndex}", 0, 1, "{pointIndex}{pointIndex} {nam"},
    };
    for (const auto& c : cases) {
        label->setContent(c.content);
        label->setDataLabelFormat(c.format);
        EXPECT_EQ(r->labelText(c.name, c.index, c.value), c.text) << c.content.value_or("nil");
    }
}

TEST_F(PieLabels, ABorderWidthAddsFourTimesItselfToTheDimension) {
    const auto& label = pie->dataLabel();
    const auto& r = pie->dataLabelRenderer();
    EXPECT_EQ(r->dataLabelDimension("East", 0, 62), 0.0);  // labels off
    label->setPosition(KivoPieLabelPositionInside);
    const double plain = r->dataLabelDimension("East", 0, 62);
    EXPECT_GT(plain, 0);
    label->setDataLabelBorderWidth(2);
    EXPECT_DOUBLE_EQ(r->dataLabelDimension("East", 0, 62), plain + 8);
}

TEST_F(PieLabels, OutsideLabelsWiderThanThePieLeaveItNoRadiusRatherThanANegativeOne) {
    useRecordingRenderer();
    renderer->dimension = 500;
    pie->dataLabel()->setPosition(KivoPieLabelPositionOutside);
    bind({1, 2});
    draw();
    EXPECT_EQ(view->radius(), 0);
    EXPECT_EQ(view->areas().size(), 2u);
}

TEST_F(PieLabels, LabelsStandInsideOutsideOrAtTheMiddleOfTheirSlices) {
    useRecordingRenderer();
    bind({1, 1, 2});
    const double mids[] = {Pi / 4, 3 * Pi / 4, 3 * Pi / 2};
    struct Case {
        std::int64_t position;
        double side, inner;
        double radius, distance;
    };
    const Case cases[] = {
        {KivoPieLabelPositionInside, 200, 0, 100, 100 - 25 - 5},
        {KivoPieLabelPositionOutside, 300, 0, 100, 133},
        {KivoPieLabelPositionCenter, 200, 0, 100, 50},
        {KivoPieLabelPositionCenter, 200, 0.5, 100, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        pie->dataLabel()->setPosition(c.position);
        pie->setInnerRadius(c.inner);
        renderer->centres.clear();
        renderer->boxes.clear();
        renderer->dimensionCalls = 0;
        draw(c.side);
        EXPECT_DOUBLE_EQ(view->radius(), c.radius);
        ASSERT_EQ(renderer->centres.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_THAT(renderer->centres[i], PointNear(at(c.side / 2, c.side / 2, c.distance, mids[i]))) << i;
            EXPECT_DOUBLE_EQ(renderer->boxes[i]->width(), c.radius / 2);
        }
        // Measured once per pass: one question per labelled slice.
        EXPECT_EQ(renderer->dimensionCalls, 3);
    }
}

TEST_F(PieLabels, ALabelFollowsItsPushedSliceAndAReversedPieLabelsItsOwnSlices) {
    useRecordingRenderer();
    pie->dataLabel()->setPosition(KivoPieLabelPositionCenter);
    pie->setReversed(true);
    pie->setStartAngle(90);
    pie->setOffset(0.1);
    pie->setSelectedItemOffset(0.2);
    bind({1, 3, 2});
    draw(200, 1);
    ASSERT_EQ(renderer->centres.size(), 3u);
    for (std::size_t k = 0; k < view->areas().size(); ++k) {
        const auto tag = static_cast<std::size_t>(view->areas()[k]->tag().asInteger());
        const auto& c = view->sliceCenterPoints()[k];
        // The label stands where the slice's own centre point is, pushes included.
        EXPECT_THAT(renderer->centres[tag], PointNear({c->x(), c->y()}, 1e-9)) << tag;
        EXPECT_TRUE(view->areas()[k]->contains(KivoPoint(renderer->centres[tag].x, renderer->centres[tag].y))) << tag;
    }
}

TEST_F(PieLabels, TheDefaultBoxReachesTwoBorderWidthsBeyondTheTextAndTurnsBackWithTheView) {
    const auto& label = pie->dataLabel();
    label->setPosition(KivoPieLabelPositionInside);
    label->setDataLabelBorderWidth(2);
    label->setDataLabelBorderColor(plat::Color(1, 0, 0));
    label->setDataLabelBackgroundColor(plat::Color(0, 1, 0));
    bind({1});
    draw();
    const plat::DrawOp* text = rec.findText("1");
    // The label's box: the red outline of width 2.
    const auto findBox = [&]() -> const plat::DrawOp* {
        for (const plat::DrawOp* op : rec.strokes())
            if (op->color == plat::Color(1, 0, 0) && op->userLineWidth == 2) return op;
        return nullptr;
    };
    const plat::DrawOp* box = findBox();
    ASSERT_TRUE(text && box);
    EXPECT_TRUE(rec.findFill(plat::Color(0, 1, 0)));
    const plat::Rect t = text->bounds(), b = box->bounds();
    EXPECT_NEAR(t.x() - b.x(), 4, 1e-6);
    EXPECT_NEAR(t.y() - b.y(), 4, 1e-6);
    EXPECT_NEAR(b.width() - t.width(), 8, 1e-6);
    EXPECT_NEAR(b.height() - t.height(), 8, 1e-6);
    EXPECT_NEAR(text->rotationDegrees(), 0, 1e-9);
    const plat::Point centre{t.x() + t.width() / 2, t.y() + t.height() / 2};

    view->setRotationAngle(Pi / 6);
    draw();
    text = rec.findText("1");
    ASSERT_TRUE(text);
    EXPECT_NEAR(text->rotationDegrees(), -30, 1e-9);
    const plat::Rect turned = text->bounds();
    EXPECT_THAT((plat::Point{turned.x() + turned.width() / 2, turned.y() + turned.height() / 2}), PointNear(centre, 1e-6));
    ASSERT_TRUE(findBox());
    EXPECT_NEAR(findBox()->rotationDegrees(), -30, 1e-9);
    EXPECT_EQ(rec.saveDepth(), 0u);
}

TEST_F(PieLabels, PositionNoneTakesNoRoomAndDrawsNothing) {
    pie->dataLabel()->setContent("{name}");
    bind({1, 2});
    draw();
    EXPECT_EQ(view->radius(), 100);
    EXPECT_TRUE(rec.texts().empty());
    pie->dataLabel()->setPosition(KivoPieLabelPositionOutside);
    draw();
    EXPECT_LT(view->radius(), 100);
    EXPECT_EQ(rec.strings(), (std::vector<std::string>{"s0", "s1"}));
}

TEST_F(PieLabels, AnApplicationRendererSizesOutsideLabelsItself) {
    useRecordingRenderer();
    pie->setIsXamarinLabel(true);
    pie->dataLabel()->setPosition(KivoPieLabelPositionOutside);
    renderer->answeredSize = KivoSize::create(30, 40);
    bind({1, 1});
    draw();
    EXPECT_DOUBLE_EQ(view->radius(), 100 - 50);
    // Its box is the slice's centre and the way to the rim.
    ASSERT_EQ(renderer->boxes.size(), 2u);
    EXPECT_DOUBLE_EQ(renderer->boxes[0]->left(), 100);
    EXPECT_NEAR(renderer->boxes[0]->height(), 50, 1e-12);  // r sin(pi/2)

    renderer->answeredSize = nullptr;  // not answered: no room
    draw();
    EXPECT_EQ(view->radius(), 100);
}

TEST_F(PieLabels, AnApplicationRendererHearsOfEachPassBeforeItsLabels) {
    useRecordingRenderer();
    pie->setIsXamarinLabel(true);
    pie->dataLabel()->setPosition(KivoPieLabelPositionInside);
    bind({1, 1});
    draw();
    draw();
    EXPECT_EQ(renderer->heard, (std::vector<std::string>{"clear", "render s0", "render s1", "clear", "render s0", "render s1"}));
}

TEST(PieHitTestInfo, StartsWithAnEmptySliceAtTheOrigin) {
    auto pie = OmbriPie::create({0, 0, 100, 100});
    const auto info = KivoPieHitTestInfo::create(pie, 12, 34);
    EXPECT_EQ(info->x(), 12);
    EXPECT_EQ(info->y(), 34);
    EXPECT_EQ(info->pie(), pie);
    ASSERT_TRUE(info->dataPoint() && info->sliceCenter());
    EXPECT_EQ(info->dataPoint()->pointIndex(), 0);
    EXPECT_EQ(info->dataPoint()->percentage(), 0);
    EXPECT_EQ(info->sliceCenter()->x(), 0);
}
