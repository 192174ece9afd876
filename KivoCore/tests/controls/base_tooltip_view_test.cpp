#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "KivoCore/KivoBaseTooltipView.h"
#include "KivoCore/KivoButton.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/golden_image.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/image_view.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/window.h"

using plat::Color;
using plat::Point;
using plat::Rect;
using plat::Size;
using plat::testing::RectNear;

namespace {

// A tooltip whose text measures as the test says, and that counts its redisplay requests.
class FixedTooltip : public KivoBaseTooltipView {
public:
    static std::shared_ptr<FixedTooltip> make(Size textSize) {
        auto t = initialized(std::shared_ptr<FixedTooltip>(new FixedTooltip()));
        t->textSize = textSize;
        return t;
    }
    Size _measureString(const std::optional<std::string>& s, const plat::Font&) const override {
        return s && !s->empty() ? textSize : Size{};
    }
    void setNeedsDisplay() override {
        ++redisplays;
        KivoBaseTooltipView::setNeedsDisplay();
    }
    Size textSize;
    int redisplays = 0;
};

class TooltipTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Screen::main().reset();
        window = plat::Window::create();
    }
    void TearDown() override { plat::Screen::main().reset(); }
    std::shared_ptr<FixedTooltip> shown(Size text, Point at, const std::shared_ptr<plat::View>& parent = nullptr) {
        auto t = FixedTooltip::make(text);
        (parent ? parent : window)->addSubview(t);
        t->setText("Tip");
        t->setSenderPoint(at);
        t->setIsVisible(true);
        return t;
    }
    double shownAlpha(const KivoBaseTooltipView& t) { return t.layer()->presentationOpacity(plat::Clock::now()); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
};

}  // namespace

TEST_F(TooltipTest, PlacementKeepsTheBubbleOnTheScreen) {
    struct Case {
        const char* what;
        Size text;
        Point at;
        double screenHeight, statusBar;
        std::int64_t direction;
        Rect frame;
    };
    const Case cases[] = {
        {"above", {80, 15}, {200, 300}, 568, 20, KivoBaseTooltipView::ArrowDown, {155, 260, 90, 40}},
        {"below near the top", {80, 15}, {200, 40}, 568, 20, KivoBaseTooltipView::ArrowUp, {155, 40, 90, 40}},
        {"left edge", {80, 15}, {10, 300}, 568, 20, KivoBaseTooltipView::ArrowDown, {5, 260, 90, 40}},
        {"right edge", {80, 15}, {300, 300}, 568, 20, KivoBaseTooltipView::ArrowDown, {225, 260, 90, 40}},
        {"width cut to half the screen", {200, 15}, {160, 300}, 568, 20, KivoBaseTooltipView::ArrowDown, {85, 260, 150, 40}},
        {"body cut at the bottom", {80, 15}, {100, 30}, 60, 20, KivoBaseTooltipView::ArrowUp, {55, 30, 90, 25}},
        {"no room under the status bar", {80, 15}, {100, 60}, 568, 40, KivoBaseTooltipView::ArrowDown, {55, 45, 90, 15}},
    };
    for (const auto& c : cases) {
        plat::Screen::main().setBounds({0, 0, 320, c.screenHeight});
        plat::Screen::main().setStatusBarFrame({0, 0, 320, c.statusBar});
        auto t = shown(c.text, c.at);
        EXPECT_EQ(t->arrowDirection(), c.direction) << c.what;
        EXPECT_THAT(t->frame(), RectNear(c.frame)) << c.what;
        t->removeFromSuperview();
    }
}

TEST_F(TooltipTest, DrawsTheBodyArrowAndTextWhereThePointIs) {
    struct Case {
        const char* what;
        Point at;
        Rect body;
        Point tip, baseLeft, baseRight, text;
    };
    // Device coordinates of the window (scale 1).
    const Case cases[] = {
        {"above", {200, 300}, {155, 260, 90, 25}, {200, 300}, {193, 285}, {207, 285}, {160, 265}},
        {"below", {200, 40}, {155, 55, 90, 25}, {200, 40}, {193, 56}, {207, 56}, {160, 60}},
        {"clamped left", {10, 300}, {5, 260, 90, 25}, {10, 300}, {10, 285}, {25, 285}, {10, 265}},
    };
    for (const auto& c : cases) {
        auto t = shown({80, 15}, c.at);
        clock.advance(1);
        plat::RecordingContext rec;
        window->display(rec);
        const auto* fill = rec.findFill(Color::darkGray());
        ASSERT_NE(fill, nullptr) << c.what;
        const auto& pts = fill->path.points();
        ASSERT_GE(pts.size(), 3u);
        // The arrow is the last subpath: base, tip, base.
        const Point a = pts[pts.size() - 3], tip = pts[pts.size() - 2], b = pts[pts.size() - 1];
        EXPECT_EQ(tip, c.tip) << c.what;
        EXPECT_EQ(a, c.baseLeft) << c.what;
        EXPECT_EQ(b, c.baseRight) << c.what;
        plat::Path body;
        body.addPath(fill->path);
        EXPECT_THAT(fill->bounds(), RectNear(c.body.united({c.tip, {0, 0}}))) << c.what;
        const auto* text = rec.findText("Tip");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->origin, c.text) << c.what;
        EXPECT_EQ(text->color, Color::white());
        EXPECT_TRUE(text->text.attributes.font.isBold());
        t->removeFromSuperview();
    }
}

