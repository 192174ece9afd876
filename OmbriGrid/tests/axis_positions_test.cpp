// The positions structure on its own, against a plain vector of sizes: edits at and across chunk
// boundaries, whole chunks going, emptying, and the anchored items' indices through all of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "OmbriGrid/GridRowCol.h"
#include "layout/AxisPositions.h"

using kivo::detail::AxisPositions;

namespace {

constexpr std::size_t Fill = AxisPositions::ChunkFill;

// The structure and a naive copy of it, edited side by side. Every fourth item is anchored by a row.
class Mirror {
public:
    explicit Mirror(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) add(sizes.size(), static_cast<std::int32_t>(i % 7 * 3));
        positions.assign(sizes.size(), [&](std::size_t i) { return AxisPositions::Entry{sizes[i], anchors[i].get()}; });
    }
    void insert(std::size_t index, std::size_t count) {
        if (index > sizes.size()) {
            positions.insert(index, count, [](std::size_t) -> AxisPositions::Entry { throw std::logic_error("read"); });
            return;
        }
        for (std::size_t j = 0; j < count; ++j) add(index + j, static_cast<std::int32_t>((index + j) % 5 * 4 + 1));
        positions.insert(index, count, [&](std::size_t j) {
            return AxisPositions::Entry{sizes[index + j], anchors[index + j].get()};
        });
    }
    void erase(std::size_t index, std::size_t count) {
        const std::size_t end = std::min(sizes.size(), index + count);
        if (index < end) {
            for (std::size_t i = index; i < end; ++i)
                if (anchors[i]) gone.push_back(anchors[i]);
            sizes.erase(sizes.begin() + static_cast<std::ptrdiff_t>(index), sizes.begin() + static_cast<std::ptrdiff_t>(end));
            anchors.erase(anchors.begin() + static_cast<std::ptrdiff_t>(index),
                          anchors.begin() + static_cast<std::ptrdiff_t>(end));
        }
        positions.erase(index, count);
    }
    void set(std::size_t index, std::int32_t size) {
        sizes[index] = std::max(size, 0);
        positions.set(index, size);
    }
    // Every index, position and size, the item under every item's start and around the end, each
    // anchor's index, and chunks neither overfull nor too many.
    void check() const {
        ASSERT_EQ(positions.count(), sizes.size());
        std::int64_t p = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            ASSERT_EQ(positions.prefix(i), p) << "item " << i;
            ASSERT_EQ(positions.sizeAt(i), sizes[i]) << "item " << i;
            if (sizes[i] > 0) {
                ASSERT_EQ(positions.find(p), i) << "start of item " << i;
                ASSERT_EQ(positions.find(p + sizes[i] - 1), i) << "end of item " << i;
            }
            if (anchors[i]) {
                ASSERT_EQ(positions.indexOf(*anchors[i]), static_cast<std::int64_t>(i)) << "anchor " << i;
            }
            p += sizes[i];
        }
        ASSERT_EQ(positions.total(), p);
        ASSERT_EQ(positions.prefix(sizes.size()), p);
        ASSERT_EQ(positions.find(p), sizes.size());
        for (const auto& row : gone) ASSERT_EQ(positions.indexOf(*row), -1);
        const std::size_t n = sizes.size();
        ASSERT_GE(positions.chunkCount(), (n + AxisPositions::ChunkMax - 1) / AxisPositions::ChunkMax);
        ASSERT_LE(positions.chunkCount(), n / AxisPositions::ChunkMin + 1);
    }

    std::vector<std::int32_t> sizes;
    std::vector<std::shared_ptr<GridRow>> anchors;
    std::vector<std::shared_ptr<GridRow>> gone;
    AxisPositions positions;

private:
    void add(std::size_t index, std::int32_t size) {
        sizes.insert(sizes.begin() + static_cast<std::ptrdiff_t>(index), size);
        anchors.insert(anchors.begin() + static_cast<std::ptrdiff_t>(index),
                       next++ % 4 == 0 ? std::make_shared<GridRow>() : nullptr);
    }
    std::size_t next = 0;
};

