#pragma once
// The arguments of the native-control cell factory's request for a cell's view: the drawing panel and
// the cell's one-cell range, and the view a handler supplies (none at first).

#include <memory>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridEventArgs.h"

namespace plat {
class View;
}

class KIVO_GRID_EXPORT GridCreateViewForCellEventArgs : public GridCellRangeEventArgs {
public:
    GridCreateViewForCellEventArgs(std::shared_ptr<GridPanel> panel, std::shared_ptr<GridCellRange> range)
        : GridCellRangeEventArgs(std::move(panel), std::move(range)) {}

    const std::shared_ptr<plat::View>& view() const { return _view; }
    void setView(std::shared_ptr<plat::View> view) { _view = std::move(view); }

private:
    std::shared_ptr<plat::View> _view;
};
