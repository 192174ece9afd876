#include "ui/keyboard.h"

#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/screen.h"

namespace plat::detail {

namespace {

bool shown = false;
int handOvers = 0;
// Who the keyboard is up for: when that input is gone without ending its editing, the next input
// shows the keyboard afresh.
std::weak_ptr<void> holder;

void post(std::string_view name, const Rect& frame) {
    NotificationCenter::defaultCenter().post(std::string(name), {}, keyboardUserInfo(frame));
}

}  // namespace

KeyboardHandOver::KeyboardHandOver() { ++handOvers; }
KeyboardHandOver::~KeyboardHandOver() { --handOvers; }

Rect keyboardFrame() {
    const Rect screen = Screen::main().bounds();
    return {screen.x(), screen.maxY() - KeyboardHeight, screen.width(), KeyboardHeight};
}

void keyboardWanted(const std::shared_ptr<void>& input) {
    const bool up = shown && !holder.expired();
    holder = input;
    if (up) return;
    shown = true;
    const Rect frame = keyboardFrame();
    post(KeyboardWillShowNotification, frame);
    post(KeyboardDidShowNotification, frame);
}

void keyboardReleased() {
    if (!shown || handOvers > 0) return;
    shown = false;
    holder.reset();
    // Hidden, the keyboard rests just below the screen.
    const Rect frame = keyboardFrame().offsetBy(0, KeyboardHeight);
    post(KeyboardWillHideNotification, frame);
    post(KeyboardDidHideNotification, frame);
}

}  // namespace plat::detail