TEST_F(TooltipTest, PlacementWorksOnTheScreenWhenTheSuperviewIsOffset) {
    auto panel = plat::View::create({50, 100, 270, 400});
    window->addSubview(panel);
    auto t = shown({80, 15}, {150, 200}, panel);  // (200, 300) on the screen
    EXPECT_EQ(t->arrowDirection(), KivoBaseTooltipView::ArrowDown);
    EXPECT_THAT(t->frame(), RectNear({105, 160, 90, 40}));
    EXPECT_THAT(t->convertRectToView(t->bounds(), nullptr), RectNear({155, 260, 90, 40}));

    // Near the screen's right edge only in screen terms: the superview's own coordinates would not clamp.
    t->setSenderPoint({250, 200});  // (300, 300) on the screen
    t->invalidate();
    EXPECT_THAT(t->convertRectToView(t->bounds(), nullptr), RectNear({225, 260, 90, 40}));
    clock.advance(1);
    plat::RecordingContext rec;
    window->display(rec);
    const auto* fill = rec.findFill(Color::darkGray());
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->path.points()[fill->path.points().size() - 2], Point(300, 300)) << "the tip is on the sender point";
}

TEST_F(TooltipTest, FadesInWhenShownAndRestartsOnInvalidate) {
    auto t = shown({80, 15}, {200, 300});
    EXPECT_EQ(t->alpha(), 1);
    EXPECT_EQ(shownAlpha(*t), 0);
    clock.advance(0.1);
    EXPECT_NEAR(shownAlpha(*t), 0.5, 1e-3) << "0.2 s by default, eased in and out";
    const int before = t->redisplays;
    t->setIsVisible(true);  // unchanged: nothing
    EXPECT_EQ(t->redisplays, before);
    EXPECT_NEAR(shownAlpha(*t), 0.5, 1e-3);
    clock.advance(0.1);
    EXPECT_EQ(shownAlpha(*t), 1);
    t->invalidate();
    EXPECT_EQ(shownAlpha(*t), 0) << "laid out anew and faded in from 0";

    // A delay and a duration of its own.
    t->setAppearDelay(0.5);
    t->setAppearDuration(1);
    t->invalidate();
    clock.advance(0.4);
    EXPECT_EQ(shownAlpha(*t), 0);
    clock.advance(1.1);
    EXPECT_EQ(shownAlpha(*t), 1);
}

TEST_F(TooltipTest, HidesAtOnceOrAfterItsDelay) {
    auto t = shown({80, 15}, {200, 300});
    clock.advance(1);
    t->hide();
    EXPECT_EQ(shownAlpha(*t), 0);
    EXPECT_EQ(t->alpha(), 0);
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());

    t->show();
    clock.advance(1);
    t->setDisappearDelay(2);
    t->setIsVisible(false);
    EXPECT_FALSE(t->isVisible());
    clock.advance(2 - 0.01);
    rec.clear();
    window->display(rec);
    EXPECT_NE(rec.findFill(Color::darkGray()), nullptr) << "the last drawing stays until the timer fires";
    clock.advance(0.01);
    EXPECT_EQ(shownAlpha(*t), 0) << "then it vanishes without a fade";
    rec.clear();
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());
}

TEST_F(TooltipTest, ShowingAgainCancelsAPendingHide) {
    auto t = shown({80, 15}, {200, 300});
    t->setDisappearDelay(2);
    clock.advance(1);
    t->hide();
    clock.advance(1);
    t->show();
    clock.advance(5);
    EXPECT_TRUE(t->isVisible());
    EXPECT_EQ(shownAlpha(*t), 1);
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_NE(rec.findFill(Color::darkGray()), nullptr);
}

