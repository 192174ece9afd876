// The masked text field: edits through the mask from the keyboard and the pasteboard, the text
// setter's reporting (delegate first, else the event), the value, mask, prompt and placeholder
// setters, the caret on editing, and the drawing of the placeholder.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/font_attribute_cases.h"
#include "Platform/testing/keys.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/window.h"
#include "mask_test_support.h"

namespace {

constexpr const char* Phone = "(000) 000-0000";

// Records what the field reports; answers textChanged when `answers` is set.
class DelegateLog : public KivoMaskedTextFieldDelegate {
public:
    bool textChanged(const std::shared_ptr<KivoMaskedTextField>&, const std::string& oldText,
                     const std::string& newText) override {
        changes.push_back(oldText + " -> " + newText);
        return answers;
    }
    void rendered(const std::shared_ptr<KivoMaskedTextField>&) override { ++renders; }
    bool answers = true;
    std::vector<std::string> changes;
    int renders = 0;
};

// Answers nothing: the field falls back to its event.
class SilentDelegate : public KivoMaskedTextFieldDelegate {};

class MaskedTextFieldTest : public PinnedLocaleTest {
protected:
    void SetUp() override {
        PinnedLocaleTest::SetUp();
        field = makeField();
    }
    // A field in the window whose textChanged events are counted in `raised`.
    std::shared_ptr<KivoMaskedTextField> makeField() {
        auto made = KivoMaskedTextField::create({10, 10, 240, 36});
        window->addSubview(made);
        std::weak_ptr<KivoMaskedTextField> weak = made;
        made->textChanged()->addHandler(
            [this, weak](const std::shared_ptr<KivoEventContainer>& c) {
                ++raised;
                EXPECT_EQ(c->sender(), weak.lock());
                EXPECT_EQ(c->eventArgs(), nullptr);
            },
            made);
        return made;
    }
    // Text as it stands, without masking or reporting.
    void place(const std::string& text) { static_cast<plat::TextField&>(*field).setText(text); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 120});
    std::shared_ptr<KivoMaskedTextField> field;
    int raised = 0;
};

// The edit road itself has its own table; these show the field's side of it.
TEST_F(MaskedTextFieldTest, EditsGoThroughTheMaskAndItsPlaceholder) {
    field->setMask(std::string("LL-0000"));
    place("zz-9999");
    field->setSelectedRange({0, 2});
    raised = 0;
    EXPECT_FALSE(field->replaceRange({0, 2}, "9"));  // refused: the selection stays
    EXPECT_EQ(field->text(), "zz-9999");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{0, 2}));
    EXPECT_FALSE(field->replaceRange({0, 2}, "ab"));
    EXPECT_EQ(field->text(), "ab-9999");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{3, 0}));
    EXPECT_EQ(raised, 1);

    field->setMask(std::string("00-00"));
    field->setPlaceholder(std::string("Code"));
    place("5_-__");
    raised = 0;
    field->replaceRange({0, 1}, "");
    EXPECT_EQ(field->text(), "");  // nothing filled: back to the placeholder
    EXPECT_EQ(field->placeholder(), std::optional<std::string>("Code"));
    EXPECT_EQ(raised, 1);

    field->setMask(std::nullopt);  // no mask: a plain field
    place("abc");
    raised = 0;
    EXPECT_TRUE(field->replaceRange({1, 1}, "x"));
    EXPECT_EQ(field->text(), "axc");
    EXPECT_EQ(raised, 0);
}

TEST_F(MaskedTextFieldTest, TypingAndBackspaceThroughTheKeyboard) {
    field->setMask(std::string(Phone));
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{1, 0}));  // on the first input position
    plat::testing::Keys keys(window);
    keys.type("5551");
    EXPECT_EQ(field->text(), "(555) 1__-____");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{7, 0}));
    EXPECT_EQ(field->value(), "5551");
    EXPECT_FALSE(field->maskFull());
    keys.backspace(2);
    EXPECT_EQ(field->text(), "(55_) ___-____");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{3, 0}));
    keys.type("x");
    EXPECT_EQ(field->text(), "(55_) ___-____");
}

