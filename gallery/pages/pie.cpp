// The pie control in eight panels: the framed pie with its titles and a bottom legend that wraps
// into two rows; a doughnut; an exploded pie; labels inside, outside and at the slices' centres; a
// selected slice, pushed out and dashed; a reversed pie starting at the top.

#include <functional>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr double PanelWidth = 400, PanelHeight = 300;
constexpr int Columns = 4;

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

// Sales by region: fewer, larger slices for the label panels.
plat::ArrayPtr regions() {
    const std::pair<const char*, double> sales[] = {{"North", 62}, {"South", 63}, {"East", 28}, {"West", 13}};
    auto items = std::make_shared<plat::Array>();
    for (const auto& [name, sold] : sales) items->push_back(plat::Value(plat::Dictionary{{"name", name}, {"sold", sold}}));
    return items;
}

// Panel `index` of the grid, titled, over `items`, set up further by `style`.
void addPanel(plat::Window& window, int index, const char* title, const plat::ArrayPtr& items,
              const std::function<void(OmbriPie&)>& style) {
    auto pie = OmbriPie::create({(index % Columns) * PanelWidth, (index / Columns) * PanelHeight, PanelWidth, PanelHeight});
    pie->setIsAnimated(false);
    pie->setBackgroundColor(plat::Color::white());
    pie->setBorderColor(plat::Color::rgb255(120, 132, 150));
    pie->setBorderWidth(1);
    pie->setHeader(title);
    pie->legend()->setPosition(KivoAxisPositionNone);
    pie->setItemsSource(items);
    pie->setBinding("sold");
    pie->setBindingName("name");
    style(*pie);
    window.addSubview(pie);
}

void labelsAt(OmbriPie& pie, std::int64_t position) {
    pie.dataLabel()->setPosition(position);
    pie.dataLabel()->setContent("{name}: {value}");
    pie.dataLabel()->setDataLabelBackgroundColor(plat::Color::white(1, 0.85));
    pie.dataLabel()->setDataLabelBorderColor(plat::Color::rgb255(120, 132, 150));
    pie.dataLabel()->setDataLabelBorderWidth(1);
}

void populate(plat::Window& window) {
    addPanel(window, 0, "Fruit sold this week", fruitSales(), [](OmbriPie& pie) {
        pie.setFooter("Eight kinds, by crates");
        pie.legend()->setPosition(KivoAxisPositionBottom);
    });
    addPanel(window, 1, "Doughnut", fruitSales(), [](OmbriPie& pie) {
        pie.setInnerRadius(0.5);
        pie.setSliceBorderWidth(1);
    });
    addPanel(window, 2, "Exploded (offset 0.1)", fruitSales(), [](OmbriPie& pie) { pie.setOffset(0.1); });
    addPanel(window, 3, "Selected slice", regions(), [](OmbriPie& pie) {
        pie.setSelectedItemOffset(0.15);
        pie.setSelectedIndex(2);
    });
    addPanel(window, 4, "Labels inside", regions(), [](OmbriPie& pie) { labelsAt(pie, KivoPieLabelPositionInside); });
    addPanel(window, 5, "Labels outside", regions(), [](OmbriPie& pie) { labelsAt(pie, KivoPieLabelPositionOutside); });
    addPanel(window, 6, "Labels at the centres", regions(), [](OmbriPie& pie) {
        labelsAt(pie, KivoPieLabelPositionCenter);
        pie.setInnerRadius(0.4);
    });
    addPanel(window, 7, "Reversed, from the top", regions(), [](OmbriPie& pie) {
        pie.setReversed(true);
        pie.setStartAngle(90);
        labelsAt(pie, KivoPieLabelPositionInside);
        pie.dataLabel()->setContent("{pointIndex}");
    });
}

const gallery::PageRegistrar registrar({
    .name = "pie",
    .description = "Eight pies: the framed pie with titles and a bottom legend wrapping into two rows; a doughnut; an "
                   "exploded pie; a selected slice pushed out and dashed; labels inside, outside and at the centres of a "
                   "doughnut's ring; a reversed pie starting at the top, its slices numbered.",
    .size = {PanelWidth * Columns, PanelHeight * 2},
    .populate = populate,
});

}  // namespace
