#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/shape_layer.h"
#include "Platform/ui/shapes.h"
#include "Platform/ui/window.h"

using namespace plat;
using namespace std::chrono_literals;
using plat::testing::VirtualClock;

namespace {

Path line(Point a, Point b) {
    Path p;
    p.moveTo(a);
    p.lineTo(b);
    return p;
}

struct Stop {
    std::string id;
    bool finished;
};

class StopRecorder : public AnimationDelegate {
public:
    void animationDidStop(const BasicAnimation& animation, bool finished) override {
        stops.push_back({animation.value("id").asString(), finished});
    }
    std::vector<Stop> stops;
};

BasicAnimation pathAnimation(const Path& from, const Path& to, double duration, const std::string& id,
                             const std::shared_ptr<StopRecorder>& delegate) {
    BasicAnimation a("path");
    a.setFromValue(from);
    a.setToValue(to);
    a.setDuration(duration);
    a.setValue("id", id);
    a.setDelegate(delegate);
    return a;
}

}  // namespace

TEST(TimingFunction, CurvesMeetTheirEndsAndBendTheRightWay) {
    for (const auto& f : {TimingFunction::linear(), TimingFunction::easeIn(), TimingFunction::easeOut(),
                          TimingFunction::easeInEaseOut(), TimingFunction::systemDefault()}) {
        EXPECT_EQ(f.evaluate(0), 0);
        EXPECT_EQ(f.evaluate(1), 1);
        EXPECT_EQ(f.evaluate(-3), 0);
        EXPECT_EQ(f.evaluate(NAN), 0);
        double previous = 0;
        for (int i = 1; i <= 20; ++i) {
            const double v = f.evaluate(i / 20.0);
            EXPECT_GE(v, previous - 1e-12);
            previous = v;
        }
    }
    EXPECT_DOUBLE_EQ(TimingFunction::linear().evaluate(0.3), 0.3);
    EXPECT_GT(TimingFunction::easeOut().evaluate(0.5), 0.6);
    EXPECT_LT(TimingFunction::easeIn().evaluate(0.5), 0.4);
    EXPECT_NEAR(TimingFunction::easeInEaseOut().evaluate(0.5), 0.5, 1e-6);
}

TEST(Layer, RendersShapeLayersAtTheirPlaceWithTheirLook) {
    auto root = Layer::create();
    root->setFrame({100, 100, 50, 50});  // the root is drawn in its own coordinates
    auto shape = ShapeLayer::create();
    shape->setAnchorPoint({0, 0});
    shape->setPosition({10, 5});
    shape->setPath(line({0, 0}, {20, 0}));
    shape->setFillColor(Color::clear());
    shape->setStrokeColor(Color::red());
    shape->setLineWidth(2);
    shape->setLineCap(LineCap::Square);
    shape->setOpacity(0.5);
    root->addSublayer(shape);
    auto hidden = ShapeLayer::create();
    hidden->setPath(line({0, 0}, {1, 1}));
    hidden->setStrokeColor(Color::blue());
    hidden->setHidden(true);
    root->addSublayer(hidden);

    RecordingContext rec(AffineTransform::scale(2, 2));
    root->renderInContext(rec);
    ASSERT_EQ(rec.strokes().size(), 1u);
    const DrawOp& op = *rec.strokes()[0];
    EXPECT_EQ(op.bounds(), Rect(20, 10, 40, 0));
    EXPECT_EQ(op.color, Color::red());
    EXPECT_EQ(op.groupAlpha, 0.5) << "the translucent layer is composited as a group";
    EXPECT_EQ(op.lineWidth, 4);
    EXPECT_EQ(op.lineCap, LineCap::Square);
}

