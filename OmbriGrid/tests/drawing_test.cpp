#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "KivoCore/KivoCursorCollectionView.h"
#include "KivoCore/KivoDataType.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/golden_image.h"
#include "Platform/testing/log_capture.h"
#include "Platform/ui/screen.h"
#include "drawing/TextCut.h"
#include "grid_drawing.h"

using grid_test::Access;
using plat::Color;
using plat::Rect;

namespace {

class Drawing : public grid_test::DrawnGrid {};

// Counts the asks for more items; never has any to give.
class CountingCursorView : public KivoCursorCollectionView {
public:
    plat::Array itemGetter(const plat::Value&) override { return {}; }
    bool hasMoreItems() override {
        ++asked;
        return false;
    }
    int asked = 0;
};

TEST_F(Drawing, APassDrawsCellsThenTheHeadersShownThenTheHandles) {
    bindRecords(20);
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(1, 1, 2, 2));
    for (const auto& [visibility, panels] :
         std::vector<std::pair<int, std::vector<int>>>{{3, {1, 2, 3, 4}}, {2, {1, 3}}, {1, {1, 2}}, {0, {1}}}) {
        grid->setHeadersVisibility(visibility);
        std::vector<std::string> order;
        auto token = std::make_shared<int>();
        grid->ombriGridRendering()->addHandler([&](const auto&) { order.push_back("Rendering"); }, token);
        grid->ombriGridRendered()->addHandler([&](const auto&) { order.push_back("Rendered"); }, token);
        auto& rec = draw();
        grid->ombriGridRendering()->removeHandlersForObject(token);
        grid->ombriGridRendered()->removeHandlersForObject(token);
        EXPECT_EQ(order, (std::vector<std::string>{"Rendering", "Rendered"}));
        std::vector<int> seen;
        for (const auto& [type, r, c] : factory->visits)
            if (seen.empty() || seen.back() != type) seen.push_back(type);
        EXPECT_EQ(seen, panels) << "headers visibility " << visibility;
        // The handles come after every cell image.
        const auto& ops = rec.ops();
        const auto lastImage =
            std::find_if(ops.rbegin(), ops.rend(), [](const auto& op) { return op.kind == plat::DrawOp::Kind::Image; });
        const auto firstHandle = std::find_if(ops.begin(), ops.end(), [&](const auto& op) {
            return op.kind == plat::DrawOp::Kind::Fill && op.color == grid->selectionAdornerColor();
        });
        ASSERT_NE(firstHandle, ops.end());
        EXPECT_GT(firstHandle - ops.begin(), ops.rend() - lastImage - 1);
    }
}

TEST_F(Drawing, TheCheckForMoreItemsRunsAfterThePassWhileTheCellsAreShort) {
    auto view = KivoCollectionView::create<CountingCursorView>(std::make_shared<plat::Array>());
    for (int i = 0; i < 3; ++i) view->sourceCollection()->push_back(plat::Value(std::make_shared<grid_test::Record>(i)));
    view->refresh();
    grid->setCollectionView(view);
    draw();
    EXPECT_EQ(view->asked, 0) << "posted, not run within the pass";
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(view->asked, 1);
    // 600 rows of 28 points are more than twice the 300-point view: no ask.
    for (int i = 3; i < 600; ++i) view->sourceCollection()->push_back(plat::Value(std::make_shared<grid_test::Record>(i)));
    view->refresh();
    draw();
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(view->asked, 1);
    // A grid gone before the check asks nothing.
    draw();
    grid.reset();
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(view->asked, 1);
}

