// Where the provider puts its views: the six clip views, the detail views in DT and DB, and the
// "+"/"-" buttons over the row headers.

#include <optional>

#include "detail_fixture.h"

namespace {

using grid_test::DetailScene;
using kivo::detail::DetailClip;
using kivo::detail::Region;

// Headers of 35 × 28 points; the frozen row ends 28 points and the frozen column 112 points into the
// cells, so the frozen corner spans 147 × 56.
constexpr double RowHeaderWidth = 35, HeaderHeight = 28, FrozenRight = 147, FrozenBottom = 56;

class DetailViewsScene : public DetailScene {
protected:
    void SetUp() override {
        DetailScene::SetUp();
        provider()->setDetailVisibilityMode(GridDetailVisibilityModeMultiple);
        draw();
    }
    std::vector<std::shared_ptr<plat::View>> shownIn(DetailClip which) { return shown(views().detailClip(which)); }
    // The middle of row r's header, the grid not scrolled.
    static plat::Point headerCentre(std::int32_t r) { return {RowHeaderWidth / 2, HeaderHeight + r * 28.0 + 14}; }
};

TEST_F(DetailViewsScene, TheSixClipViewsFollowTheHeadersAndFrozenCellsNotTheScrollPosition) {
    const plat::Rect expected[] = {
        {0, 0, FrozenRight, FrozenBottom},
        {0, FrozenBottom, FrozenRight, Height - FrozenBottom},
        {FrozenRight, 0, Width - FrozenRight, FrozenBottom},
        {FrozenRight, FrozenBottom, Width - FrozenRight, Height - FrozenBottom},
    };
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(views().regionClip(static_cast<Region>(i))->frame(), expected[i]);
        EXPECT_EQ(views().detailClip(DetailClip::Top)->frame(), plat::Rect(RowHeaderWidth, 0, Width - RowHeaderWidth, FrozenBottom));
        EXPECT_EQ(views().detailClip(DetailClip::Bottom)->frame(),
                  plat::Rect(RowHeaderWidth, FrozenBottom, Width - RowHeaderWidth, Height - FrozenBottom));
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(views().regionClip(static_cast<Region>(i))->clipsToBounds());
        EXPECT_TRUE(views().detailClip(DetailClip::Top)->clipsToBounds());
        EXPECT_TRUE(views().detailClip(DetailClip::Bottom)->clipsToBounds());
    };
    check("at rest");
    grid->setScrollPosition({60, 90});
    draw();
    check("scrolled");

    // The order they lie in over the grid: the four regions, then DT and DB.
    const auto& subviews = grid->subviews();
    auto at = [&](const std::shared_ptr<plat::View>& v) { return std::find(subviews.begin(), subviews.end(), v) - subviews.begin(); };
    EXPECT_LT(at(views().regionClip(Region::Scrolling)), at(views().detailClip(DetailClip::Top)));
    EXPECT_LT(at(views().detailClip(DetailClip::Top)), at(views().detailClip(DetailClip::Bottom)));
}

TEST_F(DetailViewsScene, DetailViewsSpanTheWidthRightOfTheRowHeadersInsetByAPoint) {
    provider()->doExpandCollapse(0);  // frozen: the frozen rows grow to 2
    provider()->doExpandCollapse(3);  // row 2 below it
    draw();
    const double w = Width - RowHeaderWidth - 2;
    // The frozen band now ends below the detail: 28 + 28 + 200.
    const double bandTop = HeaderHeight + 28 + 200;
    ASSERT_EQ(shownIn(DetailClip::Top).size(), 1u);
    EXPECT_EQ(shownIn(DetailClip::Top)[0]->frame(), plat::Rect(1, HeaderHeight + 28 + 1, w, 198));
    auto lower = [&] {
        const auto v = shownIn(DetailClip::Bottom);
        return v.size() == 1 ? v[0]->frame() : plat::Rect{};
    };
    // Row 2's detail row follows row 0, the frozen detail, rows 1 and 2.
    const double y = HeaderHeight + 28 + 200 + 2 * 28;
    EXPECT_EQ(lower(), plat::Rect(1, y - bandTop + 1, w, 198));

    grid->setScrollPosition({80, 0});
    draw();
    EXPECT_EQ(lower(), plat::Rect(1, y - bandTop + 1, w, 198)) << "a sideways scroll moves no detail view";

    grid->setScrollPosition({0, 100});
    draw();
    EXPECT_EQ(lower(), plat::Rect(1, y - 100 - bandTop + 1, w, 198)) << "it scrolls under the frozen band, cut at DB's top";
    EXPECT_LT(lower().y(), 0);
}

