#pragma once
// Private, header only: a flag set for a scope and cleared when it ends, also when code run inside it
// throws. Used by the controls to mark a step in progress (a refresh, a header sort) that handlers
// called during it must be able to see.

namespace plat::detail {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : _flag(flag) { _flag = true; }
    ~ScopedFlag() { _flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& _flag;
};

}  // namespace plat::detail
