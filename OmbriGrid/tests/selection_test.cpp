#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/testing/log_capture.h"
#include "selection_fixture.h"

using R = GridCellRange;

namespace {

// Notes every Changing and Changed event with the range it carries, and answers Changing as told.
class Recorder {
public:
    explicit Recorder(const std::shared_ptr<OmbriGrid>& grid) : owner(std::make_shared<int>()) {
        grid->ombriGridSelectionChanging()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridCellRangeEventArgs>();
                changing.push_back(*args->cellRange());
                panels.push_back(args->panel());
                if (cancel) args->setCancel(true);
            },
            owner);
        grid->ombriGridSelectionChanged()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++changed; }, owner);
    }
    std::shared_ptr<int> owner;
    std::vector<R> changing;
    std::vector<std::shared_ptr<GridPanel>> panels;
    int changed = 0;
    bool cancel = false;
};

class Answering : public OmbriGridDelegate {
public:
    explicit Answering(std::optional<bool> answer) : answer(answer) {}
    std::optional<bool> selectionChanging(const Grid&, const Panel&, const Range&) override { return answer; }
    void selectionChanged(const Grid&, const Panel&, const Range&) override { ++told; }
    std::optional<bool> answer;
    int told = 0;
};

class Selection : public grid_test::SelectionScene {
protected:
    void expectSelection(const R& expected, const std::string& context) {
        EXPECT_TRUE(grid->selection()->isEqual(expected))
            << context << ": got (" << grid->selection()->row() << ", " << grid->selection()->col() << ", "
            << grid->selection()->row2() << ", " << grid->selection()->col2() << ")";
    }
    // The point in the middle of a cell of the row headers (col -1), top-left (both -1) or cells.
    plat::Point pointOf(std::int32_t row, std::int32_t col) const {
        const double x = col < 0 ? 5 : grid->offset().x + col * ColumnWidth + 5;
        const double y = row < 0 ? 5 : grid->offset().y + row * RowHeight + 5;
        return {x, y};
    }
};

TEST_F(Selection, RequestsAreShapedByTheModeCheckedAndAnnouncedOnce) {
    const std::optional<R> none;
    struct Case {
        const char* name;
        GridSelectionMode mode;
        std::optional<R> before;  // set first, not counted
        bool cellRange;           // selectCellRange rather than setSelection
        std::optional<R> request; // none: null
        R after;
        int events;  // Changing and Changed each
        int logLines;
    };
    const std::vector<Case> cases = {
        {"row mode widens before Changing", GridSelectionModeRow, none, false, R(2, 3), R(2, 0, 2, 9), 1, 0},
        {"row range widens", GridSelectionModeRowRange, none, false, R(5, 4, 2, 8), R(5, 0, 2, 9), 1, 0},
        {"cell range as given", GridSelectionModeCellRange, none, false, R(6, 7, 1, 2), R(6, 7, 1, 2), 1, 0},
        {"null clears", GridSelectionModeRow, R(4, 0), false, none, R(), 1, 0},
        {"the empty range clears in cell mode", GridSelectionModeCell, R(4, 1), false, R(), R(), 1, 0},
        {"the same range twice", GridSelectionModeCellRange, R(1, 1, 2, 2), false, R(1, 1, 2, 2), R(1, 1, 2, 2), 0, 0},
        {"the same row after widening", GridSelectionModeRow, R(3, 0), false, R(3, 7), R(3, 0, 3, 9), 0, 0},
        {"negative row", GridSelectionModeCellRange, R(1, 1), false, R(-1, 0), R(1, 1), 0, 1},
        {"past the last row", GridSelectionModeCellRange, R(1, 1), false, R(0, 0, 100, 0), R(1, 1), 0, 1},
        {"past the last column", GridSelectionModeCell, R(1, 1), false, R(0, 10), R(1, 1), 0, 1},
        {"a half-empty range", GridSelectionModeRow, R(1, 1), false, R(-1, 2, -1, 2), R(1, 0, 1, 9), 0, 1},
        {"cell range skips the widening", GridSelectionModeRow, none, true, R(2, 3), R(2, 3), 1, 0},
        {"cell range refuses outside", GridSelectionModeCellRange, R(1, 1), true, R(2, 10), R(1, 1), 0, 1},
        {"cell range null clears", GridSelectionModeRow, R(4, 0), true, none, R(), 1, 0},
    };
    for (const auto& c : cases) {
        grid->setSelection(std::make_shared<R>());
        grid->setSelectionMode(c.mode);
        if (c.before) grid->setSelection(std::make_shared<R>(*c.before));
        Recorder rec(grid);
        plat::testing::LogCapture log;
        auto request = c.request ? std::make_shared<R>(*c.request) : nullptr;
        if (c.cellRange)
            grid->selectCellRange(request, false);
        else
            grid->setSelection(request);
        expectSelection(c.after, c.name);
        EXPECT_EQ(rec.changed, c.events) << c.name;
        ASSERT_EQ(rec.changing.size(), static_cast<std::size_t>(c.events)) << c.name;
        if (c.events) {
            EXPECT_TRUE(rec.changing[0].isEqual(c.after)) << c.name << ": Changing carries the range stored";
            EXPECT_EQ(rec.panels[0], grid->cells()) << c.name;
        }
        EXPECT_EQ(log.lines().size(), static_cast<std::size_t>(c.logLines)) << c.name;
        EXPECT_EQ(view()->currentPosition(), grid->selection()->row()) << c.name << ": the current item follows";
        grid->ombriGridSelectionChanging()->removeHandlersForObject(rec.owner);
        grid->ombriGridSelectionChanged()->removeHandlersForObject(rec.owner);
    }
}

