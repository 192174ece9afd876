#include <gtest/gtest.h>

#include "Platform/ui/menu_controller.h"
#include "Platform/ui/view.h"

namespace {

TEST(MenuController, ShowsAtATargetOnlyWhileTheViewExists) {
    auto& menu = plat::MenuController::shared();
    EXPECT_EQ(&menu, &plat::MenuController::shared());
    auto view = plat::View::create({0, 0, 100, 100});
    menu.setTargetRect({10, 20, 0, 0}, view);
    menu.setMenuVisible(true, true);
    EXPECT_TRUE(menu.isMenuVisible());
    EXPECT_TRUE(menu.lastChangeAnimated());
    EXPECT_EQ(menu.targetRect(), (plat::Rect{10, 20, 0, 0}));
    EXPECT_EQ(menu.targetView(), view);
    menu.setMenuVisible(false, false);
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_FALSE(menu.lastChangeAnimated());
    view.reset();
    menu.setMenuVisible(true, false);
    EXPECT_FALSE(menu.isMenuVisible()) << "no view to point at";
}

}  // namespace
