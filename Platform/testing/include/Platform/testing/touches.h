#pragma once
// Synthesised touches for tests: taps, presses, drags and pinches on a window, with the main run loop
// run (and so the virtual clock advanced) between the steps as a finger would take its time.

#include <memory>

#include "Platform/foundation/geometry.h"

namespace plat {
class Window;
}

namespace plat::testing {

class Touches {
public:
    // How long a finger rests between two events of a gesture.
    static constexpr double StepInterval = 0.02;
    // How long a tap is held, and the pause between the taps of a multiple tap.
    static constexpr double TapHold = 0.05;
    static constexpr double TapGap = 0.1;

    explicit Touches(std::shared_ptr<Window> window);

    // `count` quick taps at one place; the run loop then settles (no time passes after the last lift).
    Touches& tap(Point location, int count = 1);
    Touches& down(Point location, int finger = 0);
    Touches& move(Point location, int finger = 0);
    // Lifts the finger where it is.
    Touches& up(int finger = 0);
    Touches& cancel(int finger = 0);
    // Down at `from`, `steps` moves to `to` over `duration`, up.
    Touches& drag(Point from, Point to, double duration = 0.25, int steps = 10);
    // Two fingers about `center`, on a horizontal line, from `startDistance` apart to `endDistance`.
    Touches& pinch(Point center, double startDistance, double endDistance, double duration = 0.25, int steps = 10);
    // Down, held for `duration`, up.
    Touches& longPress(Point location, double duration = 1.0);
    // Lets `seconds` pass on the run loop.
    Touches& wait(double seconds);

private:
    void settle();
    std::shared_ptr<Window> _window;
};

}  // namespace plat::testing
