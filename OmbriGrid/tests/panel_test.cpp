#include <gtest/gtest.h>

#include <random>

#include "KivoCore/KivoAggregate.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"
#include "grid_model.h"

using grid_test::Record;

namespace {

class Panels : public ::testing::Test {
protected:
    void bindRecords(int n) {
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < n; ++i) {
            records.push_back(std::make_shared<Record>(i));
            source->push_back(plat::Value(records.back()));
        }
        grid->setItemsSource(source);
    }
    // A drawing pass: it measures the client area and the largest scroll origin.
    void draw() {
        plat::RecordingContext rec;
        grid->drawRect(rec, grid->bounds());
    }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
    std::vector<std::shared_ptr<Record>> records;
};

TEST_F(Panels, ReadAndWriteCells) {
    bindRecords(3);
    plat::testing::LogCapture log;
    auto& cells = *grid->cells();
    // Bound: reads and writes reach the item; the subscript reads raw.
    EXPECT_EQ((*grid->objectAtIndexedSubscript(1))[1].asString(), "r1");
    grid->objectAtIndexedSubscript(1)->setObject(plat::Value("renamed"), 1);
    EXPECT_EQ(records[1]->name, "renamed");
    grid->setCellData(plat::Value(2.5), 2, 2);
    EXPECT_EQ(records[2]->score, 2.5);
    // Unbound: stored by cell, nil removes.
    auto free = std::make_shared<GridColumn>();
    grid->columns()->push(free);
    const auto c = static_cast<std::int32_t>(grid->columns()->count()) - 1;
    grid->setCellData(plat::Value("note"), 0, c);
    EXPECT_EQ(cells.getCellData(0, c, false).asString(), "note");
    EXPECT_TRUE(cells.getCellData(1, c, false).isNil());
    grid->setCellData(plat::Value(), 0, c);
    EXPECT_TRUE(cells.getCellData(0, c, false).isNil());
    // The header row: a write sets the header, read back formatted as the header is.
    auto& headers = *grid->columnHeaders();
    headers.setCellData(plat::Value("Note"), 0, c);
    EXPECT_EQ(free->header(), "Note");
    EXPECT_EQ(headers.getCellData(0, c, true).asString(), *free->getFormattedHeader());
    free->setHeader("");
    headers.setUnboundCells(std::make_shared<plat::Dictionary>(plat::Dictionary{{"0-" + std::to_string(c), plat::Value(7.25)}}));
    EXPECT_EQ(headers.getCellData(0, c, true).asDouble(), 7.25) << "an empty header falls back on the stored value, unformatted";
    // Out of range: nil, and writes refused with a log line.
    EXPECT_TRUE(cells.getCellData(3, 0, false).isNil());
    EXPECT_TRUE(cells.getCellData(0, -1, true).isNil());
    EXPECT_TRUE((*grid->objectAtIndexedSubscript(-4))[0].isNil());
    log.clear();
    grid->setCellData(plat::Value("x"), 9, 0);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(Panels, GroupRowsShowAggregatesAndRefuseWrites) {
    auto source = std::make_shared<plat::Array>();
    for (int i = 0; i < 4; ++i) source->push_back(plat::Value(std::make_shared<Record>(i)));
    auto view = KivoCollectionView::create(source);
    view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("active")));
    grid->setCollectionView(view);
    ASSERT_TRUE(grid->cells()->isGroupRow(0));
    EXPECT_FALSE(grid->rowHeaders()->isGroupRow(0)) << "only the cells panel has group rows";
    auto score = grid->columns()->objectForKeyedSubscript("score");
    score->setAggregate(KivoAggregateSum);
    const auto group = grid->rows()->row(0)->dataItem().as<KivoCollectionViewGroup>();
    EXPECT_EQ(grid->cells()->getCellData(0, static_cast<std::int32_t>(score->index()), false).asDouble(),
              group->getAggregate(KivoAggregateSum, std::string("score")));
    plat::testing::LogCapture log;
    grid->setCellData(plat::Value("x"), 0, 1);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(group->name(), group->name());
}

