#include "clipboard_fixture.h"

#include "KivoCore/KivoCollectionView.h"

namespace grid_test {

PLAT_DEFINE_CLASS(ClipItem, plat::Object, plat::property("city", &ClipItem::city), plat::property("active", &ClipItem::active),
                  plat::property("amount", &ClipItem::amount), plat::property("note", &ClipItem::note),
                  plat::property("due", &ClipItem::due), plat::property("kind", &ClipItem::kind))

std::vector<std::shared_ptr<ClipItem>> clipItems() {
    return {std::make_shared<ClipItem>("Oslo", true, 12.5, "alpha", march(0), 1),
            std::make_shared<ClipItem>("R&D <Bergen>", false, 3, "beta", march(1), 2),
            std::make_shared<ClipItem>("Tromsø", true, 1234.5, "gamma", march(2), 3),
            std::make_shared<ClipItem>("Bodø", false, 7, "delta", march(3), 1),
            std::make_shared<ClipItem>("Molde", true, 8, "eps", march(4), 2),
            std::make_shared<ClipItem>("Hamar", false, 9, "zeta", march(5), 3),
            std::make_shared<ClipItem>("Narvik", true, 13, "13", march(6), 1),
            std::make_shared<ClipItem>("Alta", false, 13, "13", march(7), 2)};
}

void ClipScene::build(bool grouped) {
    items = clipItems();
    plat::Array values;
    for (const auto& item : items) values.push_back(plat::Value(item));
    grid->setAutoGenerateColumns(false);
    grid->columns()->removeAllObjects();
    const char* paths[] = {"city", "active", "amount", "note", "due", "kind"};
    const std::int64_t types[] = {2, 4, 3, 2, 5, 3};
    for (int c = 0; c < 6; ++c) {
        auto column = std::make_shared<GridColumn>();
        column->setBinding(std::string(paths[c]));
        column->setDataType(types[c]);
        column->setAllowMerging(c == Amount || c == Note);
        grid->columns()->push(column);
    }
    auto names = std::make_shared<plat::Array>();
    for (const auto& [rank, label] : std::vector<std::pair<long, std::string>>{{1, "one"}, {2, "two"}, {3, "three"}}) {
        auto entry = std::make_shared<ClipItem>();
        entry->kind = rank;
        entry->note = label;
        names->push_back(plat::Value(entry));
    }
    grid->columns()->column(Kind)->setDataMap(std::make_shared<GridDataMap>(KivoCollectionView::create(names), "kind", "note"));
    if (grouped) {
        grid->setItemsSource(std::make_shared<plat::Array>(plat::Array(values.begin(), values.begin() + 4)));
        grid->addGroup("Later", plat::Array(values.begin() + 4, values.end()));
    } else {
        grid->setItemsSource(std::make_shared<plat::Array>(values));
    }
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setAllowMerging(GridAllowMergingCells);
    draw();
}

int& ClipScene::countInvalidations() {
    invalidations = 0;
    grid->ombriGridInvalidated()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++invalidations; }, token);
    return invalidations;
}

}  // namespace grid_test
