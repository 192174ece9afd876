// Sizes at the ends of the 32-bit range, fonts far too large, auto-sizing over them: the cell
// rectangles, the drawing and the hit test stay within whole 32-bit coordinates (run under UBSan).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridMergeManager.h"
#include "Platform/testing/log_capture.h"
#include "grid_drawing.h"

namespace {

class ExtremeGeometry : public grid_test::DrawnGrid {
protected:
    void expectSane(const plat::Rect& r, const char* what) {
        for (const double v : {r.x(), r.y(), r.width(), r.height()}) {
            EXPECT_TRUE(std::isfinite(v)) << what;
            EXPECT_GE(v, static_cast<double>(INT32_MIN)) << what;
            EXPECT_LE(v, static_cast<double>(INT32_MAX)) << what;
        }
    }
    // Every cell of every panel, drawn and hit at its corners.
    void exercise(const char* what) {
        draw();
        for (const auto& panel : {grid->cells(), grid->columnHeaders(), grid->rowHeaders(), grid->topLeftCells()}) {
            const auto R = static_cast<std::int32_t>(panel->rows()->count());
            const auto C = static_cast<std::int32_t>(panel->columns()->count());
            for (std::int32_t r = 0; r < R; ++r)
                for (std::int32_t c = 0; c < C; ++c) {
                    const plat::Rect rect = panel->getCellRect(r, c);
                    expectSane(rect, what);
                    expectSane(panel->getCellRectInternal(r, c), what);
                    (void)panel->isRowTopVisible(r);
                    (void)panel->isRowBottomVisible(r);
                }
        }
        for (const plat::Point p : {plat::Point{1, 1}, plat::Point{200, 150}, plat::Point{399, 299}}) (void)grid->hitTest(p);
    }
};

TEST_F(ExtremeGeometry, ExtremeSizesFontsAndAutoSizingGiveWholeRectangles) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    bindRecords(6);
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    // A merged block spanning the frozen edge, whose rectangle is held inside the frame.
    grid->columns()->column(1)->setAllowMerging(true);
    grid->setAllowMerging(GridAllowMergingCells);
    for (int r = 0; r < 4; ++r) grid->setCellData(plat::Value("same"), r, 1);
    const auto merged = grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(1, 1), GridCellTypeCell);
    ASSERT_TRUE(merged && !merged->isSingleCell());
    struct Case {
        const char* name;
        std::int32_t size, min, max;
        double font;
    };
    const std::vector<Case> cases = {
        {"largest default", INT32_MAX, -1, -1, 12},
        {"largest default and limits", INT32_MAX, INT32_MAX, INT32_MAX, 1e9},
        {"smallest limits", INT32_MAX, INT32_MIN, INT32_MIN, 1e6},
        {"smallest default", INT32_MIN, INT32_MIN, INT32_MAX, 1e9},
    };
    for (const auto& k : cases) {
        for (const auto& items : {std::static_pointer_cast<GridRowColCollection>(grid->rows()),
                                  std::static_pointer_cast<GridRowColCollection>(grid->columns())}) {
            items->setDefaultSize(k.size);
            items->setMinSize(k.min);
            items->setMaxSize(k.max);
        }
        exercise(k.name);
        grid->setFontSize(k.font);
        grid->setColumnHeaderFontSize(k.font);
        grid->setRowHeaderFontSize(k.font);
        exercise(k.name);
        grid->setAutoSizeMode(6);
        grid->autoSizeColumns();
        grid->autoSizeRows();
        grid->autoSizeRows(0, 0, true, INT32_MAX);
        grid->autoSizeRows(0, 0, false, INT32_MIN);
        grid->autoSizeColumns(0, 0, true, INT32_MAX);
        grid->setScrollPosition({1e12, 1e12});
        exercise(k.name);
        grid->setScrollPosition({-1e12, -1e12});
        exercise(k.name);
        // Origins the clamping would not leave: a pass in between may come before the next clamp.
        for (const double o : {-566.0, -1e12, 1e12}) {
            grid_test::Access::placeOrigin(*grid, o, o);
            exercise(k.name);
        }
    }
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("refused")));
}

}  // namespace
