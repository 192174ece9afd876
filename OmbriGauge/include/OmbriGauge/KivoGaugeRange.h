#pragma once
// A band drawn by a gauge. The same type serves as the face (spanning the whole scale), as each
// entry of the gauge's `ranges`, and as the pointer (from the origin to the value). It only stores
// the span and how it looks; every effective change asks the gauge to draw again.

#include <memory>
#include <string>
#include <vector>

#include "OmbriGauge/KivoGaugeExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/color.h"

class KivoGauge;

class KIVO_GAUGE_EXPORT KivoGaugeRange : public plat::Object {
public:
    // The range redraws `gauge` (held weakly: the gauge owns its bands).
    explicit KivoGaugeRange(const std::shared_ptr<KivoGauge>& gauge);
    static std::shared_ptr<KivoGaugeRange> create(const std::shared_ptr<KivoGauge>& gauge) {
        return std::make_shared<KivoGaugeRange>(gauge);
    }

    const plat::Color DEFAULT_RANGE_COLOR = plat::Color::clear();
    const plat::Color DEFAULT_BORDER_COLOR = plat::Color::clear();
    const double DEFAULT_RANGE_THICKNESS = 1.0;
    const double DEFAULT_BORDER_WIDTH = 0;

    // Null once the gauge is gone.
    std::shared_ptr<KivoGauge> gauge() const { return _gauge.lock(); }

    // Each setter stores and redraws only when the value differs; NaN numbers are ignored.
    double min() const { return _min; }
    void setMin(double min);
    double max() const { return _max; }
    void setMax(double max);
    const plat::Color& color() const { return _color; }
    void setColor(const plat::Color& color);
    // Relative width of this band; multiplied by the gauge's thickness to get the drawn width.
    double thickness() const { return _thickness; }
    void setThickness(double thickness);
    const plat::Color& borderColor() const { return _borderColor; }
    void setBorderColor(const plat::Color& color);
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);
    // Dash pattern of the outline; empty is solid.
    const std::vector<double>& borderDashes() const { return _borderDashes; }
    void setBorderDashes(std::vector<double> dashes);
    // The application's label for the range; not drawn.
    const std::string& name() const { return _name; }
    void setName(std::string name);

private:
    // Asks the gauge for a new drawing pass.
    KIVO_GAUGE_NO_EXPORT void _invalidate();

    std::weak_ptr<KivoGauge> _gauge;
    double _min = 0;
    double _max = 100;
    plat::Color _color = DEFAULT_RANGE_COLOR;
    double _thickness = DEFAULT_RANGE_THICKNESS;
    plat::Color _borderColor = DEFAULT_BORDER_COLOR;
    double _borderWidth = DEFAULT_BORDER_WIDTH;
    std::vector<double> _borderDashes;
    std::string _name;
};
