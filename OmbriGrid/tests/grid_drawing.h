#pragma once
// A grid bound to records, drawn into a recording context, with a cell factory that notes every cell
// handed to it: the shared fixture of the drawing tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"
#include "grid_model.h"

namespace grid_test {

// (panel type, row, column) of each cell the pass hands to the factory, in order.
using CellVisit = std::tuple<int, std::int32_t, std::int32_t>;

class NotingFactory : public GridCellFactory {
public:
    void updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col, plat::Context* context,
                    const std::shared_ptr<GridCellRange>& range) override {
        visits.emplace_back(static_cast<int>(panel->cellType()), row, col);
        GridCellFactory::updateCell(panel, row, col, context, range);
    }
    std::vector<CellVisit> visits;
};

class DrawnGrid : public ::testing::Test {
protected:
    DrawnGrid() { grid->setCellFactory(factory); }
    void bindRecords(int n) {
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < n; ++i) source->push_back(plat::Value(std::make_shared<Record>(i)));
        grid->setItemsSource(source);
    }
    // One drawing pass of the whole grid into a fresh recording.
    plat::RecordingContext& draw() {
        rec = std::make_unique<plat::RecordingContext>();
        factory->visits.clear();
        grid->drawRect(*rec, grid->bounds());
        return *rec;
    }
    // What the cells draw reaches the recording itself, not only their images.
    void drawStraight() {
        for (const auto& p : {grid->cells(), grid->columnHeaders(), grid->rowHeaders(), grid->topLeftCells()})
            Access::drawCellsStraight(*p);
    }
    // The last fill covering exactly `r`.
    const plat::DrawOp* fillAt(const plat::Rect& r) const {
        const plat::DrawOp* found = nullptr;
        for (const auto* op : rec->fills())
            if (op->bounds() == r) found = op;
        return found;
    }
    const plat::DrawOp* textOf(const std::string& s) const { return rec->findText(s); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
    std::shared_ptr<NotingFactory> factory = std::make_shared<NotingFactory>();
    std::unique_ptr<plat::RecordingContext> rec = std::make_unique<plat::RecordingContext>();
};

}  // namespace grid_test
