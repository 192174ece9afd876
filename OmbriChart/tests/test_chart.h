#pragma once
// A Cartesian chart for the tests that counts its redraw requests, and the fixture that puts a chart
// in a window on the virtual clock with a recording context to draw into.

#include <gtest/gtest.h>

#include <memory>

#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

class TestChart : public OmbriChart {
public:
    static std::shared_ptr<TestChart> create(const plat::Rect& frame = {0, 0, 400, 300}) {
        return initialized(std::shared_ptr<TestChart>(new TestChart(frame)));
    }

    void invalidate() override {
        ++invalidates;
        OmbriChart::invalidate();
    }

    // Stands in for the layout pass.
    using OmbriChart::setPlotRect;
    // Stands in for the binding.
    using OmbriChart::setXlabels;

    int invalidates = 0;

protected:
    explicit TestChart(const plat::Rect& frame) : OmbriChart(frame) {}
};

// The clock comes first, so the window and the chart are made on it. Each fixture adds the chart to
// the window itself, after the settings that must come before.
template <class Chart>
class ChartInWindowTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<Chart> chart = Chart::create();
    plat::RecordingContext rec;

    // A drawing pass of the window into a fresh recording.
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
};