TEST(Layer, MasksToRoundedBoundsAndDrawsAShadowSilhouetteBehind) {
    auto root = Layer::create();
    root->setFrame({0, 0, 100, 100});
    auto box = Layer::create();
    box->setFrame({10, 10, 40, 20});
    box->setBackgroundColor(Color::white());
    box->setCornerRadius(5);
    box->setShadowOpacity(0.5);
    box->setShadowOffset({0, 2});
    root->addSublayer(box);

    RecordingContext rec;
    root->renderInContext(rec);
    ASSERT_EQ(rec.fills().size(), 2u);
    EXPECT_EQ(rec.fills()[0]->color, Color::black().withAlpha(0.5));
    EXPECT_EQ(rec.fills()[0]->bounds(), Rect(10, 12, 40, 20));
    EXPECT_EQ(rec.fills()[1]->color, Color::white());
    EXPECT_EQ(rec.fills()[1]->bounds(), Rect(10, 10, 40, 20));

    // A masking layer clips its sublayers and shows no shadow.
    box->setMasksToBounds(true);
    auto inside = ShapeLayer::create();
    inside->setPath(roundedRectPath({-10, -10, 100, 100}, 0));
    inside->setFillColor(Color::green());
    box->addSublayer(inside);
    rec.clear();
    root->renderInContext(rec);
    ASSERT_EQ(rec.fills().size(), 2u);
    const DrawOp* green = rec.findFill(Color::green());
    ASSERT_NE(green, nullptr);
    ASSERT_TRUE(green->clip);
    EXPECT_EQ(*green->clip, Rect(10, 10, 40, 20));
}

TEST(Layer, RefusesCyclesAndKeepsOneParent) {
    auto a = Layer::create(), b = Layer::create(), c = Layer::create();
    a->addSublayer(b);
    b->addSublayer(c);
    c->addSublayer(a);
    EXPECT_EQ(a->superlayer(), nullptr);
    a->addSublayer(c);  // moves c from b to a
    EXPECT_TRUE(b->sublayers().empty());
    EXPECT_EQ(c->superlayer(), a);
    a->insertSublayer(Layer::create(), 0);
    EXPECT_EQ(a->sublayers().back(), c);
}

TEST(BasicAnimation, StepsOnTheVirtualClockAndStopsFinishedAtItsEnd) {
    VirtualClock clock;
    auto recorder = std::make_shared<StopRecorder>();
    auto layer = ShapeLayer::create();
    layer->setPath(line({0, 0}, {100, 0}));
    layer->addAnimation(pathAnimation(line({0, 0}, {0, 0}), line({0, 0}, {100, 0}), 0.2, "grow", recorder), "grow");

    clock.advance(0.1);
    EXPECT_EQ(layer->presentationPath(Clock::ticks()).bounds().width(), 50);
    EXPECT_TRUE(recorder->stops.empty());
    EXPECT_EQ(layer->path().bounds().width(), 100) << "the model holds the end value from the start";

    clock.advance(Ticks(99'999'999));
    EXPECT_TRUE(recorder->stops.empty()) << "one tick before its end";
    clock.advance(1ns);
    ASSERT_EQ(recorder->stops.size(), 1u);
    EXPECT_EQ(recorder->stops[0].id, "grow");
    EXPECT_TRUE(recorder->stops[0].finished);
    EXPECT_EQ(layer->animationForKey("grow"), nullptr) << "removed on completion by default";
}

TEST(BasicAnimation, ReplacementAndRemovalStopUnfinishedOnTheNextTurn) {
    VirtualClock clock;
    auto recorder = std::make_shared<StopRecorder>();
    auto layer = ShapeLayer::create();
    layer->addAnimation(pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {2, 0}), 0.2, "first", recorder), "k");
    layer->addAnimation(pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {3, 0}), 0.2, "second", recorder), "k");
    EXPECT_TRUE(recorder->stops.empty()) << "not told from inside addAnimation";
    RunLoop::main().runUntilIdle();
    ASSERT_EQ(recorder->stops.size(), 1u);
    EXPECT_EQ(recorder->stops[0].id, "first");
    EXPECT_FALSE(recorder->stops[0].finished);

    layer->addAnimation(pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {4, 0}), 0.2, "other", recorder), "other");
    layer->removeAnimationForKey("k");
    clock.advance(0.2);
    ASSERT_EQ(recorder->stops.size(), 3u);
    EXPECT_EQ(recorder->stops[1].id, "second");
    EXPECT_FALSE(recorder->stops[1].finished);
    EXPECT_EQ(recorder->stops[2].id, "other");
    EXPECT_TRUE(recorder->stops[2].finished);

    // A finished animation kept on the layer is not told again when replaced.
    auto kept = pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {5, 0}), 0.1, "kept", recorder);
    kept.setRemovedOnCompletion(false);
    layer->addAnimation(kept, "kept");
    clock.advance(0.1);
    ASSERT_NE(layer->animationForKey("kept"), nullptr);
    layer->addAnimation(pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {6, 0}), 0.1, "after", recorder), "kept");
    clock.advance(0.1);
    ASSERT_EQ(recorder->stops.size(), 5u);
    EXPECT_EQ(recorder->stops[3].id, "kept");
    EXPECT_EQ(recorder->stops[4].id, "after");
    EXPECT_TRUE(recorder->stops[4].finished);
}

