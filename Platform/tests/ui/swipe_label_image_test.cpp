#include <gtest/gtest.h>

#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/image_view.h"
#include "Platform/ui/label.h"
#include "Platform/ui/swipe_gesture_recognizer.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::Touches;
using plat::testing::VirtualClock;

TEST(SwipeGesture, RecognisesAQuickStrokeInAPermittedDirectionOnly) {
    struct Case {
        Point from, to;
        double duration;
        unsigned direction;
        bool recognised;
    };
    const Case cases[] = {
        {{250, 100}, {100, 100}, 0.15, SwipeGestureRecognizerDirectionLeft, true},
        {{100, 100}, {250, 100}, 0.15, SwipeGestureRecognizerDirectionLeft, false},  // wrong way
        {{100, 100}, {250, 100}, 0.15, SwipeGestureRecognizerDirectionLeft | SwipeGestureRecognizerDirectionRight, true},
        {{150, 50}, {150, 180}, 0.15, SwipeGestureRecognizerDirectionDown, true},
        {{100, 50}, {200, 140}, 0.15, SwipeGestureRecognizerDirectionRight, false},  // diagonal
        {{250, 100}, {100, 100}, 1.5, SwipeGestureRecognizerDirectionLeft, false},   // too slow
        {{250, 100}, {220, 100}, 0.15, SwipeGestureRecognizerDirectionLeft, false},  // too short
    };
    for (const Case& c : cases) {
        VirtualClock clock;
        auto window = Window::create({0, 0, 300, 200});
        int swipes = 0;
        auto swipe = SwipeGestureRecognizer::create([&](GestureRecognizer& r) {
            EXPECT_EQ(r.state(), GestureRecognizerState::Recognized);
            ++swipes;
        });
        swipe->setDirection(c.direction);
        window->addGestureRecognizer(swipe);
        Touches(window).drag(c.from, c.to, c.duration, 5);
        EXPECT_EQ(swipes, c.recognised ? 1 : 0) << c.from.x << "," << c.from.y << " → " << c.to.x << "," << c.to.y;
    }
}

TEST(SwipeGesture, AFingerRestingPastTheTimeLimitFails) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 300, 200});
    auto swipe = SwipeGestureRecognizer::create();
    swipe->setDirection(0);
    EXPECT_EQ(swipe->direction(), SwipeGestureRecognizerDirectionRight) << "no direction is ignored";
    window->addGestureRecognizer(swipe);
    std::vector<GestureRecognizerState> seen;
    Touches touches(window);
    touches.down({50, 100}).wait(SwipeGestureRecognizer::MaximumDuration + 0.1);
    seen.push_back(swipe->state());
    touches.move({200, 100}).up();
    EXPECT_EQ(seen, std::vector<GestureRecognizerState>{GestureRecognizerState::Failed});
}

TEST(Label, AttributedRangesCountUtf16UnitsAndWrapOverManyLines) {
    VirtualClock clock;
    auto window = Window::create({0, 0, 200, 200});
    auto label = Label::create({0, 0, 120, 200});
    window->addSubview(label);
    label->setText("\U0001F600 red bold and a long tail that has to wrap onto further lines");
    label->setNumberOfLines(0);
    const Color red{1, 0, 0, 1};
    label->addAttributes({.color = red}, {3, 3});  // "red" after the emoji and a space
    label->addAttributes({.font = Font::boldSystem(17), .background = Color::white(0.9)}, {7, 4});  // "bold"
    label->addAttributes({.color = red}, {500, 3});                                                 // outside: nothing

    const AttributedString text = label->attributedText();
    ASSERT_EQ(text.runs.size(), 2u);
    EXPECT_EQ(text.text.substr(text.runs[0].start, text.runs[0].length), "red");
    EXPECT_EQ(text.text.substr(text.runs[1].start, text.runs[1].length), "bold");
    EXPECT_EQ(text.runs[1].font, Font::boldSystem(17));

    RecordingContext rec;
    window->display(rec);
    const DrawOp* drawn = rec.findText(label->text());
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->text.runs.size(), 2u);
    EXPECT_GT(drawn->textSize.height, 3 * fontMetrics(label->font()).lineHeight) << "unlimited lines wrap";

    label->setText("plain");
    EXPECT_TRUE(label->attributedText().runs.empty());

    // Truncating over as many lines as a very tall label holds: more than a line count can say.
    label->setLineBreakMode(LineBreakMode::TruncateTail);
    label->setFrame({0, 0, 120, 1e300});
    rec.clear();
    window->display(rec);
    EXPECT_NE(rec.findText("plain"), nullptr);
}

TEST(ImageView, ContentModesStretchFitFillOrPlaceTheImage) {
    const Size image{20, 10};
    const Rect bounds{0, 0, 100, 100};
    struct Case {
        ContentMode mode;
        Rect expected;
    };
    for (const Case c : {Case{ContentMode::ScaleToFill, bounds},
                         {ContentMode::Redraw, bounds},
                         {ContentMode::ScaleAspectFit, {0, 25, 100, 50}},
                         {ContentMode::ScaleAspectFill, {-50, 0, 200, 100}},
                         {ContentMode::Center, {40, 45, 20, 10}},
                         {ContentMode::Top, {40, 0, 20, 10}},
                         {ContentMode::BottomRight, {80, 90, 20, 10}},
                         {ContentMode::Left, {0, 45, 20, 10}}}) {
        EXPECT_EQ(contentRect(c.mode, image, bounds), c.expected) << static_cast<int>(c.mode);
    }
}
