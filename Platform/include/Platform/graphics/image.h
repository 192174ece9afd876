#pragma once
// A bitmap image: premultiplied ARGB32 pixels (one native-endian 32-bit word a pixel, alpha in the
// high byte) with a scale from points to pixels; PNG encoding and decoding, JPEG decoding.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"

namespace plat {

class Image {
public:
    // A transparent image of the given size in pixels (negative sizes count as 0).
    Image(int pixelWidth, int pixelHeight, double scale = 1);
    // An image of `size` points at `scale` (pixels rounded up).
    static std::shared_ptr<Image> create(Size size, double scale = 1);

    int pixelWidth() const { return _width; }
    int pixelHeight() const { return _height; }
    double scale() const { return _scale; }
    void setScale(double scale);
    // Size in points: pixels divided by the scale.
    Size size() const { return {_width / _scale, _height / _scale}; }
    bool isEmpty() const { return _width == 0 || _height == 0; }

    std::uint32_t* data() { return _pixels.data(); }
    const std::uint32_t* data() const { return _pixels.data(); }
    int strideBytes() const { return _width * 4; }
    std::uint32_t rawPixel(int x, int y) const { return _pixels[static_cast<std::size_t>(y) * _width + x]; }

    // Un-premultiplied colour of one pixel; out-of-range positions give the clear colour.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, const Color& c);
    void fill(const Color& c);

    // PNG bytes of the image (8-bit RGBA, un-premultiplied). Empty for an empty image.
    std::vector<std::uint8_t> encodePNG() const;
    bool writePNG(const std::string& path) const;

    // Decoders answer null for data that is not a whole image of their format.
    static std::shared_ptr<Image> decodePNG(std::span<const std::uint8_t> bytes, double scale = 1);
    static std::shared_ptr<Image> decodeJPEG(std::span<const std::uint8_t> bytes, double scale = 1);
    // PNG or JPEG by their signatures.
    static std::shared_ptr<Image> decode(std::span<const std::uint8_t> bytes, double scale = 1);
    static std::shared_ptr<Image> readFile(const std::string& path, double scale = 1);

private:
    // The largest side, in pixels, that creating or decoding an image allocates.
    static constexpr int MaxPixelSide = 32768;

    int _width = 0, _height = 0;
    double _scale = 1;
    std::vector<std::uint32_t> _pixels;
};

// Packs an un-premultiplied colour into a premultiplied ARGB32 word and back.
std::uint32_t premultipliedARGB(const Color& c);
Color unpremultiplied(std::uint32_t argb);

}  // namespace plat
