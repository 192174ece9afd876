#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/testing/log_capture.h"
#include "grid_access.h"
#include "tap_scene.h"

using grid_test::Access;
using Names = std::vector<std::string>;

namespace {

struct Sort {
    std::string property;
    bool ascending;
    bool operator==(const Sort&) const = default;
};

// Counts what one header tap costs and says, and answers SortingColumn as told.
class SortWatch {
public:
    SortWatch(const std::shared_ptr<OmbriGrid>& grid) : owner(std::make_shared<int>()) {
        grid->ombriGridSortingColumn()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridCellRangeEventArgs>();
                sorting.push_back(args);
                if (cancel) args->setCancel(true);
            },
            owner);
        grid->ombriGridSortedColumn()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) { sorted.push_back(c->args<GridCellRangeEventArgs>()); }, owner);
        grid->ombriGridLoadedRows()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++rebuilds; }, owner);
        grid->collectionView()->collectionChanged()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>&) { ++refreshes; }, owner);
        grid->ombriGridSelectionChanging()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++selections; },
                                                       owner);
        events = {grid->ombriGridSortingColumn(), grid->ombriGridSortedColumn(), grid->ombriGridLoadedRows(),
                  grid->collectionView()->collectionChanged(), grid->ombriGridSelectionChanging()};
    }
    ~SortWatch() {
        for (const auto& event : events) event->removeHandlersForObject(owner);
    }
    SortWatch(const SortWatch&) = delete;
    SortWatch& operator=(const SortWatch&) = delete;
    void reset() {
        sorting.clear();
        sorted.clear();
        rebuilds = refreshes = selections = 0;
    }
    std::shared_ptr<int> owner;
    std::vector<std::shared_ptr<KivoEvent>> events;
    std::vector<std::shared_ptr<GridCellRangeEventArgs>> sorting, sorted;
    int rebuilds = 0, refreshes = 0, selections = 0;
    bool cancel = false;
};

class SortAnswer : public OmbriGridDelegate {
public:
    explicit SortAnswer(std::optional<bool> answer) : answer(answer) {}
    std::optional<bool> sortingColumn(const Grid&, const Panel&, const Range&) override { return answer; }
    void sortedColumn(const Grid&, const Panel&, const Range&) override { ++told; }
    std::optional<bool> answer;
    int told = 0;
};

class Sorting : public grid_test::TapScene {
protected:
    std::vector<Sort> sorts() const {
        std::vector<Sort> out;
        for (const plat::Value& v : *view()->sortDescriptions()) {
            auto d = v.as<KivoSortDescription>();
            out.push_back({d->property(), d->ascending()});
        }
        return out;
    }
    void setSorts(const std::vector<Sort>& list) {
        auto array = view()->sortDescriptions();
        array->deferUpdate([&] {
            array->removeAllObjects();
            for (const auto& s : list)
                array->addObject(plat::Value(std::make_shared<KivoSortDescription>(s.property, s.ascending)));
        });
    }
};

TEST_F(Sorting, TapsOnOneHeaderCycleOneDescriptionAscendingDescendingAscending) {
    SortWatch watch(grid);
    const auto before = *grid->selection();
    const std::vector<std::pair<bool, Names>> expected = {
        {true, {"foxtrot", "charlie", "bravo", "delta", "echo", "alpha"}},
        {false, {"alpha", "echo", "delta", "bravo", "charlie", "foxtrot"}},
        {true, {"foxtrot", "charlie", "bravo", "delta", "echo", "alpha"}},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        watch.reset();
        tap(headerPoint(Amount));
        EXPECT_EQ(sorts(), (std::vector<Sort>{{"amount", expected[i].first}})) << "tap " << i + 1;
        EXPECT_EQ(names(), expected[i].second) << "tap " << i + 1;
        EXPECT_EQ(watch.refreshes, 1) << "tap " << i + 1;
        EXPECT_EQ(watch.rebuilds, 1) << "tap " << i + 1;
        ASSERT_EQ(watch.sorting.size(), 1u);
        ASSERT_EQ(watch.sorted.size(), 1u);
        // Both events carry the header panel and the column, on no row; the same object twice.
        EXPECT_EQ(watch.sorting[0], watch.sorted[0]);
        EXPECT_EQ(watch.sorting[0]->panel(), grid->columnHeaders());
        EXPECT_TRUE(watch.sorting[0]->cellRange()->isEqual(GridCellRange(-1, Amount)));
        // Header taps never select.
        EXPECT_EQ(watch.selections, 0);
    }
    EXPECT_TRUE(grid->selection()->isEqual(before));
}

