#pragma once
// The on-screen keyboard of the process: it shows while a responder that takes text is first
// responder, and the keyboard notifications tell observers when it comes and goes.

#include <memory>

#include "Platform/foundation/geometry.h"

namespace plat::detail {

// The keyboard's height across the bottom of the screen.
inline constexpr double KeyboardHeight = 216;

// Where the keyboard sits on the main screen when shown (screen coordinates).
Rect keyboardFrame();
// `input` became first responder: the keyboard shows unless it is up already.
void keyboardWanted(const std::shared_ptr<void>& input);
// The input that held the keyboard stopped editing: the keyboard hides, unless another input is
// taking over (inside a KeyboardHandOver).
void keyboardReleased();

// While one lives, an input is becoming first responder: the one it replaces leaves the keyboard up.
class KeyboardHandOver {
public:
    KeyboardHandOver();
    ~KeyboardHandOver();
    KeyboardHandOver(const KeyboardHandOver&) = delete;
    KeyboardHandOver& operator=(const KeyboardHandOver&) = delete;
};

}  // namespace plat::detail