TEST(AxisPositions, EditsAtAndAcrossChunkBoundaries) {
    struct Case {
        const char* name;
        std::size_t count;  // built with chunks of Fill items: their edges sit at multiples of Fill
        std::function<void(Mirror&)> edit;
        std::size_t chunks;  // after the edit; 0: not checked
    };
    const Case cases[] = {
        {"empty, then an insertion", 0, [](Mirror& m) { m.insert(0, 3); }, 1},
        {"insert at a chunk edge", 2 * Fill, [](Mirror& m) { m.insert(Fill, 1); }, 2},
        {"insert at the very start and end", 2 * Fill, [](Mirror& m) { m.insert(0, 2), m.insert(m.sizes.size(), 2); }, 2},
        {"a chunk that overfills splits", 2 * Fill, [](Mirror& m) { m.insert(Fill - 1, AxisPositions::ChunkMax - Fill + 1); }, 3},
        {"a large insertion cuts many chunks", Fill, [](Mirror& m) { m.insert(Fill / 2, 10 * Fill); }, 0},
        {"remove a whole chunk", 3 * Fill, [](Mirror& m) { m.erase(Fill, Fill); }, 2},
        {"remove across a chunk edge, leaving two small pieces", 3 * Fill, [](Mirror& m) { m.erase(30, 2 * Fill - 60); }, 0},
        {"remove the first and last item of a chunk", 2 * Fill, [](Mirror& m) { m.erase(Fill, 1), m.erase(Fill - 2, 1); }, 2},
        {"a chunk that shrinks too far merges", 2 * Fill, [](Mirror& m) { m.erase(0, Fill - 100), m.erase(100, Fill - 100); }, 1},
        {"remove everything", 3 * Fill, [](Mirror& m) { m.erase(0, 3 * Fill); }, 0},
        {"a removal past the end is clipped", 2 * Fill, [](Mirror& m) { m.erase(Fill + 5, 1000000); }, 0},
        {"nothing happens outside", 10, [](Mirror& m) { m.erase(10, 5), m.erase(3, 0), m.insert(11, 1), m.insert(4, 0); }, 1},
        {"sizes change, a negative one counts 0", Fill + 5,
         [](Mirror& m) { m.set(0, 100), m.set(Fill, -40), m.set(Fill + 4, 2000000000); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mirror m(c.count);
        c.edit(m);
        m.check();
        if (c.chunks) {
            EXPECT_EQ(m.positions.chunkCount(), c.chunks);
        }
    }
}

TEST(AxisPositions, ZeroSizedItemsAreNeverFoundAndAnEmptyAxisFindsNothing) {
    AxisPositions positions;
    EXPECT_EQ(positions.find(0), 0u);
    EXPECT_EQ(positions.total(), 0);
    const std::int32_t sizes[] = {0, 10, 0, 0, 10, 0};
    positions.assign(6, [&](std::size_t i) { return AxisPositions::Entry{sizes[i], nullptr}; });
    const std::pair<std::int64_t, std::size_t> cases[] = {{-1, 0}, {0, 1}, {9, 1}, {10, 4}, {19, 4}, {20, 6}};
    for (auto [p, index] : cases) EXPECT_EQ(positions.find(p), index) << p;
}

TEST(AxisPositions, AnchorsMoveWithTheirItemsAndLetGoWhenEitherSideGoes) {
    auto row = std::make_shared<GridRow>();
    {
        AxisPositions positions;
        positions.assign(2 * Fill, [](std::size_t) { return AxisPositions::Entry{1, nullptr}; });
        positions.anchor(*row, Fill + 3);
        positions.insert(0, 5, [](std::size_t) { return AxisPositions::Entry{1, nullptr}; });
        EXPECT_EQ(positions.indexOf(*row), static_cast<std::int64_t>(Fill + 8));
        AxisPositions other;
        other.assign(4, [](std::size_t) { return AxisPositions::Entry{1, nullptr}; });
        other.anchor(*row, 2);
        EXPECT_EQ(positions.indexOf(*row), -1) << "one place at a time";
        EXPECT_EQ(other.indexOf(*row), 2);
        positions.anchor(*row, 0);
    }
    // The structure went first: the row points into nothing and may still go, or be placed again.
    AxisPositions again;
    again.assign(1, [](std::size_t) { return AxisPositions::Entry{1, nullptr}; });
    EXPECT_EQ(again.indexOf(*row), -1);
    again.anchor(*row, 0);
    row.reset();  // the row goes first: the structure lets go of it
    again.erase(0, 1);
    EXPECT_EQ(again.count(), 0u);
}

// A row order may change without a new layout only when every place looks alike.
TEST(AxisPositions, AllUnanchoredOfSizeNeedsEveryItemAlikeAndFree) {
    AxisPositions positions;
    EXPECT_TRUE(positions.allUnanchoredOfSize(25)) << "no items";
    positions.assign(3 * Fill, [](std::size_t) { return AxisPositions::Entry{25, nullptr}; });
    EXPECT_TRUE(positions.allUnanchoredOfSize(25));
    EXPECT_FALSE(positions.allUnanchoredOfSize(24));
    // Two items whose sizes cancel out in the total still differ.
    positions.set(Fill + 1, 24);
    positions.set(2 * Fill + 5, 26);
    EXPECT_EQ(positions.total(), static_cast<std::int64_t>(3 * Fill) * 25);
    EXPECT_FALSE(positions.allUnanchoredOfSize(25));
    positions.set(Fill + 1, 25);
    positions.set(2 * Fill + 5, 25);
    auto row = std::make_shared<GridRow>();
    positions.anchor(*row, 2 * Fill);
    EXPECT_FALSE(positions.allUnanchoredOfSize(25)) << "an anchored row";
    AxisPositions::release(*row);
    EXPECT_TRUE(positions.allUnanchoredOfSize(25));
}

TEST(AxisPositions, AUniformRebuildLaysOutAsAnItemByItemOneAndTakesEdits) {
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, Fill, AxisPositions::ChunkMax + 1, 7 * Fill + 3}) {
        for (const std::int32_t size : {28, 0, -5}) {
            SCOPED_TRACE(std::to_string(n) + " items of " + std::to_string(size));
            Mirror mirror(0);
            mirror.sizes.assign(n, std::max(size, 0));
            mirror.anchors.assign(n, nullptr);
            mirror.positions.assignUniform(n, size);
            mirror.check();
            mirror.insert(n / 2, 3);
            mirror.erase(0, 2);
            mirror.set(mirror.sizes.size() - 1, 9);
            mirror.check();
        }
    }
}

// Random insertions and removals of runs, size changes and rebuilds, checked in full after each.
TEST(AxisPositions, MatchesAPlainVectorThroughRandomEdits) {
    std::mt19937 random(41);
    Mirror m(3 * Fill);
    auto pick = [&](std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound)(random); };
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        const std::size_t n = m.sizes.size();
        switch (random() % 4) {
            case 0:
                m.insert(pick(n), random() % 8 == 0 ? pick(2 * Fill) : pick(3));
                break;
            case 1:
                m.erase(pick(n), random() % 8 == 0 ? pick(2 * Fill) : pick(3));
                break;
            default:
                if (n > 0) m.set(pick(n - 1), static_cast<std::int32_t>(random() % 50) - 5);
                break;
        }
        m.check();
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace
