// The provider's views are made once per row and kept by the row's identity until the cache empties.

#include "detail_fixture.h"

namespace {

using grid_test::DetailScene;
using kivo::detail::DetailClip;

class DetailCache : public DetailScene {
protected:
    void SetUp() override {
        DetailScene::SetUp();
        provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
        provider()->doExpandCollapse(2);
        draw();
    }
    const void* itemOf(std::int64_t r) const { return row(r)->dataItem().asObject().get(); }
    std::shared_ptr<plat::View> detailView() {
        const auto v = shown(views().detailClip(DetailClip::Bottom));
        return v.size() == 1 ? v[0] : nullptr;
    }
    // Every item of the bound list replaced by a new one, then the view reset: no invalidation.
    void replaceEveryItem(long start) {
        auto& items = *grid->itemsSource();
        for (std::size_t i = 0; i < items.size(); ++i) items[i] = plat::Value(std::make_shared<grid_test::Wide>(start + static_cast<long>(i)));
        grid->collectionView()->refresh();
    }
};

TEST_F(DetailCache, EachRowIsAskedOnceOverSeveralPasses) {
    for (int pass = 0; pass < 3; ++pass) draw();
    EXPECT_EQ(detailAsked[itemOf(2)], 1);
    EXPECT_EQ(detailCalls, 1);
    ASSERT_FALSE(buttonAsked.empty());
    for (const auto& [item, count] : buttonAsked) EXPECT_EQ(count, 1);
}

TEST_F(DetailCache, AnInvalidationOrANewHeightAsksAgain) {
    grid->invalidate();
    draw();
    EXPECT_EQ(detailAsked[itemOf(2)], 2);
    EXPECT_EQ(buttonAsked[itemOf(0)], 2);

    const auto before = detailView();
    provider()->setDetailHeight(120);
    draw();
    EXPECT_EQ(detailAsked[itemOf(2)], 3);
    EXPECT_EQ(grid->rows()->renderSizeAt(3), 120);
    ASSERT_TRUE(detailView());
    EXPECT_NE(detailView(), before);
    EXPECT_EQ(detailView()->frame().height(), 118);
    EXPECT_EQ(before->superview(), nullptr) << "the views of the emptied cache leave the grid";
}

TEST_F(DetailCache, ADetailOpenedAboveARowKeepsItsButton) {
    const auto button = buttonOf(6);
    ASSERT_TRUE(button);
    const int asked = buttonCalls;
    provider()->doExpandCollapse(1);
    draw();
    EXPECT_EQ(buttonOf(7), button) << "the row moved down by one, its button with it";
    EXPECT_EQ(button->tag(), 7);
    EXPECT_EQ(buttonCalls, asked) << "no row was asked again";
}

TEST_F(DetailCache, ANilDetailViewLeavesAnEmptyBandAndIsAskedAgain) {
    handOutViews = false;
    provider()->doExpandCollapse(5);  // row 4
    draw();
    draw();
    EXPECT_EQ(detailAsked[itemOf(5)], 2);
    EXPECT_EQ(shown(views().detailClip(DetailClip::Bottom)).size(), 1u) << "row 2's view only";
}

TEST_F(DetailCache, AfterEveryItemIsReplacedEachRowIsAskedAgainAndNoEarlierViewAppears) {
    std::vector<std::shared_ptr<plat::View>> earlier;
    for (auto region : {kivo::detail::Region::TopLeft, kivo::detail::Region::LeftStrip})
        for (const auto& v : shown(views().regionClip(region))) earlier.push_back(v);
    ASSERT_FALSE(earlier.empty());
    const std::size_t cached = views().cachedCount();
    const int asked = buttonCalls;

    replaceEveryItem(1000);
    draw();
    EXPECT_EQ(views().cachedCount(), cached + 20) << "nothing invalidated: the old views stay cached";
    EXPECT_EQ(buttonCalls, asked + 20);
    for (const auto& v : earlier) EXPECT_EQ(v->superview(), nullptr);
    for (const auto& [item, count] : buttonAsked) EXPECT_EQ(count, 1) << "each new row once";
}

TEST_F(DetailCache, TheCacheEmptiesAtTheStartOfThePassAfterThe256thView) {
    long start = 1000;
    while (views().cachedCount() < OmbriGridDetailProvider::CacheLimit) {
        const std::size_t before = views().cachedCount();
        replaceEveryItem(start += 100);
        draw();
        ASSERT_GT(views().cachedCount(), before) << "every pass below the limit only adds";
    }
    const auto kept = shown(views().regionClip(kivo::detail::Region::LeftStrip));
    replaceEveryItem(start + 100);
    draw();
    EXPECT_EQ(views().cachedCount(), 20u) << "emptied, then this pass's buttons";
    for (const auto& v : kept) EXPECT_EQ(v->superview(), nullptr);
}

}  // namespace
