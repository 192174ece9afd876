#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriPie/KivoOmbriPieInternalRegion.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/async_semaphore.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "pie_access.h"

using plat::testing::PointNear;

TEST(PieClampAngle, TruncatesThenWrapsIntoAHalfTurnEitherSide) {
    const std::pair<double, double> cases[] = {
        {359.9, -1},
        {180, -180},
        {-181, 179},
        {540.7, -180},
        {0, 0},
        {-180, -180},
        {179.99, 179},
        {-0.5, 0},
        {720, 0},
        // Beyond a 32-bit integer the whole degrees still wrap (1e15 is 280 past a whole number of turns).
        {1e15, -80},
        {-1e15, 80},
        {1e15 + 0.75, -80},
        {1e19, -80},
        {1e300, 0},
        // Not a number of degrees: no turn.
        {std::nan(""), 0},
        {INFINITY, 0},
        {-INFINITY, 0},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(OmbriPie::clampAngle(in), out) << in;
}

TEST(PieConvertAnimationType, AnswersTheEasingsViewCurve) {
    EXPECT_EQ(OmbriPie::convertAnimationType(KivoEasing::EaseInCubic()), 1);
    EXPECT_EQ(OmbriPie::convertAnimationType(KivoEasing::EaseOutCubic()), 2);
    EXPECT_EQ(OmbriPie::convertAnimationType(KivoEasing::EaseInOutCubic()), 0);
    EXPECT_EQ(OmbriPie::convertAnimationType(KivoEasing::EaseNone()), 0);
}

TEST(PieHitTestInfoValue, AnswersTheValueAtTheIndexAndNilOutside) {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    pie->setItemsSource(pie_testing::items({{{"value", 3.5}}, {{"value", -2.0}}}));
    pie->setBinding("value");
    EXPECT_EQ(pie->getHitTestInfoValue(0, true, 1, nullptr).asDouble(), -2.0);
    EXPECT_EQ(pie->getHitTestInfoValue(1, false, 0, nullptr).asDouble(), 3.5);
    EXPECT_TRUE(pie->getHitTestInfoValue(0, false, 2, nullptr).isNil());
    EXPECT_TRUE(pie->getHitTestInfoValue(0, false, -1, nullptr).isNil());
}

TEST(PieDesignTime, ShowsTheFourDemonstrationRegionsWithoutAnimation) {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    pie->prepareForInterfaceBuilder();
    EXPECT_FALSE(pie->isAnimated());
    EXPECT_EQ(pie->binding(), std::optional<std::string>("value"));
    EXPECT_EQ(pie->bindingName(), std::optional<std::string>("name"));
    EXPECT_EQ(pie->values(), (std::vector<double>{62, 63, 28, 13}));
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"Oranges", "South", "East", "West"}));

    const auto three = KivoOmbriPieInternalRegion::demo2();
    ASSERT_EQ(three->size(), 4u);
    const auto west = (*three)[3].as<KivoOmbriPieInternalRegion>();
    ASSERT_TRUE(west);
    EXPECT_EQ(west->name, "West");
    EXPECT_EQ(std::vector<double>({west->value, west->value2, west->value3}), (std::vector<double>{80, 20, 40}));
}

namespace {

class PieInWindow : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<OmbriPie> pie = OmbriPie::create({0, 0, 400, 300});
    plat::RecordingContext rec;

    void SetUp() override {
        window->addSubview(pie);
        pie->setItemsSource(pie_testing::namedItems({"North", "South"}));
        pie->setBinding("value");
        pie->setBindingName("name");
        pie->pieControl()->setFirstLoad(false);  // no load animation: each pass draws the slices
    }
    void display() {
        rec.clear();
        pie->invalidate();
        window->display(rec);
    }
};

}  // namespace

TEST_F(PieInWindow, APassTellsTheDelegateAndRaisesTheEventsInOrderOncePerPass) {
    auto delegate = std::make_shared<pie_testing::RecordingDelegate>();
    pie->setDelegate(delegate);
    auto& heard = delegate->heard;
    pie->chartRendering()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { heard.push_back("rendering event"); },
                                      nullptr);
    pie->chartRendered()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { heard.push_back("rendered event"); },
                                     nullptr);
    display();
    const std::vector<std::string> onePass{"rendering:", "rendering event", "rendered:", "rendered event"};
    EXPECT_EQ(heard, onePass);
    heard.clear();
    display();
    EXPECT_EQ(heard, onePass);
}