TEST(BasicAnimation, FillModesDecideWhatShowsOutsideTheActiveTime) {
    VirtualClock clock;
    auto layer = ShapeLayer::create();
    layer->setStrokeColor(Color::black());
    auto add = [&](FillMode mode, double delay, bool removed) {
        layer->removeAllAnimations();
        BasicAnimation a("strokeColor");
        a.setFromValue(Color::red());
        a.setToValue(Color::blue());
        a.setDuration(0.1);
        a.setBeginTicks(Clock::ticks() + ticksFromSeconds(delay));
        a.setFillMode(mode);
        a.setRemovedOnCompletion(removed);
        layer->addAnimation(a, "c");
    };
    add(FillMode::Removed, 0.1, false);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color::black());  // waiting: the model shows
    clock.advance(0.15);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color(0.5, 0, 0.5, 1));
    clock.advance(0.1);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color::black()) << "ended without fill: the model";

    add(FillMode::Backwards, 0.1, false);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color::red());
    add(FillMode::Forwards, 0, false);
    clock.advance(0.5);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color::blue());
    add(FillMode::Forwards, 0, true);
    clock.advance(0.5);
    EXPECT_EQ(layer->presentationStrokeColor(Clock::ticks()), Color::black()) << "removed on completion";
}

TEST(BasicAnimation, EaseOutTimingAndMismatchedPathsAndUnknownKeys) {
    VirtualClock clock;
    auto layer = ShapeLayer::create();
    BasicAnimation a("path");
    a.setFromValue(roundedRectPath({-0.5, -0.5, 1, 1}, 0.5));
    a.setToValue(roundedRectPath({-20, -20, 40, 40}, 20));
    a.setDuration(0.24);
    a.setTimingFunction(TimingFunction::easeOut());
    layer->addAnimation(a, "grow");
    clock.advance(0.12);
    const double half = layer->presentationPath(Clock::ticks()).bounds().width();
    EXPECT_GT(half, 1 + 39 * 0.6) << "ease-out is past the middle at half time";
    EXPECT_LT(half, 40);

    // Different segments cannot be blended: the start shows until the end.
    BasicAnimation jump("path");
    jump.setFromValue(line({0, 0}, {1, 1}));
    jump.setToValue(roundedRectPath({0, 0, 10, 10}, 2));
    jump.setDuration(0.2);
    jump.setFillMode(FillMode::Forwards);
    jump.setRemovedOnCompletion(false);
    layer->addAnimation(jump, "jump");
    clock.advance(0.1);
    EXPECT_EQ(layer->presentationPath(Clock::ticks()), line({0, 0}, {1, 1}));
    clock.advance(0.1);
    EXPECT_EQ(layer->presentationPath(Clock::ticks()).bounds(), Rect(0, 0, 10, 10));

    // A key path the layer does not know still runs its course and stops.
    bool stopped = false;
    BasicAnimation unknown("wobble");
    unknown.setDuration(0.1);
    unknown.setStopHandler([&](const BasicAnimation&, bool finished) { stopped = finished; });
    layer->addAnimation(unknown);
    clock.advance(0.1);
    EXPECT_TRUE(stopped);
}

