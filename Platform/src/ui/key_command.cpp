#include "Platform/ui/key_command.h"

#include <cctype>

namespace plat {

namespace {

// Modifiers that say how a key was typed rather than which command it is.
constexpr unsigned IgnoredModifiers = KeyModifierAlphaShift | KeyModifierNumericPad;

bool sameInput(std::string_view a, std::string_view b) {
    if (a.size() == 1 && b.size() == 1) {
        return std::tolower(static_cast<unsigned char>(a[0])) == std::tolower(static_cast<unsigned char>(b[0]));
    }
    return a == b;
}

}  // namespace

std::shared_ptr<KeyCommand> KeyCommand::create(std::string input, unsigned modifierFlags, Action action, std::string title) {
    return std::shared_ptr<KeyCommand>(new KeyCommand(std::move(input), modifierFlags, std::move(action), std::move(title)));
}

bool KeyCommand::matches(const KeyPress& press) const {
    return (press.modifierFlags & ~IgnoredModifiers) == (_flags & ~IgnoredModifiers) && sameInput(press.input, _input);
}

void KeyCommand::perform() const {
    if (_action) _action(*this);
}

}  // namespace plat
