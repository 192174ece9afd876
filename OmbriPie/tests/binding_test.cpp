#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "ChartCore/KivoChartTooltip.h"
#include "KivoCore/KivoCollectionView.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/async_semaphore.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "pie_access.h"

using pie_testing::items;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::shared_ptr<OmbriPie> boundPie(const plat::ArrayPtr& source, std::optional<std::string> name = "name") {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    pie->setItemsSource(source);
    pie->setBinding("value");
    pie->setBindingName(std::move(name));
    return pie;
}

}  // namespace

TEST(PieBinding, ReadsSignedValuesAndSumsTheirMagnitudesCountingEverythingElseAsZero) {
    const plat::testing::LogCapture log;  // the missing key is logged
    auto pie = boundPie(items({
        {{"name", "a"}, {"value", 62.7}},
        {{"name", "b"}, {"value", -10.0}},
        {{"name", "c"}, {"value", "62"}},  // digits in a string are not a number
        {{"name", "d"}, {"value", NaN}},
        {{"name", "e"}, {"value", Inf}},
        {{"name", "f"}, {"value", true}},
        {{"name", "g"}},  // no value at all
        {{"name", "h"}, {"value", std::int64_t{5}}},
    }));
    EXPECT_EQ(pie->values(), (std::vector<double>{62.7, -10, 0, 0, 0, 0, 0, 5}));
    EXPECT_DOUBLE_EQ(pie->pieControl()->sum(), 77.7);
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

TEST(PieBinding, WithoutALabelPropertyLabelsAreTheValuesTruncated) {
    const auto source = items({{{"value", 62.7}}, {{"value", -3.9}}, {{"value", "62"}}, {{"value", 1e12}}});
    for (const std::optional<std::string>& name : {std::optional<std::string>(), std::optional<std::string>("")}) {
        auto pie = boundPie(source, name);
        EXPECT_EQ(pie->labels(), (std::vector<std::string>{"62", "-3", "0", "2147483647"})) << name.value_or("(null)");
    }
}

TEST(PieBinding, AnItemWithoutItsLabelValueGetsTheEmptyLabel) {
    const plat::testing::LogCapture log;
    auto pie = boundPie(items({{{"name", "North"}, {"value", 1.0}}, {{"value", 2.0}}}));
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"North", ""}));
}

TEST(PieBinding, NumbersAsLabelsKeepTheirDescription) {
    auto pie = boundPie(items({{{"name", 62.5}, {"value", 1.0}}, {{"name", std::int64_t{7}}, {"value", 1.0}}}));
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"62.5", "7"}));
}

TEST(PieBinding, AnEmptyOrMissingSourceGivesNoSlices) {
    for (const plat::ArrayPtr& source : {std::make_shared<plat::Array>(), plat::ArrayPtr()}) {
        auto pie = boundPie(source);
        EXPECT_TRUE(pie->values().empty());
        EXPECT_TRUE(pie->labels().empty());
        EXPECT_EQ(pie->pieControl()->sum(), 0);
    }
}

TEST(PieBinding, TheBasesSelectionFollowsTheCollectionViewsCurrentItem) {
    auto pie = boundPie(items({{{"value", 1.0}}, {{"value", 2.0}}, {{"value", 3.0}}}));
    EXPECT_EQ(pie->selectionIndex(), pie->collectionView()->currentPosition());
    ASSERT_TRUE(pie->collectionView()->moveCurrentToLast());
    pie->bindChart();
    EXPECT_EQ(pie->selectionIndex(), 2);
}

TEST(PieBinding, BindingSetAfterTheItemsBeforeAnyPassShowsTheValuesAtOnce) {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    pie->setItemsSource(items({{{"value", 4.0}}, {{"value", 6.0}}}));
    EXPECT_EQ(pie->values(), (std::vector<double>{0, 0}));
    pie->setBinding("value");
    EXPECT_EQ(pie->values(), (std::vector<double>{4, 6}));
    EXPECT_EQ(pie->labels(), (std::vector<std::string>{"4", "6"}));
}