TEST(BasicAnimation, SecondsReadFromTheClockMeanItsExactTick) {
    VirtualClock clock;
    clock.advance(1ns);  // a moment that no double near today can hold
    auto layer = Layer::create();
    BasicAnimation fade("opacity");
    fade.setFromValue(0.0);
    fade.setToValue(1.0);
    fade.setDuration(0.2);
    fade.setFillMode(FillMode::Forwards);
    fade.setRemovedOnCompletion(false);
    layer->setOpacity(0.5);
    layer->addAnimation(fade, "fade");
    EXPECT_EQ(layer->presentationOpacity(Clock::now()), 0) << "begins now, not a fraction of a microsecond after";
    clock.advance(0.1);
    EXPECT_EQ(layer->presentationOpacity(Clock::now()), 0.5);
    EXPECT_EQ(Clock::ticksAt(Clock::now() - 0.05), ticksFromSeconds(Clock::now() - 0.05)) << "other times: the nearest tick";
}

TEST(BasicAnimation, ALayerThatGoesAwayTellsItsDelegatesUnfinished) {
    VirtualClock clock;
    auto recorder = std::make_shared<StopRecorder>();
    auto layer = ShapeLayer::create();
    layer->addAnimation(pathAnimation(line({0, 0}, {1, 0}), line({0, 0}, {2, 0}), 0.2, "gone", recorder), "k");
    layer.reset();
    clock.advance(1);
    ASSERT_EQ(recorder->stops.size(), 1u);
    EXPECT_FALSE(recorder->stops[0].finished);
}

TEST(ViewAnimation, AlphaAnimatesFromTheOldValueAndCompletes) {
    VirtualClock clock;
    auto view = View::create({0, 0, 10, 10});
    view->setAlpha(0);
    int completions = 0;
    bool finishedFlag = false;
    View::animate(
        0.2, 0.1, ViewAnimationOptionCurveLinear, [&] { view->setAlpha(1); },
        [&](bool finished) {
            ++completions;
            finishedFlag = finished;
        });
    EXPECT_EQ(view->alpha(), 1) << "the model changes at once";
    EXPECT_EQ(view->layer()->presentationOpacity(Clock::ticks()), 0) << "the old value shows during the delay";
    clock.advance(0.2);
    EXPECT_EQ(view->layer()->presentationOpacity(Clock::ticks()), 0.5);
    EXPECT_EQ(completions, 0);
    clock.advance(0.1);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(finishedFlag);
    EXPECT_EQ(view->layer()->presentationOpacity(Clock::ticks()), 1);
}

TEST(ViewAnimation, SettingAlphaOutsideABlockEndsTheRunningAnimation) {
    VirtualClock clock;
    auto view = View::create({0, 0, 10, 10});
    view->setAlpha(0);
    std::vector<bool> results;
    View::animate(
        0.2, [&] { view->setAlpha(1); }, [&](bool finished) { results.push_back(finished); });
    clock.advance(0.1);
    view->setAlpha(0);
    EXPECT_EQ(view->layer()->presentationOpacity(Clock::ticks()), 0);
    clock.advance(0.5);
    EXPECT_EQ(results, std::vector<bool>{false});

    // A block that animates nothing still completes, on the next turn.
    View::animate(
        0.2, [] {}, [&](bool finished) { results.push_back(finished); });
    EXPECT_EQ(results.size(), 1u);
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(results, (std::vector<bool>{false, true}));
}

TEST(ViewAnimation, LayoutSubviewsOptionLaysOutTheAnimatedViewsAtSetUp) {
    VirtualClock clock;
    struct Counting : View {
        static std::shared_ptr<Counting> make() { return initialized(std::shared_ptr<Counting>(new Counting())); }
        Counting() : View({0, 0, 10, 10}) {}
        void layoutSubviews() override { ++layouts; }
        int layouts = 0;
    };
    auto view = Counting::make();
    view->setAlpha(0);
    View::animate(0.2, 0, ViewAnimationOptionLayoutSubviews, [&] { view->setAlpha(1); });
    EXPECT_EQ(view->layouts, 1);
}

