#include "Platform/graphics/incremental_image_source.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Platform/foundation/log.h"
#include "Platform/graphics/image.h"
#include "graphics/progressive_decoder.h"

namespace plat {

namespace detail {

bool ProgressiveDecoder::allocate(std::uint32_t width, std::uint32_t height, double scale, const char* what) {
    if (width == 0 || height == 0) {
        fail(std::string(what) + " of no pixels");
        return false;
    }
    if (auto refusal = Image::sizeRefusal(width, height)) {
        fail(std::string("image refused: ") + what + " of " + *refusal);
        log("Image refused: " + std::string(what) + " of " + *refusal);
        return false;
    }
    try {
        _image = std::make_shared<Image>(static_cast<int>(width), static_cast<int>(height), scale);
    } catch (const std::bad_alloc&) {
        _image.reset();
        fail(std::string("out of memory for ") + what);
        return false;
    }
    return true;
}

}  // namespace detail

namespace {

constexpr std::uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
constexpr std::uint8_t JpegSignature[] = {0xff, 0xd8, 0xff};

// Whether `head` can still begin `signature` (a prefix either way).
bool mayBegin(std::span<const std::uint8_t> head, std::span<const std::uint8_t> signature) {
    const std::size_t n = std::min(head.size(), signature.size());
    return std::equal(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(n), signature.begin());
}

}  // namespace

struct IncrementalImageSource::Impl {
    double scale = 1;
    std::unique_ptr<detail::ProgressiveDecoder> decoder;
    std::vector<std::uint8_t> head;  // the first bytes, until they tell the format
    std::size_t seen = 0;            // bytes taken so far
    std::string error;
    bool failed = false;
    bool final = false;
    // The last copy handed out, and the progress it shows.
    mutable std::shared_ptr<Image> copy;
    mutable std::uint64_t copyProgress = 0;

    void failWith(std::string reason) {
        if (failed) return;
        failed = true;
        error = std::move(reason);
    }

    void feed(std::span<const std::uint8_t> bytes) {
        if (failed || final) return;
        seen += bytes.size();
        if (!decoder) {
            head.insert(head.end(), bytes.begin(), bytes.end());
            if (mayBegin(head, PngSignature) && head.size() >= sizeof PngSignature)
                decoder = detail::makePngDecoder(scale);
            else if (mayBegin(head, JpegSignature) && head.size() >= sizeof JpegSignature)
                decoder = detail::makeJpegDecoder(scale);
            else if (!mayBegin(head, PngSignature) && !mayBegin(head, JpegSignature))
                return failWith("not a PNG or JPEG image");
            if (!decoder) return;
            bytes = head;
        }
        if (!decoder->feed(bytes)) failWith(decoder->error());
        if (decoder) head = {};
    }

    void finish() {
        if (final) return;
        final = true;
        if (failed) return;
        if (decoder && !decoder->isComplete()) {
            decoder->finish();
            if (decoder->hasFailed()) return failWith(decoder->error());
        }
        if (!decoder || !decoder->isComplete()) failWith("the data ends before the image does");
    }
};

IncrementalImageSource::IncrementalImageSource(double scale) : _impl(std::make_unique<Impl>()) {
    _impl->scale = std::isfinite(scale) && scale > 0 ? scale : 1;
}

IncrementalImageSource::~IncrementalImageSource() = default;

void IncrementalImageSource::append(std::span<const std::uint8_t> bytes, bool final) {
    _impl->feed(bytes);
    if (final) _impl->finish();
}

void IncrementalImageSource::update(std::span<const std::uint8_t> allBytes, bool final) {
    if (allBytes.size() < _impl->seen) {
        const double scale = _impl->scale;
        _impl = std::make_unique<Impl>();
        _impl->scale = scale;
    }
    append(allBytes.subspan(_impl->seen), final);
}

IncrementalImageSource::Status IncrementalImageSource::status() const {
    if (_impl->failed) return Status::Failed;
    if (_impl->decoder && _impl->decoder->isComplete()) return Status::Complete;
    return _impl->decoder && _impl->decoder->image() ? Status::Incomplete : Status::WaitingForData;
}

const std::string& IncrementalImageSource::error() const { return _impl->error; }

int IncrementalImageSource::pixelWidth() const {
    const auto* image = _impl->decoder ? _impl->decoder->image().get() : nullptr;
    return image ? image->pixelWidth() : 0;
}

int IncrementalImageSource::pixelHeight() const {
    const auto* image = _impl->decoder ? _impl->decoder->image().get() : nullptr;
    return image ? image->pixelHeight() : 0;
}

std::shared_ptr<Image> IncrementalImageSource::image() const {
    if (!_impl->decoder || !_impl->decoder->image()) return nullptr;
    const std::uint64_t progress = _impl->decoder->progress();
    if (!_impl->copy || _impl->copyProgress != progress) {
        _impl->copy = std::make_shared<Image>(*_impl->decoder->image());
        _impl->copyProgress = progress;
    }
    return _impl->copy;
}

std::shared_ptr<Image> IncrementalImageSource::completeImage() const { return status() == Status::Complete ? image() : nullptr; }

}  // namespace plat