TEST_F(DetailViewsScene, InMode0NoViewOrButtonIsPlacedAndADetailIsAnEmptyBand) {
    provider()->setDetailVisibilityMode(GridDetailVisibilityModeNone);
    provider()->showDetail(row(2));
    draw();
    EXPECT_EQ(grid->rows()->renderSizeAt(3), 200);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(shown(views().regionClip(static_cast<Region>(i))).empty());
    EXPECT_TRUE(shownIn(DetailClip::Bottom).empty());
    EXPECT_EQ(detailCalls, 0);
}

TEST_F(DetailViewsScene, ButtonsShowPlusOrMinusByTheOpenStateAndATapToggles) {
    ASSERT_TRUE(buttonOf(0));
    EXPECT_EQ(buttonOf(0)->buttonType(), plat::ButtonType::System);
    EXPECT_EQ(buttonOf(4)->title(), "+");
    EXPECT_EQ(buttonOf(4)->frame(), plat::Rect(0, HeaderHeight + 4 * 28 - FrozenBottom, RowHeaderWidth, 28));
    EXPECT_EQ(buttonOf(0)->frame(), plat::Rect(0, HeaderHeight, RowHeaderWidth, 28));

    plat::testing::Touches(window).tap(headerCentre(4));
    EXPECT_EQ(parents(), std::vector<int>{4});
    draw();
    EXPECT_EQ(buttonOf(4)->title(), "-");
    EXPECT_TRUE(buttonOf(4)->isSelected());
    EXPECT_EQ(buttonOf(3)->title(), "+");
    EXPECT_FALSE(buttonOf(5)) << "a detail row's header stays empty";
    EXPECT_EQ(buttonOf(6)->title(), "+") << "row 5 is now at 6";

    // Later than a double tap, which the grid takes.
    plat::testing::Touches(window).wait(1).tap(headerCentre(4));
    EXPECT_EQ(parents(), std::vector<int>{});
    draw();
    EXPECT_EQ(buttonOf(4)->title(), "+");
}

TEST_F(DetailViewsScene, InvisibleButtonsStillToggleAndAskNoEvent) {
    provider()->setShowExpandButton(false);
    const int asked = buttonCalls;
    draw();
    EXPECT_EQ(buttonCalls, asked);
    ASSERT_TRUE(buttonOf(2));
    EXPECT_EQ(buttonOf(2)->buttonType(), plat::ButtonType::Custom);
    EXPECT_EQ(buttonOf(2)->backgroundColor(), plat::Color::clear());
    plat::testing::Touches(window).tap(headerCentre(2));
    EXPECT_EQ(parents(), std::vector<int>{2});
    draw();
    plat::testing::Touches(window).wait(1).tap(headerCentre(2));
    EXPECT_EQ(parents(), std::vector<int>{});
}

class ButtonDelegate : public OmbriGridDetailProviderDelegate {
public:
    std::optional<std::shared_ptr<plat::Button>> gridRowHeaderLoading(const Provider&, const std::shared_ptr<GridRow>& row,
                                                                      const std::shared_ptr<plat::Button>& given) override {
        seen = given;
        if (row->dataItem().asObject() == only) return answer;
        return std::nullopt;
    }
    std::shared_ptr<plat::Object> only;
    std::shared_ptr<plat::Button> answer = plat::Button::create(plat::ButtonType::Custom);
    std::shared_ptr<plat::Button> seen;
};

