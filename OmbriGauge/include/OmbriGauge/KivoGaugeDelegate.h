#pragma once
// The optional delegate of a gauge: told of every drawing pass, every tap (which it may keep from
// setting the value) and every value change. Each method's default means "not answered".

#include <memory>
#include <optional>

#include "OmbriGauge/KivoGaugeExport.h"

class KivoGauge;
class KivoPoint;

class KIVO_GAUGE_EXPORT KivoGaugeDelegate {
public:
    virtual ~KivoGaugeDelegate() = default;

    // Start of every drawing pass, after the gaugeRendering event.
    virtual void rendering(const std::shared_ptr<KivoGauge>& gauge) {}
    // End of every drawing pass, after the gaugeRendered event.
    virtual void rendered(const std::shared_ptr<KivoGauge>& gauge) {}
    // After the gaugeTapped event; true keeps the tap from setting the value. The point is in the
    // gauge's view coordinates.
    virtual std::optional<bool> tapped(const std::shared_ptr<KivoGauge>& gauge, const std::shared_ptr<KivoPoint>& point) {
        return std::nullopt;
    }
    // After the gaugeValueChanged event, with the value as stored (rounded and clamped).
    virtual void valueChanged(const std::shared_ptr<KivoGauge>& gauge, double value) {}
};
