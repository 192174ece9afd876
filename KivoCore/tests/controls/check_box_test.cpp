#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "KivoCore/KivoCheckBox.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/golden_image.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

using plat::Color;
using plat::Point;
using plat::Rect;
using plat::testing::RectNear;
using plat::testing::Touches;

namespace {

constexpr double Pi = std::numbers::pi;
// Stage lengths as the check box keeps them (single precision).
constexpr double Stage = 0.12f, SpinBack = 0.06f, Shrink = 0.03f;
// How far before or after a stage boundary the tests look.
constexpr double Eps = 1e-4;

std::string idOf(const plat::ShapeLayer& line, const char* key) {
    auto a = line.animationForKey(key);
    return a ? a->value("id").asString() : "<none>";
}

Rect unionOfLines(const KivoCheckBox& box, bool visibleOnly = false) {
    Rect r;
    bool first = true;
    for (const auto* l : {box.lineLeft().get(), box.lineTop().get(), box.lineRight().get(), box.lineBottom().get()}) {
        if (visibleOnly && l->opacity() == 0) continue;
        const Rect b = l->path().bounds();
        r = first ? b : r.united(b);
        first = false;
    }
    return r;
}

class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = plat::Window::create({0, 0, 320, 568});
        freshBox();
    }
    // A new check box in place of the current one, its value changes recorded.
    void freshBox() {
        if (box) box->removeFromSuperview();
        box = KivoCheckBox::create({100, 100, 40, 40});
        window->addSubview(box);
        changes.clear();
        box->addTarget([this](plat::Control& c) { changes.push_back(static_cast<KivoCheckBox&>(c).isChecked()); },
                       plat::ControlEventValueChanged);
    }
    // Press and lift inside; answers the time of the lift.
    double press(Point at = {120, 120}) {
        Touches(window).down(at);
        clock.advance(0.05);
        Touches(window).up();
        return plat::Clock::now();
    }
    void advanceTo(double t) { clock.advance(t - plat::Clock::now()); }
    plat::Path boxLine(double angle, Point offset) { return box->createCenteredLineWithRadius(10, angle, offset); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<KivoCheckBox> box;
    std::vector<bool> changes;  // isChecked as each value-changed action saw it
};

}  // namespace

TEST_F(CheckBoxTest, GeometryComesFromTheFrameOrTheIntrinsicSize) {
    auto b = KivoCheckBox::create({0, 0, 40, 20});
    EXPECT_EQ(b->radius(), 10);
    EXPECT_EQ(b->layer()->cornerRadius(), 10);
    EXPECT_TRUE(b->layer()->masksToBounds());
    EXPECT_THAT(unionOfLines(*b), RectNear({15, 5, 10, 10})) << "a 10 x 10 box centred at (20, 10)";
    EXPECT_EQ(b->centerPoint(), Point(20, 10));
    for (const auto* l : {b->lineLeft().get(), b->lineTop().get(), b->lineRight().get(), b->lineBottom().get()}) {
        EXPECT_EQ(l->lineWidth(), 2.0);
        EXPECT_EQ(l->lineCap(), plat::LineCap::Square);
        EXPECT_EQ(l->lineJoin(), plat::LineJoin::Round);
        EXPECT_EQ(*l->strokeColor(), b->tintColor());
        EXPECT_EQ(l->anchorPoint(), Point(0, 0));
    }

    b->setIntrinsicSize(8);
    EXPECT_THAT(unionOfLines(*b), RectNear({12, 2, 16, 16}));
    auto firstLeft = b->lineLeft();
    b->setIntrinsicSize(8);  // the same value rebuilds nothing
    EXPECT_EQ(b->lineLeft(), firstLeft);
    for (int size : {0, -1}) {
        b->setIntrinsicSize(size);
        EXPECT_THAT(unionOfLines(*b), RectNear({15, 5, 10, 10})) << size;
    }
    b->setFrame({0, 0, 0, 0});  // every shape collapses to a point
    EXPECT_THAT(unionOfLines(*b), RectNear({0, 0, 0, 0}));
}

TEST_F(CheckBoxTest, SettingTheValueDrawsTheFinalStateAtOnceWithoutEvents) {
    box->setIsChecked(true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->lineLeft()->opacity(), 0);
    EXPECT_EQ(box->lineTop()->opacity(), 0);
    EXPECT_EQ(*box->lineRight()->strokeColor(), box->checkmarkColor());
    EXPECT_FALSE(box->lineRight()->hasAnimations());
    const float c = std::cos(static_cast<float>(-5 * Pi / 4));
    EXPECT_NEAR(box->lineRight()->path().bounds().width(),
                2 * static_cast<double>(std::fabs(c)) * (static_cast<double>(1.3f) * 10), 1e-9);
    box->setIsChecked(true);
    box->setIsChecked(false);
    const Rect u = unionOfLines(*box);
    EXPECT_THAT(u, RectNear({10, 10, 20, 20}));
    EXPECT_EQ(box->lineLeft()->opacity(), 1);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(changes.empty());
}

