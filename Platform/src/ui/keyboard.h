#pragma once
// The on-screen keyboard of the process: it shows while a responder that takes text is first
// responder, and the keyboard notifications tell observers when it comes and goes. A responder's
// input view shows in place of the keys and its input accessory view above them (or above the input
// view); both sit in the responder's window, over everything else in it, and take its taps there. The
// notifications' end frame covers what shows: the keys or the input view, and the accessory.

#include <memory>

namespace plat {
class View;
}

namespace plat::detail {

// The keys' height across the bottom of the screen, and an input view's when it has none of its own.
inline constexpr double KeyboardHeight = 216;

// What an input shows with the keyboard; either may be null.
struct KeyboardViews {
    std::shared_ptr<View> input, accessory;
    friend bool operator==(const KeyboardViews&, const KeyboardViews&) = default;
};

// `input` became first responder (or asks again after changing its views): the keyboard shows with
// `views` unless it is up already with the same ones. A change of views while it is up posts the
// show notifications again with the new frame.
void keyboardWanted(const std::shared_ptr<View>& input, KeyboardViews views);
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