TEST_F(MaskedTextFieldTest, PasteLandsTheCaretAfterThePastedText) {
    field->setMask(std::string(Phone));
    ASSERT_TRUE(field->becomeFirstResponder());
    plat::Pasteboard::general().setString("5551234567");
    EXPECT_FALSE(field->paste());  // the field did the edit itself
    EXPECT_EQ(field->text(), "(555) 123-4567");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{14, 0}));
    EXPECT_TRUE(field->maskFull());
    EXPECT_EQ(field->value(), "5551234567");
}

// A paste longer than the room left fills what it can and drops the rest, keeping what was typed;
// one log line counts what was dropped.
TEST_F(MaskedTextFieldTest, APasteThatDoesNotFitKeepsWhatWasTypedAndLogsWhatItDropped) {
    field->setMask(std::string(Phone));
    field->setValue("______4567");  // the last four digits typed, the rest unfilled
    ASSERT_EQ(field->text(), "(___) ___-4567");
    ASSERT_TRUE(field->becomeFirstResponder());
    field->setSelectedRange({1, 0});
    plat::Pasteboard::general().setString("555123999");
    plat::testing::LogCapture log;
    field->paste();
    EXPECT_EQ(field->text(), "(555) 123-4567");
    EXPECT_EQ(field->selectedRange(), (plat::TextRange{10, 0}));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find(" 3 "), std::string::npos) << log.lines()[0];
}

// A position holds one whole character: one outside the Basic Multilingual Plane is refused with a
// log line, never split across two positions.
TEST_F(MaskedTextFieldTest, ACharacterOutsideTheBasicPlaneIsRefusedWhole) {
    field->setMask(std::string("&&"));
    ASSERT_TRUE(field->becomeFirstResponder());
    plat::testing::LogCapture log;
    plat::testing::Keys(window).type("a\U0001F600");
    EXPECT_EQ(field->text(), "a_");
    EXPECT_EQ(field->value(), "a");
    EXPECT_EQ(log.lines().size(), 1u);
    log.clear();
    field->setText("\U0001F600b");  // the text setter drops it alike
    EXPECT_EQ(field->text(), "b_");
    EXPECT_EQ(log.lines().size(), 1u);
}

// With a space as the prompt, a typed space and an unfilled position look alike; the field still
// tells them apart, in its value, in deletions and when the prompt changes.
// The field shows one line, so a line break in the mask stands as a space; a literal after it stays
// a literal through edits instead of turning into a typed character.
TEST_F(MaskedTextFieldTest, ALineBreakInTheMaskIsASpaceAndTheLiteralsAfterItStayLiterals) {
    field->setMask(std::string("00\r\n3-0\n"));
    EXPECT_EQ(field->mask(), std::optional<std::string>("00 3-0 "));
    EXPECT_EQ(field->text(), "__ 3-_ ");
    field->replaceRange({0, 0}, "");
    EXPECT_EQ(field->text(), "__ 3-_ ");
    EXPECT_EQ(field->value(), "");
    field->replaceRange({0, 0}, "12");
    EXPECT_EQ(field->text(), "12 3-_ ");
    EXPECT_EQ(field->value(), "12");
}

// Text set or given as the value is laid onto the mask as the field shows it, a CR LF as one space, so
// that no position after it moves.
TEST_F(MaskedTextFieldTest, SetTextAndValueLayLineBreaksOntoTheMaskAsTheFieldShowsThem) {
    field->setMask(std::string("&&&&-0"));
    field->setText("a\r\nb7");
    EXPECT_EQ(field->text(), "a b7-_");
    field->setValue("\r\n\r\n12");
    EXPECT_EQ(field->text(), "  12-_");
}

TEST_F(MaskedTextFieldTest, UnderASpacePromptTypedSpacesStayCharacters) {
    field->setMask(std::string("&&&&"));
    field->setPromptChar(" ");
    ASSERT_TRUE(field->becomeFirstResponder());
    plat::testing::Keys keys(window);
    keys.type("a b");
    EXPECT_EQ(field->text(), "a b ");
    EXPECT_EQ(field->value(), "a b");
    EXPECT_FALSE(field->maskFull());
    field->replaceRange({0, 1}, "");
    EXPECT_EQ(field->text(), " b  ");
    EXPECT_EQ(field->value(), " b");
    field->replaceRange({1, 0}, "c");
    EXPECT_EQ(field->value(), " cb");
    field->setPromptChar("_");
    EXPECT_EQ(field->text(), " cb_");
    EXPECT_EQ(field->value(), " cb");
}

