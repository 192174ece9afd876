#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/keys.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/window.h"
#include "grid_access.h"
#include "grid_model.h"

using grid_test::Access;
using R = GridCellRange;

namespace {

// One place: a string, a Boolean, a number, a string, a date and a key shown through a data map.
class Place : public plat::Object {
public:
    PLAT_CLASS()
    std::string name;
    bool active = false;
    double amount = 0;
    std::string code;
    plat::Date due;
    long kind = 0;
};
PLAT_DEFINE_CLASS(Place, plat::Object, plat::property("name", &Place::name), plat::property("active", &Place::active),
                  plat::property("amount", &Place::amount), plat::property("code", &Place::code),
                  plat::property("due", &Place::due), plat::property("kind", &Place::kind))

// Eight places whose neighbours all differ, but for rows 6–7 showing "13" in columns 2 and 3: the one
// merged block, 2 × 2.
plat::Array places() {
    const char* names[] = {"Oslo", "Bergen", "Tromsø", "Bodø", "Narvik", "Alta", "Molde", "Hamar"};
    plat::Array items;
    for (long i = 0; i < 8; ++i) {
        auto p = std::make_shared<Place>();
        p->name = names[i];
        p->active = i % 2 == 0;
        p->amount = i < 6 ? 10.5 + 10 * static_cast<double>(i) : 13;
        p->code = i < 6 ? std::string(1, static_cast<char>('A' + i)) : "13";
        p->due = plat::Date(1.7e9 + 86400.0 * static_cast<double>(i));
        p->kind = i;
        items.push_back(plat::Value(p));
    }
    return items;
}

enum class Scene {
    Flat,            // rows 0–7 as they come
    HiddenColumn,    // the flat rows, column 4 hidden
    FirstCollapsed,  // rows 0–3, group rows at 4 and 7 over two places each; the first collapsed
    LastCollapsed,   // the same, the second collapsed
};

// 320 × 568, rows 150 points high and columns 110 wide, so that either axis has somewhere to scroll.
struct KeyGrid {
    static constexpr double RowHeight = 150, ColumnWidth = 110;

    explicit KeyGrid(Scene scene) {
        window->addSubview(grid);
        const plat::Array items = places();
        if (scene == Scene::FirstCollapsed || scene == Scene::LastCollapsed) {
            grid->setItemsSource(std::make_shared<plat::Array>(items.begin(), items.begin() + 4));
            grid->addGroup("North", {items[4], items[5]});
            grid->addGroup("South", {items[6], items[7]});
        } else {
            grid->setItemsSource(std::make_shared<plat::Array>(items));
        }
        plat::Array kinds;
        for (long k = 0; k < 8; ++k) kinds.push_back(grid_test::labelled("kind " + std::to_string(k), k));
        grid->columns()->column(5)->setDataMap(std::make_shared<GridDataMap>(std::make_shared<plat::Array>(kinds), "rank", "label"));
        grid->setAllowMerging(GridAllowMergingCells);
        for (std::int64_t c = 0; c < 6; ++c) {
            grid->columns()->column(c)->setAllowMerging(true);
            grid->columns()->column(c)->setWidth(ColumnWidth);
        }
        for (std::size_t r = 0; r < grid->rows()->count(); ++r) grid->rows()->row(static_cast<std::int64_t>(r))->setHeight(RowHeight);
        if (scene == Scene::HiddenColumn) grid->columns()->column(4)->setVisible(false);
        if (scene == Scene::FirstCollapsed || scene == Scene::LastCollapsed) {
            std::static_pointer_cast<GridGroupRow>(grid->rows()->row(scene == Scene::FirstCollapsed ? 4 : 7))->setIsCollapsed(true);
            plat::RunLoop::main().runUntilIdle();
        }
        // The origin is set straight, not bounced back.
        grid->setTouchFeedback(false);
        draw();
        grid->becomeFirstResponder();
        grid->ombriGridSelectionChanging()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                ++changing;
                if (veto) c->args<GridCellRangeEventArgs>()->setCancel(true);
            },
            owner);
        grid->ombriGridSelectionChanged()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++changed; }, owner);
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    plat::Point largestOrigin() {
        const plat::Point before = grid->scrollPosition();
        grid->setScrollPosition({1e6, 1e6});
        const plat::Point largest = grid->scrollPosition();
        grid->setScrollPosition(before);
        return largest;
    }

    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
    plat::testing::Keys keys{window};
    std::shared_ptr<int> owner = std::make_shared<int>();
    int changing = 0, changed = 0;
    bool veto = false;
};

