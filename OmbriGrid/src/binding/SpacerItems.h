#pragma once
// Spacer items: an item whose description begins with "_KDEC_" binds an empty row of the height that
// follows the prefix.

#include <cstdint>
#include <optional>
#include <string_view>

#include "Platform/foundation/value.h"

namespace kivo::detail {

inline constexpr std::string_view SpacerPrefix = "_KDEC_";

// The spacer height that `text` asks for: every occurrence of the prefix taken out, the leading decimal
// integer of the rest (0 without digits, saturated at the 32-bit range); none without the prefix.
std::optional<std::int32_t> spacerHeightOfText(std::string_view text);

// The spacer height `item` asks for. Only texts and objects whose class describes itself can begin
// with the prefix: other values are never formatted.
std::optional<std::int32_t> spacerHeight(const plat::Value& item);

}  // namespace kivo::detail
