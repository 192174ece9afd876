// PNG through libpng's simplified API, which reports errors without longjmp through our frames.
#include <png.h>

#include <cstring>

#include "Platform/graphics/image.h"
#include "graphics/progressive_decoder.h"

namespace plat {

std::vector<std::uint8_t> Image::encodePNG() const {
    if (isEmpty()) return {};
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(_width) * _height * 4);
    for (std::size_t i = 0; i < _pixels.size(); ++i) {
        std::uint32_t p = _pixels[i];
        std::uint32_t a = p >> 24;
        auto comp = [&](int shift) -> std::uint8_t {
            std::uint32_t v = (p >> shift) & 0xff;
            if (a == 0) return 0;
            return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (v * 255 + a / 2) / a));
        };
        rgba[i * 4 + 0] = comp(16);
        rgba[i * 4 + 1] = comp(8);
        rgba[i * 4 + 2] = comp(0);
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(a);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(_width);
    image.height = static_cast<png_uint_32>(_height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    out.resize(size);
    return out;
}

std::shared_ptr<Image> Image::decodePNG(std::span<const std::uint8_t> bytes, double scale) {
    if (bytes.empty()) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return nullptr;
    image.format = PNG_FORMAT_RGBA;
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
