// The chart's and the pie's data-label templates with any text, name, format and value. A label is
// its template with every placeholder filled in one left-to-right scan: the text a placeholder brings
// in (a series or slice name may itself look like a placeholder) is never read again. The check fills
// the template itself from each placeholder's own text and compares.
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "OmbriChart/DefaultChartDataLabelRenderer.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/OmbriChartDataLabel.h"
#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieDataLabel.h"
#include "OmbriPie/OmbriPieDataLabelRenderer.h"
#include "fuzz_support.h"

namespace {

using Fill = std::vector<std::pair<std::string, std::string>>;  // placeholder, its text

std::string filledOnce(std::string_view pattern, const Fill& fill) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        bool matched = false;
        for (const auto& [placeholder, text] : fill)
            if (pattern.substr(i, placeholder.size()) == placeholder) {
                out += text;
                i += placeholder.size();
                matched = true;
                break;
            }
        if (!matched) out += pattern[i++];
    }
    return out;
}

void compare(const std::string& actual, const std::string& expected, const std::string& what) {
    if (actual != expected)
        fuzz::fail("a label fills its template in one scan", what + ": \"" + actual + "\" expected \"" + expected + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    const std::int64_t index = static_cast<std::int8_t>(in.byte());
    double value = 0;
    std::uint8_t raw[sizeof value];
    for (auto& b : raw) b = in.byte();
    std::memcpy(&value, raw, sizeof value);
    const std::string format = in.text('\n', 16);
    const std::string name = in.text('\n', 32);
    const std::string pattern = in.text('\n', 96);

    auto chart = OmbriChart::create({0, 0, 300, 200});
    auto chartLabel = OmbriChartDataLabel::create(chart);
    chartLabel->setDataLabelFormat(format);
    const auto chartRenderer = DefaultChartDataLabelRenderer::create(chart, chartLabel);
    auto chartText = [&](const std::string& content) {
        chartLabel->setContent(content);
        return chartRenderer->labelText(name, index, value, -value);
    };
    const Fill chartFill{{"{seriesName}", chartText("{seriesName}")},
                         {"{pointIndex}", chartText("{pointIndex}")},
                         {"{x}", chartText("{x}")},
                         {"{y}", chartText("{y}")}};
    compare(chartText(pattern), filledOnce(pattern, chartFill), "chart template \"" + pattern + "\" name \"" + name + "\"");

    auto pie = OmbriPie::create({0, 0, 300, 300});
    auto pieLabel = OmbriPieDataLabel::create(pie);
    pieLabel->setDataLabelFormat(format);
    const auto pieRenderer = DefaultOmbriPieDataLabelRenderer::create(pie, pieLabel);
    auto pieText = [&](const std::string& content) {
        pieLabel->setContent(content);
        return pieRenderer->labelText(name, index, value);
    };
    const Fill pieFill{{"{name}", pieText("{name}")}, {"{pointIndex}", pieText("{pointIndex}")}, {"{value}", pieText("{value}")}};
    compare(pieText(pattern), filledOnce(pattern, pieFill), "pie template \"" + pattern + "\" name \"" + name + "\"");
    return 0;
}
