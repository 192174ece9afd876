#pragma once
// Internal: whether the Cairo backend hands clips to Cairo only when Cairo next draws (on by
// default). Tests turn it off to have every clip and restore reach Cairo at once and compare pixels.
// This thread's setting.

namespace plat::detail {

bool& lazyClipsEnabled();

}  // namespace plat::detail
