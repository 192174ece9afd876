#pragma once
// What the area plotter tests share: a chart of area series without animation or legend, the outline
// an area was filled with, and a render engine that logs the calls a pass makes.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "OmbriChart/KivoAreaPlotter.h"
#include "line_test_support.h"
#include "plotters/LinePointArea.h"

// The engine calls of a pass, by name, drawn as the chart's engine draws them.
class LoggingEngine : public KivoRenderEngine {
public:
    std::vector<std::string> calls;
    std::vector<std::vector<double>> polygonXs, polygonYs;

    void setBorderDashes(std::vector<double> dashes) override {
        calls.push_back(dashes.empty() ? "setBorderDashes" : "setBorderDashes(dashed)");
        KivoRenderEngine::setBorderDashes(std::move(dashes));
    }
    void startGroup(const std::string& name) override {
        calls.push_back("startGroup " + name);
        KivoRenderEngine::startGroup(name);
    }
    void endGroup() override {
        calls.push_back("endGroup");
        KivoRenderEngine::endGroup();
    }
    void setFill(std::optional<plat::Color> fill) override {
        calls.push_back(fill ? "setFill" : "setFill(nil)");
        KivoRenderEngine::setFill(fill);
    }
    void setStroke(std::optional<plat::Color> stroke) override {
        calls.push_back("setStroke");
        KivoRenderEngine::setStroke(stroke);
    }
    void setStrokeThickness(double thickness) override {
        calls.push_back("setStrokeThickness");
        KivoRenderEngine::setStrokeThickness(thickness);
    }
    void setOpacity(double opacity) override {
        calls.push_back("setOpacity");
        KivoRenderEngine::setOpacity(opacity);
    }
    std::shared_ptr<KivoRenderState> saveState() override {
        calls.push_back("saveState");
        return KivoRenderEngine::saveState();
    }
    void drawLines(std::span<const double> xs, std::span<const double> ys) override {
        calls.push_back("drawLines");
        KivoRenderEngine::drawLines(xs, ys);
    }
    void drawPolygon(std::span<const double> xs, std::span<const double> ys) override {
        calls.push_back("drawPolygon");
        polygonXs.emplace_back(xs.begin(), xs.end());
        polygonYs.emplace_back(ys.begin(), ys.end());
        KivoRenderEngine::drawPolygon(xs, ys);
    }
    void drawSplineAreas(std::span<const double> xs, std::span<const double> ys, bool stacked, bool rotated) override {
        calls.push_back("drawSplineAreas");
        polygonXs.emplace_back(xs.begin(), xs.end());
        polygonYs.emplace_back(ys.begin(), ys.end());
        KivoRenderEngine::drawSplineAreas(xs, ys, stacked, rotated);
    }
};

class AreaChartTest : public LineChartTest {
protected:
    void SetUp() override {
        LineChartTest::SetUp();
        chart->setChartType(OmbriChartTypeArea);
    }
    std::shared_ptr<KivoAreaPlotter> plotter() { return std::dynamic_pointer_cast<KivoAreaPlotter>(chart->areaPlotter()); }
    double sx(double x) const { return chart->axisX()->convert(x); }
    double sy(double y) const { return chart->axisY()->convert(y); }
    // Where an area closes: the origin 0 within the value axis' range.
    double base() const { return sy(std::clamp(0.0, chart->axisY()->actualMin(), chart->axisY()->actualMax())); }
    // The fills of the recording in a palette colour (an area without a colour of its own is filled
    // with its palette colour; one with its own colour, with that colour lightened).
    std::vector<const plat::DrawOp*> areaFills(const plat::Color& palette) const { return fillsOf(rec, palette); }
    // One pass of `series` into a logging engine, drawing into the recording.
    std::shared_ptr<LoggingEngine> pass(const std::shared_ptr<KivoSeries>& series, std::int32_t index,
                                        KivoNumberDictionary& pos, KivoNumberDictionary& neg) {
        auto engine = std::make_shared<LoggingEngine>();
        const plat::CurrentContextScope scope(rec);
        plotter()->plotSeries(series, engine, chart->axisX(), chart->axisY(), index, index, 1, -1, OmbriChartTypeArea, pos, neg);
        return engine;
    }
};

inline std::vector<plat::Point> pointsOf(const std::vector<double>& xs, const std::vector<double>& ys) {
    std::vector<plat::Point> out;
    for (std::size_t k = 0; k < xs.size() && k < ys.size(); ++k) out.push_back({xs[k], ys[k]});
    return out;
}

inline void expectPoints(const std::vector<plat::Point>& actual, const std::vector<plat::Point>& expected,
                         double tolerance = 1e-6) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < actual.size(); ++k) {
        EXPECT_NEAR(actual[k].x, expected[k].x, tolerance) << "point " << k;
        EXPECT_NEAR(actual[k].y, expected[k].y, tolerance) << "point " << k;
    }
}