TEST_F(PieInWindow, APassDrawsTheFrameAndTheLegendSwatchesInThePaletteColours) {
    pie->setBackgroundColor(plat::Color::white());
    pie->setBorderColor(plat::Color::red());
    pie->setBorderWidth(2);
    display();
    EXPECT_EQ(pie->rotationAngle(), 0);
    ASSERT_TRUE(pie->rectLegend());
    // The legend sits at the right by default: two items, each with its palette swatch.
    ASSERT_EQ(pie->legend()->areas().size(), 2u);
    for (std::int64_t i = 0; i < 2; ++i) {
        const auto& item = pie->legend()->areas()[static_cast<std::size_t>(i)];
        const plat::Rect swatch{item->left() + 4, item->top() + item->height() / 2 - 5, 10, 10};
        bool found = false;
        for (const auto* f : rec.fills()) {
            const plat::Rect b = f->bounds();
            if (f->color == pie->getColor(i) && std::abs(b.x() - swatch.x()) < 1e-6 && std::abs(b.y() - swatch.y()) < 1e-6 &&
                std::abs(b.width() - 10) < 1e-6 && std::abs(b.height() - 10) < 1e-6)
                found = true;
        }
        EXPECT_TRUE(found) << "swatch " << i;
    }
}

TEST_F(PieInWindow, TurningThePieTurnsAShownTooltipAboutTheCentre) {
    display();
    const plat::Point c = pie->pieControl()->center();
    auto data = std::make_shared<plat::Object>();
    kivo::detail::PieTestAccess::showTooltip(*pie, "North 1.00", {c.x + 50, c.y}, data);
    pie->setStartAngle(90);
    const auto& content = pie->tooltip()->content();
    EXPECT_TRUE(content->isVisible());
    EXPECT_THAT(content->senderPoint(), PointNear({c.x, c.y + 50}));  // a quarter turn clockwise on screen
    EXPECT_EQ(content->text(), std::optional<std::string>("North 1.00"));
    EXPECT_EQ(content->chartData(), data);

    pie->setStartAngle(90);  // unchanged: nothing moves
    EXPECT_THAT(content->senderPoint(), PointNear({c.x, c.y + 50}));
}

TEST_F(PieInWindow, TurningThePieLeavesAHiddenTooltipHidden) {
    display();
    pie->setStartAngle(45);
    EXPECT_FALSE(pie->tooltip()->content()->isVisible());
}

TEST(PieLifetime, APieReleasedAfterAPassLeavesNothingAlive) {
    plat::testing::VirtualClock clock;
    std::weak_ptr<OmbriPie> weakPie;
    std::weak_ptr<plat::View> weakView;
    std::weak_ptr<OmbriPieDataLabel> weakLabel;
    std::weak_ptr<OmbriPieDataLabelRenderer> weakRenderer;
    std::weak_ptr<KivoChartTooltip> weakTooltip;
    std::weak_ptr<KivoChartLoadAnimation> weakLoad;
    auto source = KivoOmbriPieInternalRegion::demo();
    {
        auto window = plat::Window::create({0, 0, 400, 300});
        auto pie = OmbriPie::create({0, 0, 400, 300});
        window->addSubview(pie);
        pie->setItemsSource(source);
        pie->setBinding("value");
        pie->setBindingName("name");
        plat::RecordingContext rec;
        window->display(rec);
        plat::RunLoop::main().runUntilIdle();
        weakPie = pie;
        weakView = pie->pieControl();
        weakLabel = pie->dataLabel();
        weakRenderer = pie->dataLabelRenderer();
        weakTooltip = pie->tooltip();
        weakLoad = pie->loadAnimation();
    }
    EXPECT_TRUE(weakPie.expired());
    EXPECT_TRUE(weakView.expired());
    EXPECT_TRUE(weakLabel.expired());
    EXPECT_TRUE(weakRenderer.expired());
    EXPECT_TRUE(weakTooltip.expired());
    EXPECT_TRUE(weakLoad.expired());
    // The application's items outlive the pie, with nothing of it subscribed through them.
    EXPECT_EQ(source.use_count(), 1);
}

