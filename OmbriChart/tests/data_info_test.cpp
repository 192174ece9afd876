#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/testing/virtual_clock.h"
#include "data/DataInfoInternals.h"
#include "test_chart.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

plat::Value point(plat::Value x, plat::Value y) {
    return plat::Value(plat::Dictionary{{"x", std::move(x)}, {"y", std::move(y)}});
}

class DataInfoTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoDataInfo> info = KivoDataInfo::create();
    plat::Array series;

    // A series over its own items; X values when `xs` is not empty.
    std::shared_ptr<KivoSeries> add(const std::vector<plat::Value>& ys, const std::vector<plat::Value>& xs = {}) {
        auto s = KivoSeries::create(chart, "y", "s");
        auto list = std::make_shared<plat::Array>();
        for (std::size_t i = 0; i < ys.size(); ++i) list->push_back(point(xs.empty() ? plat::Value() : xs[i], ys[i]));
        s->setItemsSource(list);
        if (!xs.empty()) s->setBindingX("x");
        series.push_back(plat::Value(s));
        return s;
    }
    void analyse(std::int64_t stacking = 0, plat::ArrayPtr values = nullptr) { info->analyse(series, stacking, values); }
};

void expectSame(double actual, double expected, const char* what) {
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << what << ": " << actual;
    else
        EXPECT_DOUBLE_EQ(actual, expected) << what;
}

}  // namespace

TEST_F(DataInfoTest, CategoryValuesSpanTheirIndices) {
    add({5, -3, 0});
    analyse();
    EXPECT_EQ(info->getMinX(), 0);
    EXPECT_EQ(info->getMaxX(), 2);
    EXPECT_EQ(info->getMinY(), -3);
    EXPECT_EQ(info->getMaxY(), 5);
    EXPECT_EQ(info->deltaX(), 0);
    // The window spans the items, so the last index drawn is that of the last value.
    EXPECT_EQ(info->count(), 3u);
    EXPECT_EQ(info->getEnd(), 2u);
    EXPECT_EQ(info->getStackedAbsSum(1), 3);
    EXPECT_EQ(*info->getStackAbs().find(1.0), 3);
    EXPECT_EQ(info->getStackedAbsSum(7), 0);  // no value there
    EXPECT_EQ(info->getDataTypeY(), 3);
}

TEST_F(DataInfoTest, AnEmptyValueListSpansNoIndex) {
    // An empty list is not a missing one: the series spans the indices 0 … −1. A binding whose first
    // name is empty reads an empty list over the chart's items.
    chart->setItemsSource(std::make_shared<plat::Array>(plat::Array{point(1, 2)}));
    series.push_back(plat::Value(KivoSeries::create(chart, ",", "s")));
    analyse();
    EXPECT_EQ(info->getMinX(), 0);
    EXPECT_EQ(info->getMaxX(), -1);
    EXPECT_TRUE(std::isnan(info->getMinY()));
}

TEST_F(DataInfoTest, StackingWidensTheValueRange) {
    add({2, 4}, {1, 2});
    add({-2, 4}, {1, 2});
    struct Case {
        std::int64_t stacking;
        double minY, maxY;
    };
    for (const auto& c : {Case{0, -2, 4}, Case{1, -2, 8}, Case{2, -0.5, 1.0}}) {
        analyse(c.stacking);
        EXPECT_DOUBLE_EQ(info->getMinY(), c.minY) << c.stacking;
        EXPECT_DOUBLE_EQ(info->getMaxY(), c.maxY) << c.stacking;
    }
    EXPECT_EQ(info->getStackedAbsSum(1), 4);

    series.clear();
    add({3, 5});
    analyse(2);
    EXPECT_EQ(info->getMinY(), 0);
    EXPECT_EQ(info->getMaxY(), 1.0);
}

