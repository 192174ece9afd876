#pragma once
// Internal: premultiplied ARGB32 arithmetic as Pixman does it, so that pixels written straight into an
// image are the very ones Cairo would have painted.

#include <cstdint>

namespace plat::detail {

// Every channel of a premultiplied pixel times `factor` / 255 (rounded), two channels at a time.
inline std::uint32_t scaled(std::uint32_t pixel, std::uint32_t factor) {
    constexpr std::uint32_t Low = 0x00ff00ffu, Half = 0x00800080u;
    std::uint32_t rb = (pixel & Low) * factor + Half;
    rb = ((rb + ((rb >> 8) & Low)) >> 8) & Low;
    std::uint32_t ag = ((pixel >> 8) & Low) * factor + Half;
    ag = (ag + ((ag >> 8) & Low)) & ~Low;
    return rb | ag;
}

// Premultiplied source over destination. Without branches: an opaque source keeps none of the
// destination (scaled by 0 is 0) and a clear one all of it (scaled by 255 is the pixel itself), so a
// row of a stamp is blended in vector steps.
inline std::uint32_t over(std::uint32_t src, std::uint32_t dst) { return src + scaled(dst, 255 - (src >> 24)); }

}  // namespace plat::detail
