// The index behind the layout cache: after any sequence of insertions and removals, with hashes that
// share home slots and lines that wrap round the end of the table, it finds exactly the items a plain
// set holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "graphics/hash_index.h"

using plat::detail::HashIndex;

namespace {

struct Item {
    std::uint64_t hash;
    int key;
};

}  // namespace

TEST(HashIndex, FindsWhatAPlainSetHoldsThroughInsertionsAndRemovals) {
    // Few distinct hashes, some near the table's end, so lines collide, merge and wrap.
    const std::uint64_t hashes[] = {0, 1, 63, 62, 64, 127, 5, 0xffffffffffffffffu, 1u << 20};
    std::vector<std::unique_ptr<Item>> items;
    for (int k = 0; k < 200; ++k) items.push_back(std::make_unique<Item>(Item{hashes[k % std::size(hashes)], k}));
    HashIndex<Item> index;
    std::set<int> held;
    std::mt19937 random(7);
    for (int step = 0; step < 4000; ++step) {
        Item& item = *items[random() % items.size()];
        if (held.count(item.key)) {
            index.erase(item.hash, &item);
            held.erase(item.key);
        } else {
            index.insert(item.hash, &item);
            held.insert(item.key);
        }
        ASSERT_EQ(index.size(), held.size());
        if (step % 16 == 0) {
            for (const auto& each : items) {
                const Item* found = index.find(each->hash, [&](const Item& i) { return i.key == each->key; });
                ASSERT_EQ(found != nullptr, held.count(each->key) == 1) << "item " << each->key << " at step " << step;
                EXPECT_TRUE(!found || found == each.get());
            }
        }
    }
    index.clear();
    EXPECT_EQ(index.find(0, [](const Item&) { return true; }), nullptr);
}
