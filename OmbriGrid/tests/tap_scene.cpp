#include "tap_scene.h"

#include "OmbriGrid/GridRowCol.h"

namespace grid_test {

PLAT_DEFINE_CLASS(TapItem, plat::Object, plat::property("name", &TapItem::name), plat::property("amount", &TapItem::amount),
                  plat::property("when", &TapItem::when), plat::property("done", &TapItem::done),
                  plat::property("city", &TapItem::city))

plat::ArrayPtr tapItems() {
    auto items = std::make_shared<plat::Array>();
    const auto add = [&](std::string name, double amount, double day, bool done, std::string city) {
        items->push_back(plat::Value(std::make_shared<TapItem>(std::move(name), amount, day, done, std::move(city))));
    };
    add("delta", 40, 3, false, "Oslo");
    add("alpha", 60, 1, true, "Rome");
    add("foxtrot", 10, 6, false, "Oslo");
    add("bravo", 30, 2, true, "Rome");
    add("echo", 50, 5, false, "Oslo");
    add("charlie", 20, 4, true, "Rome");
    return items;
}

std::vector<std::string> TapScene::names() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < grid->rows()->count(); ++i) {
        const auto row = grid->rows()->row(static_cast<std::int64_t>(i));
        if (std::dynamic_pointer_cast<GridGroupRow>(row)) {
            out.emplace_back("[group]");
            continue;
        }
        const auto item = row ? row->dataItem().as<TapItem>() : nullptr;
        out.push_back(item ? item->name : "?");
    }
    return out;
}

}  // namespace grid_test
