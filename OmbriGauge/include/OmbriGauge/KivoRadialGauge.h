#pragma once
// A gauge drawn as an arc. Face, ranges and pointer are pieces of one ring centred in the view; the
// minimum and maximum labels sit past the two ends of the arc and the value label in the middle.
// Optionally it fits itself to the view before each pass by scaling and shifting the whole drawing.
//
// Angles are degrees in the properties: 0° lies left of the centre, 90° above it, and angles grow
// clockwise on the screen.

#include <memory>

#include "OmbriGauge/KivoGauge.h"

class KIVO_GAUGE_EXPORT KivoRadialGauge : public KivoGauge {
public:
    static std::shared_ptr<KivoRadialGauge> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoRadialGauge> create(const plat::Coder& coder);

    // Where the scale's minimum lies, limited to ±360° (NaN ignored).
    double startAngle() const { return _startAngle; }
    void setStartAngle(double degrees);
    // The arc's length from minimum to maximum, never negative: a negative sweep describes the same
    // arc from its other end (the start moves once; the same sweep again changes nothing).
    double sweepAngle() const { return _sweepAngle; }
    void setSweepAngle(double degrees);
    // Fit arc and texts into the view before drawing. Switched off, the drawing and the touches use
    // no scale and no pan.
    bool autoScale() const { return _autoScale; }
    void setAutoScale(bool autoScale);
    // Result of the latest fit: drawing coordinates are multiplied by scaleFactor, then shifted back
    // by (panX, panY).
    float scaleFactor() const { return _scaleFactor; }
    float panX() const { return _panX; }
    float panY() const { return _panY; }

    // Auto-scale (when on), then the base's drawing.
    void refresh() override;

    void updateRangeElement(const std::shared_ptr<KivoGaugeRange>& range, double value, double time) override;
    void updateText() override;
    // NaN off the face's ring; an end of the scale, or NaN, beyond the arc's ends.
    double getValueFromPoint(const std::shared_ptr<KivoPoint>& point) override;

protected:
    explicit KivoRadialGauge(const plat::Rect& frame) : KivoGauge(frame) {}
    void initInternals() override;

private:
    // One ring segment from `start` over `sweep` degrees.
    KIVO_GAUGE_NO_EXPORT void _updateSegment(const std::shared_ptr<KivoGaugeRange>& range, const KivoPoint& center, double rOut,
                                             double rIn, double start, double sweep);

    KIVO_GAUGE_NO_EXPORT void _doAutoScale();
    // The point at `angle` radians and `radius` from `center`.
    KIVO_GAUGE_NO_EXPORT static std::shared_ptr<KivoPoint> _getPoint(const KivoPoint& center, double angle, double radius);

    // The centre and outer radius of the face in the view's own coordinates.
    KIVO_GAUGE_NO_EXPORT KivoPoint _center() const;
    KIVO_GAUGE_NO_EXPORT double _radius() const;

    double _startAngle = 0;
    double _sweepAngle = 180;
    // The last sweep asked for (NaN: none since the start was set), so asking again changes nothing.
    double _requestedSweep = 180;
    bool _autoScale = true;
    float _scaleFactor = 1.0f;
    float _panX = 0;
    float _panY = 0;
};