TEST_F(Sorting, AnotherColumnReplacesTheWholeSortInOneRefreshAndOneRebuild) {
    SortWatch watch(grid);
    setSorts({{"city", false}, {"name", true}});
    watch.reset();
    tap(headerPoint(When));
    EXPECT_EQ(sorts(), (std::vector<Sort>{{"when", true}}));
    EXPECT_EQ(names(), (Names{"alpha", "bravo", "delta", "charlie", "echo", "foxtrot"}));
    EXPECT_EQ(watch.refreshes, 1);
    EXPECT_EQ(watch.rebuilds, 1);
    EXPECT_EQ(watch.sorted.size(), 1u);
}

TEST_F(Sorting, AColumnAlreadyInTheSortFlipsInPlaceAndLeavesTheOthers) {
    SortWatch watch(grid);
    setSorts({{"city", true}, {"name", true}});
    const auto second = view()->sortDescriptions()->objectAtIndexAs<KivoSortDescription>(1);
    watch.reset();
    tap(headerPoint(Name));
    EXPECT_EQ(sorts(), (std::vector<Sort>{{"city", true}, {"name", false}}));
    // The description itself, put back where it stood.
    EXPECT_EQ(view()->sortDescriptions()->objectAtIndexAs<KivoSortDescription>(1), second);
    EXPECT_EQ(names(), (Names{"foxtrot", "echo", "delta", "charlie", "bravo", "alpha"}));
    EXPECT_EQ(watch.refreshes, 1);
    EXPECT_EQ(watch.rebuilds, 1);
}

TEST_F(Sorting, ASortMemberPathSortsInPlaceOfTheBinding) {
    grid->columns()->column(Name)->setSortMemberPath("amount");
    tap(headerPoint(Name));
    EXPECT_EQ(sorts(), (std::vector<Sort>{{"amount", true}}));
    // The Amount column's header finds the same description and flips it.
    tap(headerPoint(Amount));
    EXPECT_EQ(sorts(), (std::vector<Sort>{{"amount", false}}));
}

TEST_F(Sorting, HeadersThatMayNotSortChangeNothingAndRaiseNothing) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int column;
        int logLines;
    };
    const std::vector<Case> cases = {
        {"grid allowSorting off", [this] { grid->setAllowSorting(false); }, Amount, 0},
        {"column allowSorting off", [this] { grid->columns()->column(Amount)->setAllowSorting(false); }, Amount, 0},
        {"no binding, no sort member path",
         [this] {
             auto bare = std::make_shared<GridColumn>();
             bare->setDataType(2);
             grid->columns()->push(bare);
             draw();
         },
         5, 0},
        {"an empty sort member path and no binding",
         [this] {
             auto bare = std::make_shared<GridColumn>();
             bare->setSortMemberPath("");
             grid->columns()->push(bare);
             draw();
         },
         5, 0},
        {"no collection view", [this] { Access::setCollectionView(*grid, nullptr); }, Amount, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setSorts({{"name", false}});
        const auto list = view()->sortDescriptions();
        const auto keptView = view();  // alive while the grid lets go of it
        SortWatch watch(grid);
        c.arrange();
        const Names before = names();
        plat::testing::LogCapture log;
        tap(headerPoint(c.column));
        EXPECT_TRUE(watch.sorting.empty());
        EXPECT_TRUE(watch.sorted.empty());
        EXPECT_EQ(watch.refreshes, 0);
        EXPECT_EQ(watch.rebuilds, 0);
        EXPECT_EQ(watch.selections, 0);
        EXPECT_EQ(names(), before);
        ASSERT_EQ(list->count(), 1u);
        EXPECT_EQ(list->objectAtIndexAs<KivoSortDescription>(0)->property(), "name");
        EXPECT_FALSE(list->objectAtIndexAs<KivoSortDescription>(0)->ascending());
        EXPECT_EQ(static_cast<int>(log.lines().size()), c.logLines);
        grid->removeFromSuperview();
        grid = OmbriGrid::create({0, 0, Width, Height});
        SetUp();
    }
}

