// The editor and the on-screen keyboard: the data map's picker and Done toolbar in place of the keys,
// keeping the editor above the keyboard, the keyboard's hiding committing the edit, and the deferred
// focusing that must not outlive its edit.

#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/navigation_controller.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/toolbar.h"
#include "Platform/ui/view_controller.h"
#include "editing_fixture.h"

namespace grid_test {
namespace {

using Keyboard = EditingScene;

plat::Point centre(const plat::View& view, const plat::Rect& rect, const plat::Window& window) {
    return view.convertPointToView({rect.midX(), rect.midY()}, &window);
}

TEST_F(Keyboard, PickerRowTapFillsTheFieldAndDoneCommitsTheKey) {
    ASSERT_TRUE(open(0, StatusCol));
    const auto& picker = Access::dataMapPicker(*grid);
    const auto& toolbar = Access::dataMapPickerToolbar(*grid);
    // In place of the keys, in the grid's window; the toolbar as wide as the grid was made, 44 high.
    ASSERT_EQ(picker->window(), window);
    ASSERT_EQ(toolbar->window(), window);
    EXPECT_EQ(toolbar->frame().height(), 44);
    EXPECT_EQ(toolbar->items().size(), 2u);
    EXPECT_EQ(picker->numberOfRowsInComponent(0), 3);
    EXPECT_EQ(picker->selectedRow(0), 0);

    plat::testing::Touches(window).tap(centre(*picker, picker->rectForRow(2, 0), *window));
    EXPECT_EQ(picker->selectedRow(0), 2);
    EXPECT_EQ(editor()->text(), "Done");
    EXPECT_EQ(task(0)->status, 1);

    const plat::Rect done = toolbar->itemFrames().at(1);
    plat::testing::Touches(window).tap(centre(*toolbar, done, *window));
    EXPECT_EQ(task(0)->status, 3);
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_FALSE(picker->window());
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));
}

TEST_F(Keyboard, PickerSelectsNothingForATextOutsideTheDisplayValues) {
    ASSERT_TRUE(open(3, StatusCol));  // key 99: shown as its number
    EXPECT_EQ(editor()->text(), "99");
    EXPECT_EQ(Access::dataMapPicker(*grid)->selectedRow(0), -1);
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    // The picker was asked nothing it could refuse; Done leaves the key, which is no display text.
    EXPECT_TRUE(grid->textFieldShouldReturn(*editor()));
    EXPECT_EQ(task(3)->status, 99);
}

TEST_F(Keyboard, PickerAnswersNothingWithoutAnEdit) {
    auto& picker = *Access::dataMapPicker(*grid);
    EXPECT_EQ(grid->numberOfComponentsInPickerView(picker), 1);
    EXPECT_EQ(grid->numberOfRowsInComponent(picker, 0), 0);
    EXPECT_EQ(grid->titleForRow(picker, 0, 0), std::string());
    grid->didSelectRow(picker, 0, 0);
    EXPECT_EQ(editor()->text(), "");
    ASSERT_TRUE(open(0, StatusCol));
    EXPECT_EQ(grid->titleForRow(picker, 1, 0), std::string("Doing"));
    EXPECT_EQ(grid->titleForRow(picker, 7, 0), std::string());
}

void postShown(const plat::Rect& frame) {
    plat::NotificationCenter::defaultCenter().post(std::string(plat::KeyboardDidShowNotification), {},
                                                   plat::keyboardUserInfo(frame));
}

TEST_F(Keyboard, AvoidanceMovesTheContentUpToTheHeadersAtMost) {
    // Row 5's editor sits at y 170, 24 high, on a 568-point screen; the headers end at 28.
    struct Case {
        const char* name;
        plat::Rect keyboard;
        bool navigationToolbar;
        std::int32_t frozenRows;
        double originY, editorY;
    };
    const Case cases[] = {
        {"less than 100 points on screen", {0, 480, 320, 300}, false, 0, 0, 170},
        {"clear of the editor", {0, 352, 320, 216}, false, 0, 0, 170},
        {"covering the editor", {0, 200, 320, 368}, false, 0, 18, 152},
        {"with a navigation toolbar", {0, 200, 320, 368}, true, 0, 62, 108},
        {"under the headers and frozen row", {0, 100, 320, 468}, false, 1, 114, 57},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        if (c.navigationToolbar) window->setRootViewController(plat::NavigationController::create(plat::ViewController::create()));
        window->bringSubviewToFront(grid.get());
        grid->setFrozenRows(c.frozenRows);
        draw();
        ASSERT_TRUE(open(5, DueCol));
        ASSERT_EQ(editor()->frame().y(), 170);
        ASSERT_EQ(grid->originY(), 0);
        postShown(c.keyboard);
        EXPECT_EQ(grid->originY(), c.originY);
        EXPECT_EQ(editor()->frame().y(), c.editorY);
    }
}

TEST_F(Keyboard, HidingCommitsUnlessTheGridIsFinishing) {
    ASSERT_TRUE(open(0, NameCol));
    EXPECT_FALSE(Access::isFinishing(*grid));  // the keyboard has shown
    type("Omega");
    // Something else takes the keyboard away.
    editor()->resignFirstResponder();
    EXPECT_EQ(task(0)->name, "Omega");
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));

    // Before the keyboard has shown the grid is still finishing its opening: a hide closes nothing.
    events.clear();
    ASSERT_TRUE(grid->startEditing(true, 1, NameCol));
    plat::NotificationCenter::defaultCenter().post(std::string(plat::KeyboardWillHideNotification));
    EXPECT_TRUE(grid->activeEditor());
    settle();
    // The grid's own close hides the keyboard and raises the ending events once.
    type("Zeta");
    grid->finishEditing(true);
    EXPECT_EQ(task(1)->name, "Beta");
    EXPECT_EQ(events, (std::vector<std::string>{"beginning", "prepare", "ending", "ended"}));
}

TEST_F(Keyboard, ClosingBeforeTheDeferredFocusingLeavesNoKeyboard) {
    int shown = 0;
    plat::NotificationCenter::defaultCenter().addObserver(this, std::string(plat::KeyboardDidShowNotification),
                                                          [&](const plat::Notification&) { ++shown; });
    ASSERT_TRUE(grid->startEditing(true, 0, NameCol));
    grid->finishEditing(true);
    // Another edit opened and closed before the first focusing ran: none of them focuses.
    ASSERT_TRUE(grid->startEditing(true, 1, NameCol));
    grid->finishEditing(true);
    settle();
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(editor()->isFirstResponder());
    EXPECT_NE(window->firstResponder(), editor());
    plat::NotificationCenter::defaultCenter().removeObserver(this);
}

}  // namespace
}  // namespace grid_test
