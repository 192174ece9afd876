#pragma once
// Makes the content of the grid's cells: the one point through which the drawing pass renders an
// ordinary cell and editing asks for an editor. A subclass draws differently or supplies editors.

#include <cstdint>
#include <memory>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"

class GridPanel;
class GridCellRange;
namespace plat {
class Context;
class View;
}  // namespace plat

class KIVO_GRID_EXPORT GridCellFactory : public plat::Object {
public:
    // Draws the cell through its panel, background and content.
    virtual void updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col,
                            plat::Context* context, const std::shared_ptr<GridCellRange>& range);
    // The editor for the range being edited; null lets the grid use its own.
    virtual std::shared_ptr<plat::View> createCellEditor(const std::shared_ptr<GridPanel>& panel,
                                                         const std::shared_ptr<GridCellRange>& range);
};