TEST_F(MaskedTextFieldTest, ReturnEndsEditing) {
    field->setMask(std::string(Phone));
    ASSERT_TRUE(field->becomeFirstResponder());
    plat::testing::Keys(window).press("\r");
    EXPECT_FALSE(field->isFirstResponder());
}

TEST_F(MaskedTextFieldTest, TextSetterReportsToTheDelegateFirstElseTheEvent) {
    field->setMask(std::string("LL-00"));
    auto delegate = std::make_shared<DelegateLog>();
    field->setMaskDelegate(delegate);
    raised = 0;

    field->setText("ab12");
    EXPECT_EQ(field->text(), "ab-12");
    EXPECT_EQ(delegate->changes, std::vector<std::string>{"__-__ -> ab-12"});
    EXPECT_EQ(raised, 0);

    field->setText("ab-12");  // the text it already has
    EXPECT_EQ(delegate->changes.size(), 1u);

    delegate->answers = false;  // a delegate that does not answer: the event
    field->setText("cd34");
    EXPECT_EQ(raised, 1);

    field->setMaskDelegate(std::make_shared<SilentDelegate>());  // held weakly: gone at once
    EXPECT_EQ(field->maskDelegate(), nullptr);
    field->setText("a1");
    EXPECT_EQ(field->text(), "a_-__");  // the rebuild drops what the second letter passes over
    EXPECT_EQ(raised, 2);
}

TEST_F(MaskedTextFieldTest, StrongDelegateIsRetainedAndIsTheMaskDelegate) {
    auto delegate = std::make_shared<DelegateLog>();
    std::weak_ptr<DelegateLog> weak = delegate;
    field->setStrongDelegate(delegate);
    delegate.reset();
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(field->maskDelegate(), weak.lock());
    field->setNeedsLayout();
    plat::RecordingContext rec;
    window->display(rec);
    EXPECT_GE(weak.lock()->renders, 1);
}

TEST_F(MaskedTextFieldTest, ValueSetsTheTextSilently) {
    field->setMask(std::string(Phone));
    raised = 0;
    field->setValue("5551234567");
    EXPECT_EQ(field->text(), "(555) 123-4567");
    field->setValue("5551234567");
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(field->value(), "5551234567");
}

TEST_F(MaskedTextFieldTest, MaskAndPromptSettersRebuildTheTextSilently) {
    EXPECT_FALSE(field->mask().has_value());
    EXPECT_EQ(field->promptChar(), "_");
    EXPECT_TRUE(field->maskFull());
    EXPECT_EQ(field->borderStyle(), plat::TextBorderStyle::RoundedRect);

    field->setMask(std::string("&&&"));
    EXPECT_EQ(field->text(), "___");
    field->setValue("a");
    field->setPromptChar("*");
    EXPECT_EQ(field->text(), "a**");  // old prompts never become typed characters
    EXPECT_EQ(field->value(), "a");
    field->setMask(std::string("LLL"));
    place("_b*");
    field->setPromptChar("_");
    EXPECT_EQ(field->text(), "_b_");  // "b" stays on its position
    field->setMask(std::string(">LLLL"));
    EXPECT_EQ(field->text(), "_B__");
    EXPECT_EQ(raised, 0);

    // While a placeholder is set, a new mask waits for the next edit.
    field->setPlaceholder(std::string("Name"));
    EXPECT_EQ(field->text(), "");
    field->setMask(std::string("000"));
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(raised, 0);
}

