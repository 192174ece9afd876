#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/testing/keys.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"
#include "ui/text_field_access.h"

using namespace plat;
using plat::testing::Keys;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

// Logs every delegate call; refuses edits that would insert `refused`.
class Recorder : public TextFieldDelegate {
public:
    bool textFieldShouldBeginEditing(TextField&) override {
        log.push_back("shouldBegin");
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField&) override { log.push_back("didBegin"); }
    bool textFieldShouldEndEditing(TextField&) override {
        log.push_back("shouldEnd");
        return allowEnd;
    }
    void textFieldDidEndEditing(TextField&) override { log.push_back("didEnd"); }
    bool shouldChangeCharactersInRange(TextField&, TextRange range, const std::string& replacement) override {
        changes.push_back({range, replacement});
        return replacement != refused;
    }
    bool textFieldShouldReturn(TextField&) override {
        log.push_back("return");
        return true;
    }
    std::vector<std::string> log;
    std::vector<std::pair<TextRange, std::string>> changes;
    std::string refused = "#";
    bool allowBegin = true, allowEnd = true;
};

// Names of the notifications posted while it lives.
class NotificationLog {
public:
    NotificationLog() {
        _token = NotificationCenter::defaultCenter().addObserver(this, "", [this](const Notification& n) {
            if (n.name.find("Keyboard") != std::string::npos || n.name.find("TextField") != std::string::npos)
                names.push_back(n.name);
            if (n.name == KeyboardWillShowNotification) shownFrame = keyboardEndFrame(n);
        });
    }
    ~NotificationLog() { NotificationCenter::defaultCenter().removeObserver(_token); }
    std::vector<std::string> names;
    std::optional<Rect> shownFrame;

private:
    NotificationCenter::Token _token;
};

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 200});
    std::shared_ptr<TextField> field = TextField::create({10, 10, 200, 30});
    std::shared_ptr<Recorder> delegate = std::make_shared<Recorder>();
    Fixture() {
        window->addSubview(field);
        field->setDelegate(delegate);
    }
    Keys keys() { return Keys(window); }
};

}  // namespace

TEST(TextEditingModel, CaretMovesAndDeletesWholeCharacters) {
    // "e" + combining acute is one character of two units; the flag is one of four units.
    TextEditingModel m("ae\u0301\U0001F1EB\U0001F1F7z");
    EXPECT_EQ(m.length(), 8);
    EXPECT_EQ(m.selectedRange(), (TextRange{8, 0}));
    m.moveLeft(false);
    EXPECT_EQ(m.selectedRange().location, 7);
    m.moveLeft(false);
    EXPECT_EQ(m.selectedRange().location, 3) << "the flag is stepped over in one move";
    EXPECT_EQ(m.rangeForDeleteBackward(), (TextRange{1, 2})) << "backspace takes the accent with its letter";
    EXPECT_EQ(m.characterStarts(), (std::vector<std::int64_t>{0, 1, 3, 7}));
    EXPECT_TRUE(TextEditingModel().characterStarts().empty());
    m.moveRight(true);
    EXPECT_EQ(m.selectedRange(), (TextRange{3, 4}));
    m.moveLeft(false);
    EXPECT_EQ(m.selectedRange(), (TextRange{3, 0})) << "a plain arrow collapses the selection to its side";
    m.setSelectedRange({5, 1});
    EXPECT_EQ(m.selectedRange(), (TextRange{3, 4})) << "a range inside a character grows to whole characters";
    m.replace({1, 2}, "\u00e9");
    EXPECT_EQ(m.text(), "a\u00e9\U0001F1EB\U0001F1F7z");
    EXPECT_EQ(m.selectedRange(), (TextRange{2, 0}));
}

TEST(TextField, TypingBackspaceArrowsAndSelectAllEditTheText) {
    Fixture f;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    auto keys = f.keys();
    keys.type("Hello");
    EXPECT_EQ(f.field->text(), "Hello");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{5, 0}));

    keys.press(KeyInputLeftArrow).press(KeyInputLeftArrow).press(KeyInputLeftArrow, KeyModifierShift);
    EXPECT_EQ(f.field->selectedRange(), (TextRange{2, 1}));
    keys.type("L");
    EXPECT_EQ(f.field->text(), "HeLlo") << "typing replaces the selection";
    keys.backspace(2);
    EXPECT_EQ(f.field->text(), "Hlo");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{1, 0}));
    keys.press(KeyInputRightArrow, KeyModifierCommand | KeyModifierShift);
    EXPECT_EQ(f.field->selectedRange(), (TextRange{1, 2}));

    keys.press("a", KeyModifierCommand);
    EXPECT_EQ(f.field->selectedRange(), (TextRange{0, 3}));
    keys.backspace();
    EXPECT_EQ(f.field->text(), "");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{0, 0}));
    keys.backspace();
    EXPECT_EQ(f.delegate->changes.size(), 9u) << "a backspace in an empty field asks nothing";
    EXPECT_EQ(f.delegate->changes.back(), (std::pair<TextRange, std::string>{{0, 3}, ""}));
}

