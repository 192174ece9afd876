#pragma once
// The decoders behind IncrementalImageSource: each takes the bytes of one image as they come and
// fills the pixels of an image it makes once the header gives the size.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "Platform/graphics/image.h"

namespace plat::detail {

class ProgressiveDecoder {
public:
    virtual ~ProgressiveDecoder() = default;

    // Decodes what `bytes` allows; keeps whatever it cannot use yet. False once the data is found
    // broken or too large (error() says why); the decoder then takes nothing more.
    virtual bool feed(std::span<const std::uint8_t> bytes) = 0;
    // The last bytes have arrived: a decoder that waited for all of them decodes them now.
    virtual void finish() {}
    bool isComplete() const { return _complete; }
    bool hasFailed() const { return !_error.empty(); }
    const std::string& error() const { return _error; }
    // The image being filled (null before the header); rowsDone() counts decoding progress.
    const std::shared_ptr<Image>& image() const { return _image; }
    std::uint64_t progress() const { return _progress; }

protected:
    // False, with the reason kept, when the pixel budget refuses the size; logs as the one-shot
    // decoders do. `what` names the format.
    bool allocate(std::uint32_t width, std::uint32_t height, double scale, const char* what);
    void fail(std::string reason) {
        if (_error.empty()) _error = reason.empty() ? std::string("broken image data") : std::move(reason);
    }

    std::shared_ptr<Image> _image;
    std::uint64_t _progress = 0;
    bool _complete = false;

private:
    std::string _error;
};

std::unique_ptr<ProgressiveDecoder> makePngDecoder(double scale);
std::unique_ptr<ProgressiveDecoder> makeJpegDecoder(double scale);

// Premultiplies one 8-bit RGBA pixel into the image's ARGB32 word.
inline std::uint32_t premultipliedPixel(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    auto pm = [a](std::uint32_t v) { return (v * a + 127) / 255; };
    return (a << 24) | (pm(r) << 16) | (pm(g) << 8) | pm(b);
}

}  // namespace plat::detail
