#pragma once
// Dispatch queues: the main queue (blocks run on the main run loop) and global queues by priority
// (blocks run on a pool of real threads), delayed dispatch measured on plat::Clock, sleeps that the
// virtual clock can see, and once-only initialisation.

#include <cstdint>
#include <functional>
#include <mutex>

#include "Platform/PlatformExport.h"

namespace plat {

// True on the process's main thread (the one that runs RunLoop::main()).
PLAT_EXPORT bool isMainThread();

namespace dispatch {

using Block = std::function<void()>;

// The platform's priority codes; other codes fall into the nearest of the four.
enum class Priority : std::int32_t { High = 2, Default = 0, Low = -2, Background = INT16_MIN };

// A handle on one queue; cheap to copy and compare.
class PLAT_EXPORT Queue {
public:
    static Queue main();
    static Queue global(Priority priority = Priority::Default);
    static Queue global(long priorityCode);

    bool isMain() const { return _main; }
    Priority priority() const { return _priority; }
    friend bool operator==(const Queue&, const Queue&) = default;

private:
    Queue(bool main, Priority priority) : _main(main), _priority(priority) {}
    bool _main;
    Priority _priority;
};

// Runs `block` later on `queue`. Safe from any thread; an empty block is ignored. A block that throws
// on a global queue is logged and the pool goes on; on the main queue the exception leaves the run loop.
PLAT_EXPORT void async(const Queue& queue, Block block);
// Runs `block` on `queue` once `delaySeconds` have passed on plat::Clock (a negative or NaN delay is
// no delay; an infinite one never comes). On the main queue the delay is a one-shot timer on the main
// run loop; on a global queue the block waits in the pool's queue of delayed blocks, holding no
// worker, and is handed to the pool when it is due.
PLAT_EXPORT void after(const Queue& queue, double delaySeconds, Block block);

// Blocks the calling thread for `seconds` on plat::Clock. Under a virtual clock a background sleep
// ends when the main thread moves time past its end; a sleep on the main thread moves time itself
// (its run loop does not turn meanwhile, as with a real sleep).
PLAT_EXPORT void sleepFor(double seconds);

using OnceFlag = std::once_flag;
// Runs `block` the first time it is called with `flag`; later and concurrent callers wait for it.
PLAT_EXPORT void once(OnceFlag& flag, const Block& block);

}  // namespace dispatch
}  // namespace plat
