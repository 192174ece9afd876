#include "OmbriGrid/GridCellFactory.h"

#include "OmbriGrid/GridPanel.h"
#include "Platform/ui/view.h"

void GridCellFactory::updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col, plat::Context*,
                                 const std::shared_ptr<GridCellRange>&) {
    if (panel) panel->drawCell(row, col, true);
}

std::shared_ptr<plat::View> GridCellFactory::createCellEditor(const std::shared_ptr<GridPanel>&,
                                                              const std::shared_ptr<GridCellRange>&) {
    return nullptr;
}