TEST_F(TooltipTest, ACustomisedTooltipIsNeitherMovedNorDrawn) {
    auto t = FixedTooltip::make({80, 15});
    window->addSubview(t);
    t->setIsCustomized(true);
    t->setText("Tip");
    t->setSenderPoint({200, 300});
    t->show();
    t->invalidate();
    t->setBackColor(Color::red());
    EXPECT_EQ(t->frame(), Rect(0, 0, 100, 100));
    EXPECT_EQ(t->redisplays, 0);
    clock.advance(1);
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());
    t->hide();
    EXPECT_FALSE(t->isVisible());
}

TEST_F(TooltipTest, PropertiesThatDoAndDoNotRedraw) {
    auto t = shown({80, 15}, {200, 300});
    const int before = t->redisplays;
    t->setBackColor(Color::darkGray());  // the same colour
    t->setFontSize(20);
    t->setText("Other");
    EXPECT_EQ(t->redisplays, before);
    EXPECT_EQ(t->textFont(), plat::Font::boldSystem(20));
    EXPECT_EQ(t->textFontSize(), 20);
    t->setBackColor(Color::blue());
    EXPECT_EQ(t->redisplays, before + 1);

    // Empty and missing texts draw nothing; a missing one leaves the bounds as they were.
    t->setText(std::string());
    t->invalidate();
    EXPECT_EQ(t->frame().size, Size(10, 25)) << "the padding around a 0 x 0 text, and the arrow";
    clock.advance(1);
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());
    t->setText(std::nullopt);
    t->invalidate();
    EXPECT_EQ(t->frame().size, Size(10, 40)) << "the last bounds (10 x 25) taken as the body";
    rec.clear();
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());
}

TEST_F(TooltipTest, ShadowAndOpacityAtLayout) {
    auto t = FixedTooltip::make({80, 15});
    window->addSubview(t);
    t->setText("Tip");
    t->setHasShadow(true);
    t->setOpacity(0.5);
    t->setSenderPoint({200, 300});
    t->show();
    EXPECT_EQ(t->layer()->shadowOpacity(), 0.5);
    EXPECT_EQ(t->layer()->shadowOffset(), Size(0, 2));
    clock.advance(1);
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_NE(rec.findFill(Color::black().withAlpha(0.25)), nullptr) << "the shadow silhouette";
    EXPECT_NE(rec.findFill(Color::darkGray().withAlpha(0.5)), nullptr) << "the bubble at its opacity";
}

TEST(KivoBaseTooltipViewGolden, BubblesAboveAndBelowTheirPoints) {
    plat::testing::VirtualClock clock;
    plat::Screen::main().reset();
    auto window = plat::Window::create({0, 0, 200, 130});
    window->setBackgroundColor(Color::white());
    auto marker = [&](Point p) {
        auto dot = plat::View::create({p.x - 2, p.y - 2, 4, 4});
        dot->setBackgroundColor(Color::red());
        window->addSubview(dot);
    };
    auto above = KivoBaseTooltipView::create();
    window->addSubview(above);
    above->setText("Sales: 1,250");
    above->setSenderPoint({60, 110});
    above->show();
    marker({60, 110});
    auto below = KivoBaseTooltipView::create();
    window->addSubview(below);
    below->setText("Below the point");
    below->setSenderPoint({140, 22});
    below->setHasShadow(true);
    below->show();
    marker({140, 22});
    clock.advance(1);
    auto image = window->renderImage(2);
    const auto result = plat::testing::compareWithGolden(*image, "KivoCore/tests/golden/kivo_tooltip_above_below.png");
    EXPECT_TRUE(result.ok) << result.message;
}

TEST(KivoButton, ImageViewFillsTheButtonWhichStaysWhereItWasPut) {
    auto parent = plat::View::create({0, 0, 300, 300});
    auto button = KivoButton::create({30, 40, 80, 20});
    parent->addSubview(button);
    button->setImage(plat::Image::create({10, 10}));
    button->setImageEdgeInsets({2, 3, 4, 5});
    parent->layoutIfNeeded();
    parent->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), Rect(0, 0, 80, 20));
    EXPECT_EQ(button->imageEdgeInsets(), plat::EdgeInsets{});
    EXPECT_EQ(button->frame(), Rect(30, 40, 80, 20));
    button->setFrame({30, 40, 100, 50});
    parent->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), Rect(0, 0, 100, 50));
}