TEST_F(Drawing, CellImagesAreMadeOnceAndOverlaidOnEveryPass) {
    bindRecords(20);
    std::map<std::pair<int, int>, int> formatted, overlaid;
    auto token = std::make_shared<int>();
    auto count = [](std::map<std::pair<int, int>, int>& into) {
        return [&into](const std::shared_ptr<KivoEventContainer>& e) {
            const auto args = e->args<GridFormatItemEventArgs>();
            if (args->panel()->cellType() == GridCellTypeCell) ++into[{args->row(), args->col()}];
        };
    };
    grid->ombriGridFormatItem()->addHandler(count(formatted), token);
    grid->ombriGridProcessItemOverlay()->addHandler(count(overlaid), token);
    draw();
    const auto cells = formatted.size();
    EXPECT_GT(cells, 20u);
    draw();
    for (const auto& [cell, n] : formatted) EXPECT_EQ(n, 1) << cell.first << "," << cell.second;
    for (const auto& [cell, n] : overlaid) EXPECT_EQ(n, 2) << cell.first << "," << cell.second;
    EXPECT_EQ(overlaid.size(), cells);
    grid->invalidate();
    draw();
    EXPECT_EQ(formatted.begin()->second, 2) << "an invalidation makes the images again";
}

TEST_F(Drawing, CellsKeptAsCopiesOfTheTargetShowWhatTheirOwnImagesShow) {
    bindRecords(40);
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(2, 1, 3, 2));
    grid->setAlternatingRowBackgroundColor(Color(0.9, 0.95, 1));
    int formatted = 0;
    auto token = std::make_shared<int>();
    grid->ombriGridFormatItem()->addHandler([&](const auto&) { ++formatted; }, token);
    // A frame, then frames scrolled by whole pixels, whose cells mostly come from the cache. Inside a
    // transparency group the target's pixels cannot be read back: each cell is made in its own image.
    auto frames = [&](bool ownImages) {
        grid->setScrollPosition({0, 0});
        grid->invalidate();
        formatted = 0;
        std::vector<std::vector<std::uint32_t>> shown;
        for (const double y : {0.0, 37.0, 41.0}) {
            grid->setScrollPosition({0, -y});
            plat::ImageContext image(grid->bounds().size, plat::Screen::main().scale(), true);
            if (ownImages) image.context().beginTransparencyGroup();
            grid->drawRect(image.context(), grid->bounds());
            if (ownImages) image.context().endTransparencyGroup();
            const auto done = image.finish();
            shown.emplace_back(done->data(), done->data() + done->pixelWidth() * done->pixelHeight());
        }
        return std::pair(shown, formatted);
    };
    const auto copies = frames(false), images = frames(true);
    EXPECT_TRUE(copies.first == images.first) << "the same pixels, fresh and from the cache";
    EXPECT_EQ(copies.second, images.second) << "the same cells made anew";
}

TEST_F(Drawing, ACancelledFormatItemKeepsItsDrawingAndTheBackgroundButNoText) {
    bindRecords(5);
    drawStraight();
    auto token = std::make_shared<int>();
    int raised = 0;
    grid->ombriGridFormatItem()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& e) {
            const auto args = e->args<GridFormatItemEventArgs>();
            if (args->panel()->cellType() != GridCellTypeCell || args->row() != 1 || args->col() != 1) return;
            ++raised;
            args->context()->setFillColor(Color::red());
            args->context()->fillRect(grid->cells()->getCellRect(1, 1).insetBy(5, 5));
            args->setCancel(true);
        },
        token);
    auto& rec = draw();
    EXPECT_EQ(raised, 1);
    EXPECT_NE(fillAt(grid->cells()->getCellRect(1, 1).insetBy(5, 5)), nullptr);
    EXPECT_NE(fillAt(grid->cells()->getCellRect(1, 1)), nullptr) << "the background stays";
    EXPECT_EQ(rec.findText("r1"), nullptr);
    EXPECT_NE(rec.findText("r2"), nullptr);
}

TEST_F(Drawing, TheDelegatesYesEndsTheCellAndItsNoLetsTheTextOn) {
    struct Finishing : OmbriGridDelegate {
        std::optional<bool> formatItem(const Grid&, const Panel& p, const Range& r, plat::Context*) override {
            if (p->cellType() != GridCellTypeCell || r->row() != 1 || r->col() != 1) return std::nullopt;
            return answer;
        }
        bool answer = true;
    };
    bindRecords(5);
    drawStraight();
    auto d = std::make_shared<Finishing>();
    grid->setDelegate(d);
    EXPECT_EQ(draw().findText("r1"), nullptr);
    d->answer = false;
    EXPECT_NE(draw().findText("r1"), nullptr);
}

