#pragma once
// Cutting a cell's text down to what can show before it is laid out: laying out a text costs time in
// proportion to its length, and a cell may hold megabytes of which it shows a line.

#include <cstddef>
#include <string>
#include <string_view>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/font.h"

namespace kivo::detail {

// The most characters a cell lays out, whatever its size: past this a cell larger than any screen
// shows the beginning of its text and then nothing.
inline constexpr std::size_t LongestLaidOutText = 32 * 1024;

// The beginning of `text` of at most `characters` UTF-8 characters (code points).
std::string_view utf8Head(std::string_view text, std::size_t characters);
// The end of `text` of at most `characters` UTF-8 characters.
std::string_view utf8Tail(std::string_view text, std::size_t characters);
// An upper bound on the characters that a box of `size` shows in `font`: every character at the
// narrowest advance a text plausibly has, every line at the font's line height, with a character
// and a line to spare; never above LongestLaidOutText.
std::size_t shownCharacters(const plat::Size& size, const plat::Font& font);
// `text` itself when it holds no more than `characters`; else its beginning, or (`keepEnd`, for
// text truncated in its middle) its beginning and its end of `characters` each.
std::string cutText(std::string text, std::size_t characters, bool keepEnd);

}  // namespace kivo::detail
