#pragma once
// A single-line editable text: text with a selection (UTF-16 positions), placeholder, font, colour
// and alignment, a border style. Tapping it or becoming first responder starts editing (the keyboard
// shows); typed text, backspace, arrow keys, select all, cut, copy and paste edit it, each change
// first offered to the delegate, which may refuse it. It draws its text, caret and selection.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/utf16.h"
#include "Platform/graphics/text.h"
#include "Platform/ui/control.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/text_editing_model.h"

namespace plat {

class TextField;
namespace detail {
struct TextFieldAccess;
}

// Posted to the default centre with the field as object.
inline constexpr std::string_view TextFieldTextDidBeginEditingNotification = "TextFieldTextDidBeginEditingNotification";
inline constexpr std::string_view TextFieldTextDidChangeNotification = "TextFieldTextDidChangeNotification";
inline constexpr std::string_view TextFieldTextDidEndEditingNotification = "TextFieldTextDidEndEditingNotification";

// The platform's codes; other values pass through unchanged.
enum class TextBorderStyle : int { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class TextFieldViewMode : int { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };
enum class ContentVerticalAlignment : int { Center = 0, Top = 1, Bottom = 2, Fill = 3 };
enum class ReturnKeyType : int { Default = 0, Go = 1, Next = 4, Search = 6, Send = 7, Done = 9 };
enum class KeyboardType : int {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    EmailAddress = 7
};
enum class SpellCheckingType : int { Default = 0, No = 1, Yes = 2 };
enum class TextAutocorrectionType : int { Default = 0, No = 1, Yes = 2 };

// Optional hooks; the defaults allow everything and do nothing.
class PLAT_EXPORT TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) {}
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) {}
    // Asked before the user's edit replaces `range` (UTF-16 units) with `replacement`; false leaves
    // text and selection as they are. Programmatic setText is not offered.
    virtual bool shouldChangeCharactersInRange(TextField&, TextRange range, const std::string& replacement) { return true; }
    // The clear button was tapped; false keeps the text.
    virtual bool textFieldShouldClear(TextField&) { return true; }
    // The return key; the answer decides whether the field sends its end-on-exit actions.
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

class PLAT_EXPORT TextField : public Control, public KeyInput {
public:
    static std::shared_ptr<TextField> create(const Rect& frame = {});
    // The text as the field shows it: each line break (CR LF, LF or CR) of typed, pasted or set text
    // becomes one space.
    static std::string oneLine(std::string_view text);
    ~TextField() override;

    // ---- Text and selection ----
    std::string text() const { return _model.text(); }
    // Replaces the text without asking the delegate or sending change events; the caret goes to the end.
    void setText(std::string_view text);
    const std::string& placeholder() const { return _placeholder; }
    void setPlaceholder(std::string placeholder);
    // In UTF-16 units; clamped to the text.
    TextRange selectedRange() const { return _model.selectedRange(); }
    void setSelectedRange(TextRange range);
    const TextEditingModel& editingModel() const { return _model; }
    // Replaces a range as an edit of the user's would (the delegate may refuse; change events follow).
    // Answers whether it was applied.
    bool replaceRange(TextRange range, std::string_view replacement);

    // ---- Look ----
    const Font& font() const { return _font; }
    void setFont(const Font& font);
    const Color& textColor() const { return _textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return _alignment; }
    void setTextAlignment(TextAlignment alignment);
    TextBorderStyle borderStyle() const { return _borderStyle; }
    void setBorderStyle(TextBorderStyle style);
    ContentVerticalAlignment contentVerticalAlignment() const { return _verticalAlignment; }
    void setContentVerticalAlignment(ContentVerticalAlignment alignment);
    // Shows bullets in place of the characters and refuses to copy or cut; off by default.
    bool isSecureTextEntry() const { return _secure; }
    void setSecureTextEntry(bool secure);
    static constexpr Color PlaceholderColor = Color(0.78, 0.78, 0.8, 1);
    static constexpr Color BorderColor = Color(0.8, 0.8, 0.8, 1);
    static constexpr double CaretWidth = 2;
    static constexpr double SelectionAlpha = 0.25;
    static constexpr double RoundedCornerRadius = 5;
    // Space between the border and the text, by border style.
    static constexpr double BorderedTextInset = 7;
    static constexpr double PlainTextInset = 0;
    static constexpr double ClearButtonSize = 19;
    static constexpr Color ClearButtonColor = Color(0.78, 0.78, 0.8, 1);

