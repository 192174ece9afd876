// Quick taps on a row's detail button: each one toggles the detail, and none of them is taken as the
// grid's double tap.

#include <gtest/gtest.h>

#include "Platform/ui/gestures.h"
#include "detail_fixture.h"

namespace grid_test {
namespace {

class DetailToggleTaps : public DetailScene {
protected:
    void SetUp() override {
        DetailScene::SetUp();
        provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
        draw();
        grid->ombriGridCellDoubleTapped()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++doubleTaps; },
                                                      owner);
    }
    // The middle of row r's header, below the column headers (28 points high, as every row).
    static plat::Point headerCentre(std::int32_t r) { return {35.0 / 2, 28 + r * 28.0 + 14}; }
    int doubleTaps = 0;
};

TEST_F(DetailToggleTaps, ASecondQuickTapOnTheButtonTogglesAgainAndOpensNoEditor) {
    ASSERT_TRUE(buttonOf(4));
    plat::testing::Touches touches(window);
    touches.tap(headerCentre(4));
    EXPECT_EQ(parents(), std::vector<int>{4});
    draw();
    // Well within the double-tap interval, at the same place.
    touches.wait(0.1).tap(headerCentre(4)).wait(plat::TapGestureRecognizer::MaximumTapInterval + 0.05);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(parents(), std::vector<int>{});
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_EQ(doubleTaps, 0);

    // And a third, as quick, opens it again.
    draw();
    touches.tap(headerCentre(4)).wait(0.1).tap(headerCentre(4)).wait(0.1).tap(headerCentre(4));
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(parents(), std::vector<int>{4});
    EXPECT_FALSE(grid->activeEditor());
    EXPECT_EQ(doubleTaps, 0);
}

TEST_F(DetailToggleTaps, ADoubleTapOnACellStillOpensTheEditor) {
    plat::testing::Touches(window).tap({200, 28 + 4 * 28.0 + 14}, 2).wait(0.05);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(doubleTaps, 1);
    EXPECT_TRUE(grid->activeEditor());
}

}  // namespace
}  // namespace grid_test
