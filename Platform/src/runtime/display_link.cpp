#include "Platform/runtime/display_link.h"

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "runtime/scheduler.h"

namespace plat {

DisplayLink::DisplayLink(Callback callback) : _entry{.callback = std::make_shared<const Callback>(std::move(callback))} {}

std::shared_ptr<DisplayLink> DisplayLink::create(Callback callback) { return std::make_shared<DisplayLink>(std::move(callback)); }

void DisplayLink::addToRunLoop(RunLoop& loop) {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    // A link added by the work of a virtual clock that has gone never ticks.
    if (!isValid() || _entry.added || scheduler.cancelledLocked()) return;
    loop.addLinkLocked({}, shared_from_this());
}

void DisplayLink::removeFromRunLoop(RunLoop& loop) {
    std::shared_ptr<DisplayLink> loopReference;  // let go after unlocking
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    if (_entry.added) loopReference = loop.takeLinkLocked({}, *this);
}

void DisplayLink::invalidate() {
    std::shared_ptr<const Callback> callback;  // both let go after unlocking
    std::shared_ptr<DisplayLink> loopReference;
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    _valid.store(false, std::memory_order_release);
    callback = std::move(_entry.callback);
    if (_entry.added) loopReference = RunLoop::main().takeLinkLocked({}, *this);
}

std::shared_ptr<const DisplayLink::Callback> DisplayLink::discardLocked(Passkey<RunLoop>) {
    _valid.store(false, std::memory_order_release);
    _entry.added = false;
    return std::move(_entry.callback);
}

bool DisplayLink::isPaused() const {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    return _entry.paused;
}

void DisplayLink::setPaused(bool paused) {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    RunLoop::main().setLinkPausedLocked({}, *this, paused);
}

double DisplayLink::timestamp() const { return secondsFromTicks(timestampTicks()); }

Ticks DisplayLink::timestampTicks() const {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    return _entry.timestamp;
}

}  // namespace plat
