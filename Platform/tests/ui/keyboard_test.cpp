#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/control.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::LogCapture;
using plat::testing::RectNear;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

// The keyboard notifications posted while it lives, with their end frames.
class KeyboardLog {
public:
    KeyboardLog() {
        _token = NotificationCenter::defaultCenter().addObserver(this, "", [this](const Notification& n) {
            if (n.name.find("Keyboard") == std::string::npos) return;
            names.push_back(n.name);
            frames.push_back(keyboardEndFrame(n).value_or(Rect{}));
        });
    }
    ~KeyboardLog() { NotificationCenter::defaultCenter().removeObserver(_token); }
    std::vector<std::string> names;
    std::vector<Rect> frames;

private:
    NotificationCenter::Token _token;
};

// A control that counts the taps it takes, painted in its own colour.
std::shared_ptr<Control> tappable(double height, const Color& color, int& taps) {
    auto control = Control::create({0, 0, 100, height});
    control->setBackgroundColor(color);
    control->addTarget([&taps](Control&) { ++taps; }, ControlEventTouchUpInside);
    return control;
}

constexpr Color InputColor{0.9, 0.2, 0.2, 1};
constexpr Color AccessoryColor{0.2, 0.2, 0.9, 1};

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create(Screen::main().bounds());
    std::shared_ptr<TextField> field = TextField::create({10, 10, 200, 30});
    // Taps that miss the keyboard's views land here.
    int inputTaps = 0, accessoryTaps = 0, backgroundTaps = 0;
    std::shared_ptr<Control> background = tappable(568, Color::white(), backgroundTaps);
    Fixture() {
        background->setFrame(window->bounds());
        window->addSubview(background);
        window->addSubview(field);
    }
};

}  // namespace

TEST(Keyboard, InputViewsShowInPlaceOfTheKeysAndAboveThemAndTakeTaps) {
    const double screenHeight = Screen::main().bounds().height(), width = Screen::main().bounds().width();
    struct Case {
        const char* name;
        std::optional<double> input, accessory;  // heights; nullopt: no such view
        Rect endFrame;
        Rect inputFrame, accessoryFrame;  // window coordinates, where each shows
    };
    const Case cases[] = {
        {"keys only", {}, {}, {0, screenHeight - 216, width, 216}, {}, {}},
        {"input view", 180, {}, {0, screenHeight - 180, width, 180}, {0, screenHeight - 180, width, 180}, {}},
        // An input view with no height of its own takes the keys' height.
        {"both", 0, 44, {0, screenHeight - 260, width, 260}, {0, screenHeight - 216, width, 216}, {0, screenHeight - 260, width, 44}},
        {"accessory over the keys", {}, 44, {0, screenHeight - 260, width, 260}, {}, {0, screenHeight - 260, width, 44}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        std::shared_ptr<Control> input, accessory;
        if (c.input) f.field->setInputView(input = tappable(*c.input, InputColor, f.inputTaps));
        if (c.accessory) f.field->setInputAccessoryView(accessory = tappable(*c.accessory, AccessoryColor, f.accessoryTaps));
        KeyboardLog log;
        ASSERT_TRUE(f.field->becomeFirstResponder());
        ASSERT_EQ(log.frames.size(), 2u);
        EXPECT_THAT(log.frames[0], RectNear(c.endFrame));
        EXPECT_THAT(log.frames[1], RectNear(c.endFrame));

        RecordingContext rec;
        f.window->display(rec);
        for (const auto& [view, color, frame, taps] :
             {std::tuple{input, InputColor, c.inputFrame, &f.inputTaps}, std::tuple{accessory, AccessoryColor, c.accessoryFrame, &f.accessoryTaps}}) {
            if (!view) {
                EXPECT_EQ(rec.findFill(color), nullptr);
                continue;
            }
            EXPECT_EQ(view->window(), f.window);
            EXPECT_THAT(view->convertRectToView(view->bounds(), nullptr), RectNear(frame));
            const DrawOp* fill = rec.findFill(color);
            ASSERT_NE(fill, nullptr);
            EXPECT_THAT(fill->bounds(), RectNear(frame));
            Touches(f.window).tap(frame.center());
            EXPECT_EQ(*taps, 1);
        }
        // The keys draw nothing and leave their taps to what lies below them.
        if (!c.input) {
            Touches(f.window).tap({width / 2, screenHeight - 10});
            EXPECT_EQ(f.backgroundTaps, 1);
        }

        ASSERT_TRUE(f.field->resignFirstResponder());
        ASSERT_EQ(log.frames.size(), 4u);
        EXPECT_EQ(log.names[2], KeyboardWillHideNotification);
        // Hidden, it rests just below the screen.
        EXPECT_THAT(log.frames[2], RectNear(c.endFrame.offsetBy(0, c.endFrame.height())));
        for (const auto& view : {input, accessory}) {
            if (view) {
                EXPECT_EQ(view->window(), nullptr);
            }
        }
        EXPECT_EQ(f.window->subviews().size(), 2u);
    }
}

TEST(Keyboard, AnotherInputOrReloadedViewsShowTheKeyboardAgainWithTheirFrame) {
    Fixture f;
    int taps = 0;
    auto picker = tappable(180, InputColor, taps);
    f.field->setInputView(picker);
    auto plain = TextField::create({10, 60, 200, 30});
    auto alsoPlain = TextField::create({10, 110, 200, 30});
    f.window->addSubview(plain);
    f.window->addSubview(alsoPlain);
    const double bottom = Screen::main().bounds().maxY();

    KeyboardLog log;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    // To a field with the keys: shown again, at the keys' frame, the picker gone.
    ASSERT_TRUE(plain->becomeFirstResponder());
    EXPECT_EQ(picker->window(), nullptr);
    // Between two fields with the keys nothing is posted.
    ASSERT_TRUE(alsoPlain->becomeFirstResponder());
    // New views while editing show once the field reloads them.
    alsoPlain->setInputView(picker);
    EXPECT_EQ(picker->window(), nullptr);
    alsoPlain->reloadInputViews();
    EXPECT_EQ(picker->window(), f.window);
    alsoPlain->reloadInputViews();

    const std::string show(KeyboardWillShowNotification), didShow(KeyboardDidShowNotification);
    EXPECT_EQ(log.names, (std::vector<std::string>{show, didShow, show, didShow, show, didShow}));
    ASSERT_EQ(log.frames.size(), 6u);
    EXPECT_THAT(log.frames[0], RectNear({0, bottom - 180, 320, 180}));
    EXPECT_THAT(log.frames[2], RectNear({0, bottom - 216, 320, 216}));
    EXPECT_THAT(log.frames[4], RectNear({0, bottom - 180, 320, 180}));
}

TEST(Keyboard, AViewThatHoldsItsOwnInputIsNotShownAsItsInputView) {
    Fixture f;
    LogCapture lines;
    // The field's own superview, as input view, would tear the field out of its place.
    auto holder = View::create({0, 300, 320, 100});
    f.window->addSubview(holder);
    holder->addSubview(f.field);
    f.field->setInputView(holder);
    KeyboardLog log;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    EXPECT_EQ(f.field->superview(), holder);
    EXPECT_EQ(holder->superview(), f.window);
    ASSERT_FALSE(log.frames.empty());
    EXPECT_THAT(log.frames[0], RectNear({0, Screen::main().bounds().maxY() - 216, 320, 216}));
    EXPECT_THAT(lines.lines(), ::testing::Contains(::testing::HasSubstr("contains its own input")));
    f.field->setInputView(nullptr);  // the holder and the field hold each other
}