TEST_F(Selection, ARefusalNamesTheRangeAndAGridWithoutRowsTakesOnlyTheEmptyRange) {
    plat::testing::LogCapture log;
    grid->setSelection(std::make_shared<R>(3, 12));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("(3, 12, 3, 12)"), std::string::npos) << log.lines()[0];

    bind(std::make_shared<plat::Array>());
    grid->columns()->push(std::make_shared<GridColumn>());
    Recorder rec(grid);
    grid->setSelection(std::make_shared<R>(0, 0));
    grid->selectCellRange(std::make_shared<R>(0, 0), true);
    EXPECT_TRUE(grid->selection()->isEqual(R()));
    EXPECT_EQ(rec.changed, 0);
}

TEST_F(Selection, TheDelegatesAnswerReplacesTheHandlersCancel) {
    struct Case {
        bool handlerCancels;
        std::optional<std::optional<bool>> delegate;  // none: no delegate; a nullopt inside: no answer
        bool changes;
    };
    const std::vector<Case> cases = {
        {false, std::nullopt, true},  {true, std::nullopt, false},
        {false, std::optional<bool>(), true}, {true, std::optional<bool>(), false},
        {false, true, false},         {true, true, false},
        {false, false, true},         {true, false, true},
    };
    int i = 0;
    for (const auto& c : cases) {
        grid->setDelegate(nullptr);
        grid->setSelection(std::make_shared<R>(1, 0));
        Recorder rec(grid);
        rec.cancel = c.handlerCancels;
        std::shared_ptr<Answering> d;
        if (c.delegate) {
            d = std::make_shared<Answering>(*c.delegate);
            grid->setDelegate(d);
        }
        grid->setSelection(std::make_shared<R>(5, 0));
        const bool changed = grid->selection()->row() == 5;
        EXPECT_EQ(changed, c.changes) << "case " << i;
        EXPECT_EQ(rec.changed, c.changes ? 1 : 0) << "case " << i;
        if (d) {
            EXPECT_EQ(d->told, c.changes ? 1 : 0) << "case " << i;
        }
        EXPECT_EQ(view()->currentPosition(), c.changes ? 5 : 1) << "case " << i << ": a veto leaves the current item";
        grid->ombriGridSelectionChanging()->removeHandlersForObject(rec.owner);
        grid->ombriGridSelectionChanged()->removeHandlersForObject(rec.owner);
        ++i;
    }
}

