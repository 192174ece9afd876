// A series subclass that answers getValues itself: the analysis and the plotters take its answer, not
// the values of the items; a subclass that leaves getValues alone reads the items as any series does.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/testing/virtual_clock.h"
#include "data/DataInfoInternals.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// NaN stands for the placeholder of a missing value.
plat::ArrayPtr numbers(const std::vector<double>& values) {
    auto list = std::make_shared<plat::Array>();
    for (const double v : values) list->push_back(std::isnan(v) ? plat::Value(KivoSeries::NullValue) : plat::Value(v));
    return list;
}

// Answers `ownY` for the Y values (when set) and the items' reading for the rest.
class OwnValuesSeries : public KivoSeries {
public:
    using KivoSeries::KivoSeries;
    std::optional<KivoValues> ownY;
    KivoValues getValues(std::int32_t dimension) override {
        if (dimension == 0 && ownY) return *ownY;
        return KivoSeries::getValues(dimension);
    }
};

// Items with Y under "y".
plat::ArrayPtr items(const std::vector<double>& ys) {
    auto list = std::make_shared<plat::Array>();
    for (const double y : ys) list->push_back(plat::Value(plat::Dictionary{{"y", y}}));
    return list;
}

class SeriesOwnValuesTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoDataInfo> info = KivoDataInfo::create();
    std::shared_ptr<OwnValuesSeries> series = std::make_shared<OwnValuesSeries>(chart, "y", "s");

    // Kept while nothing it reads changes.
    void analyse() { kivo::detail::DataInfoInternals::analyse(*info, plat::Array{plat::Value(series)}, 0, nullptr, 1); }
    void expectRange(double minX, double maxX, double minY, double maxY) {
        const auto same = [](double actual, double expected, const char* what) {
            if (std::isnan(expected))
                EXPECT_TRUE(std::isnan(actual)) << what << ": " << actual;
            else
                EXPECT_DOUBLE_EQ(actual, expected) << what;
        };
        same(info->getMinX(), minX, "minX");
        same(info->getMaxX(), maxX, "maxX");
        same(info->getMinY(), minY, "minY");
        same(info->getMaxY(), maxY, "maxY");
    }
};

}  // namespace

TEST_F(SeriesOwnValuesTest, TheAnalysisTakesTheValuesTheSubclassAnswers) {
    struct Case {
        const char* what;
        std::vector<double> items;  // empty: no items at all
        std::optional<std::vector<double>> own;
        double minX, maxX, minY, maxY;
    };
    const Case cases[] = {
        {"own values, no items", {}, std::vector<double>{4, -2, 9}, 0, 2, -2, 9},
        {"own values over the items'", {100, 200}, std::vector<double>{4, -2, 9}, 0, 2, -2, 9},
        {"an empty answer over the items'", {100, 200}, std::vector<double>{}, 0, -1, NaN, NaN},
        {"getValues left alone", {100, 200}, std::nullopt, 0, 1, 100, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        series = std::make_shared<OwnValuesSeries>(chart, "y", "s");
        if (!c.items.empty()) series->setItemsSource(items(c.items));
        if (c.own) series->ownY = numbers(*c.own);
        analyse();
        expectRange(c.minX, c.maxX, c.minY, c.maxY);
    }
}

TEST_F(SeriesOwnValuesTest, ANewAnswerIsAnalysedAgainAndTheSameOneIsKept) {
    series->setItemsSource(items({1, 2, 3}));
    series->ownY = numbers({5, 6});
    analyse();
    expectRange(0, 1, 5, 6);
    const auto runs = kivo::detail::DataInfoInternals::runs(*info);
    analyse();
    EXPECT_EQ(kivo::detail::DataInfoInternals::runs(*info), runs) << "the same answer: the analysis is kept";
    series->ownY = numbers({-7, 6, 8, 1});
    analyse();
    expectRange(0, 3, -7, 8);
    // Back to the items' own values.
    series->ownY.reset();
    analyse();
    expectRange(0, 2, 1, 3);
}

TEST_F(SeriesOwnValuesTest, TheChartDrawsThePointsTheSubclassAnswers) {
    auto window = plat::Window::create({0, 0, 400, 300});
    chart->setIsAnimated(false);
    chart->setChartType(OmbriChartTypeLineSymbols);
    chart->legend()->setPosition(KivoAxisPositionNone);
    chart->setItemsSource(items({100, 200, 300}));
    series->ownY = numbers({4, NaN, 9});
    chart->series()->addObject(plat::Value(std::static_pointer_cast<KivoSeries>(series)));
    window->addSubview(chart);
    plat::RecordingContext rec;
    chart->invalidate();
    window->display(rec);
    std::map<std::int32_t, double> drawn;
    for (const auto& area : chart->hitTester()->getHitTesterMap().at(0))
        if (const auto point = area->tag().as<KivoChartDataPoint>()) drawn.emplace(point->pointIndex(), point->value());
    EXPECT_EQ(drawn, (std::map<std::int32_t, double>{{0, 4}, {2, 9}}));
    EXPECT_LE(chart->axisY()->actualMax(), 100) << "the items' values are not the series'";
    EXPECT_GE(chart->axisY()->actualMax(), 9);
}
