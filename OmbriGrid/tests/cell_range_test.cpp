#include <gtest/gtest.h>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"

namespace {

TEST(GridCellRange, NormalisesItsCornersAndMeasuresItsSpans) {
    struct Case {
        GridCellRange range;
        std::int32_t top, bottom, left, right;
        std::int64_t rowSpan, columnSpan;
        bool valid, single;
    };
    const Case cases[] = {
        {GridCellRange(5, 2, 3, 7), 3, 5, 2, 7, 3, 6, true, false},
        {GridCellRange(), -1, -1, -1, -1, 0, 0, false, true},
        {GridCellRange(-1, 0, 4, 0), -1, 4, 0, 0, 6, 1, false, false},
        {GridCellRange(2, 3), 2, 2, 3, 3, 1, 1, true, true},
        // The widest span the indices allow does not overflow.
        {GridCellRange(INT32_MIN, 0, INT32_MAX, 0), INT32_MIN, INT32_MAX, 0, 0, 4294967296LL, 1, false, false},
    };
    for (const Case& c : cases) {
        const auto& r = c.range;
        SCOPED_TRACE(testing::Message() << r.row() << "," << r.col() << "," << r.row2() << "," << r.col2());
        EXPECT_EQ(r.topRow(), c.top);
        EXPECT_EQ(r.bottomRow(), c.bottom);
        EXPECT_EQ(r.leftCol(), c.left);
        EXPECT_EQ(r.rightCol(), c.right);
        EXPECT_EQ(r.rowSpan(), c.rowSpan);
        EXPECT_EQ(r.columnSpan(), c.columnSpan);
        EXPECT_EQ(r.isValid(), c.valid);
        EXPECT_EQ(r.isSingleCell(), c.single);
    }
}

TEST(GridCellRange, ContainmentIntersectionAndEqualityReadTheCornersAsStored) {
    const GridCellRange wide(-1, 0, 3, 4);
    EXPECT_TRUE(wide.containsRow(-1));
    EXPECT_FALSE(wide.containsRow(4));
    EXPECT_TRUE(wide.containsColumn(4));
    EXPECT_TRUE(wide.contains(GridCellRange(3, 4, 0, 1)));
    EXPECT_FALSE(wide.contains(GridCellRange(0, 0, 4, 0)));
    EXPECT_TRUE(wide.intersects(GridCellRange(3, 4, 9, 9)));
    EXPECT_FALSE(wide.intersects(GridCellRange(4, 0, 9, 9)));
    EXPECT_FALSE(GridCellRange(1, 1, 2, 2).isEqual(GridCellRange(2, 2, 1, 1)));
    const auto copy = GridCellRange(1, 2, 3, 4).clone();
    EXPECT_TRUE(copy->isEqual(GridCellRange(1, 2, 3, 4)));
}

TEST(GridCellRange, RenderSizeCountsHiddenAndOutsideItemsAsZero) {
    auto grid = OmbriGrid::create({0, 0, 400, 300});
    for (int i = 0; i < 3; ++i) {
        auto column = std::make_shared<GridColumn>();
        column->setWidth(50 + 10 * i);  // 50, 60, 70
        grid->columns()->push(column);
        grid->rows()->push(std::make_shared<GridRow>());  // 28 each
    }
    grid->rows()->row(1)->setVisible(false);
    const auto& cells = *grid->cells();
    struct Case {
        GridCellRange range;
        double width, height;
    };
    const Case cases[] = {
        {GridCellRange(0, 0, 2, 2), 180, 56},  // the hidden row counts 0
        {GridCellRange(2, 2, 0, 0), 180, 56},  // corners in any order
        {GridCellRange(0, 1, 9, 9), 130, 56},  // past the end counts 0
        {GridCellRange(), 0, 0},               // the empty range
        {GridCellRange(-5, -5, 0, 0), 50, 28},
    };
    for (const Case& c : cases) {
        const plat::Size s = c.range.getRenderSize(cells);
        EXPECT_EQ(s.width, c.width) << c.range.row() << "," << c.range.col();
        EXPECT_EQ(s.height, c.height) << c.range.row() << "," << c.range.col();
    }
}

}  // namespace