TEST_F(Selection, AModeChangeReshapesTheSelection) {
    struct Case {
        const char* name;
        GridSelectionMode from;
        R before;
        std::int64_t to;
        R after;
    };
    const std::vector<Case> cases = {
        {"3 × 1 kept in cell mode", GridSelectionModeCellRange, R(1, 2, 3, 2), GridSelectionModeCell, R(1, 2, 3, 2)},
        {"1 × 3 shrinks to its first cell", GridSelectionModeCellRange, R(1, 3, 1, 1), GridSelectionModeCell, R(1, 1)},
        {"none clears", GridSelectionModeCellRange, R(1, 1, 2, 2), GridSelectionModeNone, R()},
        {"row mode keeps the top row", GridSelectionModeCellRange, R(4, 2, 2, 3), GridSelectionModeRow, R(2, 0, 2, 9)},
        {"row range keeps the rows", GridSelectionModeCellRange, R(4, 2, 2, 3), GridSelectionModeRowRange, R(4, 0, 2, 9)},
        {"cell range keeps the cells", GridSelectionModeRowRange, R(4, 0, 2, 9), GridSelectionModeCellRange, R(4, 0, 2, 9)},
        {"a mode past 4 is refused", GridSelectionModeCellRange, R(1, 1, 2, 2), 5, R(1, 1, 2, 2)},
        {"a negative mode is refused", GridSelectionModeCellRange, R(1, 1, 2, 2), -1, R(1, 1, 2, 2)},
    };
    for (const auto& c : cases) {
        grid->setSelectionMode(c.from);
        grid->setSelection(std::make_shared<R>(c.before));
        plat::testing::LogCapture log;
        grid->setSelectionMode(c.to);
        expectSelection(c.after, c.name);
        const bool refused = c.to < 0 || c.to > 4;
        EXPECT_EQ(grid->selectionMode(), refused ? c.from : c.to) << c.name;
        EXPECT_EQ(log.lines().size(), refused ? 1u : 0u) << c.name;
        EXPECT_EQ(view()->currentPosition(), grid->selection()->row()) << c.name;
    }
}

TEST_F(Selection, ATapSelectsByWhatItHitsAndTheMode) {
    struct Case {
        GridSelectionMode mode;
        std::int32_t row, col;  // -1: the header of that axis
        std::optional<R> after; // none: unchanged
    };
    const std::vector<Case> cases = {
        {GridSelectionModeCellRange, 3, 2, R(3, 2)},     {GridSelectionModeRow, 3, 2, R(3, 0, 3, 9)},
        {GridSelectionModeNone, 3, 2, std::nullopt},     {GridSelectionModeCell, -1, -1, R(0, 0)},
        {GridSelectionModeCellRange, -1, -1, R(0, 0, 99, 9)}, {GridSelectionModeRow, -1, -1, R(0, 0, 0, 9)},
        {GridSelectionModeRowRange, -1, -1, R(0, 0, 99, 9)},  {GridSelectionModeCell, 4, -1, R(4, 0)},
        {GridSelectionModeCellRange, 4, -1, R(4, 0, 4, 9)}, {GridSelectionModeRow, 4, -1, R(4, 0, 4, 9)},
        {GridSelectionModeRowRange, 4, -1, R(4, 0, 4, 9)},  {GridSelectionModeCellRange, -1, 2, std::nullopt},
    };
    for (const auto& c : cases) {
        grid->setSelectionMode(GridSelectionModeCellRange);
        grid->setSelection(std::make_shared<R>(7, 7));
        grid->setSelectionMode(c.mode);
        const R before = *grid->selection();
        const GridHitTestInfo hit(grid, pointOf(c.row, c.col));
        grid->handleSelection(hit);
        expectSelection(c.after.value_or(before), "mode " + std::to_string(c.mode) + " at " + std::to_string(c.row) + ", " +
                                                      std::to_string(c.col));
        EXPECT_EQ(view()->currentPosition(), grid->selection()->row());
    }
    // The corner of a grid without rows selects nothing.
    bind(std::make_shared<plat::Array>());
    grid->setSelectionMode(GridSelectionModeCellRange);
    Recorder rec(grid);
    grid->handleSelection(GridHitTestInfo(grid, {5, 5}));
    EXPECT_EQ(rec.changed, 0);
    EXPECT_TRUE(grid->selection()->isEqual(R()));
}

