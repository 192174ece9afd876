#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/testing/keys.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::Keys;
using plat::testing::VirtualClock;

namespace {

// A view that offers key commands (rebuilt at every request, as the state decides) and may take focus.
class CommandView : public View {
public:
    static std::shared_ptr<CommandView> make(std::string name, std::vector<std::string>& log) {
        auto v = initialized(std::shared_ptr<CommandView>(new CommandView(std::move(name), log)));
        return v;
    }
    bool canBecomeFirstResponder() const override { return true; }
    std::vector<std::shared_ptr<KeyCommand>> keyCommands() const override {
        std::vector<std::shared_ptr<KeyCommand>> out;
        for (const auto& [input, flags] : offered) {
            out.push_back(KeyCommand::create(input, flags, [this, input = input](const KeyCommand& c) {
                _log.push_back(_name + " " + input + (c.modifierFlags() ? "+" : ""));
            }));
        }
        return out;
    }
    bool pressKey(const KeyPress& key) override {
        if (!takesAll) return false;
        _log.push_back(_name + " pressed " + key.input);
        return true;
    }
    std::vector<std::pair<std::string, unsigned>> offered;
    bool takesAll = false;

private:
    CommandView(std::string name, std::vector<std::string>& log) : View({0, 0, 100, 100}), _name(std::move(name)), _log(log) {}
    std::string _name;
    std::vector<std::string>& _log;
};

}  // namespace

TEST(KeyCommands, PressesTravelTheResponderChainFromTheFirstResponder) {
    VirtualClock clock;
    std::vector<std::string> log;
    auto window = Window::create({0, 0, 320, 200});
    auto outer = CommandView::make("outer", log);
    auto inner = CommandView::make("inner", log);
    window->addSubview(outer);
    outer->addSubview(inner);
    outer->offered = {{std::string(KeyInputDownArrow), KeyModifierNone},
                      {std::string(KeyInputDownArrow), KeyModifierShift},
                      {"\r", KeyModifierAlternate}};
    inner->offered = {{std::string(KeyInputEscape), KeyModifierNone}};
    Keys keys(window);

    keys.press(KeyInputDownArrow);
    EXPECT_FALSE(keys.handled()) << "with no first responder only the window is asked";
    ASSERT_TRUE(inner->becomeFirstResponder());
    keys.press(KeyInputEscape).press(KeyInputDownArrow).press(KeyInputDownArrow, KeyModifierShift | KeyModifierAlphaShift);
    keys.press("\r");
    EXPECT_FALSE(keys.handled()) << "return needs its option modifier";
    keys.press("\r", KeyModifierAlternate);
    EXPECT_EQ(log, (std::vector<std::string>{"inner \x1b", "outer DownArrow", "outer DownArrow+", "outer \r+"}));

    // Commands win over a responder's own key handling, wherever they sit in the chain.
    log.clear();
    inner->takesAll = true;
    keys.press(KeyInputDownArrow).press("q");
    EXPECT_EQ(log, (std::vector<std::string>{"outer DownArrow", "inner pressed q"}));
}

TEST(KeyCommands, ACommandAboveATextFieldTakesItsKeysAwayFromIt) {
    VirtualClock clock;
    std::vector<std::string> log;
    auto window = Window::create({0, 0, 320, 200});
    auto host = CommandView::make("host", log);
    window->addSubview(host);
    auto field = TextField::create({0, 0, 100, 30});
    host->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    Keys keys(window);
    keys.type("ab").press(KeyInputLeftArrow);
    EXPECT_EQ(field->selectedRange(), (TextRange{1, 0}));
    host->offered = {{std::string(KeyInputLeftArrow), KeyModifierNone}, {"b", KeyModifierCommand}};
    keys.press(KeyInputLeftArrow).press("B", KeyModifierCommand);
    EXPECT_EQ(field->selectedRange(), (TextRange{1, 0}));
    EXPECT_EQ(log, (std::vector<std::string>{"host LeftArrow", "host b+"})) << "letters match either case";
    EXPECT_TRUE(window->insertText("c"));
    EXPECT_EQ(field->text(), "acb");
}

TEST(Pasteboard, ItemsHoldTypedRepresentations) {
    Pasteboard& board = Pasteboard::withName("test-board");
    EXPECT_NE(&board, &Pasteboard::general());
    EXPECT_EQ(&Pasteboard::withName(""), &Pasteboard::general());
    const auto before = board.changeCount();

    board.setItems(
        {{{"public.text", Value("a\tb")}, {"Apple Web Archive pasteboard type", Value("<plist/>")}}, {{"public.png", Value()}}});
    EXPECT_EQ(board.numberOfItems(), 1u) << "an item with nothing in it is dropped";
    EXPECT_EQ(board.string(), "a\tb");
    EXPECT_EQ(board.valueForPasteboardType("Apple Web Archive pasteboard type").asString(), "<plist/>");
    EXPECT_TRUE(board.valueForPasteboardType("public.html").isNil());
    EXPECT_EQ(board.pasteboardTypes(), (std::vector<std::string>{"Apple Web Archive pasteboard type", "public.text"}));
    EXPECT_TRUE(board.containsPasteboardTypes({"public.html", "public.text"}));
    EXPECT_EQ(board.changeCount(), before + 1);

    board.setValue(Value(std::int64_t{3}), "public.number");
    EXPECT_FALSE(board.hasStrings());
    EXPECT_EQ(board.string(), std::nullopt);
    board.addItems({{{std::string(PasteboardTypeUTF8PlainText), Value("x")}}});
    EXPECT_TRUE(board.hasStrings());
    EXPECT_EQ(board.changeCount(), before + 3);
    board.setItems({});
    EXPECT_EQ(board.numberOfItems(), 0u);
    EXPECT_EQ(board.changeCount(), before + 4);
}
