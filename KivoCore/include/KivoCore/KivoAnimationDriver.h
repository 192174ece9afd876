#pragma once
// The one clock behind every animated control: a display link on the main run loop that waits out a
// start delay, runs for a duration and reports each frame's progress, eased by a curve, until the end.
//
// Timing is read from the link's integer ticks, so elapsed times carry no rounding drift and a test on
// a virtual clock sees the same frames every run. A duration or delay that is not finite, or a duration
// of zero or less, never hangs: the animation jumps to its end state at its first tick.

#include <functional>
#include <memory>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/runtime/ticks.h"

namespace plat {
class DisplayLink;
}  // namespace plat

class KivoAnimation;

class KIVO_CORE_EXPORT KivoAnimationDriver : public std::enable_shared_from_this<KivoAnimationDriver> {
public:
    struct Frame {
        double elapsed = 0;   // seconds since the first tick, the start delay included
        double fraction = 0;  // (elapsed - delay) / duration, held within 0…1
        double eased = 0;     // the curve at `fraction`; `fraction` itself when there is no curve
    };
    enum class End { Finished, Stopped };
    // Any handler may be empty. begin runs at the first tick; frame at every tick from the end of the
    // start delay on (the last with fraction 1); end once, last of all. A handler may stop this driver
    // or start another.
    struct Handlers {
        std::function<void()> begin;
        std::function<void(const Frame&)> frame;
        std::function<void(End)> end;
    };

    // Main thread only. Starts on the main run loop; the first tick comes at the next display frame, never inside this
    // call. The owner is held weakly: once it has gone, the link stops and no handler is called again.
    // An empty owner means none (the animation runs to its end). A negative delay counts as none.
    // The driver keeps itself alive until it ends; keep the answer only to stop it or ask about it.
    static std::shared_ptr<KivoAnimationDriver> start(std::weak_ptr<const void> owner, double duration, double startDelay,
                                                      KivoEasePtr easing, Handlers handlers);
    // The setting's duration, start delay and curve as they are now.
    static std::shared_ptr<KivoAnimationDriver> start(std::weak_ptr<const void> owner, const KivoAnimation& setting,
                                                      Handlers handlers);

    // A move timed from this call rather than from its first frame (a frame later), so that it eases
    // over exactly its duration: `step(t, last)` at every frame with the seconds since this call,
    // counted in the clock's integer ticks; `last` once t reaches the duration, or at the first frame
    // when the duration cannot be timed. No start delay, no curve. The step may stop the driver.
    static std::shared_ptr<KivoAnimationDriver> startFromNow(std::weak_ptr<const void> owner, double duration,
                                                             std::function<void(double t, bool last)> step);
    // Ends now with End::Stopped: the end handler runs once, no frame follows. No-op once ended.
    void stop();
    bool isRunning() const { return _running; }

    KivoAnimationDriver(const KivoAnimationDriver&) = delete;
    KivoAnimationDriver& operator=(const KivoAnimationDriver&) = delete;
    ~KivoAnimationDriver();

    // Use start().
    KivoAnimationDriver(plat::Passkey<KivoAnimationDriver>, std::weak_ptr<const void> owner, double duration, double startDelay,
                        KivoEasePtr easing, Handlers handlers);

private:
    KIVO_CORE_NO_EXPORT void tick(plat::Ticks now);
    KIVO_CORE_NO_EXPORT bool ownerGone() const;
    KIVO_CORE_NO_EXPORT void finish(End end);

    std::weak_ptr<const void> _owner;
    bool _hasOwner = false;
    double _duration = 0;
    double _delay = 0;
    bool _endsAtOnce = false;
    plat::Ticks _delayTicks{0};
    plat::Ticks _endTicks{0};  // delay plus duration, held within the range of ticks
    KivoEasePtr _easing;
    Handlers _handlers;
    std::shared_ptr<plat::DisplayLink> _link;
    plat::Ticks _firstTick{0};
    bool _begun = false;
    bool _running = true;
};
