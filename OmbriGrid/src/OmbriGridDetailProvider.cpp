#include "OmbriGrid/OmbriGridDetailProvider.h"

#include "OmbriGrid/OmbriGrid.h"

void OmbriGridDetailProvider::setDetailHeight(double height) {
    _detailHeight = height;
    if (auto grid = _grid.lock()) grid->invalidate();
}
