#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartCore/KivoHitAreas.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double Jan2024 = 1704067200;

plat::Value item(plat::Value x, plat::Value y) { return plat::Value(plat::Dictionary{{"x", std::move(x)}, {"y", std::move(y)}}); }

plat::ArrayPtr items(std::vector<plat::Value> list) { return std::make_shared<plat::Array>(std::move(list)); }

std::string describe(const KivoValues& values) {
    if (!values) return "nil";
    std::string out;
    for (const auto& v : *values) out += (v.isString() ? "'" + v.asString() + "'" : v.description()) + " ";
    return out;
}

class SeriesTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::testing::PinnedLocale pinned{"en_US", "UTC"};
    std::shared_ptr<TestChart> chart = TestChart::create();

    std::shared_ptr<KivoSeries> add(std::optional<std::string> binding = "y", std::optional<std::string> name = std::nullopt) {
        auto s = KivoSeries::create(chart, std::move(binding), std::move(name));
        chart->series()->addObject(plat::Value(s));
        return s;
    }
};

}  // namespace

TEST_F(SeriesTest, ValuesAreReadFromTheListTheChartShows) {
    // A string spelling a number in the current locale's decimal style, one that does not, a missing
    // value and a date, read through the chart's items and through the series' own.
    const auto mixed = [] {
        return items({item(1, 3), item(2, "1,234.5"), item(3, "12abc"), item(4, plat::Value()), item(5, plat::Date(Jan2024))});
    };
    const auto unsorted = [] { return items({item("c", 3), item("a", 1), item("b", 2)}); };
    struct Case {
        const char* name;
        plat::ArrayPtr chartItems, ownItems;
        const char* locale;
        std::function<void(KivoCollectionView&)> view;
        std::int32_t dimension;
        std::vector<plat::Value> expected;
        std::int64_t type;
    };
    const std::vector<Case> cases = {
        {"chart items, en_US", mixed(), nullptr, "en_US", nullptr, 0, {3, 1234.5, "NULL", "NULL", Jan2024}, KivoDataTypeDate},
        {"chart items, de_DE",
         items({item(1, "1.234,5"), item(2, "1,234.5"), item(3, " -7 ")}),
         nullptr,
         "de_DE",
         nullptr,
         0,
         {1234.5, "NULL", -7.0},
         KivoDataTypeString},
        {"own items keep strings",
         nullptr,
         mixed(),
         "en_US",
         nullptr,
         0,
         {3, "1,234.5", "12abc", "NULL", Jan2024},
         KivoDataTypeDate},
        {"a missing last value has no type",
         items({item(1, 5), item(2, plat::Value())}),
         nullptr,
         "en_US",
         nullptr,
         0,
         {5, "NULL"},
         KivoDataTypeNone},
        {"sorted chart view",
         unsorted(),
         nullptr,
         "en_US",
         [](KivoCollectionView& v) {
             v.sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("x", true)));
         },
         0,
         {1, 2, 3},
         KivoDataTypeNumber},
        {"sorted chart view, X",
         unsorted(),
         nullptr,
         "en_US",
         [](KivoCollectionView& v) {
             v.sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("x", true)));
         },
         1,
         {"a", "b", "c"},
         KivoDataTypeString},
        {"filtered chart view",
         unsorted(),
         nullptr,
         "en_US",
         [](KivoCollectionView& v) {
             v.setFilter([](const plat::Value& i) { return i.asDictionary()->at("y").asDouble() > 1; });
         },
         0,
         {3, 2},
         KivoDataTypeNumber},
        {"own items, dates as X",
         nullptr,
         items({item(plat::Date(Jan2024), 1)}),
         "en_US",
         nullptr,
         1,
         {Jan2024},
         KivoDataTypeDate},
    };
    for (const auto& c : cases) {
        plat::Locale::setCurrent(plat::Locale::withIdentifier(c.locale));
        chart = TestChart::create();
        chart->setBindingX("x");
        auto s = add();
        if (c.view) c.view(*chart->collectionView());
        if (c.chartItems) chart->setItemsSource(c.chartItems);
        if (c.ownItems) s->setItemsSource(c.ownItems);
        const auto values = s->getValues(c.dimension);
        EXPECT_EQ(describe(values), describe(std::make_shared<plat::Array>(c.expected))) << c.name;
        EXPECT_EQ(s->getDataType(c.dimension), c.type) << c.name;
    }
}