TEST(TextField, ARefusedChangeLeavesTextAndCaret) {
    Fixture f;
    f.field->setText("ab");
    ASSERT_TRUE(f.field->becomeFirstResponder());
    f.field->setSelectedRange({1, 0});
    int changed = 0;
    f.field->addTarget([&](Control&) { ++changed; }, ControlEventEditingChanged);

    f.keys().type("#");
    EXPECT_EQ(f.field->text(), "ab");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{1, 0}));
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(f.delegate->changes.size(), 1u);
    EXPECT_EQ(f.delegate->changes[0], (std::pair<TextRange, std::string>{{1, 0}, "#"}));

    f.keys().type("x");
    EXPECT_EQ(f.field->text(), "axb");
    EXPECT_EQ(changed, 1);
}

TEST(TextField, SetTextIsNotOfferedToTheDelegateAndKeepsOneLine) {
    Fixture f;
    f.field->setText("two\nlines");
    EXPECT_EQ(f.field->text(), "two lines");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{9, 0}));
    EXPECT_TRUE(f.delegate->changes.empty());
    f.field->setSelectedRange({40, 3});
    EXPECT_EQ(f.field->selectedRange(), (TextRange{9, 0}));
}

TEST(TextField, CutCopyAndPasteGoThroughTheGeneralPasteboard) {
    Fixture f;
    f.field->setText("one two");
    ASSERT_TRUE(f.field->becomeFirstResponder());
    f.field->setSelectedRange({4, 3});
    auto keys = f.keys();
    keys.press("c", KeyModifierCommand);
    EXPECT_EQ(Pasteboard::general().string(), "two");
    keys.press("x", KeyModifierCommand);
    EXPECT_EQ(f.field->text(), "one ");
    f.field->setSelectedRange({0, 0});
    keys.press("v", KeyModifierCommand);
    EXPECT_EQ(f.field->text(), "twoone ");
    EXPECT_EQ(f.field->selectedRange(), (TextRange{3, 0}));

    Pasteboard::general().setString("a\r\nb");
    keys.press("v", KeyModifierCommand);
    EXPECT_EQ(f.field->text(), "twoa bone ") << "line breaks paste as spaces";

    // Paste is an edit like typing: the delegate may refuse it.
    Pasteboard::general().setString("#");
    keys.press("v", KeyModifierCommand);
    EXPECT_EQ(f.field->text(), "twoa bone ");

    // A secure field does not give its text away.
    f.field->setSecureTextEntry(true);
    f.field->selectAll();
    EXPECT_FALSE(f.field->copy());
    EXPECT_EQ(Pasteboard::general().string(), "#");
}

TEST(TextField, EditingBeginsAndEndsWithTheFirstResponderAndTheKeyboardFollows) {
    Fixture f;
    NotificationLog notes;
    std::vector<std::string> events;
    f.field->addTarget([&](Control&) { events.push_back("begin"); }, ControlEventEditingDidBegin);
    f.field->addTarget([&](Control&) { events.push_back("end"); }, ControlEventEditingDidEnd);

    ASSERT_TRUE(f.field->becomeFirstResponder());
    EXPECT_TRUE(f.field->isEditing());
    EXPECT_EQ(f.window->firstResponder(), f.field);
    ASSERT_TRUE(notes.shownFrame.has_value());
    EXPECT_EQ(*notes.shownFrame, Rect(0, Screen::main().bounds().height() - 216, Screen::main().bounds().width(), 216));

    // Moving to a second field ends the first one's editing and keeps the keyboard up.
    auto second = TextField::create({10, 60, 200, 30});
    f.window->addSubview(second);
    ASSERT_TRUE(second->becomeFirstResponder());
    EXPECT_FALSE(f.field->isEditing());
    ASSERT_TRUE(second->resignFirstResponder());

    EXPECT_EQ(f.delegate->log, (std::vector<std::string>{"shouldBegin", "didBegin", "shouldEnd", "didEnd"}));
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(notes.names,
              (std::vector<std::string>{
                  std::string(KeyboardWillShowNotification), std::string(KeyboardDidShowNotification),
                  std::string(TextFieldTextDidBeginEditingNotification), std::string(TextFieldTextDidEndEditingNotification),
                  std::string(TextFieldTextDidBeginEditingNotification), std::string(KeyboardWillHideNotification),
                  std::string(KeyboardDidHideNotification), std::string(TextFieldTextDidEndEditingNotification)}));
}

