#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "OmbriChart/KivoNumberDictionary.h"
#include "OmbriChart/KivoSeries.h"
#include "chart_test_access.h"
#include "plotters/MissingValues.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// A dictionary that already holds some keys, for every run to merge into.
KivoNumberDictionary seeded() {
    KivoNumberDictionary d;
    d.add(2, 10);
    d.add(5, -4);
    return d;
}

}  // namespace

TEST(NumberDictionaryRunTest, AddRunMatchesAddingThePairsOneAtATime) {
    const KivoNumberDictionary::Run runs[] = {
        {{1, 1}, {2, 2}, {3, 3}, {4, 4}},                           // ascending
        {{9, 1}, {7, 2}, {5, 3}, {2, 4}, {-1, 5}},                  // strictly descending
        {{9, 1}, {5, 2}, {5, 3}, {2, 4}, {2, -8}},                  // descending with repeated keys
        {{3, 1}, {-0.0, 2}, {3, 4}, {0.0, 8}, {NaN, 16}, {2, 32}},  // any order, 0 and −0 one key, a NaN key
        // Keys of every sign and size, repeated out of order: the values of one key add up in order.
        {{-3.5, 1},
         {1e300, 2},
         {-Inf, 3},
         {0.25, 4},
         {-3.5, 5},
         {Inf, 6},
         {-1e-300, 7},
         {1e300, 8},
         {-Inf, 9},
         {0.25, 10},
         {-2e10, 11},
         {5, 12},
         {-0.0, 13},
         {4.75, 14},
         {-3.5, 15},
         {0.0, 16}},
        {},
    };
    for (const auto& run : runs) {
        KivoNumberDictionary expected = seeded(), actual = seeded();
        std::vector<double> expectedBefore;
        for (const auto& [key, value] : run) {
            expectedBefore.push_back(std::isnan(key) ? 0.0 : expected.valueOr(key, 0));
            expected.add(key, value);
        }
        std::vector<double> before{99};
        actual.addRun(run, before);
        EXPECT_EQ(actual, expected) << "run of " << run.size();
        EXPECT_EQ(before, expectedBefore) << "run of " << run.size();
    }
}

TEST(FilledValuesTest, AgreesWithTheChartsInterpolationAtEveryIndexAndCount) {
    plat::testing::VirtualClock clock;
    const auto chart = TestChart::create();
    const std::vector<plat::Array> lists = {
        {plat::Value(NaN), plat::Value(1), plat::Value("NULL"), plat::Value(Inf), plat::Value(5), plat::Value(NaN),
         plat::Value(-3), plat::Value(), plat::Value(NaN)},
        {plat::Value(NaN), plat::Value("x"), plat::Value(-Inf)},  // nothing valid
        {plat::Value(2)},
        {},
    };
    for (const auto& list : lists) {
        const auto values = std::make_shared<plat::Array>(list);
        const auto size = static_cast<std::int32_t>(list.size());
        for (std::int32_t count = -1; count <= size + 2; ++count) {
            const kivo::detail::FilledValues filled(*kivo::detail::columnOfValues(list), count);
            for (std::int32_t i = 0; i <= size + 1; ++i) {
                double expected = chart->getInterpolatedValue(values, i, count);
                const bool inside = i >= 0 && i < size && list[static_cast<std::size_t>(i)].isNumber();
                const double own = inside ? list[static_cast<std::size_t>(i)].asDouble() : NaN;
                if (std::isfinite(own)) expected = own;
                const double actual = filled.at(i);
                if (std::isnan(expected))
                    EXPECT_TRUE(std::isnan(actual)) << "size " << size << " count " << count << " index " << i;
                else
                    EXPECT_EQ(actual, expected) << "size " << size << " count " << count << " index " << i;
            }
        }
    }
}

namespace {

// Three stacked series over the same points, the items listed in a given order of their X values.
class StackingOrderTest : public ChartInWindowTest<TestChart> {
protected:
    static constexpr int Points = 7;

    // Item k of the ascending order: X 10 k, values that change sign.
    static plat::Value item(int k) {
        const double x = 10.0 * k;
        return plat::Value(
            plat::Dictionary{{"x", x}, {"a", 1.0 + k}, {"b", k % 2 ? -2.0 * k : 3.0}, {"c", 0.5 * k - 1}, {"s", 1.0 + k}});
    }

    // The bounds of everything drawn for the chart with its items in `order`.
    std::vector<std::tuple<double, double, double, double>> draw(std::int64_t type, std::int64_t stacking,
                                                                 const std::vector<int>& order) {
        auto items = std::make_shared<plat::Array>();
        for (const int k : order) items->push_back(item(k));
        chart = TestChart::create();
        chart->setIsAnimated(false);
        chart->setChartType(type);
        chart->setStacking(stacking);
        chart->setBindingX("x");
        chart->setItemsSource(items);
        for (const char* binding : {"a,s", "b,s", "c,s"})
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, binding, binding)));
        window->addSubview(chart);
        rec.clear();
        window->display(rec);
        chart->removeFromSuperview();
        std::vector<std::tuple<double, double, double, double>> bounds;
        for (const auto& op : rec.ops()) {
            if (op.kind != plat::DrawOp::Kind::Fill && op.kind != plat::DrawOp::Kind::Stroke) continue;
            const auto b = op.bounds();
            bounds.emplace_back(b.x(), b.y(), b.width(), b.height());
        }
        std::sort(bounds.begin(), bounds.end());
        return bounds;
    }
};

}  // namespace

TEST_F(StackingOrderTest, StackedSeriesDrawTheSameWhateverTheOrderOfTheirXValues) {
    const std::vector<int> ascending{0, 1, 2, 3, 4, 5, 6}, descending{6, 5, 4, 3, 2, 1, 0}, shuffled{3, 6, 0, 4, 5, 2, 1};
    for (const std::int64_t type :
         {OmbriChartTypeLineSymbols, OmbriChartTypeScatter, OmbriChartTypeBubble, OmbriChartTypeColumn}) {
        for (const std::int64_t stacking : {KivoPlotterStackingStacked, KivoPlotterStackingStacked100}) {
            const auto expected = draw(type, stacking, ascending);
            ASSERT_FALSE(expected.empty());
            const auto sums = OmbriChartTestAccess::stackpos(*chart);
            for (const auto& order : {descending, shuffled}) {
                EXPECT_EQ(draw(type, stacking, order), expected) << "type " << type << " stacking " << stacking;
                EXPECT_EQ(OmbriChartTestAccess::stackpos(*chart), sums) << "type " << type << " stacking " << stacking;
            }
        }
    }
}
