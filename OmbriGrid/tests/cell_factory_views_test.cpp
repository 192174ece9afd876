// Which views the native-control factory shows: kept per row, column and panel over passes, asked for
// again after an invalidation, after the cache fills, and for rows made anew; what the delegate answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowCol.h"
#include "Platform/ui/label.h"
#include "cell_factory_fixture.h"

namespace grid_test {
namespace {

using Scene = CellFactoryScene;

bool allAskedTimes(const std::map<Cell, int>& asks, int times) {
    return std::all_of(asks.begin(), asks.end(), [&](const auto& entry) { return entry.second == times; });
}

TEST_F(Scene, ViewsAreKeptOverPassesAndAskedForAgainAfterTheGridIsInvalidated) {
    const auto first = shownView(5, 5);
    ASSERT_TRUE(first);
    draw();
    draw();
    EXPECT_EQ(totalAsks(), Rows * Columns);
    EXPECT_EQ(made.size(), static_cast<std::size_t>(Rows * Columns));
    EXPECT_EQ(shownView(5, 5), first);

    grid->setSelectionTextColor(plat::Color(0.2, 0.6, 0.2));  // a property that invalidates
    EXPECT_FALSE(first->superview()) << "the emptied cache takes its views off at once";
    draw();
    EXPECT_EQ(asks.size(), static_cast<std::size_t>(Rows * Columns));
    EXPECT_TRUE(allAskedTimes(asks, 2));
    ASSERT_TRUE(shownView(5, 5));
    EXPECT_NE(shownView(5, 5), first);
}

TEST_F(Scene, AViewOfACellNotDrawnIsHiddenAndDetachedAndComesBackWithItsRow) {
    const auto view = shownView(3, 2);
    ASSERT_TRUE(view);
    grid->rows()->item(3)->setVisible(false);
    draw();
    EXPECT_TRUE(view->isHidden());
    EXPECT_FALSE(view->superview());
    EXPECT_FALSE(shownView(3, 2));

    grid->rows()->item(3)->setVisible(true);
    draw();
    EXPECT_EQ(shownView(3, 2), view);
    EXPECT_EQ(totalAsks(), Rows * Columns);
}

TEST_F(Scene, AViewStaysWithItsRowWhileIndicesShift) {
    const auto view = shownView(3, 2);
    ASSERT_TRUE(view);
    grid->collectionView()->insertObject(plat::Value(std::make_shared<Six>(1000)), 2);
    draw();
    // Only the new row is asked for; the row that was third shows the same view one row lower.
    EXPECT_EQ(totalAsks(), Rows * Columns + Columns);
    for (std::int32_t col = 0; col < Columns; ++col) EXPECT_EQ((asks[{2, col}]), 2) << col;
    EXPECT_TRUE(view->superview());
    EXPECT_EQ(view->convertRectToView(view->bounds(), grid.get()), grid->getCellRectForRow(4, 2));
}

TEST_F(Scene, RowsMadeAnewAreAskedForAgainAndNoEarlierViewAppears) {
    struct Case {
        const char* name;
        std::function<void()> action;
    };
    const Case cases[] = {
        {"every item replaced by a new one (a reset of the view)",
         [this] { grid->collectionView()->setSourceCollection(sixItems(Rows, 100)); }},
        {"the same items bound again", [this] { bind(grid->itemsSource()); }},
    };
    for (const auto& c : cases) {
        const std::vector<std::shared_ptr<plat::Button>> earlier = made;
        asks.clear();
        c.action();
        draw();
        EXPECT_EQ(asks.size(), static_cast<std::size_t>(Rows * Columns)) << c.name;
        EXPECT_TRUE(allAskedTimes(asks, 1)) << c.name;
        for (const auto& view : earlier) EXPECT_FALSE(view->superview()) << c.name;
        EXPECT_EQ(shownViews().size(), static_cast<std::size_t>(Rows * Columns)) << c.name;
    }
}

TEST_F(Scene, TheCacheEmptiesWholeAtTheStartOfAPassHolding256ViewsAndANilViewIsAskedForAgain) {
    // 120 views so far. Two resets make new rows: 120 more, then 15 more (a nil answer caches nothing).
    grid->collectionView()->setSourceCollection(sixItems(Rows, 100));
    draw();
    handsOut = [](std::int32_t row, std::int32_t col) { return row < 3 && col < 5; };
    grid->collectionView()->setSourceCollection(sixItems(Rows, 200));
    draw();
    ASSERT_EQ(made.size(), 255u);

    // 255 at the start: kept. Only the cells without a view are asked again, one of them answered.
    asks.clear();
    handsOut = [](std::int32_t row, std::int32_t col) { return row == 3 && col == 0; };
    draw();
    EXPECT_EQ(totalAsks(), Rows * Columns - 15);
    EXPECT_EQ(asks.count(Cell{0, 0}), 0u);
    EXPECT_EQ((asks[{3, 0}]), 1);
    ASSERT_EQ(made.size(), 256u);

    // 256 at the start: emptied, every drawn cell asked again.
    asks.clear();
    handsOut = [](std::int32_t, std::int32_t) { return true; };
    const auto kept = shownView(0, 0);
    draw();
    EXPECT_EQ(asks.size(), static_cast<std::size_t>(Rows * Columns));
    EXPECT_TRUE(allAskedTimes(asks, 1));
    EXPECT_NE(shownView(0, 0), kept);
}

TEST_F(Scene, GroupRowsGetNoViewsTheRowsUnderThemDo) {
    bind(sixItems(5));
    grid->addGroup("more", plat::Array{plat::Value(std::make_shared<Six>(50)), plat::Value(std::make_shared<Six>(60))});
    int groupRowOverlays = 0;
    grid->ombriGridProcessItemOverlay()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            const auto args = c->args<GridFormatItemEventArgs>();
            groupRowOverlays += args->panel()->cellType() == GridCellTypeCell && args->row() == 5;
        },
        nullptr);
    factory->clearCache();
    asks.clear();
    draw();
    ASSERT_TRUE(std::dynamic_pointer_cast<GridGroupRow>(grid->rows()->item(5)));
    EXPECT_GT(groupRowOverlays, 0) << "the group row is drawn";
    for (std::int32_t row = 0; row < 8; ++row)
        for (std::int32_t col = 0; col < Columns; ++col)
            EXPECT_EQ(asks.count(Cell{row, col}), row == 5 ? 0u : 1u) << row << "," << col;
}

