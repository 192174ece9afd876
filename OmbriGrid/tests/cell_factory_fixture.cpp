#include "cell_factory_fixture.h"

#include <string>

#include "KivoCore/KivoEvent.h"

namespace grid_test {

PLAT_DEFINE_CLASS(Six, plat::Object, plat::property("a", &Six::a), plat::property("b", &Six::b), plat::property("c", &Six::c),
                  plat::property("d", &Six::d), plat::property("e", &Six::e), plat::property("f", &Six::f))

plat::ArrayPtr sixItems(long count, long start) {
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < count; ++i) items->push_back(plat::Value(std::make_shared<Six>(start + i)));
    return items;
}

void CellFactoryScene::SetUp() {
    window->addSubview(grid);
    factory = NativeControlGridCellFactory::create(grid);
    grid->setCellFactory(factory);
    factory->createViewForCell()->addHandler(
        [this](const std::shared_ptr<KivoEventContainer>& c) {
            const auto args = c->args<GridCreateViewForCellEventArgs>();
            ASSERT_TRUE(args);
            askedPanels.push_back(args->panel()->cellType());
            ++asks[{args->row(), args->col()}];
            if (!handsOut(args->row(), args->col())) return;
            auto button = plat::Button::create(plat::ButtonType::System);
            button->setTitle(std::to_string(args->row()) + "," + std::to_string(args->col()));
            button->setBackgroundColor(ViewBackground);
            made.push_back(button);
            args->setView(button);
        },
        nullptr);
    bind(sixItems(Rows));
}

void CellFactoryScene::bind(const plat::ArrayPtr& items) {
    grid->setItemsSource(items);
    for (int c = 0; c < Columns; ++c) std::static_pointer_cast<GridColumn>(grid->columns()->item(c))->setWidth(ColumnWidth);
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    draw();
}

plat::RecordingContext& CellFactoryScene::draw() {
    rec = std::make_unique<plat::RecordingContext>();
    window->display(*rec);
    return *rec;
}

std::vector<std::shared_ptr<plat::View>> CellFactoryScene::clips() const {
    std::vector<std::shared_ptr<plat::View>> all;
    for (const auto& view : grid->subviews())
        if (view != grid->activeEditor()) all.push_back(view);
    if (all.size() < 4) return {};
    return {all.end() - 4, all.end()};
}

std::vector<std::shared_ptr<plat::View>> CellFactoryScene::shownViews() const {
    std::vector<std::shared_ptr<plat::View>> views;
    for (const auto& clip : clips())
        for (const auto& view : clip->subviews()) views.push_back(view);
    return views;
}

std::shared_ptr<plat::Button> CellFactoryScene::shownView(std::int32_t row, std::int32_t col) const {
    const std::string title = std::to_string(row) + "," + std::to_string(col);
    for (const auto& view : shownViews()) {
        auto button = std::dynamic_pointer_cast<plat::Button>(view);
        if (button && button->title() == title && !button->isHidden()) return button;
    }
    return nullptr;
}

int CellFactoryScene::totalAsks() const {
    int total = 0;
    for (const auto& [cell, n] : asks) total += n;
    return total;
}

}  // namespace grid_test
