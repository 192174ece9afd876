#include "Platform/runtime/async_semaphore.h"

#include <deque>
#include <mutex>
#include <string>

#include "Platform/foundation/log.h"
#include "Platform/runtime/dispatch.h"

namespace plat::dispatch {

struct AsyncSemaphore::State {
    mutable std::mutex mutex;
    long count = 0;
    std::deque<Work> parked;  // longest-parked first; never non-empty while count > 0
};

AsyncSemaphore::AsyncSemaphore(long count) : _state(std::make_shared<State>()) {
    if (count < 0) {
        log("AsyncSemaphore: a negative count (" + std::to_string(count) + ") is taken as 0");
        count = 0;
    }
    _state->count = count;
}

AsyncSemaphore::~AsyncSemaphore() = default;

void AsyncSemaphore::acquireAfter(double delaySeconds, Work work) {
    if (!work) return;
    // The delay ends on the main run loop: there the work takes a permit and runs, or parks.
    after(Queue::main(), delaySeconds, [weak = std::weak_ptr<State>(_state), work = std::move(work)]() mutable {
        const auto state = weak.lock();
        if (!state) return;
        {
            std::lock_guard lock(state->mutex);
            if (state->count == 0) {
                state->parked.push_back(std::move(work));
                return;
            }
            --state->count;
        }
        work();
    });
}

bool AsyncSemaphore::signal() {
    Work next;
    {
        std::lock_guard lock(_state->mutex);
        if (_state->parked.empty()) {
            ++_state->count;
            return false;
        }
        next = std::move(_state->parked.front());
        _state->parked.pop_front();
    }
    async(Queue::main(), std::move(next));
    return true;
}

long AsyncSemaphore::count() const {
    std::lock_guard lock(_state->mutex);
    return _state->count;
}

std::size_t AsyncSemaphore::parkedCount() const {
    std::lock_guard lock(_state->mutex);
    return _state->parked.size();
}

}  // namespace plat::dispatch
