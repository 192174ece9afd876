#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/button.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"

using namespace plat;

namespace {

const Color Red(1, 0, 0), Green(0, 1, 0), Blue(0, 0, 1), Tint(0.5, 0.25, 0);

// The title text drawn for the button, and its colour.
struct Drawn {
    std::string text;
    Color color;
};

std::optional<Drawn> drawnTitle(const std::shared_ptr<Window>& window) {
    RecordingContext rec;
    window->display(rec);
    const auto texts = rec.texts();
    if (texts.empty()) return std::nullopt;
    EXPECT_EQ(texts.size(), 1u);
    return Drawn{texts[0]->text.text, texts[0]->color};
}

TEST(Button, ShowsTheTitleAndColourOfItsStateOrElseTheNormalOnes) {
    struct Case {
        const char* name;
        ButtonType type;
        std::function<void(Button&)> setUp;
        std::optional<Drawn> drawn;
    };
    auto titles = [](Button& b) {
        b.setTitle("Open");
        b.setTitle("Opened", ControlStateSelected);
        b.setTitle("Off", ControlStateDisabled);
        b.setTitleColor(Red, ControlStateNormal);
        b.setTitleColor(Green, ControlStateSelected);
        b.setTitleColor(Blue, ControlStateHighlighted);
    };
    const Case cases[] = {
        {"custom normal", ButtonType::Custom, titles, Drawn{"Open", Red}},
        {"custom selected", ButtonType::Custom, [&](Button& b) { titles(b), b.setSelected(true); }, Drawn{"Opened", Green}},
        {"custom highlighted: normal title, own colour", ButtonType::Custom, [&](Button& b) { titles(b), b.setHighlighted(true); },
         Drawn{"Open", Blue}},
        {"custom disabled: own title, normal colour", ButtonType::Custom, [&](Button& b) { titles(b), b.setEnabled(false); },
         Drawn{"Off", Red}},
        {"custom selected and highlighted: neither its own", ButtonType::Custom,
         [&](Button& b) { titles(b), b.setSelected(true), b.setHighlighted(true); }, Drawn{"Open", Red}},
        {"custom back from selected", ButtonType::Custom, [&](Button& b) { titles(b), b.setSelected(true), b.setSelected(false); },
         Drawn{"Open", Red}},
        {"custom title removed from its state", ButtonType::Custom,
         [&](Button& b) { titles(b), b.setSelected(true), b.setTitle(std::nullopt, ControlStateSelected); }, Drawn{"Open", Green}},
        {"custom without colours keeps its label's", ButtonType::Custom, [](Button& b) { b.setTitle("+"), b.setSelected(true); },
         Drawn{"+", Tint}},
        {"custom empty selected title", ButtonType::Custom, [&](Button& b) { titles(b), b.setTitle("", ControlStateSelected), b.setSelected(true); },
         std::nullopt},
        {"system: the tint, whatever colours are set", ButtonType::System, titles, Drawn{"Open", Tint}},
        {"system selected", ButtonType::System, [&](Button& b) { titles(b), b.setSelected(true); }, Drawn{"Opened", Tint}},
        {"system highlighted: dimmed tint", ButtonType::System, [&](Button& b) { titles(b), b.setHighlighted(true); },
         Drawn{"Open", Tint.withAlpha(Button::SystemHighlightedTitleAlpha)}},
        {"system follows a new tint", ButtonType::System, [&](Button& b) { titles(b), b.setTintColor(Green); }, Drawn{"Open", Green}},
        {"no title", ButtonType::System, [](Button&) {}, std::nullopt},
    };
    for (const auto& c : cases) {
        auto window = Window::create({0, 0, 200, 100});
        window->setTintColor(Tint);
        auto button = Button::create(c.type, {10, 10, 120, 40});
        window->addSubview(button);
        c.setUp(*button);
        EXPECT_EQ(button->buttonType(), c.type) << c.name;
        const auto drawn = drawnTitle(window);
        ASSERT_EQ(drawn.has_value(), c.drawn.has_value()) << c.name;
        if (!drawn) continue;
        EXPECT_EQ(drawn->text, c.drawn->text) << c.name;
        EXPECT_EQ(drawn->color, c.drawn->color) << c.name;
        EXPECT_EQ(button->title(), c.drawn->text) << c.name;
        EXPECT_EQ(button->currentTitleColor(), c.drawn->color) << c.name;
    }
}

TEST(Button, StateBitsAndUnknownTypes) {
    auto button = Button::create(static_cast<ButtonType>(7));
    EXPECT_EQ(button->buttonType(), ButtonType::Custom);
    EXPECT_EQ(button->state(), ControlStateNormal);
    button->setHighlighted(true);
    button->setEnabled(false);
    button->setSelected(true);
    EXPECT_EQ(button->state(), ControlStateHighlighted | ControlStateDisabled | ControlStateSelected);
    EXPECT_EQ(button->titleForState(ControlStateSelected), std::nullopt);
    button->setTitle("a");
    EXPECT_EQ(button->titleForState(ControlStateSelected), "a") << "the normal title stands in";
}

TEST(Button, ATapSendsTouchUpInsideOnceAndDimsASystemTitleOnlyWhileDown) {
    plat::testing::VirtualClock clock;
    auto window = Window::create({0, 0, 200, 100});
    auto button = Button::create(ButtonType::System, {10, 10, 120, 40});
    button->setTitle("+");
    window->addSubview(button);
    int ups = 0;
    button->addTarget([&](Control& sender) { ups += &sender == button.get(); }, ControlEventTouchUpInside);
    plat::testing::Touches(window).tap({50, 30});
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(drawnTitle(window)->color, View::SystemTintColor);
}

}  // namespace
