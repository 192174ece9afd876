#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/menu_controller.h"
#include "grid_access.h"
#include "tap_scene.h"

using grid_test::Access;

namespace {

// Notes the tap events in the order raised, and cancels the ones it is told to.
class TapWatch {
public:
    explicit TapWatch(const std::shared_ptr<OmbriGrid>& grid) : owner(std::make_shared<int>()) {
        grid->ombriGridTapped()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<KivoPointEventArgs>();
                events.push_back("Tapped");
                point = args->point();
                if (cancelTapped) args->setCancel(true);
            },
            owner);
        grid->ombriGridCellTapped()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridCellRangeEventArgs>();
                events.push_back("CellTapped");
                cell = args;
                if (cancelCellTapped) args->setCancel(true);
            },
            owner);
        grid->ombriGridCellDoubleTapped()->addHandler(
            [this, weak = std::weak_ptr<OmbriGrid>(grid)](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridCellRangeEventArgs>();
                events.push_back("CellDoubleTapped");
                cell = args;
                if (auto g = weak.lock()) lockDuringDoubleTap = Access::editStartLock(*g);
                if (cancelDoubleTapped) args->setCancel(true);
            },
            owner);
        grid->ombriGridSelectionChanged()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>&) { events.push_back("Selected"); }, owner);
        grid->ombriGridSortingColumn()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>&) { events.push_back("Sorting"); }, owner);
        subscribed = {grid->ombriGridTapped(), grid->ombriGridCellTapped(), grid->ombriGridCellDoubleTapped(),
                      grid->ombriGridSelectionChanged(), grid->ombriGridSortingColumn()};
    }
    ~TapWatch() {
        for (const auto& event : subscribed) event->removeHandlersForObject(owner);
    }
    TapWatch(const TapWatch&) = delete;
    TapWatch& operator=(const TapWatch&) = delete;
    std::shared_ptr<int> owner;
    std::vector<std::shared_ptr<KivoEvent>> subscribed;
    std::vector<std::string> events;
    std::shared_ptr<KivoPoint> point;
    std::shared_ptr<GridCellRangeEventArgs> cell;
    bool cancelTapped = false, cancelCellTapped = false, cancelDoubleTapped = false;
    std::optional<bool> lockDuringDoubleTap;
};

class Answers : public OmbriGridDelegate {
public:
    std::optional<bool> tapped(const Grid&, const std::shared_ptr<KivoPoint>&) override {
        ++askedTapped;
        return tappedAnswer;
    }
    std::optional<bool> cellTapped(const Grid&, const Panel&, const Range&) override { return cellTappedAnswer; }
    std::optional<bool> cellDoubleTapped(const Grid&, const Panel&, const Range&) override { return doubleTappedAnswer; }
    std::optional<bool> tappedAnswer, cellTappedAnswer, doubleTappedAnswer;
    int askedTapped = 0;
};

using Events = std::vector<std::string>;

class Taps : public grid_test::TapScene {};

TEST_F(Taps, TheTapEventsComeFirstAndEitherCanStopTheRest) {
    struct Case {
        const char* name;
        bool cancelTapped;
        std::optional<bool> tappedAnswer;
        bool cancelCellTapped;
        std::optional<bool> cellTappedAnswer;
        Events events;
    };
    const Events all = {"Tapped", "CellTapped", "Selected"};
    const std::vector<Case> cases = {
        {"nobody objects", false, std::nullopt, false, std::nullopt, all},
        {"a Tapped cancel", true, std::nullopt, false, std::nullopt, {"Tapped"}},
        {"the delegate's YES to tapped", false, true, false, std::nullopt, {"Tapped"}},
        {"the delegate's NO to tapped leaves a cancel standing", true, false, false, std::nullopt, {"Tapped"}},
        {"a CellTapped cancel", false, std::nullopt, true, std::nullopt, {"Tapped", "CellTapped"}},
        {"the delegate's NO to cellTapped overrides a cancel", false, std::nullopt, true, false, all},
        {"the delegate's YES to cellTapped", false, std::nullopt, false, true, {"Tapped", "CellTapped"}},
    };
    grid->setSelectionMode(GridSelectionModeCell);
    auto answers = std::make_shared<Answers>();
    grid->setDelegate(answers);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setSelection(nullptr);
        TapWatch watch(grid);
        watch.cancelTapped = c.cancelTapped;
        watch.cancelCellTapped = c.cancelCellTapped;
        answers->tappedAnswer = c.tappedAnswer;
        answers->cellTappedAnswer = c.cellTappedAnswer;
        answers->askedTapped = 0;
        const plat::Point at = cellPoint(2, Amount);
        tap(at);
        EXPECT_EQ(watch.events, c.events);
        // The delegate is asked even after a handler's cancel.
        EXPECT_EQ(answers->askedTapped, 1);
        ASSERT_TRUE(watch.point);
        EXPECT_EQ(watch.point->x(), at.x);
        EXPECT_EQ(watch.point->y(), at.y);
        const bool selected = c.events == all;
        EXPECT_EQ(grid->selection()->isEqual(GridCellRange(2, Amount)), selected);
        if (watch.cell) {
            EXPECT_EQ(watch.cell->panel(), grid->cells());
            EXPECT_TRUE(watch.cell->cellRange()->isEqual(GridCellRange(2, Amount)));
        }
    }
}

