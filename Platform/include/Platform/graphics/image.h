#pragma once
// A bitmap image: premultiplied ARGB32 pixels (one native-endian 32-bit word a pixel, alpha in the
// high byte) with a scale from points to pixels; PNG encoding and decoding, JPEG decoding.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/passkey.h"
#include "Platform/graphics/color.h"

namespace plat {

class CairoContext;
class ImageContext;

class PLAT_EXPORT Image {
public:
    // The largest side, in pixels, of any image: the largest that Cairo draws into or from.
    static constexpr int MaxPixelSide = 32767;
    // The most pixels an image may have (256 MiB of pixels). Creating or decoding anything larger
    // is refused before any memory is taken, so a small file claiming a huge size costs nothing.
    static constexpr std::int64_t MaxPixelCount = std::int64_t{1} << 26;
    static constexpr int BytesPerPixel = 4;

    // Why an image of this many pixels cannot be made (a side or the budget exceeded), or nullopt
    // when it can. Negative sizes are not refused here (they count as 0).
    static std::optional<std::string> sizeRefusal(std::int64_t pixelWidth, std::int64_t pixelHeight);

    // A transparent image of the given size in pixels (negative sizes count as 0). A size beyond
    // the limits above makes an empty image and logs why.
    Image(int pixelWidth, int pixelHeight, double scale = 1);
    // The same, every pixel of colour `background` (written once, not cleared first).
    Image(int pixelWidth, int pixelHeight, double scale, const Color& background);
    // An image of `size` points at `scale` (pixels rounded up), transparent or of `background`; null,
    // with the reason logged, when that is beyond the limits.
    static std::shared_ptr<Image> create(Size size, double scale = 1);
    static std::shared_ptr<Image> create(Size size, double scale, const Color& background);

    int pixelWidth() const { return _width; }
    int pixelHeight() const { return _height; }
    double scale() const { return _scale; }
    void setScale(double scale);
    // Size in points: pixels divided by the scale.
    Size size() const { return {_width / _scale, _height / _scale}; }
    bool isEmpty() const { return _width == 0 || _height == 0; }

    // Pixels changed through it may be of any alpha.
    std::uint32_t* data() {
        _opaque = false;
        return _pixels.data();
    }
    const std::uint32_t* data() const { return _pixels.data(); }
    // Bytes a row: the limits keep it well inside an int, as Cairo wants it.
    int strideBytes() const { return static_cast<int>(std::int64_t{_width} * BytesPerPixel); }
    std::size_t byteCount() const { return _pixels.size() * BytesPerPixel; }
    std::uint32_t rawPixel(int x, int y) const { return _pixels[static_cast<std::size_t>(y) * _width + x]; }

    // Un-premultiplied colour of one pixel; out-of-range positions give the clear colour.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, const Color& c);
    void fill(const Color& c);

    // PNG bytes of the image (8-bit RGBA, un-premultiplied). Empty for an empty image.
    std::vector<std::uint8_t> encodePNG() const;
    bool writePNG(const std::string& path) const;

    // Decoders answer null for data that is not a whole image of their format (a file cut short
    // included) and, with the reason logged, for one that claims a size beyond the limits.
    static std::shared_ptr<Image> decodePNG(std::span<const std::uint8_t> bytes, double scale = 1);
    static std::shared_ptr<Image> decodeJPEG(std::span<const std::uint8_t> bytes, double scale = 1);
    // PNG or JPEG by their signatures.
    static std::shared_ptr<Image> decode(std::span<const std::uint8_t> bytes, double scale = 1);
    static std::shared_ptr<Image> readFile(const std::string& path, double scale = 1);

    // Image contexts make their images over pixels they keep from images let go of, and know when
    // every pixel of one is opaque; the Cairo context copies such an image without looking.
    PLAT_NO_EXPORT static std::optional<std::pair<int, int>> admittedPixels(Passkey<ImageContext>, Size size, double scale) {
        return admittedPixels(size, scale);
    }
    // Makes this (empty) image `width` × `height` pixels over `pixels`, which hold that many.
    PLAT_NO_EXPORT void adoptPixels(Passkey<ImageContext>, int width, int height, std::vector<std::uint32_t>&& pixels) {
        _width = width;
        _height = height;
        _pixels = std::move(pixels);
    }
    PLAT_NO_EXPORT std::vector<std::uint32_t> takePixels(Passkey<ImageContext>) { return std::move(_pixels); }
    PLAT_NO_EXPORT void markOpaque(Passkey<ImageContext>) { _opaque = true; }
    PLAT_NO_EXPORT bool knownOpaque(Passkey<CairoContext>) const { return _opaque; }

private:
    // Logs and answers false when an image of that size may not be made; `what` names the source.
    PLAT_NO_EXPORT static bool admitSize(std::int64_t pixelWidth, std::int64_t pixelHeight, const char* what);
    // The pixels across and down of an image of `size` points at `scale`; nullopt, logged, when that
    // is beyond the limits.
    PLAT_NO_EXPORT static std::optional<std::pair<int, int>> admittedPixels(Size size, double scale);

    int _width = 0, _height = 0;
    double _scale = 1;
    std::vector<std::uint32_t> _pixels;
    // Known to have every pixel opaque (false: not known either way).
    bool _opaque = false;
};

// Packs an un-premultiplied colour into a premultiplied ARGB32 word and back.
PLAT_EXPORT std::uint32_t premultipliedARGB(const Color& c);
PLAT_EXPORT Color unpremultiplied(std::uint32_t argb);

}  // namespace plat
