#pragma once
// The positions along one axis of the grid: each item's render size and their running sums.
//
// Sizes live in chunks of a few hundred items, each with its own count and sum; two binary indexed
// trees over the chunks (counts and sums) find the chunk that holds an index or a coordinate in a
// logarithm of the chunk count, and a short scan inside the chunk does the rest. So one item's new
// size costs a logarithm, and inserting or erasing k items costs k plus one chunk's worth of moves
// (and, when chunks split or merge, one pass over the chunk list): nothing grows with the whole item
// count. Sums are 64-bit: two billion-point spacers overflow nothing.
//
// Items that exist as objects are anchored in the chunk that holds them, with their offset in it:
// an edit shifts the offsets of that one chunk's anchors, and an item's index is its chunk's start
// plus its offset, so no edit ever re-stamps every item after it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class GridRowCol;

namespace kivo::detail {

class AxisPositions;

// A binary indexed tree over a short list of non-negative numbers.
class RunningSums {
public:
    template <class ValueOf>
    void build(std::size_t count, ValueOf&& valueOf) {
        _tree.assign(count + 1, 0);
        for (std::size_t i = 1; i <= count; ++i) {
            _tree[i] += valueOf(i - 1);
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= count) _tree[parent] += _tree[i];
        }
    }
    void add(std::size_t index, std::int64_t delta);
    // The sum of the values before `index`.
    std::int64_t prefix(std::size_t index) const;
    // The longest prefix whose sum stays at or below `limit`: its length and its sum.
    std::pair<std::size_t, std::int64_t> longestPrefixAtMost(std::int64_t limit) const;
    std::size_t bytes() const { return _tree.capacity() * sizeof(std::int64_t); }

private:
    std::vector<std::int64_t> _tree;  // 1-based: _tree[i] sums the values of (i - lowbit(i), i]
};

struct AxisChunk {
    const AxisPositions* positions = nullptr;
    std::size_t ordinal = 0;  // its place in the chunk list
    std::int64_t sum = 0;
    std::vector<std::int32_t> sizes;
    std::vector<GridRowCol*> anchors;  // the items of this chunk that exist as objects, in any order
};

class AxisPositions {
public:
    // A chunk splits above ChunkMax items and merges with a neighbour below ChunkMin; a rebuild or a
    // split cuts pieces of about ChunkFill, leaving room to grow either way.
    static constexpr std::size_t ChunkMax = 512;
    static constexpr std::size_t ChunkFill = 384;
    static constexpr std::size_t ChunkMin = 128;

    // One item as an edit gives it: its size, and the object to anchor at its place (may be null).
    struct Entry {
        std::int32_t size = 0;
        GridRowCol* anchor = nullptr;
    };

    AxisPositions() = default;
    AxisPositions(const AxisPositions&) = delete;
    AxisPositions& operator=(const AxisPositions&) = delete;
    // Lets go of every anchor, so that no item keeps pointing into a chunk that is gone.
    ~AxisPositions();

    // Rebuilds for `count` items, item i given by entryOf(i), in linear time; earlier anchors are let go.
    template <class EntryOf>
    void assign(std::size_t count, EntryOf&& entryOf) {
        clear();
        fill(0, count, entryOf);
        rebuildIndex();
    }
    // The same for `count` items all of `size`, none anchored, without asking item by item.
    void assignUniform(std::size_t count, std::int32_t size);
    // Inserts `count` items before `index` (at most count()), item j given by entryOf(j).
    template <class EntryOf>
    void insert(std::size_t index, std::size_t count, EntryOf&& entryOf) {
        if (index > _count || count == 0) return;
        auto [chunk, offset] = openAt(index, count);
        const std::int64_t sumBefore = _chunks[chunk]->sum;
        for (std::size_t j = 0; j < count; ++j) put(*_chunks[chunk], offset + j, entryOf(j));
        settleInsert(chunk, count, sumBefore);
    }
    // Erases the items [index, index + count), clipped to the items there are; their anchors are let go.
    void erase(std::size_t index, std::size_t count);

