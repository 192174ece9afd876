#pragma once
// A layer that draws a path: filled and/or stroked, with line width, cap, join and dash. Its "path",
// "strokeColor", "fillColor" and "lineWidth" can be animated.

#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/path.h"
#include "Platform/ui/layer.h"

namespace plat {

class PLAT_EXPORT ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> create();

    const Path& path() const { return _path; }
    void setPath(Path path) { _path = std::move(path); }
    // Unset: nothing is filled (or stroked). The fill defaults to opaque black, the stroke to none.
    const std::optional<Color>& fillColor() const { return _fillColor; }
    void setFillColor(std::optional<Color> color) { _fillColor = color; }
    const std::optional<Color>& strokeColor() const { return _strokeColor; }
    void setStrokeColor(std::optional<Color> color) { _strokeColor = color; }
    FillRule fillRule() const { return _fillRule; }
    void setFillRule(FillRule rule) { _fillRule = rule; }
    // Negative or NaN widths are ignored.
    double lineWidth() const { return _lineWidth; }
    void setLineWidth(double width);
    LineCap lineCap() const { return _lineCap; }
    void setLineCap(LineCap cap) { _lineCap = cap; }
    LineJoin lineJoin() const { return _lineJoin; }
    void setLineJoin(LineJoin join) { _lineJoin = join; }
    double miterLimit() const { return _miterLimit; }
    void setMiterLimit(double limit) { _miterLimit = limit; }
    const std::vector<double>& lineDashPattern() const { return _dash; }
    void setLineDashPattern(std::vector<double> dash) { _dash = std::move(dash); }

    std::optional<AnimationValue> modelValue(std::string_view keyPath) const override;
    // What running animations show at the clock's moment `time` (seconds as Clock::ticksAt reads them).
    Path presentationPath(Ticks time) const;
    Path presentationPath(double clockSeconds) const;
    std::optional<Color> presentationStrokeColor(Ticks time) const;
    std::optional<Color> presentationStrokeColor(double clockSeconds) const;
    std::optional<Color> presentationFillColor(Ticks time) const;
    std::optional<Color> presentationFillColor(double clockSeconds) const;

    void drawContent(Context& context, std::optional<Ticks> time) const override;
    // The bounds and the path, with room for its stroke.
    Rect contentExtent(std::optional<Ticks> time) const override;

protected:
    ShapeLayer() = default;

private:
    PLAT_NO_EXPORT std::optional<Color> presentationColor(std::string_view keyPath, const std::optional<Color>& model,
                                                          Ticks time) const;

    Path _path;
    std::optional<Color> _fillColor = Color::black();
    std::optional<Color> _strokeColor;
    FillRule _fillRule = FillRule::NonZero;
    double _lineWidth = 1;
    LineCap _lineCap = LineCap::Butt;
    LineJoin _lineJoin = LineJoin::Miter;
    double _miterLimit = 10;
    std::vector<double> _dash;
};

}  // namespace plat
