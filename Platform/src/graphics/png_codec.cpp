// PNG through libpng's simplified API, which reports errors without longjmp through our frames.
#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "Platform/graphics/image.h"
#include "graphics/progressive_decoder.h"

namespace plat {

namespace {

// One colour channel of a premultiplied pixel back at full strength.
std::uint8_t unpremultiplied(std::uint32_t value, std::uint32_t alpha) {
    if (alpha == 255) return static_cast<std::uint8_t>(value);
    if (alpha == 0) return 0;
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (value * 255 + alpha / 2) / alpha));
}

}  // namespace

std::vector<std::uint8_t> Image::encodePNG() const {
    if (isEmpty()) return {};
    // An opaque picture is written without an alpha channel: a quarter less to compress and store.
    const bool opaque = std::all_of(_pixels.begin(), _pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xff; });
    const std::size_t channels = opaque ? 3 : 4;
    std::vector<std::uint8_t> rows(_pixels.size() * channels);
    std::uint8_t* out = rows.data();
    for (const std::uint32_t p : _pixels) {
        const std::uint32_t a = p >> 24;
        *out++ = unpremultiplied((p >> 16) & 0xff, a);
        *out++ = unpremultiplied((p >> 8) & 0xff, a);
        *out++ = unpremultiplied(p & 0xff, a);
        if (!opaque) *out++ = static_cast<std::uint8_t>(a);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(_width);
    image.height = static_cast<png_uint_32>(_height);
    image.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    // Compressed once, into room for the largest stream the rows can give (a little more than the
    // rows themselves), then cut to what was written.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!buffer || !png_image_write_to_memory(&image, buffer.get(), &size, 0, rows.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    return {buffer.get(), buffer.get() + size};
}

std::shared_ptr<Image> Image::decodePNG(std::span<const std::uint8_t> bytes, double scale) {
    if (bytes.empty()) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return nullptr;
    image.format = PNG_FORMAT_RGBA;
    // A 16-bit image without colour-space chunks holds sRGB values, as an 8-bit one does (and as the
    // incremental decoder reads it); the simplified reader would otherwise take them for linear light.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    // Only the header has been read: the claimed size is checked before any pixel memory is taken.
    if (image.width == 0 || image.height == 0 || !admitSize(image.width, image.height, "a PNG")) {
        png_image_free(&image);
        return nullptr;
    }
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    auto out = std::make_shared<Image>(static_cast<int>(image.width), static_cast<int>(image.height), scale);
    std::uint32_t* px = out->data();
    for (std::size_t i = 0, n = static_cast<std::size_t>(image.width) * image.height; i < n; ++i) {
        px[i] = detail::premultipliedPixel(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2], rgba[i * 4 + 3]);
    }
    return out;
}

}  // namespace plat
