// The core's small controls: the check box in both states and the tooltip above and below its point.

#include "KivoCore/KivoBaseTooltipView.h"
#include "KivoCore/KivoCheckBox.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr plat::Color Tint{0.0, 0.48, 1.0};
constexpr plat::Color Marker{0.9, 0.1, 0.1};

void addCheckBox(plat::Window& window, const plat::Rect& frame, bool checked, const std::string& caption) {
    auto box = KivoCheckBox::create(frame);
    box->setTintColor(Tint);
    box->setIsChecked(checked);
    window.addSubview(box);
    gallery::addCaption(window, {frame.x() - 10, frame.y() + frame.height() + 4, frame.width() + 20, 14}, caption);
}

// A tooltip pointing at `point`, with a dot that marks the point itself.
void addTooltip(plat::Window& window, plat::Point point, const std::string& text) {
    auto dot = plat::View::create({point.x - 3, point.y - 3, 6, 6});
    dot->setBackgroundColor(Marker);
    window.addSubview(dot);
    auto tip = KivoBaseTooltipView::create();
    window.addSubview(tip);
    tip->setText(text);
    tip->setHasShadow(true);
    tip->setSenderPoint(point);
    tip->show();
}

void populate(plat::Window& window) {
    addCheckBox(window, {24, 24, 40, 40}, false, "unchecked");
    addCheckBox(window, {94, 24, 40, 40}, true, "checked");
    gallery::addCaption(window, {8, 150, 150, 14}, "tooltip above its point");
    addTooltip(window, {80, 140}, "Sales: 1,234.50");
    gallery::addCaption(window, {170, 96, 150, 14}, "tooltip below its point");
    addTooltip(window, {240, 30}, "Expenses\nQ3: 812.00");
}

const gallery::PageRegistrar registrar({
    .name = "core_controls",
    .description = "The check box unchecked and checked (drawn through its layer tree), and the tooltip placed above "
                   "and below its sender point (red dots), faded in.",
    .size = {320, 180},
    .populate = populate,
    .settleSeconds = 1.0,
});

}  // namespace
