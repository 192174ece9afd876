// A bound list of plain rows keeps its placeholders as one counting run of the row list: no value per
// row. Only the rows that are shown or edited make their block's values; every row still reads its
// item, identity and position as a list of values would give them.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoSortDescription.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/window.h"
#include "grid_drawing.h"

using grid_test::Access;
using grid_test::labelled;

namespace {

constexpr std::size_t B = kivo::ValueList::BlockCapacity;

class RowRuns : public grid_test::DrawnGrid {
protected:
    GridRowCollection& rows() { return *grid->rows(); }
    std::size_t held() { return rows().sourceArray().heldValueCount(); }

    // Every row reads the item at its place in the view, at the place the sizes before it give.
    ::testing::AssertionResult rowsReadTheView() {
        const auto view = grid->collectionView();
        if (rows().count() != static_cast<std::size_t>(view->itemCount()))
            return ::testing::AssertionFailure() << rows().count() << " rows for " << view->itemCount() << " items";
        std::int64_t at = 0;
        for (std::size_t i = 0; i < rows().count(); ++i) {
            const auto row = rows().row(static_cast<std::int64_t>(i));
            const auto index = static_cast<std::int64_t>(i);
            // A spacer row shows no item.
            const bool spacer = std::dynamic_pointer_cast<GridEmptyRow>(row) != nullptr;
            if (!row || (!spacer && !(row->dataItem() == view->itemAt(static_cast<std::int32_t>(i)))))
                return ::testing::AssertionFailure() << "row " << i << " reads another item";
            if (rows().posAt(index) != at)
                return ::testing::AssertionFailure() << "row " << i << " is at " << rows().posAt(index);
            if (rows().renderSizeAt(index) > 0 && rows().getIndexAt(static_cast<std::int32_t>(at)) != index)
                return ::testing::AssertionFailure()
                       << "the hit test at " << at << " finds " << rows().getIndexAt(static_cast<std::int32_t>(at));
            at += rows().renderSizeAt(index);
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(RowRuns, ShownRowsAloneMakeValuesThroughJumpsPagesAndASort) {
    bindRecords(static_cast<int>(20 * B));
    draw();
    EXPECT_LE(held(), B) << "binding and the first frame";
    const double page = grid->clientRect().height() - grid->offset().y;
    grid->setScrollPosition({0, rows().totalSize() / 2.0});
    draw();
    for (int i = 0; i < 3; ++i) {
        grid->setScrollPosition({0, grid->scrollPosition().y + page});
        draw();
    }
    EXPECT_LE(held(), 3 * B) << "after a jump and pages down";
    grid->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("score", false)));
    draw();
    EXPECT_LE(held(), 3 * B) << "after a sort";
    // A tap on a header sorts again, keeping the rows' placeholders where they stand.
    const auto window = plat::Window::create(grid->frame());
    window->addSubview(grid);
    const plat::Rect score = grid->getCellRectForRow(rows().getIndexAt(static_cast<std::int32_t>(grid->scrollPosition().y)), 2);
    plat::testing::Touches(window)
        .tap({score.x() + score.width() / 2, grid->offset().y / 2})
        .wait(plat::TapGestureRecognizer::MaximumTapInterval + 0.05);
    ASSERT_TRUE(Access::rowsReadTheView(*grid));
    draw();
    EXPECT_LE(held(), 3 * B) << "after a header tap";

    // Rows made for placeholders answer as they did: by identity, at their place, for their item.
    const auto middle = static_cast<std::int64_t>(rows().count() / 2);
    const auto kept = rows().row(middle);
    EXPECT_EQ(rows().indexOfObject(plat::Value(kept)), static_cast<std::size_t>(middle));
    const std::uint64_t identity = rows().row(middle + 1)->identity();
    EXPECT_EQ(rows().row(middle + 1)->identity(), identity) << "a row made again keeps its identity";
    EXPECT_NE(kept->identity(), identity);
    EXPECT_TRUE(rowsReadTheView());
    EXPECT_LE(held(), 3 * B) << "reading every row";
}

TEST_F(RowRuns, EditsAtTheBoundsOfBlocksAndARebindReadRight) {
    auto source = std::make_shared<plat::Array>();
    for (std::size_t i = 0; i < 4 * B; ++i) source->push_back(labelled("item", static_cast<long>(i)));
    auto view = KivoCollectionView::create(source);
    grid->setCollectionView(view);
    rows().totalSize();
    EXPECT_EQ(held(), 0u);
    struct Edit {
        const char* name;
        std::function<void(KivoCollectionView&)> apply;
    };
    const std::vector<Edit> edits = {
        {"insert before a block's first", [](KivoCollectionView& v) { v.insertObject(labelled("new", -1), B); }},
        {"insert at a block's last", [](KivoCollectionView& v) { v.insertObject(labelled("new", -2), 2 * B - 1); }},
        {"remove a block's first", [](KivoCollectionView& v) { v.removeAt(static_cast<std::int32_t>(3 * B)); }},
        {"remove the very first", [](KivoCollectionView& v) { v.removeAt(0); }},
        {"replace a block's last", [](KivoCollectionView& v) { v.replaceObjectAtIndex(B - 1, labelled("new", -3)); }},
        {"append", [](KivoCollectionView& v) { v.addObject(labelled("new", -4)); }},
        {"a spacer in the middle", [](KivoCollectionView& v) { v.insertObject(labelled("_KDEC_40"), 2 * B + 7); }},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.name);
        edit.apply(*view);
        EXPECT_TRUE(rowsReadTheView());
    }
    const auto spacer = rows().row(static_cast<std::int64_t>(2 * B + 7));
    ASSERT_TRUE(std::dynamic_pointer_cast<GridEmptyRow>(spacer));
    EXPECT_EQ(spacer->renderSize(), 40);

    // Bound again to plain items, the rows are one run once more.
    auto again = std::make_shared<plat::Array>();
    for (std::size_t i = 0; i < 5 * B; ++i) again->push_back(labelled("again", static_cast<long>(i)));
    grid->setCollectionView(KivoCollectionView::create(again));
    rows().totalSize();
    EXPECT_EQ(held(), 0u);
    EXPECT_TRUE(rowsReadTheView());
}

TEST_F(RowRuns, ASpacerAmongTheItemsMakesItsOwnBlockOnly) {
    auto source = std::make_shared<plat::Array>();
    for (std::size_t i = 0; i < 3 * B; ++i)
        source->push_back(i == B + 5 ? labelled("_KDEC_40") : labelled("item", static_cast<long>(i)));
    grid->setCollectionView(KivoCollectionView::create(source));
    rows().totalSize();
    EXPECT_EQ(held(), B);
    ASSERT_TRUE(std::dynamic_pointer_cast<GridEmptyRow>(rows().row(static_cast<std::int64_t>(B + 5))));
    EXPECT_EQ(rows().renderSizeAt(static_cast<std::int64_t>(B + 5)), 40);
    EXPECT_TRUE(rowsReadTheView());
}

}  // namespace