TEST_F(SeriesTest, WithoutBindingOrItemsThereAreNoValues) {
    auto s = add(std::nullopt);
    EXPECT_EQ(s->getDataType(0), 1);  // before any read
    EXPECT_FALSE(s->getValues(0));    // no binding, no items
    chart->setItemsSource(items({item(1, 2)}));
    EXPECT_FALSE(s->getValues(0));
    EXPECT_EQ(s->getDataType(0), KivoDataTypeNone);
    EXPECT_FALSE(s->getValues(1));  // no X binding
    EXPECT_FALSE(s->getValues(2));

    chart->setBinding("");
    EXPECT_FALSE(s->getValues(0));

    // Own items without any binding: the items themselves.
    chart->setBinding(std::nullopt);
    s->setItemsSource(items({4, 5}));
    EXPECT_EQ(describe(s->getValues(0)), "4 5 ");
}

TEST_F(SeriesTest, KeptValuesAreDroppedByWhatTheyDependOn) {
    chart->setItemsSource(items({item(1, 2)}));
    chart->setBindingX("x");
    auto s = add();
    auto read = [&] {
        s->getValues(0);
        s->getValues(1);
    };
    read();
    const auto kept = s->values();

    s->setColor(plat::Color::red());
    EXPECT_FALSE(s->values());
    EXPECT_TRUE(s->xvalues());
    read();
    const int redraws = chart->invalidates;
    s->setColor(plat::Color::red());  // unchanged
    EXPECT_TRUE(s->values());
    EXPECT_EQ(chart->invalidates, redraws);

    s->setBindingX("x2");
    EXPECT_FALSE(s->xvalues());
    EXPECT_TRUE(s->values());

    // Items edited through the series' own collection view are read again.
    s->setItemsSource(items({item(1, 10)}));
    EXPECT_EQ(describe(s->getValues(0)), "10 ");
    s->collectionView()->addObject(item(2, 20));
    EXPECT_EQ(describe(s->getValues(0)), "10 20 ");
    EXPECT_NE(s->values(), kept);
}

TEST_F(SeriesTest, BindingNamesAreSplitAndTrimmed) {
    auto s = add("high,\t low ,\xC2\xA0open\xE2\x80\x83,, close\n");
    EXPECT_EQ(s->name(), "high,\t low ,\xC2\xA0open\xE2\x80\x83,, close\n");
    const std::vector<std::optional<std::string>> expected{"high", "low", "open", "", "close\n", std::nullopt};
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(s->getBinding(static_cast<std::int64_t>(k)), expected[k]) << k;
    EXPECT_EQ(s->getBinding(-1), std::nullopt);

    auto nameless = KivoSeries::create(chart, std::nullopt, "ignored");
    EXPECT_FALSE(nameless->name());
    EXPECT_FALSE(nameless->getBinding(0));
    chart->setBinding("a, b");
    EXPECT_EQ(nameless->getBinding(1), "b");  // the chart's binding
}

TEST_F(SeriesTest, AnXBindingBecomesTheChartsWhenItHasNone) {
    auto s = add();
    for (const auto& [chartX, expected] : std::vector<std::pair<std::optional<std::string>, std::string>>{
             {std::nullopt, "date"}, {"", "date"}, {"time", "time"}}) {
        chart->setBindingX(chartX);
        s->setBindingX(std::nullopt);
        s->setBindingX("date");
        EXPECT_EQ(chart->bindingX(), expected);
        EXPECT_EQ(s->bindingX(), "date");
    }
}

TEST_F(SeriesTest, ItemsComeFromOneList) {
    chart->setItemsSource(items({item("c", 3), item("a", 1), item("b", 2)}));
    chart->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("x", true)));
    auto s = add();
    EXPECT_EQ(s->getLength(), 3);
    EXPECT_EQ(s->getItem(0).asDictionary()->at("x").asString(), "a");  // as the chart shows them
    EXPECT_TRUE(s->getItem(3).isNil());

    // Own items: only those, also past their end.
    s->setItemsSource(items({item("z", 9)}));
    EXPECT_EQ(s->getLength(), 1);
    EXPECT_EQ(s->getItem(0).asDictionary()->at("x").asString(), "z");
    EXPECT_TRUE(s->getItem(1).isNil());
    EXPECT_EQ(describe(s->getBindingValues(0)), "9 ");

    // No own items left: the chart's again, for the values as for the items.
    s->setItemsSource(items({}));
    EXPECT_EQ(s->getLength(), 3);
    EXPECT_EQ(describe(s->getValues(0)), "1 2 3 ");
}

