#pragma once
// The short press: dragging a column header's edge resizes the column, dragging a selection handle
// extends the selection. Whether a press begins, and which of the two it does, is decided when the
// recogniser asks; the press only acts once it has really begun. The press handler owns what a press
// holds between its steps.

#include <cstdint>
#include <memory>

#include "Platform/foundation/geometry.h"

class GridCellRange;
class GridHitTestInfo;
class OmbriGrid;
namespace plat {
class GestureRecognizer;
}

namespace kivo::detail {

class GridPress {
public:
    explicit GridPress(OmbriGrid& grid) : _grid(grid) {}
    GridPress(const GridPress&) = delete;
    GridPress& operator=(const GridPress&) = delete;

    // Whether a press at `point` begins: on a header cell's edge (within 15 points) of a column that
    // may be resized, or on a selection handle in the range modes.
    bool shouldBegin(plat::Point point);
    // The recogniser's action: a column's right edge follows the finger, or the grabbed corner of the
    // selection does.
    void respond(plat::GestureRecognizer& recognizer);
    // The column being sized; -1 outside a resize.
    std::int32_t columnBeingSized() const { return _columnBeingSized; }
    void setColumnBeingSized(std::int32_t column) { _columnBeingSized = column; }

private:
    // Which column a header press at `point` would size (walking left over hidden columns from a left
    // edge); -1 when it is in no edge zone or resizing is off.
    std::int32_t columnToSize(const GridHitTestInfo& hit, plat::Point point);
    void begin(plat::Point point);
    // One drag step of the column being sized: the column follows the finger from `_markX`.
    void resizeStep(double x);
    // The grabbed corner of the selection follows the finger over the cells.
    void dragSelectionHandle(plat::Point point);
    // The press is over, however it ended: the sized column keeps its width and is no longer marked.
    void end();
    // Every column fixed at the width it shows, the sized one at `sizedWidth`.
    void fixColumnWidths(std::int32_t sizedWidth);
    // The column's cell images (and the next one's) in the cells and both header panels; -1: all of them.
    void dropColumnCaches(std::int32_t column);

    OmbriGrid& _grid;
    std::int32_t _columnBeingSized = -1;
    // The x of the last press position while a column is sized.
    double _markX = 0;
    // The selection as it was when a press began on the cells; null outside such a press.
    std::shared_ptr<GridCellRange> _selStart;
    // What the short press will do once it begins, decided when it is asked to: only a press that
    // really begins marks a column or changes the moving corner.
    std::int32_t _pressColumn = -1;
    int _pressHandle = 0;
};

}  // namespace kivo::detail