TEST_F(Drawing, AMergedBlockIsDrawnOnceByItsTopVisibleCellAndNeverCached) {
    bindRecords(40);
    auto note = std::make_shared<GridColumn>();
    note->setAllowMerging(true);
    grid->columns()->insertObject(plat::Value(note), 0);
    for (int r = 0; r < 6; ++r) grid->setCellData(plat::Value("same"), r, 0);
    grid->setAllowMerging(GridAllowMergingCells);
    draw();
    auto token = std::make_shared<int>();
    std::vector<std::pair<int, int>> formatted;
    grid->ombriGridFormatItem()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& e) {
            const auto args = e->args<GridFormatItemEventArgs>();
            if (args->panel()->cellType() == GridCellTypeCell && args->col() == 0)
                formatted.emplace_back(args->row(), args->col());
        },
        token);
    grid->setScrollPosition({0, 3 * 28 + 10});
    // Scrolling keeps the images: the first pass below makes every one anew.
    grid->invalidate();
    for (int pass = 0; pass < 2; ++pass) {
        formatted.clear();
        auto& rec = draw();
        ASSERT_FALSE(formatted.empty());
        EXPECT_EQ(formatted[0], std::make_pair(0, 0)) << "the block once, under its top-left cell's name";
        if (pass == 0)
            EXPECT_EQ(formatted[1], std::make_pair(6, 0)) << "then the rows below it";
        else
            EXPECT_EQ(formatted.size(), 1u) << "the rows below come from their images, the block never does";
        for (int r = 0; r < 6; ++r) EXPECT_FALSE(Access::isCached(*grid->cells(), r, 0));
        const Rect block = grid->cells()->getCellRect(3, 0);
        const auto images = rec.images();
        EXPECT_EQ(std::count_if(images.begin(), images.end(), [&](const auto* op) { return op->bounds() == block; }), 1);
    }
}

TEST_F(Drawing, TheCacheEmptiesWholeAtItsThousandAndTwentyFifthImage) {
    grid->setHeadersVisibility(0);
    grid->columns()->push(std::make_shared<GridColumn>());
    grid->rows()->push(std::make_shared<GridRow>());
    auto& cells = *grid->cells();
    for (int i = 0; i < 1024; ++i) Access::cacheCell(cells, 1000 + i, 0);
    draw();
    EXPECT_EQ(cells.cachedImageCount(), 1025u) << "1,024 kept, and the new one added";
    EXPECT_TRUE(Access::isCached(cells, 1000, 0));
    draw();
    EXPECT_EQ(cells.cachedImageCount(), 1u) << "the next cell empties it, then caches itself";
    EXPECT_FALSE(Access::isCached(cells, 1000, 0));
}

TEST_F(Drawing, ResetCacheDropsARowAColumnAndTheNextOrAll) {
    bindRecords(5);
    auto& cells = *grid->cells();
    draw();
    ASSERT_TRUE(Access::isCached(cells, 1, 1));
    cells.resetCache(grid->rows()->item(1).get());
    for (int c = 0; c < 3; ++c) {
        EXPECT_FALSE(Access::isCached(cells, 1, c));
        EXPECT_TRUE(Access::isCached(cells, 2, c));
    }
    cells.resetCache(grid->columns()->item(1).get());
    for (int r : {0, 2}) {
        EXPECT_TRUE(Access::isCached(cells, r, 0));
        EXPECT_FALSE(Access::isCached(cells, r, 1));
        EXPECT_FALSE(Access::isCached(cells, r, 2));
        EXPECT_TRUE(Access::isCached(cells, r, 3));
    }
    cells.resetCache(nullptr);
    EXPECT_EQ(cells.cachedImageCount(), 0u);
}

