// The edit menu's offers and what a copy puts on the pasteboard.

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <optional>
#include <string>
#include <vector>

#include "OmbriGrid/GridHitTestInfo.h"
#include "Platform/foundation/base64.h"
#include "Platform/ui/menu_controller.h"
#include "clipboard_fixture.h"
#include "grid_access.h"

namespace {

using grid_test::ClipScene;
using Access = kivo::detail::GridTestAccess;

constexpr const char* ArchiveType = "Apple Web Archive pasteboard type";

std::string pasteboardText(std::string_view type) {
    const auto value = plat::Pasteboard::general().valueForPasteboardType(type);
    return value.isString() ? value.asString() : std::string("<none>");
}

struct Cell {
    int row, col;
};

struct OfferCase {
    const char* action;
    bool readOnly;
    std::int64_t mode;
    std::optional<GridCellRange> selection;  // none: empty
    std::optional<Cell> pressed;
    bool pasteboardText;
    bool ownCopy;
    bool allowed;
};

TEST_F(ClipScene, TheMenuOffersEachActionOnlyWhenItCanRun) {
    const GridCellRange block(1, 1, 2, 2);
    const OfferCase cases[] = {
        {"copy:", false, 2, block, std::nullopt, false, false, true},
        {"copy:", true, 2, block, Cell{2, 2}, false, false, true},
        {"copy:", false, 2, block, Cell{5, 5}, false, false, false},
        {"copy:", false, 2, std::nullopt, std::nullopt, false, false, true},
        {"cut:", false, 2, block, Cell{1, 2}, false, false, true},
        {"cut:", true, 2, block, std::nullopt, false, false, false},
        {"cut:", false, 2, block, Cell{0, 0}, false, false, false},
        {"paste:", false, 2, block, std::nullopt, true, false, true},
        {"paste:", false, 2, block, std::nullopt, false, true, true},
        {"paste:", false, 2, block, std::nullopt, false, false, false},
        {"paste:", true, 2, block, std::nullopt, true, true, false},
        {"paste:", false, 2, block, Cell{0, 0}, true, true, false},
        {"paste:", false, 2, block, Cell{2, 1}, true, false, true},
        {"paste:", false, 2, std::nullopt, std::nullopt, true, true, false},
        {"select:", false, 2, block, Cell{5, 5}, false, false, true},
        {"select:", false, 2, block, Cell{1, 1}, false, false, false},
        {"select:", false, 2, block, std::nullopt, false, false, true},
        {"select:", false, 0, std::nullopt, Cell{5, 5}, false, false, false},
        {"selectAll:", false, 2, block, std::nullopt, false, false, true},
        {"selectAll:", false, 4, block, std::nullopt, false, false, true},
        {"selectAll:", false, 3, block, std::nullopt, false, false, false},
        {"selectAll:", false, 1, block, std::nullopt, false, false, false},
        {"upKeyPressWithShift", true, 0, std::nullopt, Cell{5, 5}, false, false, true},
        {"returnKeyPress", false, 2, block, std::nullopt, false, false, true},
        {"escapeKeyPress", true, 3, std::nullopt, std::nullopt, false, false, true},
        {"delete:", false, 2, block, std::nullopt, true, true, false},
        {"copy", false, 2, block, std::nullopt, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " mode " + std::to_string(c.mode) + (c.readOnly ? " read-only" : "") +
                     (c.pressed ? " pressed " + std::to_string(c.pressed->row) + "," + std::to_string(c.pressed->col) : "") +
                     (c.pasteboardText ? " text" : "") + (c.ownCopy ? " own copy" : ""));
        renew();
        grid->setIsReadOnly(c.readOnly);
        if (c.ownCopy) {
            select(0, 0);
            grid->copy(nullptr);
        }
        plat::Pasteboard::general().setItems({});
        if (c.pasteboardText) plat::Pasteboard::general().setString("x");
        grid->setSelectionMode(c.mode);
        grid->setSelection(c.selection ? c.selection->clone() : nullptr);
        Access::pressForMenu(*grid, nullptr);
        if (c.pressed) {
            const plat::Rect cell = grid->getCellRectForRow(c.pressed->row, c.pressed->col);
            Access::pressForMenu(*grid, grid->hitTest(cell.center()));
        }
        EXPECT_EQ(grid->canPerformAction(std::string_view(c.action), nullptr), c.allowed);
    }
}

TEST_F(ClipScene, TheMenuShowsTheGridsOffersInItsOrder) {
    select(1, 1, 2, 2);
    const plat::Rect cell = grid->getCellRectForRow(4, 4);
    Access::pressForMenu(*grid, grid->hitTest(cell.center()));
    auto& menu = plat::MenuController::shared();
    menu.setTargetRect({cell.center(), {0, 0}}, grid);
    menu.setMenuVisible(true, false);
    EXPECT_EQ(menu.menuItems(), (std::vector<plat::EditAction>{plat::EditAction::Select, plat::EditAction::SelectAll}))
        << "pressed outside the selection, with nothing to paste";
    menu.setMenuVisible(false, false);
}

TEST_F(ClipScene, ACopyPutsTextAndTheWebArchiveBytesOnThePasteboard) {
    select(0, 0, 1, 1);
    grid->copy(nullptr);
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), "Oslo\tTrue\r\nR&D <Bergen>\tFalse");
    const std::string archive =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"><plist version=\"1.0\"><dict><key>WebMainResource</key><dict>"
        "<key>WebResourceData</key><data>PHRhYmxlPjx0cj48dGQ+T3NsbzwvdGQ+PHRkPlRydWU8L3RkPjwvdHI+PHRyPjx0\r\n"
        "ZD5SJmFtcDtEICZsdDtCZXJnZW4mZ3Q7PC90ZD48dGQ+RmFsc2U8L3RkPjwvdHI+\r\nPC90YWJsZT4=</data>"
        "<key>WebResourceFrameName</key><string></string><key>WebResourceMIMEType</key><string>text/html</string>"
        "<key>WebResourceTextEncodingName</key><string>UTF-8</string><key>WebResourceURL</key><string>about:blank</string>"
        "</dict></dict></plist>";
    ASSERT_EQ(archive.size(), 621u);
    EXPECT_EQ(pasteboardText(ArchiveType), archive);
    EXPECT_EQ(plat::Pasteboard::general().numberOfItems(), 1u);
    EXPECT_EQ(Access::localClipboard(*grid).size(), 2u);
    EXPECT_TRUE(Access::localClipboard(*grid)[0][1].isEqual(plat::Value(true))) << "the raw value, not its text";
}

