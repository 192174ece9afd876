// The gauges: linear gauges in their four directions, each over coloured ranges with its value
// and end texts.

#include <algorithm>
#include <string>

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoGaugeRange.h"
#include "OmbriGauge/KivoLinearGauge.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Color CaptionColor{0.2, 0.2, 0.2};
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

void addCaption(plat::Window& window, const plat::Rect& frame, const std::string& text) {
    auto label = plat::Label::create(frame);
    label->setText(text);
    label->setFont(plat::Font::system(11));
    label->setTextColor(CaptionColor);
    window.addSubview(label);
}

void addLinearGauge(plat::Window& window, const plat::Rect& frame, std::int64_t direction, double value,
                    const std::string& caption) {
    addCaption(window, {frame.x(), frame.y() - CaptionHeight - 4, std::max(frame.width(), 90.0), CaptionHeight}, caption);
    auto gauge = KivoLinearGauge::create(frame);
    gauge->prepareForInterfaceBuilder();
    gauge->setDirection(direction);
    gauge->setShowText(KivoGaugeShowTextAll);
    gauge->setThickness(0.6);
    gauge->setPointerThickness(0.45);
    gauge->setValueFontColor(plat::Color::white());
    gauge->setMinFontColor(plat::Color::darkGray());
    gauge->setMaxFontColor(plat::Color::darkGray());
    for (const Band& b : Bands) {
        auto range = KivoGaugeRange::create(gauge);
        range->setMin(b.min);
        range->setMax(b.max);
        range->setColor(b.color);
        gauge->ranges()->addObject(range);
    }
    gauge->setValue(value);
    window.addSubview(gauge);
}

void populate(plat::Window& window) {
    addLinearGauge(window, {16, 40, 300, 60}, KivoLinearGaugeDirectionLeftToRight, 72, "left to right");
    addLinearGauge(window, {16, 140, 300, 60}, KivoLinearGaugeDirectionRightToLeft, 35, "right to left");
    addLinearGauge(window, {346, 40, 80, 196}, KivoLinearGaugeDirectionBottomToTop, 64, "bottom to top");
    addLinearGauge(window, {446, 40, 80, 196}, KivoLinearGaugeDirectionTopToBottom, 90, "top to bottom");
}

const gallery::PageRegistrar registrar({
    .name = "gauges",
    .description = "Linear gauges in the four directions over calm, warning and alert ranges, with the value "
                   "in a bubble at the pointer's end and the scale's ends beside the bar.",
    .size = {544, 252},
    .populate = populate,
});

}  // namespace
