#pragma once
// A pie in a window on the virtual clock, past its load animation, with a delegate that records what
// it hears: the fixture of the touch, turn and update tests.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "pie_access.h"

namespace pie_testing {

class TouchDelegate : public OmbriChartDelegate {
public:
    struct Tooltip {
        plat::Point point;
        bool visible = false;
        plat::ArrayPtr data;
    };
    unsigned answered = Tapped | SelectionChanged;
    bool swallowTaps = false;
    int taps = 0;
    std::vector<std::int64_t> selections;
    std::vector<Tooltip> tooltips;

    unsigned answeredMethods() const override { return answered; }
    bool tapped(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoPoint>&) override {
        ++taps;
        return swallowTaps;
    }
    void selectionChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoHitTestInfo>& info) override {
        const auto pieInfo = std::dynamic_pointer_cast<KivoPieHitTestInfo>(info);
        selections.push_back(pieInfo ? pieInfo->dataPoint()->pointIndex() : -2);
    }
    void handleTooltip(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<KivoPoint>& point, bool visible,
                       const plat::ArrayPtr& data) override {
        tooltips.push_back({point ? plat::Point{point->x(), point->y()} : plat::Point{}, visible, data});
    }
};

class PieTouch : public ::testing::Test {
protected:
    static constexpr double Pi = std::numbers::pi;
    // A 400 × 300 pie without legend: centre (200, 150), radius 150 - 6.
    static constexpr plat::Point C{200, 150};
    static constexpr double R = 144;

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<OmbriPie> pie = OmbriPie::create({0, 0, 400, 300});
    std::shared_ptr<TouchDelegate> delegate = std::make_shared<TouchDelegate>();
    plat::RecordingContext rec;

    void SetUp() override {
        window->addSubview(pie);
        pie->legend()->setPosition(KivoAxisPositionNone);
        pie->setDelegate(delegate);
    }
    // Binds the values and draws, before the load animation has played.
    void bind(const std::vector<double>& values, double startAngle = 0) {
        pie->setStartAngle(startAngle);
        pie->setItemsSource(valueItems(values));
        pie->setBinding("value");
        pie->setBindingName("name");
        display();
    }
    // Binds, draws and plays the load animation out.
    void show(const std::vector<double>& values, double startAngle = 0) {
        bind(values, startAngle);
        clock.advance(1.1);
        display();
    }
    void display() {
        rec.clear();
        window->display(rec);
    }
    void tap(plat::Point p) { plat::testing::Touches(window).tap(p); }
    // The point at distance `d` (half the radius by default) along the pie angle `a`.
    static plat::Point along(double a, double d = R / 2) { return {C.x - d * std::cos(a), C.y - d * std::sin(a)}; }
    // The turn the drawing view's transform applies.
    double turn() const {
        const auto t = pie->pieControl()->transform();
        return std::atan2(t.b, t.a);
    }
    const KivoBaseChartTooltipView& tip() const { return *pie->tooltip()->content(); }
};

}  // namespace pie_testing
