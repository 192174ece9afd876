// The gauges: linear gauges in their four directions and two radial gauges, each over coloured ranges
// with its value and end texts, and a bullet graph.

#include <algorithm>
#include <string>

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoBulletGraph.h"
#include "OmbriGauge/KivoGaugeRange.h"
#include "OmbriGauge/KivoLinearGauge.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr double CaptionHeight = 14;

struct Band {
    double min, max;
    plat::Color color;
};
// Calm, warning and alert bands of a 0…100 scale.
const Band Bands[] = {
    {0, 60, plat::Color::rgb255(164, 214, 167)},
    {60, 85, plat::Color::rgb255(250, 214, 137)},
    {85, 100, plat::Color::rgb255(239, 154, 154)},
};

// The look every gauge of the page shares: thin pointer, white value text, grey end texts, the
// three bands, a still picture (no load animation).
void style(KivoGauge& gauge, const std::shared_ptr<KivoGauge>& owner, double value) {
    gauge.prepareForInterfaceBuilder();
    gauge.setShowText(KivoGaugeShowTextAll);
    gauge.setPointerThickness(0.45);
    gauge.setMinFontColor(plat::Color::darkGray());
    gauge.setMaxFontColor(plat::Color::darkGray());
    for (const Band& b : Bands) {
        auto range = KivoGaugeRange::create(owner);
        range->setMin(b.min);
        range->setMax(b.max);
        range->setColor(b.color);
        gauge.ranges()->addObject(range);
    }
    gauge.setValue(value);
}

void addLinearGauge(plat::Window& window, const plat::Rect& frame, std::int64_t direction, double value,
                    const std::string& caption) {
    gallery::addCaption(window, {frame.x(), frame.y() - CaptionHeight - 4, std::max(frame.width(), 90.0), CaptionHeight},
                        caption);
    auto gauge = KivoLinearGauge::create(frame);
    style(*gauge, gauge, value);
    gauge->setDirection(direction);
    gauge->setThickness(0.6);
    gauge->setValueFontColor(plat::Color::white());
    window.addSubview(gauge);
}

void addRadialGauge(plat::Window& window, const plat::Rect& frame, double start, double sweep, double value,
                    const std::string& caption) {
    gallery::addCaption(window, {frame.x(), frame.y() - CaptionHeight - 4, frame.width(), CaptionHeight}, caption);
    auto gauge = KivoRadialGauge::create(frame);
    style(*gauge, gauge, value);
    gauge->setStartAngle(start);
    gauge->setSweepAngle(sweep);
    gauge->setThickness(0.35);
    gauge->setValueFont(plat::Font("HelveticaNeue", 18, plat::FontWeight::Bold));
    gauge->setValueFontColor(plat::Color::rgb255(0, 90, 140));
    window.addSubview(gauge);
}

void addBulletGraph(plat::Window& window, const plat::Rect& frame, const std::string& caption) {
    gallery::addCaption(window, {frame.x(), frame.y() - CaptionHeight - 4, frame.width(), CaptionHeight}, caption);
    auto graph = KivoBulletGraph::create(frame);
    graph->prepareForInterfaceBuilder();
    graph->setShowText(KivoGaugeShowTextMinMax);
    graph->setMax(200);
    graph->setGood(150);
    graph->setBad(80);
    graph->setTarget(120);
    graph->setPointerThickness(0.35);
    graph->setPointerColor(plat::Color::rgb255(40, 40, 40));
    graph->setValue(105);
    window.addSubview(graph);
}

void populate(plat::Window& window) {
    addLinearGauge(window, {16, 40, 300, 60}, KivoLinearGaugeDirectionLeftToRight, 72, "left to right");
    addLinearGauge(window, {16, 140, 300, 60}, KivoLinearGaugeDirectionRightToLeft, 35, "right to left");
    addLinearGauge(window, {346, 40, 80, 196}, KivoLinearGaugeDirectionBottomToTop, 64, "bottom to top");
    addLinearGauge(window, {446, 40, 80, 196}, KivoLinearGaugeDirectionTopToBottom, 90, "top to bottom");
    addRadialGauge(window, {16, 290, 250, 150}, 0, 180, 72, "radial, half circle");
    addRadialGauge(window, {306, 290, 200, 160}, -45, 270, 35, "radial, 270°");
    addBulletGraph(window, {16, 490, 510, 44}, "bullet graph: good 150, bad 80, target 120");
}

const gallery::PageRegistrar registrar({
    .name = "gauges",
    .description = "Linear gauges in the four directions and radial gauges over a half circle and over 270°, "
                   "each over calm, warning and alert ranges with its value and the scale's ends; below, a "
                   "bullet graph with its good and bad shades and its target bar.",
    .size = {544, 552},
    .populate = populate,
});

}  // namespace
