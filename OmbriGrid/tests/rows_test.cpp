#include <gtest/gtest.h>

#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"
#include "rows/GroupCollapse.h"

using grid_test::Access;

namespace {

class GridRows : public ::testing::Test {
protected:
    void laidOut() { grid->rows()->totalSize(); }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(GridRows, RenderSizesApplyTheOwnersAndTheirOwnLimits) {
    auto& rows = *grid->rows();
    rows.setDefaultSize(24);
    struct Case {
        const char* name;
        std::function<std::shared_ptr<GridRowCol>()> make;
        std::function<void()> setCollection;
        std::int32_t expected;
    };
    auto row = [](std::int32_t size, std::int32_t min, std::int32_t max) {
        auto r = std::make_shared<GridRow>();
        r->setHeight(size);
        r->setMinHeight(min);
        r->setMaxHeight(max);
        return r;
    };
    auto none = [] {};
    const Case cases[] = {
        {"default", [&] { return row(-1, -1, -1); }, none, 24},
        {"own maximum", [&] { return row(-1, -1, 10); }, none, 10},
        {"own maximum 0 is no limit", [&] { return row(-1, -1, 0); }, none, 24},
        {"own minimum", [&] { return row(5, 30, -1); }, none, 30},
        {"maximum below minimum wins", [&] { return row(5, 30, 20); }, none, 20},
        {"owner minimum", [&] { return row(5, -1, -1); }, [&] { rows.setMinSize(12); }, 12},
        {"owner maximum", [&] { return row(50, -1, -1); }, [&] { rows.setMaxSize(40); }, 40},
        {"owner maximum 0 is no limit", [&] { return row(50, -1, -1); }, [&] { rows.setMaxSize(0); }, 50},
        {"not visible",
         [&] {
             auto r = row(50, -1, -1);
             r->setVisible(false);
             return r;
         },
         none, 0},
        {"hidden by a collapsed group",
         [&] {
             auto r = row(50, -1, -1);
             kivo::detail::GroupCollapse::setQuietly(*r, GridRowColFlagsHiddenByCollapse, true);
             return r;
         },
         none, 0},
        {"group row takes the group size without limits",
         [&] {
             auto g = std::make_shared<GridGroupRow>();
             g->setMaxHeight(5);
             return g;
         },
         [&] { rows.setDefaultGroupSize(33); }, 33},
        {"detail row", [] { return std::make_shared<GridDetailRow>(); }, none, 200},
        {"detail row hidden by a group",
         [] {
             auto d = std::make_shared<GridDetailRow>();
             kivo::detail::GroupCollapse::setQuietly(*d, GridRowColFlagsHiddenByCollapse, true);
             return d;
         },
         none, 0},
        {"detail row without provider", [] { return std::make_shared<GridDetailRow>(); },
         [&] { grid->setDetailProvider(nullptr); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rows.removeAllObjects();
        rows.setMinSize(0);
        rows.setMaxSize(0);
        grid->setDetailProvider(std::make_shared<OmbriGridDetailProvider>(grid));
        c.setCollection();
        auto item = c.make();
        rows.push(item);
        EXPECT_EQ(rows.totalSize(), c.expected);  // laid out: the item knows its owner from here
        EXPECT_EQ(item->renderSize(), c.expected);
    }
    // No owner: a row of default size renders -1.
    EXPECT_EQ(std::make_shared<GridRow>()->renderSize(), -1);
    EXPECT_EQ(std::make_shared<GridColumn>()->renderSize(), -1);
}

TEST_F(GridRows, ASizeChangeRelaysTheRowDropsItsImagesAndAsksForDisplay) {
    for (int i = 0; i < 3; ++i) grid->rows()->push(std::make_shared<GridRow>());
    grid->columns()->push(std::make_shared<GridColumn>());
    laidOut();
    auto row = grid->rows()->row(1);
    int invalidated = 0;
    grid->ombriGridInvalidated()->addHandler([&](const auto&) { ++invalidated; }, nullptr);
    const std::vector<std::shared_ptr<GridPanel>> panels{grid->cells(), grid->columnHeaders(), grid->rowHeaders(),
                                                         grid->topLeftCells()};
    for (const auto& p : panels) {
        Access::cacheCell(*p, 1, 0);
        Access::cacheCell(*p, 2, 0);
    }
    plat::RecordingContext rec;
    grid->drawRect(rec, grid->bounds());
    grid->setNeedsDisplay();
    EXPECT_FALSE(Access::isDirty(*grid->rows()));

    row->setSize(-1);  // unchanged
    row->setVisible(true);
    EXPECT_FALSE(Access::isDirty(*grid->rows()));

    row->setSize(50);
    EXPECT_TRUE(Access::isDirty(*grid->rows()));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(Access::isCached(*panels[i], 1, 0)) << i;
    EXPECT_TRUE(Access::isCached(*grid->topLeftCells(), 1, 0));
    EXPECT_TRUE(Access::isCached(*grid->cells(), 2, 0));
    EXPECT_TRUE(grid->needsDisplay());
    EXPECT_EQ(grid->rows()->row(2)->pos(), 78);
    EXPECT_EQ(grid->rows()->totalSize(), 106);
    EXPECT_EQ(invalidated, 0) << "one row's images, not every image";
    row->setHeight(60);
    EXPECT_EQ(invalidated, 1) << "a row height reaches the grid through the cells origin";
    EXPECT_EQ(grid->rows()->totalSize(), 116);
}

// A group (level 0) holding a collapsed sub-group (level 1) of two items and an open one of one item,
// then a sibling group with one item.
class GroupFixture : public GridRows {
protected:
    void SetUp() override {
        auto add = [&](std::shared_ptr<GridRow> r) {
            grid->rows()->push(r);
            return r;
        };
        top = std::static_pointer_cast<GridGroupRow>(add(group(0)));
        sub = std::static_pointer_cast<GridGroupRow>(add(group(1)));
        for (int i = 0; i < 2; ++i) add(std::make_shared<GridRow>());
        add(group(1));
        add(std::make_shared<GridRow>());
        sibling = std::static_pointer_cast<GridGroupRow>(add(group(0)));
        add(std::make_shared<GridRow>());
        grid->columns()->push(std::make_shared<GridColumn>());
        laidOut();
        sub->setIsCollapsed(true);
        run();
    }
    static std::shared_ptr<GridGroupRow> group(std::uint64_t level) {
        auto g = std::make_shared<GridGroupRow>();
        g->setLevel(level);
        return g;
    }
    void run() { plat::RunLoop::main().runUntilIdle(); }
    std::vector<bool> hidden() const {
        std::vector<bool> out;
        for (std::size_t i = 0; i < grid->rows()->count(); ++i)
            out.push_back((grid->rows()->item(static_cast<std::int64_t>(i))->flags() & GridRowColFlagsHiddenByCollapse) != 0);
        return out;
    }
    std::shared_ptr<GridGroupRow> top, sub, sibling;
};

TEST_F(GroupFixture, CollapsingHidesTheMembersAndLeavesACollapsedSubGroupsMembersHidden) {
    EXPECT_EQ(hidden(), (std::vector<bool>{false, false, true, true, false, false, false, false}));
    top->setIsCollapsed(true);
    EXPECT_FALSE(top->isCollapsed()) << "the collapse waits for the main queue";
    run();
    EXPECT_TRUE(top->isCollapsed());
    EXPECT_EQ(hidden(), (std::vector<bool>{false, true, true, true, true, true, false, false}));
    EXPECT_EQ(grid->rows()->totalSize(), 28 * 3);
    EXPECT_EQ(grid->rows()->getIndexAt(28), 6) << "the row after the collapsed group";
    top->setIsCollapsed(false);
    run();
    EXPECT_EQ(hidden(), (std::vector<bool>{false, false, true, true, false, false, false, false}));
}

TEST_F(GroupFixture, TwoCallsInARowRunInOrder) {
    std::vector<bool> seen;
    grid->ombriGridGroupCollapsedChanged()->addHandler([&](const auto&) { seen.push_back(top->isCollapsed()); }, nullptr);
    top->setIsCollapsed(true);
    top->setIsCollapsed(false);
    run();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(top->isCollapsed());
}

TEST_F(GroupFixture, TheChangingAndChangedEventsShareOneArgumentObject) {
    std::vector<std::shared_ptr<KivoEventArgs>> args;
    for (const auto& e : {grid->ombriGridGroupCollapsedChanging(), grid->ombriGridGroupCollapsedChanged()})
        e->addHandler([&](const std::shared_ptr<KivoEventContainer>& c) { args.push_back(c->eventArgs()); }, nullptr);
    top->setIsCollapsed(true);
    run();
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0], args[1]);
    auto range = std::static_pointer_cast<GridCellRangeEventArgs>(args[0]);
    EXPECT_EQ(range->panel(), grid->cells());
    EXPECT_TRUE(range->cellRange()->isEqual(GridCellRange(0, -1)));
}

TEST_F(GroupFixture, CancellingByHandlerOrByDelegateLeavesTheGroupAlone) {
    struct Yes : OmbriGridDelegate {
        std::optional<bool> groupCollapsedChanging(const Grid&, const Panel&, const Range&) override { return true; }
    };
    auto d = std::make_shared<Yes>();
    grid->setDelegate(d);
    top->setIsCollapsed(true);
    run();
    EXPECT_FALSE(top->isCollapsed()) << "a delegate's yes cancels without any handler";
    grid->setDelegate(nullptr);
    grid->ombriGridGroupCollapsedChanging()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, nullptr);
    top->setIsCollapsed(true);
    run();
    EXPECT_FALSE(top->isCollapsed());
}

TEST_F(GroupFixture, ChildrenAndCellRangesStopAtTheNextGroupOfTheSameLevel) {
    EXPECT_TRUE(top->hasChildren());
    EXPECT_TRUE(top->cellRange()->isEqual(GridCellRange(0, 0, 5, 0)));
    EXPECT_TRUE(sub->cellRange()->isEqual(GridCellRange(1, 0, 3, 0)));
    EXPECT_TRUE(sibling->cellRange()->isEqual(GridCellRange(6, 0, 7, 0)));
    auto last = group(0);
    grid->rows()->push(last);
    grid->rows()->totalSize();
    EXPECT_FALSE(last->hasChildren()) << "the last row";
    EXPECT_TRUE(last->cellRange()->isEqual(GridCellRange(8, 0, 8, 0)));
    auto before = group(0);
    grid->rows()->insertObject(plat::Value(before), 6);  // right before the sibling group
    grid->rows()->totalSize();
    EXPECT_FALSE(before->hasChildren());
    EXPECT_TRUE(before->cellRange()->isEqual(GridCellRange(6, 0, 6, 0)));
    EXPECT_TRUE(group(0)->hasChildren()) << "no grid, no owner";
}

TEST_F(GroupFixture, AGridReleasedBeforeTheQueueRunsIsLeftAlone) {
    top->setIsCollapsed(true);
    grid->rows()->push(std::make_shared<GridRow>());  // queues the origin clamp too
    std::weak_ptr<OmbriGrid> weak = grid;
    grid.reset();
    EXPECT_TRUE(weak.expired());
    run();
    EXPECT_FALSE(top->isCollapsed());
}

}  // namespace
