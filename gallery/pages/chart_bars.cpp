// Column and bar series drawn by the chart's bar plotter: the designer demonstration chart (clustered
// columns), stacked columns with negative values, rotated bars with data labels, a selected series
// drawn again dashed on top, and a strip of four frames of an item added to a column chart (before,
// halfway through the first task while the neighbours move aside, halfway through the second while the
// new column grows, and the end).

#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr double Margin = 12;
constexpr double PanelWidth = 440;
constexpr double PanelHeight = 300;
constexpr double StripHeight = 230;
constexpr double StripCount = 4;
constexpr double TaskSeconds = 1.0;  // each update task of the strip
// A task's clock starts at its first display-link tick, a frame after it is started.
constexpr double FrameSeconds = 1.0 / plat::DisplayLink::FramesPerSecond;
constexpr double PageWidth = Margin * 3 + PanelWidth * 2;
constexpr double StripWidth = (PageWidth - Margin * (StripCount + 1)) / StripCount;
constexpr double PageHeight = Margin * 4 + PanelHeight * 2 + StripHeight;
constexpr std::size_t AddedAt = 2;  // the position of the item the strip adds

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Border = plat::Color::rgb255(160, 168, 180);
const plat::Color PlotBackground = plat::Color::rgb255(247, 249, 252);
const plat::Color Grid = plat::Color::rgb255(214, 219, 228);
const plat::Color LabelFill = plat::Color::rgb255(255, 253, 240);
const plat::Color SelectionInk = plat::Color::rgb255(20, 24, 32);

plat::Rect panel(int column, int row) {
    return {Margin + column * (PanelWidth + Margin), Margin + row * (PanelHeight + Margin), PanelWidth, PanelHeight};
}

plat::Value record(const std::string& name, double a, double b, double c = 0) {
    return plat::Value(plat::Dictionary{{"name", name}, {"a", a}, {"b", b}, {"c", c}});
}

// The shared look: a white card with a header, the plot on a pale ground.
void style(OmbriChart& chart, const std::string& header) {
    chart.setBackgroundColor(plat::Color::white());
    chart.setBorderColor(Border);
    chart.setBorderWidth(1);
    chart.setPadding({8, 10, 8, 10});
    chart.setPlotAreaBackgroundColor(PlotBackground);
    chart.setHeader(header);
    chart.setHeaderFont(plat::Font::boldSystem(13));
    chart.setTextColor(Ink);
    chart.axisY()->setMajorGridColor(Grid);
}

std::shared_ptr<OmbriChart> makeChart(plat::Window& window, const plat::Rect& frame, const std::string& header,
                                      std::vector<plat::Value> rows,
                                      const std::vector<std::pair<const char*, const char*>>& series) {
    auto chart = OmbriChart::create(frame);
    chart->setIsAnimated(false);
    style(*chart, header);
    chart->setBindingX("name");
    chart->setItemsSource(std::make_shared<plat::Array>(std::move(rows)));
    for (const auto& [binding, name] : series) chart->series()->addObject(plat::Value(KivoSeries::create(chart, binding, name)));
    window.addSubview(chart);
    return chart;
}

void designerChart(plat::Window& window) {
    auto chart = OmbriChart::create(panel(0, 0));
    style(*chart, "Designer demonstration");
    chart->prepareForInterfaceBuilder();
    window.addSubview(chart);
}

void stackedChart(plat::Window& window) {
    auto chart =
        makeChart(window, panel(1, 0), "Quarterly result by region (stacked)",
                  {record("Q1", 42, 18, -12), record("Q2", 36, -14, 22), record("Q3", -20, 26, 31), record("Q4", 48, 12, -26)},
                  {{"a", "North"}, {"b", "South"}, {"c", "West"}});
    chart->setStacking(KivoPlotterStackingStacked);
}

