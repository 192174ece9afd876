// The provider's views live no longer than the provider, and the provider no longer than its grid.

#include "detail_fixture.h"

namespace {

using grid_test::Access;
using grid_test::DetailScene;
using kivo::detail::DetailClip;
using kivo::detail::Region;

class DetailLifetime : public DetailScene {
protected:
    void SetUp() override {
        DetailScene::SetUp();
        provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
        provider()->doExpandCollapse(0);
        provider()->doExpandCollapse(4);
        draw();
    }
    // Every view the provider shows, and its six clip views.
    std::vector<std::weak_ptr<plat::View>> providerViews() {
        std::vector<std::weak_ptr<plat::View>> found;
        std::vector<std::shared_ptr<plat::View>> clips;
        for (int i = 0; i < 4; ++i) clips.push_back(views().regionClip(static_cast<Region>(i)));
        clips.push_back(views().detailClip(DetailClip::Top));
        clips.push_back(views().detailClip(DetailClip::Bottom));
        for (const auto& clip : clips) {
            found.push_back(clip);
            for (const auto& v : clip->subviews()) found.push_back(v);
        }
        return found;
    }
};

TEST_F(DetailLifetime, ADestroyedProviderLeavesNoneOfItsViewsOnTheGrid) {
    const auto before = providerViews();
    ASSERT_GT(before.size(), 8u) << "buttons and both detail views besides the clip views";
    std::weak_ptr<OmbriGridDetailProvider> old = provider();
    grid->setDetailProvider(nullptr);
    EXPECT_TRUE(old.expired()) << "the grid was its only holder";
    for (const auto& weak : before) {
        if (const auto v = weak.lock()) {
            EXPECT_FALSE(v->isDescendantOf(grid.get()));
        }
    }
    // The grid draws, selects and invalidates with the old provider's subscriptions gone.
    grid->setSelection(std::make_shared<GridCellRange>(3, 1));
    grid->invalidate();
    draw();
}

TEST_F(DetailLifetime, AGridReleasedFreesTheProviderAndItsViews) {
    const auto before = providerViews();
    std::weak_ptr<OmbriGridDetailProvider> weakProvider = provider();
    std::weak_ptr<OmbriGrid> weakGrid = grid;
    grid->removeFromSuperview();
    grid.reset();
    plat::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(weakGrid.expired());
    EXPECT_TRUE(weakProvider.expired());
    for (const auto& weak : before) EXPECT_TRUE(weak.expired());
}

}  // namespace

namespace {

TEST_F(DetailScene, AnEditOpenWhenAButtonOpensADetailAboveItCommitsToItsOwnItem) {
    provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
    draw();
    ASSERT_TRUE(grid->startEditing(true, 5, 2));
    plat::RunLoop::main().runUntilIdle();
    draw();  // the edit scrolled its cell into view: the buttons are placed again
    auto& editor = *Access::editor(*grid);
    editor.replaceRange({0, plat::utf16Length(editor.text())}, "77");

    // Row 3's header button, later than any double tap.
    plat::testing::Touches(window).wait(1).tap({17, 28 + 3 * 28 + 14});
    EXPECT_EQ(parents(), std::vector<int>{3});
    EXPECT_FALSE(grid->editRange()) << "committed before the rows moved";
    const auto& items = *grid->itemsSource();
    EXPECT_EQ(items[5].as<grid_test::Wide>()->c2, 77) << "the item the text was typed for";
    EXPECT_EQ(items[4].as<grid_test::Wide>()->c2, 6) << "not the item that moved under the edited cell";
}

}  // namespace