    std::size_t count() const { return _count; }
    std::int32_t sizeAt(std::size_t index) const;
    // A new size for one item.
    void set(std::size_t index, std::int32_t size);
    // The sum of the sizes of the items before `index` (all of them from count() on).
    std::int64_t prefix(std::size_t index) const;
    std::int64_t total() const { return _total; }
    // Whether every item has `size` and none is anchored: then any order of the items lays out alike.
    bool allUnanchoredOfSize(std::int32_t size) const;
    // The first item whose extent [start, start + size) holds p, or count() when none does (p past
    // the end, or no sized item at all). Items of size 0 hold nothing.
    std::size_t find(std::int64_t p) const;

    // Anchors `item` at `index` (below count()), letting go of any anchor it had and of any other item
    // anchored there.
    void anchor(GridRowCol& item, std::size_t index);
    // Lets go of the item's anchor, wherever it is.
    static void release(GridRowCol& item);
    // The index of an item anchored here; -1 for any other.
    std::int64_t indexOf(const GridRowCol& item) const;

    std::size_t chunkCount() const { return _chunks.size(); }
    // Memory held, for the benchmarks.
    std::size_t bytes() const;

private:
    // Sizes are never negative: a negative one would move every later item back.
    static std::int32_t clampSize(std::int32_t size) { return size < 0 ? 0 : size; }
    // The chunk holding item `index` (below count()) and the item's offset in it.
    std::pair<std::size_t, std::size_t> locate(std::size_t index) const;
    void clear();
    // Appends `count` items given by entryOf(j) as new chunks of about ChunkFill, starting at chunk `at`.
    template <class EntryOf>
    void fill(std::size_t at, std::size_t count, EntryOf& entryOf) {
        const std::size_t pieces = pieceCount(count);
        std::size_t j = 0;
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            auto chunk = newChunk();
            const std::size_t n = pieceLength(count, pieces, piece);
            chunk->sizes.resize(n);
            for (std::size_t o = 0; o < n; ++o, ++j) put(*chunk, o, entryOf(j));
            _chunks.insert(_chunks.begin() + static_cast<std::ptrdiff_t>(at + piece), std::move(chunk));
        }
        _count += count;
    }
    // `count` items cut into pieces of about ChunkFill: how many, and the length of piece `piece`.
    static std::size_t pieceCount(std::size_t count) { return (count + ChunkFill - 1) / ChunkFill; }
    static std::size_t pieceLength(std::size_t count, std::size_t pieces, std::size_t piece) {
        return count / pieces + (piece < count % pieces ? 1 : 0);
    }
    std::unique_ptr<AxisChunk> newChunk() const;
    // Writes an entry into a slot the chunk already has room for.
    void put(AxisChunk& chunk, std::size_t offset, const Entry& entry);
    // Makes room for `count` items before `index` and returns where the first goes.
    std::pair<std::size_t, std::size_t> openAt(std::size_t index, std::size_t count);
    // Brings the chunk index up to date after `count` items went into chunk `chunk`, whose sum was
    // `sumBefore`, splitting the chunk when it is too full.
    void settleInsert(std::size_t chunk, std::size_t count, std::int64_t sumBefore);
    // Joins the chunks [first, first + n) and cuts them again into pieces of about ChunkFill.
    void recut(std::size_t first, std::size_t n);
    // Lets go of the chunk's i-th anchor; the last one takes its slot.
    static void unlink(AxisChunk& chunk, std::size_t i);
    // Merges chunk `chunk`, when it has grown too small, with a neighbour.
    void mendSmall(std::size_t chunk);
    // Renumbers the chunks and rebuilds both trees over them.
    void rebuildIndex();

    std::vector<std::unique_ptr<AxisChunk>> _chunks;
    RunningSums _counts;
    RunningSums _sums;
    std::size_t _count = 0;
    std::int64_t _total = 0;
};

}  // namespace kivo::detail