TEST_F(CheckBoxTest, PressAndLiftPlaysTheCheckSequenceAndSendsOneEvent) {
    Touches(window).down({110, 130});
    ASSERT_EQ(box->rippleAnimationQueue().size(), 1u);
    auto circle = box->rippleAnimationQueue().front();
    EXPECT_EQ(box->layer()->sublayers().front(), circle) << "beneath the lines";
    EXPECT_TRUE(plat::nearlyEqual(*circle->fillColor(), box->checkmarkColor().withAlpha(0.3)));
    EXPECT_EQ(box->tapPoint(), Point(10, 30));
    clock.advance(0.3);
    // The disc has grown to twice the smaller side around the touch; its model stays the 1 x 1 start.
    EXPECT_THAT(circle->presentationPath(plat::Clock::now()).bounds(), RectNear({-30, -10, 80, 80}));
    EXPECT_THAT(circle->path().bounds(), RectNear({9.5, 29.5, 1, 1}));

    Touches(window).up();
    const double t0 = plat::Clock::now();
    EXPECT_EQ(changes, std::vector<bool>{true}) << "one event, with the value already set";
    EXPECT_FALSE(box->finishedAnimations());
    EXPECT_EQ(box->deathRowForCircleLayers().size(), 1u);

    advanceTo(t0 + Stage - Eps);
    EXPECT_EQ(idOf(*box->lineRight(), "spinRightLine"), "rightLineSpin");
    EXPECT_EQ(idOf(*box->lineRight(), "animateRightLineStrokeColor"), "<none>");
    advanceTo(t0 + Stage + Eps);
    EXPECT_EQ(idOf(*box->lineRight(), "animateRightLineStrokeColor"), "rightLineStroke2");
    EXPECT_EQ(*box->lineRight()->strokeColor(), box->checkmarkColor());
    advanceTo(t0 + Stage + Shrink - Eps);
    EXPECT_EQ(idOf(*box->lineRight(), "animateRightLinePath"), "");
    advanceTo(t0 + Stage + Shrink + Eps);
    EXPECT_EQ(idOf(*box->lineRight(), "animateRightLinePath"), "largeCheckmarkLine");
    EXPECT_EQ(box->lineLeft()->opacity(), 0);
    advanceTo(t0 + 0.24 + Eps);
    EXPECT_TRUE(box->deathRowForCircleLayers().empty()) << "the faded disc is gone";
    EXPECT_EQ(circle->superlayer(), nullptr);
    advanceTo(t0 + 2 * Stage + Shrink - Eps);
    EXPECT_FALSE(box->finishedAnimations());
    advanceTo(t0 + 2 * Stage + Shrink + Eps);
    EXPECT_TRUE(box->finishedAnimations());
    EXPECT_EQ(changes.size(), 1u);

    // The sequence ends on exactly the still drawing of a checked box.
    auto still = KivoCheckBox::create({100, 100, 40, 40});
    still->setIsChecked(true);
    EXPECT_EQ(box->lineRight()->path(), still->lineRight()->path());
    EXPECT_EQ(box->lineBottom()->path(), still->lineBottom()->path());
}

TEST_F(CheckBoxTest, UncheckSequenceAcceptsAPressDuringItsFinalBoxStage) {
    box->setIsChecked(true);
    const double t0 = press();
    EXPECT_EQ(changes, std::vector<bool>{false});
    advanceTo(t0 + Stage - Eps);
    EXPECT_EQ(idOf(*box->lineRight(), "animateRightLinePath"), "largeCheckmarkLine2");
    advanceTo(t0 + Stage + Eps);
    EXPECT_EQ(idOf(*box->lineLeft(), "spinLeftLine"), "leftLineSpin2");
    EXPECT_EQ(box->lineLeft()->opacity(), 1) << "the hidden lines come back";
    advanceTo(t0 + Stage + SpinBack - Eps);
    EXPECT_FALSE(box->finishedAnimations());
    advanceTo(t0 + Stage + SpinBack + Eps);
    EXPECT_TRUE(box->finishedAnimations()) << "the box stage takes presses";
    EXPECT_EQ(idOf(*box->lineLeft(), "animateLeftLinePath"), "leftLineStroke");

    // Press during the box stage: the check sequence starts at once and is not cut short by the box
    // stage's completions.
    Touches(window).down({120, 120});
    Touches(window).up();
    const double t1 = plat::Clock::now();
    EXPECT_EQ(changes, (std::vector<bool>{false, true}));
    advanceTo(t0 + 2 * Stage + SpinBack + Eps);  // the box stage's animations end here
    EXPECT_FALSE(box->finishedAnimations());
    press();  // refused: the check sequence is running
    EXPECT_EQ(changes.size(), 2u);
    advanceTo(t1 + 2 * Stage + Shrink + Eps);
    EXPECT_TRUE(box->finishedAnimations());
    EXPECT_EQ(box->lineLeft()->opacity(), 0);
    EXPECT_EQ(changes, (std::vector<bool>{false, true}));
}

