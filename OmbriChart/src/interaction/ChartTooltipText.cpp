// OmbriChart: the text of the built-in tooltip for a tapped point, and the facts handed to a delegate
// that draws its own tooltip.

#include <charconv>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

// Two decimals with a point whatever the locale, as the tooltip has always shown its numbers.
std::string twoDecimals(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("nan");
}

// A point without a series name shows an empty name, so what follows keeps its place.
std::string nameOf(const KivoChartDataPoint& point) { return point.seriesName().value_or(std::string()); }

std::string textOf(const plat::Value& value) { return value.isNil() ? std::string() : value.description(); }

bool isFinancial(std::int64_t type) { return type == OmbriChartTypeCandlestick || type == OmbriChartTypeHighLowOpenClose; }

std::string bubbleText(const KivoChartDataPoint& point, const plat::Value& x, const plat::Value& y) {
    return nameOf(point) + "\n" + textOf(x) + " " + textOf(y) + " (" + twoDecimals(point.bubbleSize()) + ")";
}

}  // namespace

std::string OmbriChart::_getTooltipText(std::int64_t chartType, const plat::Value& xValue, const plat::Value& yValue,
                                        const std::shared_ptr<KivoChartDataPoint>& dataPoint,
                                        const std::shared_ptr<KivoSeries>& htSeries) {
    const KivoChartDataPoint empty;
    const auto& point = dataPoint ? *dataPoint : empty;
    std::string text;
    if (isFinancial(chartType)) {
        text = nameOf(point);
        const std::pair<const char*, double> lines[] = {
            {"H: ", point.high()}, {"L: ", point.low()}, {"O: ", point.open()}, {"C: ", point.close()}};
        for (const auto& [label, value] : lines) {
            if (!text.empty()) text += "\n";
            text += label + twoDecimals(value);
        }
    } else if (chartType == OmbriChartTypeBubble) {
        text = bubbleText(point, xValue, yValue);
    } else {
        text = nameOf(point) + "\n" + textOf(xValue) + " " + textOf(yValue);
    }
    // A bubble series shows its size on a chart of any type.
    if (htSeries && htSeries->chartType() == OmbriChartTypeBubble) text = bubbleText(point, xValue, yValue);
    return text;
}

plat::ArrayPtr OmbriChart::_getCustomizedTooltipData(std::int64_t chartType, const plat::Value& xValue, const plat::Value& yValue,
                                                     const std::shared_ptr<KivoChartDataPoint>& dataPoint) {
    const KivoChartDataPoint empty;
    const auto& point = dataPoint ? *dataPoint : empty;
    auto data = std::make_shared<plat::Array>();
    // The size the default text would take, for the application to size its own tooltip by.
    const auto& engine = renderEngine();
    const auto size = engine ? engine->measureString(nameOf(point) + "\n" + textOf(xValue) + " " + textOf(yValue)) : nullptr;
    data->emplace_back(size ? size->width() : 0.0);
    data->emplace_back(size ? size->height() : 0.0);
    data->emplace_back(chartType);
    data->emplace_back(nameOf(point));
    data->emplace_back(static_cast<std::int64_t>(point.seriesIndex()));
    data->emplace_back(static_cast<std::int64_t>(point.pointIndex()));
    if (!yValue.isNil()) data->push_back(yValue);
    if (!xValue.isNil()) data->push_back(xValue);
    if (isFinancial(chartType)) {
        for (const double v : {point.high(), point.low(), point.open(), point.close()}) data->emplace_back(v);
    } else if (chartType == OmbriChartTypeBubble) {
        data->emplace_back(point.bubbleSize());
    }
    return data;
}
