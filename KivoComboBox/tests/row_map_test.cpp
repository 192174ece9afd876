// The map between the rows of a sorted or filtered list and the items' indices in their source.

#include <gtest/gtest.h>

#include <memory>

#include "Platform/foundation/object.h"
#include "combobox/RowMap.h"

namespace {

TEST(RowMap, EachRowFindsItsOwnOccurrenceOfARepeatedItem) {
    const plat::Value shared(std::make_shared<plat::Object>());
    const plat::Array source{"b", "a", "b", shared, shared, 2};
    const plat::Array rows{shared, 2, "a", "b", "b", shared, "missing"};
    kivo::detail::RowMap map;
    map.rebuild(source, rows);
    const std::uint64_t expected[] = {3, 5, 1, 0, 2, 4, plat::NotFound};
    for (std::int64_t row = 0; row < 7; ++row) EXPECT_EQ(map.indexOfRow(row), expected[row]) << "row " << row;
    EXPECT_EQ(map.rowOfIndex(2), std::optional<std::int64_t>(4));
    EXPECT_EQ(map.indexOfRow(7), plat::NotFound);
    EXPECT_EQ(map.indexOfRow(-1), plat::NotFound);

    // Rows in the source's own order map straight through; a shorter list leaves the rest unmapped.
    map.rebuild(source, source);
    EXPECT_EQ(map.indexOfRow(4), 4u);
    map.rebuild(source, {"b", "a"});
    EXPECT_EQ(map.rowOfIndex(1), std::optional<std::int64_t>(1));
    EXPECT_EQ(map.rowOfIndex(3), std::nullopt);
}

}  // namespace
