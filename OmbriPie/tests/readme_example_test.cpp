// The README's pie example, kept compiling and true: the statements between the markers are the
// README's, word for word.
#include <gtest/gtest.h>

#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieDataLabel.h"
#include "Platform/foundation/reflect.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

namespace {

class Sale : public plat::Object {
public:
    PLAT_CLASS()
    std::string country;
    double sales = 0;
};
PLAT_DEFINE_CLASS(Sale, plat::Object, plat::property("country", &Sale::country), plat::property("sales", &Sale::sales))

}  // namespace

TEST(PieReadmeExample, MakesASliceAndANamePerItem) {
    plat::testing::VirtualClock clock;
    auto window = plat::Window::create({0, 0, 400, 300});
    auto sales = std::make_shared<plat::Array>();
    for (auto [name, amount] : {std::pair{"Norway", 120.0}, {"Chile", 80.0}}) {
        auto s = std::make_shared<Sale>();
        s->country = name;
        s->sales = amount;
        sales->push_back(plat::Value(s));
    }
    // README begin
    auto pie = OmbriPie::create({0, 0, 300, 300});
    pie->setBinding("sales");        // each slice's value
    pie->setBindingName("country");  // and its name
    pie->setItemsSource(sales);
    pie->dataLabel()->setPosition(KivoPieLabelPositionInside);  // values written on the slices
    window->addSubview(pie);
    std::vector<double> values = pie->values();      // {120, 80}
    std::vector<std::string> names = pie->labels();  // {"Norway", "Chile"}
    // README end
    EXPECT_EQ(values, (std::vector<double>{120, 80}));
    EXPECT_EQ(names, (std::vector<std::string>{"Norway", "Chile"}));
}
