// The merge manager keeps the runs it finds until the data changes. Every answer it gives must equal
// the growth walked afresh: after each road that changes the data, the rows or columns, or the
// merging settings, and never at the price of walking a block again for a repaint or a selection.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

namespace grid_test {

class MergeItem : public plat::Object {
public:
    PLAT_CLASS()
    MergeItem() = default;
    MergeItem(std::string region, std::string branch, double amount = 0)
        : region(std::move(region)), branch(std::move(branch)), amount(amount) {}
    std::string region, branch;
    double amount = 0;
};

PLAT_DEFINE_CLASS(MergeItem, plat::Object, plat::property("region", &MergeItem::region),
                  plat::property("branch", &MergeItem::branch), plat::property("amount", &MergeItem::amount))

}  // namespace grid_test

namespace {

using grid_test::MergeItem;

// Counts what it formats: every number a cell shows passes through it once.
class CountingFormatter : public IKivoValueFormatter {
public:
    std::optional<std::string> format(const plat::Value& v, const std::string&) override {
        ++count;
        return v.description();
    }
    std::optional<std::string> format(const plat::Value& v, const std::string& f, std::int64_t) override { return format(v, f); }
    int count = 0;
};

std::string show(const GridCellRange& r) {
    return "(" + std::to_string(r.row()) + "," + std::to_string(r.col()) + ")-(" + std::to_string(r.row2()) + "," +
           std::to_string(r.col2()) + ")";
}

class MergedRuns : public ::testing::Test {
public:
    // Regions N N N N S S S S and branches M M M X X X Y Y: blocks of four in the first column, of
    // three, three and two in the second.
    void SetUp() override {
        const char* const regions = "NNNNSSSS";
        const char* const branches = "MMMXXXYY";
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < 8; ++i) {
            items.push_back(std::make_shared<MergeItem>(std::string(1, regions[i]), std::string(1, branches[i]), 5));
            source->push_back(plat::Value(items.back()));
        }
        view = KivoCollectionView::create(source);
        window->addSubview(grid);
        grid->setCollectionView(view);
        for (std::int32_t c = 0; c < 2; ++c) grid->columns()->column(c)->setAllowMerging(true);
        grid->setAllowMerging(GridAllowMergingCells);
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    GridCellRange kept(std::int32_t row, std::int32_t col) {
        return *grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(row, col), GridCellTypeCell);
    }
    // The growth walked afresh, with the grid's merging bits for the cells panel.
    GridCellRange fresh(std::int32_t row, std::int32_t col) {
        auto one = std::make_shared<GridCellRange>(row, col);
        if (!(grid->allowMerging() & GridAllowMergingCells)) return *one;
        return *grid->mergeManager()->getMergedRangeForCells(one, *grid->cells(), true, true);
    }
    std::vector<std::string> answers() {
        std::vector<std::string> all;
        const auto rows = static_cast<std::int32_t>(grid->rows()->count());
        const auto cols = static_cast<std::int32_t>(grid->columns()->count());
        for (std::int32_t r = 0; r < rows; ++r)
            for (std::int32_t c = 0; c < cols; ++c) all.push_back(show(kept(r, c)));
        return all;
    }
    // Every cell of the grid whose kept answer differs from the fresh one.
    std::string staleCells() {
        std::string stale;
        const auto rows = static_cast<std::int32_t>(grid->rows()->count());
        const auto cols = static_cast<std::int32_t>(grid->columns()->count());
        for (std::int32_t r = 0; r < rows; ++r)
            for (std::int32_t c = 0; c < cols; ++c) {
                const auto k = kept(r, c), f = fresh(r, c);
                if (!k.isEqual(f))
                    stale += " cell (" + std::to_string(r) + "," + std::to_string(c) + ") kept " + show(k) + " fresh " + show(f);
            }
        return stale;
    }

    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
    std::shared_ptr<KivoCollectionView> view;
    std::vector<std::shared_ptr<MergeItem>> items;
};

