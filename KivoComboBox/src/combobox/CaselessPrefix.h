#pragma once
// Whether a text begins with another ignoring case (accents count), and how much of it that
// beginning takes: the anchored, case-insensitive search that type-ahead completes with.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kivo::detail {

// The length, in UTF-16 units of `entry`, of the beginning of `entry` that equals `text` ignoring
// case; nullopt when `text` is empty or `entry` does not begin with it.
std::optional<std::int64_t> caselessPrefixLength(std::u16string_view text, std::u16string_view entry);

}  // namespace kivo::detail
