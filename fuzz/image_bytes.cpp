// Image bytes from outside through the platform's image loading: the whole-buffer decoder and the
// incremental source fed the same bytes in chunks. When the decoder makes an image, the incremental
// source decodes the same pixels, and the image survives a PNG round trip at its size (and
// exactly where it is opaque); when the decoder refuses, the incremental source does not complete.
#include <algorithm>
#include <span>

#include "Platform/graphics/image.h"
#include "Platform/graphics/incremental_image_source.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 64;  // the rest is the image
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const auto decoded = plat::Image::decode(bytes);

    plat::IncrementalImageSource source;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) source.append(bytes.subspan(at, std::min(chunk, bytes.size() - at)));
    source.append({}, true);
    const auto complete = source.completeImage();
    if (!decoded) {
        if (complete) fuzz::fail("bytes the decoder refuses do not complete incrementally", source.error());
        return 0;
    }
    if (decoded->byteCount() != std::size_t(decoded->pixelWidth()) * std::size_t(decoded->pixelHeight()) * 4)
        fuzz::fail("an image holds its pixels",
                   std::to_string(decoded->pixelWidth()) + "x" + std::to_string(decoded->pixelHeight()));
    // The incremental source checks what follows the image data (a broken IEND checksum fails it),
    // which the whole-buffer decoder never reads: then every row must still have arrived.
    const auto rows = complete ? complete : source.image();
    if (!rows) fuzz::fail("bytes the decoder reads decode incrementally", source.error());
    const std::uint32_t compared = 0xffffffffu;
    if (rows->pixelWidth() != decoded->pixelWidth() || rows->pixelHeight() != decoded->pixelHeight() ||
        !std::equal(decoded->data(), decoded->data() + decoded->byteCount() / 4, rows->data(),
                    [&](std::uint32_t a, std::uint32_t b) { return (a & compared) == (b & compared); }))
        fuzz::fail("both decoders make the same pixels", "chunks of " + std::to_string(chunk) + ", first pixels " +
                                                             std::to_string(decoded->data()[0]) + " and " +
                                                             std::to_string(rows->data()[0]));
    const auto png = decoded->encodePNG();
    const auto again = plat::Image::decodePNG(png);
    if (!again || again->pixelWidth() != decoded->pixelWidth() || again->pixelHeight() != decoded->pixelHeight())
        fuzz::fail("an image survives a PNG round trip", std::to_string(png.size()) + " bytes");
    for (int y = 0; y < decoded->pixelHeight(); ++y)
        for (int x = 0; x < decoded->pixelWidth(); ++x)
            if (decoded->rawPixel(x, y) >> 24 == 0xff && again->rawPixel(x, y) != decoded->rawPixel(x, y))
                fuzz::fail("an opaque pixel survives a PNG round trip", std::to_string(x) + "," + std::to_string(y));
    return 0;
}
