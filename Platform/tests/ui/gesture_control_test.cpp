#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/button.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/image_view.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::Touches;
using plat::testing::VirtualClock;
using State = GestureRecognizerState;

namespace {

// Records touch deliveries of a view.
class TouchView : public View {
public:
    static std::shared_ptr<TouchView> make(const Rect& frame) {
        return initialized(std::shared_ptr<TouchView>(new TouchView(frame)));
    }
    void touchesBegan(const TouchSet&, const Event&) override { log.push_back("began"); }
    void touchesMoved(const TouchSet&, const Event&) override { log.push_back("moved"); }
    void touchesEnded(const TouchSet&, const Event&) override { log.push_back("ended"); }
    void touchesCancelled(const TouchSet&, const Event&) override { log.push_back("cancelled"); }
    std::vector<std::string> log;

private:
    explicit TouchView(const Rect& frame) : View(frame) {}
};

class Declining : public GestureRecognizerDelegate {
public:
    bool gestureRecognizerShouldReceiveTouch(GestureRecognizer&, const Touch& touch) override {
        seen = touch.locationInView(nullptr);
        return false;
    }
    Point seen{-1, -1};
};

}  // namespace

TEST(Gestures, TapIsRecognisedOnLiftAndTakesTheTouchFromTheView) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 200, 200});
    auto view = TouchView::make({0, 0, 100, 100});
    window->addSubview(view);
    std::vector<State> log;
    Point where;
    auto tap = TapGestureRecognizer::create([&](GestureRecognizer& r) {
        log.push_back(r.state());
        where = r.locationInView(view.get());
    });
    view->addGestureRecognizer(tap);

    Touches(window).tap({30, 40});
    EXPECT_EQ(log, std::vector<State>{State::Recognized});
    EXPECT_EQ(where, Point(30, 40));
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "cancelled"}));
    EXPECT_EQ(tap->state(), State::Possible) << "reset for the next gesture";

    // A finger that wanders is no tap, and the view keeps its touch.
    view->log.clear();
    Touches(window).drag({30, 40}, {80, 40});
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(view->log.back(), "ended");

    // Without cancelling, the view sees the whole sequence.
    tap->setCancelsTouchesInView(false);
    view->log.clear();
    Touches(window).tap({30, 40});
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "ended"}));
}

TEST(Gestures, DelegateThatDeclinesTouchesStillSeesTheirLocation) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 200, 200});
    auto view = TouchView::make({50, 50, 100, 100});
    window->addSubview(view);
    int actions = 0;
    auto tap = TapGestureRecognizer::create([&](GestureRecognizer&) { ++actions; });
    auto delegate = std::make_shared<Declining>();
    tap->setDelegate(delegate);
    view->addGestureRecognizer(tap);
    Touches(window).tap({60, 70});
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(delegate->seen, Point(60, 70));
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "ended"}));
}

TEST(Gestures, SingleTapWaitsForTheDoubleTapToFail) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 200, 200});
    std::vector<std::string> log;
    auto single = TapGestureRecognizer::create([&](GestureRecognizer&) { log.push_back("single"); });
    auto twice = TapGestureRecognizer::create([&](GestureRecognizer&) { log.push_back("double"); });
    twice->setNumberOfTapsRequired(2);
    single->requireGestureRecognizerToFail(twice);
    window->addGestureRecognizer(single);
    window->addGestureRecognizer(twice);

    Touches touches(window);
    touches.tap({10, 10});
    EXPECT_TRUE(log.empty()) << "the double tap may still come";
    touches.wait(TapGestureRecognizer::MaximumTapInterval + 0.01);
    EXPECT_EQ(log, std::vector<std::string>{"single"});

    log.clear();
    touches.tap({10, 10}, 2);
    touches.wait(1);
    EXPECT_EQ(log, std::vector<std::string>{"double"});
}

