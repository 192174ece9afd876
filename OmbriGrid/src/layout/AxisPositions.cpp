#include "layout/AxisPositions.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "OmbriGrid/GridRowCol.h"

namespace kivo::detail {

namespace {
std::size_t lowBit(std::size_t i) { return i & (~i + 1); }

std::int64_t sumOf(const std::vector<std::int32_t>& sizes, std::size_t from, std::size_t to) {
    return std::accumulate(sizes.begin() + static_cast<std::ptrdiff_t>(from), sizes.begin() + static_cast<std::ptrdiff_t>(to),
                           std::int64_t{0});
}
}  // namespace

// ---- RunningSums ----

void RunningSums::add(std::size_t index, std::int64_t delta) {
    for (std::size_t i = index + 1; i < _tree.size(); i += lowBit(i)) _tree[i] += delta;
}

std::int64_t RunningSums::prefix(std::size_t index) const {
    if (_tree.empty()) return 0;
    if (index > _tree.size() - 1) index = _tree.size() - 1;
    std::int64_t sum = 0;
    for (std::size_t i = index; i > 0; i -= lowBit(i)) sum += _tree[i];
    return sum;
}

std::pair<std::size_t, std::int64_t> RunningSums::longestPrefixAtMost(std::int64_t limit) const {
    const std::size_t n = _tree.empty() ? 0 : _tree.size() - 1;
    std::size_t step = 1;
    while (step * 2 <= n) step *= 2;
    std::size_t at = 0;
    std::int64_t sum = 0;
    for (; step > 0 && n > 0; step /= 2) {
        const std::size_t next = at + step;
        if (next <= n && sum + _tree[next] <= limit) {
            at = next;
            sum += _tree[next];
        }
    }
    return {at, sum};
}

// ---- AxisPositions ----

AxisPositions::~AxisPositions() { clear(); }

void AxisPositions::clear() {
    for (const auto& chunk : _chunks)
        for (GridRowCol* item : chunk->anchors) item->chunkSlot({}) = nullptr;
    _chunks.clear();
    _count = 0;
    _total = 0;
}

void AxisPositions::assignUniform(std::size_t count, std::int32_t size) {
    clear();
    size = clampSize(size);
    const std::size_t pieces = pieceCount(count);
    _chunks.reserve(pieces);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        auto chunk = newChunk();
        const std::size_t n = pieceLength(count, pieces, piece);
        chunk->sizes.assign(n, size);
        chunk->sum = static_cast<std::int64_t>(n) * size;
        _total += chunk->sum;
        _chunks.push_back(std::move(chunk));
    }
    _count = count;
    rebuildIndex();
}

std::unique_ptr<AxisChunk> AxisPositions::newChunk() const {
    auto chunk = std::make_unique<AxisChunk>();
    chunk->positions = this;
    return chunk;
}

void AxisPositions::put(AxisChunk& chunk, std::size_t offset, const Entry& entry) {
    const std::int32_t size = clampSize(entry.size);
    chunk.sizes[offset] = size;
    chunk.sum += size;
    _total += size;
    if (entry.anchor) {
        release(*entry.anchor);
        entry.anchor->chunkSlot({}) = &chunk;
        entry.anchor->offsetSlot({}) = offset;
        chunk.anchors.push_back(entry.anchor);
    }
}

void AxisPositions::rebuildIndex() {
    for (std::size_t i = 0; i < _chunks.size(); ++i) _chunks[i]->ordinal = i;
    _counts.build(_chunks.size(), [&](std::size_t i) { return static_cast<std::int64_t>(_chunks[i]->sizes.size()); });
    _sums.build(_chunks.size(), [&](std::size_t i) { return _chunks[i]->sum; });
}

std::pair<std::size_t, std::size_t> AxisPositions::locate(std::size_t index) const {
    // Chunks are never empty, so the longest run of chunks ending at or before `index` stops right
    // before the chunk that holds it.
    const auto [chunk, before] = _counts.longestPrefixAtMost(static_cast<std::int64_t>(index));
    return {chunk, index - static_cast<std::size_t>(before)};
}

std::pair<std::size_t, std::size_t> AxisPositions::openAt(std::size_t index, std::size_t count) {
    if (_chunks.empty()) {
        _chunks.push_back(newChunk());
        rebuildIndex();
    }
    std::size_t chunk = _chunks.size() - 1;
    std::size_t offset = _chunks.back()->sizes.size();
    if (index < _count) std::tie(chunk, offset) = locate(index);
    AxisChunk& c = *_chunks[chunk];
    c.sizes.insert(c.sizes.begin() + static_cast<std::ptrdiff_t>(offset), count, 0);
    for (GridRowCol* item : c.anchors)
        if (item->offsetSlot({}) >= offset) item->offsetSlot({}) += count;
    _count += count;
    return {chunk, offset};
}

