#pragma once
// One saved look of a render engine (fill, stroke, thickness, opacity, border dashes, font), made
// by saveState() and put back by restoreState(). A plain record: the caller keeps it.

#include <cmath>
#include <optional>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class KIVO_CORE_EXPORT KivoRenderState : public plat::Object {
public:
    // Unset colours and font, and NaN numbers, restore the engine's defaults.
    KivoRenderState() = default;

    const std::optional<plat::Color>& fill() const { return _fill; }
    void setFill(std::optional<plat::Color> fill) { _fill = fill; }
    const std::optional<plat::Color>& stroke() const { return _stroke; }
    void setStroke(std::optional<plat::Color> stroke) { _stroke = stroke; }
    double strokeThickness() const { return _strokeThickness; }
    void setStrokeThickness(double thickness) { _strokeThickness = thickness; }
    double opacity() const { return _opacity; }
    void setOpacity(double opacity) { _opacity = opacity; }
    const std::vector<double>& borderDashes() const { return _borderDashes; }
    void setBorderDashes(std::vector<double> dashes) { _borderDashes = std::move(dashes); }
    const std::optional<plat::Font>& font() const { return _font; }
    void setFont(std::optional<plat::Font> font) { _font = std::move(font); }

private:
    std::optional<plat::Color> _fill;
    std::optional<plat::Color> _stroke;
    double _strokeThickness = NAN;
    double _opacity = NAN;
    std::vector<double> _borderDashes;
    std::optional<plat::Font> _font;
};
