// PNG decoding as bytes arrive, through libpng's progressive reader. libpng reports errors by
// longjmp back into feed(); the callbacks it runs on the way hold only trivially destructible locals,
// so no C++ object is skipped by the jump.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/progressive_decoder.h"

namespace plat::detail {

namespace {

constexpr std::size_t MessageSize = 160;

class PngDecoder : public ProgressiveDecoder {
public:
    explicit PngDecoder(double scale) : _scale(scale) {
        _png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
        if (_png) _info = png_create_info_struct(_png);
        if (!_png || !_info) {
            fail("out of memory for the PNG decoder");
            return;
        }
        png_set_progressive_read_fn(_png, this, onInfo, onRow, onEnd);
    }

    ~PngDecoder() override {
        if (_png) png_destroy_read_struct(&_png, _info ? &_info : nullptr, nullptr);
    }

    bool feed(std::span<const std::uint8_t> bytes) override {
        if (hasFailed()) return false;
        if (isComplete() || bytes.empty()) return true;
        if (setjmp(png_jmpbuf(_png))) {
            fail(_message);
            return false;
        }
        png_process_data(_png, _info, const_cast<png_bytep>(bytes.data()), bytes.size());
        return true;
    }

private:
    static PngDecoder& of(png_structp png) { return *static_cast<PngDecoder*>(png_get_progressive_ptr(png)); }

    static void onError(png_structp png, png_const_charp message) {
        auto* self = static_cast<PngDecoder*>(png_get_error_ptr(png));
        std::snprintf(self->_message, MessageSize, "broken PNG data: %s", message ? message : "");
        png_longjmp(png, 1);
    }
    static void onWarning(png_structp, png_const_charp) {}

    static void onInfo(png_structp png, png_infop info) {
        PngDecoder& self = of(png);
        const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
        // Every colour type and depth becomes 8-bit RGBA.
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
        self._passes = png_set_interlace_handling(png);
        if (!self.allocate(width, height, self._scale, "a PNG") || !self.keepRows(width, height)) {
            std::snprintf(self._message, MessageSize, "%s", self.error().c_str());
            png_longjmp(png, 1);
        }
        png_read_update_info(png, info);
    }

    // Interlaced images keep their RGBA rows between passes. No exception may cross libpng.
    bool keepRows(std::size_t width, std::size_t height) noexcept {
        if (_passes <= 1) return true;
        try {
            _rgba.assign(width * height * 4, 0);
            return true;
        } catch (...) {
            fail("out of memory for a PNG of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
            return false;
        }
    }

    static void onRow(png_structp png, png_bytep row, png_uint_32 y, int) {
        PngDecoder& self = of(png);
        if (!row || !self._image || y >= static_cast<png_uint_32>(self._image->pixelHeight())) return;
        const std::size_t width = static_cast<std::size_t>(self._image->pixelWidth());
        const std::uint8_t* rgba = row;
        if (self._passes > 1) {
            // Later passes fill in between the pixels of earlier ones.
            png_bytep kept = self._rgba.data() + y * width * 4;
            png_progressive_combine_row(png, kept, row);
            rgba = kept;
        }
        std::uint32_t* out = self._image->data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = rgba + x * 4;
            out[x] = premultipliedPixel(p[0], p[1], p[2], p[3]);
        }
        ++self._progress;
    }

    static void onEnd(png_structp png, png_infop) {
        PngDecoder& self = of(png);
        self._complete = true;
        self._rgba = {};
    }

    double _scale;
    png_structp _png = nullptr;
    png_infop _info = nullptr;
    int _passes = 1;
    std::vector<std::uint8_t> _rgba;  // interlaced images: the rows as earlier passes left them
    char _message[MessageSize] = {};
};

}  // namespace

std::unique_ptr<ProgressiveDecoder> makePngDecoder(double scale) { return std::make_unique<PngDecoder>(scale); }

}  // namespace plat::detail
