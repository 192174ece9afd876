// interface_file <dashboard.plist> <file.png>: loads a dashboard laid out in an interface file (a
// chart, a pie chart, a grid, a gauge and a calendar), gives its controls their data, and draws it
// into a PNG file. The file places the controls; the program finds them by tag.

#include <iostream>
#include <memory>
#include <string>

#include "KivoCalendar/KivoCalendar.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/view_coding.h"
#include "Platform/ui/window.h"

template <class T>
std::shared_ptr<T> control(const std::shared_ptr<plat::View>& root, std::int64_t tag) {
    return std::dynamic_pointer_cast<T>(root->viewWithTag(tag));
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: interface_file <dashboard.plist> <file.png>\n";
        return 2;
    }
    std::shared_ptr<plat::View> root;
    try {
        root = plat::loadInterfaceFile(argv[1]);
    } catch (const plat::CoderException& e) {
        std::cerr << "interface_file: " << e.what() << "\n";
        return 1;
    }

    auto sales = std::make_shared<plat::Array>();
    for (auto [country, amount] : {std::pair{"Norway", 120.0}, {"Chile", 86.0}, {"Japan", 143.0}, {"Kenya", 64.0}})
        sales->push_back(plat::Value(plat::Dictionary{{"country", country}, {"sales", amount}}));

    const auto chart = control<OmbriChart>(root, 1);
    const auto pie = control<OmbriPie>(root, 2);
    const auto grid = control<OmbriGrid>(root, 3);
    const auto gauge = control<KivoRadialGauge>(root, 4);
    const auto calendar = control<KivoCalendar>(root, 5);
    if (!chart || !pie || !grid || !gauge || !calendar) {
        std::cerr << "interface_file: " << argv[1] << " lacks one of the tagged controls\n";
        return 1;
    }
    chart->setIsAnimated(false);
    chart->setHeader("Sales by country");
    chart->setBindingX("country");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "sales", "Sales")));
    chart->setItemsSource(sales);
    pie->setIsAnimated(false);
    pie->setBinding("sales");
    pie->setBindingName("country");
    pie->setItemsSource(sales);
    grid->setItemsSource(sales);
    gauge->setIsAnimated(false);
    gauge->setValue(64);

    auto window = plat::Window::create(root->frame());
    window->addSubview(root);
    plat::RunLoop::main().runUntilIdle();  // layout and drawing passes
    if (!window->writePNG(argv[2], 1)) {
        std::cerr << "interface_file: could not write " << argv[2] << "\n";
        return 1;
    }
    std::cout << "interface_file: wrote " << argv[2] << "\n";
    return 0;
}
