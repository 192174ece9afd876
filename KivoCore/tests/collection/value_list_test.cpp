#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "KivoCore/ValueList.h"
#include "collection/value_list_random.h"

namespace {

constexpr std::size_t B = kivo::ValueList::BlockCapacity;

plat::Array numbers(std::size_t n, std::int64_t from = 0) {
    plat::Array a;
    for (std::size_t i = 0; i < n; ++i) a.emplace_back(from + static_cast<std::int64_t>(i));
    return a;
}

::testing::AssertionResult sameAs(const kivo::ValueList& list, const plat::Array& expected) {
    if (list.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << list.size() << ", expected " << expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (!(list[i] == expected[i]))
            return ::testing::AssertionFailure() << "at " << i << ": " << list[i].description() << ", expected "
                                                 << expected[i].description();
    // Iteration must agree with indexing.
    std::size_t i = 0;
    for (const plat::Value& v : list)
        if (!(v == expected[i++])) return ::testing::AssertionFailure() << "iteration differs at " << i - 1;
    if (!(plat::Array(list) == expected)) return ::testing::AssertionFailure() << "the copy as an array differs";
    return ::testing::AssertionSuccess();
}

// Tells, when it ends, what the list it was in holds at that moment.
class Watcher : public plat::Object {
public:
    explicit Watcher(std::function<void()> onEnd) : _onEnd(std::move(onEnd)) {}
    ~Watcher() override { _onEnd(); }

private:
    std::function<void()> _onEnd;
};

}  // namespace

TEST(ValueList, EdgesOfBlocksKeepTheOrder) {
    struct Case {
        const char* name;
        std::size_t size;
        std::function<void(kivo::ValueList&, plat::Array&)> edit;
    };
    auto insertAt = [](std::size_t at) {
        return [at](kivo::ValueList& l, plat::Array& v) {
            l.insert(l.begin() + static_cast<std::ptrdiff_t>(at), plat::Value(-1));
            v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), plat::Value(-1));
        };
    };
    auto eraseRange = [](std::size_t from, std::size_t to) {
        return [from, to](kivo::ValueList& l, plat::Array& v) {
            l.erase(l.begin() + static_cast<std::ptrdiff_t>(from), l.begin() + static_cast<std::ptrdiff_t>(to));
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to));
        };
    };
    auto insertRange = [](std::size_t at, std::size_t n) {
        return [at, n](kivo::ValueList& l, plat::Array& v) {
            const plat::Array added = numbers(n, 1'000'000);
            l.insert(l.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
            v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
        };
    };
    const std::vector<Case> cases = {
        {"empty: nothing erased", 0, eraseRange(0, 0)},
        {"empty: insert", 0, insertAt(0)},
        {"one value erased", 1, eraseRange(0, 1)},
        {"small: insert at the front", 3, insertAt(0)},
        {"full block: insert at the front starts a block", B, insertAt(0)},
        {"full block: insert at the end", B, insertAt(B)},
        {"full block: insert before its last", B, insertAt(B - 1)},
        {"the last value of a block erased", 2 * B + 5, eraseRange(B - 1, B)},
        {"the first value of a block erased", 2 * B + 5, eraseRange(B, B + 1)},
        {"the lone value of the last block erased", B + 1, eraseRange(0, 1)},
        {"a whole block's worth erased on its bounds", 3 * B, eraseRange(B, 2 * B)},
        {"a whole block's worth erased across bounds", 3 * B + 7, eraseRange(B / 2, B / 2 + B)},
        {"everything erased", 2 * B + 3, eraseRange(0, 2 * B + 3)},
        {"the front few erased", 3 * B, eraseRange(0, 3)},
        {"a few inserted in the middle", 3 * B, insertRange(B + 1, 5)},
        {"a block's worth inserted at the front", 2 * B + 1, insertRange(0, B)},
        {"a range from empty", 0, insertRange(0, B + 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kivo::ValueList list(numbers(c.size));
        plat::Array expected = numbers(c.size);
        c.edit(list, expected);
        EXPECT_TRUE(sameAs(list, expected));
        // And it goes on working from there.
        list.push_back(plat::Value("end"));
        expected.emplace_back("end");
        list.erase(list.begin());
        expected.erase(expected.begin());
        EXPECT_TRUE(sameAs(list, expected));
    }
}

TEST(ValueList, AnEndingValueSeesTheListWhole) {
    // A value's end may run code that reads the list it was in: by then the list must be consistent.
    kivo::ValueList list(numbers(2 * B + 10));
    std::vector<std::size_t> seenSizes;
    bool whole = true;
    auto watcher = [&] {
        return plat::Value(std::make_shared<Watcher>([&] {
            seenSizes.push_back(list.size());
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i].isNil()) whole = false;
        }));
    };
    list.insert(list.begin() + 5, watcher());
    list.erase(list.begin() + 5);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(B), watcher());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(B), watcher());
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(B - 2), list.begin() + static_cast<std::ptrdiff_t>(B + 2));
    list.push_back(watcher());
    list.pop_back();
    list[3] = watcher();
    list.clear();
    EXPECT_EQ(seenSizes, (std::vector<std::size_t>{2 * B + 10, 2 * B + 8, 2 * B + 8, 2 * B + 8, 0}));
    EXPECT_TRUE(whole);
}

