#pragma once
// The one door the pie tests use into the pie's inner workings (the library declares this type a
// friend and only the tests define it), and the fixtures the tests share: items, a render engine with
// fixed text metrics, a delegate that records what it hears.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/OmbriChartDelegate.h"
#include "KivoCore/KivoRenderEngine.h"
#include "OmbriPie/OmbriPie.h"

namespace kivo::detail {

struct PieTestAccess {
    static void setSelectedIndex(OmbriPie& pie, std::int64_t index) { pie._selectedIndex = index; }
    static void setSelectedItemPosition(OmbriPie& pie, std::int64_t position) { pie._selectedItemPosition = position; }
    static void renderPieControl(OmbriPie& pie, const std::shared_ptr<IKivoRenderEngine>& engine,
                                 const std::shared_ptr<KivoRect>& rect) {
        pie._renderPieControl(engine, rect);
    }
    // What the pie hands its drawing view before a pass (and the turn a code selection asks for).
    static void handOverFrame(OmbriPie& pie) { pie.handOverFrame(); }
    static void showTooltip(OmbriPie& pie, const std::string& text, const plat::Point& position,
                            std::shared_ptr<plat::Object> data) {
        pie._showTooltip(text, position, std::move(data));
    }
    static double colorAlpha(const plat::Color& color) { return OmbriPieControl::_getcolorAlpha(color); }
    static plat::Path piePath(const OmbriPieControl& view, double cx, double cy, double radius) {
        return view._getPiePath(cx, cy, radius);
    }
    static plat::Path piePath(const OmbriPieControl& view, double cx, double cy, double radius, double start, double sweep) {
        return view._getPiePath(cx, cy, radius, start, sweep);
    }
    static const std::map<std::int32_t, double>& rowsWidth(const OmbriPie& pie) { return pie._rowsWidth; }
    static double chartWidth(const OmbriPie& pie) { return pie._chartWidth; }
    static double legendWidth(const OmbriPie& pie) { return pie._legendWidth; }
};

}  // namespace kivo::detail

namespace pie_testing {

// Text measures 6 points a character by 12 points, whatever the font: layout numbers stay exact.
class FixedMetricsEngine : public KivoRenderEngine {
public:
    static constexpr double CharWidth = 6;
    static constexpr double LineHeight = 12;
    std::shared_ptr<KivoSize> measureString(const std::string& text) override {
        return KivoSize::create(CharWidth * static_cast<double>(text.size()), LineHeight);
    }
    std::shared_ptr<KivoSize> measureString(const std::string& text, double) override { return measureString(text); }
};

inline plat::ArrayPtr items(std::initializer_list<plat::Dictionary> records) {
    auto array = std::make_shared<plat::Array>();
    for (const auto& r : records) array->push_back(plat::Value(r));
    return array;
}

// Items with these values, named "s0", "s1", ….
inline plat::ArrayPtr valueItems(const std::vector<double>& values) {
    auto array = std::make_shared<plat::Array>();
    for (std::size_t i = 0; i < values.size(); ++i)
        array->push_back(plat::Value(plat::Dictionary{{"name", "s" + std::to_string(i)}, {"value", values[i]}}));
    return array;
}

// Items named by `names`, each with the value 1.
inline plat::ArrayPtr namedItems(const std::vector<std::string>& names) {
    auto array = std::make_shared<plat::Array>();
    for (const auto& n : names) array->push_back(plat::Value(plat::Dictionary{{"name", n}, {"value", 1.0}}));
    return array;
}

// Records every call it answers, in order.
class RecordingDelegate : public OmbriChartDelegate {
public:
    std::vector<std::string> heard;
    unsigned answeredMethods() const override { return Rendering | Rendered; }
    void rendering(const std::shared_ptr<OmbriChartBase>& sender) override {
        heard.push_back(sender ? "rendering: with a sender" : "rendering:");
    }
    void rendered(const std::shared_ptr<OmbriChartBase>& sender) override {
        heard.push_back(sender ? "rendered: with a sender" : "rendered:");
    }
};

}  // namespace pie_testing