void AxisPositions::settleInsert(std::size_t chunk, std::size_t count, std::int64_t sumBefore) {
    const AxisChunk& c = *_chunks[chunk];
    if (c.sizes.size() > ChunkMax) {
        recut(chunk, 1);
        return;
    }
    _counts.add(chunk, static_cast<std::int64_t>(count));
    _sums.add(chunk, c.sum - sumBefore);
}

void AxisPositions::recut(std::size_t first, std::size_t n) {
    std::vector<std::int32_t> sizes;
    std::vector<GridRowCol*> anchors;
    for (std::size_t i = first; i < first + n; ++i) {
        AxisChunk& c = *_chunks[i];
        // Offsets become offsets into the joined run for now.
        for (GridRowCol* item : c.anchors) {
            item->offsetSlot({}) += sizes.size();
            anchors.push_back(item);
        }
        sizes.insert(sizes.end(), c.sizes.begin(), c.sizes.end());
    }
    _chunks.erase(_chunks.begin() + static_cast<std::ptrdiff_t>(first), _chunks.begin() + static_cast<std::ptrdiff_t>(first + n));
    const std::size_t total = sizes.size();
    const std::size_t pieces = (total + ChunkFill - 1) / ChunkFill;
    // Piece p starts at starts[p]; the pieces differ by one item at most.
    std::vector<std::size_t> starts(pieces + 1, 0);
    for (std::size_t p = 0; p < pieces; ++p) starts[p + 1] = starts[p] + total / pieces + (p < total % pieces ? 1 : 0);
    std::vector<std::unique_ptr<AxisChunk>> made;
    for (std::size_t p = 0; p < pieces; ++p) {
        auto chunk = newChunk();
        chunk->sizes.assign(sizes.begin() + static_cast<std::ptrdiff_t>(starts[p]),
                            sizes.begin() + static_cast<std::ptrdiff_t>(starts[p + 1]));
        chunk->sum = sumOf(chunk->sizes, 0, chunk->sizes.size());
        made.push_back(std::move(chunk));
    }
    for (GridRowCol* item : anchors) {
        const auto p =
            static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), item->offsetSlot({})) - starts.begin()) - 1;
        item->chunkSlot({}) = made[p].get();
        item->offsetSlot({}) -= starts[p];
        made[p]->anchors.push_back(item);
    }
    _chunks.insert(_chunks.begin() + static_cast<std::ptrdiff_t>(first), std::make_move_iterator(made.begin()),
                   std::make_move_iterator(made.end()));
    rebuildIndex();
}

void AxisPositions::mendSmall(std::size_t chunk) {
    if (chunk >= _chunks.size() || _chunks.size() < 2 || _chunks[chunk]->sizes.size() >= ChunkMin) return;
    recut(chunk + 1 < _chunks.size() ? chunk : chunk - 1, 2);
}

