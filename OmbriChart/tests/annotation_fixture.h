#pragma once
// A column chart drawn without animation, for annotations: items with a name, two value columns and a
// date a day apart, the drawn bars of a series, and the device rectangle of what an annotation drew.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartLineAnnotation.h"
#include "OmbriChart/KivoChartTextAnnotation.h"
#include "bar_chart_fixture.h"

// 1 March 2024, 00:00 UTC.
inline constexpr double AnnotationDay0 = 1709251200;

class AnnotationTest : public BarChartTest {
protected:
    const plat::Color Ink = plat::Color::rgb255(200, 20, 120);

    // Rows: sales, cost and a day (1 March 2024 onwards).
    void setSales(const std::vector<double>& sales, const std::vector<double>& cost = {}) {
        std::vector<plat::Value> rows;
        for (std::size_t i = 0; i < sales.size(); ++i) {
            plat::Dictionary d;
            d["sales"] = sales[i];
            d["cost"] = i < cost.size() ? cost[i] : 0.0;
            d["day"] = plat::Date(AnnotationDay0 + 86400.0 * static_cast<double>(i));
            rows.push_back(plat::Value(std::move(d)));
        }
        setItems(std::move(rows));
    }
    // A column chart of sales (and cost), laid out.
    void standardChart() {
        setSales({10, 40, 20, 30}, {5, 15, 25, 35});
        add("sales");
        add("cost");
        draw();
    }
    template <class T>
    std::shared_ptr<T> addAnnotation() {
        auto a = T::create(chart);
        chart->annotations()->addObject(plat::Value(a));
        return a;
    }
    // A rectangle of w × h outlined in Ink.
    std::shared_ptr<KivoChartRectangleAnnotation> addBox(double w = 40, double h = 20) {
        auto box = addAnnotation<KivoChartRectangleAnnotation>();
        box->setWidth(w);
        box->setHeight(h);
        box->setBorderColor(Ink);
        return box;
    }
    // Chart coordinates to the device space the recording holds.
    plat::Point device(double x, double y) const {
        const auto& frame = chart->rectChart();
        return {x + (frame ? frame->left() : 0), y + (frame ? frame->top() : 0)};
    }
    plat::Rect deviceRect(double x, double y, double w, double h) const {
        const auto p = device(x, y);
        return {p.x, p.y, w, h};
    }
    // The outline drawn in Ink, or null.
    const plat::DrawOp* inkStroke() const { return rec.findStroke(Ink); }
    KivoRenderEngine& engine() { return *chart->renderEngine(); }
};

// Rectangles compared to a hundredth of a point.
inline void expectRectNear(const plat::Rect& r, const plat::Rect& e, const std::string& what = {}) {
    EXPECT_NEAR(r.x(), e.x(), 0.01) << what;
    EXPECT_NEAR(r.y(), e.y(), 0.01) << what;
    EXPECT_NEAR(r.width(), e.width(), 0.01) << what;
    EXPECT_NEAR(r.height(), e.height(), 0.01) << what;
}
