// Opening, reading and closing an edit: which cells refuse it, what each column's editor shows, what a
// commit stores, and the ending events on every way out.

#include <functional>

#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridPanel.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/testing/touches.h"
#include "editing_fixture.h"

namespace grid_test {
namespace {

using Edit = EditingScene;

// A delegate whose edit answers the test sets.
struct EditDelegate : OmbriGridDelegate {
    std::optional<bool> beginning, prepare, ending;
    std::vector<bool> endingAskedWith;
    std::optional<bool> beginningEdit(const Grid&, const Panel&, const Range&) override { return beginning; }
    std::optional<bool> prepareCellForEdit(const Grid&, const Panel&, const Range&) override { return prepare; }
    std::optional<bool> cellEditEnding(const Grid&, const Panel&, const Range&, bool cancel) override {
        endingAskedWith.push_back(cancel);
        return ending;
    }
};

// A factory that hands out no editor for arrays.
struct ArrayColumnItems {
    static void make(OmbriGrid& grid) {
        auto& tags = *grid.columns()->column(NameCol);
        tags.setDataType(6);
    }
};

TEST_F(Edit, StartRefusals) {
    const auto addRow = [this](std::shared_ptr<GridRow> row) {
        grid->rows()->push(row);
        return static_cast<std::int32_t>(grid->rows()->count() - 1);
    };
    struct Case {
        const char* name;
        std::function<void(EditDelegate&)> arrange;
        std::function<std::pair<std::int32_t, std::int32_t>()> cell;
        std::vector<std::string> events;
    };
    const auto cell = [](std::int32_t r, std::int32_t c) { return [r, c] { return std::pair{r, c}; }; };
    const std::vector<Case> cases = {
        {"group row", {}, [&] { return std::pair{addRow(std::make_shared<GridGroupRow>()), NameCol}; }, {}},
        {"spacer row", {}, [&] { return std::pair{addRow(std::make_shared<GridEmptyRow>()), NameCol}; }, {}},
        {"detail row", {}, [&] { return std::pair{addRow(std::make_shared<GridDetailRow>()), NameCol}; }, {}},
        {"row below", {}, cell(6, NameCol), {}},
        {"row above", {}, cell(-1, NameCol), {}},
        {"column past", {}, cell(0, 5), {}},
        {"edit start lock", [&](EditDelegate&) { Access::setEditStartLock(*grid, true); }, cell(0, NameCol), {}},
        {"edit timer lock", [&](EditDelegate&) { Access::setEditTimerLock(*grid, true); }, cell(0, NameCol), {}},
        {"read-only grid", [&](EditDelegate&) { grid->setIsReadOnly(true); }, cell(0, NameCol), {}},
        {"read-only column", [&](EditDelegate&) { column(NameCol).setIsReadOnly(true); }, cell(0, NameCol), {}},
        {"read-only row", [&](EditDelegate&) { grid->rows()->row(0)->setIsReadOnly(true); }, cell(0, NameCol), {}},
        {"read-only Boolean row", [&](EditDelegate&) { grid->rows()->row(2)->setIsReadOnly(true); }, cell(2, DoneCol), {}},
        {"type none", [&](EditDelegate&) { column(NameCol).setDataType(0); }, cell(0, NameCol), {}},
        {"array column", [&](EditDelegate&) { ArrayColumnItems::make(*grid); }, cell(0, NameCol), {"beginning", "prepare"}},
        {"BeginningEdit handler cancels",
         [&](EditDelegate&) {
             grid->ombriGridBeginningEdit()->addHandler(
                 [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
         },
         cell(0, NameCol),
         {"beginning"}},
        {"delegate refuses beginning", [](EditDelegate& d) { d.beginning = true; }, cell(0, NameCol), {"beginning"}},
        {"delegate overrides a handler's cancel",
         [&](EditDelegate& d) {
             d.beginning = false;
             d.prepare = true;
             grid->ombriGridBeginningEdit()->addHandler(
                 [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
         },
         cell(0, NameCol),
         {"beginning", "prepare"}},
        {"PrepareCellForEdit handler cancels",
         [&](EditDelegate&) {
             grid->ombriGridPrepareCellForEdit()->addHandler(
                 [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
         },
         cell(0, NameCol),
         {"beginning", "prepare"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        auto d = std::make_shared<EditDelegate>();
        grid->setDelegate(d);
        if (c.arrange) c.arrange(*d);
        const auto [row, col] = c.cell();
        EXPECT_FALSE(open(row, col));
        EXPECT_EQ(events, c.events);
        EXPECT_FALSE(grid->editRange());
        EXPECT_FALSE(grid->isUpdating());
        EXPECT_FALSE(grid->activeEditor());
        EXPECT_TRUE(editor()->isHidden());
        EXPECT_FALSE(editor()->isFirstResponder());
    }
}

TEST_F(Edit, ArrayColumnRefusalIsLogged) {
    ArrayColumnItems::make(*grid);
    EXPECT_FALSE(open(1, NameCol));
    ASSERT_FALSE(log.lines().empty());
    EXPECT_NE(log.lines().back().find("(1, 0)"), std::string::npos) << log.lines().back();
}

TEST_F(Edit, EditorKinds) {
    struct Case {
        const char* name;
        const char* locale;
        std::int32_t row, col;
        std::int64_t inputType;
        std::string text;
        plat::KeyboardType keyboard;
        plat::TextAlignment alignment;
        plat::TextFieldViewMode clear;
        bool inset;  // x + 4, w − 6
        bool picker;
    };
    using K = plat::KeyboardType;
    using A = plat::TextAlignment;
    using M = plat::TextFieldViewMode;
    const std::vector<Case> cases = {
        {"string", "en_US", 0, NameCol, 0, "Alpha", K::ASCIICapable, A::Natural, M::WhileEditing, true, false},
        {"string with inputType", "en_US", 0, NameCol, 7, "Alpha", K::EmailAddress, A::Natural, M::WhileEditing, true, false},
        {"number en_US", "en_US", 1, AmountCol, 0, "1234.5", K::NumbersAndPunctuation, A::Right, M::WhileEditing, false, false},
        {"number de_DE", "de_DE", 1, AmountCol, 0, "1234,5", K::NumbersAndPunctuation, A::Right, M::WhileEditing, false, false},
        {"number, negative", "en_US", 4, AmountCol, 0, "-7", K::NumbersAndPunctuation, A::Right, M::WhileEditing, false, false},
        {"date", "en_US", 0, DueCol, 0, "3/1/26", K::NumbersAndPunctuation, A::Natural, M::WhileEditing, true, false},
        {"data map", "en_US", 1, StatusCol, 0, "Doing", K::ASCIICapable, A::Natural, M::Never, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::testing::PinnedLocale pinned(c.locale, "UTC");
        build();
        column(c.col).setInputType(c.inputType);
        const plat::Rect cellRect = grid->getCellRectForRow(c.row, c.col);
        ASSERT_TRUE(open(c.row, c.col));
        const plat::Rect cellNow = grid->getCellRectForRow(c.row, c.col);
        const auto& e = *editor();
        EXPECT_EQ(grid->activeEditor(), editor());
        EXPECT_EQ(e.text(), c.text);
        EXPECT_EQ(e.keyboardType(), c.keyboard);
        EXPECT_EQ(e.textAlignment(), c.alignment);
        EXPECT_EQ(e.clearButtonMode(), c.clear);
        EXPECT_EQ(e.autocorrectionType(), plat::TextAutocorrectionType::No);
        EXPECT_EQ(e.inputView() != nullptr, c.picker);
        EXPECT_EQ(e.inputAccessoryView() != nullptr, c.picker);
        const double dx = c.inset ? 4 : 0, dw = c.inset ? -6 : 0;
        EXPECT_EQ(e.frame(), plat::Rect(cellNow.x() + dx, cellNow.y() + 2, cellNow.width() + dw, cellNow.height() - 4));
        if (cellRect == cellNow) {
            EXPECT_EQ(grid->scrollPosition(), plat::Point(0, 0));
        }
        EXPECT_FALSE(e.isHidden());
        EXPECT_EQ(e.superview().get(), grid.get());
        EXPECT_TRUE(e.isFirstResponder());
        // Selected whole, so that typing replaces it.
        EXPECT_EQ(e.selectedRange().length, plat::utf16Length(c.text));
        EXPECT_TRUE(grid->isUpdating());
        ASSERT_TRUE(grid->editRange());
        EXPECT_TRUE(grid->editRange()->isEqual(GridCellRange(c.row, c.col)));
        EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare"}));
        grid->finishEditing(true);
    }
}

TEST_F(Edit, StartScrollsAColumnOffTheRightIntoView) {
    ASSERT_TRUE(open(0, StatusCol));
    const plat::Rect r = grid->getCellRectForRow(0, StatusCol);
    EXPECT_GT(grid->originX(), 0);
    EXPECT_LE(r.maxX(), grid->clientRect().width());
}

TEST_F(Edit, Commits) {
    struct Case {
        const char* name;
        const char* locale;
        std::int32_t row, col;
        std::string typed;
        std::function<void(const Edit&)> check;
        const char* logged;  // a piece of the log line, or nothing logged
    };
    const std::vector<Case> cases = {
        {"whole number", "en_US", 0, AmountCol, "12", [](const Edit& t) { EXPECT_EQ(t.task(0)->amount, 12); }, nullptr},
        {"grouped", "en_US", 0, AmountCol, "1,234.5", [](const Edit& t) { EXPECT_EQ(t.task(0)->amount, 1234.5); }, nullptr},
        {"not a number", "en_US", 0, AmountCol, "12abc", [](const Edit& t) { EXPECT_EQ(t.task(0)->amount, 12.5); },
         "cell (0, 1) keeps its value: \"12abc\""},
        {"de_DE decimal", "de_DE", 0, AmountCol, "1234,5", [](const Edit& t) { EXPECT_EQ(t.task(0)->amount, 1234.5); }, nullptr},
        {"short date keeps its time", "en_US", 0, DueCol, "3/2/26",
         [](const Edit& t) { EXPECT_EQ(t.task(0)->due.seconds, March1At1530 + Day); }, nullptr},
        {"not a date", "en_US", 0, DueCol, "March", [](const Edit& t) { EXPECT_EQ(t.task(0)->due.seconds, March1At1530); },
         "cell (0, 2) keeps its value: \"March\""},
        {"unchanged number", "en_US", 3, AmountCol, "0.25", [](const Edit& t) { EXPECT_EQ(t.task(3)->amount, 0.25); }, nullptr},
        {"text", "en_US", 0, NameCol, "Omega", [](const Edit& t) { EXPECT_EQ(t.task(0)->name, "Omega"); }, nullptr},
        {"display text to key", "en_US", 0, StatusCol, "Done", [](const Edit& t) { EXPECT_EQ(t.task(0)->status, 3); }, nullptr},
        {"unknown display text", "en_US", 0, StatusCol, "Closed", [](const Edit& t) { EXPECT_EQ(t.task(0)->status, 1); },
         "cell (0, 4) keeps its value: \"Closed\""},
        {"merged string and number", "en_US", 5, NameCol, "13",
         [](const Edit& t) {
             EXPECT_EQ(t.task(5)->name, "13");
             EXPECT_EQ(t.task(5)->amount, 13);
         },
         nullptr},
        {"merged, converting in one column only", "en_US", 5, AmountCol, "x13",
         [](const Edit& t) {
             EXPECT_EQ(t.task(5)->name, "x13");
             EXPECT_EQ(t.task(5)->amount, 7);
         },
         "cell (5, 1) keeps its value: \"x13\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::testing::PinnedLocale pinned(c.locale, "UTC");
        build();
        ASSERT_TRUE(open(c.row, c.col));
        if (c.typed != editor()->text()) type(c.typed);
        log.clear();
        EXPECT_TRUE(grid->textFieldShouldReturn(*editor()));
        c.check(*this);
        EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));
        const auto lines = log.lines();
        if (c.logged) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NE(lines[0].find(c.logged), std::string::npos) << lines[0];
        } else {
            EXPECT_TRUE(lines.empty()) << lines.front();
        }
        EXPECT_FALSE(grid->activeEditor());
        EXPECT_FALSE(grid->editRange());
        EXPECT_FALSE(grid->isUpdating());
        EXPECT_TRUE(editor()->isHidden());
        EXPECT_FALSE(editor()->superview());
    }
}

TEST_F(Edit, MergedRangeIsEditedWhole) {
    ASSERT_TRUE(open(5, AmountCol));
    ASSERT_TRUE(grid->editRange());
    EXPECT_TRUE(grid->editRange()->isEqual(GridCellRange(5, NameCol, 5, AmountCol)));
}

TEST_F(Edit, UnchangedTextWritesNothingEvenWhenItDoesNotReadBack) {
    // The cell shows a formatted form that no longer reads as the value: left alone it must stay.
    task(0)->amount = 0.1 + 0.2;
    grid->invalidate();
    ASSERT_TRUE(open(0, AmountCol));
    EXPECT_EQ(editor()->text(), "0.30000000000000004");
    EXPECT_TRUE(grid->textFieldShouldReturn(*editor()));
    EXPECT_EQ(task(0)->amount, 0.1 + 0.2);
}

TEST_F(Edit, CancelStillRaisesEnded) {
    ASSERT_TRUE(open(0, NameCol));
    type("Omega");
    EXPECT_TRUE(grid->finishEditing(true));
    EXPECT_EQ(task(0)->name, "Alpha");
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(editor()->isFirstResponder());
}

TEST_F(Edit, EndingCancelKeepsTheCells) {
    // By a handler, and by the delegate, which is asked with the flag the edit ended with.
    ASSERT_TRUE(open(0, NameCol));
    type("Omega");
    grid->ombriGridCellEditEnding()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
    EXPECT_TRUE(grid->textFieldShouldReturn(*editor()));
    EXPECT_EQ(task(0)->name, "Alpha");
    EXPECT_EQ(events.back(), "ended");
    EXPECT_FALSE(grid->activeEditor());

    build();
    auto d = std::make_shared<EditDelegate>();
    d->ending = true;
    grid->setDelegate(d);
    ASSERT_TRUE(open(0, NameCol));
    type("Omega");
    grid->finishEditing(false);
    EXPECT_EQ(task(0)->name, "Alpha");
    EXPECT_EQ(d->endingAskedWith, std::vector<bool>{false});
    EXPECT_EQ(events.back(), "ended");
}

TEST_F(Edit, DelegateCanCommitACancelledEdit) {
    auto d = std::make_shared<EditDelegate>();
    d->ending = false;
    grid->setDelegate(d);
    ASSERT_TRUE(open(0, NameCol));
    type("Omega");
    grid->finishEditing(true);
    EXPECT_EQ(task(0)->name, "Omega");
    EXPECT_EQ(d->endingAskedWith, std::vector<bool>{true});
}

TEST_F(Edit, BooleanWithNoValueBecomesYesInOneCall) {
    const std::size_t subviews = grid->subviews().size();
    EXPECT_TRUE(grid->startEditing(true, 2, DoneCol));
    // Within the call: no run of the loop in between.
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));
    EXPECT_TRUE(task(2)->done.isBool());
    EXPECT_TRUE(task(2)->done.asBool());
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(grid->isUpdating());
    settle();
    EXPECT_TRUE(editor()->isHidden());
    EXPECT_FALSE(editor()->isFirstResponder());
    EXPECT_LE(grid->subviews().size(), subviews);

    EXPECT_TRUE(grid->startEditing(true, 2, DoneCol));
    EXPECT_FALSE(task(2)->done.asBool());
}

TEST_F(Edit, NoSecondEditWhileOneIsOpen) {
    ASSERT_TRUE(open(0, NameCol));
    EXPECT_FALSE(open(1, NameCol));
    ASSERT_TRUE(grid->editRange());
    EXPECT_TRUE(grid->editRange()->isEqual(GridCellRange(0, NameCol)));
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare"}));
}

TEST_F(Edit, ActiveEditorValueFollowsTheText) {
    ASSERT_TRUE(open(0, AmountCol));
    type("42.5");
    EXPECT_EQ(grid->getActiveEditorValue().asDouble(), 42.5);
    type("many");
    EXPECT_TRUE(grid->getActiveEditorValue().isNil());
    grid->finishEditing(true);
    EXPECT_TRUE(grid->getActiveEditorValue().isNil());
}

// A factory editor: its frame keeps the cell's width, and it is shown but not focused.
struct LabelFactory : GridCellFactory {
    std::shared_ptr<plat::View> made;
    std::shared_ptr<plat::View> createCellEditor(const std::shared_ptr<GridPanel>&, const std::shared_ptr<GridCellRange>&) override {
        made = plat::View::create();
        return made;
    }
};

TEST_F(Edit, FactoryEditorIsShownUnfocusedAndWritesNothingOfItsOwn) {
    auto factory = std::make_shared<LabelFactory>();
    grid->setCellFactory(factory);
    const plat::Rect cell = grid->getCellRectForRow(0, NameCol);
    ASSERT_TRUE(open(0, NameCol));
    ASSERT_EQ(grid->activeEditor(), factory->made);
    EXPECT_EQ(factory->made->frame(), plat::Rect(cell.x(), cell.y() + 2, cell.width(), cell.height() - 4));
    EXPECT_EQ(factory->made->superview().get(), grid.get());
    EXPECT_TRUE(grid->getActiveEditorValue().isNil());
    grid->finishEditing(false);
    EXPECT_EQ(task(0)->name, "Alpha");
    EXPECT_FALSE(factory->made->superview());
}

TEST_F(Edit, IntrinsicContentSizeIsCellsAndHeaders) {
    const plat::Size s = grid->intrinsicContentSize();
    EXPECT_EQ(s.width, grid->cells()->width() + grid->rowHeaders()->width());
    EXPECT_EQ(s.height, grid->cells()->height() + grid->columnHeaders()->height());
}

TEST_F(Edit, CollapsingGroupsCommitsFirst) {
    ASSERT_TRUE(open(0, NameCol));
    type("Omega");
    grid->collapseGroupsToLevel(0);
    EXPECT_EQ(task(0)->name, "Omega");
    EXPECT_FALSE(grid->activeEditor());
}

}  // namespace
}  // namespace grid_test

namespace grid_test {
namespace {

TEST_F(Edit, TypingAndReturnInTheEditorCommit) {
    ASSERT_TRUE(open(1, NameCol));
    // The opening selection is replaced by what is typed.
    EXPECT_TRUE(window->insertText("Kappa"));
    EXPECT_TRUE(window->insertText("\n"));
    EXPECT_EQ(task(1)->name, "Kappa");
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(editor()->isFirstResponder());
}

TEST_F(Edit, PanningDoesNotScrollWhileAnEditIsOpen) {
    // The columns are wider than the window, so a drag to the left scrolls them, unless an edit is open.
    for (const bool editing : {false, true}) {
        SCOPED_TRACE(editing ? "editing" : "not editing");
        build();
        if (editing) {
            ASSERT_TRUE(open(0, NameCol));
        }
        plat::testing::Touches(window).drag({280, 120}, {80, 120});
        settle();
        if (editing) {
            EXPECT_EQ(grid->originX(), 0);
            EXPECT_TRUE(grid->activeEditor());
        } else {
            EXPECT_GT(grid->originX(), 0);
        }
        grid->finishEditing(true);
    }
}

}  // namespace
}  // namespace grid_test
