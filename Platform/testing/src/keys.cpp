#include "Platform/testing/keys.h"

#include <string>

#include "Platform/runtime/run_loop.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/window.h"

namespace plat::testing {

Keys::Keys(std::shared_ptr<Window> window) : _window(std::move(window)) {}

Keys& Keys::press(std::string_view input, unsigned modifierFlags) {
    _handled = _window->pressKey(input, modifierFlags);
    RunLoop::main().runUntilIdle();
    return *this;
}

Keys& Keys::type(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // A whole UTF-8 sequence is one character.
        std::size_t n = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        press(text.substr(i, n));
        i += n;
    }
    return *this;
}

Keys& Keys::backspace(int count) {
    for (int i = 0; i < count; ++i) press(KeyInputBackspace);
    return *this;
}

}  // namespace plat::testing