TEST_F(Selection, TheCurrentItemIsTheSelectedRowsOwnEvenAmongEqualItems) {
    auto items = grid_test::wideItems(10);
    (*items)[7] = (*items)[3];  // the very same item twice
    bind(items);
    grid->setSelection(std::make_shared<R>(7, 1));
    EXPECT_EQ(view()->currentPosition(), 7);
    grid->setSelection(std::make_shared<R>(3, 1));
    EXPECT_EQ(view()->currentPosition(), 3);
    grid->setSelection(nullptr);
    EXPECT_EQ(view()->currentPosition(), -1);
}

TEST_F(Selection, InAGroupedViewTheCurrentItemIsTheRowsItemAndAGroupRowHasNone) {
    // Items 0…5 grouped by parity of c0 % 2 through a property: groups interleave in the list.
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < 6; ++i) items->push_back(plat::Value(std::make_shared<grid_test::Wide>(i % 2 == 0 ? 0 : 1)));
    (*items)[4] = (*items)[0];  // equal items inside one group
    auto grouped = KivoCollectionView::create(items);
    grouped->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("c0")));
    grid->setCollectionView(grouped);
    draw();
    // Rows: group 0, items at 0, 2, 4; group 1, items at 1, 3, 5.
    ASSERT_EQ(grid->rows()->count(), 8u);
    const std::vector<std::int32_t> expected = {-1, 0, 2, 4, -1, 1, 3, 5};
    for (std::int32_t row = 0; row < 8; ++row) {
        grid->setSelection(std::make_shared<R>(row, 0));
        EXPECT_EQ(grouped->currentPosition(), expected[static_cast<std::size_t>(row)]) << "row " << row;
    }
}

TEST_F(Selection, TheAnchorCellIsTheCursorWhereverItLies) {
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<R>(3, 4, 1, 2));
    EXPECT_EQ(grid->getSelectedStateForRow(3, 4), GridSelectedStateCursor);
    EXPECT_EQ(grid->getSelectedStateForRow(1, 2), GridSelectedStateSelected);
    EXPECT_EQ(grid->getSelectedStateForRow(2, 3), GridSelectedStateSelected);
    EXPECT_EQ(grid->getSelectedStateForRow(0, 2), GridSelectedStateNone);
    EXPECT_EQ(grid->getSelectedStateForRow(2, 5), GridSelectedStateNone);
    EXPECT_EQ(grid->getSelectedStateForRow(-1, -1), GridSelectedStateNone);
    EXPECT_EQ(grid->getSelectedStateForRow(100, 2), GridSelectedStateNone);
    grid->setSelectionMode(GridSelectionModeRowRange);
    grid->setSelectionMode(GridSelectionModeNone);
    EXPECT_EQ(grid->getSelectedStateForRow(3, 4), GridSelectedStateNone);
}

TEST_F(Selection, AMergedSelectionCoversTheMergedCellsItTouches) {
    auto items = grid_test::wideItems(6);
    (*items)[2] = plat::Value(std::make_shared<grid_test::Wide>(1));  // rows 1 and 2 read the same
    bind(items);
    grid->setAllowMerging(GridAllowMergingCells);
    grid->columns()->column(1)->setAllowMerging(true);
    grid->setSelectionMode(GridSelectionModeCell);
    grid->setSelection(std::make_shared<R>(2, 1));
    EXPECT_TRUE(grid->mergedSingleSelection()->isEqual(R(1, 1, 2, 1)));
    EXPECT_TRUE(grid->mergedSelection()->isEqual(R(1, 1, 2, 1)));
    grid->setAllowMerging(GridAllowMergingNone);
    EXPECT_TRUE(grid->mergedSingleSelection()->isEqual(R(2, 1)));
}

}  // namespace
