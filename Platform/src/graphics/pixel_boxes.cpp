#include "graphics/pixel_boxes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "Platform/graphics/image.h"
#include "graphics/pixel_blend.h"

namespace plat::detail {

namespace {

// `pixel` over each of `count` pixels from `row` on, four at a time.
void blendPixels(std::uint32_t* row, std::size_t count, std::uint32_t pixel) {
    const Pixels4 src = {pixel, pixel, pixel, pixel};
    std::size_t x = 0;
    for (; x + 4 <= count; x += 4) {
        Pixels4 dst;
        std::memcpy(&dst, row + x, sizeof dst);
        dst = over4(src, dst);
        std::memcpy(row + x, &dst, sizeof dst);
    }
    for (; x < count; ++x) row[x] = over(pixel, row[x]);
}

std::optional<PixelBox> wholeBox(double left, double top, double right, double bottom) {
    const auto l = wholePixel(left), t = wholePixel(top), r = wholePixel(right), b = wholePixel(bottom);
    if (!l || !t || !r || !b) return std::nullopt;
    return PixelBox{*l, *t, *r, *b};
}

// A channel as Cairo keeps it (16 bits, rounded) and hands it to Pixman (the high byte).
std::uint32_t channelByte(double v) { return static_cast<std::uint32_t>(static_cast<std::uint16_t>(v * 65535.0 + 0.5)) >> 8; }

double limited(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }

}  // namespace

std::optional<int> wholePixel(double v) {
    if (!(std::fabs(v) < Image::MaxPixelSide * 2.0) || v != std::round(v)) return std::nullopt;
    return static_cast<int>(v);
}

std::optional<Rect> deviceRectangle(const Path& path, const AffineTransform& ctm) {
    using Verb = Path::Verb;
    const auto& verbs = path.verbs();
    const auto& pts = path.points();
    if (ctm.b != 0 || ctm.c != 0 || verbs.size() != 5 || pts.size() != 4 || verbs[0] != Verb::Move || verbs[4] != Verb::Close)
        return std::nullopt;
    for (std::size_t k = 1; k < 4; ++k)
        if (verbs[k] != Verb::Line) return std::nullopt;
    std::array<Point, 4> d{};
    for (std::size_t k = 0; k < 4; ++k) {
        d[k] = ctm.apply(pts[k]);
        if (!std::isfinite(d[k].x) || !std::isfinite(d[k].y)) return std::nullopt;
    }
    // Each side runs along one axis and the corners alternate: the first and third are opposite, and
    // so are the second and fourth, none of them the same point.
    for (std::size_t k = 0; k < 4; ++k) {
        const Point a = d[k], b = d[(k + 1) % 4];
        if ((a.x == b.x) == (a.y == b.y)) return std::nullopt;
    }
    if (d[0].x == d[2].x || d[0].y == d[2].y || d[1].x == d[3].x || d[1].y == d[3].y) return std::nullopt;
    const double left = std::min(d[0].x, d[2].x), right = std::max(d[0].x, d[2].x);
    const double top = std::min(d[0].y, d[2].y), bottom = std::max(d[0].y, d[2].y);
    return Rect{left, top, right - left, bottom - top};
}

std::optional<PixelBoxes> filledPixels(const Rect& r) {
    const auto box = wholeBox(r.x(), r.y(), r.maxX(), r.maxY());
    if (!box) return std::nullopt;
    PixelBoxes out;
    out.boxes[0] = *box;
    out.count = 1;
    return out;
}

std::optional<PixelBoxes> strokedPixels(const Rect& r, double deviceWidth) {
    if (!(deviceWidth > 0) || !(r.width() >= deviceWidth) || !(r.height() >= deviceWidth)) return std::nullopt;
    const double half = deviceWidth / 2;
    const auto outer = wholeBox(r.x() - half, r.y() - half, r.maxX() + half, r.maxY() + half);
    const auto inner = wholeBox(r.x() + half, r.y() + half, r.maxX() - half, r.maxY() - half);
    if (!outer || !inner) return std::nullopt;
    // The top and bottom bands the whole width, the sides between them: each pixel once.
    PixelBoxes out;
    out.boxes[0] = {outer->left, outer->top, outer->right, inner->top};
    out.boxes[1] = {outer->left, inner->bottom, outer->right, outer->bottom};
    out.boxes[2] = {outer->left, inner->top, inner->left, inner->bottom};
    out.boxes[3] = {inner->right, inner->top, outer->right, inner->bottom};
    out.count = 4;
    return out;
}

std::uint32_t solidPixel(const Color& colour) {
    const double a = limited(colour.a);
    return channelByte(a) << 24 | channelByte(limited(colour.r) * a) << 16 | channelByte(limited(colour.g) * a) << 8 |
           channelByte(limited(colour.b) * a);
}

void paintBoxes(Image& target, const PixelBoxes& boxes, const std::array<int, 4>& clip, std::uint32_t pixel) {
    const bool opaque = (pixel >> 24) == 0xffu;
    if (!opaque && pixel == 0) return;
    const auto stride = static_cast<std::size_t>(target.pixelWidth());
    for (int k = 0; k < boxes.count; ++k) {
        const PixelBox& b = boxes.boxes[static_cast<std::size_t>(k)];
        const int left = std::max({b.left, clip[0], 0}), right = std::min({b.right, clip[2], target.pixelWidth()});
        const int top = std::max({b.top, clip[1], 0}), bottom = std::min({b.bottom, clip[3], target.pixelHeight()});
        if (left >= right || top >= bottom) continue;
        std::uint32_t* pixels = target.data();
        if (opaque && left == 0 && right == target.pixelWidth()) {
            // Whole rows: one run.
            setPixels(pixels + static_cast<std::size_t>(top) * stride, static_cast<std::size_t>(bottom - top) * stride, pixel);
            continue;
        }
        for (int y = top; y < bottom; ++y) {
            std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
            if (opaque)
                setPixels(row + left, static_cast<std::size_t>(right - left), pixel);
            else
                blendPixels(row + left, static_cast<std::size_t>(right - left), pixel);
        }
    }
}

void setPixels(std::uint32_t* row, std::size_t count, std::uint32_t pixel) {
    const Pixels4 four = {pixel, pixel, pixel, pixel};
    std::size_t x = 0;
    for (; x + 4 <= count; x += 4) std::memcpy(row + x, &four, sizeof four);
    for (; x < count; ++x) row[x] = pixel;
}

void copyPixelRows(std::uint32_t* to, std::size_t toStride, const std::uint32_t* from, std::size_t fromStride, std::size_t width,
                   std::size_t rows) {
    for (std::size_t row = 0; row < rows; ++row)
        std::memcpy(to + row * toStride, from + row * fromStride, width * sizeof(std::uint32_t));
}

bool& pixelBoxesEnabled() {
    thread_local bool enabled = true;
    return enabled;
}

}  // namespace plat::detail