TEST_F(DataInfoTest, SumsAndExtremesHoldWhateverTheOrderOfTheXValues) {
    // Each table row is one series; the stacked sums by X and the value range must not depend on the
    // order the items come in (in order, reversed, shuffled, with repeats and with X values missing).
    struct Case {
        const char* name;
        std::vector<plat::Value> xs;
        std::vector<plat::Value> ys;
    };
    const Case cases[] = {
        {"ascending", {1, 2, 3, 4}, {1, -2, 3, -4}},
        {"descending", {4, 3, 2, 1}, {-4, 3, -2, 1}},
        {"shuffled with a repeat", {3, 1, 4, 1}, {3, 1, -4, -2}},
        {"a missing X takes its index", {plat::Value(), 3, 0, 2}, {5, -1, 2, 2}},
    };
    const double expectedSums[][5] = {
        {0, 1, 2, 3, 4},
        {0, 1, 2, 3, 4},
        {0, 3, 0, 3, 4},
        {7, 0, 2, 1, 0},  // the first item lands on X 0 (its index), with the item at X 0
    };
    const double expectedRange[][2] = {{-4, 3}, {-4, 3}, {-4, 3}, {-1, 5}};
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        series.clear();
        add(cases[c].ys, cases[c].xs);
        analyse(1);
        for (int x = 0; x <= 4; ++x) EXPECT_EQ(info->getStackedAbsSum(x), expectedSums[c][x]) << cases[c].name << " at " << x;
        analyse(0);
        EXPECT_EQ(info->getMinY(), expectedRange[c][0]) << cases[c].name;
        EXPECT_EQ(info->getMaxY(), expectedRange[c][1]) << cases[c].name;
    }
}

TEST_F(DataInfoTest, DeltaXIsTheSmallestFiniteGapAboveZero) {
    struct Case {
        const char* name;
        std::vector<plat::Value> xs;
        bool chartLevel;
        double deltaX, minX, maxX;
    };
    const std::vector<Case> cases = {
        {"a repeated X", {0, 1, 1, 4}, false, 1, 0, 4},
        {"ascending", {0, 2, 3}, false, 1, 0, 3},
        {"all equal", {5, 5, 5}, false, 0, 5, 5},
        {"list order, not sorted", {0, 10, 5}, false, 5, 0, 10},
        // Without X values of its own, the series spans its indices 0 … 3 as well.
        {"chart level, an infinity among them", {0, Inf, 1, 2}, true, 1, 0, 3},
        {"series X, infinities skipped", {0, Inf, -Inf, 2, 5}, false, 3, 0, 5},
        {"series X, NaN skipped", {0, NaN, 2, 4}, false, 2, 0, 4},
        {"chart level, text among numbers", {"a", 4, 6}, true, 2, 4, 6},
    };
    for (const auto& c : cases) {
        // A fresh chart: an X binding of one series becomes its chart's.
        chart = TestChart::create();
        series.clear();
        std::vector<plat::Value> ys(c.xs.size(), plat::Value(1));
        if (c.chartLevel) {
            add(ys);
            analyse(0, std::make_shared<plat::Array>(c.xs));
        } else {
            add(ys, c.xs);
            analyse();
        }
        EXPECT_EQ(info->deltaX(), c.deltaX) << c.name;
        EXPECT_EQ(info->getMinX(), c.minX) << c.name;
        EXPECT_EQ(info->getMaxX(), c.maxX) << c.name;
        EXPECT_EQ(info->count(), c.xs.size()) << c.name;
    }
}

TEST_F(DataInfoTest, ValuesThatAreNotFiniteNumbersArePassedOver) {
    add({1, Inf, NaN, -Inf, "7", 4});
    analyse(1);
    EXPECT_EQ(info->getMinY(), 1);
    EXPECT_EQ(info->getMaxY(), 4);
    EXPECT_EQ(info->getStackAbs().size(), 2u);
    EXPECT_EQ(info->getStackedAbsSum(1), 0);
}

TEST_F(DataInfoTest, HiddenSeriesChangeNothing) {
    add({1, 2});
    auto hidden = add({100, -100}, {10, 20});
    hidden->setVisibility(KivoSeriesVisibilityLegend);
    analyse();
    EXPECT_EQ(info->getMaxY(), 2);
    EXPECT_EQ(info->getDataTypeX(), 0);
    EXPECT_EQ(info->getMaxX(), 1);

    series.clear();
    analyse(0, std::make_shared<plat::Array>(plat::Array{1, 2}));  // nothing drawn: chart X values unread
    expectSame(info->getMinX(), NaN, "minX");
    expectSame(info->getMaxY(), NaN, "maxY");
    EXPECT_EQ(info->deltaX(), 0);
}

