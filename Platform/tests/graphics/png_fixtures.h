#pragma once
// PNG files made byte by byte for image tests: any claimed size, plain or interlaced (Adam7), with
// the pixel data in stored (uncompressed) deflate blocks, so no compressor is needed.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace plat::testing {

inline void putBigEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
}

inline std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Appends one chunk: length, type, data and checksum.
inline void appendChunk(std::vector<std::uint8_t>& png, std::string_view type, const std::vector<std::uint8_t>& data) {
    const std::size_t at = png.size();
    png.resize(at + 8 + data.size() + 4);
    putBigEndian(png, at, static_cast<std::uint32_t>(data.size()), 4);
    std::copy(type.begin(), type.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 4));
    std::copy(data.begin(), data.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
    putBigEndian(png, at + 8 + data.size(), crc32(&png[at + 4], 4 + data.size()), 4);
}

// `pixel(x, y)` gives 0xRRGGBBAA. Without `withData`, the file stops just inside its pixel data
// (a reader knows the size there). `sixteenBit` writes each channel as the 16-bit value that stands
// for the same level (0xAB as 0xABAB).
inline std::vector<std::uint8_t> makeTestPng(std::uint32_t width, std::uint32_t height,
                                             const std::function<std::uint32_t(std::uint32_t, std::uint32_t)>& pixel,
                                             bool interlaced = false, bool withData = true, bool sixteenBit = false) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    std::vector<std::uint8_t> header(13);
    putBigEndian(header, 0, width, 4);
    putBigEndian(header, 4, height, 4);
    header[8] = sixteenBit ? 16 : 8;  // bits per channel
    header[9] = 6;                    // RGBA
    header[12] = interlaced ? 1 : 0;
    appendChunk(png, "IHDR", header);
    if (!withData) {
        appendChunk(png, "IDAT", {0x78, 0x01});
        return png;
    }

    // The filtered scanlines (filter 0), pass by pass for Adam7.
    std::vector<std::uint8_t> raw;
    struct Pass {
        std::uint32_t x0, y0, dx, dy;
    };
    const std::vector<Pass> passes = interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                                                : std::vector<Pass>{{0, 0, 1, 1}};
    for (const Pass& p : passes) {
        if (p.x0 >= width || p.y0 >= height) continue;
        for (std::uint32_t y = p.y0; y < height; y += p.dy) {
            raw.push_back(0);
            for (std::uint32_t x = p.x0; x < width; x += p.dx) {
                const std::uint32_t v = pixel(x, y);
                for (int shift = 24; shift >= 0; shift -= 8)
                    for (int copies = sixteenBit ? 2 : 1; copies > 0; --copies)
                        raw.push_back(static_cast<std::uint8_t>(v >> shift));
            }
        }
    }
    // A zlib stream of stored blocks, then its Adler-32.
    std::vector<std::uint8_t> z = {0x78, 0x01};
    constexpr std::size_t MaxBlock = 65535;
    for (std::size_t at = 0; at < raw.size() || at == 0; at += MaxBlock) {
        const std::size_t n = std::min(MaxBlock, raw.size() - at);
        const bool last = at + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (last) break;
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    const std::size_t end = z.size();
    z.resize(end + 4);
    putBigEndian(z, end, (b << 16) | a, 4);
    appendChunk(png, "IDAT", z);
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace plat::testing