TEST_F(Drawing, ACellThePlatformRefusesAnImageForIsDrawnStraightAndHiddenCellsNotAtAll) {
    bindRecords(3);
    grid->columns()->column(1)->setWidth(20000);
    grid->columns()->column(0)->setVisible(false);
    auto token = std::make_shared<int>();
    std::set<int> columns;
    grid->ombriGridProcessItemOverlay()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& e) {
            const auto args = e->args<GridFormatItemEventArgs>();
            if (args->panel()->cellType() == GridCellTypeCell) columns.insert(args->col());
        },
        token);
    auto& rec = draw();
    EXPECT_NE(rec.findText("r1"), nullptr) << "20,000 points at scale 2 are past the image limits";
    EXPECT_FALSE(Access::isCached(*grid->cells(), 1, 1));
    EXPECT_EQ(columns, std::set<int>{1}) << "the hidden column has neither image nor overlay";
}

TEST_F(Drawing, AMegabyteTextShowsTheSameBeginningAsItsFirstLines) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    // Several megabytes of words with two-byte letters, so that a cut may fall inside a character.
    std::string huge;
    while (huge.size() < (4u << 20)) huge += "l\u00f6rem \u00eepsum dolor sit amet, ";
    // Enough to overflow the cell many times over, yet short enough to be laid out whole.
    const std::string head = huge.substr(0, 120), tail = huge.substr(huge.size() - 120);
    bindRecords(5);
    grid->setHeadersVisibility(GridHeadersVisibilityAll);
    auto pixels = [&](const std::string& cell, const std::string& header) {
        grid->setCellData(plat::Value(cell), 1, 1);
        grid->setCellData(plat::Value(cell), 2, 2);
        grid->columns()->column(1)->setHeader(header);
        plat::ImageContext image(grid->bounds().size, 1, true);
        grid->drawRect(image.context(), grid->bounds());
        const auto done = image.finish();
        return std::vector<std::uint32_t>(done->data(), done->data() + done->pixelWidth() * done->pixelHeight());
    };
    grid->rows()->row(2)->setWordWrap(true);
    // The short texts are laid out whole, and they show.
    ASSERT_LT(head.size(), kivo::detail::shownCharacters(grid->cells()->getCellRect(1, 1).size, grid->font()));
    ASSERT_LT(head.size(),
              kivo::detail::shownCharacters(grid->columnHeaders()->getCellRect(0, 1).size, grid->columnHeaderFont()));
    EXPECT_NE(pixels("x", "x"), pixels(head, head + tail));
    EXPECT_EQ(pixels(huge, huge), pixels(head, head + tail)) << "a header keeps its end for the middle truncation";

    // What is handed to the text layout stays small and begins as the text does.
    drawStraight();
    grid->setCellData(plat::Value(huge), 1, 1);
    grid->columns()->column(1)->setHeader(huge);
    std::size_t longest = 0;
    for (const auto* op : draw().texts()) {
        const std::string& drawn = op->text.text;
        longest = std::max(longest, drawn.size());
        if (drawn.size() > 100) {
            EXPECT_EQ(huge.compare(0, 100, drawn, 0, 100), 0);
        }
    }
    EXPECT_GT(longest, 100u);
    EXPECT_LE(longest, 64u * 1024);
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("does not fit the property")));
}

