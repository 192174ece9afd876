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

// Four pixels at a time in 16-bit lanes: a channel (at most 255) times a factor (at most 255) plus the
// rounding half fits in 16 bits, so each lane's product is the scalar one, without the 32-bit
// multiplies the vector unit lacks. The same arithmetic as scaled() and over(), so the same pixels.
using Pixels4 = std::uint32_t __attribute__((vector_size(16)));
using Lanes8 = std::uint16_t __attribute__((vector_size(16)));

inline Pixels4 scaled4(Pixels4 pixel, Pixels4 factor) {
    constexpr std::uint32_t Low = 0x00ff00ffu, Half = 0x00800080u;
    const Pixels4 both = factor | (factor << 16);
    Pixels4 rb = reinterpret_cast<Pixels4>(reinterpret_cast<Lanes8>(pixel & Low) * reinterpret_cast<Lanes8>(both)) + Half;
    rb = ((rb + ((rb >> 8) & Low)) >> 8) & Low;
    Pixels4 ag = reinterpret_cast<Pixels4>(reinterpret_cast<Lanes8>((pixel >> 8) & Low) * reinterpret_cast<Lanes8>(both)) + Half;
    ag = (ag + ((ag >> 8) & Low)) & ~Low;
    return rb | ag;
}

inline Pixels4 over4(Pixels4 src, Pixels4 dst) { return src + scaled4(dst, 255 - (src >> 24)); }

}  // namespace plat::detail
