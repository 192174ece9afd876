#pragma once
// A chart drawn without animation in a window on the virtual clock, for what happens under a finger:
// items with a name, two value columns, a numeric x and a date, helpers to add series and draw, and
// the view point of a drawn bar or line point.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoHitAreas.h"
#include "ChartCore/KivoHitTester.h"
#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/date.h"
#include "chart_test_access.h"
#include "test_chart.h"

// An annotation over a rectangle of the chart.
class BoxAnnotation : public KivoChartAnnotation {
public:
    explicit BoxAnnotation(KivoRect box) : _box(box) {}
    bool isContains(const std::shared_ptr<KivoPoint>& p) const override { return _box.containsPoint(p); }

private:
    KivoRect _box;
};

// 1 March 2024, 00:00 UTC.
inline constexpr double March1st2024 = 1709251200;

class TouchChartTest : public ChartInWindowTest<TestChart> {
protected:
    void SetUp() override {
        chart->setIsAnimated(false);
        window->addSubview(chart);
    }
    // Rows: name, sales, cost, x (numeric), day (a date a day apart from 1 March 2024).
    void setItems(const std::vector<double>& sales, const std::vector<double>& cost = {}, const std::vector<double>& x = {}) {
        static const char* names[] = {"US", "Germany", "UK", "Japan", "Italy", "Greece", "Spain", "France"};
        auto items = std::make_shared<plat::Array>();
        for (std::size_t i = 0; i < sales.size(); ++i) {
            plat::Dictionary d;
            d["name"] = names[i % 8];
            d["sales"] = sales[i];
            d["cost"] = i < cost.size() ? cost[i] : 0.0;
            d["x"] = i < x.size() ? x[i] : static_cast<double>(i);
            d["day"] = plat::Date(March1st2024 + 86400.0 * static_cast<double>(i));
            items->push_back(plat::Value(std::move(d)));
        }
        chart->setItemsSource(items);
    }
    std::shared_ptr<KivoSeries> add(const std::string& binding, const std::string& name = "") {
        auto s = KivoSeries::create(chart, binding, name.empty() ? binding : name);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    // The area the chart drew for a point of a series, and the centre of its bounds in the view.
    std::shared_ptr<IKivoHitArea> areaOf(std::int32_t series, std::int32_t point) const {
        const auto& map = chart->hitTester()->getHitTesterMap();
        const auto it = map.find(series);
        if (it == map.end()) return nullptr;
        for (const auto& area : it->second)
            if (const auto p = area->tag().as<KivoChartDataPoint>(); p && p->pointIndex() == point) return area;
        return nullptr;
    }
    plat::Point centreOf(std::int32_t series, std::int32_t point) const {
        const auto area = areaOf(series, point);
        if (!area) return {NAN, NAN};
        const auto b = area->bounds();
        return {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
    }
};