TEST(Gestures, PanReportsTranslationAndVelocityThroughItsStates) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    std::vector<State> log;
    Point lastTranslation, lastVelocity;
    auto pan = PanGestureRecognizer::create();
    pan->addTarget([&](GestureRecognizer& r) {
        auto& p = static_cast<PanGestureRecognizer&>(r);
        log.push_back(r.state());
        lastTranslation = p.translationInView(nullptr);
        lastVelocity = p.velocityInView(nullptr);
    });
    window->addGestureRecognizer(pan);
    Touches(window).drag({10, 10}, {110, 60}, 0.5, 10);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), State::Began);
    EXPECT_EQ(log[1], State::Changed);
    EXPECT_EQ(log.back(), State::Ended);
    EXPECT_NEAR(lastTranslation.x, 100, 1e-6);
    EXPECT_NEAR(lastTranslation.y, 50, 1e-6);
    EXPECT_NEAR(lastVelocity.x, 200, 0.5);  // 10 points every 0.05 s

    // Resetting the translation makes later callbacks report the change since then.
    log.clear();
    pan->addTarget([&](GestureRecognizer& r) {
        if (r.state() == State::Began) static_cast<PanGestureRecognizer&>(r).setTranslation({0, 0}, nullptr);
    });
    Touches(window).drag({10, 10}, {110, 10}, 0.5, 10);
    EXPECT_NEAR(lastTranslation.x, 80, 1e-6) << "began after 20 points (10 points of hysteresis crossed)";

    // A press that does not move fails the pan.
    log.clear();
    Touches(window).tap({10, 10});
    EXPECT_TRUE(log.empty());
}

TEST(Gestures, LongPressBeginsAfterItsDurationAndFailsWhenMoved) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    std::vector<State> log;
    auto press = LongPressGestureRecognizer::create([&](GestureRecognizer& r) { log.push_back(r.state()); });
    press->setMinimumPressDuration(0.5);
    window->addGestureRecognizer(press);
    Touches touches(window);
    touches.down({20, 20}).wait(0.4);
    EXPECT_TRUE(log.empty());
    touches.wait(0.11);
    EXPECT_EQ(log, std::vector<State>{State::Began});
    touches.move({100, 100}).up();
    EXPECT_EQ(log, (std::vector<State>{State::Began, State::Changed, State::Ended}));

    log.clear();
    touches.down({20, 20}).move({40, 20}).wait(1).up();
    EXPECT_TRUE(log.empty());
}

TEST(Gestures, PinchScalesByTheChangeOfDistance) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    std::vector<double> scales;
    State last = State::Possible;
    auto pinch = PinchGestureRecognizer::create([&](GestureRecognizer& r) {
        scales.push_back(static_cast<PinchGestureRecognizer&>(r).scale());
        last = r.state();
    });
    window->addGestureRecognizer(pinch);
    Touches(window).pinch({150, 150}, 100, 200);
    ASSERT_FALSE(scales.empty());
    EXPECT_EQ(last, State::Ended);
    EXPECT_NEAR(scales.back(), 2.0, 1e-9);
    EXPECT_EQ(pinch->locationInView(nullptr), Point(150, 150));
}

TEST(Gestures, FirstToBeginWinsUnlessTheDelegateAllowsBoth) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    int pans = 0, presses = 0;
    auto pan = PanGestureRecognizer::create([&](GestureRecognizer&) { ++pans; });
    auto press = LongPressGestureRecognizer::create([&](GestureRecognizer&) { ++presses; });
    press->setAllowableMovement(1000);
    window->addGestureRecognizer(pan);
    window->addGestureRecognizer(press);
    Touches(window).drag({10, 10}, {200, 10}, 1.0, 20);
    EXPECT_GT(pans, 0);
    EXPECT_EQ(presses, 0) << "the pan began first";

    struct Both : GestureRecognizerDelegate {
        bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer&) override { return true; }
    };
    auto both = std::make_shared<Both>();
    pan->setDelegate(both);
    Touches(window).drag({10, 10}, {200, 10}, 1.0, 20);
    EXPECT_GT(presses, 0);
}

