// Application code that runs while an edit starts (the start events' handlers, the delegate) may take
// the cell's row or column away: the edit is then refused, never opened on what is left.

#include <functional>

#include "Platform/testing/touches.h"
#include "Platform/ui/gestures.h"
#include "editing_fixture.h"

namespace grid_test {
namespace {

using VanishedCell = EditingScene;

// Runs the test's code from the start events the delegate is asked about.
struct RemovingDelegate : OmbriGridDelegate {
    std::function<void()> onBeginning, onPrepare;
    std::optional<bool> beginningEdit(const Grid&, const Panel&, const Range&) override {
        if (onBeginning) onBeginning();
        return std::nullopt;
    }
    std::optional<bool> prepareCellForEdit(const Grid&, const Panel&, const Range&) override {
        if (onPrepare) onPrepare();
        return std::nullopt;
    }
};

TEST_F(VanishedCell, AStartEventThatRemovesTheCellRefusesTheEdit) {
    enum class Event { Beginning, Prepare };
    enum class From { Handler, Delegate };
    struct Removal {
        const char* name;
        std::function<void(OmbriGrid&)> run;
    };
    const std::vector<Removal> removals = {
        {"columns cleared", [](OmbriGrid& g) { g.columns()->removeAllObjects(); }},
        {"row removed", [](OmbriGrid& g) { g.rows()->removeObjectAtIndex(1); }},
    };
    for (const Event event : {Event::Beginning, Event::Prepare})
        for (const From from : {From::Handler, From::Delegate})
            for (const auto& removal : removals) {
                SCOPED_TRACE(std::string(event == Event::Beginning ? "BeginningEdit" : "PrepareCellForEdit") +
                             (from == From::Handler ? " handler, " : " delegate, ") + removal.name);
                build();
                const auto remove = [this, &removal] { removal.run(*grid); };
                auto d = std::make_shared<RemovingDelegate>();
                grid->setDelegate(d);
                if (from == From::Delegate) {
                    (event == Event::Beginning ? d->onBeginning : d->onPrepare) = remove;
                } else {
                    const auto& e =
                        event == Event::Beginning ? grid->ombriGridBeginningEdit() : grid->ombriGridPrepareCellForEdit();
                    e->addHandler([remove](const std::shared_ptr<KivoEventContainer>&) { remove(); }, grid);
                }
                const std::string before = task(2)->name;
                log.clear();
                EXPECT_FALSE(open(1, NameCol));
                EXPECT_EQ(log.lines().size(), 1u);
                EXPECT_FALSE(grid->activeEditor());
                EXPECT_FALSE(grid->editRange());
                EXPECT_FALSE(grid->isUpdating());
                EXPECT_TRUE(editor()->isHidden());
                EXPECT_EQ(task(2)->name, before);
            }
}

TEST_F(VanishedCell, ADoubleTapWhoseBeginningEditClearsTheColumnsOpensNothing) {
    grid->ombriGridBeginningEdit()->addHandler(
        [this](const std::shared_ptr<KivoEventContainer>&) { grid->columns()->removeAllObjects(); }, grid);
    const plat::Rect cell = grid->getCellRectForRow(1, NameCol);
    log.clear();
    plat::testing::Touches(window).tap({cell.x() + cell.width() / 2, cell.y() + cell.height() / 2}, 2).wait(0.05);
    settle();
    EXPECT_EQ(events, std::vector<std::string>{"beginning"});
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(grid->isUpdating());
    EXPECT_EQ(log.lines().size(), 1u);
}

}  // namespace
}  // namespace grid_test
