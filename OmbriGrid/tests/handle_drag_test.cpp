#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "resize_fixture.h"

namespace {

using R = GridCellRange;

class HandleDrag : public grid_test::PressScene {
protected:
    // Selects (1, 1)–(3, 2) in `mode` and draws, which places the handles.
    void selectInMode(GridSelectionMode mode) {
        grid->setSelectionMode(mode);
        grid->setSelection(std::make_shared<R>(1, 1, 3, 2));
        draw();
    }
    // The middle of a handle's touch area, found by scanning the cells for the point that grabs it.
    plat::Point handle(int which) const {
        for (double y = HeaderHeight; y < 568; y += 1)
            for (double x = HeaderWidth; x < 320; x += 1)
                if (grid->cells()->getAdorner({x, y}) == which) return {x + 7, y + 7};
        ADD_FAILURE() << "no handle " << which;
        return {};
    }
    // Held on `from` until the press begins, moved to `to`, lifted.
    void pressAndDrag(plat::Point from, plat::Point to) {
        touches().down(from).wait(Hold);
        for (int step = 1; step <= 4; ++step)
            touches().move({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
        touches().up();
    }
    std::string shown() const {
        const auto& s = *grid->selection();
        return std::to_string(s.row()) + "," + std::to_string(s.col()) + "," + std::to_string(s.row2()) + "," +
               std::to_string(s.col2());
    }
};

TEST_F(HandleDrag, TheGrabbedCornerFollowsTheFingerAndTheOppositeOneStays) {
    struct Case {
        GridSelectionMode mode;
        int handle;  // 1 start (top-left), 2 end (bottom-right)
        int row, col;
        std::string selection;
    };
    for (const auto& c : std::vector<Case>{{GridSelectionModeCellRange, 1, 0, 0, "0,0,3,2"},
                                           {GridSelectionModeCellRange, 2, 4, 3, "1,1,4,3"},
                                           {GridSelectionModeCellRange, 2, 2, 1, "1,1,2,1"},
                                           {GridSelectionModeRowRange, 1, 0, 2, "0,0,3,4"},
                                           {GridSelectionModeRowRange, 2, 5, 0, "1,0,5,4"}}) {
        grid->setSelection(nullptr);
        selectInMode(c.mode);
        pressAndDrag(handle(c.handle), cellCentre(c.row, c.col));
        EXPECT_EQ(shown(), c.selection) << c.mode << " handle " << c.handle;
    }
}

TEST_F(HandleDrag, APressOffTheHandlesOrOutsideTheRangeModesDoesNotExtend) {
    // Mode 4 places the handles; in row mode the same point is no handle.
    selectInMode(GridSelectionModeRowRange);
    const plat::Point end = handle(2);
    grid->setSelectionMode(GridSelectionModeRow);
    draw();
    const std::string before = shown();
    pressAndDrag(end, cellCentre(5, 1));
    EXPECT_EQ(shown(), before);

    // In the cells but on no handle: the press does not begin and the drag pans.
    selectInMode(GridSelectionModeCellRange);
    pressAndDrag(cellCentre(2, 4), cellCentre(5, 4));
    EXPECT_EQ(shown(), "1,1,3,2");
}

TEST_F(HandleDrag, APressThatBeganOffTheCellsExtendsNothingOverThem) {
    selectInMode(GridSelectionModeCellRange);
    // The top-left corner: the press begins there, but has no selection of its own to extend.
    pressAndDrag({10, 10}, cellCentre(5, 4));
    EXPECT_EQ(shown(), "1,1,3,2");
}

TEST_F(HandleDrag, AnOpenEditStopsTheHandleDrag) {
    selectInMode(GridSelectionModeCellRange);
    const plat::Point end = handle(2);
    grid_test::Access::setEditRange(*grid, std::make_shared<R>(1, 1));
    pressAndDrag(end, cellCentre(5, 4));
    EXPECT_EQ(shown(), "1,1,3,2");
}

}  // namespace
