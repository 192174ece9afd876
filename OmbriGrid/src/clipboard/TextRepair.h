#pragma once
// Texts made fit for where the clipboard sends them: well-formed UTF-8 for the pasteboard's flavours,
// which must carry the same cells, and a short excerpt for a log line.

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo::detail {

// Each ill-formed sequence (a stray byte, a truncated or overlong encoding, a surrogate) becomes
// U+FFFD; a NUL is dropped. Well-formed text comes back as it was.
std::string wellFormedText(std::string text);

// At most `characters` code points of the text (cut on a character boundary, ill-formed bytes shown
// as U+FFFD), followed by "…" when something was cut.
std::string excerpt(std::string_view text, std::size_t characters);

}  // namespace kivo::detail