TEST_F(Taps, ACancelledTapNeitherSortsNorTogglesNorSelects) {
    view()->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("city")));
    draw();
    TapWatch watch(grid);
    watch.cancelCellTapped = true;
    tap(headerPoint(Name));
    tap(cellPoint(0, Name));
    EXPECT_EQ(watch.events, (Events{"Tapped", "CellTapped", "Tapped", "CellTapped"}));
    EXPECT_EQ(view()->sortDescriptions()->count(), 0u);
    EXPECT_FALSE(std::dynamic_pointer_cast<GridGroupRow>(grid->rows()->row(0))->isCollapsed());
    EXPECT_FALSE(grid->selection()->isValid());
}

TEST_F(Taps, ATappedGroupRowTogglesOnceTheMainQueueRunsAndItsCellIsSelected) {
    view()->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("city")));
    grid->setSelectionMode(GridSelectionModeCell);
    draw();
    // Oslo's group row, its three items, then Rome's.
    const auto oslo = std::dynamic_pointer_cast<GridGroupRow>(grid->rows()->row(0));
    ASSERT_TRUE(oslo);
    ASSERT_TRUE(std::dynamic_pointer_cast<GridGroupRow>(grid->rows()->row(4)));
    int collapsedEvents = 0;
    grid->ombriGridGroupCollapsedChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++collapsedEvents; },
                                                       grid);
    std::optional<bool> collapsedWhenSelected;
    grid->ombriGridSelectionChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>&) { collapsedWhenSelected = oslo->isCollapsed(); }, grid);

    // Away from the glyph: any cell of the row toggles it.
    tap(cellPoint(0, When));
    EXPECT_EQ(collapsedWhenSelected, false);  // the toggle waits for the main queue
    EXPECT_TRUE(oslo->isCollapsed());
    EXPECT_EQ(collapsedEvents, 1);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(0, When)));
    EXPECT_EQ(grid->rows()->row(1)->renderSize(), 0);

    tap(cellPoint(0, Name));
    EXPECT_FALSE(oslo->isCollapsed());
    EXPECT_EQ(collapsedEvents, 2);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(0, Name)));

    // An item row toggles nothing.
    tap(cellPoint(5, Name));
    EXPECT_EQ(collapsedEvents, 2);
}

TEST_F(Taps, ATapHidesTheEditMenuAndSetsTheSelectionToGrowFromItsAnchor) {
    auto& menu = plat::MenuController::shared();
    menu.setTargetRect({10, 10, 0, 0}, grid);
    menu.setMenuVisible(true, false);
    tap(cellPoint(3, Name));
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_TRUE(Access::selOrigin(*grid));
    // Row mode: the row across all columns.
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(3, 0, 3, 4)));
}

TEST_F(Taps, TheSingleTapWaitsForTheDoubleTapToFail) {
    TapWatch watch(grid);
    doubleTap(cellPoint(1, Name));
    // Time enough for a single tap to have been told.
    plat::testing::Touches(window).wait(plat::TapGestureRecognizer::MaximumTapInterval + 0.05);
    EXPECT_EQ(watch.events, (Events{"CellDoubleTapped", "Selected"}));
    EXPECT_EQ(watch.lockDuringDoubleTap, true);
    EXPECT_FALSE(Access::editStartLock(*grid));
}

TEST_F(Taps, ACancelledDoubleTapSelectsNothingAndTheDelegateDecides) {
    struct Case {
        const char* name;
        bool cancel;
        std::optional<bool> answer;
        bool selects;
    };
    const std::vector<Case> cases = {
        {"a handler cancels", true, std::nullopt, false},
        {"the delegate cancels", false, true, false},
        {"the delegate's NO overrides a handler", true, false, true},
    };
    auto answers = std::make_shared<Answers>();
    grid->setDelegate(answers);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setSelection(nullptr);
        TapWatch watch(grid);
        watch.cancelDoubleTapped = c.cancel;
        answers->doubleTappedAnswer = c.answer;
        doubleTap(cellPoint(4, Name));
        EXPECT_EQ(grid->selection()->isValid(), c.selects);
        EXPECT_FALSE(Access::editStartLock(*grid));
    }
}

// ---- taps and the editor ----

