#pragma once
// One container that a recursive walk over values (equality, description, key reads mapped over
// arrays) is inside, linked to the level that holds it: the chain, kept on the stack, is the walk's
// path from the top value. It tells the walk when it has come back into a container it is already
// inside (a cycle) or has gone past MaxNestingDepth, so such a value ends the walk, not the stack.

#include "Platform/foundation/value.h"

namespace plat::detail {

struct NestingLevel {
    // `a` is the container entered; equality walks two values side by side and enters a pair.
    NestingLevel(const void* a, const void* b, const NestingLevel* up) : a(a), b(b), up(up), depth(up ? up->depth + 1 : 1) {}

    bool isCycle() const {
        for (const NestingLevel* level = up; level; level = level->up)
            if (level->a == a && level->b == b) return true;
        return false;
    }
    bool isTooDeep() const { return depth > MaxNestingDepth; }

    const void* a;
    const void* b;
    const NestingLevel* up;
    int depth;
};

}  // namespace plat::detail
