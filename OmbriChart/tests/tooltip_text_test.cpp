#include <gtest/gtest.h>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/testing/pinned_locale.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

std::shared_ptr<KivoChartDataPoint> point(std::optional<std::string> name, std::int32_t series = 0, std::int32_t index = 0) {
    auto p = KivoChartDataPoint::create();
    p->setSeriesName(std::move(name));
    p->setSeriesIndex(series);
    p->setPointIndex(index);
    return p;
}

}  // namespace

class TooltipTextTest : public ::testing::Test {
protected:
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::string text(std::int64_t type, const plat::Value& x, const plat::Value& y, const std::shared_ptr<KivoChartDataPoint>& p,
                     const std::shared_ptr<KivoSeries>& series = nullptr) {
        return OmbriChartTestAccess::_getTooltipText(*chart, type, x, y, p, series);
    }
    plat::ArrayPtr data(std::int64_t type, const plat::Value& x, const plat::Value& y,
                        const std::shared_ptr<KivoChartDataPoint>& p) {
        return OmbriChartTestAccess::_getCustomizedTooltipData(*chart, type, x, y, p);
    }
};

TEST_F(TooltipTextTest, TheTextByChartType) {
    auto candle = point(std::nullopt);
    candle->setHigh(10);
    candle->setLow(5);
    candle->setOpen(6);
    candle->setClose(9);
    auto named = point("Sales");
    named->setHigh(1.005);
    auto bubble = point("Sales");
    bubble->setBubbleSize(3.14159);
    auto lineSeries = KivoSeries::create(chart, "sales", "Sales");
    lineSeries->setChartType(OmbriChartTypeBubble);

    EXPECT_EQ(text(OmbriChartTypeColumn, plat::Value("Germany"), plat::Value("1,234.5"), named), "Sales\nGermany 1,234.5");
    EXPECT_EQ(text(OmbriChartTypeLine, plat::Value(2.5), plat::Value("7"), named), "Sales\n2.5 7");
    EXPECT_EQ(text(OmbriChartTypeCandlestick, plat::Value("a"), plat::Value("b"), candle), "H: 10.00\nL: 5.00\nO: 6.00\nC: 9.00");
    EXPECT_EQ(text(OmbriChartTypeHighLowOpenClose, plat::Value("a"), plat::Value("b"), named).substr(0, 15), "Sales\nH: 1.00\nL");
    EXPECT_EQ(text(OmbriChartTypeBubble, plat::Value("Germany"), plat::Value("12"), bubble), "Sales\nGermany 12 (3.14)");
    // A bubble series brings its size to a chart of another type.
    EXPECT_EQ(text(OmbriChartTypeColumn, plat::Value("Germany"), plat::Value("12"), bubble, lineSeries),
              "Sales\nGermany 12 (3.14)");
    // A point without a series name: an empty first line.
    EXPECT_EQ(text(OmbriChartTypeColumn, plat::Value("Germany"), plat::Value("12"), point(std::nullopt)), "\nGermany 12");
    {
        plat::testing::PinnedLocale pinned("de_DE", "Europe/Berlin");
        EXPECT_EQ(text(OmbriChartTypeCandlestick, plat::Value(), plat::Value(), candle).substr(0, 8), "H: 10.00");
    }
}

TEST_F(TooltipTextTest, TheFactsForACustomisedTooltipKeepTheirPlaces) {
    auto financial = point("Shares", 1, 4);
    financial->setHigh(10);
    financial->setLow(5);
    financial->setOpen(6);
    financial->setClose(9);
    auto bubble = point("Sales", 2, 3);
    bubble->setBubbleSize(3.5);

    auto d = data(OmbriChartTypeColumn, plat::Value("Germany"), plat::Value("12"), point("Sales", 0, 1));
    ASSERT_EQ(d->size(), 8u);
    EXPECT_GT((*d)[0].asDouble(), 0);  // width and height of the default text
    EXPECT_GT((*d)[1].asDouble(), 0);
    EXPECT_EQ((*d)[2].asInteger(), OmbriChartTypeColumn);
    EXPECT_EQ((*d)[3].asString(), "Sales");
    EXPECT_EQ((*d)[4].asInteger(), 0);
    EXPECT_EQ((*d)[5].asInteger(), 1);
    EXPECT_EQ((*d)[6].asString(), "12");  // Y before X
    EXPECT_EQ((*d)[7].asString(), "Germany");

    d = data(OmbriChartTypeCandlestick, plat::Value("Mon"), plat::Value("9"), financial);
    ASSERT_EQ(d->size(), 12u);
    EXPECT_EQ((*d)[8].asDouble(), 10);
    EXPECT_EQ((*d)[11].asDouble(), 9);

    d = data(OmbriChartTypeBubble, plat::Value("Germany"), plat::Value("12"), bubble);
    ASSERT_EQ(d->size(), 9u);
    EXPECT_EQ((*d)[8].asDouble(), 3.5);

    // A missing name keeps its place as an empty text; a missing X moves what follows up.
    d = data(OmbriChartTypeBubble, plat::Value(), plat::Value("12"), point(std::nullopt));
    ASSERT_EQ(d->size(), 8u);
    EXPECT_TRUE((*d)[3].isString());
    EXPECT_EQ((*d)[3].asString(), "");
    EXPECT_EQ((*d)[6].asString(), "12");
    EXPECT_EQ((*d)[7].asDouble(), 0);  // the bubble size
}