TEST_F(Drawing, ScrollIndicatorsShowWhereTheViewIsAndANonFiniteRatioCountsAsNought) {
    bindRecords(100);
    grid->setScrollIndicatorColor(Color::red());
    grid->setHeadersVisibility(0);
    draw();
    grid->setScrollPosition({0, 100 * 28 / 2.0});
    auto bars = [&] {
        std::vector<Rect> out;
        for (const auto* op : draw().fills())
            if (op->color == Color::red()) out.push_back(op->bounds());
        return out;
    };
    // Vertical: track 284, length 284 / 2800 × 284, placed by the origin over the scrollable height.
    const double T = 300 - 16, L = std::max(15.0, T / 2800 * T), ratio = 1400.0 / (2800 - 300);
    auto found = bars();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NEAR(found[1].x(), 392, 1e-9);
    EXPECT_NEAR(found[1].y(), (T - L) * ratio + 8, 1e-9);
    EXPECT_NEAR(found[1].height(), L, 1e-9);
    // The columns exactly as wide as the view leave nothing to scroll across: 0 / 0 places the bar
    // at the start of its track, after the frozen column.
    grid->columns()->column(0)->setWidth(100);
    for (int c = 1; c < 5; ++c) grid->columns()->column(c)->setWidth(c == 1 ? 300 : 0);
    grid->setFrozenColumns(1);
    found = bars();
    ASSERT_FALSE(found.empty());
    const double track = 400 - 16 - 100;
    EXPECT_EQ(found[0], Rect(100 + 8, 300 - 8, track / (400 - 16) * track, 4));
}

TEST_F(Drawing, CellColoursFollowPanelSelectionModeAndSelection) {
    bindRecords(6);
    drawStraight();
    grid->setAlternatingRowBackgroundColor(Color::yellow());
    grid->setHeaderSelectedBackgroundColor(Color::green());
    const Color plain = Color::white(), alternate = Color::yellow(), selected = grid->selectionBackgroundColor();
    const Color header = grid->columnHeaderBackgroundColor(), headerSelected = Color::green();
    struct Case {
        GridSelectionMode mode;
        GridCellRange selection;
        bool editing;
        Color cell11, cell21, rowHeader1, columnHeader1;
    };
    // A column header is a cell of row 0: it shows the selection of cells when that takes in row 0.
    for (const auto& k : std::vector<Case>{
             {GridSelectionModeNone, {0, 1, 1, 1}, false, alternate, plain, header, header},
             {GridSelectionModeCell, {0, 1, 1, 1}, false, selected, plain, header, headerSelected},
             {GridSelectionModeCell, {1, 1}, false, selected, plain, header, header},
             {GridSelectionModeCellRange, {0, 1, 2, 1}, false, selected, selected, header, headerSelected},
             {GridSelectionModeRow, {1, 0, 1, 4}, false, selected, plain, headerSelected, header},
             {GridSelectionModeRowRange, {1, 0, 2, 4}, false, selected, selected, headerSelected, header},
             {GridSelectionModeCell, {0, 1, 1, 1}, true, alternate, plain, header, headerSelected},
         }) {
        grid->setSelectionMode(k.mode);
        grid->setSelection(std::make_shared<GridCellRange>(k.selection));
        Access::setEditRange(*grid, k.editing ? std::make_shared<GridCellRange>(1, 1) : nullptr);
        grid->invalidate();
        draw();
        const auto* c11 = fillAt(grid->cells()->getCellRect(1, 1));
        const auto* c21 = fillAt(grid->cells()->getCellRect(2, 1));
        const auto* rh = fillAt(grid->rowHeaders()->getCellRect(1, 0));
        const auto* ch = fillAt(grid->columnHeaders()->getCellRect(0, 1));
        ASSERT_TRUE(c11 && c21 && rh && ch);
        EXPECT_EQ(c11->color, k.cell11) << k.mode;
        EXPECT_EQ(c21->color, k.cell21) << k.mode;
        EXPECT_EQ(rh->color, k.rowHeader1) << k.mode;
        EXPECT_EQ(ch->color, k.columnHeader1) << k.mode;
    }
}

