#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ChartCore/KivoBaseDataLabel.h"
#include "ChartCore/KivoChartLoadAnimation.h"
#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "ChartCore/OmbriChartBase.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "test_chart.h"

namespace {

plat::ArrayPtr numbers(std::initializer_list<double> values) {
    auto array = std::make_shared<plat::Array>();
    for (double v : values) array->push_back(v);
    return array;
}

class ChartBaseTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 300, 200});
    std::shared_ptr<TestChart> chart = TestChart::create();
    plat::RecordingContext rec;

    void SetUp() override { window->addSubview(chart); }
    void display() {
        rec.clear();
        window->display(rec);
    }
};

}  // namespace

// ---- Draw cycle ----

TEST_F(ChartBaseTest, EveryDisplayPassRendersOnceWithTheControlsEngine) {
    display();
    chart->renders = 0;
    chart->invalidate();
    chart->invalidate();
    display();
    EXPECT_EQ(chart->renders, 1);
    EXPECT_EQ(chart->lastEngine, std::static_pointer_cast<IKivoRenderEngine>(chart->renderEngine()));
    display();
    EXPECT_EQ(chart->renders, 2);
    ASSERT_TRUE(chart->rectChart());
    EXPECT_TRUE(chart->rectChart()->isEqual(KivoRect::create(0, 0, 300, 200)));
}

TEST_F(ChartBaseTest, APassStartsFromTheEnginesDefaultLookAndLeavesTheContextAsItFoundIt) {
    chart->onRender = [](const std::shared_ptr<IKivoRenderEngine>& engine) {
        auto e = std::static_pointer_cast<KivoRenderEngine>(engine);
        // What an earlier pass left must not reach this one.
        EXPECT_EQ(e->getFill(), e->DEFAULT_FILL);
        EXPECT_EQ(e->getStrokeThickness(), e->DEFAULT_THICKNESS);
        EXPECT_EQ(e->opacity(), e->DEFAULT_OPACITY);
        engine->setFill(plat::Color::red());
        engine->setStrokeThickness(7);
        engine->setOpacity(0.3);
        engine->setClipRect(0, 0, 10, 10);  // never cleared
        plat::currentContext()->translate(40, 40);
    };
    display();
    display();
    EXPECT_EQ(rec.saveDepth(), 0u);
    EXPECT_TRUE(rec.ctm().isIdentity());
}

TEST_F(ChartBaseTest, TitleRectanglesAreThoseOfTheLastPass) {
    chart->setHeader("Sales");
    chart->onRender = [this](const std::shared_ptr<IKivoRenderEngine>& engine) {
        chart->drawTitle(engine, chart->rectChart(), chart->header(), false);
    };
    display();
    EXPECT_TRUE(chart->rectHeader());
    chart->setHeader(std::nullopt);
    display();
    EXPECT_FALSE(chart->rectHeader());
}

// ---- Data ----

TEST_F(ChartBaseTest, ItemsSourceFeedsTheOneCollectionViewAndBindsOncePerCall) {
    auto view = chart->collectionView();
    EXPECT_FALSE(chart->itemsSource());
    auto first = numbers({1, 2});
    chart->setItemsSource(first);
    EXPECT_EQ(chart->itemsSource(), first);
    EXPECT_EQ(chart->binds, 1);
    chart->setItemsSource(first);  // the same array again: the pie relies on this rebinding
    EXPECT_EQ(chart->binds, 2);
    chart->setItemsSource(numbers({3}));
    EXPECT_EQ(chart->binds, 3);
    EXPECT_EQ(chart->collectionView(), view);
    EXPECT_EQ(view->items()->size(), 1u);
    chart->setItemsSource(nullptr);
    EXPECT_EQ(chart->binds, 4);
    EXPECT_FALSE(chart->itemsSource());
    EXPECT_TRUE(view->isEmpty());
}

