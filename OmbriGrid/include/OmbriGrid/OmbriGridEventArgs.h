#pragma once
// The arguments of the grid's events. Cancelable ones let a handler stop what the event announces.

#include <cstdint>
#include <memory>

#include "KivoCore/KivoEventArgs.h"
#include "KivoCore/KivoPropertyInfo.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"

class GridPanel;
class GridRow;
class GridColumn;
namespace plat {
class Context;
class View;
class Button;
}  // namespace plat

// A panel and a cell range. `row` and `col` are the range's corner at creation: later changes of the
// range object leave them alone.
class KIVO_GRID_EXPORT GridCellRangeEventArgs : public KivoCancelEventArgs {
public:
    GridCellRangeEventArgs(std::shared_ptr<GridPanel> panel, std::shared_ptr<GridCellRange> range);

    const std::shared_ptr<GridPanel>& panel() const { return _panel; }
    const std::shared_ptr<GridCellRange>& cellRange() const { return _cellRange; }
    std::int32_t row() const { return _row; }
    std::int32_t col() const { return _col; }

private:
    std::shared_ptr<GridPanel> _panel;
    std::shared_ptr<GridCellRange> _cellRange;
    std::int32_t _row, _col;
};

// Adds the drawing context of the cell being drawn, valid only while the event runs.
class KIVO_GRID_EXPORT GridFormatItemEventArgs : public GridCellRangeEventArgs {
public:
    GridFormatItemEventArgs(std::shared_ptr<GridPanel> panel, std::shared_ptr<GridCellRange> range, plat::Context* context)
        : GridCellRangeEventArgs(std::move(panel), std::move(range)), _context(context) {}
    plat::Context* context() const { return _context; }

private:
    plat::Context* _context;
};

// The view a handler supplies for a detail row.
class KIVO_GRID_EXPORT GridDetailCellCreatingEventArgs : public KivoCancelEventArgs {
public:
    explicit GridDetailCellCreatingEventArgs(std::shared_ptr<GridRow> row) : _row(std::move(row)) {}
    const std::shared_ptr<GridRow>& row() const { return _row; }
    const std::shared_ptr<plat::View>& view() const { return _view; }
    void setView(std::shared_ptr<plat::View> view) { _view = std::move(view); }

private:
    std::shared_ptr<GridRow> _row;
    std::shared_ptr<plat::View> _view;
};

// A row header's expand button as it is about to be shown: a handler may restyle it or put another in
// its place.
class KIVO_GRID_EXPORT GridRowHeaderLoadingEventArgs : public KivoCancelEventArgs {
public:
    GridRowHeaderLoadingEventArgs(std::shared_ptr<GridRow> row, std::shared_ptr<plat::Button> button)
        : _row(std::move(row)), _button(std::move(button)) {}
    const std::shared_ptr<GridRow>& row() const { return _row; }
    const std::shared_ptr<plat::Button>& button() const { return _button; }
    void setButton(std::shared_ptr<plat::Button> button) { _button = std::move(button); }

private:
    std::shared_ptr<GridRow> _row;
    std::shared_ptr<plat::Button> _button;
};

// A column about to be generated for a property, which handlers configure or skip.
class KIVO_GRID_EXPORT GridAutoGeneratingColumnEventArgs : public KivoCancelEventArgs {
public:
    GridAutoGeneratingColumnEventArgs(std::shared_ptr<GridColumn> column, std::shared_ptr<KivoPropertyInfo> propertyInfo)
        : _propertyInfo(std::move(propertyInfo)), _column(std::move(column)) {}
    const std::shared_ptr<KivoPropertyInfo>& propertyInfo() const { return _propertyInfo; }
    const std::shared_ptr<GridColumn>& column() const { return _column; }
    void setColumn(std::shared_ptr<GridColumn> column) { _column = std::move(column); }

private:
    std::shared_ptr<KivoPropertyInfo> _propertyInfo;
    std::shared_ptr<GridColumn> _column;
};

class KIVO_GRID_EXPORT GridResizedColumnEventArgs : public KivoEventArgs {
public:
    explicit GridResizedColumnEventArgs(std::shared_ptr<GridColumn> column) : _column(std::move(column)) {}
    const std::shared_ptr<GridColumn>& column() const { return _column; }

private:
    std::shared_ptr<GridColumn> _column;
};
