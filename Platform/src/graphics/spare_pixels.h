#pragma once
// Pixels of images let go of, kept for the next images of the same size: controls that keep what they
// draw as images (a grid, a cell at a time) make and drop many of a few sizes, and fresh memory costs
// its allocation, the system's zeroing of new pages and then its clearing. One store a thread, bounded.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace plat::detail {

class SparePixels {
public:
    static constexpr std::size_t MaxBytes = 16u << 20;
    static constexpr std::size_t MaxBuffers = 2048;

    SparePixels() = default;
    SparePixels(std::size_t maxBytes, std::size_t maxBuffers) : _maxBytes(maxBytes), _maxBuffers(maxBuffers) {}
    SparePixels(const SparePixels&) = delete;
    SparePixels& operator=(const SparePixels&) = delete;

    // This thread's store; null once the thread has begun to end.
    static SparePixels* forThread();

    // Pixels of exactly `count`, as an earlier image left them; empty when none are kept.
    std::vector<std::uint32_t> take(std::size_t count);
    // Keeps `pixels` unless the store is full of sizes asked for more lately than theirs.
    void give(std::vector<std::uint32_t>&& pixels);

    std::size_t bufferCount() const { return _buffers; }
    std::size_t byteCount() const { return _bytes; }

private:
    struct Size {
        std::vector<std::vector<std::uint32_t>> kept;
        std::uint64_t lastAsked = 0;
    };
    // Lets go of one buffer of the size asked for least lately, if that size was asked for less lately
    // than `incoming`'s; false when there is none to let go of.
    bool dropStalest(std::size_t incoming);

    std::size_t _maxBytes = MaxBytes, _maxBuffers = MaxBuffers;
    std::unordered_map<std::size_t, Size> _bySize;
    std::size_t _bytes = 0, _buffers = 0;
    std::uint64_t _asks = 0;
};

}  // namespace plat::detail
