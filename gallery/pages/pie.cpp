// The pie control's frame: a header, a footer, a border and a bottom legend of eight fruits that
// wraps into two rows, the later row centred. The slices are drawn by the pie's drawing view.

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

// Fruit sold in one week, by kind.
plat::ArrayPtr fruitSales() {
    const std::pair<const char*, double> sales[] = {
        {"Oranges", 62},  {"Apples", 48}, {"Bananas", 35}, {"Pears", 21},
        {"Cherries", 17}, {"Plums", 12},  {"Grapes", 9},   {"Apricots", 6},
    };
    auto items = std::make_shared<plat::Array>();
    for (const auto& [name, sold] : sales) items->push_back(plat::Value(plat::Dictionary{{"name", name}, {"sold", sold}}));
    return items;
}

void populate(plat::Window& window) {
    auto pie = OmbriPie::create({0, 0, 400, 300});
    pie->setIsAnimated(false);
    pie->setBackgroundColor(plat::Color::white());
    pie->setBorderColor(plat::Color::rgb255(120, 132, 150));
    pie->setBorderWidth(1.5);
    pie->setHeader("Fruit sold this week");
    pie->setFooter("Eight kinds, by crates");
    pie->legend()->setPosition(KivoAxisPositionBottom);
    pie->setItemsSource(fruitSales());
    pie->setBinding("sold");
    pie->setBindingName("name");
    window.addSubview(pie);
}

const gallery::PageRegistrar registrar({
    .name = "pie",
    .description = "A 400 × 300 pie control with a header, a footer and a border, and a bottom legend of eight "
                   "kinds of fruit that wraps into two rows, the second centred.",
    .size = {400, 300},
    .populate = populate,
});

}  // namespace
