#pragma once
// The chart's line marker: a vertical line, a horizontal line or both through one point of the plot
// area, drawn by the chart after the series, with an application's content view placed beside the
// point. Taps and drags move it (the chart feeds them in); it can snap to the nearest point of one
// series, and it tells the delegate (or, without one that listens, its positionChanged event) where it
// went. It keeps the point's position in view points; its x and y are that position as data values.

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/color.h"

class KivoChartDataPoint;
class KivoChartMarkerBaseView;
class OmbriChart;

// Which lines the marker draws.
enum KivoChartMarkerLines : std::int64_t {
    KivoChartMarkerLinesNone = 0,
    KivoChartMarkerLinesVertical = 1,
    KivoChartMarkerLinesHorizontal = 2,
    KivoChartMarkerLinesBoth = 3,
};

// What touches do to the marker.
enum KivoChartMarkerInteraction : std::int64_t {
    // Nothing moves it, and showAt does nothing.
    KivoChartMarkerInteractionNone = 0,
    // Every tap in the plot area moves it there; dragging its content moves it with the finger.
    KivoChartMarkerInteractionMove = 1,
    // The first tap places it; then it moves by dragging its lines (or, with dragContent, its content).
    KivoChartMarkerInteractionDrag = 2,
};

// Where the content goes beside the marker point.
enum KivoChartMarkerAlignment : std::int64_t {
    // Placed as RightTop; dragged centred under the finger, as RightBottom.
    KivoChartMarkerAlignmentAuto = 0,
    KivoChartMarkerAlignmentRightBottom = 1,
    KivoChartMarkerAlignmentLeftBottom = 2,
    KivoChartMarkerAlignmentRightTop = 3,
    KivoChartMarkerAlignmentLeftTop = 4,
};

class KIVO_CHART_EXPORT KivoChartLineMarker : public plat::Object {
public:
    // For `chart`, held weakly (the chart owns its marker): a vertical grey line 3 wide, hidden, at no
    // position, moved by taps, snapping to the first series.
    explicit KivoChartLineMarker(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<KivoChartLineMarker> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartLineMarker>(chart);
    }

    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }

    // A change redraws the chart.
    std::int64_t lines() const { return _lines; }
    void setLines(std::int64_t lines);
    std::int64_t alignment() const { return _alignment; }
    void setAlignment(std::int64_t alignment);
    // The series whose nearest point the marker snaps to; negative: it stays at the touch.
    std::int32_t seriesIndex() const { return _seriesIndex; }
    void setSeriesIndex(std::int32_t index);
    // A change shows or hides the content (hidden anyway while no data point was found) and redraws.
    bool isVisible() const { return _isVisible; }
    void setIsVisible(bool visible);

    // Plain stores.
    std::int64_t interaction() const { return _interaction; }
    void setInteraction(std::int64_t interaction) { _interaction = interaction; }
    bool dragContent() const { return _dragContent; }
    void setDragContent(bool drag) { _dragContent = drag; }
    double horizontalLineWidth() const { return _horizontalLineWidth; }
    void setHorizontalLineWidth(double width) { _horizontalLineWidth = width; }
    double verticalLineWidth() const { return _verticalLineWidth; }
    void setVerticalLineWidth(double width) { _verticalLineWidth = width; }
    const plat::Color& horizontalLineColor() const { return _horizontalLineColor; }
    void setHorizontalLineColor(const plat::Color& color) { _horizontalLineColor = color; }
    const plat::Color& verticalLineColor() const { return _verticalLineColor; }
    void setVerticalLineColor(const plat::Color& color) { _verticalLineColor = color; }

    // Pins the vertical line (the horizontal one, for the vertical position) at this share of the plot;
    // NaN lets touches move it again, leaving it where it is. A share outside 0…1 would put the line
    // off the plot, so it is ignored; a valid one moves the marker right away.
    double horizontalPosition() const { return _horizontalPosition; }
    void setHorizontalPosition(double fraction);
    double verticalPosition() const { return _verticalPosition; }
    void setVerticalPosition(double fraction);

    // The content view beside the point; a new one is hidden until the next placement.
    const std::shared_ptr<KivoChartMarkerBaseView>& content() const { return _content; }
    void setContent(std::shared_ptr<KivoChartMarkerBaseView> content);

    // The marker point in the chart view, in points (NaN: not placed). A change redraws the chart.
    double xPosition() const { return _xPosition; }
    double yPosition() const { return _yPosition; }
    void setPosition(double x, double y);
    // The point as data values, as the chart's pointToData answers for it: x by axisX, y by axisY
    // (NaN without a chart).
    double x() const;
    double y() const;

    // Moves the marker to the view point (x, y): fixed fractions override the touch, then it snaps to
    // the nearest point of its series, places the content and tells the delegate or raises
    // positionChanged. Nothing happens while it is hidden, not interactive or without content, nor when
    // no data point lies around the point.
    void showAt(double x, double y);
    // Hides the content view; the lines stay.
    void hide();
    // The content's top-left corner for a content of `size` beside the marker point, kept inside the
    // plot area and clear of the lines.
    std::shared_ptr<KivoPoint> calculateContentPosition(const std::shared_ptr<KivoSize>& size) const;

    // The data points found at the last move, one per series with hit areas.
    const std::vector<std::shared_ptr<KivoChartDataPoint>>& dataPoints() const { return _dataPoints; }
    // For listeners without a delegate: a delegate that handles moves takes them, so each move is
    // reported once, by one of the two. The marker is the sender.
    const std::shared_ptr<KivoEvent>& positionChanged() const { return _positionChanged; }
    void setPositionChanged(std::shared_ptr<KivoEvent> event) { _positionChanged = std::move(event); }
    // True until the content has been placed once.
    bool firstShow() const { return _firstShow; }
    // The content is a binding layer's: it should be shown by that layer.
    bool isShowXFContent() const { return _isShowXFContent; }

    static constexpr double DefaultLineWidth = 3.0;
    static plat::Color defaultLineColor() { return plat::Color::rgb255(127, 127, 127); }