class Geometry : public Panels {
protected:
    void SetUp() override {
        bindRecords(50);
        draw();
    }
};

TEST_F(Geometry, FrozenCellsStayPutWhileTheRestScrolls) {
    grid->setFrozenRows(2);
    grid->setFrozenColumns(1);
    draw();
    grid->setScrollPosition({30, 45});
    const auto off = grid->offset();
    const auto& cells = *grid->cells();
    const double rh = grid->rows()->defaultSize();
    const double cw = grid->columns()->column(0)->renderWidth();
    const double cw1 = grid->columns()->column(1)->renderWidth();
    const double ox = std::trunc(grid->originX()), oy = std::trunc(grid->originY());
    EXPECT_EQ(cells.getCellRectInternal(0, 0), (plat::Rect{off.x, off.y, cw, rh}));
    EXPECT_EQ(cells.getCellRectInternal(5, 1), (plat::Rect{off.x + cw - ox, off.y + 5 * rh - oy, cw1, rh}));
    EXPECT_EQ(grid->rowHeaders()->getCellRectInternal(1, 0).origin.y, off.y + rh);
    EXPECT_EQ(cells.getCellRectInternal(50, 0), plat::Rect{}) << "outside the panel";
}

TEST_F(Geometry, MergedRectanglesAreClippedAtTheFrozenEdgeAndTheFrame) {
    grid->setFrozenRows(2);
    draw();
    const auto& cells = *grid->cells();
    const double rh = grid->rows()->defaultSize();
    const double L = grid->gridLinesWidth();
    const double top = grid->offset().y + 2 * rh;
    // Rows 3…6 merged, scrolled so that rows 3 and 4 lie under the frozen rows.
    grid->setScrollPosition({0, 3 * rh - 2 * rh + rh + 5});
    const auto r = cells.getCellRect(4, 0, GridCellRange(3, 0, 6, 0));
    EXPECT_EQ(r.origin.y, top - L);
    EXPECT_EQ(r.origin.y + r.size.height, cells.getCellRectInternal(6, 0).origin.y + rh);
    // Only a sliver left: the last row whole.
    grid->setScrollPosition({0, 6 * rh - 2 * rh + rh - 3});
    EXPECT_EQ(cells.getCellRect(6, 0, GridCellRange(3, 0, 6, 0)), cells.getCellRectInternal(6, 0));
    // Wider than the frame: cut at its right edge, never narrower than the first column.
    grid->setScrollPosition({0, 0});
    const auto wide = cells.getCellRect(0, 0, GridCellRange(0, 0, 0, 4));
    EXPECT_EQ(wide.origin.x + wide.size.width, 400);
    grid->setFrame({0, 0, 60, 300});
    draw();
    const auto narrow = cells.getCellRect(0, 0, GridCellRange(0, 0, 0, 4));
    EXPECT_EQ(narrow.size.width, cells.getCellRectInternal(0, 0).size.width);
}

TEST_F(Geometry, FirstVisibleRowAndColumnMatchANaiveScan) {
    std::mt19937 random(7);
    for (std::size_t i = 0; i < grid->rows()->count(); ++i) grid->rows()->row(i)->setHeight(static_cast<std::int32_t>(random() % 30));
    for (std::size_t i = 0; i < grid->columns()->count(); ++i) grid->columns()->column(i)->setWidth(random() % 90);
    auto naive = [](const GridRowColCollection& items, double origin) {
        for (std::size_t i = 0; i < items.count(); ++i)
            if (items.item(i)->pos() + items.item(i)->renderSize() >= origin) return static_cast<std::int32_t>(i);
        return 0;
    };
    grid->setFrame({0, 0, 100, 100});
    draw();
    for (int k = 0; k < 40; ++k) {
        grid->setScrollPosition({static_cast<double>(random() % 300), static_cast<double>(random() % 800)});
        EXPECT_EQ(grid->cells()->getFirstVisibleRow(), naive(*grid->rows(), grid->originY()));
        EXPECT_EQ(grid->cells()->getFirstVisibleColumn(), naive(*grid->columns(), grid->originX()));
    }
    EXPECT_EQ(grid->topLeftCells()->getFirstVisibleRow(), 0);
}

