#pragma once
// Decides which cells of a panel merge into one range. Holds its grid weakly.

#include <memory>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"

class OmbriGrid;

class KIVO_GRID_EXPORT GridMergeManager : public plat::Object {
public:
    explicit GridMergeManager(const std::shared_ptr<OmbriGrid>& grid) : _grid(grid) {}
    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }

private:
    std::weak_ptr<OmbriGrid> _grid;
};
