#pragma once
// A Cartesian chart for the tests that counts its redraw requests.

#include <memory>

#include "OmbriChart/OmbriChart.h"

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
