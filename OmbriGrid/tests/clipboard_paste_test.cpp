// Pasting: where the grid's own copy and pasted text land (tiled, clipped, around group rows, read-only
// and merged cells), how values convert by the target's type, and what a cut empties.

#include <functional>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoSortDescription.h"
#include "Platform/testing/log_capture.h"
#include "clipboard_fixture.h"
#include "grid_access.h"

namespace {

using grid_test::ClipItem;
using grid_test::ClipScene;
using grid_test::march;
using Access = kivo::detail::GridTestAccess;

// ---- placement, on a grid of text cells ----

// Eight rows of six text columns, each cell "o<row><col>"; optionally a group row inserted at row 4,
// a read-only column 2, and the 2 × 2 block of "13" at rows 6–7, columns 2–3 merged.
struct TextGrid {
    explicit TextGrid(bool grouped = false, bool readOnlyMiddle = false, bool merged = false) {
        for (int c = 0; c < 6; ++c) {
            auto column = std::make_shared<GridColumn>();
            column->setDataType(2);
            column->setAllowMerging(merged && (c == 2 || c == 3));
            column->setIsReadOnly(readOnlyMiddle && c == 2);
            grid->columns()->push(column);
        }
        for (int r = 0; r < 8; ++r) grid->rows()->push(std::make_shared<GridRow>());
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 6; ++c) grid->setCellData(plat::Value("o" + std::to_string(r) + std::to_string(c)), r, c);
        if (merged) {
            for (int r : {6, 7})
                for (int c : {2, 3}) grid->setCellData(plat::Value("13"), r, c);
            grid->setAllowMerging(GridAllowMergingCells);
        }
        if (grouped) grid->rows()->insertObject(plat::Value(std::make_shared<GridGroupRow>()), 4);
        grid->setSelectionMode(GridSelectionModeCellRange);
        for (int r = 0; r < rowCount(); ++r) {
            auto& line = before.emplace_back();
            for (int c = 0; c < 6; ++c) line.push_back(cell(r, c));
        }
    }
    int rowCount() const { return static_cast<int>(grid->rows()->count()); }
    std::string cell(int r, int c) const {
        const auto v = grid->getCellDataForRow(r, c, false);
        return v.isNil() ? "" : v.description();
    }
    // One character a cell: '#' a group row, '.' as before, else the cell's one-letter text.
    std::vector<std::string> picture() const {
        std::vector<std::string> lines;
        for (int r = 0; r < rowCount(); ++r) {
            std::string line;
            for (int c = 0; c < 6; ++c) {
                const std::string now = cell(r, c);
                if (dynamic_cast<GridGroupRow*>(grid->rows()->row(r).get()))
                    line += '#';
                else if (now == before[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    line += '.';
                else
                    line += now.size() == 1 ? now[0] : '?';
            }
            lines.push_back(line);
        }
        return lines;
    }
    void select(const GridCellRange& range) { grid->setSelection(range.clone()); }

    plat::testing::PinnedLocale locale;
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
    std::vector<std::vector<std::string>> before;
};

struct Layout {
    bool grouped = false, readOnlyMiddle = false, merged = false;
};

struct TileCase {
    const char* name;
    Layout layout;
    GridCellRange copied;  // its cells get the letters A, B, C ... row by row before the copy
    GridCellRange target;
    std::vector<std::string> expected;
};

TEST(ClipboardPlacement, TheGridsCopyTilesOverWholeMultiplesAndElseLandsOnce) {
    const TileCase cases[] = {
        {"1 x 1 into 3 x 2",
         {},
         {0, 0},
         {2, 1, 4, 2},
         {"A.....", "......", ".AA...", ".AA...", ".AA...", "......", "......", "......"}},
        {"2 x 2 into 3 x 3: once",
         {},
         {0, 0, 1, 1},
         {2, 2, 4, 4},
         {"AB....", "CD....", "..AB..", "..CD..", "......", "......", "......", "......"}},
        {"2 x 2 into 4 x 4: tiled",
         {},
         {0, 0, 1, 1},
         {2, 2, 5, 5},
         {"AB....", "CD....", "..ABAB", "..CDCD", "..ABAB", "..CDCD", "......", "......"}},
        {"clipped at the last row and column",
         {},
         {0, 0, 1, 1},
         {7, 5},
         {"AB....", "CD....", "......", "......", "......", "......", "......", ".....A"}},
        {"extended up and left: from its top-left cell",
         {},
         {0, 0, 1, 1},
         {5, 5, 2, 2},
         {"AB....", "CD....", "..ABAB", "..CDCD", "..ABAB", "..CDCD", "......", "......"}},
        {"across the group row, which counts for nothing",
         {true},
         {0, 0, 1, 0},
         {3, 1, 7, 1},
         {"A.....", "B.....", "......", ".A....", "######", ".B....", ".A....", ".B....", "......"}},
        {"around a read-only column",
         {false, true},
         {0, 0, 0, 2},
         {3, 1, 3, 3},
         {"ABC...", "......", "......", ".A.C..", "......", "......", "......", "......"}},
        {"into the merged block: each value fills it, the last stays",
         {false, false, true},
         {0, 0, 0, 1},
         {6, 2, 6, 3},
         {"AB....", "......", "......", "......", "......", "......", "..BB..", "..BB.."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid g(c.layout.grouped, c.layout.readOnlyMiddle, c.layout.merged);
        char letter = 'A';
        for (int r = c.copied.topRow(); r <= c.copied.bottomRow(); ++r)
            for (int col = c.copied.leftCol(); col <= c.copied.rightCol(); ++col)
                g.grid->setCellData(plat::Value(std::string(1, letter++)), r, col);
        g.select(c.copied);
        g.grid->copy(nullptr);
        g.select(c.target);
        plat::testing::LogCapture log;
        g.grid->paste(nullptr);
        EXPECT_EQ(g.picture(), c.expected);
        EXPECT_EQ(log.lines().size(), c.layout.readOnlyMiddle ? 1u : 0u) << "one line for the cells left alone";
    }
}

struct TextCase {
    const char* name;
    std::string text;
    GridCellRange target;
    std::vector<std::string> expected;
};

TEST(ClipboardPlacement, PastedTextIsSplitIntoRowsAndCellsAndPlacedLikeTheGridsCopy) {
    const TextCase cases[] = {
        {"one value fills the selection",
         "X",
         {1, 1, 3, 2},
         {"......", ".XX...", ".XX...", ".XX...", "......", "......", "......", "......"}},
        {"a 2 x 2 block into one cell",
         "A\tB\r\nC\tD",
         {1, 1},
         {"......", ".AB...", ".CD...", "......", "......", "......", "......", "......"}},
        {"a 2 x 2 block tiled over 2 x 4",
         "A\tB\r\nC\tD",
         {0, 0, 1, 3},
         {"ABAB..", "CDCD..", "......", "......", "......", "......", "......", "......"}},
        {"a ragged block: short rows leave the rest",
         "A\tB\tC\nD\r\nE\tF",
         {0, 0},
         {"ABC...", "D.....", "EF....", "......", "......", "......", "......", "......"}},
        {"a final line break is no row",
         "A\tB\r\n",
         {0, 0, 1, 1},
         {"AB....", "AB....", "......", "......", "......", "......", "......", "......"}},
        {"LF and CR rows", "A\nB\rC", {5, 4}, {"......", "......", "......", "......", "......", "....A.", "....B.", "....C."}},
        {"larger than the grid: clipped",
         "A\tB\tC\nD\tE\tF\nG\tH\tI",
         {6, 4},
         {"......", "......", "......", "......", "......", "......", "....AB", "....DE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid g;
        plat::Pasteboard::general().setString(c.text);
        g.select(c.target);
        g.grid->paste(nullptr);
        EXPECT_EQ(g.picture(), c.expected);
    }
}

TEST(ClipboardPlacement, AnEmptySelectionOrAReadOnlyGridTakesNothing) {
    TextGrid g;
    plat::Pasteboard::general().setString("X");
    g.grid->setSelection(nullptr);
    g.grid->paste(nullptr);
    g.select({0, 0});
    g.grid->setIsReadOnly(true);
    plat::testing::LogCapture log;
    g.grid->paste(nullptr);
    g.grid->cut(nullptr);
    EXPECT_EQ(g.picture(), std::vector<std::string>(8, "......"));
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_NE(log.lines()[0].find("read-only"), std::string::npos);
    EXPECT_TRUE(plat::Pasteboard::general().string() == std::string("X")) << "the refused cut copied nothing";
}

// ---- conversion, on the typed scene ----

struct ConversionCase {
    const char* name;
    int column;
    std::string text;
    const char* locale;
    plat::Value stored;  // nil: left unchanged
    bool logged;
};

TEST_F(ClipScene, PastedTextConvertsByTheTargetColumnsTypeAndLocale) {
    const ConversionCase cases[] = {
        {"whole number", Amount, "12", "en_US", plat::Value(12.0), false},
        {"decimals", Amount, "12.50", "en_US", plat::Value(12.5), false},
        {"grouping", Amount, " 1,234.5 ", "en_US", plat::Value(1234.5), false},
        {"German grouping", Amount, "1.234,5", "de_DE", plat::Value(1234.5), false},
        {"exponent", Amount, "1e3", "en_US", {}, true},
        {"trailing letters", Amount, "12abc", "en_US", {}, true},
        {"empty into a number", Amount, "", "en_US", {}, false},
        {"True", Active, "True", "en_US", plat::Value(true), false},
        {"false in lower case", Active, "false", "en_US", plat::Value(false), false},
        {"a number into a Boolean", Active, "2", "en_US", plat::Value(true), false},
        {"short date", Due, "3/1/24", "en_US", plat::Value(march(0)), false},
        {"a date in a text", Due, "due 2024-03-01", "en_US", plat::Value(march(0)), false},
        {"no date", Due, "soon", "en_US", {}, true},
        {"empty into a string", Note, "", "en_US", plat::Value(""), false},
        {"text keeps its blanks", Note, " x ", "en_US", plat::Value(" x "), false},
        {"512 characters still read as a number", Amount, std::string(510, '0') + "12", "en_US", plat::Value(12.0), false},
        {"513 characters are too long to be one", Amount, std::string(511, '0') + "12", "en_US", {}, true},
        {"too long for a Boolean", Active, std::string(511, '0') + "12", "en_US", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::testing::PinnedLocale pinned(c.locale, "UTC");
        build(false);
        // Row 1: a Boolean that is false, so that "2" shows a change.
        const plat::Value old = grid->getCellDataForRow(1, c.column, false);
        plat::Pasteboard::general().setString(c.text);
        select(1, c.column);
        plat::testing::LogCapture log;
        grid->paste(nullptr);
        const plat::Value now = grid->getCellDataForRow(1, c.column, false);
        EXPECT_TRUE(now.isEqual(c.stored.isNil() ? old : c.stored)) << now.description();
        ASSERT_EQ(log.lines().size(), c.logged ? 1u : 0u);
        if (c.logged) {
            EXPECT_NE(log.lines()[0].find("1 cells left unchanged, the first (1, "), std::string::npos) << log.lines()[0];
        }
    }
}

TEST_F(ClipScene, TheLogQuotesALongUnconvertedTextCutShortOnACharacter) {
    std::string longText;
    for (int i = 0; i < 100'000; ++i) longText += "\xC3\xB8";  // ø, two bytes each
    struct Case {
        std::string pasted, quoted;
    };
    const Case cases[] = {
        {"12abc", "\"12abc\""},
        {longText, "\"" + longText.substr(0, 160) + "\xE2\x80\xA6\""},
        {std::string(80, 'x'), "\"" + std::string(80, 'x') + "\""},
        {std::string(81, 'x'), "\"" + std::string(80, 'x') + "\xE2\x80\xA6\""},
        {"a\xFF"
         "b",
         "\"a\xEF\xBF\xBD"
         "b\""},
    };
    for (const auto& c : cases) {
        plat::Pasteboard::general().setString(c.pasted);
        select(1, Amount);
        plat::testing::LogCapture log;
        grid->paste(nullptr);
        ASSERT_EQ(log.lines().size(), 1u);
        const std::string line = log.lines()[0];
        EXPECT_TRUE(line.ends_with(" with " + c.quoted)) << line.substr(0, 300);
        EXPECT_LT(line.size(), 300u);
    }
}

TEST_F(ClipScene, TheGridsCopyKeepsNumbersAndShowsMappedKeysAndBooleansAsText) {
    // A Boolean into text and Boolean columns; a mapped key into a text column.
    select(0, Active);
    grid->copy(nullptr);
    select(1, Note);
    grid->paste(nullptr);
    EXPECT_EQ(items[1]->note, "True");
    select(1, Active);
    grid->paste(nullptr);
    EXPECT_TRUE(items[1]->active);
    select(1, Kind);
    grid->copy(nullptr);
    select(2, Note);
    grid->paste(nullptr);
    EXPECT_EQ(items[2]->note, "two");
    select(3, Kind);
    grid->paste(nullptr);
    EXPECT_EQ(items[3]->kind, 2) << "a number column takes the key";
    select(0, Due);
    grid->copy(nullptr);
    select(2, Due);
    grid->paste(nullptr);
    EXPECT_EQ(items[2]->due.seconds, march(0).seconds);
    // Another program's text replaces the grid's copy; the grid's copy serves again once the
    // pasteboard is empty.
    plat::Pasteboard::general().setString("ferry");
    select(4, Note);
    grid->paste(nullptr);
    EXPECT_EQ(items[4]->note, "ferry");
    plat::Pasteboard::general().setItems({});
    select(5, Due);
    grid->paste(nullptr);
    EXPECT_EQ(items[5]->due.seconds, march(0).seconds);
}

TEST_F(ClipScene, AMergedTargetConvertsEachCellByItsOwnColumn) {
    plat::Pasteboard::general().setString("21");
    select(6, Amount);
    plat::testing::LogCapture log;
    grid->paste(nullptr);
    for (int r : {6, 7}) {
        EXPECT_EQ(items[static_cast<std::size_t>(r)]->amount, 21);
        EXPECT_EQ(items[static_cast<std::size_t>(r)]->note, "21");
    }
    plat::Pasteboard::general().setString("x");
    grid->paste(nullptr);
    EXPECT_EQ(items[6]->note, "x") << "the text cells take it";
    EXPECT_EQ(items[6]->amount, 21) << "the number cells do not";
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("2 cells left unchanged, the first (6, 2) with \"x\""), std::string::npos) << log.lines()[0];
}

TEST_F(ClipScene, APasteInvalidatesTheGridOnce) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    select(0, 0, 1, 3);
    grid->cut(nullptr);
    select(2, 0, 5, 3);
    int& count = countInvalidations();
    grid->paste(nullptr);
    EXPECT_EQ(count, 1) << "sixteen cells and eight cleared sources";
    EXPECT_EQ(items[4]->city, "Oslo");
    plat::Pasteboard::general().setString("n");
    count = 0;
    grid->paste(nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("cells left unchanged")));
}

// ---- cut ----

struct CutCase {
    const char* name;
    bool grouped;
    GridCellRange cut;
    std::function<void(ClipScene&, OmbriGrid&)> between;
    GridCellRange target;
    std::vector<std::string> notes;  // the note column afterwards, "" for an emptied cell
};

TEST_F(ClipScene, ACutEmptiesItsSourcesOnceTheyHaveBeenWritten) {
    const auto none = [](ClipScene&, OmbriGrid&) {};
    const CutCase cases[] = {
        {"plain", false, {0, 3, 1, 3}, none, {3, 3}, {"", "", "gamma", "alpha", "beta", "zeta", "13", "13"}},
        {"overlapping: the written cell stays",
         false,
         {0, 3, 1, 3},
         none,
         {1, 3},
         {"", "alpha", "beta", "delta", "eps", "zeta", "13", "13"}},
        {"a sort in between: found by item",
         false,
         {0, 3, 1, 3},
         [](ClipScene&, OmbriGrid& grid) {
             grid.collectionView()->sortDescriptions()->addObject(
                 plat::Value(std::make_shared<KivoSortDescription>("note", true)));
         },
         {5, 3},
         {"13", "13", "", "", "delta", "alpha", "beta", "zeta"}},
        {"a plain copy after it ends it",
         false,
         {0, 3, 1, 3},
         [](ClipScene& s, OmbriGrid& grid) {
             grid.setSelection(std::make_shared<GridCellRange>(0, 3, 1, 3));
             grid.copy(nullptr);
             (void)s;
         },
         {3, 3},
         {"alpha", "beta", "gamma", "alpha", "beta", "zeta", "13", "13"}},
        {"a copy of nothing after it ends it too",
         false,
         {0, 3, 1, 3},
         [](ClipScene&, OmbriGrid& grid) {
             grid.setSelection(nullptr);
             grid.copy(nullptr);
         },
         {3, 3},
         {"alpha", "beta", "gamma", "alpha", "beta", "zeta", "13", "13"}},
        {"tiled: only the first tile empties",
         false,
         {0, 3},
         none,
         {2, 3, 3, 3},
         {"", "beta", "alpha", "alpha", "eps", "zeta", "13", "13"}},
        {"across the group row", true, {3, 3, 5, 3}, none, {0, 3}, {"delta", "eps", "gamma", "", "#", "", "zeta", "13", "13"}},
        {"an item gone in between is skipped",
         false,
         {0, 3, 1, 3},
         [](ClipScene&, OmbriGrid& grid) { grid.collectionView()->removeAt(0); },
         {3, 3},
         {"", "gamma", "delta", "alpha", "beta", "13", "13"}},
        {"a read-only source column keeps its cells",
         false,
         {0, 3, 1, 3},
         [](ClipScene&, OmbriGrid& grid) { grid.columns()->column(3)->setIsReadOnly(true); },
         {3, 0},
         {"alpha", "beta", "gamma", "delta", "eps", "zeta", "13", "13"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        build(c.grouped);
        grid->setSelection(c.cut.clone());
        grid->cut(nullptr);
        c.between(*this, *grid);
        grid->setSelection(c.target.clone());
        grid->paste(nullptr);
        std::vector<std::string> now;
        for (int r = 0; r < static_cast<int>(grid->rows()->count()); ++r) {
            const auto row = grid->rows()->row(r);
            now.push_back(dynamic_cast<GridGroupRow*>(row.get()) ? "#" : row->dataItem().as<ClipItem>()->note);
        }
        EXPECT_EQ(now, c.notes);
        EXPECT_FALSE(Access::copyBeingCut(*grid));
    }
}

TEST_F(ClipScene, ACutValueThatDoesNotConvertKeepsItsSource) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    select(0, Note, 1, Note);
    grid->cut(nullptr);
    select(0, Amount);
    grid->paste(nullptr);
    EXPECT_EQ(items[0]->note, "alpha");
    EXPECT_EQ(items[0]->amount, 12.5);
    select(2, Amount);
    grid->cut(nullptr);
    select(3, Amount);
    grid->paste(nullptr);
    EXPECT_EQ(items[3]->amount, 1234.5);
    EXPECT_EQ(items[2]->amount, 0) << "a number source is emptied to 0";
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("cells left unchanged")));
}

TEST(ClipboardCut, FindsItsSourceWithoutMakingARowObjectPerRow) {
    plat::testing::PinnedLocale locale;
    plat::testing::VirtualClock clock;
    auto grid = OmbriGrid::create({0, 0, 320, 568});
    std::vector<std::shared_ptr<ClipItem>> items;
    auto values = std::make_shared<plat::Array>();
    for (int i = 0; i < 2'000; ++i) {
        items.push_back(std::make_shared<ClipItem>("c", false, i, "n" + std::to_string(i), march(0), 1));
        values->push_back(plat::Value(items.back()));
    }
    grid->setItemsSource(values);
    grid->setSelectionMode(GridSelectionModeCellRange);
    const auto note = static_cast<std::int32_t>(grid->columns()->objectForKeyedSubscript("note")->index());
    grid->setSelection(std::make_shared<GridCellRange>(10, note));
    grid->cut(nullptr);
    grid->setSelection(std::make_shared<GridCellRange>(13, note));
    const std::uint64_t before = GridRow::reserveIdentities(0);
    grid->paste(nullptr);
    EXPECT_LT(GridRow::reserveIdentities(0) - before, 10u) << "rows made for the paste";
    EXPECT_EQ(items[13]->note, "n10");
    EXPECT_EQ(items[10]->note, "");
}

TEST(ClipboardCut, RowsWithoutItemsEmptyTheCellsWhereTheValuesWereCut) {
    // Their values stay in the panel by index when a row is put in above them.
    TextGrid g;
    g.select(GridCellRange(0, 3, 1, 3));
    g.grid->cut(nullptr);
    g.grid->rows()->insertObject(plat::Value(std::make_shared<GridRow>()), 0);
    ASSERT_EQ(g.cell(2, 3), "o23");
    g.select(GridCellRange(5, 3));
    g.grid->paste(nullptr);
    EXPECT_EQ(g.cell(5, 3), "o03");
    EXPECT_EQ(g.cell(6, 3), "o13");
    EXPECT_EQ(g.cell(0, 3), "");
    EXPECT_EQ(g.cell(1, 3), "");
    EXPECT_EQ(g.cell(2, 3), "o23") << "never cut";
}

}  // namespace
