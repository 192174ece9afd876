#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "KivoCore/ValueList.h"
#include "Platform/testing/log_capture.h"
#include "collection/value_list_random.h"

namespace {

constexpr std::size_t B = kivo::ValueList::BlockCapacity;

plat::Array counting(std::size_t n, std::int64_t from) {
    plat::Array a;
    a.reserve(n);
    for (std::size_t i = 0; i < n; ++i) a.emplace_back(from + static_cast<std::int64_t>(i));
    return a;
}

// Compares without reaching any entry by reference, so that the runs under test stay unmade.
::testing::AssertionResult agrees(const kivo::ValueList& list, const plat::Array& expected) {
    if (list.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << list.size() << ", expected " << expected.size();
    if (!(list == expected)) return ::testing::AssertionFailure() << "the comparison with the array fails";
    if (!(plat::Array(list) == expected)) return ::testing::AssertionFailure() << "the copy as an array differs";
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (const auto c = list.countingAt(i); c && !(plat::Value(*c) == expected[i]))
            return ::testing::AssertionFailure()
                   << "run entry " << i << " reads " << *c << ", expected " << expected[i].description();
    if (list.heldValueCount() > list.size()) return ::testing::AssertionFailure() << "more values held than entries";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(ValueListRuns, AssignedRunsReadWithoutMakingValues) {
    kivo::ValueList list{plat::Value("old")};
    list.assignCounting(10 * B + 3, 100);
    EXPECT_EQ(list.heldValueCount(), 0u);
    EXPECT_TRUE(agrees(list, counting(10 * B + 3, 100)));
    EXPECT_EQ(list.countingAt(7 * B + 5), std::optional<std::int64_t>(100 + 7 * B + 5));
    EXPECT_EQ(list.countingAt(10 * B + 3), std::nullopt);  // out of range
    // Copies, comparisons and conversions leave the runs as they are.
    const kivo::ValueList copy = list;
    EXPECT_TRUE(copy == list);
    EXPECT_EQ(copy.heldValueCount(), 0u);
    EXPECT_EQ(list.heldValueCount(), 0u);

    // A const read by reference makes that one block's values, nothing else.
    const kivo::ValueList& reader = list;
    EXPECT_EQ(reader[3 * B + 1].asInteger(), static_cast<std::int64_t>(100 + 3 * B + 1));
    EXPECT_EQ(list.heldValueCount(), B);
    EXPECT_EQ(list.countingAt(3 * B + 1), std::nullopt);
    EXPECT_EQ(copy.heldValueCount(), 0u);

    // An insertion and a removal near the front make their block only: the values passed along to
    // the later blocks continue their runs.
    list.insert(list.begin() + 5, plat::Value("x"));
    list.erase(list.begin() + 9);
    list.erase(list.begin() + 2);
    EXPECT_EQ(list.heldValueCount(), 2 * B);
    plat::Array expected = counting(10 * B + 3, 100);
    expected.insert(expected.begin() + 5, plat::Value("x"));
    expected.erase(expected.begin() + 9);
    expected.erase(expected.begin() + 2);
    EXPECT_TRUE(agrees(list, expected));

    // A small run grows as values arrive, and reads as values afterwards.
    kivo::ValueList small;
    small.assignCounting(3);
    small.push_back(plat::Value("end"));
    small.insert(small.begin() + 1, plat::Value(-1));
    EXPECT_TRUE(agrees(small, {plat::Value(0), plat::Value(-1), plat::Value(1), plat::Value(2), plat::Value("end")}));
}

TEST(ValueListRuns, ValuesPassedAlongContinueARunOnlyWhenTheyFollowIt) {
    const auto b = static_cast<std::int64_t>(B);
    struct Case {
        const char* name;
        bool erase;  // an erasure at the front passes values back, an insertion passes them on
        plat::Value passed;
        bool runKept;
    };
    const std::vector<Case> cases = {
        {"insert: the integer before the run", false, plat::Value(b - 1), true},
        {"insert: the run's own first", false, plat::Value(b), false},
        {"insert: two before", false, plat::Value(b - 2), false},
        {"insert: the same number as a double", false, plat::Value(static_cast<double>(b - 1)), false},
        {"insert: a text", false, plat::Value("t"), false},
        {"erase: the integer after the run", true, plat::Value(2 * b), true},
        {"erase: the run's own last", true, plat::Value(2 * b - 1), false},
        {"erase: two after", true, plat::Value(2 * b + 1), false},
        {"erase: the same number as a double", true, plat::Value(static_cast<double>(2 * b)), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kivo::ValueList list;
        list.assignCounting(3 * B);
        plat::Array expected = counting(3 * B, 0);
        // The entry that reaches the run in block 1: the last of block 0, or the first of block 2.
        const std::size_t at = c.erase ? 2 * B : B - 1;
        list[at] = c.passed;
        expected[at] = c.passed;
        if (c.erase) {
            list.erase(list.begin());
            expected.erase(expected.begin());
        } else {
            list.insert(list.begin(), plat::Value("front"));
            expected.insert(expected.begin(), plat::Value("front"));
        }
        EXPECT_TRUE(agrees(list, expected));
        EXPECT_EQ(list.countingAt(B + B / 2).has_value(), c.runKept);
    }
}

TEST(ValueListRuns, RangesAtTheEndsOfTheIntegers) {
    kivo::ValueList top;
    top.assignCounting(3, INT64_MAX - 2);
    // Values passed along past the largest and below the smallest integer must not wrap a run round.
    top.insert(top.begin(), plat::Value(INT64_MIN));
    top.push_back(plat::Value(INT64_MIN));
    top.erase(top.begin());
    EXPECT_TRUE(
        agrees(top, {plat::Value(INT64_MAX - 2), plat::Value(INT64_MAX - 1), plat::Value(INT64_MAX), plat::Value(INT64_MIN)}));

    kivo::ValueList bottom;
    bottom.assignCounting(B + 2, INT64_MIN);
    bottom.insert(bottom.begin() + 1, plat::Value(INT64_MAX));
    bottom.erase(bottom.begin());
    plat::Array expected = counting(B + 2, INT64_MIN);
    expected.insert(expected.begin() + 1, plat::Value(INT64_MAX));
    expected.erase(expected.begin());
    EXPECT_TRUE(agrees(bottom, expected));

    plat::testing::LogCapture log;
    kivo::ValueList kept{plat::Value("kept")};
    kept.assignCounting(4, INT64_MAX - 2);
    EXPECT_TRUE(agrees(kept, {plat::Value("kept")}));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("refused"), std::string::npos);
}

TEST(ValueListRuns, FollowAVectorThroughRandomEdits) {
    for (const unsigned seed : kivo::testing::valueListSeeds({11u, 12u, 13u})) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        kivo::testing::ValueListDraws draws(seed);
        auto below = [&](std::size_t n) { return draws.below(n); };
        auto position = [&](std::size_t n) { return draws.position(n); };
        kivo::ValueList list;
        plat::Array expected;
        std::int64_t next = -1'000'000;
        // An integer next to those about `at`: the values that runs on either side may or may not continue.
        auto near = [&](std::size_t at) {
            const std::size_t from = at > 0 ? at - 1 : 0;
            const std::size_t i = std::min(from + below(3), expected.size());
            if (i == expected.size() || !expected[i].isInteger()) return plat::Value(next++);
            return plat::Value(expected[i].asInteger() + static_cast<std::int64_t>(below(5)) - 2);
        };
        for (int step = 0; step < 3000; ++step) {
            const std::size_t n = expected.size();
            const std::size_t op = step == 0 ? 0 : below(12);
            switch (op) {
                case 0: {  // start again from runs, at times a short one
                    const std::size_t k = below(4) == 0 ? below(12) : B + below(6 * B);
                    const auto first = static_cast<std::int64_t>(below(1000));
                    list.assignCounting(k, first);
                    expected = counting(k, first);
                    break;
                }
                case 1: {  // read by reference through a const list, or an iterator
                    if (n == 0) break;
                    const std::size_t at = below(n);
                    const kivo::ValueList& reader = list;
                    ASSERT_EQ(below(2) ? reader[at] : *(reader.begin() + static_cast<std::ptrdiff_t>(at)), expected[at]);
                    break;
                }
                case 2: {  // write
                    if (n == 0) break;
                    const std::size_t at = std::min(position(n), n - 1);
                    const plat::Value v = below(3) ? near(at) : plat::Value("w" + std::to_string(step));
                    list[at] = v;
                    expected[at] = v;
                    break;
                }
                case 3:
                case 4: {  // insert one
                    const std::size_t at = position(n);
                    const plat::Value v = below(3) ? near(at) : plat::Value(next++);
                    kivo::testing::insertInBoth(list, expected, at, v);
                    break;
                }
                case 5: {  // insert a range, small or large
                    kivo::testing::insertDrawnRange(draws, list, expected, next);
                    break;
                }
                case 6:
                case 7: {  // erase one or a range
                    if (n == 0) break;
                    const std::size_t at = std::min(position(n), n - 1);
                    const std::size_t k = std::min(n - at, op == 6 ? std::size_t{1} : below(4) == 0 ? below(2 * B) : below(8));
                    list.erase(list.begin() + static_cast<std::ptrdiff_t>(at),
                               list.begin() + static_cast<std::ptrdiff_t>(at + k));
                    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at),
                                   expected.begin() + static_cast<std::ptrdiff_t>(at + k));
                    break;
                }
                case 8: {  // append or take from the end
                    if (below(2) || n == 0) {
                        list.push_back(plat::Value(next));
                        expected.emplace_back(next++);
                    } else {
                        list.pop_back();
                        expected.pop_back();
                    }
                    break;
                }
                case 9: {  // resize either way, reserve or let go of spare room
                    const std::size_t k = position(n + B);
                    list.resize(k);
                    expected.resize(k);
                    if (below(2)) list.reserve(below(2 * B));
                    if (below(4) == 0) list.shrink_to_fit();
                    break;
                }
                case 10: {  // a copy stands apart from its original
                    kivo::ValueList copy = list;
                    ASSERT_TRUE(copy == list);
                    if (n > 0) {
                        copy[below(n)] = plat::Value("copy");
                        copy.erase(copy.begin());
                    }
                    if (below(2)) {
                        list = copy;
                        expected = plat::Array(copy);
                    }
                    break;
                }
                default: {
                    if (below(30) == 0) {
                        list.clear();
                        expected.clear();
                    }
                    break;
                }
            }
            ASSERT_EQ(list.size(), expected.size()) << "step " << step << ", operation " << op;
            if (!expected.empty()) {
                for (const std::size_t i : {std::size_t{0}, expected.size() - 1, below(expected.size())}) {
                    if (const auto c = list.countingAt(i)) {
                        ASSERT_EQ(plat::Value(*c), expected[i]) << "at " << i << ", step " << step << ", operation " << op;
                    }
                }
            }
            if (step % 50 == 0) {
                ASSERT_TRUE(agrees(list, expected)) << "step " << step << ", operation " << op;
            }
        }
        EXPECT_TRUE(agrees(list, expected));
        // Read by reference throughout, every entry agrees too.
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(list[i], expected[i]) << "at " << i;
        }
        EXPECT_EQ(list.heldValueCount(), list.size());
    }
}
