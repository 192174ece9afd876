#pragma once
// The one door the gauge tests use into the gauges' inner workings: the library declares this type a
// friend of the gauge, and only the tests define it.

#include "OmbriGauge/KivoGauge.h"

namespace kivo::detail {

struct GaugeTestAccess {
    static void applyValue(KivoGauge& gauge, double value) { gauge._applyValue(value); }
    static void startLoadAnimation(KivoGauge& gauge) { gauge._startLoadAnimation(); }
    // The state of the pointer's animation.
    static bool firstLoad(const KivoGauge& gauge) { return gauge.firstLoad(); }
    static bool isValueChanged(const KivoGauge& gauge) { return gauge.isValueChanged(); }
    static bool plotting(const KivoGauge& gauge) { return gauge.plotting(); }
    static double plotTime(const KivoGauge& gauge) { return gauge.plotTime(); }
    static double animatedPointerValue(const KivoGauge& gauge) { return gauge.animatedPointerValue(); }
    static bool hasPendingAnimation(const KivoGauge& gauge) { return gauge.hasPendingAnimation(); }
};

}  // namespace kivo::detail

namespace gauge_test {
using Access = kivo::detail::GaugeTestAccess;
}
