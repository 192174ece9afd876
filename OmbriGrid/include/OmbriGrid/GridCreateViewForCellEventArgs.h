#pragma once
// What a handler of the cell factory's view request sees and answers: which cell is being drawn, and a
// slot for the view it wants over that cell. The slot starts empty, so a handler that answers nothing
// leaves the cell drawn as it is.

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
