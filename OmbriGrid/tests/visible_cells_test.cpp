#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "Platform/runtime/run_loop.h"
#include "grid_drawing.h"

using grid_test::Access;
using grid_test::CellVisit;

namespace {

// Notes the cells handed to it and draws nothing: only which cells a pass picks matters here.
class Noting : public GridCellFactory {
public:
    void updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col, plat::Context*,
                    const std::shared_ptr<GridCellRange>&) override {
        if (panel->cellType() == GridCellTypeCell) visits.emplace_back(GridCellTypeCell, row, col);
    }
    std::vector<CellVisit> visits;
};

// Every cell of the cells panel that the visibility tests let through, row by row and column by
// column over the whole grid, without the walk's shortcuts.
std::vector<CellVisit> naiveCells(const GridPanel& cells) {
    const auto& rows = *cells.rows();
    const auto& cols = *cells.columns();
    const auto R = static_cast<std::int32_t>(rows.count()), C = static_cast<std::int32_t>(cols.count());
    const std::int32_t frozenRows = std::min(rows.frozen(), R), frozenCols = std::min(cols.frozen(), C);
    std::vector<CellVisit> out;
    for (std::int32_t r = 0; r < R; ++r) {
        if (cells.isGroupRow(r) || rows.renderSizeAt(r) == 0) continue;
        if (r >= frozenRows && !cells.isRowVisible(r)) continue;
        for (std::int32_t c = 0; c < C; ++c) {
            const bool marked = cells.isColLeftVisible(c) || cells.isColRightVisible(c) || cells.isColMidVisible(c);
            if (c >= frozenCols && !marked) continue;
            out.emplace_back(GridCellTypeCell, r, c);
        }
    }
    return out;
}

TEST(VisibleCells, APassHandsTheFactoryExactlyTheCellsANaiveWalkPicks) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::printf("visible cells seed %u\n", seed);
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 30; ++round) {
        auto grid = OmbriGrid::create({0, 0, 400, 300});
        auto factory = std::make_shared<Noting>();
        grid->setCellFactory(factory);
        auto source = std::make_shared<plat::Array>();
        const int items = pick(0, 120);
        for (int i = 0; i < items; ++i) source->push_back(grid_test::labelled(std::string(1, static_cast<char>('a' + pick(0, 5))), i));
        auto view = KivoCollectionView::create(source);
        if (pick(0, 1)) view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("label")));
        grid->setCollectionView(view);
        for (int i = pick(0, 6); i > 0; --i) {
            auto column = std::make_shared<GridColumn>();
            column->setWidth(pick(0, 3) == 0 ? pick(0, 4) : pick(20, 180));
            column->setVisible(pick(0, 5) != 0);
            grid->columns()->push(column);
        }
        const auto R = static_cast<std::int32_t>(grid->rows()->count());
        for (std::int32_t r = 0; r < R; ++r) {
            const auto row = grid->rows()->row(r);
            if (auto group = std::dynamic_pointer_cast<GridGroupRow>(row)) {
                if (pick(0, 2) == 0) group->setIsCollapsed(true);
                continue;
            }
            if (pick(0, 3) == 0) row->setHeight(pick(0, 3) == 0 ? 0 : pick(5, 90));
            if (pick(0, 9) == 0) row->setVisible(false);
        }
        plat::RunLoop::main().runUntilIdle();
        grid->setFrozenRows(pick(0, 3));
        grid->setFrozenColumns(pick(0, 2));
        grid->setHeadersVisibility(pick(0, 3));
        plat::RecordingContext first;
        grid->drawRect(first, grid->bounds());
        const auto panMax = Access::panMax(*grid);
        grid->setScrollPosition({pick(0, 100) * std::max(0.0, panMax.x) / 100, pick(0, 100) * std::max(0.0, panMax.y) / 100});
        factory->visits.clear();
        plat::RecordingContext rec;
        grid->drawRect(rec, grid->bounds());
        auto got = factory->visits;
        auto expected = naiveCells(*grid->cells());
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(got, expected) << "round " << round << ", rows " << R << ", origin " << grid->originX() << ", " << grid->originY();
    }
}

}  // namespace