TEST_F(DataInfoTest, PagingWindow) {
    // X extremes come from the window, Y extremes from every item.
    info->setMaxItems(2);
    add({10, 20, 30}, {1, 2, 3});
    analyse();
    EXPECT_EQ(info->getMinX(), 1);
    EXPECT_EQ(info->getMaxX(), 2);
    EXPECT_EQ(info->deltaX(), 1);
    EXPECT_EQ(info->count(), 3u);
    EXPECT_EQ(info->getMinY(), 10);
    EXPECT_EQ(info->getMaxY(), 30);

    // Moving the window by pages.
    series.clear();
    info->setMaxItems(10);
    add(std::vector<plat::Value>(25, plat::Value(1)), [] {
        std::vector<plat::Value> xs;
        for (int i = 0; i < 25; ++i) xs.emplace_back(i);
        return xs;
    }());
    analyse();
    EXPECT_EQ(info->getPageSize(), 10u);
    EXPECT_EQ(info->getEnd(), 9u);
    EXPECT_FALSE(info->hasLess());
    info->showMore();
    EXPECT_EQ(info->getOrigin(), 10u);
    info->showMore();
    EXPECT_EQ(info->getOrigin(), 15u);  // kept inside the 25 items
    EXPECT_FALSE(info->hasMore());
    info->showMore();
    EXPECT_EQ(info->getOrigin(), 15u);
    analyse();
    EXPECT_EQ(info->getMinX(), 15);
    EXPECT_EQ(info->getMaxX(), 24);
    info->showLess();
    EXPECT_EQ(info->getOrigin(), 5u);
    info->showLess();
    EXPECT_EQ(info->getOrigin(), 0u);

    // No page limit: everything, and no page after it wherever the window starts.
    info->setMaxItems(KivoDataInfo::NoItemLimit);
    EXPECT_EQ(info->getPageSize(), 25u);
    EXPECT_FALSE(info->hasMore());
    info->setMaxItems(10);
    info->showMore();
    info->setMaxItems(KivoDataInfo::NoItemLimit);
    EXPECT_FALSE(info->hasMore());

    auto empty = KivoDataInfo::create();
    EXPECT_EQ(empty->getPageSize(), 0u);
    EXPECT_EQ(empty->getEnd(), std::numeric_limits<std::uint64_t>::max());
}

TEST_F(DataInfoTest, AKeptAnalysisStandsUntilOneOfItsInputsChanges) {
    // The chart's X values with their change counter, as the chart hands them over.
    struct XValues {
        kivo::detail::XListPtr list;
        std::uint64_t generation = kivo::detail::nextGeneration();
    };
    const auto xValues = [](plat::Array values) {
        return XValues{kivo::detail::XValueList::ofValues(std::make_shared<const plat::Array>(std::move(values)))};
    };
    const XValues first = xValues({1, 2}), second = xValues({1, 2});
    const auto keptAnalyse = [&](std::int64_t stacking, const XValues& x) {
        kivo::detail::DataInfoInternals::analyse(*info, series, stacking, x.list, x.generation);
    };
    struct Case {
        const char* what;
        std::function<void()> change;
        std::int64_t stacking;
        bool newX;
        bool kept;
    };
    std::shared_ptr<KivoSeries> s;
    const auto items = [&] { return s->collectionView(); };
    const Case cases[] = {
        {"nothing changed", [] {}, 0, false, true},
        {"an item replaced", [&] { items()->replaceObjectAtIndex(0, point(1, 50)); }, 0, false, false},
        {"an item added", [&] { items()->addObject(point(3, -5)); }, 0, false, false},
        {"an item removed", [&] { items()->removeAt(1); }, 0, false, false},
        {"new items",
         [&] {
             s->setItemsSource(std::make_shared<plat::Array>(plat::Array{point(1, 50), point(2, 20)}));
         },
         0, false, false},
        {"values dropped", [&] { s->clearValues(); }, 0, false, false},
        {"another binding", [&] { s->setBinding("x"); }, 0, false, false},
        {"series hidden", [&] { s->setVisibility(KivoSeriesVisibilityLegend); }, 0, false, false},
        {"series added",
         [&] {
             add({1, 2});
         },
         0, false, false},
        {"stacking", [] {}, 1, false, false},
        {"chart X values", [] {}, 0, true, false},
        {"page size", [&] { info->setMaxItems(1); }, 0, false, false},
        {"result set by hand", [&] { info->setMaxY(3); }, 0, false, false},
    };
    for (const auto& c : cases) {
        series.clear();
        info = KivoDataInfo::create();
        s = add({10, 20}, {1, 2});
        keptAnalyse(0, first);
        const auto runs = kivo::detail::DataInfoInternals::runs(*info);
        c.change();
        const XValues& x = c.newX ? second : first;
        keptAnalyse(c.stacking, x);
        EXPECT_EQ(kivo::detail::DataInfoInternals::runs(*info) == runs, c.kept) << c.what;
        // Kept or not, the results are those of an analysis afresh.
        const auto fresh = KivoDataInfo::create();
        fresh->setMaxItems(info->maxItems());
        fresh->analyse(series, c.stacking, x.list->values());
        expectSame(info->getMinY(), fresh->getMinY(), c.what);
        expectSame(info->getMaxY(), fresh->getMaxY(), c.what);
        expectSame(info->getMaxX(), fresh->getMaxX(), c.what);
        EXPECT_EQ(info->getStackAbs(), fresh->getStackAbs()) << c.what;
    }
}