std::string show(const R& r) {
    return "(" + std::to_string(r.row()) + ", " + std::to_string(r.col()) + ", " + std::to_string(r.row2()) + ", " +
           std::to_string(r.col2()) + ")";
}

struct Key {
    std::string_view input;
    unsigned flags = plat::KeyModifierNone;
};
const Key Left{plat::KeyInputLeftArrow}, Right{plat::KeyInputRightArrow}, Up{plat::KeyInputUpArrow}, Down{plat::KeyInputDownArrow};
Key shifted(Key k) { return {k.input, plat::KeyModifierShift}; }

// Which row ('r') or column ('c') the key scrolled into view; none: the origin stays.
struct Scrolled {
    char axis = 0;
    std::int32_t index = -1;
};
Scrolled row(std::int32_t i) { return {'r', i}; }
Scrolled col(std::int32_t i) { return {'c', i}; }

class KeyCommands : public ::testing::Test {
protected:
    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
};

TEST_F(KeyCommands, ArrowsMoveAndExtendTheSelectionAndScrollTheCellReached) {
    constexpr bool Yes = true, No = false;
    const auto M1 = GridSelectionModeCell, M2 = GridSelectionModeCellRange, M3 = GridSelectionModeRow,
               M4 = GridSelectionModeRowRange;
    struct Case {
        const char* name;
        Scene scene;
        GridSelectionMode mode;
        bool anchorStays;  // _selOrigin
        R before;
        Key key;
        R after;
        int events;  // Changed events; Changing ones too, plus one for a veto
        Scrolled scrolled;
        bool veto = false;
    };
    const std::vector<Case> cases = {
        // Edges: refused, yet the current row or column is scrolled to.
        {"up at the top", Scene::Flat, M1, Yes, R(0, 0), Up, R(0, 0), 0, row(0)},
        {"left at the left", Scene::Flat, M1, Yes, R(0, 0), Left, R(0, 0), 0, col(0)},
        {"down at the bottom", Scene::Flat, M1, Yes, R(7, 5), Down, R(7, 5), 0, row(7)},
        {"right at the right", Scene::Flat, M1, Yes, R(7, 5), Right, R(7, 5), 0, col(5)},
        {"right one cell", Scene::Flat, M1, Yes, R(2, 4), Right, R(2, 5), 1, col(5)},
        {"up one cell", Scene::Flat, M1, No, R(5, 4), Up, R(4, 4), 1, row(4)},
        // The 2 × 2 block of rows 6–7, columns 2–3.
        {"down into the block: its top row scrolled", Scene::Flat, M1, Yes, R(5, 3), Down, R(6, 3), 1, row(6)},
        {"right into the block: its right column scrolled", Scene::Flat, M1, Yes, R(7, 1), Right, R(7, 2), 1, col(3)},
        {"right out of the block past its right half", Scene::Flat, M1, Yes, R(6, 2), Right, R(6, 4), 1, col(4)},
        {"left out of the block past its left half", Scene::Flat, M1, Yes, R(6, 3), Left, R(6, 1), 1, col(1)},
        {"up out of the block past its top", Scene::Flat, M1, Yes, R(7, 2), Up, R(5, 2), 1, row(5)},
        {"anchor moving: left out of the block", Scene::Flat, M1, No, R(7, 3), Left, R(7, 1), 1, col(1)},
        {"anchor moving: up out of the block", Scene::Flat, M1, No, R(7, 3), Up, R(5, 3), 1, row(5)},
        {"range, anchor moving: left from the block of (row2, col2)", Scene::Flat, M2, No, R(5, 0, 7, 3), Left, R(7, 1), 1, col(1)},
        {"range, anchor moving: up from the block of (row2, col2)", Scene::Flat, M2, No, R(5, 0, 7, 3), Up, R(5, 3), 1, row(5)},
        {"anchor moving: right out of the block", Scene::Flat, M1, No, R(6, 2), Right, R(6, 4), 1, col(4)},
        {"anchor moving: down out of the block, past the last row", Scene::Flat, M1, No, R(6, 2), Down, R(6, 2), 0, row(6)},
        // Hidden rows and columns are stepped over; with none shown that way the key is at an edge.
        {"right over a hidden column", Scene::HiddenColumn, M1, Yes, R(0, 3), Right, R(0, 5), 1, col(5)},
        {"left over a hidden column", Scene::HiddenColumn, M1, Yes, R(0, 5), Left, R(0, 3), 1, col(3)},
        {"down over a collapsed group", Scene::FirstCollapsed, M1, Yes, R(4, 0), Down, R(7, 0), 1, row(7)},
        {"up over a collapsed group", Scene::FirstCollapsed, M1, Yes, R(7, 1), Up, R(4, 1), 1, row(4)},
        {"shift extends over a collapsed group", Scene::FirstCollapsed, M2, Yes, R(3, 0, 4, 0), shifted(Down), R(3, 0, 7, 0), 1,
         row(7)},
        {"down into a collapsed last group: an edge", Scene::LastCollapsed, M1, Yes, R(7, 0), Down, R(7, 0), 0, row(7)},
        // Row mode: whole rows.
        {"row mode left: the same row, silent", Scene::Flat, M3, Yes, R(2, 0, 2, 5), Left, R(2, 0, 2, 5), 0, col(0)},
        {"row mode right: the same row, silent", Scene::Flat, M3, Yes, R(2, 0, 2, 5), Right, R(2, 0, 2, 5), 0, col(5)},
        {"row mode down", Scene::Flat, M3, Yes, R(2, 0, 2, 5), Down, R(3, 0, 3, 5), 1, row(3)},
        // Shift: only the range modes extend.
        {"cell mode shift+down is down", Scene::Flat, M1, Yes, R(2, 1), shifted(Down), R(3, 1), 1, row(3)},
        {"row mode shift+up is up", Scene::Flat, M3, No, R(2, 0, 2, 5), shifted(Up), R(1, 0, 1, 5), 1, row(1)},
        {"range, anchor stays: shift+right", Scene::Flat, M2, Yes, R(2, 1, 3, 2), shifted(Right), R(2, 1, 3, 3), 1, col(3)},
        {"range, anchor stays: shift+up shrinks", Scene::Flat, M2, Yes, R(2, 1, 3, 2), shifted(Up), R(2, 1, 2, 2), 1, row(2)},
        {"range, anchor stays: shift+down over the block", Scene::Flat, M2, Yes, R(4, 2, 5, 2), shifted(Down), R(4, 2, 6, 2), 1,
         row(6)},
        {"range, anchor moves: shift+left", Scene::Flat, M2, No, R(2, 1, 3, 2), shifted(Left), R(2, 0, 3, 2), 1, col(0)},
        {"range, anchor moves: shift+up", Scene::Flat, M2, No, R(2, 1, 3, 2), shifted(Up), R(1, 1, 3, 2), 1, row(1)},
        {"range, anchor moves: shift+up at the top", Scene::Flat, M2, No, R(0, 1, 3, 2), shifted(Up), R(0, 1, 3, 2), 0, row(0)},
        {"row range, anchor stays: shift+down", Scene::Flat, M4, Yes, R(2, 0, 3, 5), shifted(Down), R(2, 0, 4, 5), 1, row(4)},
        {"row range, anchor moves: shift+up", Scene::Flat, M4, No, R(2, 0, 3, 5), shifted(Up), R(1, 0, 3, 5), 1, row(1)},
        {"row range: shift+left keeps whole rows", Scene::Flat, M4, Yes, R(2, 0, 3, 5), shifted(Left), R(2, 0, 3, 5), 0, col(5)},
        // A veto keeps the selection; the current cell is still scrolled to.
        {"vetoed right", Scene::Flat, M1, Yes, R(2, 4), Right, R(2, 4), 0, col(4), true},
        // Nothing to move.
        {"no selection", Scene::Flat, M1, Yes, R(), Down, R(), 0, {}},
        {"selection mode none", Scene::Flat, GridSelectionModeNone, Yes, R(2, 4), Down, R(2, 4), 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyGrid k(c.scene);
        k.grid->setSelectionMode(c.mode);
        Access::placeSelection(*k.grid, c.before);
        Access::setSelOrigin(*k.grid, c.anchorStays);

        // Start where the row or column to be scrolled to is out of view, and work out where showing it
        // leaves the origin; with nothing to scroll, start somewhere in the middle.
        plat::Point start{100, 200}, expected = start;
        if (c.scrolled.axis) {
            const auto scrolledFrom = [&](plat::Point from) {
                k.grid->setScrollPosition(from);
                c.scrolled.axis == 'r' ? k.grid->scrollRowIntoView(c.scrolled.index) : k.grid->scrollColumnIntoView(c.scrolled.index);
                return k.grid->scrollPosition();
            };
            start = {0, 0};
            expected = scrolledFrom(start);
            if (expected == start) expected = scrolledFrom(start = k.largestOrigin());
            ASSERT_NE(expected, start) << "the scrolled row or column must start out of view";
        }
        k.grid->setScrollPosition(start);
        k.changing = k.changed = 0;
        k.veto = c.veto;

        k.keys.press(c.key.input, c.key.flags);

        EXPECT_TRUE(k.keys.handled());
        EXPECT_TRUE(k.grid->selection()->isEqual(c.after)) << "got " << show(*k.grid->selection());
        EXPECT_EQ(k.changed, c.events);
        EXPECT_EQ(k.changing, c.events + (c.veto ? 1 : 0));
        EXPECT_EQ(k.grid->scrollPosition(), expected);
    }
}

TEST_F(KeyCommands, TheFixtureMergesOnlyTheBlock) {
    // The table above leans on one 2 × 2 block and no other merge.
    KeyGrid k(Scene::Flat);
    auto& merge = *k.grid->mergeManager();
    for (std::int32_t r = 0; r < 8; ++r) {
        for (std::int32_t c = 0; c < 6; ++c) {
            const auto merged = merge.getMergedRangeForCells(std::make_shared<R>(r, c), GridCellTypeCell);
            const bool inBlock = r >= 6 && c >= 2 && c <= 3;
            EXPECT_TRUE(merged->isEqual(inBlock ? R(6, 2, 7, 3) : R(r, c))) << r << ", " << c << ": " << show(*merged);
        }
    }
    KeyGrid g(Scene::FirstCollapsed);
    ASSERT_EQ(g.grid->rows()->count(), 10u);
    EXPECT_TRUE(g.grid->cells()->isGroupRow(4));
    EXPECT_TRUE(g.grid->cells()->isGroupRow(7));
    EXPECT_FALSE(g.grid->rows()->row(5)->isVisible());
}

TEST_F(KeyCommands, OptionReturnOpensTheAnchorCellAndEscapeCancelsWhileEditing) {
    KeyGrid k(Scene::Flat);
    std::vector<R> opened;
    int ended = 0;
    k.grid->ombriGridBeginningEdit()->addHandler(
        [&opened](const std::shared_ptr<KivoEventContainer>& c) { opened.push_back(*c->args<GridCellRangeEventArgs>()->cellRange()); },
        k.owner);
    k.grid->ombriGridCellEditEnded()->addHandler([&ended](const std::shared_ptr<KivoEventContainer>&) { ++ended; }, k.owner);
    k.grid->setSelectionMode(GridSelectionModeCellRange);
    const auto editor = Access::editor(*k.grid);

    // Not editing: Return alone is no command of the grid's, Escape is one that does nothing, and a
    // Boolean anchor is neither opened nor toggled.
    Access::placeSelection(*k.grid, R(2, 1));
    k.keys.press(plat::KeyInputReturn, plat::KeyModifierAlternate);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(k.grid->getCellDataForRow(2, 1, false).asBool());
    Access::placeSelection(*k.grid, R(3, 0, 1, 2));  // extended up and right from (3, 0)
    k.keys.press(plat::KeyInputReturn);
    EXPECT_FALSE(k.keys.handled());
    k.keys.press(plat::KeyInputEscape);
    EXPECT_TRUE(k.keys.handled());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(ended, 0);

    // Option+Return opens the anchor, however the range was extended.
    k.keys.press(plat::KeyInputReturn, plat::KeyModifierAlternate);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].isEqual(R(3, 0))) << show(opened[0]);
    ASSERT_EQ(k.grid->activeEditor(), editor);
    ASSERT_TRUE(editor->isFirstResponder());

    // The arrows are the editor's now: its caret moves, the selection stays.
    k.keys.press(plat::KeyInputRightArrow).press(plat::KeyInputLeftArrow).type("X");
    EXPECT_EQ(editor->text(), "BodX\xC3\xB8");
    EXPECT_TRUE(k.grid->selection()->isEqual(R(3, 0, 1, 2)));
    EXPECT_EQ(k.changing, 0);

    k.keys.press(plat::KeyInputEscape);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(k.grid->activeEditor());
    EXPECT_EQ(k.grid->getCellDataForRow(3, 0, false).asString(), "Bod\xC3\xB8") << "cancelled: nothing written";

    // The closed edit hands the keyboard back: the keys reach the grid again without a tap.
    EXPECT_TRUE(k.grid->isFirstResponder());

    // Return with an editor open commits it.
    k.keys.press(plat::KeyInputReturn, plat::KeyModifierAlternate).type("Tana");
    k.grid->returnKeyPress();
    EXPECT_FALSE(k.grid->activeEditor());
    EXPECT_EQ(k.grid->getCellDataForRow(3, 0, false).asString(), "Tana");
}

}  // namespace