TEST(ViewAnimation, GeometryAndTransformAnimateFromWhatWasShown) {
    // Each property halfway through a 0.2 s linear block: the model takes the new value at once,
    // the layer shows the way there, and the block completes once, finished.
    struct Case {
        const char* name;
        std::function<void(View&)> change;
        Rect frameMidway;
        AffineTransform transformMidway;
    } cases[] = {
        {"frame",
         [](View& v) {
             v.setFrame({100, 40, 30, 10});
         },
         {50, 20, 20, 15},
         {}},
        {"bounds",
         [](View& v) {
             v.setBounds({0, 0, 30, 10});
         },
         {-5, 2.5, 20, 15},
         {}},
        {"center",
         [](View& v) {
             v.setCenter({105, 45});
         },
         {50, 17.5, 10, 20},
         {}},
        {"transform",
         [](View& v) { v.setTransform(AffineTransform::scale(3, 0.5)); },
         {-5, 2.5, 20, 15},
         AffineTransform::scale(2, 0.75)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        auto view = View::create({0, 0, 10, 20});
        const Rect before = view->frame();
        std::vector<bool> completions;
        View::animate(
            0.2, 0, ViewAnimationOptionCurveLinear, [&] { c.change(*view); },
            [&](bool finished) { completions.push_back(finished); });
        const Rect model = view->frame();
        EXPECT_NE(model, before) << "the model changes at once";
        EXPECT_EQ(view->layer()->presentationFrame(Clock::ticks()), before);
        clock.advance(0.1);
        EXPECT_EQ(view->layer()->presentationFrame(Clock::ticks()), c.frameMidway);
        EXPECT_EQ(view->layer()->presentationTransform(Clock::ticks()), c.transformMidway);
        EXPECT_TRUE(completions.empty());
        clock.advance(0.1);
        EXPECT_EQ(completions, std::vector<bool>{true});
        EXPECT_EQ(view->layer()->presentationFrame(Clock::ticks()), model);
        EXPECT_FALSE(view->layer()->hasAnimations());
    }
}

TEST(ViewAnimation, AWindowDrawsAnAnimatedViewWhereItIsShown) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 100, 100});
    window->setBackgroundColor(Color::white());
    auto box = View::create({0, 0, 20, 20});
    box->setBackgroundColor(Color::green());
    auto inner = View::create({0, 0, 20, 20});  // clipped by the box's shown bounds
    inner->setBackgroundColor(Color::blue());
    box->setClipsToBounds(true);
    box->addSubview(inner);
    window->addSubview(box);
    View::animate(0.2, 0, ViewAnimationOptionCurveLinear, [&] {
        box->setFrame({60, 60, 40, 40});
        inner->setFrame({0, 20, 40, 20});
    });
    clock.advance(0.1);  // the box shows at (30, 30, 30 × 30), its content at (0, 10, 30 × 20) in it
    auto image = window->renderImage(1);
    EXPECT_EQ(image->pixel(35, 35), Color::green());
    EXPECT_EQ(image->pixel(35, 45), Color::blue());
    EXPECT_EQ(image->pixel(55, 57), Color::blue());
    EXPECT_EQ(image->pixel(65, 65), Color::white()) << "beyond the shown frame, though inside the model's";
    EXPECT_EQ(image->pixel(10, 10), Color::white()) << "the old place is left";
}

TEST(ViewAnimation, AChangeOutsideABlockEndsAGeometryAnimationOnlyWhenTheValueChanges) {
    VirtualClock clock;
    auto view = View::create({0, 0, 10, 10});
    std::vector<bool> results;
    View::animate(
        0.2,
        [&] {
            view->setFrame({100, 0, 10, 10});
        },
        [&](bool finished) { results.push_back(finished); });
    clock.advance(0.05);
    view->setFrame({100, 0, 10, 10});  // a layout pass placing it where it goes anyway
    EXPECT_TRUE(view->layer()->hasRunningAnimations());
    const double shownX = view->layer()->presentationFrame(Clock::ticks()).x();
    EXPECT_GT(shownX, 0);
    EXPECT_LT(shownX, 100);
    view->setCenter({5, 50});  // a real move shows at once and ends the animation, unfinished
    EXPECT_EQ(view->layer()->presentationFrame(Clock::ticks()), Rect(0, 45, 10, 10));
    clock.advance(0.5);
    EXPECT_EQ(results, std::vector<bool>{false});
}
