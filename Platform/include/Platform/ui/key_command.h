#pragma once
// Hardware-keyboard input: a key press (the characters it produces and the modifier keys held), the
// names of the keys that produce no text, and the key commands a responder offers, which the window
// matches against each press along the responder chain before any text input sees it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/object.h"

namespace plat {

// The platform's modifier bits.
enum KeyModifierFlags : unsigned {
    KeyModifierNone = 0,
    KeyModifierAlphaShift = 1u << 16,  // caps lock
    KeyModifierShift = 1u << 17,
    KeyModifierControl = 1u << 18,
    KeyModifierAlternate = 1u << 19,  // option
    KeyModifierCommand = 1u << 20,
    KeyModifierNumericPad = 1u << 21,
};

// Inputs of keys without text of their own. Return, tab and backspace are "\r", "\t" and "\b".
inline constexpr std::string_view KeyInputUpArrow = "UpArrow";
inline constexpr std::string_view KeyInputDownArrow = "DownArrow";
inline constexpr std::string_view KeyInputLeftArrow = "LeftArrow";
inline constexpr std::string_view KeyInputRightArrow = "RightArrow";
inline constexpr std::string_view KeyInputEscape = "\x1b";
inline constexpr std::string_view KeyInputReturn = "\r";
inline constexpr std::string_view KeyInputTab = "\t";
inline constexpr std::string_view KeyInputBackspace = "\b";

struct PLAT_EXPORT KeyPress {
    std::string input;
    unsigned modifierFlags = KeyModifierNone;
};

// A responder that takes typed text (a text field): the window hands it the text of key presses that
// no key command claimed, and backspaces.
class PLAT_EXPORT KeyInput {
public:
    virtual ~KeyInput() = default;
    virtual bool hasText() const = 0;
    virtual void insertText(std::string_view text) = 0;
    virtual void deleteBackward() = 0;
};

class PLAT_EXPORT KeyCommand : public Object {
public:
    using Action = std::function<void(const KeyCommand& command)>;

    // `input` is the key's text ("a", "\r") or one of the KeyInput names.
    static std::shared_ptr<KeyCommand> create(std::string input, unsigned modifierFlags, Action action, std::string title = {});

    const std::string& input() const { return _input; }
    unsigned modifierFlags() const { return _flags; }
    const std::string& discoverabilityTitle() const { return _title; }

    // The same input with the same modifiers; caps lock and the numeric-pad bit do not count, and
    // letters match either case.
    bool matches(const KeyPress& press) const;
    void perform() const;

private:
    KeyCommand(std::string input, unsigned flags, Action action, std::string title)
        : _input(std::move(input)), _flags(flags), _action(std::move(action)), _title(std::move(title)) {}

    std::string _input;
    unsigned _flags;
    Action _action;
    std::string _title;
};

}  // namespace plat
