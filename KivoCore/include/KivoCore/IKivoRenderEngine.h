#pragma once
// The render-engine interface: what a control draws on; the charts get theirs from their common base
// class. Colours, fonts, rectangles, paths and images are the platform's types. An empty optional
// means "not set"; an empty dash list draws a solid line.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoGeometry.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/graphics/path.h"

namespace plat {
class Image;
}
class KivoRenderState;

class KIVO_CORE_EXPORT IKivoRenderEngine {
public:
    virtual ~IKivoRenderEngine() = default;

    virtual void clear() = 0;
    virtual plat::Color getTextFill() const = 0;
    virtual void setViewportSize(double width, double height) = 0;
    virtual void setClipRect(double x, double y, double w, double h) = 0;
    virtual void clearClipRect() = 0;
    virtual void setFill(std::optional<plat::Color> fill) = 0;
    virtual plat::Color getFill() const = 0;
    virtual void setStroke(std::optional<plat::Color> stroke) = 0;
    virtual void setStrokeThickness(double thickness) = 0;
    virtual void setTextFill(std::optional<plat::Color> textFill) = 0;
    virtual void setFont(std::optional<plat::Font> font) = 0;
    virtual void setOpacity(double opacity) = 0;
    virtual void setBorderDashes(std::vector<double> dashes) = 0;
    virtual void setSelectedDashes(std::vector<double> dashes) = 0;
    virtual void setScale(float scalex, float scaley) = 0;
    virtual void setPan(float x, float y) = 0;
    virtual void drawEllipse(double cx, double cy, double rx, double ry) = 0;
    virtual void drawRect(double x, double y, double w, double h, bool isSelected) = 0;
    virtual void drawRect(double x, double y, double w, double h) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void drawLines(std::span<const double> xs, std::span<const double> ys) = 0;
    virtual void drawSplines(std::span<const double> xs, std::span<const double> ys, bool isRotated) = 0;
    virtual void drawSplineAreas(std::span<const double> xs, std::span<const double> ys, bool stacked, bool isRotated) = 0;
    virtual void drawPolygon(std::span<const double> xs, std::span<const double> ys) = 0;
    virtual void drawPolygonWithMode(const std::vector<std::shared_ptr<KivoPoint>>& points, std::int32_t mode) = 0;
    virtual void drawRadialGauge(double x, double y, double startX, double startY, double radiusOut, double radiusIn,
                                 double startAngle, double endAngle) = 0;
    virtual std::shared_ptr<plat::Path> drawPieSegment(double cx, double cy, double radius, double startAngle, double sweepAngle,
                                                       bool selected) = 0;
    virtual std::shared_ptr<plat::Path> drawDonutSegment(double cx, double cy, double radius, double innerRadius,
                                                         double startAngle, double sweepAngle, bool selected) = 0;
    virtual void drawString(const std::string& text, const std::shared_ptr<KivoPoint>& pt) = 0;
    virtual void drawStringInRect(const std::string& text, const plat::Rect& rect) = 0;
    virtual void drawStringRotated(const std::string& text, const std::shared_ptr<KivoPoint>& pt,
                                   const std::shared_ptr<KivoPoint>& center, double angle) = 0;
    virtual void drawImage(const std::shared_ptr<const plat::Image>& image, const plat::Rect& rect) = 0;
    virtual std::shared_ptr<KivoSize> measureString(const std::string& text) = 0;
    virtual std::shared_ptr<KivoSize> measureString(const std::string& text, double rotated) = 0;
    virtual void startGroup(const std::string& name) = 0;
    virtual void endGroup() = 0;
    virtual std::shared_ptr<KivoRenderState> saveState() = 0;
    virtual void restoreState(const std::shared_ptr<KivoRenderState>& state) = 0;
    virtual plat::Color getStroke() const = 0;
    virtual double getStrokeThickness() const = 0;
};
