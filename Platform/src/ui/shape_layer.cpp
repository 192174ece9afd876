#include "Platform/ui/shape_layer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Platform/runtime/clock.h"

namespace plat {

std::shared_ptr<ShapeLayer> ShapeLayer::create() { return std::shared_ptr<ShapeLayer>(new ShapeLayer()); }

void ShapeLayer::setLineWidth(double width) {
    if (width >= 0) _lineWidth = width;  // NaN fails the test
}

std::optional<AnimationValue> ShapeLayer::modelValue(std::string_view keyPath) const {
    if (keyPath == "path") return _path;
    // A colour that is not set animates as clear.
    if (keyPath == "strokeColor") return _strokeColor.value_or(Color::clear());
    if (keyPath == "fillColor") return _fillColor.value_or(Color::clear());
    if (keyPath == "lineWidth") return _lineWidth;
    return Layer::modelValue(keyPath);
}

Path ShapeLayer::presentationPath(Ticks time) const {
    if (!isAnimating("path")) return _path;
    auto v = presentationValue("path", time);
    Path* p = v ? std::get_if<Path>(&*v) : nullptr;
    return p ? std::move(*p) : _path;
}

std::optional<Color> ShapeLayer::presentationColor(std::string_view keyPath, const std::optional<Color>& model,
                                                   Ticks time) const {
    if (!isAnimating(keyPath)) return model;
    auto v = presentationValue(keyPath, time);
    const Color* c = v ? std::get_if<Color>(&*v) : nullptr;
    return c ? std::optional<Color>(*c) : model;
}

std::optional<Color> ShapeLayer::presentationStrokeColor(Ticks time) const {
    return presentationColor("strokeColor", _strokeColor, time);
}
std::optional<Color> ShapeLayer::presentationFillColor(Ticks time) const {
    return presentationColor("fillColor", _fillColor, time);
}

Path ShapeLayer::presentationPath(double clockSeconds) const { return presentationPath(Clock::ticksAt(clockSeconds)); }
std::optional<Color> ShapeLayer::presentationStrokeColor(double clockSeconds) const {
    return presentationStrokeColor(Clock::ticksAt(clockSeconds));
}
std::optional<Color> ShapeLayer::presentationFillColor(double clockSeconds) const {
    return presentationFillColor(Clock::ticksAt(clockSeconds));
}

void ShapeLayer::drawContent(Context& context, std::optional<Ticks> time) const {
    const Path path = time ? presentationPath(*time) : _path;
    if (path.isEmpty()) return;
    const auto fill = time ? presentationFillColor(*time) : _fillColor;
    const auto stroke = time ? presentationStrokeColor(*time) : _strokeColor;
    double width = _lineWidth;
    if (time && isAnimating("lineWidth")) {
        auto v = presentationValue("lineWidth", *time);
        if (const double* d = v ? std::get_if<double>(&*v) : nullptr) width = std::max(0.0, *d);
    }

    if (fill && !fill->isClear()) {
        context.setFillColor(*fill);
        context.fillPath(path, _fillRule);
    }
    if (stroke && !stroke->isClear() && width > 0) {
        context.setStrokeColor(*stroke);
        context.setLineWidth(width);
        context.setLineCap(_lineCap);
        context.setLineJoin(_lineJoin);
        context.setMiterLimit(_miterLimit);
        context.setLineDash(0, std::span<const double>(_dash.data(), _dash.size()));
        context.strokePath(path);
    }
}

Rect ShapeLayer::contentExtent(std::optional<Ticks> time) const {
    const Path path = time ? presentationPath(*time) : _path;
    Rect extent = Layer::contentExtent(time);
    if (path.isEmpty()) return extent;
    double width = _lineWidth;
    if (time && isAnimating("lineWidth")) {
        auto v = presentationValue("lineWidth", *time);
        if (const double* d = v ? std::get_if<double>(&*v) : nullptr) width = std::max(width, *d);
    }
    // A stroke (there may be one, animated in) reaches half its width out, further at mitred corners
    // and square caps.
    const double reach = width / 2 * std::max(_miterLimit, std::numbers::sqrt2);
    return extent.united(path.bounds().insetBy(-reach, -reach));
}

}  // namespace plat
