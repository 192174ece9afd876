#pragma once
// A value made once per process from the process defaults (formatters in the current locale, say) and
// made again after resetProcessCaches(), so that a test, or a host that changes those defaults,
// starts from values of its own defaults.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "Platform/PlatformExport.h"

namespace plat {

// Drops the value of every ProcessCache; each is made again on its next use.
PLAT_EXPORT void resetProcessCaches();

// Process-wide state that a library keeps and its users may replace (a setting shared by every control
// of a kind): the library registers how to put it back to its first state. Test programs run every
// registered reset before each test (plat::testing::resetProcessState); nothing else does.
PLAT_EXPORT void addProcessStateReset(std::function<void()> reset);
PLAT_EXPORT void runProcessStateResets();

// A cache's place in the process's list of caches, from its construction to its destruction: while it
// holds one, resetProcessCaches() calls its `drop`. The part of ProcessCache that does not depend on T,
// so that the list itself stays inside the platform library.
class PLAT_EXPORT ProcessCacheEntry {
public:
    explicit ProcessCacheEntry(std::function<void()> drop);
    ~ProcessCacheEntry();
    ProcessCacheEntry(const ProcessCacheEntry&) = delete;
    ProcessCacheEntry& operator=(const ProcessCacheEntry&) = delete;

private:
    std::uint64_t _id;
};

// Meant for a function-local static. T is made by its default constructor on first use.
template <class T>
class ProcessCache {
public:
    ProcessCache() = default;
    ProcessCache(const ProcessCache&) = delete;
    ProcessCache& operator=(const ProcessCache&) = delete;

    // Shared, so that a reset while a caller still uses the value cannot pull it away.
    std::shared_ptr<const T> get() {
        std::lock_guard lock(_mutex);
        if (!_value) _value = std::make_shared<const T>();
        return _value;
    }

private:
    void drop() {
        std::shared_ptr<const T> old;
        std::lock_guard lock(_mutex);
        old.swap(_value);
    }

    std::mutex _mutex;
    std::shared_ptr<const T> _value;
    // Last, so that it leaves the list before the value and the mutex go.
    ProcessCacheEntry _entry{[this] { drop(); }};
};

}  // namespace plat
