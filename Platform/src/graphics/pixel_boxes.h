#pragma once
// Internal: rectangles that cover whole device pixels, painted straight into an image's pixels. A
// grid draws a background and a frame for every cell it makes; through Cairo each is a path built,
// rasterised and composited, and a frame goes through the stroker besides, at many times the cost
// of writing the few pixels. Where the shape covers every pixel it touches wholly, Cairo's pixels
// are the solid colour over what was there, which is what is written here, with Cairo's rounding.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/path.h"

namespace plat {
class Image;
}

namespace plat::detail {

// Device pixels from left, top up to (not including) right, bottom.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Up to four boxes that do not overlap: a rectangle, or the frame a stroke of one makes.
struct PixelBoxes {
    std::array<PixelBox, 4> boxes{};
    int count = 0;
};

// The device pixel a coordinate falls on exactly, when it is a whole number an image's pixels can be at.
std::optional<int> wholePixel(double v);

// The rectangle `path` is (four distinct corners joined along the axes, closed), in device space under
// `ctm`, when the transform neither rotates nor skews; nullopt for any other shape.
std::optional<Rect> deviceRectangle(const Path& path, const AffineTransform& ctm);

// The pixels a fill of `deviceRect` covers, when its edges lie on whole pixels.
std::optional<PixelBoxes> filledPixels(const Rect& deviceRect);

// The pixels a stroke `deviceWidth` wide along `deviceRect`, mitred at its corners, covers, when
// every edge of the frame lies on whole pixels and the rectangle is no narrower than the stroke.
std::optional<PixelBoxes> strokedPixels(const Rect& deviceRect, double deviceWidth);

// The premultiplied pixel Cairo paints for a solid colour (its channels limited to 0…1).
std::uint32_t solidPixel(const Color& colour);

// Paints `pixel` over `boxes` in `target`, inside `clip` (left, top, right, bottom), as Cairo's
// OVER does; an opaque pixel replaces what was there.
void paintBoxes(Image& target, const PixelBoxes& boxes, const std::array<int, 4>& clip, std::uint32_t pixel);

// `count` pixels from `row` on set to `pixel`, sixteen bytes a store (a pixel a store is the slowest
// part of filling a cell).
// `rows` rows of `width` pixels copied from `from` to `to`, each buffer's rows `stride` pixels apart.
void copyPixelRows(std::uint32_t* to, std::size_t toStride, const std::uint32_t* from, std::size_t fromStride, std::size_t width,
                   std::size_t rows);
void setPixels(std::uint32_t* row, std::size_t count, std::uint32_t pixel);

// Whether the backend takes this way at all (on by default): tests turn it off to draw the same
// shapes through Cairo and compare the pixels. This thread's setting.
bool& pixelBoxesEnabled();

}  // namespace plat::detail
