#include "Platform/runtime/dispatch.h"

#include <thread>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/timer.h"
#include "runtime/scheduler.h"
#include "runtime/tick_math.h"

namespace plat {

namespace {

// The library is loaded by the process's main thread, so this is the main thread's id.
const std::thread::id g_mainThread = std::this_thread::get_id();

int bucketOf(dispatch::Priority priority) {
    switch (priority) {
        case dispatch::Priority::High:
            return 0;
        case dispatch::Priority::Default:
            return 1;
        case dispatch::Priority::Low:
            return 2;
        case dispatch::Priority::Background:
            return 3;
    }
    return 1;
}

void sleepUntil(Ticks deadline) {
    auto& scheduler = detail::Scheduler::instance();
    std::unique_lock lock(scheduler.mutex);
    detail::Waiter w;
    w.deadline = deadline;
    scheduler.block(lock, w);
}

}  // namespace

bool isMainThread() { return std::this_thread::get_id() == g_mainThread; }

namespace dispatch {

Queue Queue::main() { return Queue(true, Priority::Default); }

Queue Queue::global(Priority priority) {
    switch (priority) {
        case Priority::High:
        case Priority::Default:
        case Priority::Low:
        case Priority::Background:
            return Queue(false, priority);
    }
    return global(static_cast<long>(priority));
}

Queue Queue::global(long code) {
    if (code > 0) return Queue(false, Priority::High);
    if (code == 0) return Queue(false, Priority::Default);
    if (code > INT16_MIN) return Queue(false, Priority::Low);
    return Queue(false, Priority::Background);
}

void async(const Queue& queue, Block block) {
    if (!block) return;
    if (queue.isMain()) {
        RunLoop::main().post(std::move(block));
    } else {
        detail::Scheduler::instance().enqueue(bucketOf(queue.priority()), std::move(block));
    }
}

void after(const Queue& queue, double delaySeconds, Block block) {
    if (!block) return;
    const Ticks delay = ticksFromSeconds(delaySeconds);
    if (delay <= Ticks(0)) {
        async(queue, std::move(block));
    } else if (queue.isMain()) {
        Timer::scheduled(delay, false, [block = std::move(block)](Timer&) { block(); });
    } else {
        detail::Scheduler::instance().enqueueAt(bucketOf(queue.priority()), detail::deadlineAfter(Clock::ticks(), delay),
                                                std::move(block));
    }
}

void sleepFor(double seconds) {
    if (!(seconds > 0)) return;
    sleepUntil(detail::deadlineAfter(Clock::ticks(), ticksFromSeconds(seconds)));
}

void once(OnceFlag& flag, const Block& block) {
    std::call_once(flag, [&] {
        if (block) block();
    });
}

}  // namespace dispatch
}  // namespace plat
