#pragma once
// One level of a recursive walk over values (equality, description, key reads mapped over arrays):
// it knows whether the walk is already inside the same container further up (a cycle) and whether
// it has gone past MaxNestingDepth, so that such a value ends the walk instead of the stack.

#include <cstdint>
#include <vector>

#include "Platform/foundation/value.h"

namespace plat::detail {

enum class Walk : std::uint8_t { Equality, Description, KeyRead };

class NestingGuard {
public:
    // `a` is the container entered; equality enters a pair and passes the other one as `b`.
    NestingGuard(Walk walk, const void* a, const void* b = nullptr) {
        auto& entries = path();
        for (const Entry& e : entries)
            if (e.walk == walk && e.a == a && e.b == b) _cycle = true;
        _tooDeep = entries.size() >= static_cast<std::size_t>(MaxNestingDepth);
        entries.push_back({walk, a, b});
    }
    ~NestingGuard() { path().pop_back(); }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

    // The same walk is already inside this container (or pair) further up.
    bool isCycle() const { return _cycle; }
    bool isTooDeep() const { return _tooDeep; }

private:
    struct Entry {
        Walk walk;
        const void* a;
        const void* b;
    };
    static std::vector<Entry>& path() {
        thread_local std::vector<Entry> entries;
        return entries;
    }

    bool _cycle = false;
    bool _tooDeep = false;
};

}  // namespace plat::detail
