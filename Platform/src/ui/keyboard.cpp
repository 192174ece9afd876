#include "ui/keyboard.h"

#include <algorithm>
#include <cmath>

#include "Platform/foundation/log.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/view.h"
#include "Platform/ui/window.h"

namespace plat::detail {

namespace {

struct Keyboard {
    bool shown = false;
    int handOvers = 0;
    // Who the keyboard is up for: when that input is gone without ending its editing, the next input
    // shows the keyboard afresh.
    std::weak_ptr<View> holder;
    KeyboardViews views;
    Rect frame;  // screen coordinates, of what shows or showed last
    // Holds the input and accessory views in the input's window while they show.
    std::shared_ptr<View> host;
};

void removeHost(Keyboard& k);

// Never destroyed: views may outlive the statics that they would need at their end. Between tests the
// keyboard goes down quietly, leaving nothing of a test's views up.
Keyboard& keyboard() {
    static Keyboard* k = [] {
        auto* made = new Keyboard;
        addProcessStateReset([made] {
            removeHost(*made);
            const int handOvers = made->handOvers;
            *made = Keyboard{};
            made->handOvers = handOvers;
        });
        return made;
    }();
    return *k;
}

void post(std::string_view name, const Rect& frame) {
    NotificationCenter::defaultCenter().post(std::string(name), {}, keyboardUserInfo(frame));
}

// A view's own height, kept to the screen; `fallback` when it has none.
double heightOf(const View& view, double fallback) {
    const double h = view.frame().height();
    if (!std::isfinite(h) || h <= 0) return fallback;
    return std::min(h, Screen::main().bounds().height());
}

// A view that holds its own input (or the window) cannot be shown by it: it is left out, logged.
KeyboardViews usable(const std::shared_ptr<View>& input, KeyboardViews views) {
    for (auto* slot : {&views.input, &views.accessory}) {
        auto& v = *slot;
        if (!v) continue;
        if (input->isDescendantOf(v.get()) || std::dynamic_pointer_cast<Window>(v)) {
            log("Keyboard: an input view or input accessory view that contains its own input is not shown");
            v.reset();
        }
    }
    if (views.accessory == views.input) views.accessory.reset();
    return views;
}

void removeHost(Keyboard& k) {
    if (!k.host) return;
    const auto shown = k.host->subviews();
    for (const auto& v : shown) v->removeFromSuperview();
    k.host->removeFromSuperview();
    k.host.reset();
}

// Lays the views out in the input's window, the accessory above the input view (or above the keys,
// which draw nothing here and leave their taps to the views below).
void placeViews(Keyboard& k, const std::shared_ptr<View>& input) {
    removeHost(k);
    const double keys = k.views.input ? heightOf(*k.views.input, KeyboardHeight) : KeyboardHeight;
    const double accessory = k.views.accessory ? heightOf(*k.views.accessory, 0) : 0;
    const Rect screen = Screen::main().bounds();
    const double total = std::min(keys + accessory, screen.height());
    k.frame = {screen.x(), screen.maxY() - total, screen.width(), total};
    auto window = input->window();
    if (!window || (!k.views.input && !k.views.accessory)) return;
    const double shownHeight = k.views.input ? total : std::min(accessory, total);
    k.host = View::create({window->convertPointFromScreen(k.frame.origin), Size{screen.width(), shownHeight}});
    if (k.views.accessory) {
        k.views.accessory->setFrame({0, 0, screen.width(), std::min(accessory, shownHeight)});
        k.host->addSubview(k.views.accessory);
    }
    if (k.views.input) {
        k.views.input->setFrame({0, shownHeight - std::min(keys, shownHeight), screen.width(), std::min(keys, shownHeight)});
        k.host->addSubview(k.views.input);
    }
    window->addSubview(k.host);
}

}  // namespace

KeyboardHandOver::KeyboardHandOver() { ++keyboard().handOvers; }
KeyboardHandOver::~KeyboardHandOver() { --keyboard().handOvers; }

void keyboardWanted(const std::shared_ptr<View>& input, KeyboardViews views) {
    if (!input) return;
    Keyboard& k = keyboard();
    views = usable(input, std::move(views));
    const bool up = k.shown && !k.holder.expired();
    const bool sameViews = views == k.views && (!k.host || k.host->window() == input->window());
    k.holder = input;
    if (up && sameViews) return;
    k.shown = true;
    k.views = std::move(views);
    placeViews(k, input);
    const Rect frame = k.frame;
    post(KeyboardWillShowNotification, frame);
    post(KeyboardDidShowNotification, frame);
}

void keyboardReleased() {
    Keyboard& k = keyboard();
    if (!k.shown || k.handOvers > 0) return;
    k.shown = false;
    k.holder.reset();
    // Hidden, the keyboard rests just below the screen.
    const Rect frame = k.frame.offsetBy(0, k.frame.height());
    removeHost(k);
    k.views = {};
    post(KeyboardWillHideNotification, frame);
    post(KeyboardDidHideNotification, frame);
}

}  // namespace plat::detail