TEST_F(Geometry, ColumnMidVisibilityMeasuresTheDrawnWidth) {
    grid->setFrame({0, 0, 300, 300});
    auto col = grid->columns()->column(1);
    col->setWidthType(GridWidthTypeStar);
    col->setMinWidth(50);
    draw();
    const double p = col->pos();
    grid->setScrollPosition({p + col->renderWidth() - 1, 0});
    EXPECT_TRUE(grid->cells()->isColMidVisible(1)) << "one point of it still shows";
    grid->setScrollPosition({p + col->renderWidth(), 0});
    EXPECT_FALSE(grid->cells()->isColMidVisible(1));
    EXPECT_FALSE(grid->cells()->isColMidVisible(99));
}

TEST_F(Geometry, HitTesting) {
    const double hw = grid->topLeftCells()->columns()->totalSize();
    const double hh = grid->topLeftCells()->rows()->totalSize();
    const double rh = grid->rows()->defaultSize();
    struct Case {
        plat::Point at;
        GridCellType type;
        std::int32_t row, col;
    };
    const Case cases[] = {
        {{-1, 10}, GridCellTypeNone, -1, -1},
        {{10, -1}, GridCellTypeNone, -1, -1},
        {{0, 0}, GridCellTypeTopLeft, 0, 0},
        {{hw, hh + 1}, GridCellTypeRowHeader, 0, 0},
        {{hw + 1, 5}, GridCellTypeColumnHeader, 0, 0},
        {{hw + 1, hh + rh + 1}, GridCellTypeCell, 1, 0},
    };
    for (const auto& c : cases) {
        const auto hit = grid->hitTest(c.at);
        EXPECT_EQ(hit->cellType(), c.type) << c.at.x << "," << c.at.y;
        EXPECT_EQ(hit->row(), c.row) << c.at.x << "," << c.at.y;
        EXPECT_EQ(hit->column(), c.col) << c.at.x << "," << c.at.y;
        EXPECT_FALSE(hit->edgeLeft() || hit->edgeTop() || hit->edgeRight() || hit->edgeBottom());
    }
    // Below the last row inside the client area: nothing.
    grid->setItemsSource(std::make_shared<plat::Array>(plat::Array{plat::Value(std::make_shared<Record>(1))}));
    const auto below = grid->hitTest({hw + 1, hh + 3 * rh});
    EXPECT_EQ(below->gridPanel(), nullptr);
    EXPECT_EQ(below->row(), -1);
    EXPECT_TRUE(below->cellRange()->isEqual(GridCellRange(-1, below->column())));
    // Headers hidden: x = 0 or y = 0 still picks a header panel.
    grid->setHeadersVisibility(GridHeadersVisibilityNone);
    draw();
    EXPECT_EQ(grid->hitTest({0, 0})->cellType(), GridCellTypeTopLeft);
    EXPECT_EQ(grid->hitTest({0, 5})->cellType(), GridCellTypeRowHeader);
    EXPECT_EQ(grid->hitTest({5, 5})->cellType(), GridCellTypeCell);
    // A panel given with negative coordinates hits index 0.
    const GridHitTestInfo inPanel(grid->cells(), {-20, -20});
    EXPECT_EQ(inPanel.row(), 0);
    EXPECT_EQ(inPanel.column(), 0);
}

TEST_F(Geometry, FrozenRowsAreHitUnshiftedByTheOrigin) {
    const double hw = grid->topLeftCells()->columns()->totalSize();
    const double hh = grid->topLeftCells()->rows()->totalSize();
    const double rh = grid->rows()->defaultSize();
    grid->setFrozenRows(2);
    draw();
    grid->setScrollPosition({0, 10 * rh});
    EXPECT_EQ(grid->hitTest({hw + 1, hh + rh + 1})->row(), 1);
    EXPECT_EQ(grid->hitTest({hw + 1, hh + 2 * rh + 1})->row(), 12);
}

