#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
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

}  // namespace
