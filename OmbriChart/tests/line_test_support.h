#pragma once
// What the line plotter tests share: items from columns of numbers (NaN: a missing value), the
// strokes and fills of one colour, the vertices of a recorded path, and a fixture of a line chart
// without animation or legend, drawn into a recording context.

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "plotters/LinePointArea.h"
#include "test_chart.h"

inline const plat::Color Red = plat::Color::rgb255(200, 0, 0);
inline const plat::Color Blue = plat::Color::rgb255(0, 0, 200);
inline const plat::Color Green = plat::Color::rgb255(0, 160, 0);
inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// One dictionary item per row; each column a binding name with its values.
inline plat::ArrayPtr rows(const std::vector<std::pair<std::string, std::vector<double>>>& columns) {
    auto items = std::make_shared<plat::Array>();
    std::size_t n = 0;
    for (const auto& column : columns) n = std::max(n, column.second.size());
    for (std::size_t i = 0; i < n; ++i) {
        plat::Dictionary item;
        for (const auto& [name, values] : columns)
            item[name] = i < values.size() && !std::isnan(values[i]) ? plat::Value(values[i]) : plat::Value();
        items->push_back(plat::Value(std::move(item)));
    }
    return items;
}

inline std::vector<const plat::DrawOp*> strokesOf(const plat::RecordingContext& rec, const plat::Color& c) {
    std::vector<const plat::DrawOp*> found;
    for (const auto* op : rec.strokes())
        if (op->color == c) found.push_back(op);
    return found;
}

inline std::vector<const plat::DrawOp*> fillsOf(const plat::RecordingContext& rec, const plat::Color& c) {
    std::vector<const plat::DrawOp*> found;
    for (const auto* op : rec.fills())
        if (op->color == c) found.push_back(op);
    return found;
}

// The end points of a path's segments (moves and lines; a curve's end point).
inline std::vector<plat::Point> vertices(const plat::DrawOp& op) {
    std::vector<plat::Point> pts;
    const auto& verbs = op.path.verbs();
    const auto& points = op.path.points();
    std::size_t at = 0;
    for (const auto verb : verbs) {
        switch (verb) {
            case plat::Path::Verb::Move:
            case plat::Path::Verb::Line:
                pts.push_back(points[at++]);
                break;
            case plat::Path::Verb::Quad:
                at += 2;
                pts.push_back(points[at - 1]);
                break;
            case plat::Path::Verb::Cubic:
                at += 3;
                pts.push_back(points[at - 1]);
                break;
            case plat::Path::Verb::Close:
                break;
        }
    }
    return pts;
}

class LineChartTest : public ChartInWindowTest<TestChart> {
protected:
    // The hit areas of the series at `position`, in the order the plotter registered them.
    std::vector<const LinePointArea*> areas(std::int32_t position) const {
        std::vector<const LinePointArea*> found;
        const auto& map = chart->hitTester()->getHitTesterMap();
        if (const auto it = map.find(position); it != map.end())
            for (const auto& area : it->second) found.push_back(dynamic_cast<const LinePointArea*>(area.get()));
        return found;
    }
    void SetUp() override {
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeLine);
        chart->setPalette({Red, Blue, Green});
        chart->legend()->setPosition(KivoAxisPositionNone);
        window->addSubview(chart);
    }
    std::shared_ptr<KivoSeries> add(const std::string& binding, const std::string& name) {
        auto s = KivoSeries::create(chart, binding, name);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
};
