#pragma once
// Common ground of every drawing an application lays over the plot. Annotations are painted last, so
// they sit over series, legend and axes, and the one painted last is the one a finger finds first.
// This class only turns an anchor (in any of the four attachment systems) into chart coordinates,
// decides whether a pass draws and clips it, and keeps the outline of the last drawing for hit tests;
// the subclasses do the painting.
//
// An annotation holds its chart weakly: one that the application keeps after its chart is gone draws
// nothing, and its setters do nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/path.h"

class IKivoRenderEngine;
class OmbriChart;

// What the anchor point's x and y mean. Any other value takes x and y unchanged, in chart points.
enum KivoAnnotationAttachment : std::int64_t {
    KivoAnnotationAttachmentAbsolute = 0,        // points from the plot area's top-left corner
    KivoAnnotationAttachmentDataCoordinate = 1,  // values of the X and Y axes (days on a time X axis)
    KivoAnnotationAttachmentDataIndex = 2,       // the data point pointIndex of the series seriesIndex
    KivoAnnotationAttachmentRelative = 3,        // fractions of the plot area's width and height
};

// Where the annotation's box lies against the anchor (y grows downwards). Any other value: Center.
enum KivoAnnotationPosition : std::int64_t {
    KivoAnnotationPositionBottom = 0,
    KivoAnnotationPositionCenter = 1,
    KivoAnnotationPositionLeft = 2,
    KivoAnnotationPositionRight = 3,
    KivoAnnotationPositionTop = 4,
};

class KIVO_CHART_EXPORT KivoChartAnnotation : public plat::Object {
public:
    // Without a chart an annotation never draws.
    KivoChartAnnotation() = default;
    explicit KivoChartAnnotation(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<KivoChartAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartAnnotation>(chart);
    }

    // NO without an engine, without a (living) chart, when hidden, and while the chart's load
    // animation runs.
    virtual bool isNeedRender(const std::shared_ptr<IKivoRenderEngine>& engine) const;
    // Draws the annotation; YES when it drew. The base draws nothing.
    virtual bool render(const std::shared_ptr<IKivoRenderEngine>& engine);
    // Where the box starts in chart coordinates once the anchor is placed and the offset added (lines
    // and polygons take the placed point as is). Null means the anchor has no place this pass, so the
    // caller draws nothing. Only a bare text needs the engine, to measure itself.
    virtual std::shared_ptr<KivoPoint> getAbsolutePoint(const std::shared_ptr<KivoPoint>& point, std::int64_t position,
                                                        std::int64_t attachment,
                                                        const std::shared_ptr<IKivoRenderEngine>& engine);
    // Whether the outline saved by the last drawing contains the point (chart coordinates), by the
    // non-zero winding rule.
    virtual bool isContains(const std::shared_ptr<KivoPoint>& point) const;
    // Annotations anchored to data (DataCoordinate, DataIndex) are clipped to the plot area.
    virtual bool isNeedClipRect() const;

    bool isVisible() const { return _isVisible; }
    void setIsVisible(bool visible);
    std::int64_t attachment() const { return _attachment; }
    void setAttachment(std::int64_t attachment);
    std::int64_t position() const { return _position; }
    void setPosition(std::int64_t position);
    std::int32_t pointIndex() const { return _pointIndex; }
    void setPointIndex(std::int32_t index);
    std::int32_t seriesIndex() const { return _seriesIndex; }
    void setSeriesIndex(std::int32_t index);
    // Held, not copied: a change of the object's x or y shows at the next drawing.
    const std::shared_ptr<KivoPoint>& point() const { return _point; }
    void setPoint(std::shared_ptr<KivoPoint> point);
    const std::shared_ptr<KivoPoint>& offset() const { return _offset; }
    void setOffset(std::shared_ptr<KivoPoint> offset);
    double width() const { return _width; }
    void setWidth(double width);
    double height() const { return _height; }
    void setHeight(double height);
    const std::optional<std::string>& tooltipText() const { return _tooltipText; }
    void setTooltipText(std::optional<std::string> text);
    // The hit outline of the last drawing (null before the first).
    const std::shared_ptr<const plat::Path>& path() const { return _path; }
    void setPath(std::shared_ptr<const plat::Path> path);
    // Moves the hit outline only; the drawing is never transformed.
    const plat::AffineTransform& annoTransform() const { return _annoTransform; }
    void setAnnoTransform(const plat::AffineTransform& transform);

protected:
    // The chart while it lives.
    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }
    // The chart this annotation was made for is gone: setters do nothing.
    bool isOrphaned() const { return _hadChart && _chart.expired(); }
    void invalidateChart() const;
    // Stores the outline, every point transformed by annoTransform.
    void replaceHitPath(const plat::Path& outline);

private:
    std::weak_ptr<OmbriChart> _chart;
    bool _hadChart = false;
    bool _isVisible = true;
    std::int64_t _attachment = KivoAnnotationAttachmentAbsolute;
    std::int64_t _position = KivoAnnotationPositionCenter;
    std::int32_t _pointIndex = 0;
    std::int32_t _seriesIndex = 0;
    std::shared_ptr<KivoPoint> _point = KivoPoint::create();
    std::shared_ptr<KivoPoint> _offset = KivoPoint::create();
    double _width = 0;
    double _height = 0;
    std::optional<std::string> _tooltipText;
    std::shared_ptr<const plat::Path> _path;
    plat::AffineTransform _annoTransform = plat::AffineTransform::translation(0, 0);
};
