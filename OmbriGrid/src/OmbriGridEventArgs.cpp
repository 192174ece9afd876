#include "OmbriGrid/OmbriGridEventArgs.h"

GridCellRangeEventArgs::GridCellRangeEventArgs(std::shared_ptr<GridPanel> panel, std::shared_ptr<GridCellRange> range)
    : _panel(std::move(panel)),
      _cellRange(std::move(range)),
      _row(_cellRange ? _cellRange->row() : -1),
      _col(_cellRange ? _cellRange->col() : -1) {}
