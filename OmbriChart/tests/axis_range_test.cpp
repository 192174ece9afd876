#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoLabelLoadingEventArgs.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/testing/pinned_locale.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double Day = KivoAxis::SecondsPerDay;
constexpr double Jan2024 = 1704067200;     // 2024-01-01 00:00 UTC
constexpr double YearOne = -62135596800;   // 0001-01-01 00:00 UTC
constexpr double Year9999 = 253402214400;  // 9999-12-31 00:00 UTC
constexpr double Largest = std::numeric_limits<double>::max();

class AxisRangeTest : public ::testing::Test {
protected:
    plat::testing::PinnedLocale pinned{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoAxis> axis = chart->axisX();
    std::vector<double> vals;
    std::vector<std::string> lbls;

    // Before any label is measured ten fit along the axis; a pass builds at most a few times that.
    static constexpr std::size_t MostLabels = 4 * 10 + 1;

    void expectFewAscendingLabelsInRange(const char* what) {
        EXPECT_GE(vals.size(), 2u) << what;
        EXPECT_LE(vals.size(), MostLabels) << what;
        EXPECT_EQ(vals.size(), lbls.size()) << what;
        const bool inRange =
            std::all_of(vals.begin(), vals.end(), [this](double v) { return v >= axis->actualMin() && v <= axis->actualMax(); });
        EXPECT_TRUE(inRange) << what;
        EXPECT_TRUE(std::adjacent_find(vals.begin(), vals.end(), std::greater_equal<>()) == vals.end())
            << what << ": not ascending";
    }
};

}  // namespace

TEST_F(AxisRangeTest, ABaseJustAboveOneBuildsOnlyTheLabelsTheAxisCanShow) {
    struct Case {
        double base, max;
    };
    // 1 + 1e-15: stepping the exponent one at a time no longer moves it near the top.
    for (const Case c : {Case{1.0000001, 1000}, Case{1 + 1e-15, 1e300}}) {
        vals.clear();
        lbls.clear();
        axis->setLogBase(c.base);
        axis->updateActualLimits(KivoDataTypeNumber, 1, c.max);
        OmbriChartTestAccess::_createLogarithmicLabels(*axis, vals, lbls);
        expectFewAscendingLabelsInRange(std::to_string(c.base).c_str());
    }
}

TEST_F(AxisRangeTest, TimeLabelsOverTenThousandYearsAreFew) {
    for (const double unit : {std::nan(""), 1.0, 365.0}) {
        vals.clear();
        lbls.clear();
        axis->setMajorUnit(unit);
        axis->updateActualLimits(KivoDataTypeDate, YearOne, Year9999);
        OmbriChartTestAccess::_createTimeLabels(*axis, 0, 0, vals, lbls);
        expectFewAscendingLabelsInRange(("unit " + std::to_string(unit)).c_str());
    }
}

TEST_F(AxisRangeTest, LabelsStopWhereTheStepNoLongerMovesTheValue) {
    OmbriChartTestAccess::_createLabels(*axis, 1e20, 50, 1, vals, lbls);
    EXPECT_EQ(vals, std::vector<double>{1e20});
}

TEST_F(AxisRangeTest, AYearUnitBeyondAnyWholeNumberStepsPastTheRange) {
    // The unit in years does not fit a 64-bit integer: the first 1 January is the only label.
    axis->setFormat("yyyy-MM-dd");
    for (const double unit : {1e300, 1e19 * 365}) {
        vals.clear();
        lbls.clear();
        axis->setMajorUnit(unit);
        axis->updateActualLimits(KivoDataTypeDate, Jan2024 - 1300 * Day, Jan2024);
        OmbriChartTestAccess::_createTimeLabels(*axis, 0, 0, vals, lbls);
        EXPECT_EQ(lbls, std::vector<std::string>{"2021-01-01"}) << "unit " << unit;
    }
}

namespace {

class ChartRangeTest : public ChartInWindowTest<TestChart> {
protected:
    int yLabels = 0;

    void SetUp() override {
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeLine);
        chart->axisY()->labelLoading()->addHandler(
            KivoEventBlock([this](const std::shared_ptr<KivoEventContainer>&) { ++yLabels; }), chart);
        window->addSubview(chart);
    }
    void show(std::vector<double> values) {
        auto items = std::make_shared<plat::Array>();
        for (const double v : values) items->push_back(plat::Value(plat::Dictionary{{"v", v}}));
        chart->setItemsSource(items);
        if (chart->series()->count() == 0) chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", "v")));
        yLabels = 0;
        rec.clear();
        window->display(rec);
    }
};

}  // namespace

TEST_F(ChartRangeTest, DataSpanningAlmostAllDoublesKeepsFiniteLimitsAndPlacesItsPoints) {
    for (const auto& data : {std::vector<double>{-1e308, 1e308}, std::vector<double>{-Largest, 0, Largest}}) {
        show(data);
        const auto& y = chart->axisY();
        EXPECT_TRUE(std::isfinite(y->actualMin()));
        EXPECT_TRUE(std::isfinite(y->actualMax()));
        EXPECT_LE(y->actualMin(), data.front());
        EXPECT_GE(y->actualMax(), data.back());
        // Both ends lie on the plot, the lowest at its bottom edge or above, the highest at its top or below.
        const auto& plot = chart->plotRect();
        ASSERT_TRUE(plot);
        for (const double v : data) {
            const double p = y->convert(v);
            EXPECT_GE(p, plot->top() - 1e-6) << v;
            EXPECT_LE(p, plot->bottom() + 1e-6) << v;
            EXPECT_NEAR(y->convertBack(p), v, std::fabs(v) * 1e-9 + 1e-300) << v;
        }
        EXPECT_LT(y->convert(data.back()), y->convert(data.front()));
        // The axis shows labels for its range.
        EXPECT_GE(yLabels, 2);
    }
}

TEST_F(ChartRangeTest, ATinyMajorUnitBuildsOnlyTheLabelsTheAxisCanShow) {
    chart->axisY()->setMajorUnit(1e-7);
    show({0, 100});
    EXPECT_GE(yLabels, 2);
    EXPECT_LE(yLabels, 4 * OmbriChartTestAccess::_getAnnoNumber(*chart->axisY(), true) + 1);
}
