#include <gtest/gtest.h>

// Only the control's own header: what its accessors return must be usable without knowing which
// other header defines it.
#include "OmbriGrid/OmbriGrid.h"

TEST(GridPublicHeader, WhatTheAccessorsReturnIsUsableThroughTheGridsHeaderAlone) {
    auto grid = OmbriGrid::create({0, 0, 200, 100});
    EXPECT_EQ(grid->rows()->count(), 0u);
    EXPECT_EQ(grid->columns()->count(), 0u);
    EXPECT_EQ(grid->cells()->rows(), grid->rows());
    EXPECT_EQ(grid->columnHeaderRow()->index(), 0);
    EXPECT_FALSE(grid->collectionView());
}
