// Opening and closing details: which rows have one, the frozen rows and the selection after each
// action, and that none of it raises selection events of its own.

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Platform/testing/log_capture.h"
#include "detail_fixture.h"

namespace {

using grid_test::Access;
using grid_test::DetailScene;

struct Sel {
    int row, row2;
};

struct Case {
    std::string name;
    std::int64_t selectionMode;
    int frozen;
    std::vector<int> open;          // opened in mode 2 first, from the bottom up: the original rows
    std::optional<Sel> selection;   // placed as it is once the details are open
    std::optional<std::int64_t> mode;  // set before the action
    std::function<void(DetailScene&, OmbriGrid&, OmbriGridDetailProvider&)> action;
    std::vector<int> parents;
    int frozenAfter;
    Sel selectionAfter;
    int selectionEvents;  // -1: not counted (the rebinding clears the selection its own way)
    int logLines = 0;
};

class DetailBookkeeping : public DetailScene {
public:
    void TestBody() override {}
    int events = 0;
    void run(const Case& c) {
        SCOPED_TRACE(c.name);
        SetUp();
        grid->setSelectionMode(c.selectionMode);
        grid->setFrozenRows(c.frozen);
        provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
        for (auto it = c.open.rbegin(); it != c.open.rend(); ++it) provider()->doExpandCollapse(*it);
        if (c.selection) Access::placeSelection(*grid, GridCellRange(c.selection->row, 0, c.selection->row2, ColumnCount - 1));
        if (c.mode) provider()->setDetailVisibilityMode(*c.mode);
        grid->ombriGridSelectionChanged()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++events; }, owner);
        plat::testing::LogCapture log;
        c.action(*this, *grid, *provider());
        EXPECT_EQ(parents(), c.parents);
        EXPECT_EQ(grid->frozenRows(), c.frozenAfter);
        EXPECT_EQ(grid->selection()->row(), c.selectionAfter.row);
        EXPECT_EQ(grid->selection()->row2(), c.selectionAfter.row2);
        if (c.selectionEvents >= 0) {
            EXPECT_EQ(events, c.selectionEvents);
        }
        EXPECT_EQ(static_cast<int>(log.lines().size()), c.logLines);
        TearDown();
    }
};

auto toggle(std::vector<int> indices) {
    return [indices](DetailScene&, OmbriGrid&, OmbriGridDetailProvider& p) {
        for (int i : indices) p.doExpandCollapse(i);
    };
}
auto setMode(std::int64_t mode) {
    return [mode](DetailScene&, OmbriGrid&, OmbriGridDetailProvider& p) { p.setDetailVisibilityMode(mode); };
}
auto select(int row, int col) {
    return [row, col](DetailScene&, OmbriGrid& g, OmbriGridDetailProvider&) {
        g.setSelection(row < 0 ? nullptr : std::make_shared<GridCellRange>(row, col));
    };
}

const Sel None{-1, -1};

