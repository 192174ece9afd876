#include <gtest/gtest.h>

#include <functional>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "pie_access.h"

using kivo::detail::PieTestAccess;

TEST(PieProperties, StartWithTheirDefaults) {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    EXPECT_EQ(pie->selectionMode(), KivoChartSelectionModePoint);
    EXPECT_EQ(pie->selectedDashes(), (std::vector<double>{6, 3}));
    EXPECT_EQ(pie->selectedBorderWidth(), 3.0);
    EXPECT_FALSE(pie->selectedBorderColor());
    EXPECT_EQ(pie->legend()->borderWidth(), 1.0);
    ASSERT_TRUE(pie->loadAnimation());
    EXPECT_EQ(pie->loadAnimation()->animationMode(), KivoLoadAnimationModePoint);
    EXPECT_EQ(pie->loadAnimation()->chart(), pie);
    EXPECT_EQ(pie->selectedIndex(), -1);
    EXPECT_EQ(pie->selectedItemPosition(), 0);
    EXPECT_TRUE(pie->isAnimated());
    EXPECT_FALSE(pie->isUpdateAnimated());
    EXPECT_FALSE(pie->reversed());
    EXPECT_EQ(pie->startAngle(), 0);
    EXPECT_EQ(pie->innerRadius(), 0);
    EXPECT_TRUE(pie->selectAnimation());
    EXPECT_TRUE(pie->updateAnimation());
    EXPECT_TRUE(std::dynamic_pointer_cast<KivoIOSValueFormatter>(pie->valueFormatter()));
    ASSERT_TRUE(pie->dataLabel());
    EXPECT_EQ(pie->dataLabel()->position(), KivoPieLabelPositionNone);
    EXPECT_EQ(pie->dataLabel()->content(), std::optional<std::string>("{value}"));
    EXPECT_TRUE(std::dynamic_pointer_cast<DefaultOmbriPieDataLabelRenderer>(pie->dataLabelRenderer()));
    EXPECT_EQ(pie->dataLabelRenderer()->label(), pie->dataLabel());
    EXPECT_EQ(pie->pieControl()->superview(), pie);
    EXPECT_TRUE(pie->pieControl()->firstLoad());
    // The tooltip bubble stays above the drawing view.
    EXPECT_EQ(pie->subviews().back(), pie->tooltip()->content());
    EXPECT_EQ(LEGEND_ITEM_WIDTH, 10.0);
    EXPECT_EQ(LEGEND_ITEM_HEIGHT, 10.0);
    EXPECT_EQ(LEGEND_ITEM_MARGIN, 4.0);
    EXPECT_EQ(LEGEND_TITLE_MARGIN, 10.0);
    EXPECT_EQ(LEGEND_PIE_MARGIN, 7.0);
    EXPECT_EQ(DEFAULT_SELECTED_BORDER_WIDTH, 3);
}

namespace {

class PieSetters : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<OmbriPie> pie = OmbriPie::create({0, 0, 400, 300});
    plat::RecordingContext rec;

    void SetUp() override {
        window->addSubview(pie);
        pie->pieControl()->setFirstLoad(false);  // no load animation: each pass draws the slices
    }
    // A pass leaves nothing waiting to be drawn.
    void settle() {
        rec.clear();
        window->display(rec);
        ASSERT_FALSE(pie->pieControl()->needsDisplay());
        ASSERT_FALSE(pie->needsDisplay());
    }
};

}  // namespace

