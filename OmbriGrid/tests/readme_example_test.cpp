// The README's grid example, kept compiling and true: the statements between the markers are the
// README's, word for word.
#include <gtest/gtest.h>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/OmbriGrid.h"
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

TEST(GridReadmeExample, ShowsOneRowPerItemAndTheBoundProperty) {
    plat::testing::VirtualClock clock;
    auto window = plat::Window::create({0, 0, 400, 300});
    auto s = std::make_shared<Sale>();
    s->country = "Norway";
    s->sales = 120;
    // README begin
    auto sales = std::make_shared<plat::Array>();  // the rows: any model objects
    sales->push_back(plat::Value(s));
    auto grid = OmbriGrid::create({0, 0, 400, 300});
    grid->setAutoGenerateColumns(false);  // else a column per property
    auto country = std::make_shared<GridColumn>();
    country->setBinding("country");
    grid->columns()->push(country);
    grid->setItemsSource(sales);
    window->addSubview(grid);
    std::size_t rows = grid->rows()->count();                              // 1: a row per item
    std::string text = grid->cells()->getCellData(0, 0, true).asString();  // "Norway"
    // README end
    EXPECT_EQ(rows, 1u);
    EXPECT_EQ(text, "Norway");
    EXPECT_EQ(grid->columns()->count(), 1u);
}