TEST(TextField, TheDelegateMayKeepEditingFromStartingOrEnding) {
    Fixture f;
    f.delegate->allowBegin = false;
    EXPECT_FALSE(f.field->becomeFirstResponder());
    EXPECT_FALSE(f.field->isEditing());

    f.delegate->allowBegin = true;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    f.delegate->allowEnd = false;
    EXPECT_FALSE(f.field->resignFirstResponder());
    EXPECT_TRUE(f.field->isEditing());
    EXPECT_FALSE(f.window->endEditing(false));
    EXPECT_TRUE(f.window->endEditing(true)) << "forced, the field stops editing anyway";
    EXPECT_FALSE(f.field->isEditing());
    EXPECT_EQ(f.window->firstResponder(), nullptr);

    // Taken out of its window, an editing field stops editing.
    f.delegate->allowEnd = true;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    f.field->removeFromSuperview();
    EXPECT_FALSE(f.field->isEditing());
}

TEST(TextField, ReturnAsksTheDelegateAndSendsEndOnExit) {
    Fixture f;
    ASSERT_TRUE(f.field->becomeFirstResponder());
    int exits = 0;
    f.field->addTarget([&](Control&) { ++exits; }, ControlEventEditingDidEndOnExit);
    f.keys().press(KeyInputReturn);
    EXPECT_EQ(f.delegate->log.back(), "return");
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(f.field->text(), "") << "return types nothing into a one-line field";
}

TEST(TextField, ATapFocusesTheFieldAndPlacesTheCaretNearestTheFinger) {
    Fixture f;
    f.field->setText("abcdef");
    const Rect caret3 = f.field->caretRectForPosition(3);
    Touches(f.window).tap({10 + caret3.midX() + 1, 25});
    EXPECT_TRUE(f.field->isFirstResponder());
    EXPECT_EQ(f.field->selectedRange(), (TextRange{3, 0}));
    Touches(f.window).tap({205, 25});
    EXPECT_EQ(f.field->selectedRange(), (TextRange{6, 0}));

    // Every point maps to a character boundary, the nearest one.
    f.field->setText("a\U0001F600bc");
    std::vector<std::int64_t> seen;
    for (double x = -5; x < 120; x += 1) {
        const auto p = f.field->closestPositionToPoint({x, 15});
        if (seen.empty() || seen.back() != p) seen.push_back(p);
    }
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 1, 3, 4, 5}));
    const double between = (f.field->caretRectForPosition(3).midX() + f.field->caretRectForPosition(4).midX()) / 2;
    EXPECT_EQ(f.field->closestPositionToPoint({between - 0.5, 15}), 3);
    EXPECT_EQ(f.field->closestPositionToPoint({between + 0.5, 15}), 4);

    f.field->setEnabled(false);
    EXPECT_FALSE(f.field->isEditing()) << "disabling ends the editing";
    Touches(f.window).tap({30, 25});
    EXPECT_FALSE(f.field->isFirstResponder());
}

TEST(TextField, DrawsTextCaretSelectionAndPlaceholder) {
    Fixture f;
    f.field->setBorderStyle(TextBorderStyle::RoundedRect);
    f.field->setPlaceholder("Name");
    {
        RecordingContext rec;
        f.window->display(rec);
        const DrawOp* placeholder = rec.findText("Name");
        ASSERT_NE(placeholder, nullptr);
        EXPECT_EQ(placeholder->color, TextField::PlaceholderColor);
        EXPECT_NEAR(placeholder->origin.x, 10 + TextField::BorderedTextInset, 1e-9);
        EXPECT_NE(rec.findStroke(TextField::BorderColor), nullptr);
        EXPECT_EQ(rec.findFill(f.field->tintColor()), nullptr) << "no caret while not editing";
    }
    f.field->setText("Hello");
    ASSERT_TRUE(f.field->becomeFirstResponder());
    {
        RecordingContext rec;
        f.window->display(rec);
        EXPECT_EQ(rec.findText("Name"), nullptr);
        ASSERT_NE(rec.findText("Hello"), nullptr);
        const DrawOp* caret = rec.findFill(f.field->tintColor());
        ASSERT_NE(caret, nullptr);
        const Rect end = f.field->caretRectForPosition(5);
        EXPECT_NEAR(caret->bounds().midX(), 10 + end.midX(), 1e-9);
        EXPECT_NEAR(caret->bounds().width(), TextField::CaretWidth, 1e-9);
        EXPECT_GT(end.midX(), f.field->caretRectForPosition(0).midX() + 20);
    }
    f.field->setSelectedRange({1, 3});
    {
        RecordingContext rec;
        f.window->display(rec);
        const DrawOp* selection = rec.findFill(f.field->tintColor().withAlpha(TextField::SelectionAlpha));
        ASSERT_NE(selection, nullptr);
        EXPECT_NEAR(selection->bounds().minX(), 10 + f.field->caretRectForPosition(1).midX(), 1e-9);
        EXPECT_NEAR(selection->bounds().maxX(), 10 + f.field->caretRectForPosition(4).midX(), 1e-9);
        EXPECT_EQ(rec.findFill(f.field->tintColor()), nullptr) << "a selection shows no caret";
    }
}