TEST(PieBinding, AfterTheFirstLoadABindingChangeGoesThroughTheUpdateRoad) {
    plat::testing::VirtualClock clock;
    auto pie = boundPie(items({{{"value", 4.0}, {"other", 1.0}}, {{"value", 6.0}, {"other", 3.0}}}));
    pie->pieControl()->setFirstLoad(false);
    std::vector<std::int64_t> actions;
    pie->collectionView()->collectionChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            actions.push_back(c->args<KivoNotifyCollectionChangedEventArgs>()->action());
        },
        nullptr);
    pie->setBinding("other");
    EXPECT_EQ(actions, (std::vector<std::int64_t>{KivoNotifyCollectionChangedActionReplace}));
    EXPECT_EQ(pie->values(), (std::vector<double>{4, 6}));  // until the hand-over
    clock.advance(OmbriPie::UpdateHandOverDelay);
    EXPECT_EQ(pie->values(), (std::vector<double>{1, 3}));
}

TEST(PieBinding, CollectionChangesRebindWhenTheyAreHandedOverOneUpdateAtATime) {
    plat::testing::VirtualClock clock;
    auto window = plat::Window::create({0, 0, 400, 300});
    auto source = items({{{"value", 1.0}}, {{"value", 2.0}}});
    auto pie = boundPie(source, std::nullopt);
    window->addSubview(pie);
    plat::RecordingContext rec;
    window->display(rec);
    auto view = pie->collectionView();
    view->addObject(plat::Value(plat::Dictionary{{"value", 5.0}}));
    EXPECT_EQ(pie->values(), (std::vector<double>{1, 2}));
    clock.advance(OmbriPie::UpdateHandOverDelay);
    EXPECT_EQ(pie->values(), (std::vector<double>{1, 2, 5}));

    view->removeAt(0);
    window->display(rec);  // the pass starts the add's animation; the remove waits for its end
    clock.advance(0.5);
    EXPECT_EQ(pie->values().size(), 3u);
    clock.advance(0.6);
    EXPECT_EQ(pie->values(), (std::vector<double>{2, 5}));
    EXPECT_DOUBLE_EQ(pie->pieControl()->sum(), 7);
}

// A pie never drawn has no old pie to animate from and no pass to start an animation: every change is
// handed over as plain data, and the next one is not kept waiting.
TEST(PieBinding, ChangesBeforeTheFirstPassAreTheDataThatPassShows) {
    plat::testing::VirtualClock clock;
    auto pie = boundPie(items({{{"value", 1.0}}, {{"value", 2.0}}}), std::nullopt);
    const auto& view = pie->collectionView();
    const auto& control = *pie->pieControl();
    const auto changeAndWait = [&](const std::function<void()>& change, const std::vector<double>& values) {
        change();
        clock.advance(OmbriPie::UpdateHandOverDelay);
        EXPECT_EQ(pie->values(), values);
        EXPECT_EQ(control.preValues(), values);
        EXPECT_EQ(control.semaphore()->count(), 1);
        EXPECT_FALSE(control.isUpdating());
    };
    changeAndWait([&] { view->addObject(plat::Value(plat::Dictionary{{"value", 5.0}})); }, {1, 2, 5});
    changeAndWait([&] { view->removeAt(0); }, {2, 5});
    changeAndWait([&] { view->replaceObjectAtIndex(0, plat::Value(plat::Dictionary{{"value", 7.0}})); }, {7, 5});

    // The first pass shows them as they are, with nothing left to animate.
    auto window = plat::Window::create({0, 0, 400, 300});
    window->addSubview(pie);
    plat::RecordingContext rec;
    window->display(rec);
    clock.advance(2);
    EXPECT_EQ(pie->values(), (std::vector<double>{7, 5}));
    EXPECT_DOUBLE_EQ(control.sum(), 12);
    EXPECT_FALSE(control.isUpdating());
}

TEST(PieBinding, RebindingHidesTheTooltip) {
    auto pie = boundPie(items({{{"value", 1.0}}}));
    kivo::detail::PieTestAccess::showTooltip(*pie, "x", {1, 1}, nullptr);
    ASSERT_TRUE(pie->tooltip()->content()->isVisible());
    pie->bindChart();
    EXPECT_FALSE(pie->tooltip()->content()->isVisible());
}
