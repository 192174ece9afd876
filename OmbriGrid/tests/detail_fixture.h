#pragma once
// The detail rows' scene: 20 rows by 6 columns of model objects with row and column headers
// (28-point rows), one frozen row and one frozen column, in a 320 × 568 window on the virtual clock,
// drawn once. Handlers hand out a plain view per detail and count every call, by parent row.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/button.h"
#include "Platform/ui/window.h"
#include "detail/DetailViews.h"
#include "grid_access.h"
#include "wide_items.h"

namespace grid_test {

class DetailScene : public ::testing::Test {
public:
    static constexpr int RowCount = 20, ColumnCount = 6;
    static constexpr double Width = 320, Height = 568;

    void SetUp() override {
        window->addSubview(grid);
        grid->setItemsSource(wideItems(RowCount));
        while (grid->columns()->count() > ColumnCount) grid->columns()->removeObjectAtIndex(grid->columns()->count() - 1);
        grid->setFrozenRows(1);
        grid->setFrozenColumns(1);
        provider()->detailCellCreating()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridDetailCellCreatingEventArgs>();
                ++detailAsked[args->row()->dataItem().asObject().get()];
                ++detailCalls;
                if (handOutViews) args->setView(plat::View::create());
            },
            owner);
        provider()->gridRowHeaderLoading()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<GridRowHeaderLoadingEventArgs>();
                ++buttonAsked[args->row()->dataItem().asObject().get()];
                ++buttonCalls;
            },
            owner);
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    const std::shared_ptr<OmbriGridDetailProvider>& provider() const { return grid->detailProvider(); }
    kivo::detail::DetailViews& views() { return Access::detailViews(*provider()); }
    std::shared_ptr<GridRow> row(std::int64_t i) const { return grid->rows()->row(i); }
    // The indices of the rows that have a detail row right after them.
    std::vector<int> parents() const {
        std::vector<int> found;
        const auto& rows = *grid->rows();
        for (std::size_t i = 0; i < rows.count(); ++i)
            if (std::dynamic_pointer_cast<GridDetailRow>(rows.row(static_cast<std::int64_t>(i))))
                found.push_back(static_cast<int>(i) - 1);
        return found;
    }
    // The visible views in a clip view.
    static std::vector<std::shared_ptr<plat::View>> shown(const std::shared_ptr<plat::View>& clip) {
        std::vector<std::shared_ptr<plat::View>> found;
        for (const auto& v : clip->subviews())
            if (!v->isHidden()) found.push_back(v);
        return found;
    }
    // The button over row `r`'s header, if one is shown.
    std::shared_ptr<plat::Button> buttonOf(std::int32_t r) {
        for (auto region : {kivo::detail::Region::TopLeft, kivo::detail::Region::LeftStrip})
            for (const auto& v : shown(views().regionClip(region)))
                if (v->tag() == r) return std::dynamic_pointer_cast<plat::Button>(v);
        return nullptr;
    }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, Width, Height});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, Width, Height});
    std::shared_ptr<int> owner = std::make_shared<int>();
    bool handOutViews = true;
    std::map<const void*, int> detailAsked, buttonAsked;
    int detailCalls = 0, buttonCalls = 0;
};

}  // namespace grid_test