void rotatedChart(plat::Window& window) {
    auto chart = makeChart(
        window, panel(0, 1), "Visitors per day (bars)",
        {record("Mon", 320, 0), record("Tue", 410, 0), record("Wed", 385, 0), record("Thu", 460, 0), record("Fri", 290, 0)},
        {{"a", "Visitors"}});
    chart->setChartType(OmbriChartTypeBar);
    chart->legend()->setPosition(KivoAxisPositionNone);
    const auto& label = chart->dataLabel();
    label->setPosition(KivoDataLabelPositionRight);
    label->setContent("{y}");
    label->setDataLabelBackgroundColor(LabelFill);
    label->setDataLabelBorderColor(Border);
    label->setDataLabelFontColor(Ink);
}

void selectedChart(plat::Window& window) {
    auto chart =
        makeChart(window, panel(1, 1), "Selected series (dashed, on top)",
                  {record("2021", 14, 18, 9), record("2022", 17, 21, 12), record("2023", 21, 19, 16), record("2024", 25, 23, 19)},
                  {{"a", "Phones"}, {"b", "Tablets"}, {"c", "Laptops"}});
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelectedDashes({5, 3});
    chart->setSelectedBorderColor(SelectionInk);
    chart->setSelectedBorderWidth(2.5);
    chart->setSelection(chart->series()->objectAtIndexAs<KivoSeries>(1));
}

// The strip: four copies of one chart, drawn once, then each given the same item at a different moment
// so that the run loop's settling leaves them at the four frames.
std::vector<std::shared_ptr<OmbriChart>> stripCharts(plat::Window& window) {
    const char* const captions[] = {"Before the add", "Task 1 at \u00bd", "Task 2 at \u00bd", "After the add"};
    std::vector<std::shared_ptr<OmbriChart>> charts;
    for (int k = 0; k < StripCount; ++k) {
        const plat::Rect frame{Margin + k * (StripWidth + Margin), Margin * 3 + PanelHeight * 2, StripWidth, StripHeight};
        auto chart = makeChart(window, frame, captions[k],
                               {record("A", 12, 8), record("B", 16, 11), record("D", 10, 14), record("E", 18, 9)},
                               {{"a", "Plan"}, {"b", "Actual"}});
        chart->legend()->setPosition(KivoAxisPositionNone);
        chart->setHeaderFont(plat::Font::boldSystem(11));
        // Both tasks linear over one second, so "at ½" is half of the way.
        chart->updateAnimation()->setDuration(TaskSeconds);
        chart->updateAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->loadAnimation()->setDuration(TaskSeconds);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        charts.push_back(chart);
    }
    // A first pass with the data, so that a change is animated from the picture it changes.
    plat::RecordingContext scratch;
    window.display(scratch);
    // The first stays as it was drawn; the others animate the change they are given.
    for (std::size_t k = 1; k < charts.size(); ++k) charts[k]->setIsAnimated(true);
    return charts;
}

void addItem(OmbriChart& chart) { chart.collectionView()->insertObject(record("C", 14, 13), AddedAt); }

void populate(plat::Window& window) {
    designerChart(window);
    stackedChart(window);
    rotatedChart(window);
    selectedChart(window);

    const auto strip = stripCharts(window);
    auto& loop = plat::RunLoop::main();
    // The last frame: both tasks over long before the picture is taken.
    addItem(*strip[3]);
    loop.runFor(TaskSeconds * 3);
    // Halfway through the second task, and halfway through the first, when the page settles.
    addItem(*strip[2]);
    loop.runFor(TaskSeconds + FrameSeconds);
    addItem(*strip[1]);
}

const gallery::PageRegistrar registrar({
    .name = "chart_bars",
    .description = "Column and bar series: the designer demonstration chart (clustered columns), stacked columns "
                   "with negative values, rotated bars with data labels, a selected series drawn again dashed on "
                   "top, and four frames of an item added to a column chart (before, task 1 at \u00bd, task 2 at "
                   "\u00bd, end).",
    .size = {PageWidth, PageHeight},
    .populate = populate,
    .settleSeconds = TaskSeconds / 2 + FrameSeconds,
});

}  // namespace