TEST_F(PieSetters, ForwardedSettingsLiveInTheDrawingViewAndRedrawItOnlyWhenChanged) {
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<bool()> stored;
    };
    const auto& view = pie->pieControl();
    const Case cases[] = {
        {"offset", [&] { pie->setOffset(0.1); }, [&] { return view->offset() == 0.1; }},
        {"innerRadius", [&] { pie->setInnerRadius(0.5); }, [&] { return view->innerRadius() == 0.5; }},
        {"sliceBorderWidth", [&] { pie->setSliceBorderWidth(2); }, [&] { return view->sliceBorderWidth() == 2; }},
        {"selectedItemOffset", [&] { pie->setSelectedItemOffset(0.2); }, [&] { return view->selectedItemOffset() == 0.2; }},
        {"reversed", [&] { pie->setReversed(true); }, [&] { return view->reversed(); }},
        {"startAngle", [&] { pie->setStartAngle(30); }, [&] { return view->startAngle() == 30; }},
    };
    for (const auto& c : cases) {
        settle();
        c.set();
        EXPECT_TRUE(c.stored()) << c.what;
        EXPECT_TRUE(view->needsDisplay()) << c.what;
        settle();
        c.set();  // the same value again
        EXPECT_FALSE(view->needsDisplay()) << c.what;
    }
}

TEST_F(PieSetters, AnimationSwitchesAndStoresDoNotRedraw) {
    settle();
    pie->setIsAnimated(false);
    EXPECT_FALSE(pie->pieControl()->isAnimated());
    auto update = std::make_shared<KivoAnimation>();
    pie->setUpdateAnimation(update);
    EXPECT_EQ(pie->pieControl()->updateAnimation(), update);
    EXPECT_FALSE(pie->pieControl()->needsDisplay());
    EXPECT_FALSE(pie->needsDisplay());
}

TEST_F(PieSetters, UpdateAnimatedOnlyRedrawsThePie) {
    settle();
    pie->setIsUpdateAnimated(true);
    EXPECT_TRUE(pie->isUpdateAnimated());
    EXPECT_TRUE(pie->needsDisplay());
    settle();
    pie->setIsUpdateAnimated(true);
    EXPECT_FALSE(pie->needsDisplay());
}

TEST_F(PieSetters, ANewSourceOrLoadAnimationReplaysTheLoadButTheSameSourceDoesNot) {
    auto first = pie_testing::namedItems({"a", "b"});
    pie->setItemsSource(first);
    pie->pieControl()->setFirstLoad(false);
    settle();

    pie->setItemsSource(first);
    EXPECT_FALSE(pie->pieControl()->firstLoad());
    EXPECT_TRUE(pie->needsDisplay());
    EXPECT_TRUE(pie->pieControl()->needsDisplay());

    pie->setItemsSource(pie_testing::namedItems({"a", "b"}));
    EXPECT_TRUE(pie->pieControl()->firstLoad());

    pie->pieControl()->setFirstLoad(false);
    settle();
    const auto same = pie->loadAnimation();
    pie->setLoadAnimation(same);
    EXPECT_FALSE(pie->pieControl()->firstLoad());
    pie->setLoadAnimation(KivoChartLoadAnimation::create());
    EXPECT_TRUE(pie->pieControl()->firstLoad());
    EXPECT_TRUE(pie->pieControl()->needsDisplay());
}

TEST_F(PieSetters, SelectionModeNoneClearsTheSelectionForTheNextPass) {
    PieTestAccess::setSelectedIndex(*pie, 2);
    pie->setSelectionMode(KivoChartSelectionModeSeries);
    EXPECT_EQ(pie->selectedIndex(), 2);
    pie->setSelectionMode(KivoChartSelectionModeNone);
    EXPECT_EQ(pie->selectionMode(), KivoChartSelectionModeNone);
    EXPECT_EQ(pie->selectedIndex(), -1);
    settle();
    EXPECT_EQ(pie->pieControl()->selectedIndex(), -1);
}

TEST_F(PieSetters, ALabelPropertyChangeRebinds) {
    pie->setItemsSource(pie_testing::items({{{"name", "a"}, {"code", "x"}, {"value", 1.0}}}));
    pie->setBinding("value");
    pie->setBindingName("name");
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"a"}));
    settle();
    pie->setBindingName("code");
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"x"}));
    EXPECT_TRUE(pie->needsDisplay());
}
