// Hit areas of series with missing values: whatever the chart type and wherever the gaps stand, each
// area a tap, a tooltip or a selection finds tells the index and the value of its own item.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "line_test_support.h"

namespace {

class GapHitAreaTest : public LineChartTest {
protected:
    // Every area of the series at `position`, as index → value of the data point it tells.
    std::map<std::int32_t, double> pointsOf(std::int32_t position) const {
        std::map<std::int32_t, double> found;
        const auto& map = chart->hitTester()->getHitTesterMap();
        const auto it = map.find(position);
        if (it == map.end()) return found;
        for (const auto& area : it->second) {
            const auto point = area->tag().as<KivoChartDataPoint>();
            if (!point) {
                ADD_FAILURE() << "an area without its data point";
                continue;
            }
            EXPECT_TRUE(found.emplace(point->pointIndex(), point->value()).second)
                << "two areas of point " << point->pointIndex();
        }
        return found;
    }
};

struct ChartKind {
    const char* name;
    std::int64_t type;
};

struct Gaps {
    const char* where;
    std::vector<double> values;
};

}  // namespace

TEST_F(GapHitAreaTest, EachAreaTellsItsOwnPointsIndexAndValueWhereverTheGapsStand) {
    const ChartKind kinds[] = {
        {"column", OmbriChartTypeColumn},
        {"bar", OmbriChartTypeBar},
        {"scatter", OmbriChartTypeScatter},
        {"line", OmbriChartTypeLine},
        {"line symbols", OmbriChartTypeLineSymbols},
        {"area", OmbriChartTypeArea},
        {"bubble", OmbriChartTypeBubble},
        {"candlestick", OmbriChartTypeCandlestick},
        {"high-low-open-close", OmbriChartTypeHighLowOpenClose},
        {"spline", OmbriChartTypeSpline},
        {"spline symbols", OmbriChartTypeSplineSymbols},
        {"spline area", OmbriChartTypeSplineArea},
    };
    const Gaps gaps[] = {
        {"at the start", {NaN, 10, 20, 30, 40}},
        {"in the middle", {10, 20, NaN, 30, 40}},
        {"at the end", {10, 20, 30, 40, NaN}},
        {"everywhere", {NaN, NaN, 10, 20, NaN, 30, 40, 50, NaN, NaN, 60, NaN}},
    };
    for (const auto& kind : kinds) {
        for (const auto& gap : gaps) {
            SCOPED_TRACE(std::string(kind.name) + ", gaps " + gap.where);
            chart->series()->removeAllObjects();
            chart->setChartType(kind.type);
            chart->setItemsSource(rows({{"a", gap.values}}));
            // A finance mark reads its high, low, open and close from the same member.
            add(kind.type == OmbriChartTypeCandlestick || kind.type == OmbriChartTypeHighLowOpenClose ? "a,a,a,a" : "a", "A");
            draw();
            std::map<std::int32_t, double> expected;
            for (std::size_t i = 0; i < gap.values.size(); ++i)
                if (!std::isnan(gap.values[i])) expected.emplace(static_cast<std::int32_t>(i), gap.values[i]);
            EXPECT_EQ(pointsOf(0), expected);
        }
    }
}
