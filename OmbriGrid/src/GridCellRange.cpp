#include "OmbriGrid/GridCellRange.h"

#include <algorithm>
#include <cstdlib>

#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"

namespace {
// Both ends at -1 is the empty axis; the span is taken in 64 bits, so the widest pair does not overflow.
std::int64_t span(std::int32_t a, std::int32_t b) {
    if (a == -1 && b == -1) return 0;
    return std::llabs(static_cast<std::int64_t>(b) - a) + 1;
}
}  // namespace

bool GridCellRange::isEqual(const GridCellRange& other) const {
    return _row == other.row() && _row2 == other.row2() && _col == other.col() && _col2 == other.col2();
}

std::int32_t GridCellRange::topRow() const { return std::min(_row, _row2); }
std::int32_t GridCellRange::bottomRow() const { return std::max(_row, _row2); }
std::int32_t GridCellRange::leftCol() const { return std::min(_col, _col2); }
std::int32_t GridCellRange::rightCol() const { return std::max(_col, _col2); }
std::int64_t GridCellRange::rowSpan() const { return span(_row, _row2); }
std::int64_t GridCellRange::columnSpan() const { return span(_col, _col2); }
bool GridCellRange::isValid() const { return _row >= 0 && _col >= 0 && _row2 >= 0 && _col2 >= 0; }

bool GridCellRange::contains(const GridCellRange& other) const {
    return other.topRow() >= topRow() && other.bottomRow() <= bottomRow() && other.leftCol() >= leftCol() &&
           other.rightCol() <= rightCol();
}

bool GridCellRange::intersects(const GridCellRange& other) const {
    return rightCol() >= other.leftCol() && leftCol() <= other.rightCol() && bottomRow() >= other.topRow() &&
           topRow() <= other.bottomRow();
}

plat::Size GridCellRange::getRenderSize(const GridPanel& panel) const {
    const double width = static_cast<double>(panel.columns()->renderSizeOf(leftCol(), rightCol()));
    const double height = static_cast<double>(panel.rows()->renderSizeOf(topRow(), bottomRow()));
    return {width, height};
}
