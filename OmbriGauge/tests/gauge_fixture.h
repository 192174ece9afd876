#pragma once
// What the gauge tests share: a window on the virtual clock holding one linear gauge, drawing passes
// into a recording context, and lookups of the bands it drew.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "OmbriGauge/KivoGaugeRange.h"
#include "OmbriGauge/KivoLinearGauge.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

namespace gauge_test {

inline std::string str(const plat::Rect& r) {
    std::ostringstream out;
    out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
    return out.str();
}

inline ::testing::AssertionResult rectNear(const plat::Rect& actual, const plat::Rect& expected, double tol = 1e-6) {
    if (std::fabs(actual.x() - expected.x()) <= tol && std::fabs(actual.y() - expected.y()) <= tol &&
        std::fabs(actual.width() - expected.width()) <= tol && std::fabs(actual.height() - expected.height()) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << str(actual) << ", expected " << str(expected);
}

inline plat::Rect toRect(const KivoRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

// Counts the gauge's requests for a drawing pass.
class CountingLinearGauge : public KivoLinearGauge {
public:
    static std::shared_ptr<CountingLinearGauge> make(const plat::Rect& frame) {
        return createGauge(new CountingLinearGauge(frame), frame);
    }
    void setNeedsDisplay() override {
        ++redraws;
        KivoLinearGauge::setNeedsDisplay();
    }
    int redraws = 0;

protected:
    explicit CountingLinearGauge(const plat::Rect& frame) : KivoLinearGauge(frame) {}
};

class GaugeTest : public ::testing::Test {
protected:
    static constexpr plat::Rect Frame{0, 0, 208, 40};

    void SetUp() override {
        window = plat::Window::create({0, 0, 320, 240});
        gauge = CountingLinearGauge::make(Frame);
        window->addSubview(gauge);
    }

    // One drawing pass; what it drew.
    const plat::RecordingContext& draw() {
        rec.clear();
        window->display(rec);
        return rec;
    }

    // The bounds of the first fill in the pointer's colour, if the last pass drew the pointer.
    std::optional<plat::Rect> pointerRect() const {
        const auto* op = rec.findFill(gauge->pointerColor());
        if (!op) return std::nullopt;
        return op->bounds();
    }

    // The drawn pointer's length along a left-to-right bar of 200 points on a 0…100 scale, as a value.
    std::optional<double> drawnPointerValue() const {
        auto r = pointerRect();
        if (!r) return std::nullopt;
        return r->width() / 2;
    }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<CountingLinearGauge> gauge;
    plat::RecordingContext rec;
};

}  // namespace gauge_test
