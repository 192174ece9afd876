#pragma once
// Decodes a PNG or JPEG image while its bytes arrive (a download in progress): the rows decoded so
// far can be shown at any time, the whole image once the last byte is in. Sizes beyond the image
// pixel budget are refused as soon as the header tells them, before any pixel memory is taken.
// Use one source from one thread at a time.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "Platform/PlatformExport.h"

namespace plat {

class Image;

class PLAT_EXPORT IncrementalImageSource {
public:
    enum class Status {
        WaitingForData,  // not even the size is known yet
        Incomplete,      // the size is known and rows are arriving
        Complete,        // the whole image is decoded
        Failed,          // not a PNG or JPEG, broken, too large, or cut short: error() says which
    };

    // `scale` is the scale of the images it makes (pixels per point).
    explicit IncrementalImageSource(double scale = 1);
    ~IncrementalImageSource();
    IncrementalImageSource(const IncrementalImageSource&) = delete;
    IncrementalImageSource& operator=(const IncrementalImageSource&) = delete;

    // More bytes; `final` says no more will come, so an image not complete by then has failed.
    void append(std::span<const std::uint8_t> bytes, bool final = false);
    // All the bytes received so far, as a growing download buffer holds them: only those past what
    // the source has seen are read (the bytes it has seen are taken to be unchanged). A shorter
    // buffer starts the decoding over.
    void update(std::span<const std::uint8_t> allBytes, bool final = false);

    Status status() const;
    // Why the source failed; empty otherwise.
    const std::string& error() const;
    // Pixel size once the header is read, else 0.
    int pixelWidth() const;
    int pixelHeight() const;

    // The image so far: rows not yet decoded are transparent. Null before the size is known and
    // when the source failed before decoding anything. A copy, made again only after more rows came.
    std::shared_ptr<Image> image() const;
    // The whole image, only once complete.
    std::shared_ptr<Image> completeImage() const;

private:
    struct Impl;
    std::unique_ptr<Impl> _impl;
};

}  // namespace plat