class TapsWhileEditing : public grid_test::TapScene {
protected:
    // The item at a place of the source list, whatever the sort.
    std::shared_ptr<grid_test::TapItem> itemAt(std::size_t source) const {
        return view()->sourceCollection()->at(source).as<grid_test::TapItem>();
    }
    std::string nameAt(std::size_t source) const { return itemAt(source)->name; }
    bool editing(std::int32_t row, std::int32_t col) const {
        return grid->activeEditor() && grid->editRange() && grid->editRange()->isEqual(GridCellRange(row, col));
    }
    // Opens the text editor on a name and types into it.
    void openAndType(std::int32_t row, const std::string& text) {
        ASSERT_TRUE(grid->startEditing(true, row, Name));
        plat::RunLoop::main().runUntilIdle();
        Access::editor(*grid)->setText(text);
    }
};

TEST_F(TapsWhileEditing, ASingleTapOffTheEditedCellCommitsAndOnItKeepsTheEditor) {
    struct Case {
        const char* name;
        std::function<plat::Point()> where;
        bool keeps;
        int told;  // CellTapped events
    };
    // The editor leaves a margin of its cell uncovered; the editor itself takes the taps on it.
    const auto besideTheEditor = [this] { return plat::Point{grid->getCellRectForRow(1, Name).x() + 2, cellPoint(1, Name).y}; };
    const auto rowHeader = [this] { return plat::Point{5, cellPoint(1, Name).y}; };
    const std::vector<Case> cases = {
        {"on the edited cell beside the editor", besideTheEditor, true, 1},
        {"on the editor", [this] { return cellPoint(1, Name); }, true, 0},
        {"on another cell of its row", [this] { return cellPoint(1, Amount); }, false, 1},
        {"on another row", [this] { return cellPoint(3, Name); }, false, 1},
        {"on its column's header", [this] { return headerPoint(Name); }, false, 1},
        {"on its row's header", rowHeader, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openAndType(1, c.name);
        int ended = 0, tapped = 0;
        grid->ombriGridCellEditEnded()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++ended; }, grid);
        grid->ombriGridCellTapped()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++tapped; }, grid);
        tap(c.where());
        EXPECT_EQ(tapped, c.told);
        EXPECT_EQ(editing(1, Name), c.keeps);
        EXPECT_EQ(ended, c.keeps ? 0 : 1);
        // Row 1 shows the second item: committed, it carries the typed name.
        EXPECT_EQ(nameAt(1) == c.name, !c.keeps);
        grid->ombriGridCellEditEnded()->removeHandlersForObject(grid);
        grid->ombriGridCellTapped()->removeHandlersForObject(grid);
        grid->finishEditing(true);
        view()->sortDescriptions()->removeAllObjects();
        itemAt(1)->name = "alpha";
    }
}

TEST_F(TapsWhileEditing, ACancelledTapLeavesTheEditorOpen) {
    openAndType(1, "zulu");
    grid->ombriGridCellTapped()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) { c->args<GridCellRangeEventArgs>()->setCancel(true); }, grid);
    tap(cellPoint(3, Name));
    EXPECT_TRUE(editing(1, Name));
    EXPECT_EQ(nameAt(1), "alpha");
}

TEST_F(TapsWhileEditing, ADoubleTapOpensOnACellAndOtherwiseOnlyCloses) {
    doubleTap(cellPoint(2, Name));
    EXPECT_TRUE(editing(2, Name));
    EXPECT_TRUE(grid->selection()->containsRow(2));

    // The same cell again: the editor stays as it is.
    Access::editor(*grid)->setText("zulu");
    doubleTap(cellPoint(2, Name));
    EXPECT_TRUE(editing(2, Name));
    EXPECT_EQ(nameAt(2), "foxtrot");

    // Another cell: the edit is committed and no other opens.
    doubleTap(cellPoint(4, Name));
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(grid->editRange());
    EXPECT_EQ(nameAt(2), "zulu");
    EXPECT_TRUE(grid->selection()->containsRow(4));

    // With no editor open, that cell opens.
    doubleTap(cellPoint(4, Name));
    EXPECT_TRUE(editing(4, Name));

    // Anywhere but the cells: committed and closed.
    Access::editor(*grid)->setText("yankee");
    doubleTap(headerPoint(Amount));
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_EQ(nameAt(4), "yankee");
    // A double tap on a header sorts nothing: only the single tap does.
    EXPECT_EQ(view()->sortDescriptions()->count(), 0u);
}

TEST_F(TapsWhileEditing, NoEditStartsWhileTheDoubleTapEventRuns) {
    std::optional<bool> startedInside;
    grid->ombriGridCellDoubleTapped()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>&) { startedInside = grid->startEditing(true, 3, Name); }, grid);
    doubleTap(cellPoint(2, Name));
    EXPECT_EQ(startedInside, false);
    // The tap's own edit opens once the event is over.
    EXPECT_TRUE(editing(2, Name));
}

}  // namespace