TEST_F(DetailViewsScene, TheHandlersButtonAndThenTheDelegatesAreUsed) {
    auto handlers = plat::Button::create(plat::ButtonType::System);
    provider()->gridRowHeaderLoading()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<GridRowHeaderLoadingEventArgs>();
            if (args->row() == row(3)) args->setButton(handlers);
        },
        owner);
    auto delegate = std::make_shared<ButtonDelegate>();
    delegate->only = row(5)->dataItem().asObject();
    provider()->setStrongDelegate(delegate);
    provider()->clearCache();
    draw();
    EXPECT_EQ(buttonOf(3), handlers);
    EXPECT_EQ(buttonOf(5), delegate->answer);
    EXPECT_NE(buttonOf(4), nullptr);
    EXPECT_EQ(buttonOf(4)->title(), "+");
}

TEST_F(DetailViewsScene, ANilButtonShowsNoneAndIsAskedForAgain) {
    provider()->gridRowHeaderLoading()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<GridRowHeaderLoadingEventArgs>();
            if (args->row() == row(3)) args->setButton(nullptr);
        },
        owner);
    provider()->clearCache();
    draw();
    const auto key = row(3)->dataItem().asObject().get();
    const int first = buttonAsked[key];
    draw();
    EXPECT_FALSE(buttonOf(3));
    EXPECT_EQ(buttonAsked[key], first + 1);
    EXPECT_EQ(buttonAsked[row(4)->dataItem().asObject().get()], 2) << "a made button is kept";
}

TEST_F(DetailViewsScene, GroupAndHiddenRowsGetNoButtonAndSpacerRowsOne) {
    grid->rows()->insertObject(plat::Value(std::make_shared<GridEmptyRow>()), 3);
    auto group = std::make_shared<GridGroupRow>();
    grid->rows()->insertObject(plat::Value(group), 6);
    row(8)->setVisible(false);
    draw();
    EXPECT_TRUE(buttonOf(3)) << "spacer";
    EXPECT_FALSE(buttonOf(6)) << "group";
    EXPECT_FALSE(buttonOf(8)) << "hidden";
    EXPECT_TRUE(buttonOf(9));
}

}  // namespace

namespace {

class ViewDelegate : public OmbriGridDetailProviderDelegate {
public:
    std::optional<std::shared_ptr<plat::View>> detailCellCreating(const Provider&, const std::shared_ptr<GridRow>& row) override {
        ++asked;
        if (row->dataItem().asObject() == blank) return std::shared_ptr<plat::View>();
        if (row->dataItem().asObject() == own) return view;
        return std::nullopt;
    }
    std::shared_ptr<plat::Object> blank, own;
    std::shared_ptr<plat::View> view = plat::View::create();
    int asked = 0;
};

TEST_F(DetailViewsScene, TheDelegatesAnswerReplacesTheHandlersViewAnEmptyOneIncluded) {
    auto delegate = std::make_shared<ViewDelegate>();
    delegate->blank = row(1)->dataItem().asObject();
    delegate->own = row(2)->dataItem().asObject();
    provider()->setDelegate(delegate);
    EXPECT_EQ(provider()->delegate(), delegate);
    provider()->doExpandCollapse(3);  // row 3: the delegate does not answer
    provider()->doExpandCollapse(2);  // row 2: its own view
    provider()->doExpandCollapse(1);  // row 1: an empty answer
    draw();
    EXPECT_EQ(delegate->asked, 3);
    EXPECT_EQ(detailCalls, 3) << "the event comes first for every row";
    const auto views = shownIn(DetailClip::Bottom);
    EXPECT_EQ(views.size(), 2u) << "row 1's detail is an empty band";
    EXPECT_NE(std::find(views.begin(), views.end(), delegate->view), views.end());
}

}  // namespace
