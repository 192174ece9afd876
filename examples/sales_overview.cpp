// sales_overview <file.png>: a window with a column chart of a few sales records (model objects whose
// properties the controls read by name) beside a calendar of the month, and below them a grid of the
// same records beside a pie chart of their shares, drawn into a PNG file.

#include <iostream>
#include <memory>
#include <string>

#include "KivoCalendar/KivoCalendar.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/foundation/reflect.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"

class Sale : public plat::Object {
public:
    PLAT_CLASS()
    Sale(std::string country, double sales) : country(std::move(country)), sales(sales) {}
    std::string country;
    double sales = 0;
};
PLAT_DEFINE_CLASS(Sale, plat::Object, plat::property("country", &Sale::country), plat::property("sales", &Sale::sales))

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: sales_overview <file.png>\n";
        return 2;
    }
    auto window = plat::Window::create({0, 0, 720, 560});
    window->setBackgroundColor(plat::Color::white());

    auto sales = std::make_shared<plat::Array>();
    for (auto [country, amount] : {std::pair{"Norway", 120.0}, {"Chile", 86.0}, {"Japan", 143.0}, {"Kenya", 64.0}})
        sales->push_back(plat::Value(std::make_shared<Sale>(country, amount)));

    auto chart = OmbriChart::create({10, 10, 380, 320});
    chart->setIsAnimated(false);
    chart->setHeader("Sales by country");
    chart->setBindingX("country");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "sales", "Sales")));
    chart->setItemsSource(sales);
    window->addSubview(chart);

    auto calendar = KivoCalendar::create({400, 10, 310, 320});
    window->addSubview(calendar);

    // A grid over the same sales: its columns name themselves after the properties they bind.
    auto grid = OmbriGrid::create({10, 340, 380, 210});
    grid->setAutoGenerateColumns(false);
    for (const char* property : {"country", "sales"}) {
        auto column = std::make_shared<GridColumn>();
        column->setBinding(property);
        grid->columns()->push(column);
    }
    grid->setItemsSource(sales);
    window->addSubview(grid);
    std::cout << "sales_overview: the grid's first column reads \"" << grid->columns()->column(0)->header().value_or("") << "\", "
              << grid->columns()->totalSize() << " points wide\n";

    // The same sales as shares of the whole.
    auto pie = OmbriPie::create({400, 340, 310, 210});
    pie->setIsAnimated(false);
    pie->setItemsSource(sales);
    pie->setBinding("sales");
    pie->setBindingName("country");
    window->addSubview(pie);

    plat::RunLoop::main().runUntilIdle();  // layout and drawing passes
    if (!window->writePNG(argv[1], 2)) {
        std::cerr << "sales_overview: could not write " << argv[1] << "\n";
        return 1;
    }
    std::cout << "sales_overview: wrote " << argv[1] << "\n";
    return 0;
}
