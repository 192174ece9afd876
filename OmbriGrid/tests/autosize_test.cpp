#include <gtest/gtest.h>

#include <cmath>

#include "Platform/graphics/text.h"
#include "Platform/testing/log_capture.h"
#include "grid_drawing.h"

using grid_test::Access;

namespace {

class AutoSize : public grid_test::DrawnGrid {
protected:
    double measured(const std::string& s, const plat::Font& font) {
        return std::trunc(static_cast<float>(plat::measureText(s, font).width));
    }
    double widthOf(std::int32_t c) { return grid->columns()->column(c)->width(); }
};

TEST_F(AutoSize, ColumnsTakeTheirWidestTextPlusEight) {
    bindRecords(12);
    grid->setCellData(plat::Value("a rather wide name in the middle"), 7, 1);
    const std::string prefix = "\u2611\uFE0E ";
    struct Case {
        std::int64_t mode;
        bool wrap;
        double expected;
    };
    const double cells = measured("a rather wide name in the middle", grid->font());
    const double header = measured(prefix + grid->columns()->column(1)->header().value_or(""), grid->columnHeaderFont());
    for (const auto& k : std::vector<Case>{
             {6, false, std::max(cells, header) + 8}, {2, false, cells + 8}, {4, false, header + 8}, {6, true, header + 8}}) {
        grid->setAutoSizeMode(k.mode);
        grid->columns()->column(1)->setWordWrap(k.wrap);
        grid->columns()->column(1)->setWidth(50);
        grid->autoSizeColumn(1);
        EXPECT_EQ(widthOf(1), k.expected) << k.mode << (k.wrap ? " wrapped" : "");
        EXPECT_EQ(grid->columns()->column(1)->widthType(), GridWidthTypeSized);
    }
    grid->autoSizeColumn(1, false, 10);
    EXPECT_EQ(widthOf(1), header + 18);
    grid->setAutoSizeMode(0);
    grid->autoSizeColumn(2);
    EXPECT_EQ(widthOf(2), -1) << "mode 0 sizes nothing";
    grid->setAutoSizeMode(6);
    const double before = widthOf(0);
    grid->autoSizeColumns(3, 1);
    EXPECT_EQ(widthOf(1), header + 18);
    EXPECT_EQ(widthOf(0), before);
    plat::testing::LogCapture log;
    grid->autoSizeColumn(40);
    grid->autoSizeRow(-1);
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST_F(AutoSize, AMegabyteTextIsMeasuredByItsBeginningOnly) {
    std::string huge;
    while (huge.size() < (2u << 20)) huge += "lorem ipsum dolor sit amet ";
    bindRecords(4);
    grid->setAutoSizeMode(6);
    grid->setCellData(plat::Value(huge), 2, 1);
    grid->columns()->column(1)->setHeader(huge);
    grid->autoSizeColumn(1);
    // The first kilobyte of each: some thousand characters, not millions.
    const double kilobyte = std::max(measured(huge.substr(0, 1024), grid->font()),
                                     measured("\u2611\uFE0E " + huge.substr(0, 1024), grid->columnHeaderFont()));
    EXPECT_EQ(widthOf(1), kilobyte + 8);
    EXPECT_LT(widthOf(1), 20000);
    grid->columns()->column(1)->setWordWrap(true);
    grid->columns()->column(1)->setWidth(100);
    grid->autoSizeRow(2);
    EXPECT_LT(grid->rows()->row(2)->renderSize(), 20000);
    EXPECT_GT(grid->rows()->row(2)->renderSize(), 2 * grid->rows()->defaultSize()) << "wrapped over several lines";
}

TEST_F(AutoSize, TheRowHeaderColumnMovesTheCellsOrigin) {
    bindRecords(3);
    grid->rowHeaders()->setCellData(plat::Value("a long row header"), 1, 0);
    grid->autoSizeColumn(0, true);
    const double expected =
        std::max(measured("a long row header", grid->font()), measured("\u2611\uFE0E ", grid->columnHeaderFont())) + 8;
    EXPECT_EQ(Access::headerColumns(*grid)->column(0)->width(), expected) << "a header without text measures as the prefix alone";
    EXPECT_EQ(grid->offset().x, expected);
}

TEST_F(AutoSize, RowsTakeTheirTallestTextNeverBelowTheDefault) {
    bindRecords(3);
    const auto row = grid->rows()->row(1);
    const double line = plat::measureText(plat::AttributedString("r1", grid->font(), plat::Color::black())).height;
    grid->autoSizeRow(1);
    EXPECT_EQ(row->height(), std::max<std::int32_t>(grid->rows()->defaultSize(), static_cast<std::int32_t>(line + 9)));
    auto& column = *grid->columns()->column(1);
    const std::string longText = "words enough to wrap over several lines in a narrow column";
    grid->setCellData(plat::Value(longText), 1, 1);
    column.setWordWrap(true);
    column.setWidth(60);
    grid->autoSizeRow(1, false, 3);
    const double wrapped = plat::measureText(plat::AttributedString(longText, grid->font(), plat::Color::black()), 60).height;
    EXPECT_EQ(row->height(), static_cast<std::int32_t>(static_cast<float>(wrapped + 9)) + 3);
    // Headers only: no cell is measured, and the row keeps its height.
    grid->setAutoSizeMode(4);
    grid->autoSizeRow(1);
    EXPECT_EQ(row->height(), static_cast<std::int32_t>(static_cast<float>(wrapped + 9)) + 3);
    grid->setAutoSizeMode(6);
    grid->autoSizeRows(2, 0);
    grid->rows()->row(2)->setHeight(5);
    grid->autoSizeRows(2, 2);
    EXPECT_EQ(grid->rows()->row(2)->height(), grid->rows()->defaultSize());
}

TEST_F(AutoSize, TheDemonstrationDataFillsTheGrid) {
    grid->prepareForInterfaceBuilder();
    ASSERT_EQ(grid->rows()->count(), 29u);
    EXPECT_TRUE(grid->cells()->isGroupRow(9));
    EXPECT_EQ(grid->columns()->count(), 6u);
    EXPECT_EQ(grid->topLeftCells()->getCellData(0, 0, false).asString(), "KIVO");
    EXPECT_EQ(grid->rowHeaders()->getCellData(1, 0, false).asString(), "\u2211");
    EXPECT_EQ(grid->columns()->column(3)->header(), "Finanical");
    EXPECT_EQ(grid->selection()->col2(), 3);
    EXPECT_EQ(grid->selectionMode(), GridSelectionModeCellRange);
    EXPECT_GT(grid->rows()->row(2)->height(), grid->rows()->defaultSize()) << "the long text wraps";
    drawStraight();
    auto& rec = draw();
    EXPECT_NE(rec.findText("KIVO"), nullptr);
    EXPECT_NE(rec.findText("\u2211"), nullptr);
    auto hidden = OmbriGrid::create({0, 0, 400, 300});
    hidden->setShowGroups(false);
    hidden->prepareForInterfaceBuilder();
    EXPECT_EQ(hidden->rows()->count(), 28u);
}

}  // namespace
