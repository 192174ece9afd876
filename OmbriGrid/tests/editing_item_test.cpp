// An open edit belongs to the item it was opened on: a sort, a removal or an insertion in the view
// while it is open moves that item, and the commit follows it (or, when the item is gone, writes
// nothing at all).

#include <gtest/gtest.h>

#include <functional>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "editing_fixture.h"
#include "grid_access.h"

namespace grid_test {
namespace {

// Eight tasks n0…n7 whose amount is their index, in a window tall enough to show them all.
class EditedItem : public ::testing::Test {
protected:
    void SetUp() override {
        items = std::make_shared<plat::Array>();
        for (int i = 0; i < 8; ++i)
            items->push_back(plat::Value(std::make_shared<Task>("n" + std::to_string(i), i, plat::Date(0), plat::Value(), 0)));
        window->addSubview(grid);
        grid->setItemsSource(items);
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    std::shared_ptr<Task> task(std::size_t i) const { return items->at(i).as<Task>(); }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < items->size(); ++i) found.push_back(task(i)->name);
        return found;
    }
    void type(const std::string& text) {
        auto& e = *Access::editor(*grid);
        e.replaceRange({0, plat::utf16Length(e.text())}, text);
    }

public:
    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    plat::testing::LogCapture log;
    plat::ArrayPtr items;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
};

TEST_F(EditedItem, CommitFollowsTheItemOrIsCancelledWhenItIsGone) {
    struct Case {
        const char* name;
        std::int32_t row;
        std::function<void(EditedItem&)> meanwhile;
        std::vector<std::string> after;  // the items' names in the source, in their order there
        std::int32_t editorRow;          // where the item stands after the change; -1 when gone
    };
    const auto view = [](EditedItem& t) { return t.grid->collectionView(); };
    const std::vector<Case> cases = {
        {"sorted descending",
         0,
         [&](EditedItem& t) {
             view(t)->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("amount", false)));
         },
         {"EDITED", "n1", "n2", "n3", "n4", "n5", "n6", "n7"},
         7},
        {"a row above removed",
         3,
         [&](EditedItem& t) { view(t)->removeAt(0); },
         {"n1", "n2", "EDITED", "n4", "n5", "n6", "n7"},
         2},
        {"a row inserted at the top",
         2,
         [&](EditedItem& t) {
             view(t)->insertObject(plat::Value(std::make_shared<Task>("new", 99, plat::Date(0), plat::Value(), 0)), 0);
         },
         {"new", "n0", "n1", "EDITED", "n3", "n4", "n5", "n6", "n7"},
         3},
        {"the item removed", 4, [&](EditedItem& t) { view(t)->removeAt(4); }, {"n0", "n1", "n2", "n3", "n5", "n6", "n7"}, -1},
        {"the item removed by CellEditEnding",
         4,
         [&](EditedItem& t) {
             t.grid->ombriGridCellEditEnding()->addHandler(
                 [&t, view](const std::shared_ptr<KivoEventContainer>&) { view(t)->removeAt(4); }, t.grid);
         },
         {"n0", "n1", "n2", "n3", "n5", "n6", "n7"},
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_TRUE(grid->startEditing(false, c.row, 0));
        plat::RunLoop::main().runUntilIdle();
        type("EDITED");
        c.meanwhile(*this);
        draw();
        if (c.editorRow >= 0) {
            // The editor stays over its item's cell.
            const plat::Rect cell = grid->getCellRectForRow(c.editorRow, 0);
            EXPECT_EQ(Access::editor(*grid)->frame().y(), cell.y() + 2);
        }
        log.clear();
        EXPECT_TRUE(grid->finishEditing(false));
        EXPECT_EQ(names(), c.after);
        EXPECT_FALSE(grid->activeEditor());
        EXPECT_FALSE(grid->editRange());
        const auto lines = log.lines();
        if (c.editorRow < 0) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NE(lines[0].find("cancelled"), std::string::npos) << lines[0];
        } else {
            EXPECT_TRUE(lines.empty()) << lines.front();
        }
        grid->ombriGridCellEditEnding()->removeHandlersForObject(grid);
    }
}

TEST_F(EditedItem, AnItemSortedNextToAnEqualCellTakesTheValueAlone) {
    // n0 and n3 show the same name, merged into one cell once a sort puts them together.
    task(0)->name = task(3)->name = "same";
    task(3)->amount = -1;
    grid->setAllowMerging(GridAllowMergingCells);
    grid->columns()->column(0)->setAllowMerging(true);
    draw();
    ASSERT_TRUE(grid->startEditing(false, 0, 0));
    ASSERT_TRUE(grid->editRange()->isEqual(GridCellRange(0, 0)));
    type("EDITED");
    grid->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("amount", true)));
    draw();
    grid->finishEditing(false);
    EXPECT_EQ(task(0)->name, "EDITED");
    EXPECT_EQ(task(3)->name, "same") << "merged with the edited cell only after the edit opened";
}

using MergedEdit = EditingScene;

TEST_F(MergedEdit, AMergedRangeMovesWithItsItem) {
    // Row 5's name and amount are one merged cell; an item put in at the top moves it to row 6.
    ASSERT_TRUE(open(5, AmountCol));
    type("13");
    grid->collectionView()->insertObject(plat::Value(std::make_shared<Task>("Zeta", 1, plat::Date(0), plat::Value(), 1)), 0);
    draw();
    EXPECT_TRUE(grid->editRange()->isEqual(GridCellRange(6, NameCol, 6, AmountCol)));
    grid->finishEditing(false);
    EXPECT_EQ(task(6)->name, "13");
    EXPECT_EQ(task(6)->amount, 13);
    EXPECT_EQ(task(5)->name, "Eps");
    EXPECT_EQ(task(5)->amount, -7);
}

}  // namespace
}  // namespace grid_test
