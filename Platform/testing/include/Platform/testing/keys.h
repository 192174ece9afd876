#pragma once
// Synthesised hardware-keyboard input for tests: key presses and typed text sent to a window, with the
// main run loop settled after each press as a typist would leave it.

#include <memory>
#include <string_view>

namespace plat {
class Window;
}

namespace plat::testing {

class Keys {
public:
    explicit Keys(std::shared_ptr<Window> window);

    // One press per character of `text` (UTF-8), without modifiers.
    Keys& type(std::string_view text);
    // One press of a key (its text or a KeyInput name) with modifier flags.
    Keys& press(std::string_view input, unsigned modifierFlags = 0);
    Keys& backspace(int count = 1);
    // Whether the window handled the latest press.
    bool handled() const { return _handled; }

private:
    std::shared_ptr<Window> _window;
    bool _handled = false;
};

}  // namespace plat::testing
