#include "graphics/spare_pixels.h"

#include <utility>

namespace plat::detail {

namespace {
// Set while this thread's store lives; `ended` once it is gone, so a late image is not kept in a new one.
thread_local SparePixels* live = nullptr;
thread_local bool ended = false;

struct ThreadStore {
    SparePixels store;
    ThreadStore() { live = &store; }
    ~ThreadStore() {
        live = nullptr;
        ended = true;
    }
};
}  // namespace

SparePixels* SparePixels::forThread() {
    if (!live && !ended) {
        thread_local ThreadStore made;
        (void)made;
    }
    return live;
}

std::vector<std::uint32_t> SparePixels::take(std::size_t count) {
    // A size asked for and missed is remembered too: it is in demand, and what it gets back is kept.
    // Sizes asked for once and never given back would pile up in a view resized for a long while.
    if (_bySize.size() >= 4 * _maxBuffers) std::erase_if(_bySize, [](const auto& entry) { return entry.second.kept.empty(); });
    Size& size = _bySize[count];
    size.lastAsked = ++_asks;
    if (size.kept.empty()) return {};
    std::vector<std::uint32_t> pixels = std::move(size.kept.back());
    size.kept.pop_back();
    _bytes -= count * sizeof(std::uint32_t);
    --_buffers;
    return pixels;
}

void SparePixels::give(std::vector<std::uint32_t>&& pixels) {
    const std::size_t bytes = pixels.size() * sizeof(std::uint32_t);
    if (pixels.empty() || bytes > _maxBytes) return;
    // Sizes no longer asked for (a cell cut by the edge of a view scrolled on, a view since resized)
    // would otherwise fill the store and keep out the sizes in use.
    while (_buffers >= _maxBuffers || _bytes + bytes > _maxBytes)
        if (!dropStalest(pixels.size())) return;
    _bySize[pixels.size()].kept.push_back(std::move(pixels));
    _bytes += bytes;
    ++_buffers;
}

bool SparePixels::dropStalest(std::size_t incoming) {
    const auto own = _bySize.find(incoming);
    const std::uint64_t demand = own != _bySize.end() ? own->second.lastAsked : 0;
    auto stalest = _bySize.end();
    for (auto it = _bySize.begin(); it != _bySize.end(); ++it)
        if (!it->second.kept.empty() && (stalest == _bySize.end() || it->second.lastAsked < stalest->second.lastAsked))
            stalest = it;
    if (stalest == _bySize.end() || stalest->second.lastAsked >= demand) return false;
    const std::uint64_t floor = stalest->second.lastAsked;
    stalest->second.kept.pop_back();
    _bytes -= stalest->first * sizeof(std::uint32_t);
    --_buffers;
    // Sizes asked for less lately than any kept would not be kept either: their record goes, so the
    // sizes a long-running view has ever drawn do not pile up.
    std::erase_if(_bySize, [&](const auto& entry) { return entry.second.kept.empty() && entry.second.lastAsked < floor; });
    return true;
}

}  // namespace plat::detail
