// JPEG decoding through libjpeg. Its fatal errors longjmp back into decodeRows(), which holds only
// trivially destructible locals, so no C++ object is skipped by the jump.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "Platform/graphics/image.h"

namespace plat {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onFatalError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings are not printed

// Fills `target` (allocated by `allocate` once the size is known). Returns false on any error.
template <class Allocate>
bool decodeRows(const std::uint8_t* data, std::size_t size, Allocate& allocate) {
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onFatalError;
    err.base.output_message = onMessage;
    std::uint8_t* volatile row = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete[] row;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::uint32_t* px = allocate(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!px) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    row = new std::uint8_t[static_cast<std::size_t>(info.output_width) * info.output_components];
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row};
        std::uint32_t y = info.output_scanline;
        jpeg_read_scanlines(&info, rows, 1);
        std::uint32_t* out = px + static_cast<std::size_t>(y) * info.output_width;
        for (std::uint32_t x = 0; x < info.output_width; ++x) {
            const std::uint8_t* s = row + x * info.output_components;
            out[x] = 0xff000000u | (std::uint32_t(s[0]) << 16) | (std::uint32_t(s[1]) << 8) | s[2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete[] row;
    return true;
}

}  // namespace

std::shared_ptr<Image> Image::decodeJPEG(std::span<const std::uint8_t> bytes, double scale) {
    if (bytes.size() < 4) return nullptr;
    std::shared_ptr<Image> out;
    auto allocate = [&](int w, int h) -> std::uint32_t* {
        if (w <= 0 || h <= 0 || w > MaxPixelSide || h > MaxPixelSide) return nullptr;
        out = std::make_shared<Image>(w, h, scale);
        return out->data();
    };
    if (!decodeRows(bytes.data(), bytes.size(), allocate)) return nullptr;
    return out;
}

}  // namespace plat
