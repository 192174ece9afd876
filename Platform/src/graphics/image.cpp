#include "Platform/graphics/image.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "Platform/foundation/log.h"

namespace plat {

namespace {
int nonNegative(int v) { return v < 0 ? 0 : v; }
double validScale(double s) { return std::isfinite(s) && s > 0 ? s : 1.0; }

// Pixels for a length in points, rounded up; anything too large for an int64 stays too large.
std::int64_t pixelsFor(double points, double scale) {
    const double p = std::ceil(points * scale - 1e-9);
    if (!(p > 0)) return 0;  // negative, zero or not a number
    constexpr double Ceiling = 1e18;
    return static_cast<std::int64_t>(std::min(p, Ceiling));
}
}  // namespace

std::optional<std::string> Image::sizeRefusal(std::int64_t pixelWidth, std::int64_t pixelHeight) {
    const std::int64_t w = std::max<std::int64_t>(pixelWidth, 0), h = std::max<std::int64_t>(pixelHeight, 0);
    if (w > MaxPixelSide || h > MaxPixelSide)
        return std::to_string(w) + " x " + std::to_string(h) + " pixels is more than " + std::to_string(MaxPixelSide) +
               " pixels a side";
    // Both sides are small now, so the product cannot overflow.
    if (w * h > MaxPixelCount)
        return std::to_string(w) + " x " + std::to_string(h) + " pixels is more than the budget of " +
               std::to_string(MaxPixelCount) + " pixels";
    return std::nullopt;
}

bool Image::admitSize(std::int64_t pixelWidth, std::int64_t pixelHeight, const char* what) {
    auto refusal = sizeRefusal(pixelWidth, pixelHeight);
    if (!refusal) return true;
    log(std::string("Image refused: ") + what + " of " + *refusal);
    return false;
}

Image::Image(int pixelWidth, int pixelHeight, double scale) : Image(pixelWidth, pixelHeight, scale, Color::clear()) {}

Image::Image(int pixelWidth, int pixelHeight, double scale, const Color& background) : _scale(validScale(scale)) {
    const int w = nonNegative(pixelWidth), h = nonNegative(pixelHeight);
    if (!admitSize(w, h, "an image")) return;
    _width = w;
    _height = h;
    _pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), premultipliedARGB(background));
}

std::shared_ptr<Image> Image::create(Size size, double scale) { return create(size, scale, Color::clear()); }

std::optional<std::pair<int, int>> Image::admittedPixels(Size size, double scale) {
    scale = validScale(scale);
    const std::int64_t w = pixelsFor(size.width, scale), h = pixelsFor(size.height, scale);
    if (!admitSize(w, h, "an image")) return std::nullopt;
    return std::pair{static_cast<int>(w), static_cast<int>(h)};
}

std::shared_ptr<Image> Image::create(Size size, double scale, const Color& background) {
    const auto pixels = admittedPixels(size, scale);
    if (!pixels) return nullptr;
    return std::make_shared<Image>(pixels->first, pixels->second, scale, background);
}

void Image::setScale(double scale) { _scale = validScale(scale); }

std::uint32_t premultipliedARGB(const Color& color) {
    Color c = color.clamped();
    auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(v * 255.0)); };
    std::uint32_t a = byte(c.a);
    return (a << 24) | (byte(c.r * c.a) << 16) | (byte(c.g * c.a) << 8) | byte(c.b * c.a);
}

Color unpremultiplied(std::uint32_t argb) {
    double a = (argb >> 24) & 0xff;
    if (a == 0) return Color::clear();
    auto comp = [&](int shift) { return std::min(255.0, ((argb >> shift) & 0xff) * 255.0 / a) / 255.0; };
    return {comp(16), comp(8), comp(0), a / 255.0};
}

Color Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) return Color::clear();
    return unpremultiplied(rawPixel(x, y));
}

void Image::setPixel(int x, int y, const Color& c) {
    if (x < 0 || y < 0 || x >= _width || y >= _height) return;
    _opaque = false;
    _pixels[static_cast<std::size_t>(y) * _width + x] = premultipliedARGB(c);
}

void Image::fill(const Color& c) {
    _opaque = false;
    std::fill(_pixels.begin(), _pixels.end(), premultipliedARGB(c));
}

bool Image::writePNG(const std::string& path) const {
    auto bytes = encodePNG();
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::shared_ptr<Image> Image::decode(std::span<const std::uint8_t> bytes, double scale) {
    static constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    if (bytes.size() >= 8 && std::equal(bytes.begin(), bytes.begin() + 8, PngSignature)) return decodePNG(bytes, scale);
    if (bytes.size() >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff) return decodeJPEG(bytes, scale);
    return nullptr;
}

std::shared_ptr<Image> Image::readFile(const std::string& path, double scale) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes, scale);
}

}  // namespace plat
