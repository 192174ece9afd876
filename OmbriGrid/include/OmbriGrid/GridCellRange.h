#pragma once
// A rectangle of cells of one panel named by two corner cells, stored as given (in any order); the
// normalising getters report its top, bottom, left and right. -1 in a coordinate means none.

#include <cstdint>
#include <memory>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"

class GridPanel;

class KIVO_GRID_EXPORT GridCellRange : public plat::Object {
public:
    GridCellRange() = default;  // all four -1
    GridCellRange(std::int32_t row, std::int32_t col) : _row(row), _col(col), _row2(row), _col2(col) {}
    GridCellRange(std::int32_t row, std::int32_t col, std::int32_t row2, std::int32_t col2)
        : _row(row), _col(col), _row2(row2), _col2(col2) {}

    std::int32_t row() const { return _row; }
    void setRow(std::int32_t v) { _row = v; }
    std::int32_t col() const { return _col; }
    void setCol(std::int32_t v) { _col = v; }
    std::int32_t row2() const { return _row2; }
    void setRow2(std::int32_t v) { _row2 = v; }
    std::int32_t col2() const { return _col2; }
    void setCol2(std::int32_t v) { _col2 = v; }

    std::shared_ptr<GridCellRange> clone() const { return std::make_shared<GridCellRange>(*this); }
    // Compares the stored corners, not the cells covered: a range and its mirror image differ.
    bool isEqual(const GridCellRange& other) const;

    std::int32_t topRow() const;
    std::int32_t bottomRow() const;
    std::int32_t leftCol() const;
    std::int32_t rightCol() const;
    // 0 when both indices of the axis are -1; otherwise the number of indices between them, inclusive.
    std::int64_t rowSpan() const;
    std::int64_t columnSpan() const;
    bool isValid() const;
    bool isSingleCell() const { return _row == _row2 && _col == _col2; }
    bool containsRow(std::int32_t r) const { return topRow() <= r && r <= bottomRow(); }
    bool containsColumn(std::int32_t c) const { return leftCol() <= c && c <= rightCol(); }
    bool contains(const GridCellRange& other) const;
    bool intersects(const GridCellRange& other) const;
    // The points the range covers in `panel`: the render sizes of its columns and rows, inclusive.
    // Rows and columns outside the panel count as 0, so the empty range measures 0 × 0.
    plat::Size getRenderSize(const GridPanel& panel) const;

private:
    std::int32_t _row = -1, _col = -1, _row2 = -1, _col2 = -1;
};