TEST_F(ChartBaseTest, AResetBindsWhileAddsRemovesAndReplacesAreLeftToTheControl) {
    chart->subscribeOwnHandler();
    chart->setItemsSource(numbers({1, 2, 3}));
    chart->binds = 0;
    chart->changesSeen.clear();
    auto view = chart->collectionView();
    view->addObject(4.0);
    view->removeAt(0);
    view->replaceObjectAtIndex(0, 9.0);
    EXPECT_EQ(chart->binds, 0);
    view->refresh();
    EXPECT_EQ(chart->binds, 1);
    EXPECT_EQ(chart->changesSeen,
              (std::vector<std::int64_t>{KivoNotifyCollectionChangedActionAdd, KivoNotifyCollectionChangedActionRemove,
                                         KivoNotifyCollectionChangedActionReplace, KivoNotifyCollectionChangedActionReset}));
}

TEST_F(ChartBaseTest, AnotherCollectionViewTakesOverTheSubscriptions) {
    chart->subscribeOwnHandler();
    auto old = chart->collectionView();
    auto replacement = KivoCollectionView::create(numbers({5, 6}));
    chart->setCollectionView(replacement);
    EXPECT_EQ(chart->binds, 1);
    EXPECT_EQ(chart->itemsSource(), replacement->sourceCollection());
    chart->changesSeen.clear();
    chart->binds = 0;
    old->addObject(1.0);
    old->refresh();
    EXPECT_TRUE(chart->changesSeen.empty());
    EXPECT_EQ(chart->binds, 0);
    replacement->addObject(7.0);
    replacement->refresh();
    EXPECT_EQ(chart->changesSeen.size(), 2u);
    EXPECT_EQ(chart->binds, 1);
    EXPECT_FALSE(old->collectionChanged()->handlers() && !old->collectionChanged()->handlers()->empty());

    // Without a view, new items get a new one, and the subscriptions follow.
    chart->setCollectionView(nullptr);
    EXPECT_FALSE(chart->itemsSource());
    chart->setItemsSource(numbers({1}));
    ASSERT_TRUE(chart->collectionView());
    chart->changesSeen.clear();
    chart->collectionView()->addObject(2.0);
    EXPECT_EQ(chart->changesSeen, std::vector<std::int64_t>{KivoNotifyCollectionChangedActionAdd});
}

TEST(ChartBaseLifetime, AReleasedControlLeavesNoHandlerAndNoLiveBackReference) {
    plat::testing::VirtualClock clock;
    std::shared_ptr<KivoCollectionView> view;
    std::weak_ptr<TestChart> gone;
    std::shared_ptr<KivoLegend> legend;
    std::shared_ptr<KivoChartTooltip> tooltip;
    auto animation = KivoChartLoadAnimation::create();
    auto label = KivoBaseDataLabel::create();
    {
        auto chart = TestChart::create();
        chart->subscribeOwnHandler();
        legend = KivoLegend::create(chart);
        chart->setLegend(legend);
        tooltip = KivoChartTooltip::create(chart, KivoBaseChartTooltipView::create());
        chart->setTooltip(tooltip);
        animation->setChart(chart);
        label->setChart(chart);
        chart->setItemsSource(numbers({1}));
        view = chart->collectionView();
        gone = chart;
    }
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(view->collectionChanged()->handlers());
    EXPECT_TRUE(view->collectionChanged()->handlers()->empty());
    view->addObject(2.0);  // nothing left to call
    view->refresh();
    EXPECT_FALSE(legend->chart());
    EXPECT_FALSE(tooltip->chart());
    EXPECT_FALSE(animation->chart());
    EXPECT_FALSE(label->chart());
    // Calls through the expired references do nothing.
    legend->setPosition(KivoAxisPositionTop);
    label->setContent("{x}");
    EXPECT_FALSE(legend->getDesiredSize(KivoRenderEngine::create()));
}

// ---- Parts, delegate, events ----

