// The data grid: sales grouped by region with one frozen row and column, a Boolean column, a sorted
// header, group rows with a sum, a merged block and a cell-range selection with both handles; beside
// it the demonstration data an interface designer shows.

#include "KivoCore/KivoAggregate.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

class Sale : public plat::Object {
public:
    PLAT_CLASS()
    Sale(std::string region, std::string product, double units, bool shipped)
        : region(std::move(region)), product(std::move(product)), units(units), shipped(shipped) {}
    Sale() = default;
    std::string region, product;
    double units = 0;
    bool shipped = false;
};
PLAT_DEFINE_CLASS(Sale, plat::Object, plat::property("region", &Sale::region), plat::property("product", &Sale::product),
                  plat::property("units", &Sale::units), plat::property("shipped", &Sale::shipped))

std::shared_ptr<OmbriGrid> salesGrid(const plat::Rect& frame) {
    auto items = std::make_shared<plat::Array>();
    const struct {
        const char* region;
        const char* product;
        double units;
        bool shipped;
    } rows[] = {{"East", "Lamps", 120, true},  {"East", "Lamps", 85, false}, {"East", "Chairs", 42, true},
                {"North", "Desks", 17, true},  {"North", "Desks", 23, true}, {"North", "Desks", 9, false},
                {"North", "Lamps", 64, false}, {"West", "Chairs", 31, true}, {"West", "Tables", 12, false}};
    for (const auto& r : rows) items->push_back(plat::Value(std::make_shared<Sale>(r.region, r.product, r.units, r.shipped)));
    auto view = KivoCollectionView::create(items);
    view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("region")));
    view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("product", true)));
    auto grid = OmbriGrid::create(frame);
    grid->setCollectionView(view);
    auto& columns = *grid->columns();
    columns.column(0)->setWidth(70);
    columns.column(1)->setWidth(90);
    columns.column(1)->setAllowMerging(true);
    columns.column(2)->setWidth(80);
    columns.column(2)->setAggregate(KivoAggregateSum);
    columns.column(3)->setWidth(80);
    grid->setAllowMerging(GridAllowMergingCells);
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(5, 2, 6, 3));
    return grid;
}

void populate(plat::Window& window) {
    window.addSubview(salesGrid({10, 24, 380, 330}));
    gallery::addCaption(window, {10, 6, 380, 14}, "sales grouped by region: frozen row and column, sum, merge, range");
    auto demo = OmbriGrid::create({404, 24, 440, 330});
    demo->prepareForInterfaceBuilder();
    window.addSubview(demo);
    gallery::addCaption(window, {404, 6, 440, 14}, "interface-designer data");
}

const gallery::PageRegistrar registrar({
    .name = "grid",
    .description = "The data grid over model objects grouped by region (group rows with the sum of units, a frozen "
                   "row and column, check boxes, a sorted and merged product column, a cell range with its two "
                   "handles), and the designer's demonstration data.",
    .size = {854, 364},
    .populate = populate,
    .settleSeconds = 0.5,
});

}  // namespace