// Answers for a few cells; the others it leaves to the event.
class AnsweringDelegate : public NativeControlGridCellFactoryDelegate {
public:
    std::optional<std::shared_ptr<plat::View>> createViewForCell(const std::shared_ptr<OmbriGrid>& grid,
                                                                 const std::shared_ptr<GridPanel>& panel,
                                                                 const std::shared_ptr<GridCellRange>& range) override {
        grids.push_back(grid);
        EXPECT_EQ(panel->cellType(), GridCellTypeCell);
        if (range->row() == 2 && range->col() == 2) return label;
        if (range->row() == 3 && range->col() == 3) return std::shared_ptr<plat::View>();
        return std::nullopt;
    }
    std::shared_ptr<plat::Label> label = plat::Label::create();
    std::vector<std::shared_ptr<OmbriGrid>> grids;
};

TEST_F(Scene, TheDelegateIsAskedAfterTheEventAndItsAnswerEvenNilReplacesTheEventsView) {
    auto delegate = std::make_shared<AnsweringDelegate>();
    std::weak_ptr<AnsweringDelegate> weak = delegate;
    factory->setDelegate(delegate);
    delegate.reset();
    ASSERT_FALSE(weak.expired()) << "held strongly";
    factory->clearCache();
    asks.clear();
    draw();

    const auto d = weak.lock();
    EXPECT_EQ(d->grids.size(), static_cast<std::size_t>(Rows * Columns));
    EXPECT_TRUE(std::all_of(d->grids.begin(), d->grids.end(), [&](const auto& g) { return g == grid; })) << "given the grid";
    EXPECT_EQ(d->label->superview(), clips()[3]);
    EXPECT_EQ(d->label->frame(), grid->getCellRectForRow(2, 2).offsetBy(-85, -56));
    EXPECT_FALSE(shownView(3, 3)) << "the delegate's nil wins over the event's view";
    EXPECT_TRUE(shownView(4, 4)) << "unanswered, the event's view stands";

    asks.clear();
    draw();
    EXPECT_EQ(totalAsks(), 1) << "the nil cell alone is asked again";
    EXPECT_EQ((asks[{3, 3}]), 1);

    factory->setStrongDelegate(nullptr);
    EXPECT_FALSE(factory->delegate());
}

}  // namespace
}  // namespace grid_test