protected:
    void _onPositionChanged(const std::shared_ptr<KivoEventArgs>& args);

private:
    KIVO_CHART_NO_EXPORT void invalidateChart() const;
    KIVO_CHART_NO_EXPORT void setFixedPosition(double fraction, bool horizontal);
    // The pixel a fixed fraction puts the marker at, or `pixel` when the fraction is not set.
    KIVO_CHART_NO_EXPORT double fixedX(double pixel) const;
    KIVO_CHART_NO_EXPORT double fixedY(double pixel) const;
    KIVO_CHART_NO_EXPORT void snap(const OmbriChart& chart, double& x, double& y) const;
    KIVO_CHART_NO_EXPORT void placeContent(OmbriChart& chart);
    KIVO_CHART_NO_EXPORT void notify(OmbriChart& chart);

    std::weak_ptr<OmbriChart> _chart;
    std::int64_t _lines = KivoChartMarkerLinesVertical;
    std::int64_t _interaction = KivoChartMarkerInteractionMove;
    std::int64_t _alignment = KivoChartMarkerAlignmentRightBottom;
    bool _dragContent = false;
    bool _isVisible = false;
    double _horizontalPosition = std::numeric_limits<double>::quiet_NaN();
    double _verticalPosition = std::numeric_limits<double>::quiet_NaN();
    double _xPosition = std::numeric_limits<double>::quiet_NaN();
    double _yPosition = std::numeric_limits<double>::quiet_NaN();
    std::int32_t _seriesIndex = 0;
    std::shared_ptr<KivoChartMarkerBaseView> _content;
    double _horizontalLineWidth = DefaultLineWidth;
    double _verticalLineWidth = DefaultLineWidth;
    plat::Color _horizontalLineColor = defaultLineColor();
    plat::Color _verticalLineColor = defaultLineColor();
    std::vector<std::shared_ptr<KivoChartDataPoint>> _dataPoints;
    std::shared_ptr<KivoEvent> _positionChanged = std::make_shared<KivoEvent>();
    bool _firstShow = true;
    bool _isShowXFContent = false;
};