TEST_F(MergedRuns, EveryRoadThatChangesTheDataForgetsTheRunsItTouched) {
    plat::testing::LogCapture log;  // a paste that leaves cells alone logs them, not prints them
    struct Case {
        const char* name;
        std::function<void(MergedRuns&)> change;
    };
    const Case cases[] = {
        {"a cell written", [](MergedRuns& t) { t.grid->setCellData(plat::Value("S"), 3, 0); }},
        {"an edit committed into a block",
         [](MergedRuns& t) {
             ASSERT_TRUE(t.grid->startEditing(true, 1, 1));
             auto field = std::dynamic_pointer_cast<plat::TextField>(t.grid->activeEditor());
             ASSERT_TRUE(field);
             field->setText("X");
             t.grid->textFieldShouldReturn(*field);
         }},
        {"a paste",
         [](MergedRuns& t) {
             t.grid->setSelection(std::make_shared<GridCellRange>(6, 1));
             plat::Pasteboard::general().setString("X");
             t.grid->paste(nullptr);
         }},
        {"an item edited through the view",
         [](MergedRuns& t) {
             t.view->editItem(plat::Value(t.items[3]));
             t.items[3]->region = "S";
             t.view->commitEdit();
         }},
        {"a row added", [](MergedRuns& t) { t.view->insertObject(plat::Value(std::make_shared<MergeItem>("S", "M")), 2); }},
        {"a row removed", [](MergedRuns& t) { t.view->removeAt(3); }},
        {"a row moved",
         [](MergedRuns& t) {
             const auto row = t.grid->rows()->item(0);
             t.grid->rows()->removeObjectAtIndex(0);
             t.grid->rows()->insertObject(plat::Value(row), 5);
         }},
        {"a row hidden", [](MergedRuns& t) { t.grid->rows()->row(3)->setVisible(false); }},
        {"a column's merging flag off", [](MergedRuns& t) { t.grid->columns()->column(1)->setAllowMerging(false); }},
        {"the grid's merging off", [](MergedRuns& t) { t.grid->setAllowMerging(GridAllowMergingNone); }},
        {"frozen rows", [](MergedRuns& t) { t.grid->setFrozenRows(2); }},
        {"sorted",
         [](MergedRuns& t) {
             t.view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("branch", false)));
         }},
        {"filtered",
         [](MergedRuns& t) { t.view->setFilter([](const plat::Value& v) { return v.as<MergeItem>()->branch != "X"; }); }},
        {"grouped",
         [](MergedRuns& t) {
             t.view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("branch")));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A grid of its own for each case, its runs found before the change.
        grid->removeFromSuperview();
        grid = OmbriGrid::create({0, 0, 320, 568});
        items.clear();
        SetUp();
        const auto before = answers();
        ASSERT_GT(grid->mergeManager()->cachedCount(), 0u);
        c.change(*this);
        draw();
        EXPECT_EQ(staleCells(), "");
        EXPECT_NE(answers(), before) << "the change must move some block, or the case shows nothing";
    }
}

TEST_F(MergedRuns, ColumnHeaderRunsFollowTheHeadersAndTheirSortMarks) {
    grid->setAllowMerging(GridAllowMergingAll);
    grid->columnHeaderRow()->setAllowMerging(true);
    const auto header = [&](std::int32_t c) {
        return *grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(0, c), GridCellTypeColumnHeader);
    };
    grid->columns()->column(0)->setHeader("Place");
    EXPECT_TRUE(header(0).isEqual(GridCellRange(0, 0)));
    grid->columns()->column(1)->setHeader("Place");
    EXPECT_TRUE(header(0).isEqual(GridCellRange(0, 0, 0, 1)));
    grid->columns()->column(1)->setSortDirection(GridSortDirectionAscending);
    EXPECT_TRUE(header(0).isEqual(GridCellRange(0, 0))) << "the sort mark makes the second header differ";
    grid->setShowSort(false);
    EXPECT_TRUE(header(0).isEqual(GridCellRange(0, 0, 0, 1))) << "no mark shown: equal again";
}

TEST_F(MergedRuns, RepaintsAndSelectionChangesKeepTheRuns) {
    const auto before = answers();
    const std::size_t runs = grid->mergeManager()->cachedCount();
    ASSERT_GT(runs, 0u);
    grid->invalidate();
    grid->setSelection(std::make_shared<GridCellRange>(2, 0));
    grid->downKeyPress();
    EXPECT_EQ(grid->mergeManager()->cachedCount(), runs);
    draw();
    EXPECT_EQ(answers(), before);
    // Columns outside the grid merge with nothing, in either panel kind.
    EXPECT_TRUE(kept(1, -1).isEqual(GridCellRange(1, -1)));
    EXPECT_TRUE(kept(1, 99).isEqual(GridCellRange(1, 99)));
    grid->setAllowMerging(GridAllowMergingAll);
    EXPECT_TRUE(grid->mergeManager()
                    ->getMergedRangeForCells(std::make_shared<GridCellRange>(0, 99), GridCellTypeColumnHeader)
                    ->isEqual(GridCellRange(0, 99)));
    grid->setAllowMerging(GridAllowMergingCells);
    // A range handed out is the caller's own: changing it changes no later answer.
    grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(1, 0), GridCellTypeCell)->setRow2(7);
    EXPECT_TRUE(kept(2, 0).isEqual(GridCellRange(0, 0, 3, 0)));
}

