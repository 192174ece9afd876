#include "Platform/foundation/process_cache.h"

#include <map>
#include <utility>
#include <vector>

namespace plat {

namespace {

struct Registry {
    std::mutex mutex;
    std::uint64_t next = 1;
    std::map<std::uint64_t, std::function<void()>> drops;
    std::vector<std::function<void()>> stateResets;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: caches unregister during static teardown
    return *r;
}

}  // namespace

ProcessCacheEntry::ProcessCacheEntry(std::function<void()> drop) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    _id = r.next++;
    r.drops.emplace(_id, std::move(drop));
}

ProcessCacheEntry::~ProcessCacheEntry() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.drops.erase(_id);
}

void addProcessStateReset(std::function<void()> reset) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.stateResets.push_back(std::move(reset));
}

void runProcessStateResets() {
    std::vector<std::function<void()>> resets;
    {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        resets = r.stateResets;
    }
    // Outside the lock: a reset may make something that registers a reset of its own.
    for (auto& reset : resets) reset();
}

void resetProcessCaches() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto& [id, drop] : r.drops) drop();
}

}  // namespace plat
