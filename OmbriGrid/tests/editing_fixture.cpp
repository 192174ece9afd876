#include "editing_fixture.h"

namespace grid_test {

PLAT_DEFINE_CLASS(Task, plat::Object, plat::property("name", &Task::name), plat::property("amount", &Task::amount),
                  plat::property("due", &Task::due), plat::property("done", &Task::done), plat::property("status", &Task::status))
PLAT_DEFINE_CLASS(Status, plat::Object, plat::property("key", &Status::key), plat::property("label", &Status::label))

void EditingScene::build() {
    if (grid) grid->finishEditing(true);
    // The shared value formatters follow the locale current when they are first made.
    plat::resetProcessCaches();
    events.clear();
    window = plat::Window::create({0, 0, 320, 568});
    grid = OmbriGrid::create({0, 0, 320, 568});
    auto statusItems = std::make_shared<plat::Array>();
    for (auto [key, label] : {std::pair{1L, "Open"}, {2L, "Doing"}, {3L, "Done"}})
        statusItems->push_back(plat::Value(std::make_shared<Status>(key, label)));
    statuses = std::make_shared<GridDataMap>(statusItems, "key", "label");

    items = std::make_shared<plat::Array>();
    const plat::Date due(March1At1530);
    items->push_back(plat::Value(std::make_shared<Task>("Alpha", 12.5, due, plat::Value(true), 1)));
    items->push_back(plat::Value(std::make_shared<Task>("Beta", 1234.5, due, plat::Value(false), 2)));
    items->push_back(plat::Value(std::make_shared<Task>("Gamma", 3, due, plat::Value(), 3)));
    items->push_back(plat::Value(std::make_shared<Task>("Delta", 0.25, due, plat::Value(), 99)));
    items->push_back(plat::Value(std::make_shared<Task>("Eps", -7, due, plat::Value(true), 1)));
    items->push_back(plat::Value(std::make_shared<Task>("7", 7, due, plat::Value(false), 2)));

    window->addSubview(grid);
    grid->setItemsSource(items);
    column(DoneCol).setDataType(4);
    column(StatusCol).setDataMap(statuses);
    grid->setAllowMerging(GridAllowMergingCells);
    column(NameCol).setAllowMerging(true);
    column(AmountCol).setAllowMerging(true);
    draw();

    auto count = [this](std::string name) {
        return [this, name](const std::shared_ptr<KivoEventContainer>&) { events.push_back(name); };
    };
    grid->ombriGridBeginningEdit()->addHandler(count("beginning"), grid);
    grid->ombriGridPrepareCellForEdit()->addHandler(count("prepare"), grid);
    grid->ombriGridCellEditEnding()->addHandler(count("ending"), grid);
    grid->ombriGridCellEditEnded()->addHandler(count("ended"), grid);
}

}  // namespace grid_test
