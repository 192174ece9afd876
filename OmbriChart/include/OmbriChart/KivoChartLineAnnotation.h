#pragma once
// A straight line between two placed points. Its position is ignored and its offset moves both ends;
// attached by DataIndex, start and end are offsets in chart points from the anchored data point. The
// hit outline is a band of half-width lineWidth × 0.5 + 5 on both sides of the line.

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