TEST_F(Sorting, ACancelledSortingColumnChangesNothingAndRaisesNoSortedColumn) {
    struct Case {
        const char* name;
        bool handlerCancels;
        std::optional<bool> delegateAnswer;
        std::vector<Sort> before;
        bool sorts;
    };
    const std::vector<Case> cases = {
        {"a handler cancels a flip", true, std::nullopt, {{"city", true}, {"amount", true}}, false},
        {"a handler cancels a replacement", true, std::nullopt, {{"name", true}}, false},
        {"the delegate cancels", false, true, {{"name", true}}, false},
        {"the delegate's NO overrides a handler", true, false, {{"name", true}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setSorts(c.before);
        SortWatch watch(grid);
        watch.cancel = c.handlerCancels;
        auto answer = std::make_shared<SortAnswer>(c.delegateAnswer);
        grid->setDelegate(answer);
        const auto descriptions = view()->sortDescriptions();
        const auto first = descriptions->objectAtIndexAs<KivoSortDescription>(0);
        const Names before = names();
        tap(headerPoint(Amount));
        EXPECT_EQ(watch.sorting.size(), 1u);
        if (c.sorts) {
            EXPECT_EQ(sorts(), (std::vector<Sort>{{"amount", true}}));
            EXPECT_EQ(watch.sorted.size(), 1u);
            EXPECT_EQ(answer->told, 1);
        } else {
            EXPECT_EQ(sorts(), c.before);
            EXPECT_EQ(descriptions->objectAtIndexAs<KivoSortDescription>(0), first);
            EXPECT_TRUE(watch.sorted.empty());
            EXPECT_EQ(answer->told, 0);
            EXPECT_EQ(watch.refreshes, 0);
            EXPECT_EQ(watch.rebuilds, 0);
            EXPECT_EQ(names(), before);
        }
        grid->setDelegate(nullptr);
    }
}

TEST_F(Sorting, RowsReorderedByATapFollowLaterEditsOfTheView) {
    tap(headerPoint(Amount));
    ASSERT_EQ(names(), (Names{"foxtrot", "charlie", "bravo", "delta", "echo", "alpha"}));
    EXPECT_TRUE(Access::rowsReadTheView(*grid));
    // The places were kept, not laid out again: a row made now finds its own.
    const auto rows = grid->rows();
    for (std::size_t i = 0; i < rows->count(); ++i)
        EXPECT_EQ(rows->posAt(static_cast<std::int64_t>(i)), static_cast<std::int64_t>(i) * rows->defaultSize()) << i;
    EXPECT_EQ(rows->indexOfObject(plat::Value(rows->row(3))), 3u);
    // The view reads its items where they stand, as its list does.
    const auto items = view()->items();
    for (std::int32_t i = -1; i <= static_cast<std::int32_t>(items->size()); ++i) {
        const bool inside = i >= 0 && static_cast<std::size_t>(i) < items->size();
        EXPECT_TRUE(view()->itemAt(i).isEqual(inside ? (*items)[static_cast<std::size_t>(i)] : plat::Value())) << i;
    }

    // An added item lands at the end until the next sort; a removed one takes its row along.
    view()->addObject(plat::Value(std::make_shared<grid_test::TapItem>("golf", 35, 7, false, "Oslo")));
    EXPECT_EQ(names(), (Names{"foxtrot", "charlie", "bravo", "delta", "echo", "alpha", "golf"}));
    EXPECT_FALSE(Access::rowsReadTheView(*grid));
    view()->removeAt(1);
    EXPECT_EQ(names(), (Names{"foxtrot", "bravo", "delta", "echo", "alpha", "golf"}));
    tap(headerPoint(Amount));
    EXPECT_EQ(names(), (Names{"alpha", "echo", "delta", "golf", "bravo", "foxtrot"}));
    tap(headerPoint(Amount));
    EXPECT_EQ(names(), (Names{"foxtrot", "bravo", "golf", "delta", "echo", "alpha"}));
}

TEST_F(Sorting, ARowMadeBeforeASortDoesNotAnswerForTheItemNowInItsPlace) {
    const auto first = grid->rows()->row(0);
    ASSERT_EQ(first->dataItem().as<grid_test::TapItem>()->name, "delta");
    first->setHeight(60);  // kept by the rows in its placeholder's stead
    tap(headerPoint(Name));
    EXPECT_EQ(names(), (Names{"alpha", "bravo", "charlie", "delta", "echo", "foxtrot"}));
    EXPECT_FALSE(Access::rowsReadTheView(*grid));
    // A sized row: the rows are rebuilt in full, so no row keeps a stale height or item.
    for (std::size_t i = 0; i < grid->rows()->count(); ++i)
        EXPECT_EQ(grid->rows()->row(static_cast<std::int64_t>(i))->renderSize(), grid->rows()->defaultSize()) << i;
    tap(headerPoint(Amount));
    EXPECT_TRUE(Access::rowsReadTheView(*grid));
    const auto top = grid->rows()->row(0);
    EXPECT_EQ(top->dataItem().as<grid_test::TapItem>()->name, "foxtrot");
    tap(headerPoint(Amount));
    EXPECT_EQ(grid->rows()->row(0)->dataItem().as<grid_test::TapItem>()->name, "alpha");
    // The row made before the flip belonged to the order before it.
    EXPECT_NE(top, grid->rows()->row(0));
}

}  // namespace