TEST_F(Drawing, GridLinesFrozenBordersAndTheColumnBeingSized) {
    bindRecords(6);
    drawStraight();
    grid->setGridLinesColor(Color::blue());
    // Lines of `color` clipped to the cell, as (x0, y0, x1, y1) of their bounds.
    auto linesIn = [&](const Rect& cell, const Color& color) {
        std::vector<Rect> out;
        for (const auto* op : rec->strokes())
            if (op->color == color && op->clip && *op->clip == cell) out.push_back(op->bounds());
        return out;
    };
    const Rect cell = grid->cells()->getCellRect(2, 2);
    const double x = cell.x(), y = cell.y(), r = cell.maxX(), b = cell.maxY();
    for (const auto& [visibility, lines] : std::vector<std::pair<int, std::vector<Rect>>>{
             {0, {}}, {1, {{x, y, r - x, 0}}}, {2, {{x, y, 0, b - y}, {r, y, 0, b - y}}}, {3, {cell}}}) {
        grid->setGridLinesVisibility(visibility);
        draw();
        EXPECT_EQ(linesIn(cell, Color::blue()), lines) << visibility;
    }
    grid->setFrozenCellsBorderColor(Color::red());
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    draw();
    const Rect c00 = grid->cells()->getCellRect(0, 0), c11 = grid->cells()->getCellRect(1, 1);
    EXPECT_EQ(linesIn(c00, Color::red()),
              (std::vector<Rect>{{c00.maxX(), c00.y(), 0, c00.height()}, {c00.x(), c00.maxY(), c00.width(), 0}}));
    EXPECT_EQ(linesIn(c11, Color::red()),
              (std::vector<Rect>{{c11.x(), c11.y(), 0, c11.height()}, {c11.x(), c11.y(), c11.width(), 0}}));
    grid->setFrozenRows(0);
    grid->setFrozenColumns(0);
    Access::setColumnBeingSized(*grid, 1);
    grid->invalidate();
    draw();
    const Rect c21 = grid->cells()->getCellRect(2, 1), c22 = grid->cells()->getCellRect(2, 2);
    EXPECT_EQ(linesIn(c21, Color::black()), (std::vector<Rect>{{c21.maxX(), c21.y(), 0, c21.height()}}));
    EXPECT_EQ(linesIn(c22, Color::black()), (std::vector<Rect>{{c22.x(), c22.y(), 0, c22.height()}}));
}

TEST_F(Drawing, TextIsPlacedByAlignmentCentredVerticallyAndWrapped) {
    bindRecords(4);
    drawStraight();
    auto& column = *grid->columns()->column(1);
    const Rect cell = grid->cells()->getCellRect(2, 1);
    const plat::Size text = plat::measureText(plat::AttributedString("r2", grid->font(), Color::black()));
    for (const auto& [alignment, x] : std::vector<std::pair<GridHorizontalAlignment, double>>{
             {GridHorizontalAlignmentLeft, cell.x() + 4},
             {GridHorizontalAlignmentCenter, cell.x() + (cell.width() - text.width) * 0.5},
             {GridHorizontalAlignmentRight, cell.x() + cell.width() - text.width - 4}}) {
        column.setHorizontalAlignment(alignment);
        draw();
        const auto* op = textOf("r2");
        ASSERT_TRUE(op && op->layoutRect);
        EXPECT_NEAR(op->layoutRect->x(), x, 1e-9) << alignment;
        EXPECT_NEAR(op->layoutRect->y(), cell.y() + std::max(4.0, (cell.height() - text.height) * 0.5), 1e-9);
        EXPECT_NEAR(op->layoutRect->height(), text.height, 1e-9);
        EXPECT_EQ(op->layoutRect->width(), cell.width());
    }
    // Wrapped: the long text takes its wrapped height in the cell's width.
    const std::string longText = "a text long enough to wrap inside one cell of the grid";
    grid->setCellData(plat::Value(longText), 2, 1);
    column.setWordWrap(true);
    grid->rows()->row(2)->setHeight(120);
    draw();
    const Rect tall = grid->cells()->getCellRect(2, 1);
    const double wrapped = plat::measureText(plat::AttributedString(longText, grid->font(), Color::black()), tall.width()).height;
    const auto* op = textOf(longText);
    ASSERT_TRUE(op && op->layoutRect);
    EXPECT_GT(wrapped, 2 * text.height);
    EXPECT_NEAR(op->layoutRect->height(), wrapped, 1e-9);
    EXPECT_NEAR(op->layoutRect->y(), tall.y() + (tall.height() - wrapped) * 0.5, 1e-9);
}

