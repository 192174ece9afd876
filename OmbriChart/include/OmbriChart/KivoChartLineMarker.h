#pragma once
// The chart's line marker: a vertical line, a horizontal line or both through one point of the plot
// area, drawn by the chart after the series. It keeps the point's position in view points; its x and y
// are that position as data values of the chart's X and Y axes.

#include <cstdint>
#include <limits>
#include <memory>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/color.h"

class OmbriChart;

// Which lines the marker draws.
enum KivoChartMarkerLines : std::int64_t {
    KivoChartMarkerLinesNone = 0,
    KivoChartMarkerLinesVertical = 1,
    KivoChartMarkerLinesHorizontal = 2,
    KivoChartMarkerLinesBoth = 3,
};

class KIVO_CHART_EXPORT KivoChartLineMarker : public plat::Object {
public:
    // For `chart`, held weakly (the chart owns its marker): a vertical grey line 3 wide, hidden, at no
    // position.
    explicit KivoChartLineMarker(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<KivoChartLineMarker> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartLineMarker>(chart);
    }

    // A change redraws the chart.
    std::int64_t lines() const { return _lines; }
    void setLines(std::int64_t lines);
    bool isVisible() const { return _isVisible; }
    void setIsVisible(bool visible);
    // The marker point in the chart view, in points (NaN: not placed). A change redraws the chart.
    double xPosition() const { return _xPosition; }
    double yPosition() const { return _yPosition; }
    void setPosition(double x, double y);
    // The point as data values: x by the chart's X axis, y by its Y axis (NaN without a chart).
    double x() const;
    double y() const;

    // Plain stores.
    double horizontalLineWidth() const { return _horizontalLineWidth; }
    void setHorizontalLineWidth(double width) { _horizontalLineWidth = width; }
    double verticalLineWidth() const { return _verticalLineWidth; }
    void setVerticalLineWidth(double width) { _verticalLineWidth = width; }
    const plat::Color& horizontalLineColor() const { return _horizontalLineColor; }
    void setHorizontalLineColor(const plat::Color& color) { _horizontalLineColor = color; }
    const plat::Color& verticalLineColor() const { return _verticalLineColor; }
    void setVerticalLineColor(const plat::Color& color) { _verticalLineColor = color; }

    static constexpr double DefaultLineWidth = 3.0;
    static plat::Color defaultLineColor() { return plat::Color::rgb255(127, 127, 127); }

private:
    void invalidateChart() const;

    std::weak_ptr<OmbriChart> _chart;
    std::int64_t _lines = KivoChartMarkerLinesVertical;
    bool _isVisible = false;
    double _xPosition = std::numeric_limits<double>::quiet_NaN();
    double _yPosition = std::numeric_limits<double>::quiet_NaN();
    double _horizontalLineWidth = DefaultLineWidth;
    double _verticalLineWidth = DefaultLineWidth;
    plat::Color _horizontalLineColor = defaultLineColor();
    plat::Color _verticalLineColor = defaultLineColor();
};
