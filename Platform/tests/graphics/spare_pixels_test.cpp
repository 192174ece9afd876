// The store of pixels let go of: bounded, and when full it keeps the sizes asked for most lately, so
// sizes a view no longer draws do not keep out the ones it does.
#include "graphics/spare_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using plat::detail::SparePixels;

namespace {

std::vector<std::uint32_t> pixels(std::size_t count, std::uint32_t mark = 7) { return std::vector<std::uint32_t>(count, mark); }

// Asks for `count` and gives back what it got, or a new buffer: an image of that size made and dropped.
void makeAndDrop(SparePixels& store, std::size_t count) {
    auto got = store.take(count);
    store.give(got.empty() ? pixels(count) : std::move(got));
}

TEST(SparePixels, GivesBackThePixelsOfTheSizeAskedFor) {
    SparePixels store;
    store.give(pixels(10, 1));
    store.give(pixels(20, 2));
    EXPECT_TRUE(store.take(15).empty());
    const auto got = store.take(20);
    ASSERT_EQ(got.size(), 20u);
    EXPECT_EQ(got[0], 2u);
    EXPECT_TRUE(store.take(20).empty());
    EXPECT_EQ(store.bufferCount(), 1u);
    EXPECT_EQ(store.byteCount(), 10 * sizeof(std::uint32_t));
}

TEST(SparePixels, SizesInDemandDisplaceSizesNoLongerAskedFor) {
    SparePixels store(1 << 20, 4);
    // Four buffers of a size asked for once, long ago.
    for (int i = 0; i < 4; ++i) (void)store.take(50);
    for (int i = 0; i < 4; ++i) store.give(pixels(50));
    for (int i = 0; i < 4; ++i) (void)store.take(30);
    // Sizes asked for since: what comes back is kept in place of the stale size.
    for (int i = 0; i < 4; ++i) store.give(pixels(30));
    EXPECT_EQ(store.bufferCount(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(store.take(30).size(), 30u) << i;
    EXPECT_TRUE(store.take(50).empty());
}

TEST(SparePixels, AStaleSizeDoesNotDisplaceSizesInDemand) {
    SparePixels store(1 << 20, 2);
    (void)store.take(50);
    (void)store.take(30);
    store.give(pixels(30));
    store.give(pixels(30));
    store.give(pixels(50));  // asked for before the 30s: refused
    store.give(pixels(77));  // never asked for: refused
    EXPECT_EQ(store.bufferCount(), 2u);
    EXPECT_TRUE(store.take(50).empty());
    EXPECT_EQ(store.take(30).size(), 30u);
}

TEST(SparePixels, KeepsWithinItsBytes) {
    SparePixels store(100 * sizeof(std::uint32_t), 1000);
    store.give(pixels(101));  // larger than the whole store
    EXPECT_EQ(store.bufferCount(), 0u);
    for (int round = 0; round < 50; ++round)
        for (std::size_t count : {10u, 20u, 30u, 40u}) {
            makeAndDrop(store, count);
            EXPECT_LE(store.byteCount(), 100 * sizeof(std::uint32_t));
        }
    EXPECT_GT(store.bufferCount(), 0u);
}

}  // namespace