TEST_F(Drawing, BooleanCellsAreCheckBoxesTintedWhenSelectedAndTextInTheHeader) {
    bindRecords(4);
    drawStraight();
    const auto& active = *grid->columns()->column(3);
    ASSERT_EQ(active.dataType(), KivoDataTypeBoolean);
    grid->setTintColor(Color::green());
    grid->setSelectionMode(GridSelectionModeCell);
    grid->setSelection(std::make_shared<GridCellRange>(1, 3));
    draw();
    auto strokesIn = [&](const Rect& cell, const Color& color) {
        std::vector<const plat::DrawOp*> out;
        for (const auto* op : rec->strokes())
            if (op->color == color && cell.contains(op->bounds().origin)) out.push_back(op);
        return out;
    };
    // Row 0 is active (an even id): the check mark's two strokes; row 2 too; row 1 selected and not
    // active: the box's four sides in the selection's text colour.
    const Rect c0 = grid->cells()->getCellRect(0, 3), c1 = grid->cells()->getCellRect(1, 3);
    EXPECT_EQ(strokesIn(c0, Color::green()).size(), 2u);
    // Drawn after row 1's box, row 2 still shows its own state in its own tint.
    const auto mark = strokesIn(grid->cells()->getCellRect(2, 3), Color::green());
    EXPECT_EQ(mark.size(), 2u);
    EXPECT_TRUE(strokesIn(grid->cells()->getCellRect(2, 3), grid->selectionTextColor()).empty());
    const auto box = strokesIn(c1, grid->selectionTextColor());
    ASSERT_EQ(box.size(), 4u);
    Rect sides = box[0]->bounds();
    for (const auto* op : box) sides = sides.united(op->bounds());
    EXPECT_NEAR(sides.width(), 2 * 7.0, 0.01) << "intrinsic size 7: half the side";
    EXPECT_NEAR(sides.midX(), c1.midX(), 1.0);
    EXPECT_EQ(rec->findText("true"), nullptr);
    EXPECT_NE(rec->findText(*active.getFormattedHeader()), nullptr) << "the header shows text";
}

}  // namespace

namespace {

TEST(DrawingGolden, AFrozenCornerACheckedBooleanCellAndAStartHandle) {
    plat::testing::VirtualClock clock;
    const double scale = plat::Screen::main().scale();
    plat::Screen::main().setScale(1);
    {
        auto grid = OmbriGrid::create({0, 0, 48, 48});
        grid->setAutoGenerateColumns(false);
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < 4; ++i) source->push_back(plat::Value(std::make_shared<grid_test::Record>(i * 2)));
        grid->setItemsSource(source);
        auto active = std::make_shared<GridColumn>();
        active->setBinding("active");
        active->setDataType(KivoDataTypeBoolean);
        active->setWidth(24);
        grid->columns()->push(active);
        auto name = std::make_shared<GridColumn>();
        name->setBinding("name");
        grid->columns()->push(name);
        grid->rows()->setDefaultSize(18);
        grid->setHeadersVisibility(0);
        grid->setFrozenRows(1);
        grid->setFrozenColumns(1);
        grid->setFrozenCellsBorderColor(Color::red());
        grid->setSelectionMode(GridSelectionModeCellRange);
        // The start handle of row 2: the row right below the frozen one never counts its top as shown.
        grid->setSelection(std::make_shared<GridCellRange>(2, 1, 3, 1));
        plat::ImageContext image({48, 48}, 1, true);
        grid->drawRect(image.context(), grid->bounds());
        const auto picture = image.finish();
        ASSERT_TRUE(picture);
        const auto result = plat::testing::compareWithGolden(*picture, "OmbriGrid/tests/golden/grid_corner.png");
        EXPECT_TRUE(result.ok) << result.message;
    }
    plat::Screen::main().setScale(scale);
}

}  // namespace