TEST_F(MaskedTextFieldTest, PlaceholderSetterEmptiesTheTextAndIsShown) {
    field->setMask(std::string(Phone));
    field->setValue("555");
    raised = 0;
    field->setPlaceholder(std::string("Phone number"));
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(field->maskHandler()->placeholder(), std::optional<std::string>("Phone number"));
    EXPECT_EQ(raised, 0);

    plat::RecordingContext rec;
    window->display(rec);
    const plat::DrawOp* shown = rec.findText("Phone number");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->color, KivoMaskedTextField::DefaultPlaceHolderColor);
    EXPECT_EQ(shown->text.attributes.font, plat::Font::system(KivoMaskedTextField::DefaultPlaceHolderFontSize));
    // Centred vertically in the field: its line's middle at the field's middle.
    const double lineHeight = plat::fontMetrics(shown->text.attributes.font).lineHeight;
    EXPECT_NEAR(shown->origin.y + lineHeight / 2, field->frame().midY(), 0.5);

    field->setPlaceHolderColor(plat::Color(0.4, 0.4, 0.45));
    field->setValue("5");
    rec.clear();
    window->display(rec);
    EXPECT_EQ(rec.findText("Phone number"), nullptr);
    EXPECT_NE(rec.findText("(5__) ___-____"), nullptr);
}

TEST_F(MaskedTextFieldTest, FontFromAttributes) {
    for (const auto& c : plat::testing::fontAttributeCases())
        EXPECT_EQ(KivoMaskedTextField::getDecriptor(c.attributes), c.font) << c.what;
}

}  // namespace

namespace {

// Drops the field from the method named `dropIn`.
class DroppingMaskDelegate : public KivoMaskedTextFieldDelegate {
public:
    DroppingMaskDelegate(std::string dropIn, std::function<void()> drop) : _dropIn(std::move(dropIn)), _drop(std::move(drop)) {}
    bool textChanged(const std::shared_ptr<KivoMaskedTextField>&, const std::string&, const std::string&) override {
        call("textChanged");
        return true;
    }
    void rendered(const std::shared_ptr<KivoMaskedTextField>&) override { call("rendered"); }

private:
    void call(const std::string& method) {
        if (method == _dropIn && _drop) std::exchange(_drop, nullptr)();
    }
    std::string _dropIn;
    std::function<void()> _drop;
};

// Application code that drops the last reference to the field during a call on it, through the
// delegate and the event the field calls: the field lives until the call returns.
TEST_F(MaskedTextFieldTest, AFieldDroppedByApplicationCodeLivesUntilTheCallReturns) {
    struct Row {
        const char* name;
        const char* dropIn;  // a delegate method, or "text" for the event
        std::function<void(KivoMaskedTextField&)> call;
    };
    const Row rows[] = {
        {"set the text, the delegate", "textChanged", [](KivoMaskedTextField& f) { f.setText("12"); }},
        {"set the text, the event", "text", [](KivoMaskedTextField& f) { f.setText("12"); }},
        {"layout pass, the delegate", "rendered", [](KivoMaskedTextField& f) { f.layoutSubviews(); }},
        {"an edit, the event", "text",
         [](KivoMaskedTextField& f) {
             f.replaceRange({1, 0}, "5");
         }},
        {"an edit, the delegate", "textChanged",
         [](KivoMaskedTextField& f) {
             f.replaceRange({0, 0}, "12");
         }},
        {"a paste, the event", "text",
         [](KivoMaskedTextField& f) {
             plat::Pasteboard::general().setString("5551234567");
             f.paste();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::shared_ptr<KivoMaskedTextField> made = makeField();
        made->setMask(std::string(Phone));
        ASSERT_TRUE(made->becomeFirstResponder());
        std::weak_ptr<KivoMaskedTextField> weak = made;
        const std::string dropIn = row.dropIn;
        const auto drop = [&] {
            if (auto f = std::exchange(made, nullptr)) f->removeFromSuperview();
        };
        made->setStrongDelegate(std::make_shared<DroppingMaskDelegate>(dropIn, drop));
        if (dropIn == "text")
            made->textChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { drop(); }, nullptr);
        if (dropIn == "text") made->setStrongDelegate(nullptr);
        KivoMaskedTextField& control = *made;
        row.call(control);
        EXPECT_TRUE(weak.expired());
    }
}

}  // namespace
