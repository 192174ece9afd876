// KivoGetAggregate over values read from items: every code on a known list, nil and non-numeric
// values, stability on large offsets, and dotted paths.

#include <gtest/gtest.h>

#include <cmath>

#include "KivoCore/KivoAggregate.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

plat::Array pricedItems(std::initializer_list<double> prices, double offset = 0) {
    plat::Array items;
    for (double p : prices) items.push_back(product("p", p + offset));
    return items;
}

}  // namespace

TEST(KivoAggregate, EveryCodeOnTwoFourFourFourFiveFiveSevenNine) {
    const plat::Array items = pricedItems({2, 4, 4, 4, 5, 5, 7, 9});
    const std::pair<std::int64_t, double> rows[] = {
        {KivoAggregateNone, 0},
        {KivoAggregateSum, 40},
        {KivoAggregateCount, 8},
        {KivoAggregateAverage, 5},
        {KivoAggregateMaximum, 9},
        {KivoAggregateMinimum, 2},
        {KivoAggregateRange, 7},
        {KivoAggregateSampleStandardDeviation, std::sqrt(32.0 / 7)},
        {KivoAggregateSampleVariance, 32.0 / 7},
        {KivoAggregatePopulationStandardDeviation, 2},
        {KivoAggregatePopulationVariance, 4},
        {11, 0},
        {-1, 0},
    };
    for (auto [code, expected] : rows) {
        EXPECT_DOUBLE_EQ(KivoGetAggregate(code, items, "price"), expected) << "code " << code;
        // The same values a billion higher: the spread must not cancel away.
        double shifted = code == KivoAggregateSum || code == KivoAggregateAverage || code == KivoAggregateMaximum ||
                                 code == KivoAggregateMinimum
                             ? expected + (code == KivoAggregateSum ? 8e9 : 1e9)
                             : expected;
        EXPECT_NEAR(KivoGetAggregate(code, pricedItems({2, 4, 4, 4, 5, 5, 7, 9}, 1e9), "price"), shifted, 1e-6)
            << "code " << code << " shifted";
    }
}

TEST(KivoAggregate, NilAndNonNumericValues) {
    auto rated = [](std::optional<double> r) {
        auto p = product("p");
        p->rating = r;
        return plat::Value(p);
    };
    const plat::Array withNils{rated(1), rated(std::nullopt), rated(2), rated(std::nullopt), rated(6), plat::Value()};
    EXPECT_EQ(KivoGetAggregate(KivoAggregateCount, withNils, "rating"), 3);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateAverage, withNils, "rating"), 3) << "divides by the three values";

    const plat::Array extras{plat::Dictionary{{"v", plat::Date(1e9)}}, plat::Dictionary{{"v", plat::Array{1}}},
                             plat::Dictionary{{"v", "12.5kg"}},        plat::Dictionary{{"v", true}},
                             plat::Dictionary{{"v", "n/a"}},           plat::Dictionary{{"v", plat::Value::null()}}};
    EXPECT_EQ(KivoGetAggregate(KivoAggregateSum, extras, "v"), 13.5)
        << "strings by their leading number, Booleans as 1, dates and arrays skipped";
    EXPECT_EQ(KivoGetAggregate(KivoAggregateMaximum, extras, "v"), 12.5);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateCount, extras, "v"), 5) << "every value read counts; null does not";

    EXPECT_EQ(KivoGetAggregate(KivoAggregateSampleVariance, pricedItems({3}), "price"), 0);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateMinimum, plat::Array{}, "price"), 0);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateCount, pricedItems({1, 2}), std::nullopt), 0) << "no path reads nothing";
    EXPECT_EQ(KivoGetAggregate(KivoAggregateSum, plat::ArrayPtr(), "price"), 0);
}

TEST(KivoAggregate, DottedPathsAndGroups) {
    auto order = [](double qty) { return plat::Value(plat::Dictionary{{"line", plat::Dictionary{{"qty", qty}}}}); };
    const plat::Array orders{order(2), order(3)};
    EXPECT_EQ(KivoGetAggregate(KivoAggregateSum, orders, "line.qty"), 5);

    auto view = KivoCollectionView::create(listOf({product("a", 1), product("b", 2), product("a", 3)}));
    view->groupDescriptions()->addObject(std::make_shared<KivoGroupDescription>());
    ASSERT_EQ(view->groups().size(), 2u);
    EXPECT_EQ(view->groups()[0]->getAggregate(KivoAggregateSum, "price"), 4);
}

// Strings count by their leading number; a string without one is no number at all: it is skipped by
// every aggregate of values (it must not drag the minimum or the average towards 0), and Count, which
// counts the values present, still counts it.
TEST(KivoAggregate, StringsWithoutALeadingNumberAreSkipped) {
    plat::Array items;
    for (plat::Value v : {plat::Value(5), plat::Value("n/a"), plat::Value(" 7.5 kg"), plat::Value("pear"), plat::Value("-2e1x"),
                          plat::Value("+.5"), plat::Value("nan"), plat::Value("inf"), plat::Value("1e999"), plat::Value("")})
        items.push_back(plat::Dictionary{{"v", v}});
    EXPECT_EQ(KivoGetAggregate(KivoAggregateSum, items, "v"), -7);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateMinimum, items, "v"), -20);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateMaximum, items, "v"), 7.5);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateAverage, items, "v"), -7.0 / 4);
    EXPECT_EQ(KivoGetAggregate(KivoAggregateCount, items, "v"), 10);

    const plat::Array words{plat::Dictionary{{"v", "n/a"}}, plat::Dictionary{{"v", "pear"}}};
    EXPECT_EQ(KivoGetAggregate(KivoAggregateMinimum, words, "v"), 0) << "no numbers: as with no values";
    EXPECT_EQ(KivoGetAggregate(KivoAggregateAverage, words, "v"), 0);
}
