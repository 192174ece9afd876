#pragma once
// The chart's own data-label renderer: the label's template filled for the point, in a box of the
// label's background, border colour and width, placed against the element's rectangle by the label's
// position and kept inside the plot area.

#include <memory>
#include <string>

#include "OmbriChart/OmbriChartDataLabelRenderer.h"

class KIVO_CHART_EXPORT DefaultChartDataLabelRenderer : public OmbriChartDataLabelRenderer {
public:
    using OmbriChartDataLabelRenderer::OmbriChartDataLabelRenderer;
    static std::shared_ptr<DefaultChartDataLabelRenderer> create(const std::shared_ptr<OmbriChart>& chart,
                                                                 std::shared_ptr<OmbriChartDataLabel> label) {
        return std::make_shared<DefaultChartDataLabelRenderer>(chart, std::move(label));
    }

    // Draws the label as the bubble form does with a bubble size of 0; nothing at position 0.
    void render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex,
                std::int64_t pointIndex, double x, double y, const plat::Value& valueX) override;
    // The series index, X value and bubble size take no part in the default label.
    void render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex,
                std::int64_t pointIndex, double x, double y, const plat::Value& valueX, double bubbleSize) override;

    // The label's template with "{seriesName}", "{pointIndex}", "{x}" and "{y}" filled in, in one scan:
    // text that a placeholder brings in is never read as a placeholder. "{x}" is the chart's category
    // label at the point index when the chart has one there, else x in the label's number format.
    std::string labelText(const std::string& seriesName, std::int64_t pointIndex, double x, double y) const;
};
