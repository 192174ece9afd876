#pragma once
// Private: the bound on the collators kept for reuse, and their count, for tests.

#include <cstddef>

namespace plat::detail {

inline constexpr std::size_t MaxCachedCollators = 32;
std::size_t collatorCacheSize();

}  // namespace plat::detail