void AxisPositions::erase(std::size_t index, std::size_t count) {
    if (index >= _count || count == 0) return;
    count = std::min(count, _count - index);
    const std::size_t erased = count;
    auto [chunk, offset] = locate(index);
    const std::size_t first = chunk;
    std::size_t touched = 0;
    bool dropped = false;
    std::int64_t gone = 0;
    while (count > 0) {
        AxisChunk& c = *_chunks[chunk];
        const std::size_t m = std::min(count, c.sizes.size() - offset);
        const std::int64_t removed = sumOf(c.sizes, offset, offset + m);
        c.sum -= removed;
        gone += removed;
        c.sizes.erase(c.sizes.begin() + static_cast<std::ptrdiff_t>(offset),
                      c.sizes.begin() + static_cast<std::ptrdiff_t>(offset + m));
        for (std::size_t i = 0; i < c.anchors.size();) {
            GridRowCol* item = c.anchors[i];
            if (item->offsetSlot({}) >= offset + m) {
                item->offsetSlot({}) -= m;
                ++i;
            } else if (item->offsetSlot({}) >= offset) {
                unlink(c, i);
            } else {
                ++i;
            }
        }
        _count -= m;
        count -= m;
        ++touched;
        if (c.sizes.empty()) {
            _chunks.erase(_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
            dropped = true;
        } else {
            ++chunk;
        }
        offset = 0;
    }
    _total -= gone;
    if (touched == 1 && !dropped) {
        // Within one chunk: both trees take the change in a logarithm.
        _counts.add(first, -static_cast<std::int64_t>(erased));
        _sums.add(first, -gone);
    } else {
        rebuildIndex();
    }
    // At most the first and the last chunk touched are left partly erased, and now stand side by side.
    if (touched > 1) mendSmall(first + 1);
    mendSmall(first);
}

bool AxisPositions::allUnanchoredOfSize(std::int32_t size) const {
    if (_total != static_cast<std::int64_t>(_count) * size) return false;
    for (const auto& chunk : _chunks) {
        if (!chunk->anchors.empty()) return false;
        for (const std::int32_t s : chunk->sizes)
            if (s != size) return false;
    }
    return true;
}

std::int32_t AxisPositions::sizeAt(std::size_t index) const {
    if (index >= _count) return 0;
    const auto [chunk, offset] = locate(index);
    return _chunks[chunk]->sizes[offset];
}

void AxisPositions::set(std::size_t index, std::int32_t size) {
    if (index >= _count) return;
    size = clampSize(size);
    const auto [chunk, offset] = locate(index);
    AxisChunk& c = *_chunks[chunk];
    const std::int64_t delta = static_cast<std::int64_t>(size) - c.sizes[offset];
    if (delta == 0) return;
    c.sizes[offset] = size;
    c.sum += delta;
    _total += delta;
    _sums.add(chunk, delta);
}

std::int64_t AxisPositions::prefix(std::size_t index) const {
    if (index >= _count) return _total;
    const auto [chunk, offset] = locate(index);
    return _sums.prefix(chunk) + sumOf(_chunks[chunk]->sizes, 0, offset);
}

std::size_t AxisPositions::find(std::int64_t p) const {
    if (_count == 0 || p < 0) return p < 0 && _count > 0 ? 0 : _count;
    // The longest run of whole chunks whose sum stays at or below p, then the longest run of items in
    // the next chunk: the item after them is the first one that reaches past p (a size-0 item never does).
    const auto [chunk, before] = _sums.longestPrefixAtMost(p);
    if (chunk >= _chunks.size()) return _count;
    const auto& sizes = _chunks[chunk]->sizes;
    std::int64_t sum = before;
    std::size_t at = 0;
    while (at < sizes.size() && sum + sizes[at] <= p) sum += sizes[at++];
    return static_cast<std::size_t>(_counts.prefix(chunk)) + at;
}

void AxisPositions::anchor(GridRowCol& item, std::size_t index) {
    if (index >= _count) return;
    const auto [chunk, offset] = locate(index);
    release(item);
    // One item to a place: any other anchored there was replaced.
    AxisChunk& c = *_chunks[chunk];
    for (std::size_t i = 0; i < c.anchors.size();)
        if (c.anchors[i]->offsetSlot({}) == offset)
            unlink(c, i);
        else
            ++i;
    item.chunkSlot({}) = &c;
    item.offsetSlot({}) = offset;
    c.anchors.push_back(&item);
}

void AxisPositions::unlink(AxisChunk& chunk, std::size_t i) {
    chunk.anchors[i]->chunkSlot({}) = nullptr;
    chunk.anchors[i] = chunk.anchors.back();
    chunk.anchors.pop_back();
}

void AxisPositions::release(GridRowCol& item) {
    if (!item.chunkSlot({})) return;
    auto& anchors = item.chunkSlot({})->anchors;
    if (auto it = std::find(anchors.begin(), anchors.end(), &item); it != anchors.end())
        unlink(*item.chunkSlot({}), static_cast<std::size_t>(it - anchors.begin()));
    item.chunkSlot({}) = nullptr;
}

std::int64_t AxisPositions::indexOf(const GridRowCol& item) const {
    if (!item.chunkSlot({}) || item.chunkSlot({})->positions != this) return -1;
    return _counts.prefix(item.chunkSlot({})->ordinal) + static_cast<std::int64_t>(item.offsetSlot({}));
}

std::size_t AxisPositions::bytes() const {
    std::size_t bytes = _chunks.capacity() * sizeof(_chunks[0]) + _counts.bytes() + _sums.bytes();
    for (const auto& c : _chunks)
        bytes += sizeof(AxisChunk) + c->sizes.capacity() * sizeof(std::int32_t) + c->anchors.capacity() * sizeof(GridRowCol*);
    return bytes;
}

}  // namespace kivo::detail
