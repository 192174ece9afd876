#pragma once
// The render engine: a thin immediate-mode layer over the current drawing context that holds the
// current look (fill, stroke, thickness, text colour, font scaled to the user's text size, opacity,
// dashes) and applies it to each primitive as it is drawn. Use it during a drawing pass.

#include <string>
#include <vector>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

namespace plat {
class Context;
}

class KIVO_CORE_EXPORT KivoRenderEngine : public plat::Object, public IKivoRenderEngine {
public:
    KivoRenderEngine();
    static std::shared_ptr<KivoRenderEngine> create() { return std::make_shared<KivoRenderEngine>(); }

    // The default look, fixed per instance at construction.
    const plat::Color DEFAULT_FILL = plat::Color::clear();
    const plat::Color DEFAULT_STROKE = plat::Color::black();
    const double DEFAULT_THICKNESS = 1.0;
    const plat::Color DEFAULT_TEXTFILL = plat::Color::black();
    const double DEFAULT_FONTSIZE = 12.0;
    const std::string DEFAULT_FONTFAMILY = "HelveticaNeue";
    const plat::Font DEFAULT_FONT = plat::Font("HelveticaNeue", 12.0);
    const double DEFAULT_OPACITY = 1.0;

    // IKivoRenderEngine
    void clear() override {}
    plat::Color getTextFill() const override { return _textFill; }
    void setViewportSize(double, double) override {}
    void setClipRect(double x, double y, double w, double h) override;
    void clearClipRect() override;
    void setFill(std::optional<plat::Color> fill) override { _fill = fill.value_or(DEFAULT_FILL); }
    plat::Color getFill() const override { return _fill; }
    void setStroke(std::optional<plat::Color> stroke) override { _stroke = stroke.value_or(DEFAULT_STROKE); }
    void setStrokeThickness(double thickness) override;
    void setTextFill(std::optional<plat::Color> textFill) override { _textFill = textFill.value_or(DEFAULT_TEXTFILL); }
    void setFont(std::optional<plat::Font> font) override;
    void setOpacity(double opacity) override;
    void setBorderDashes(std::vector<double> dashes) override { _borderDashes = std::move(dashes); }
    void setSelectedDashes(std::vector<double> dashes) override { _selectedDashes = std::move(dashes); }
    void setScale(float scalex, float scaley) override;
    void setPan(float x, float y) override;
    void drawEllipse(double cx, double cy, double rx, double ry) override;
    void drawRect(double x, double y, double w, double h, bool isSelected) override;
    void drawRect(double x, double y, double w, double h) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawLines(std::span<const double> xs, std::span<const double> ys) override;
    void drawSplines(std::span<const double> xs, std::span<const double> ys, bool isRotated) override;
    void drawSplineAreas(std::span<const double> xs, std::span<const double> ys, bool stacked, bool isRotated) override;
    void drawPolygon(std::span<const double> xs, std::span<const double> ys) override;
    void drawPolygonWithMode(const std::vector<std::shared_ptr<KivoPoint>>& points, std::int32_t mode) override;
    void drawRadialGauge(double x, double y, double startX, double startY, double radiusOut, double radiusIn, double startAngle,
                         double endAngle) override;
    std::shared_ptr<plat::Path> drawPieSegment(double cx, double cy, double radius, double startAngle, double sweepAngle,
                                               bool selected) override;
    std::shared_ptr<plat::Path> drawDonutSegment(double cx, double cy, double radius, double innerRadius, double startAngle,
                                                 double sweepAngle, bool selected) override;
    void drawString(const std::string& text, const std::shared_ptr<KivoPoint>& pt) override;
    void drawStringInRect(const std::string& text, const plat::Rect& rect) override;
    void drawStringRotated(const std::string& text, const std::shared_ptr<KivoPoint>& pt,
                           const std::shared_ptr<KivoPoint>& center, double angle) override;
    void drawImage(const std::shared_ptr<const plat::Image>& image, const plat::Rect& rect) override;
    std::shared_ptr<KivoSize> measureString(const std::string& text) override;
    std::shared_ptr<KivoSize> measureString(const std::string& text, double rotated) override;
    void startGroup(const std::string&) override {}
    void endGroup() override {}
    std::shared_ptr<KivoRenderState> saveState() override;
    void restoreState(const std::shared_ptr<KivoRenderState>& state) override;
    plat::Color getStroke() const override { return _stroke; }
    double getStrokeThickness() const override { return _thickness; }

    // Recorded only: no drawing or measuring reads them (text uses font()).
    void setFontSize(double size);
    void setFontFamily(const std::string& family);
    double fontSize() const { return _fontSize; }
    const std::string& fontFamily() const { return _fontFamily; }

    // The font text is drawn and measured with, and the font as last given to setFont.
    const plat::Font& font() const { return _font; }
    const plat::Font& nominalFont() const { return _nominal_font; }
    double opacity() const { return _opacity; }
    const std::vector<double>& borderDashes() const { return _borderDashes; }
    const std::vector<double>& selectedDashes() const { return _selectedDashes; }

    // The factor by which setFont scales a font under a content size category.
    static double fontScaleForContentSizeCategory(const std::string& category);

private:
    // Puts a dash pattern on the context (phase 0); NaN lengths count as 0, an empty list is solid.
    KIVO_CORE_NO_EXPORT void _setContextBorderDashes(plat::Context& context, std::span<const double> dashes);

    // Applies the marked steps of the engine's look to the context, with the given dash pattern.
    KIVO_CORE_NO_EXPORT void applyLook(plat::Context& context, unsigned steps, std::span<const double> dashes);
    // Fills and strokes a pie or doughnut outline: border dashes only when selected, then solid.
    KIVO_CORE_NO_EXPORT void _drawSegment(const plat::Path& path, bool selected);

    plat::Color _fill = DEFAULT_FILL;
    plat::Color _stroke = DEFAULT_STROKE;
    double _thickness = DEFAULT_THICKNESS;
    plat::Color _textFill = DEFAULT_TEXTFILL;
    double _fontSize = DEFAULT_FONTSIZE;
    std::string _fontFamily = DEFAULT_FONTFAMILY;
    plat::Font _font = DEFAULT_FONT;
    plat::Font _nominal_font = DEFAULT_FONT;
    double _opacity = DEFAULT_OPACITY;
    std::vector<double> _borderDashes;
    std::vector<double> _selectedDashes;

    // Each setClipRect's save: the context it went to and that context's depth after it, so a
    // clearClipRect without its pair (or in another pass) cannot undo someone else's state.
    struct ClipSave {
        const plat::Context* context;
        std::size_t depth;
    };
    std::vector<ClipSave> _clipSaves;
};
