#pragma once
// Private: the bound on the collators kept for reuse, and their count, for tests.

#include <cstddef>

#include "Platform/PlatformExport.h"

namespace plat::detail {

inline constexpr std::size_t MaxCachedCollators = 32;
PLAT_EXPORT std::size_t collatorCacheSize();

}  // namespace plat::detail