TEST_F(MergedRuns, APassAfterASelectionChangeReadsOnlyTheVisibleCells) {
    // One number down 3,000 rows: a block far taller than the window.
    auto source = std::make_shared<plat::Array>();
    for (int i = 0; i < 3000; ++i) source->push_back(plat::Value(std::make_shared<MergeItem>("N", "M", 7)));
    view = KivoCollectionView::create(source);
    grid->setCollectionView(view);
    grid->columns()->column(2)->setAllowMerging(true);
    auto counting = std::make_shared<CountingFormatter>();
    grid->setValueFormatter(counting);
    grid->setScrollPosition({0, grid->rows()->totalSize() / 2.0});
    draw();
    EXPECT_TRUE(kept(1500, 2).isEqual(GridCellRange(0, 2, 2999, 2)));
    counting->count = 0;
    grid->setSelection(std::make_shared<GridCellRange>(1500, 0));
    grid->downKeyPress();
    draw();
    EXPECT_LT(counting->count, 300) << "the block's ends were walked again";
}

TEST_F(MergedRuns, AnyOrderOfRequestsAgreesWithAFreshWalk) {
    // Random texts of a small alphabet (empty included) over unbound cells, with hidden rows and
    // columns, group rows and frozen rows and columns, asked about in a random order.
    std::mt19937 random(20261211);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        grid->setItemsSource(std::make_shared<plat::Array>());
        while (grid->columns()->count() > 0) grid->columns()->removeObjectAtIndex(0);
        const int rows = 10, cols = 5;
        for (int c = 0; c < cols; ++c) {
            auto col = std::make_shared<GridColumn>();
            col->setAllowMerging(random() % 5 != 0);
            col->setVisible(random() % 6 != 0);
            grid->columns()->push(col);
        }
        for (int r = 0; r < rows; ++r) {
            std::shared_ptr<GridRow> row = random() % 8 == 0 ? std::make_shared<GridGroupRow>() : std::make_shared<GridRow>();
            row->setAllowMerging(true);
            row->setVisible(random() % 6 != 0);
            grid->rows()->push(row);
        }
        const char* const texts[] = {"A", "A", "B", ""};
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) grid->setCellData(plat::Value(texts[random() % 4]), r, c);
        grid->setFrozenRows(static_cast<std::int32_t>(random() % 3));
        grid->setFrozenColumns(static_cast<std::int32_t>(random() % 2));
        std::vector<std::pair<int, int>> order;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) order.emplace_back(r, c);
        std::shuffle(order.begin(), order.end(), random);
        for (const auto& [r, c] : order) {
            const auto k = kept(r, c), f = fresh(r, c);
            EXPECT_TRUE(k.isEqual(f)) << "cell (" << r << "," << c << ") kept " << show(k) << " fresh " << show(f);
        }
    }
}

TEST_F(MergedRuns, TheLookupByValueAgreesWithTheSharedOne) {
    // Merging on, then off: the by-value answer of every cell and panel kind is the shared one's.
    const GridCellType types[] = {GridCellTypeCell, GridCellTypeColumnHeader, GridCellTypeRowHeader};
    for (const std::int64_t bits : {std::int64_t{GridAllowMergingCells}, std::int64_t{GridAllowMergingNone}}) {
        grid->setAllowMerging(bits);
        for (const GridCellType type : types)
            for (std::int32_t r = -1; r <= 8; ++r)
                for (std::int32_t c = 0; c < 2; ++c) {
                    const auto shared = grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(r, c), type);
                    const GridCellRange byValue = grid->mergeManager()->mergedRangeOfCell(r, c, type);
                    EXPECT_TRUE(byValue.isEqual(*shared)) << "bits " << bits << " type " << type << " cell (" << r << "," << c
                                                          << ") by value " << show(byValue) << " shared " << show(*shared);
                }
    }
    // The merged block itself, not only the cell.
    grid->setAllowMerging(GridAllowMergingCells);
    EXPECT_EQ(show(grid->mergeManager()->mergedRangeOfCell(1, 0, GridCellTypeCell)), "(0,0)-(3,0)");
}

}  // namespace