TEST(DetailBookkeepingTable, EachActionLeavesTheDetailsFrozenRowsAndSelectionInStep) {
    const std::vector<Case> cases = {
        {"mode 1: row 2 opened while row 7's detail is open", GridSelectionModeRow, 1, {7}, Sel{13, 13}, 1, toggle({2}), {2}, 1,
         Sel{13, 13}, 0},
        {"mode 3: row 2 opened while row 7's detail is open", GridSelectionModeRow, 1, {}, Sel{7, 7}, 3, toggle({2}), {2}, 1,
         Sel{2, 2}, 0},
        {"mode 1 set over details under 2, 5 and 9", GridSelectionModeRow, 1, {2, 5, 9}, std::nullopt, std::nullopt, setMode(1),
         {2}, 1, None, 0},
        {"mode 2 set over details under 2, 5 and 9", GridSelectionModeRow, 1, {2, 5, 9}, std::nullopt, std::nullopt, setMode(2),
         {2, 6, 11}, 1, None, 0},
        {"mode 0 set over details under 2, 5 and 9", GridSelectionModeRow, 1, {2, 5, 9}, std::nullopt, std::nullopt, setMode(0),
         {}, 1, None, 0},
        {"mode 3 set in row mode with row 4 selected", GridSelectionModeRow, 1, {9}, Sel{4, 4}, std::nullopt, setMode(3), {4}, 1,
         Sel{4, 4}, 0},
        {"mode 3: a lower row selected after row 4", GridSelectionModeRow, 1, {}, Sel{4, 4}, 3, select(9, 0), {8}, 1, Sel{8, 8},
         1},
        {"mode 3: a move within the open row in cell mode closes it", GridSelectionModeCell, 1, {}, Sel{4, 4}, 3, select(4, 2), {},
         1, Sel{4, 4}, 1},
        {"mode 3: row -1 closes every detail", GridSelectionModeRow, 1, {}, Sel{4, 4}, 3, select(-1, -1), {}, 1, None, 1},
        {"mode 3: a selection on a detail row opens and closes nothing", GridSelectionModeCell, 1, {}, Sel{4, 4}, 3,
         select(5, 1), {4}, 1, Sel{5, 5}, 1},
        {"frozen rows 2 to 3 as row 1's detail opens", GridSelectionModeRow, 2, {}, std::nullopt, 2, toggle({1}), {1}, 3, None, 0},
        {"frozen rows back to 2 as it closes", GridSelectionModeRow, 2, {}, std::nullopt, 2, toggle({1, 1}), {}, 2, None, 0},
        {"mode 2: the selection on row 10 moves down as a detail opens above", GridSelectionModeRow, 1, {}, Sel{10, 10}, 2,
         toggle({5}), {5}, 1, Sel{11, 11}, 0},
        {"mode 2: and back as it closes", GridSelectionModeRow, 1, {}, Sel{10, 10}, 2, toggle({5, 5}), {}, 1, Sel{10, 10}, 0},
        {"mode 1: a range across the removed detail keeps its rows", GridSelectionModeRowRange, 1, {7}, Sel{3, 12}, 1,
         toggle({2}), {2}, 1, Sel{4, 12}, 0},
        {"close all: each end of a range on its own test", GridSelectionModeRowRange, 1, {2, 9}, Sel{5, 14}, 2, toggle({-1}), {},
         1, Sel{4, 12}, 0},
        {"a rebinding closes every detail first", GridSelectionModeRow, 2, {0, 5}, std::nullopt, 2,
         [](DetailScene&, OmbriGrid& g, OmbriGridDetailProvider&) { g.setItemsSource(grid_test::wideItems(DetailScene::RowCount)); }, {}, 2,
         None, -1},
        {"an index neither -1 nor a row is refused", GridSelectionModeRow, 1, {3}, Sel{6, 6}, 2, toggle({-2, 21, INT32_MIN}), {3},
         1, Sel{6, 6}, 0, 3},
        {"a row not among the grid's rows is refused", GridSelectionModeRow, 1, {3}, std::nullopt, 2,
         [](DetailScene&, OmbriGrid&, OmbriGridDetailProvider& p) {
             auto foreign = std::make_shared<GridRow>();
             p.showDetail(foreign);
             p.showDetail(foreign, true);
             p.hideDetail(foreign);
         },
         {3}, 1, None, 0, 3},
        {"a detail row has no detail of its own", GridSelectionModeRow, 1, {3}, std::nullopt, 2,
         [](DetailScene& s, OmbriGrid&, OmbriGridDetailProvider& p) {
             p.showDetail(s.row(4), true);
             p.doExpandCollapse(4);
             p.hideDetail(s.row(4));
         },
         {3}, 1, None, 0},
    };
    for (const auto& c : cases) {
        DetailBookkeeping scene;
        scene.run(c);
    }
}

TEST_F(DetailScene, AGroupRowHasNoDetailAndASpacerRowHasOne) {
    provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
    grid->addGroup("group", {plat::Value(std::make_shared<grid_test::Wide>(100))});
    const auto groupIndex = static_cast<std::int32_t>(grid->rows()->count()) - 2;
    auto group = row(groupIndex);
    ASSERT_TRUE(std::dynamic_pointer_cast<GridGroupRow>(group));
    provider()->showDetail(group);
    provider()->doExpandCollapse(groupIndex);
    EXPECT_EQ(parents(), std::vector<int>{});

    grid->rows()->insertObject(plat::Value(std::make_shared<GridEmptyRow>()), 3);
    provider()->showDetail(row(3));
    EXPECT_EQ(parents(), std::vector<int>{3});
}

TEST_F(DetailScene, ShowAndHideDetailFollowTheRowWhereverItStands) {
    provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
    auto eight = row(8);
    provider()->showDetail(row(2));
    provider()->showDetail(eight);
    provider()->showDetail(eight);
    EXPECT_EQ(parents(), (std::vector<int>{2, 9})) << "a second showDetail leaves the open detail alone";
    provider()->showDetail(eight, true);
    EXPECT_EQ(parents(), std::vector<int>{8}) << "the others close and the row's own stays open";
    provider()->hideDetail(row(2));
    EXPECT_EQ(parents(), std::vector<int>{8}) << "hiding a row without a detail changes nothing";
    provider()->hideDetail(eight);
    EXPECT_EQ(parents(), std::vector<int>{});
}

TEST_F(DetailScene, AnUnknownModeClosesEveryDetailThenActsAsMode2) {
    provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
    provider()->doExpandCollapse(6);
    provider()->setDetailVisibilityMode(7);
    EXPECT_EQ(provider()->detailVisibilityMode(), 7);
    EXPECT_EQ(parents(), std::vector<int>{});
    provider()->doExpandCollapse(2);
    provider()->doExpandCollapse(4);
    EXPECT_EQ(parents(), (std::vector<int>{2, 4}));
}

TEST_F(DetailScene, AHeightARowCannotHaveIsRefused) {
    provider()->setDetailHeight(150);
    plat::testing::LogCapture log;
    const double refused[] = {-1.0, std::nan(""), HUGE_VAL, 3e9};
    for (double bad : refused) provider()->setDetailHeight(bad);
    EXPECT_EQ(provider()->detailHeight(), 150);
    EXPECT_EQ(log.lines().size(), 4u);
    provider()->setDetailHeight(0);
    EXPECT_EQ(provider()->detailHeight(), 0);
}

}  // namespace