    // ---- Input traits (kept for owners; this keyboard is always the same) ----
    ReturnKeyType returnKeyType() const { return _returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { _returnKeyType = type; }
    KeyboardType keyboardType() const { return _keyboardType; }
    void setKeyboardType(KeyboardType type) { _keyboardType = type; }
    SpellCheckingType spellCheckingType() const { return _spellChecking; }
    void setSpellCheckingType(SpellCheckingType type) { _spellChecking = type; }
    TextAutocorrectionType autocorrectionType() const { return _autocorrection; }
    void setAutocorrectionType(TextAutocorrectionType type) { _autocorrection = type; }
    // When the clear button (a grey disc with a cross at the right end) shows; it never shows over
    // an empty field. Tapping it empties the field if the delegate agrees.
    TextFieldViewMode clearButtonMode() const { return _clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode);
    // Shown in place of the keys, across the bottom of the screen at its own height (the keys' height
    // when it has none), and above them, while the field is editing. A change while editing shows
    // after reloadInputViews().
    const std::shared_ptr<View>& inputView() const { return _inputView; }
    void setInputView(std::shared_ptr<View> view) { _inputView = std::move(view); }
    const std::shared_ptr<View>& inputAccessoryView() const { return _inputAccessoryView; }
    void setInputAccessoryView(std::shared_ptr<View> view) { _inputAccessoryView = std::move(view); }
    // While editing: the keyboard takes the current input and accessory views (and tells its
    // observers of its new frame when they changed).
    void reloadInputViews();

    // ---- Editing ----
    bool isEditing() const { return _editing; }
    std::shared_ptr<TextFieldDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { _delegate = std::move(delegate); }

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    // KeyInput: typed text replaces the selection; backspace removes it or the character before the caret.
    bool hasText() const override { return _model.length() > 0; }
    void insertText(std::string_view text) override;
    void deleteBackward() override;
    // Arrows (Shift extends, Command goes to the ends), Command-A/C/X/V, return.
    bool pressKey(const KeyPress& key) override;

    void selectAll();
    // Copying and cutting put the selection on the general pasteboard as text; pasting replaces the
    // selection with the pasteboard's text (line breaks become spaces). Each answers whether it acted.
    bool copy();
    bool cut();
    bool paste();

    // ---- Geometry ----
    // Where the text is laid out, in bounds coordinates.
    virtual Rect textRectForBounds(const Rect& bounds) const;
    // Where the clear button sits, in bounds coordinates; empty while it is not shown.
    Rect clearButtonRect() const;
    // The caret's rectangle for a UTF-16 position, in bounds coordinates.
    Rect caretRectForPosition(std::int64_t position) const;
    // The caret position nearest to a point (bounds coordinates).
    std::int64_t closestPositionToPoint(Point point) const;

    void setEnabled(bool enabled) override;
    void drawRect(Context& context, const Rect& rect) override;
    void endTrackingWithTouch(const Touch* touch, const Event* event) override;

protected:
    explicit TextField(const Rect& frame);
    void firstResponderWasTaken() override;

private:
    friend struct detail::TextFieldAccess;

    PLAT_NO_EXPORT bool applyEdit(TextRange range, std::string replacement);
    PLAT_NO_EXPORT void selectionChanged();
    PLAT_NO_EXPORT void finishEditing();
    PLAT_NO_EXPORT void handleReturn();
    PLAT_NO_EXPORT bool showsClearButton() const;
    PLAT_NO_EXPORT void clear();
    PLAT_NO_EXPORT void post(std::string_view name);
    // Display geometry of the current text, laid out once per change of text, font or secure entry.
    PLAT_NO_EXPORT void textChanged();
    PLAT_NO_EXPORT void layOutText() const;
    PLAT_NO_EXPORT double widthUpTo(std::int64_t position) const;
    PLAT_NO_EXPORT std::int64_t positionAtWidth(double width) const;
    PLAT_NO_EXPORT double lineHeight() const;
    PLAT_NO_EXPORT Point textOrigin() const;
    PLAT_NO_EXPORT void scrollCaretIntoView();

    TextEditingModel _model;
    std::string _placeholder;
    Font _font = Font::system(17);
    Color _textColor = Color::black();
    TextAlignment _alignment = TextAlignment::Left;
    TextBorderStyle _borderStyle = TextBorderStyle::None;
    ContentVerticalAlignment _verticalAlignment = ContentVerticalAlignment::Center;
    bool _secure = false;
    ReturnKeyType _returnKeyType = ReturnKeyType::Default;
    KeyboardType _keyboardType = KeyboardType::Default;
    SpellCheckingType _spellChecking = SpellCheckingType::Default;
    TextAutocorrectionType _autocorrection = TextAutocorrectionType::Default;
    TextFieldViewMode _clearButtonMode = TextFieldViewMode::Never;
    std::shared_ptr<View> _inputView, _inputAccessoryView;
    bool _editing = false;
    // How far the text is scrolled left so that the caret stays in view while editing.
    double _scrollX = 0;
    // The laid-out text: what is shown (bullets in secure entry), and for each text position (UTF-16)
    // its byte in what is shown and the width before it. Valid while `_laidOut`.
    mutable bool _laidOut = false;
    mutable std::string _shown;
    mutable std::vector<std::size_t> _shownByte;
    mutable std::vector<double> _widthBefore;
    mutable std::size_t _layouts = 0;  // how often the text was laid out
    std::weak_ptr<TextFieldDelegate> _delegate;
};

}  // namespace plat