TEST_F(ChartBaseTest, TheTooltipsContentViewLivesInTheControl) {
    // A new control has a legend and a tooltip of its own.
    ASSERT_TRUE(chart->legend() && chart->tooltip());
    EXPECT_EQ(chart->legend()->chart(), chart);
    EXPECT_EQ(chart->tooltip()->content()->superview(), chart);

    auto first = KivoChartTooltip::create(chart, KivoBaseChartTooltipView::create());
    auto initial = chart->tooltip()->content();
    chart->setTooltip(first);
    EXPECT_FALSE(initial->superview());
    EXPECT_EQ(first->content()->superview(), chart);
    auto second = KivoChartTooltip::create(chart, KivoBaseChartTooltipView::create());
    chart->setTooltip(second);
    EXPECT_FALSE(first->content()->superview());
    EXPECT_EQ(second->content()->superview(), chart);

    EXPECT_TRUE(second->isVisible());  // tooltips are in use by default
    second->content()->setIsVisible(true);
    second->setIsVisible(false);  // switching tooltips off takes down the one shown
    EXPECT_FALSE(second->content()->isVisible());
    EXPECT_FALSE(second->isVisible());
    second->content()->setIsVisible(true);
    second->hide();
    EXPECT_FALSE(second->content()->isVisible());
}

namespace {

class RenderedOnlyDelegate : public OmbriChartDelegate {
public:
    unsigned answeredMethods() const override { return Rendered; }
    void rendered(const std::shared_ptr<OmbriChartBase>&) override {}
};

}  // namespace

TEST_F(ChartBaseTest, TheDelegateIsHeldWeaklyUnlessGivenAsStrongAndAnswersOnlyWhatItDeclares) {
    auto delegate = std::make_shared<RenderedOnlyDelegate>();
    chart->setDelegate(delegate);
    EXPECT_EQ(chart->delegateAnswering(OmbriChartDelegate::Rendered), delegate);
    EXPECT_FALSE(chart->delegateAnswering(OmbriChartDelegate::Tapped));
    delegate.reset();
    EXPECT_FALSE(chart->delegate());

    auto kept = std::make_shared<RenderedOnlyDelegate>();
    std::weak_ptr<OmbriChartDelegate> weak = kept;
    chart->setStrongDelegate(std::move(kept));
    EXPECT_FALSE(weak.expired());
    EXPECT_EQ(chart->delegate(), weak.lock());
}

TEST_F(ChartBaseTest, RaisersSendTheControlAndTheTapPoint) {
    std::vector<std::string> seen;
    auto record = [&](const std::string& name) {
        return KivoEventBlock([&, name](const std::shared_ptr<KivoEventContainer>& c) {
            EXPECT_EQ(c->sender(), chart);
            std::string entry = name;
            if (auto p = c->args<KivoPointEventArgs>())
                entry += " " + std::to_string(int(p->point()->x())) + "," + std::to_string(int(p->point()->y()));
            seen.push_back(entry);
        });
    };
    auto owner = std::make_shared<int>();
    chart->chartRendering()->addHandler(record("rendering"), owner);
    chart->chartRendered()->addHandler(record("rendered"), owner);
    chart->chartTapped()->addHandler(record("tapped"), owner);
    chart->raiseChartRendering();
    chart->raiseChartRendered();
    chart->raiseChartTapped(KivoPoint::create(12, 34));
    EXPECT_EQ(seen, (std::vector<std::string>{"rendering", "rendered", "tapped 12,34"}));
}