// The texts of the archive's table cells as libxml2's HTML parser reads them.
std::vector<std::string> tableCells(const std::string& archive) {
    const auto open = archive.find("<data>"), close = archive.find("</data>");
    if (open == std::string::npos || close == std::string::npos) return {};
    const auto html = plat::base64Decode(std::string_view(archive).substr(open + 6, close - open - 6));
    if (!html) return {};
    std::vector<std::string> cells;
    htmlDocPtr doc = htmlReadMemory(html->data(), static_cast<int>(html->size()), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!doc) return {};
    auto walk = [&](auto&& self, xmlNodePtr node) -> void {
        for (; node; node = node->next) {
            if (node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST "td") == 0) {
                xmlChar* content = xmlNodeGetContent(node);
                cells.emplace_back(content ? reinterpret_cast<const char*>(content) : "");
                xmlFree(content);
            } else {
                self(self, node->children);
            }
        }
    };
    walk(walk, xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    return cells;
}

TEST(ClipboardEscaping, TheHtmlFormReadsBackAsTheCellTexts) {
    plat::testing::PinnedLocale locale;
    plat::testing::VirtualClock clock;
    auto grid = OmbriGrid::create({0, 0, 320, 568});
    const std::vector<std::string> texts = {"a & b", "<td>", "\"q\"", "", "x\r\ny", "Tromsø"};
    for (std::size_t c = 0; c < texts.size(); ++c) {
        auto column = std::make_shared<GridColumn>();
        column->setDataType(2);
        grid->columns()->push(column);
    }
    grid->rows()->push(std::make_shared<GridRow>());
    for (std::size_t c = 0; c < texts.size(); ++c) grid->setCellData(plat::Value(texts[c]), 0, static_cast<std::int32_t>(c));
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(0, 0, 0, 5));
    grid->copy(nullptr);
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), "a & b\t<td>\t\"q\"\t\tx\r\ny\tTromsø") << "the text form as shown";
    const std::string archive = pasteboardText(ArchiveType);
    EXPECT_EQ(tableCells(archive), texts);
    const auto html =
        plat::base64Decode(archive.substr(archive.find("<data>") + 6, archive.find("</data>") - archive.find("<data>") - 6));
    ASSERT_TRUE(html);
    EXPECT_NE(html->find("<td>&quot;q&quot;</td><td></td><td>x&#13;\ny</td>"), std::string::npos) << *html;
}

