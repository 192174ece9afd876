// Detail rows: "+" buttons over the row headers, and one row below the frozen row open, showing its
// "-" button and, over the detail band beneath it, an application view of a title and a few fields.

#include <iterator>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

class Order : public plat::Object {
public:
    PLAT_CLASS()
    Order() = default;
    explicit Order(long n)
        : number("A-" + std::to_string(4100 + n)), customer(customers[n % 5]), items(1 + n % 4), total(19.5 * static_cast<double>(1 + n % 7)),
          shipped(n % 3 != 0) {}
    std::string number, customer;
    double items = 0, total = 0;
    bool shipped = false;

private:
    static constexpr const char* customers[] = {"Harbour Foods", "Linden & Co", "Pelham Books", "Orchard Lane", "Vesta Tools"};
};
PLAT_DEFINE_CLASS(Order, plat::Object, plat::property("number", &Order::number), plat::property("customer", &Order::customer),
                  plat::property("items", &Order::items), plat::property("total", &Order::total),
                  plat::property("shipped", &Order::shipped))

// The application's detail view: the order's number as a title over a few of its fields.
std::shared_ptr<plat::View> orderSummary(const Order& order) {
    auto view = plat::View::create();
    view->setBackgroundColor(plat::Color(0.95, 0.97, 1.0, 1.0));
    auto title = plat::Label::create({10, 8, 260, 20});
    title->setFont(plat::Font::boldSystem(15));
    title->setText("Order " + order.number);
    view->addSubview(title);
    const std::string fields[] = {"Customer: " + order.customer, "Items: " + std::to_string(static_cast<long>(order.items)),
                                  "Status: " + std::string(order.shipped ? "shipped" : "waiting")};
    double y = 34;
    for (const auto& text : fields) {
        auto field = plat::Label::create({10, y, 260, 16});
        field->setFont(plat::Font::system(12));
        field->setTextColor(plat::Color(0.25, 0.25, 0.3, 1.0));
        field->setText(text);
        view->addSubview(field);
        y += 20;
    }
    return view;
}

void populate(plat::Window& window) {
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < 30; ++i) items->push_back(plat::Value(std::make_shared<Order>(i)));
    auto grid = OmbriGrid::create({10, 24, 420, 400});
    grid->setItemsSource(items);
    const double widths[] = {76, 118, 56, 66, 72};
    for (std::size_t c = 0; c < grid->columns()->count() && c < std::size(widths); ++c)
        grid->columns()->column(static_cast<std::int64_t>(c))->setWidth(widths[c]);
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    window.addSubview(grid);

    const auto& provider = grid->detailProvider();
    provider->setDetailHeight(112);
    provider->setDetailVisibilityMode(GridDetailVisibilityModeSingle);
    provider->detailCellCreating()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<GridDetailCellCreatingEventArgs>();
            if (auto order = args->row()->dataItem().as<Order>()) args->setView(orderSummary(*order));
        },
        grid);
    provider->showDetail(grid->rows()->row(2));

    gallery::addCaption(window, {10, 6, 420, 14}, "row 2's detail open under its \"-\" button, \"+\" on the other rows");
}

const gallery::PageRegistrar registrar({
    .name = "grid_detail",
    .description = "Detail rows: a \"+\" button over every data row's header, and the row below the frozen one open, "
                   "its button showing \"-\" and its detail band showing an application view of the order's title and "
                   "fields.",
    .size = {440, 434},
    .populate = populate,
    .settleSeconds = 0.1,
});

}  // namespace