TEST_F(ChartBaseTest, LookSettersRedrawOnAChangeOnly) {
    const std::vector<std::pair<const char*, std::function<void()>>> setters{
        {"borderColor", [&] { chart->setBorderColor(plat::Color::red()); }},
        {"borderWidth", [&] { chart->setBorderWidth(2); }},
        {"padding",
         [&] {
             chart->setPadding({1, 2, 3, 4});
         }},
        {"plotMargin",
         [&] {
             chart->setPlotMargin({4, 3, 2, 1});
         }},
        {"plotAreaBackgroundColor", [&] { chart->setPlotAreaBackgroundColor(plat::Color::white()); }},
        {"header", [&] { chart->setHeader("Head"); }},
        {"footer", [&] { chart->setFooter("Foot"); }},
        {"headerFont", [&] { chart->setHeaderFont(plat::Font::system(20)); }},
        {"footerTextColor", [&] { chart->setFooterTextColor(plat::Color::blue()); }},
        {"selectedDashes",
         [&] {
             chart->setSelectedDashes({4, 2});
         }},
        {"palette",
         [&] {
             chart->setPalette({plat::Color::red(), plat::Color::green()});
         }},
        {"legend position",
         [&] {
             if (!chart->legend()) chart->setLegend(KivoLegend::create(chart));
             chart->legend()->setPosition(KivoAxisPositionBottom);
         }},
    };
    for (const auto& [name, set] : setters) {
        set();
        chart->invalidates = 0;
        set();
        EXPECT_EQ(chart->invalidates, 0) << name << " unchanged";
    }
    chart->invalidates = 0;
    chart->setBorderWidth(5);
    chart->setHeader(std::nullopt);
    EXPECT_EQ(chart->invalidates, 2);
    // Plain stores: the controls decide what these redraw.
    chart->setChartType(4);
    chart->setSelection(std::make_shared<plat::Object>());
    chart->setTextColor(plat::Color::red());
    EXPECT_EQ(chart->invalidates, 2);

    // Data labels redraw the control they belong to.
    auto label = KivoBaseDataLabel::create();
    label->setChart(chart);
    label->setContent("{x}");
    label->setContent("{x}");
    label->setDataLabelBorderWidth(NAN);  // stored as 0, the default: no change
    label->setDataLabelBorderWidth(-2);
    EXPECT_EQ(chart->invalidates, 3);
    EXPECT_EQ(label->dataLabelBorderWidth(), 0);
}

// ---- Coordinates and palette ----

TEST_F(ChartBaseTest, ControlCoordinatesAreRelativeToTheChartRectangle) {
    display();
    chart->setBounds({10, 20, 300, 200});
    display();
    auto p = chart->toControl(15, 25);
    EXPECT_EQ(p->x(), 5);
    EXPECT_EQ(p->y(), 5);
    EXPECT_FALSE(OmbriChartBase::contains(nullptr, KivoPoint::create(0, 0)));
    EXPECT_FALSE(OmbriChartBase::contains(KivoRect::create(0, 0, 1, 1), nullptr));
    EXPECT_TRUE(OmbriChartBase::contains(KivoRect::create(0, 0, 10, 10), KivoPoint::create(10, 10)));
}

TEST_F(ChartBaseTest, PaletteColoursRepeatAndDeriveLighterAndDarkerShades) {
    chart->setPalette({plat::Color::rgb255(200, 100, 50), plat::Color::rgb255(0, 0, 255)});
    EXPECT_EQ(chart->getColor(2), chart->getColor(0));
    EXPECT_EQ(chart->getColor(-1), chart->getColor(1));
    EXPECT_EQ(chart->getColor(0, 0.25).a, 0.25);
    EXPECT_EQ(chart->getColor(0, 7).a, 1.0);
    EXPECT_EQ(chart->getColor(0, NAN), chart->getColor(0));

    const plat::Color base = chart->getColor(0).withAlpha(0.5);
    const auto dark = OmbriChartBase::darken(base), light = OmbriChartBase::lighten(base, 0.8);
    EXPECT_NEAR(dark.toHSB().hue, base.toHSB().hue, 1e-9);
    EXPECT_LT(dark.toHSB().brightness, base.toHSB().brightness);
    EXPECT_EQ(dark.a, 0.5);
    EXPECT_NEAR(light.toHSB().hue, base.toHSB().hue, 1e-9);
    EXPECT_GT(light.g, base.g);
    EXPECT_EQ(light.a, 0.8);
    EXPECT_EQ(chart->getColorDark(1), OmbriChartBase::darken(chart->getColor(1)));

    chart->setPalette({});
    EXPECT_EQ(chart->palette(), OmbriChartBase::defaultPalette());
    EXPECT_EQ(chart->palette().size(), 10u);
}