TEST(Control, TouchesBecomeControlEventsInOrder) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    auto control = Control::create({50, 50, 100, 40});
    window->addSubview(control);
    std::vector<std::string> log;
    auto record = [&](const char* name) { return [&log, name](Control&) { log.push_back(name); }; };
    control->addTarget(record("down"), ControlEventTouchDown);
    control->addTarget(record("inside"), ControlEventTouchUpInside);
    control->addTarget(record("outside"), ControlEventTouchUpOutside);
    control->addTarget(record("cancel"), ControlEventTouchCancel);
    control->addTarget(record("exit"), ControlEventTouchDragExit);
    control->addTarget(record("enter"), ControlEventTouchDragEnter);

    Touches touches(window);
    touches.tap({60, 60});
    EXPECT_EQ(log, (std::vector<std::string>{"down", "inside"}));
    EXPECT_FALSE(control->isHighlighted());

    log.clear();
    touches.down({60, 60});
    EXPECT_TRUE(control->isHighlighted());
    EXPECT_TRUE(control->isTracking());
    touches.move({60, 200}).move({70, 70}).move({60, 200}).up();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "exit", "enter", "exit", "outside"}));

    log.clear();
    touches.down({60, 60}).cancel();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "cancel"}));

    log.clear();
    control->setEnabled(false);
    touches.tap({60, 60});
    EXPECT_TRUE(log.empty());
}

TEST(Control, SendActionsRunsEveryMatchingActionOnceInOrderOfAdding) {
    auto control = Control::create();
    std::vector<int> calls;
    auto a = control->addTarget([&](Control&) { calls.push_back(1); }, ControlEventValueChanged | ControlEventTouchDown);
    control->addTarget([&](Control&) { calls.push_back(2); }, ControlEventValueChanged);
    control->sendActionsForControlEvents(ControlEventValueChanged);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    calls.clear();
    control->sendActionsForControlEvents(ControlEventValueChanged | ControlEventTouchDown);
    EXPECT_EQ(calls, (std::vector<int>{1, 1, 2}));
    control->removeTarget(a);
    calls.clear();
    control->sendActionsForControlEvents(ControlEventAllEvents);
    EXPECT_EQ(calls, std::vector<int>{2});
    EXPECT_EQ(control->addTarget({}, ControlEventValueChanged), 0u);
}

TEST(Control, KeepsItsTapFromASingleTapRecogniserAroundIt) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 300});
    auto control = Control::create({50, 50, 100, 40});
    window->addSubview(control);
    int taps = 0, ups = 0;
    window->addGestureRecognizer(TapGestureRecognizer::create([&](GestureRecognizer&) { ++taps; }));
    control->addTarget([&](Control&) { ++ups; }, ControlEventTouchUpInside);
    Touches(window).tap({60, 60});
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(taps, 0);
    Touches(window).tap({10, 10});
    EXPECT_EQ(taps, 1);
}

TEST(Button, LaysOutItsImageInTheMiddleWithinItsInsets) {
    auto button = Button::create({0, 0, 100, 40});
    EXPECT_FALSE(button->hasImageView());
    button->setImage(Image::create({20, 10}, 2));
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), Rect(40, 15, 20, 10));
    button->setImageEdgeInsets({0, 10, 0, 0});
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), Rect(50, 15, 10, 10)) << "squeezed into the inset area";
    EXPECT_FALSE(button->imageView()->isUserInteractionEnabled());
    EXPECT_EQ(contentRect(ContentMode::ScaleAspectFit, {20, 10}, {0, 0, 100, 100}), Rect(0, 25, 100, 50));
    EXPECT_EQ(contentRect(ContentMode::ScaleAspectFill, {20, 10}, {0, 0, 100, 100}), Rect(-50, 0, 200, 100));
}
