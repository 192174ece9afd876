#pragma once
// A token only `T` can make. A public member that takes Passkey<T> as its first argument can be
// called from `T` alone, which opens that one member to `T` instead of the whole class.

namespace plat {

template <class T>
class Passkey {
    friend T;
    // User-provided, so that `Passkey<T>{}` outside `T` is refused too.
    Passkey() {}
};

}  // namespace plat
