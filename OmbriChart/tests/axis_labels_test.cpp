#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double Day = KivoAxis::SecondsPerDay;
constexpr double Jan2024 = 1704067200;  // 2024-01-01 00:00 UTC

// Answers what it was asked, so a test sees the value's kind, the format and the data type.
class EchoFormatter : public IKivoValueFormatter {
public:
    std::optional<std::string> format(const plat::Value& value, const std::string& format) override { return "?"; }
    std::optional<std::string> format(const plat::Value& value, const std::string& format, std::int64_t dataType) override {
        const std::string kind = value.isDate() ? "date " : value.isNumber() ? "number " : "other ";
        return kind + value.description() + " " + format + " " + std::to_string(dataType);
    }
};

class AxisLabelsTest : public ::testing::Test {
protected:
    plat::testing::PinnedLocale pinned{"en_US", "UTC"};  // texts in en_US, dates in UTC
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoAxis> axis = chart->axisX();
    std::vector<double> vals;
    std::vector<std::string> lbls;

    void timeLimits(double lo, double hi) { axis->updateActualLimits(KivoDataTypeDate, lo, hi); }
};

}  // namespace

TEST_F(AxisLabelsTest, AutomaticMajorUnitBeforeAnyLabelIsMeasured) {
    const std::pair<double, double> cases[] = {{100, 20}, {50, 5}, {1, 0.1}, {7, 1}, {20, 4}, {1000, 100}, {0, 0}};
    for (const auto& [range, unit] : cases) {
        for (const auto& a : {chart->axisX(), chart->axisY()}) {
            a->updateActualLimits(KivoDataTypeNumber, 10, 10 + range);
            EXPECT_NEAR(OmbriChartTestAccess::_calcMajorUnit(*a), unit, 1e-12) << "range " << range;
        }
    }
}

TEST_F(AxisLabelsTest, TheLabelCountFollowsTheMeasuredLabelAndTheAxisLength) {
    axis->layout(KivoRect::create(0, 0, 100, 30), nullptr);
    axis->setAnnoSize(KivoSize::create(30, 12));
    EXPECT_EQ(OmbriChartTestAccess::_getAnnoNumber(*axis, false), 3);
    axis->updateActualLimits(KivoDataTypeNumber, 0, 100);
    EXPECT_EQ(OmbriChartTestAccess::_calcMajorUnit(*axis), 50);
    axis->setAnnoSize(KivoSize::create(130, 12));
    EXPECT_EQ(OmbriChartTestAccess::_getAnnoNumber(*axis, false), 1);

    // A Y axis measures heights along its length (handed over in the width).
    const auto& y = chart->axisY();
    y->layout(KivoRect::create(0, 0, 200, 40), nullptr);
    y->setAnnoSize(KivoSize::create(300, 15));
    EXPECT_EQ(OmbriChartTestAccess::_getAnnoNumber(*y, true), 13);
    y->setAnnoSize(KivoSize::create(0, 0));
    EXPECT_EQ(OmbriChartTestAccess::_getAnnoNumber(*y, true), 10);
}

TEST_F(AxisLabelsTest, ASetMajorUnitIsTheResultInDaysOnATimeAxis) {
    axis->updateActualLimits(KivoDataTypeNumber, 0, 100);
    axis->setMajorUnit(0);
    EXPECT_EQ(OmbriChartTestAccess::_calcMajorUnit(*axis), 0);
    timeLimits(Jan2024, Jan2024 + 30 * Day);
    axis->setMajorUnit(7);
    EXPECT_EQ(OmbriChartTestAccess::_calcMajorUnit(*axis), 7 * Day);
    axis->setMajorUnit(NAN);
    EXPECT_EQ(OmbriChartTestAccess::_calcMajorUnit(*axis), Day);
}

TEST_F(AxisLabelsTest, LinearAndLogarithmicLabelsAscendWithTheirTexts) {
    axis->setFormat("F1");
    OmbriChartTestAccess::_createLabels(*axis, 5, 3, 2.5, vals, lbls);
    EXPECT_EQ(vals, (std::vector<double>{5, 7.5, 10}));
    EXPECT_EQ(lbls, (std::vector<std::string>{"5.0", "7.5", "10.0"}));

    vals.clear();
    lbls.clear();
    axis->setFormat("D");
    axis->setLogBase(10.0);
    axis->updateActualLimits(KivoDataTypeNumber, 1, 1000);
    OmbriChartTestAccess::_createLogarithmicLabels(*axis, vals, lbls);
    EXPECT_EQ(vals, (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_EQ(lbls, (std::vector<std::string>{"1", "10", "100", "1000"}));
}

TEST_F(AxisLabelsTest, TimeLabelsStepFromActualMinByTheUnitInDays) {
    axis->setFormat("yyyy-MM-dd HH:mm");
    timeLimits(Jan2024 + Day / 2, Jan2024 + 4 * Day);  // three and a half days from noon
    OmbriChartTestAccess::_createTimeLabels(*axis, 0, 0, vals, lbls);
    EXPECT_EQ(vals, (std::vector<double>{Jan2024 + 0.5 * Day, Jan2024 + 1.5 * Day, Jan2024 + 2.5 * Day, Jan2024 + 3.5 * Day}));
    EXPECT_EQ(lbls.front(), "2024-01-01 12:00");
    EXPECT_EQ(lbls.back(), "2024-01-04 12:00");

    struct Case {
        double unit, from, to;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {7, Jan2024 + Day / 4, Jan2024 + 20 * Day, {"2024-01-01 06:00", "2024-01-08 06:00", "2024-01-15 06:00"}},
        {0, Jan2024, Jan2024 + 2 * Day, {"2024-01-01 00:00", "2024-01-02 00:00", "2024-01-03 00:00"}},  // never a zero step
        {30, Jan2024 + 14 * Day, Jan2024 + 110 * Day, {"2024-02-01 00:00", "2024-03-01 00:00", "2024-04-01 00:00"}},
        {60, Jan2024 + 14 * Day, Jan2024 + 200 * Day, {"2024-02-01 00:00", "2024-04-01 00:00", "2024-06-01 00:00"}},
        {365, Jan2024 - 1300 * Day, Jan2024, {"2021-01-01 00:00", "2022-01-01 00:00", "2023-01-01 00:00", "2024-01-01 00:00"}},
    };
    for (const auto& c : cases) {
        vals.clear();
        lbls.clear();
        axis->setMajorUnit(c.unit);
        timeLimits(c.from, c.to);
        OmbriChartTestAccess::_createTimeLabels(*axis, 0, 0, vals, lbls);
        EXPECT_EQ(lbls, c.expected) << "unit " << c.unit;
    }
}

TEST_F(AxisLabelsTest, FormatValueAsksTheChartsFormatterWithTheAxisFormatAndType) {
    chart->setValueFormatter(std::make_shared<EchoFormatter>());
    axis->setFormat("N2");
    axis->updateActualLimits(KivoDataTypeNumber, 0, 10);
    EXPECT_EQ(axis->formatValue(2.5), "number 2.5 N2 3");
    timeLimits(Jan2024, Jan2024 + Day);
    const std::string date = axis->formatValue(Jan2024);
    EXPECT_TRUE(date.starts_with("date ") && date.ends_with(" N2 5")) << date;

    // Without a formatter of the application's the default one formats.
    chart->setValueFormatter(nullptr);
    axis->updateActualLimits(KivoDataTypeNumber, 0, 10);
    EXPECT_EQ(axis->formatValue(1234.5), "1,234.50");
}