TEST_F(SeriesTest, ShowingOrHidingOnAnAnimatedChartIsAnnouncedAsAnAddOrARemove) {
    struct Delegate : OmbriChartDelegate {
        unsigned answeredMethods() const override { return SeriesVisibilityChanged; }
        void seriesVisibilityChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<plat::Object>& s) override {
            seen.push_back(s);
        }
        std::vector<std::shared_ptr<plat::Object>> seen;
    };
    auto delegate = std::make_shared<Delegate>();
    chart->setDelegate(delegate);
    add();
    auto s = add();
    // A chart that has drawn with items animates the changes announced to it.
    chart->setItemsSource(items({item(1, 1)}));
    chart->render(chart->renderEngine());
    std::vector<std::shared_ptr<KivoNotifyCollectionChangedEventArgs>> raised;
    chart->series()->collectionChanged()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                         raised.push_back(c->args<KivoNotifyCollectionChangedEventArgs>());
                                                     }),
                                                     chart);

    s->setVisibility(KivoSeriesVisibilityLegend);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0]->action(), KivoNotifyCollectionChangedActionRemove);
    EXPECT_EQ(raised[0]->oldStartingIndex(), 1);
    EXPECT_EQ(raised[0]->startingIndex(), -1);
    ASSERT_TRUE(raised[0]->oldItems());
    EXPECT_EQ(raised[0]->oldItems()->at(0).asObject(), s);
    EXPECT_TRUE(chart->isSeriesVisibilityAnimation());

    s->setVisibility(KivoSeriesVisibilityHidden);  // neither state draws: nothing to animate
    s->setVisibility(KivoSeriesVisibilityVisible);
    ASSERT_EQ(raised.size(), 2u);
    EXPECT_EQ(raised[1]->action(), KivoNotifyCollectionChangedActionAdd);
    EXPECT_EQ(raised[1]->startingIndex(), 1);

    const int redraws = chart->invalidates;
    s->setVisibility(KivoSeriesVisibilityPlot);
    s->setVisibility(KivoSeriesVisibilityPlot);  // unchanged
    EXPECT_EQ(raised.size(), 2u);
    EXPECT_EQ(chart->invalidates, redraws + 1);  // the legend lists it no more
    EXPECT_EQ(delegate->seen.size(), 4u);

    chart->setIsAnimated(false);
    s->setVisibility(KivoSeriesVisibilityHidden);
    EXPECT_EQ(raised.size(), 2u);
    EXPECT_EQ(chart->invalidates, redraws + 2);
}

TEST_F(SeriesTest, NamedAxesAndChartTypeChanges) {
    auto extra = KivoAxis::create(KivoAxisPositionRight, chart);
    extra->setAxisName("volume");
    OmbriChartTestAccess::axesArray(*chart).push_back(extra);
    auto s = add();
    s->setAxisYname("volume");
    EXPECT_EQ(s->axisY(), extra);
    EXPECT_EQ(s->axisYname(), "volume");
    s->setAxisYname("nothing");
    s->setAxisYname("");
    EXPECT_EQ(s->axisY(), extra);

    const int redraws = chart->invalidates;
    s->setChartType(OmbriChartTypeLine);
    s->setChartType(OmbriChartTypeLine);
    EXPECT_EQ(chart->invalidates, redraws + 1);
}

TEST_F(SeriesTest, AHitTestFindsTheNearestAreaOfThatSeriesOnly) {
    auto first = add();
    auto second = add();
    auto tag = KivoChartDataPoint::create();
    tag->setSeriesIndex(1);
    tag->setPointIndex(3);
    auto area = KivoCircleArea::create(KivoPoint::create(50, 40), 5);
    area->setTag(plat::Value(tag));
    chart->hitTester()->add(area, 1);

    const auto hit = second->hitTest(KivoPoint::create(58, 40));  // 3 from the rim
    EXPECT_EQ(hit->dataPoint(), tag);
    EXPECT_EQ(hit->series(), second);
    EXPECT_DOUBLE_EQ(hit->distance(), 3);
    EXPECT_EQ(hit->chartElement(), KivoChartElementPlotArea);

    const auto miss = first->hitTest(50, 40);
    EXPECT_EQ(miss->dataPoint()->seriesIndex(), -1);
    EXPECT_FALSE(miss->series());
}
