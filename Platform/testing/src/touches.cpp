#include "Platform/testing/touches.h"

#include <algorithm>

#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"

namespace plat::testing {

Touches::Touches(std::shared_ptr<Window> window) : _window(std::move(window)) {}

void Touches::settle() { RunLoop::main().runUntilIdle(); }

Touches& Touches::wait(double seconds) {
    RunLoop::main().runFor(seconds);
    return *this;
}

Touches& Touches::down(Point location, int finger) {
    _window->touchDown(location, finger);
    settle();
    return *this;
}

Touches& Touches::move(Point location, int finger) {
    _window->touchMove(location, finger);
    settle();
    return *this;
}

Touches& Touches::up(int finger) {
    _window->touchUp(finger);
    settle();
    return *this;
}

Touches& Touches::cancel(int finger) {
    _window->touchCancel(finger);
    settle();
    return *this;
}

Touches& Touches::tap(Point location, int count) {
    for (int i = 0; i < std::max(1, count); ++i) {
        if (i > 0) wait(TapGap);
        down(location);
        wait(TapHold);
        up();
    }
    return *this;
}

Touches& Touches::drag(Point from, Point to, double duration, int steps) {
    steps = std::max(1, steps);
    down(from);
    for (int i = 1; i <= steps; ++i) {
        wait(duration / steps);
        const double f = static_cast<double>(i) / steps;
        move({from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f});
    }
    return up();
}

Touches& Touches::pinch(Point center, double startDistance, double endDistance, double duration, int steps) {
    steps = std::max(1, steps);
    auto fingers = [&](double d, TouchPhase phase) {
        return std::vector<Window::TouchInput>{{0, {center.x - d / 2, center.y}, phase},
                                               {1, {center.x + d / 2, center.y}, phase}};
    };
    _window->sendTouches(fingers(startDistance, TouchPhase::Began));
    settle();
    double d = startDistance;
    for (int i = 1; i <= steps; ++i) {
        wait(duration / steps);
        d = startDistance + (endDistance - startDistance) * static_cast<double>(i) / steps;
        _window->sendTouches(fingers(d, TouchPhase::Moved));
        settle();
    }
    _window->sendTouches(fingers(d, TouchPhase::Ended));
    settle();
    return *this;
}

Touches& Touches::longPress(Point location, double duration) {
    down(location);
    wait(duration);
    return up();
}

}  // namespace plat::testing