TEST(TextField, TheClearButtonShowsWhileEditingAndEmptiesTheField) {
    Fixture f;
    f.field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    f.field->setText("abc");
    EXPECT_TRUE(f.field->clearButtonRect().isEmpty()) << "not while the field is at rest";
    ASSERT_TRUE(f.field->becomeFirstResponder());
    const Rect button = f.field->clearButtonRect();
    ASSERT_FALSE(button.isEmpty());
    EXPECT_LE(f.field->textRectForBounds(f.field->bounds()).maxX(), button.minX()) << "text stops short of the button";
    RecordingContext rec;
    f.window->display(rec);
    ASSERT_NE(rec.findFill(TextField::ClearButtonColor), nullptr);

    int changes = 0;
    f.field->addTarget([&](Control&) { ++changes; }, ControlEventEditingChanged);
    Touches(f.window).tap({10 + button.midX(), 10 + button.midY()});
    EXPECT_EQ(f.field->text(), "");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(f.field->clearButtonRect().isEmpty()) << "never over an empty field";
}

TEST(TextField, LongTextScrollsToKeepTheCaretInView) {
    Fixture f;
    f.field->setText(std::string(80, 'm'));
    ASSERT_TRUE(f.field->becomeFirstResponder());
    const Rect textRect = f.field->textRectForBounds(f.field->bounds());
    const Rect atEnd = f.field->caretRectForPosition(80);
    EXPECT_LE(atEnd.maxX(), textRect.maxX() + 1);
    EXPECT_GE(atEnd.minX(), textRect.minX());
    f.keys().press(KeyInputUpArrow);
    EXPECT_NEAR(f.field->caretRectForPosition(0).midX(), textRect.minX(), 1e-9) << "back at the start";
}

TEST(TextField, TheTextIsLaidOutOncePerChangeAndReusedForCaretMovesAndDrawing) {
    Fixture f;
    const auto layouts = [&] { return detail::TextFieldAccess::layouts(*f.field); };
    f.field->setText(std::string(20000, 'm') + "\u00e9\U0001F600 end");
    ASSERT_TRUE(f.field->becomeFirstResponder());
    RecordingContext rec;
    f.window->display(rec);
    const std::size_t once = layouts();
    EXPECT_EQ(once, 1u);

    for (std::string_view key : {KeyInputLeftArrow, KeyInputLeftArrow, KeyInputRightArrow, KeyInputUpArrow, KeyInputDownArrow})
        f.keys().press(key);
    f.keys().press(KeyInputLeftArrow, KeyModifierShift);
    f.window->display(rec);
    Touches(f.window).tap({100, 25});
    f.window->display(rec);
    EXPECT_EQ(layouts(), once) << "caret moves, taps and frames reuse the layout";

    // Each change of what is shown lays it out once more.
    f.field->insertText("x");
    f.window->display(rec);
    EXPECT_EQ(layouts(), once + 1);
    f.field->setFont(Font::system(12));
    f.field->setSecureTextEntry(true);
    f.window->display(rec);
    EXPECT_EQ(layouts(), once + 3);
}

TEST(TextField, LongTextDrawsWhatTheFieldShowsWhereTheWholeTextWouldBe) {
    Fixture f;
    const std::string text = std::string(200, 'w') + "\U0001F600" + std::string(200, 'i');
    for (bool secure : {false, true}) {
        SCOPED_TRACE(secure ? "secure" : "plain");
        f.field->setSecureTextEntry(secure);
        f.field->setText(text);
        ASSERT_TRUE(f.field->becomeFirstResponder());
        f.field->setSelectedRange({150, 0});
        RecordingContext rec;
        f.window->display(rec);
        const DrawOp* drawn = nullptr;
        for (const DrawOp& op : rec.ops())
            if (op.kind == DrawOp::Kind::Text) drawn = &op;
        ASSERT_NE(drawn, nullptr);
        const Rect textRect = f.field->textRectForBounds(f.field->bounds()).offsetBy(10, 10);
        // The drawn piece covers the field, and starts where its first character would in the whole text.
        EXPECT_LT(drawn->text.text.size(), 100u);
        EXPECT_LE(drawn->origin.x, textRect.minX() + 1e-9);
        EXPECT_GE(drawn->origin.x + drawn->textSize.width, textRect.maxX() - 1e-9);
        const double caret = f.field->caretRectForPosition(150).midX() + 10;
        EXPECT_GE(caret, textRect.minX() - 1e-9);
        EXPECT_LE(caret, textRect.maxX() + 1e-9);
        f.field->resignFirstResponder();
    }
}
