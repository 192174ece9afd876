#pragma once
// A display link: a callback on the main run loop at every frame of a 60 Hz display, with frame times
// on plat::Clock (frame n falls on the first tick at or after n/60 s since 1970, so frames are
// reproducible under a virtual clock).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/runtime/ticks.h"

namespace plat {

class RunLoop;

class PLAT_EXPORT DisplayLink : public std::enable_shared_from_this<DisplayLink> {
public:
    static constexpr double FramesPerSecond = 60;

    // The callback receives the link and the tick's timestamp (the frame time, seconds on the clock).
    using Callback = std::function<void(DisplayLink& link, double timestamp)>;
    static std::shared_ptr<DisplayLink> create(Callback callback);

    // While on the run loop, the loop keeps the link; it first ticks at the next frame.
    void addToRunLoop(RunLoop& loop);
    void removeFromRunLoop(RunLoop& loop);
    // Stops the link for good and lets go of its callback; safe inside the callback.
    void invalidate();
    bool isValid() const { return _valid.load(std::memory_order_acquire); }

    // A paused link stays on the run loop without ticking; resumed, it ticks from the next frame on.
    bool isPaused() const;
    void setPaused(bool paused);

    double timestamp() const;      // the last tick's frame time (0 before the first tick)
    Ticks timestampTicks() const;  // the same moment in ticks, exact (0 before the first tick)
    double targetTimestamp() const { return timestamp() + duration(); }
    double duration() const { return 1 / FramesPerSecond; }

    explicit DisplayLink(Callback callback);  // use create()

    // ---- For the run loop only ----
    // What the loop keeps on the link, guarded by the runtime lock.
    struct LoopEntry {
        std::shared_ptr<const Callback> callback;
        std::int64_t nextFrame = 0;  // frame index, counted from 1970
        Ticks timestamp{0};
        std::uint64_t order = 0;
        bool added = false;
        bool paused = false;
    };
    LoopEntry& loopEntry(Passkey<RunLoop>) { return _entry; }
    // Invalidates the link as the loop drops it, with the runtime lock held; answers the callback for
    // the loop to let go of after unlocking.
    std::shared_ptr<const Callback> discardLocked(Passkey<RunLoop>);

private:
    std::atomic<bool> _valid{true};
    LoopEntry _entry;
};

}  // namespace plat
