#pragma once
// A segment drawn between its two placed ends. A line has no box, so the position setting has nothing
// to align and is ignored, while the offset shifts both ends alike. Anchored to a data point, the ends
// are relative to that point, which makes ticks and leaders easy. Fingers are wider than lines: the
// hit band reaches 5 points beyond half the stroke, measured across the line at any slope.

#include <memory>

#include "OmbriChart/KivoChartAnnotation.h"
#include "Platform/graphics/color.h"

class KIVO_CHART_EXPORT KivoChartLineAnnotation : public KivoChartAnnotation {
public:
    KivoChartLineAnnotation() = default;
    explicit KivoChartLineAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartAnnotation(chart) {}
    static std::shared_ptr<KivoChartLineAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartLineAnnotation>(chart);
    }

    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    const std::shared_ptr<KivoPoint>& start() const { return _start; }
    void setStart(std::shared_ptr<KivoPoint> start);
    const std::shared_ptr<KivoPoint>& end() const { return _end; }
    void setEnd(std::shared_ptr<KivoPoint> end);
    const plat::Color& color() const { return _color; }
    void setColor(const plat::Color& color);
    double lineWidth() const { return _lineWidth; }
    void setLineWidth(double width);

private:
    std::shared_ptr<KivoPoint> _start = KivoPoint::create();
    std::shared_ptr<KivoPoint> _end = KivoPoint::create();
    plat::Color _color = plat::Color::black();
    double _lineWidth = 1.0;
};