TEST(ClipboardEscaping, BothFlavoursCarryTheSameCellsWhateverBytesACellHolds) {
    plat::testing::PinnedLocale locale;
    plat::testing::VirtualClock clock;
    using namespace std::string_literals;
    const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
    struct Case {
        const char* name;
        std::string cell, expected;
    };
    const Case cases[] = {
        {"a stray byte",
         "ab\xFF"
         "cd"s,
         "ab" + bad + "cd"},
        {"a lone continuation byte", "\x80x"s, bad + "x"},
        {"truncated at the end", "x\xE2\x82"s, "x" + bad},
        {"truncated before a letter", "\xC3y"s, bad + "y"},
        {"overlong two bytes", "\xC0\xAF"s, bad + bad},
        {"overlong three bytes", "\xE0\x80\xAF"s, bad + bad + bad},
        {"a surrogate", "\xED\xA0\x80"s, bad + bad + bad},
        {"past U+10FFFF", "\xF4\x90\x80\x80"s, bad + bad + bad + bad},
        {"a NUL", "a\0b"s, "ab"},
        {"valid multi-byte text", "Troms\xC3\xB8 \xE2\x82\xAC \xF0\x9D\x84\x9E"s, "Troms\xC3\xB8 \xE2\x82\xAC \xF0\x9D\x84\x9E"s},
        {"a replacement character of its own", "x" + bad, "x" + bad},
    };
    auto grid = OmbriGrid::create({0, 0, 320, 568});
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        auto column = std::make_shared<GridColumn>();
        column->setDataType(2);
        grid->columns()->push(column);
    }
    grid->rows()->push(std::make_shared<GridRow>());
    std::vector<std::string> expected;
    std::string expectedText;
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        grid->setCellData(plat::Value(cases[c].cell), 0, static_cast<std::int32_t>(c));
        expected.push_back(cases[c].expected);
        expectedText += (c ? "\t" : "") + cases[c].expected;
    }
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(0, 0, 0, static_cast<std::int32_t>(std::size(cases)) - 1));
    plat::testing::LogCapture log;
    grid->copy(nullptr);
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), expectedText);
    const auto cells = tableCells(pasteboardText(ArchiveType));
    ASSERT_EQ(cells.size(), std::size(cases));
    for (std::size_t c = 0; c < std::size(cases); ++c) EXPECT_EQ(cells[c], expected[c]) << cases[c].name;
    EXPECT_TRUE(log.lines().empty()) << "the writer refused a cell: " << log.lines().front();
    EXPECT_EQ(Access::localClipboard(*grid)[0][0].asString(), cases[0].cell) << "the grid's own copy keeps the raw value";
}

TEST_F(ClipScene, AGroupRowIsCopiedAsItsHeaderButLeftOutOfTheGridsCopy) {
    build(true);
    ASSERT_NE(dynamic_cast<GridGroupRow*>(grid->rows()->row(4).get()), nullptr);
    select(3, 0, 5, 1);
    grid->copy(nullptr);
    const std::string header = grid->cells()->getGroupRowHeader(4).value_or("?");
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), "Bodø\tFalse\r\n" + header + "\t\r\nMolde\tTrue");
    EXPECT_NE(header.find("Later"), std::string::npos);
    ASSERT_EQ(Access::localClipboard(*grid).size(), 2u);
    EXPECT_EQ(Access::localClipboard(*grid)[1][0].asString(), "Molde");
    ASSERT_TRUE(Access::copiedRange(*grid));
    EXPECT_TRUE(Access::copiedRange(*grid)->isEqual(GridCellRange(3, 0, 4, 1)));
}

TEST_F(ClipScene, CopyingNothingCopiesNothingAndEndsACutAsAPlainCopyDoes) {
    select(0, 0);
    grid->cut(nullptr);
    EXPECT_TRUE(Access::copyBeingCut(*grid));
    grid->setSelection(nullptr);
    grid->copy(nullptr);
    EXPECT_FALSE(Access::copyBeingCut(*grid)) << "an empty selection ends the cut";
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), "Oslo") << "an empty selection copies nothing";
    select(0, 0);
    grid->cut(nullptr);
    select(1, 0);
    grid->copy(nullptr);
    EXPECT_FALSE(Access::copyBeingCut(*grid));
    EXPECT_EQ(pasteboardText(plat::PasteboardTypeText), "R&D <Bergen>");
}

TEST_F(ClipScene, SelectTakesThePressedCellAndSelectAllTheWholeGrid) {
    select(0, 0);
    grid->select(nullptr);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(0, 0))) << "no pressed cell: nothing";
    const plat::Rect cell = grid->getCellRectForRow(3, 2);
    Access::pressForMenu(*grid, grid->hitTest(cell.center()));
    grid->select(nullptr);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(3, 2)));
    grid->selectAll(nullptr);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(0, 0, 7, 5)));
    grid->setSelectionMode(GridSelectionModeCell);
    grid->selectAll(nullptr);
    EXPECT_EQ(grid->selection()->rowSpan(), 1) << "only the range modes select all";
}

}  // namespace
