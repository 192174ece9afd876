// JPEG decoding through libjpeg. Its fatal errors longjmp back into decodeRows(), which holds only
// trivially destructible locals, so no C++ object is skipped by the jump.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "Platform/graphics/image.h"

namespace plat {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool truncated = false;
};

void onFatalError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

// Warnings are not printed. The one that matters says the data ran out: libjpeg then pads the rest
// of the image with grey and reports success, which would pass a cut-off file as a whole image.
void onMessage(j_common_ptr info, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && err->base.msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

// Fills the pixels that `allocate` hands out once the size is known. Returns false on any error
// and when the data ends before the image does.
template <class Allocate>
bool decodeRows(const std::uint8_t* data, std::size_t size, Allocate& allocate) {
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onFatalError;
    err.base.emit_message = onMessage;
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
    // The size is known from the header alone: it is checked before libjpeg or we take any pixel
    // memory (a progressive file makes libjpeg buffer the whole image in jpeg_start_decompress).
    jpeg_calc_output_dimensions(&info);
    std::uint32_t* px = allocate(info.output_width, info.output_height);
    if (!px) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
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
    return !err.truncated;
}

}  // namespace

std::shared_ptr<Image> Image::decodeJPEG(std::span<const std::uint8_t> bytes, double scale) {
    if (bytes.size() < 4) return nullptr;
    std::shared_ptr<Image> out;
    auto allocate = [&](std::uint32_t w, std::uint32_t h) -> std::uint32_t* {
        if (w == 0 || h == 0 || !admitSize(w, h, "a JPEG")) return nullptr;
        out = std::make_shared<Image>(static_cast<int>(w), static_cast<int>(h), scale);
        return out->data();
    };
    // The one-shot decoder answers whole images only: a file cut short is refused.
    if (!decodeRows(bytes.data(), bytes.size(), allocate)) return nullptr;
    return out;
}

}  // namespace plat
