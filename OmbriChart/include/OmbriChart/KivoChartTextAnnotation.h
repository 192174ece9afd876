#pragma once
// The annotations that carry a text, painted with the chart's render engine so they match its look.
// A bare text sizes its box to itself; a shape takes the size the application gives and centres its
// text in it, with the ellipse and the rectangle also filling and outlining that box; a polygon's text
// sits at the mean of its corners, which is inside for the convex figures it is meant for.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "OmbriChart/KivoChartAnnotation.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class KIVO_CHART_EXPORT KivoChartTextAnnotation : public KivoChartAnnotation {
public:
    KivoChartTextAnnotation() = default;
    explicit KivoChartTextAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartAnnotation(chart) {}
    static std::shared_ptr<KivoChartTextAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartTextAnnotation>(chart);
    }

    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override;
    // Draws the text centred in the rectangle (at its corner when the rectangle has no area).
    void renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const plat::Rect& rect);

    const std::optional<std::string>& text() const { return _text; }
    void setText(std::optional<std::string> text);
    const plat::Color& textColor() const { return _textColor; }
    void setTextColor(const plat::Color& color);
    // Unset: the render engine's default font.
    const std::optional<plat::Font>& font() const { return _font; }
    void setFont(std::optional<plat::Font> font);

    // The size of the text in the annotation's own font (in the engine's current font when it has
    // none), as the engine will draw it; zero without an engine or a text.
    plat::Size measureText(const std::shared_ptr<IKivoRenderEngine>& engine) const;

private:
    std::optional<std::string> _text;
    plat::Color _textColor = plat::Color::black();
    std::optional<plat::Font> _font;
};

class KIVO_CHART_EXPORT KivoChartShapeAnnotation : public KivoChartTextAnnotation {
public:
    KivoChartShapeAnnotation() = default;
    explicit KivoChartShapeAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartTextAnnotation(chart) {}
    static std::shared_ptr<KivoChartShapeAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartShapeAnnotation>(chart);
    }

    // The fill; clear by default, so that a default shape shows only its outline and its text.
    const plat::Color& color() const { return _color; }
    void setColor(const plat::Color& color);
    const plat::Color& borderColor() const { return _borderColor; }
    void setBorderColor(const plat::Color& color);
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);

    std::shared_ptr<OmbriChart> getChart() const { return chart(); }

protected:
    // Sets the fill, the outline and its width on the engine.
    void applyShapeLook(IKivoRenderEngine& engine) const;
    // Ellipse and rectangle: the figure filling the box, filled then outlined, the text centred in it,
    // and the figure as the hit outline. NO when the box has no area or cannot be placed.
    bool renderBoxFigure(const std::shared_ptr<IKivoRenderEngine>& engine, bool ellipse);

private:
    plat::Color _color = plat::Color::clear();
    plat::Color _borderColor = plat::Color::black();
    double _borderWidth = 1.0;
};

class KIVO_CHART_EXPORT KivoChartEllipseAnnotation : public KivoChartShapeAnnotation {
public:
    KivoChartEllipseAnnotation() = default;
    explicit KivoChartEllipseAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartShapeAnnotation(chart) {}
    static std::shared_ptr<KivoChartEllipseAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartEllipseAnnotation>(chart);
    }
    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override { return renderBoxFigure(engine, true); }
};

class KIVO_CHART_EXPORT KivoChartRectangleAnnotation : public KivoChartShapeAnnotation {
public:
    KivoChartRectangleAnnotation() = default;
    explicit KivoChartRectangleAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartShapeAnnotation(chart) {}
    static std::shared_ptr<KivoChartRectangleAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartRectangleAnnotation>(chart);
    }
    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override { return renderBoxFigure(engine, false); }
};

// A polygon has no box to place, so each of its corners is converted on its own, in whatever space
// the attachment names; attached to a data point, the corners are distances from that point, which is
// why the offset is added there and nowhere else, and why the box position plays no part.
class KIVO_CHART_EXPORT KivoChartPolygonAnnotation : public KivoChartShapeAnnotation {
public:
    using PointList = std::vector<std::shared_ptr<KivoPoint>>;

    KivoChartPolygonAnnotation() = default;
    explicit KivoChartPolygonAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartShapeAnnotation(chart) {}
    static std::shared_ptr<KivoChartPolygonAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartPolygonAnnotation>(chart);
    }

    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    const PointList& points() const { return _points; }
    void setPoints(PointList points);

private:
    // The points placed in chart coordinates; null when the anchor cannot be placed.
    KIVO_CHART_NO_EXPORT std::optional<PointList> _getAbsolutePoints(const PointList& points);

    PointList _points;
};