TEST_F(DataInfoTest, OneSeriesSumsAreWrittenAtTheFirstAskAndAreThoseOfAMergedRun) {
    // Each case's sums against what adding its values one by one gives; a kept analysis then follows
    // a replaced value before anyone asks, and must still give the sums of an analysis afresh.
    struct Case {
        const char* what;
        std::vector<plat::Value> ys, xs;
        bool deferred;
    };
    const Case cases[] = {
        {"rising X values", {4, -2, 7, 1}, {1, 2, 5, 9}, true},
        {"no X values", {4, -2, plat::Value(), 1}, {}, true},
        {"a gap in X keyed by its index", {4, -2, 7, 1}, {-5, plat::Value(), 10, 20}, true},
        {"repeated X values", {4, -2, 7, 1}, {1, 1, 5, 9}, false},
        {"X values out of order", {4, -2, 7, 1}, {9, 1, 5, 2}, false},
    };
    const kivo::detail::XListPtr noX;
    for (const auto& c : cases) {
        series.clear();
        info = KivoDataInfo::create();
        const auto s = add(c.ys, c.xs);
        kivo::detail::DataInfoInternals::analyse(*info, series, 0, noX, 1);
        const std::size_t before = kivo::detail::DataInfoInternals::bytes(*info);
        KivoNumberDictionary expected;
        for (std::size_t k = 0; k < c.ys.size(); ++k) {
            if (!c.ys[k].isNumber()) continue;
            const bool keyed = !c.xs.empty() && c.xs[k].isNumber();
            expected.add(keyed ? c.xs[k].asDouble() : static_cast<double>(k), std::fabs(c.ys[k].asDouble()));
        }
        EXPECT_EQ(info->getStackAbs(), expected) << c.what;
        EXPECT_EQ(kivo::detail::DataInfoInternals::bytes(*info) > before, c.deferred) << c.what;

        // Analysed again, replaced, analysed again, asked only then.
        kivo::detail::DataInfoInternals::analyse(*info, series, 0, noX, 2);
        s->collectionView()->replaceObjectAtIndex(1, point(c.xs.empty() ? plat::Value() : c.xs[1], -30));
        kivo::detail::DataInfoInternals::analyse(*info, series, 0, noX, 2);
        const auto fresh = KivoDataInfo::create();
        fresh->analyse(series, 0, nullptr);
        EXPECT_EQ(info->getStackAbs(), fresh->getStackAbs()) << c.what;
        EXPECT_EQ(info->getMinY(), fresh->getMinY()) << c.what;
        EXPECT_EQ(info->getMaxY(), fresh->getMaxY()) << c.what;
    }
}

TEST(NumberDictionaryTest, KeysAreNumericValuesInAnyOrder) {
    KivoNumberDictionary d;
    for (const auto& [key, value] :
         std::vector<std::pair<double, double>>{{3, 1}, {1, 2}, {3.0, 4}, {2, 8}, {-0.0, 16}, {0.0, 32}, {NaN, 64}})
        d.add(key, value);
    EXPECT_EQ(d.size(), 4u);
    EXPECT_EQ(d.valueOr(3, 0), 5);
    EXPECT_EQ(d.valueOr(0, 0), 48);
    EXPECT_FALSE(d.find(4));
    std::vector<double> keys;
    for (const auto& [key, value] : d) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<double>{0, 1, 2, 3}));

    // A run in any order merges with what is there; the selector filters and changes values.
    KivoNumberDictionary::Run run{{2, -1}, {5, 7}, {NaN, 1}, {2, -3}};
    KivoNumberDictionary::sortByKey(run);
    d.addSortedRun(run, [](double& v) {
        v = std::fabs(v);
        return v < 7;
    });
    EXPECT_EQ(d.valueOr(2, 0), 12);
    EXPECT_FALSE(d.find(5));
    EXPECT_EQ(d.size(), 4u);
}