TEST_F(PieInWindow, TheDrawingViewDrawsTheSlicesInTheSquareTheControlLeft) {
    pie->legend()->setPosition(KivoAxisPositionNone);
    display();
    const auto& view = pie->pieControl();
    ASSERT_EQ(view->areas().size(), 2u);
    // Two halves from the left: the first over the top, in the first palette colour.
    const auto* north = rec.findFill(pie->getColor(0));
    ASSERT_TRUE(north);
    EXPECT_THAT(north->bounds(),
                plat::testing::RectNear({200 - pie->radius(), 150 - pie->radius(), 2 * pie->radius(), pie->radius()}, 1e-6));
    EXPECT_DOUBLE_EQ(view->radius(), pie->radius());
}

TEST_F(PieInWindow, ASelectionFromCodeIsDrawnInTheNextPassAndOnlySlicesCanBeSelected) {
    display();
    for (const std::int64_t ignored : {-1, 2, 7}) {
        pie->setSelectedIndex(ignored);
        EXPECT_EQ(pie->selectedIndex(), -1) << ignored;
    }
    pie->setSelectedIndex(1);
    EXPECT_EQ(pie->selectedIndex(), 1);
    EXPECT_TRUE(pie->setWithCode());
    display();
    ASSERT_FALSE(rec.strokes().empty());
    EXPECT_TRUE(rec.strokes().back()->isDashed());
    EXPECT_EQ(pie->pieControl()->areas().back()->tag().asInteger(), 1);

    pie->setSelectionMode(KivoChartSelectionModeNone);
    pie->setSelectedIndex(0);
    EXPECT_EQ(pie->selectedIndex(), -1);
}

TEST(PieLifetime, APieReleasedWhileItAnimatesLeavesNothingAliveAndNothingFiresIntoIt) {
    struct Case {
        const char* what;
        std::function<void(OmbriPie&, plat::Window&, plat::testing::VirtualClock&)> reach;
    };
    const auto settle = [](OmbriPie& pie, plat::Window& window, plat::testing::VirtualClock& clock) {
        plat::RecordingContext rec;
        window.display(rec);
        clock.advance(1.1);
        window.display(rec);
        ASSERT_FALSE(pie.pieControl()->firstLoad());
    };
    const Case cases[] = {
        {"the load animation runs",
         [](OmbriPie&, plat::Window& window, plat::testing::VirtualClock& clock) {
             plat::RecordingContext rec;
             window.display(rec);
             clock.advance(0.3);
         }},
        {"a turn runs",
         [&](OmbriPie& pie, plat::Window& window, plat::testing::VirtualClock& clock) {
             settle(pie, window, clock);
             pie.setSelectedItemPosition(KivoAxisPositionTop);
             pie.setSelectedIndex(1);
             plat::RecordingContext rec;
             window.display(rec);
             clock.advance(0.3);
             ASSERT_TRUE(pie.isAnimating());
         }},
        {"an update waits on the semaphore",
         [&](OmbriPie& pie, plat::Window& window, plat::testing::VirtualClock& clock) {
             settle(pie, window, clock);
             const auto add = [&] { pie.collectionView()->addObject(plat::Value(plat::Dictionary{{"value", 5.0}})); };
             add();
             clock.advance(OmbriPie::UpdateHandOverDelay);
             plat::RecordingContext rec;
             window.display(rec);
             add();
             clock.advance(0.3);
             ASSERT_EQ(pie.pieControl()->semaphore()->parkedCount(), 1u);
         }},
    };
    for (const auto& c : cases) {
        plat::testing::VirtualClock clock;
        std::weak_ptr<OmbriPie> weakPie;
        std::weak_ptr<plat::View> weakView;
        auto source = pie_testing::valueItems({1, 2, 3});
        {
            auto window = plat::Window::create({0, 0, 400, 300});
            auto pie = OmbriPie::create({0, 0, 400, 300});
            window->addSubview(pie);
            pie->setItemsSource(source);
            pie->setBinding("value");
            c.reach(*pie, *window, clock);
            weakPie = pie;
            weakView = pie->pieControl();
        }
        EXPECT_TRUE(weakPie.expired()) << c.what;
        EXPECT_TRUE(weakView.expired()) << c.what;
        clock.advance(2);  // whatever was armed finds nothing to call
    }
}