class Merging : public Panels {
protected:
    // Three rows of three unbound columns that allow merging, texts given row by row.
    void fill(const std::vector<std::vector<const char*>>& texts, bool allowMerging = true) {
        grid->setItemsSource(std::make_shared<plat::Array>());
        while (grid->columns()->count() > 0) grid->columns()->removeObjectAtIndex(0);
        for (std::size_t c = 0; c < texts[0].size(); ++c) {
            auto col = std::make_shared<GridColumn>();
            col->setAllowMerging(allowMerging);
            grid->columns()->push(col);
        }
        for (std::size_t r = 0; r < texts.size(); ++r) {
            auto row = std::make_shared<GridRow>();
            row->setAllowMerging(allowMerging);
            grid->rows()->push(row);
            for (std::size_t c = 0; c < texts[r].size(); ++c)
                grid->setCellData(plat::Value(texts[r][c]), static_cast<std::int32_t>(r), static_cast<std::int32_t>(c));
        }
        grid->setAllowMerging(GridAllowMergingAll);
    }
    GridCellRange merged(std::int32_t row, std::int32_t col, GridCellType type = GridCellTypeCell) {
        return *grid->mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(row, col), type);
    }
};

TEST_F(Merging, EqualNeighboursMerge) {
    fill({{"A", "A", "B"}, {"x", "y", "z"}, {"", "", "q"}});
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0, 0, 1)));
    EXPECT_TRUE(merged(0, 2).isEqual(GridCellRange(0, 2)));
    EXPECT_TRUE(merged(2, 0).isEqual(GridCellRange(2, 0))) << "an empty text never merges";
    EXPECT_TRUE(merged(0, 0, GridCellTypeColumnHeader).isEqual(GridCellRange(0, 0)));
    grid->setAllowMerging(GridAllowMergingNone);
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0)));
    EXPECT_EQ(grid->mergeManager()->cachedCount(), 0u);
    fill({{"A", "A", "B"}}, false);
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0))) << "default flags merge nothing";
}

TEST_F(Merging, GroupRowsStopAndHiddenRowsAreSpanned) {
    fill({{"A"}, {"A"}, {"A"}, {"A"}});
    grid->rows()->row(1)->setVisible(false);
    grid->setCellData(plat::Value("B"), 1, 0);
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0, 3, 0))) << "a hidden row is spanned";
    auto group = std::make_shared<GridGroupRow>();
    group->setAllowMerging(true);
    grid->rows()->insertObject(plat::Value(group), 2);
    grid->setCellData(plat::Value("A"), 4, 0);
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0))) << "recomputed after the caches dropped; a group row stops";
    EXPECT_TRUE(merged(3, 0).isEqual(GridCellRange(3, 0, 4, 0)));
}

TEST_F(Merging, FrozenBoundaryDetailRowsAndTwoWayGrowth) {
    fill({{"A", "A", "A"}, {"A", "A", "x"}, {"y", "z", "A"}});
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0, 1, 1))) << "a 2 x 2 block";
    EXPECT_TRUE(merged(0, 2).isEqual(GridCellRange(0, 2))) << "an L shape does not merge";
    grid->setFrozenColumns(1);
    EXPECT_TRUE(merged(0, 0).isEqual(GridCellRange(0, 0, 1, 0))) << "never across the frozen boundary";
    EXPECT_TRUE(merged(0, 1).isEqual(GridCellRange(0, 1, 1, 1)));
    auto detail = std::make_shared<GridDetailRow>();
    grid->rows()->push(detail);
    EXPECT_TRUE(merged(3, 1).isEqual(GridCellRange(3, 0, 3, 2))) << "a detail row spans every column";
}

TEST_F(Merging, ColumnHeadersGrowHorizontallyFirst) {
    fill({{"A", "A", "B"}});
    for (std::int32_t c = 0; c < 3; ++c) grid->columnHeaders()->setCellData(plat::Value(c < 2 ? "H" : "I"), 0, c);
    grid->columnHeaderRow()->setAllowMerging(true);
    EXPECT_TRUE(merged(0, 0, GridCellTypeColumnHeader).isEqual(GridCellRange(0, 0, 0, 1)));
}

}  // namespace