TEST_F(CheckBoxTest, PressesDuringASequenceOnlyShowDiscs) {
    press();
    EXPECT_FALSE(box->finishedAnimations());
    Touches(window).down({120, 120});
    EXPECT_EQ(box->rippleAnimationQueue().size(), 1u) << "a new disc grows";
    Touches(window).up();
    EXPECT_TRUE(box->rippleAnimationQueue().empty()) << "and fades";
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(box->isChecked());
}

TEST_F(CheckBoxTest, EachLiftFadesTheOldestDiscNotYetFading) {
    box->setRippleFromTapLocation(false);
    Touches(window).down({101, 101});
    auto first = box->rippleAnimationQueue().front();
    // The disc is centred in the view with the smaller side as diameter.
    clock.advance(0.5);
    EXPECT_THAT(first->presentationPath(plat::Clock::now()).bounds(), RectNear({0, 0, 40, 40}));
    Touches(window).move({101, 300});  // dragged out: the lift is outside
    Touches(window).up();
    EXPECT_EQ(changes.size(), 0u) << "lifting outside toggles nothing";
    EXPECT_EQ(box->deathRowForCircleLayers(), std::vector<KivoCheckBox::ShapeLayerPtr>{first});
    Touches(window).down({120, 120});
    auto second = box->rippleAnimationQueue().front();
    EXPECT_NE(second, first);
    EXPECT_EQ(box->layer()->sublayers().size(), 6u);
    clock.advance(0.25);
    EXPECT_EQ(first->superlayer(), nullptr);
    EXPECT_EQ(second->superlayer(), box->layer());
}

