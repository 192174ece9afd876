#pragma once
// A column chart drawn without animation into a recording context, with helpers to read back the bars
// the bar plotter drew: the hit areas of each series (one per drawn bar, its rectangle and tag) and the
// plotter itself for direct calls against the laid-out axes; animated frames drawn one by one.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/display_link.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "plotters/BarRectArea.h"
#include "chart_test_access.h"
#include "test_chart.h"

// One item: the named numbers (a NaN is stored as the null value, a missing reading).
inline plat::Value barRow(std::initializer_list<std::pair<const char*, double>> fields) {
    plat::Dictionary d;
    for (const auto& [key, v] : fields) d[key] = std::isnan(v) ? plat::Value::null() : plat::Value(v);
    return plat::Value(std::move(d));
}

// One drawn bar as the hit tester holds it.
struct DrawnBar {
    KivoRect rect;
    std::shared_ptr<KivoChartDataPoint> point;
};

class BarChartTest : public ChartInWindowTest<TestChart> {
protected:
    void SetUp() override {
        chart->setIsAnimated(false);
        window->addSubview(chart);
    }
    // A new chart in place of the current one (for the rows of a table of cases).
    void freshChart() {
        chart->removeFromSuperview();
        chart = TestChart::create();
        SetUp();
    }
    void setItems(std::vector<plat::Value> rows) { chart->setItemsSource(std::make_shared<plat::Array>(std::move(rows))); }
    std::shared_ptr<KivoSeries> add(const std::string& binding, std::int64_t visibility = KivoSeriesVisibilityVisible) {
        auto s = KivoSeries::create(chart, binding, binding);
        s->setVisibility(visibility);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
    // The bars of the series at `position` of the chart's series, in drawing order.
    std::vector<DrawnBar> bars(std::int32_t position) const {
        std::vector<DrawnBar> out;
        const auto& map = chart->hitTester()->getHitTesterMap();
        const auto it = map.find(position);
        if (it == map.end()) return out;
        for (const auto& area : it->second) {
            const auto* bar = dynamic_cast<const BarRectArea*>(area.get());
            if (!bar) continue;
            out.push_back({bar->rect(), area->tag().as<KivoChartDataPoint>()});
        }
        return out;
    }
    // The fills in `color` inside the plot area (the legend's swatches lie outside it).
    std::vector<const plat::DrawOp*> barFills(const plat::Color& color) const {
        std::vector<const plat::DrawOp*> out;
        const auto& plot = chart->plotRect();
        for (const auto* op : rec.fills()) {
            const auto b = op->bounds();
            if (op->color == color && plot && b.x() >= plot->left() - 0.5 && b.maxX() <= plot->right() + 0.5 &&
                b.y() >= plot->top() - 0.5 && b.maxY() <= plot->bottom() + 0.5)
                out.push_back(op);
        }
        return out;
    }
    // Advances frame by frame until a frame is due in the state `due` asks for, and draws it.
    void drawFrameWhen(const std::function<bool()>& due) {
        for (int frames = 0; frames < 600; ++frames) {
            clock.advance(1.0 / plat::DisplayLink::FramesPerSecond);
            if (!window->needsDisplayInTree() || !due()) continue;
            rec.clear();
            window->display(rec);
            return;
        }
        FAIL() << "no such frame";
    }
    // The rest of the animation, each frame drawn; the last is the closing frame.
    void finish() {
        while (OmbriChartTestAccess::plotting(*chart)) drawFrameWhen([] { return true; });
    }
    KivoBarPlotter& plotter() { return dynamic_cast<KivoBarPlotter&>(*chart->barPlotter()); }
    // Screen coordinates of data values on the chart's axes.
    double sx(double v) const { return chart->axisX()->convert(v); }
    double sy(double v) const { return chart->axisY()->convert(v); }
};

// Rectangles compared to a hundredth of a point.
inline void expectRect(const KivoRect& r, double left, double top, double width, double height) {
    EXPECT_NEAR(r.left(), left, 0.01);
    EXPECT_NEAR(r.top(), top, 0.01);
    EXPECT_NEAR(r.width(), width, 0.01);
    EXPECT_NEAR(r.height(), height, 0.01);
}
