#include <memory>

#include "Platform/ui/key_command.h"
#include "Platform/ui/window.h"

namespace plat {

namespace {

// Presses that type text: something other than a named key, without the command-like modifiers.
bool typesText(const KeyPress& key) {
    if (key.input.empty() || (key.modifierFlags & (KeyModifierCommand | KeyModifierControl))) return false;
    if (key.input == KeyInputBackspace || key.input == KeyInputEscape || key.input == KeyInputReturn) return false;
    for (auto name : {KeyInputUpArrow, KeyInputDownArrow, KeyInputLeftArrow, KeyInputRightArrow}) {
        if (key.input == name) return false;
    }
    return true;
}

}  // namespace

bool Window::pressKey(std::string_view input, unsigned modifierFlags) {
    auto keep = sharedAs<Window>();
    const KeyPress key{std::string(input), modifierFlags};
    std::shared_ptr<Responder> start = firstResponder();
    if (!start) start = keep;

    for (auto r = start; r; r = r->nextResponder()) {
        for (const auto& command : r->keyCommands()) {
            if (command && command->matches(key)) {
                command->perform();
                return true;
            }
        }
    }
    for (auto r = start; r; r = r->nextResponder()) {
        if (r->pressKey(key)) return true;
    }
    auto* text = dynamic_cast<KeyInput*>(firstResponder().get());
    if (!text) return false;
    if (key.input == KeyInputBackspace && !(modifierFlags & (KeyModifierCommand | KeyModifierControl))) {
        text->deleteBackward();
        return true;
    }
    if (!typesText(key)) return false;
    text->insertText(key.input);
    return true;
}

bool Window::insertText(std::string_view text) {
    auto responder = firstResponder();
    auto* input = dynamic_cast<KeyInput*>(responder.get());
    if (!input || text.empty()) return false;
    input->insertText(text);
    return true;
}

}  // namespace plat