TEST(ValueList, FollowsAVectorThroughRandomEdits) {
    for (const unsigned seed : kivo::testing::valueListSeeds({1u, 2u, 3u})) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        kivo::testing::ValueListDraws draws(seed);
        auto below = [&](std::size_t n) { return draws.below(n); };
        auto position = [&](std::size_t n) { return draws.position(n); };
        kivo::ValueList list;
        plat::Array expected;
        std::int64_t next = 0;
        for (int step = 0; step < 4000; ++step) {
            const std::size_t n = expected.size();
            // More insertions than removals while short, so that the list spans several blocks.
            const std::size_t op = below(n < 5 * B ? 9 : 8);
            switch (op) {
                case 0: case 8: {  // append
                    const std::size_t k = below(3) == 0 ? below(B) : 1;
                    for (std::size_t j = 0; j < k; ++j) {
                        list.push_back(plat::Value(next));
                        expected.emplace_back(next++);
                    }
                    break;
                }
                case 1: {  // insert one
                    const std::size_t at = position(n);
                    kivo::testing::insertInBoth(list, expected, at, plat::Value(next++));
                    break;
                }
                case 2: {  // insert a range, small or large
                    kivo::testing::insertDrawnRange(draws, list, expected, next);
                    break;
                }
                case 3: case 4: {  // erase one
                    if (n == 0) break;
                    const std::size_t at = std::min(position(n), n - 1);
                    kivo::testing::eraseFromBoth(list, expected, at, 1);
                    break;
                }
                case 5: {  // erase a range, small or large
                    const std::size_t at = position(n);
                    const std::size_t k = std::min(n - at, below(4) == 0 ? below(2 * B) : below(8));
                    kivo::testing::eraseFromBoth(list, expected, at, k);
                    break;
                }
                case 6: {  // replace
                    if (n == 0) break;
                    const std::size_t at = below(n);
                    list[at] = plat::Value("r" + std::to_string(next));
                    expected[at] = plat::Value("r" + std::to_string(next++));
                    break;
                }
                default: {  // shrink from the end, or now and then start again
                    if (below(40) == 0) {
                        list.clear();
                        expected.clear();
                    } else {
                        const std::size_t k = std::min(n, below(B / 2));
                        list.resize(n - k);
                        expected.resize(n - k);
                    }
                    break;
                }
            }
            ASSERT_EQ(list.size(), expected.size()) << "step " << step << ", operation " << op;
            // A whole comparison now and then; between them the ends and a few places picked at random.
            if (step % 100 == 0) {
                ASSERT_TRUE(sameAs(list, expected)) << "step " << step << ", operation " << op;
            } else if (!expected.empty()) {
                for (const std::size_t i : {std::size_t{0}, expected.size() - 1, below(expected.size()), below(expected.size())})
                    ASSERT_EQ(list[i], expected[i]) << "at " << i << ", step " << step << ", operation " << op;
            }
        }
        EXPECT_TRUE(sameAs(list, expected));
        // Copies are deep.
        kivo::ValueList copy = list;
        if (!copy.empty()) copy[0] = plat::Value("changed");
        EXPECT_TRUE(sameAs(list, expected));
    }
}