TEST_F(CheckBoxTest, ReadOnlyIgnoresTouchesButNotCode) {
    box->setIsReadOnly(true);
    press();
    EXPECT_TRUE(box->rippleAnimationQueue().empty());
    EXPECT_TRUE(box->deathRowForCircleLayers().empty());
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(changes.empty());
    box->setIsChecked(true);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(CheckBoxTest, CustomTapColoursFollowTheValue) {
    box->setTapCirclePositiveColor(Color::green());
    box->setTapCircleNegativeColor(Color::red());
    Touches(window).down({120, 120});
    EXPECT_EQ(*box->rippleAnimationQueue().back()->fillColor(), Color::green());
    Touches(window).cancel();
    box->setIsChecked(true);
    box->setTapCircleNegativeColor(std::nullopt);
    box->setTintColor(Color::orange());
    Touches(window).down({120, 120});
    EXPECT_EQ(*box->rippleAnimationQueue().back()->fillColor(), Color::orange().withAlpha(0.3));
    EXPECT_EQ(box->checkmarkColor(), Color::orange()) << "the tint resets the check-mark colour";
}

TEST_F(CheckBoxTest, ARebuildInTheMiddleOfASequenceNeitherStallsNorReplaysIt) {
    struct Interruption {
        const char* what;
        std::function<void(KivoCheckBox&)> apply;
        bool startChecked;
    };
    const Interruption cases[] = {
        {"frame during check",
         [](KivoCheckBox& b) {
             b.setFrame({100, 100, 40, 40});
         },
         false},
        {"tint during check", [](KivoCheckBox& b) { b.setTintColor(Color::red()); }, false},
        {"frame during uncheck",
         [](KivoCheckBox& b) {
             b.setFrame({100, 100, 40, 40});
         },
         true},
        {"tint during uncheck", [](KivoCheckBox& b) { b.setTintColor(Color::red()); }, true},
        {"value during check", [](KivoCheckBox& b) { b.setIsChecked(false); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        box->setTintColor(std::nullopt);
        box->setIsChecked(c.startChecked);
        changes.clear();
        const double t0 = press();
        advanceTo(t0 + Stage + Eps);  // in the middle of the sequence
        c.apply(*box);
        EXPECT_TRUE(box->finishedAnimations()) << "the new drawing ends the sequence";
        const auto drawn = box->lineRight()->path();
        const double opacityLeft = box->lineLeft()->opacity();
        clock.advance(1);
        EXPECT_TRUE(box->finishedAnimations());
        EXPECT_EQ(box->lineRight()->path(), drawn) << "no stage of the old sequence ran afterwards";
        EXPECT_EQ(box->lineLeft()->opacity(), opacityLeft);
        EXPECT_EQ(box->checkboxSidesCompletedAnimating(), 0);
        EXPECT_EQ(box->checkmarkSidesCompletedAnimating(), 0);
        // And the box still answers a press.
        const bool before = box->isChecked();
        press();
        EXPECT_EQ(box->isChecked(), !before);
        clock.advance(1);
        EXPECT_TRUE(box->finishedAnimations());
    }
}

TEST_F(CheckBoxTest, MissingLinesAreSkippedAndEverySequenceStillEnds) {
    auto still = [](bool checked) {
        auto b = KivoCheckBox::create({100, 100, 40, 40});
        b->setIsChecked(checked);
        return b;
    };
    const auto checked = still(true), unchecked = still(false);
    const struct {
        const char* what;
        std::function<void(KivoCheckBox&)> remove;
    } cases[] = {
        {"left", [](KivoCheckBox& b) { b.setLineLeft(nullptr); }},
        {"top", [](KivoCheckBox& b) { b.setLineTop(nullptr); }},
        {"right", [](KivoCheckBox& b) { b.setLineRight(nullptr); }},
        {"bottom", [](KivoCheckBox& b) { b.setLineBottom(nullptr); }},
        {"all four",
         [](KivoCheckBox& b) {
             b.setLineLeft(nullptr);
             b.setLineTop(nullptr);
             b.setLineRight(nullptr);
             b.setLineBottom(nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        freshBox();
        c.remove(*box);
        box->setIsChecked(true);
        box->setIsChecked(false);

        press();  // the check sequence, on the lines that are left
        clock.advance(1);
        EXPECT_TRUE(box->finishedAnimations()) << "the stages do not wait for a line that is missing";
        if (box->lineRight()) {
            EXPECT_EQ(box->lineRight()->path(), checked->lineRight()->path());
        }
        if (box->lineBottom()) {
            EXPECT_EQ(box->lineBottom()->path(), checked->lineBottom()->path());
        }

        press();  // and back
        clock.advance(1);
        EXPECT_TRUE(box->finishedAnimations());
        if (box->lineLeft()) {
            EXPECT_EQ(box->lineLeft()->path(), unchecked->lineLeft()->path());
        }
        if (box->lineRight()) {
            EXPECT_EQ(box->lineRight()->path(), unchecked->lineRight()->path());
        }
        EXPECT_EQ(changes, (std::vector<bool>{true, false}));
        EXPECT_EQ(box->checkboxSidesCompletedAnimating(), 0);
        EXPECT_EQ(box->checkmarkSidesCompletedAnimating(), 0);
    }
}

TEST_F(CheckBoxTest, CodeCanSwitchWithOrWithoutAnimationAndSendsNothing) {
    box->checkAnimated(true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(box->finishedAnimations());
    clock.advance(1);
    EXPECT_TRUE(box->finishedAnimations());
    box->uncheckAnimated(false);
    EXPECT_FALSE(box->isChecked());
    EXPECT_THAT(unionOfLines(*box), RectNear({10, 10, 20, 20}));
    box->switchStatesAnimated(false);
    EXPECT_TRUE(box->isChecked());
    box->uncheckAnimated(true);
    clock.advance(1);
    EXPECT_TRUE(box->finishedAnimations());
    EXPECT_THAT(unionOfLines(*box, true), RectNear({10, 10, 20, 20}));
    EXPECT_TRUE(changes.empty());
}

TEST(KivoCheckBoxGolden, CheckedAndUncheckedThroughTheLayerTree) {
    plat::testing::VirtualClock clock;
    for (bool checked : {false, true}) {
        auto box = KivoCheckBox::create({0, 0, 32, 32});
        box->setIsChecked(checked);
        plat::ImageContext context({32, 32}, 2);
        context.context().setFillColor(Color::white());
        context.context().fillRect({0, 0, 32, 32});
        box->layer()->renderInContext(context.context());
        auto image = context.finish();
        const std::string name =
            checked ? "KivoCore/tests/golden/kivo_checkbox_checked.png" : "KivoCore/tests/golden/kivo_checkbox_unchecked.png";
        const auto result = plat::testing::compareWithGolden(*image, name);
        EXPECT_TRUE(result.ok) << result.message;
    }
}

TEST(KivoCheckBoxRecording, TheGridDrawingIsCompleteAsSoonAsTheValueIsSet) {
    auto box = KivoCheckBox::create({0, 0, 20, 20});
    box->setIntrinsicSize(6);
    box->setTintColor(Color::red());
    box->setIsChecked(true);
    box->setUserInteractionEnabled(false);
    plat::RecordingContext rec;
    box->layer()->renderInContext(rec);
    ASSERT_EQ(rec.strokes().size(), 2u) << "the check mark's two strokes, the hidden lines not drawn";
    for (const auto* op : rec.strokes()) {
        EXPECT_EQ(op->color, Color::red());
        EXPECT_EQ(op->lineWidth, 2.0);
        ASSERT_TRUE(op->clip);
    }
}
