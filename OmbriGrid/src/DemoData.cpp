// The demonstration data an interface designer shows in a grid with no items of its own.

#include "GridState.h"
#include "KivoCore/KivoDataType.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "look/GridSettings.h"

namespace {
constexpr int DemoColumns = 6;
constexpr int RowsBeforeGroup = 9;
constexpr int RowsAfterGroup = 19;
}  // namespace

void OmbriGrid::prepareForInterfaceBuilder() {
    const auto alive = keepAlive();
    for (int i = 0; i < DemoColumns; ++i) _state->columns->push(std::make_shared<GridColumn>());
    for (int i = 0; i < RowsBeforeGroup; ++i) _state->rows->push(std::make_shared<GridRow>());
    for (int i = 0; i < DemoColumns; ++i) _state->columns->column(i)->setHeaderHorizontalAlignment(GridHorizontalAlignmentCenter);
    if (_state->settings->showGroups) addGroup("Some group", {});
    for (int i = 0; i < RowsAfterGroup; ++i) _state->rows->push(std::make_shared<GridRow>());

    _state->headerCols->column(0)->setHorizontalAlignment(GridHorizontalAlignmentCenter);
    _state->rowHeaders->setCellData(plat::Value("+"), 0, 0);
    _state->rowHeaders->setCellData(plat::Value("\u2211"), 1, 0);
    _state->topLeftCells->setCellData(plat::Value("KIVO"), 0, 0);

    const auto rowCount = static_cast<std::int32_t>(_state->rows->count());
    auto column = [&](int c) { return _state->columns->column(c); };
    column(0)->setHeader("#");
    column(0)->setDataType(KivoDataTypeNumber);
    column(0)->setHeaderHorizontalAlignment(GridHorizontalAlignmentRight);
    for (std::int32_t r = 0; r < rowCount; ++r) setCellData(plat::Value(static_cast<std::int64_t>(r)), r, 0);

    column(1)->setHeader("Text");
    setCellData(plat::Value("Some very long text that shows word wrap"), 2, 1);
    column(1)->setWordWrap(true);
    autoSizeRow(2);
    setCellData(plat::Value("Selection text"), 3, 1);
    setCellData(plat::Value("Text"), 4, 1);
    setCellData(plat::Value("Text"), 5, 1);

    column(2)->setHeader("Boolean");
    column(2)->setDataType(KivoDataTypeBoolean);
    for (const std::int32_t r : {1, 5, 3, 7, 15, 21}) setCellData(plat::Value(static_cast<std::int64_t>(1)), r, 2);

    column(3)->setHeader("Finanical");
    column(3)->setDataType(KivoDataTypeNumber);
    column(3)->setFormat("C");
    setCellData(plat::Value(2.56), 3, 3);
    setCellData(plat::Value(200.01), 2, 3);
    setCellData(plat::Value(20999.99), 8, 3);

    column(4)->setHeader("Date");
    column(4)->setDataType(KivoDataTypeDate);
    setCellData(plat::Value(plat::Date::now()), 0, 4);
    setCellData(plat::Value(plat::Date::now()), 4, 4);

    column(5)->setHeader("Time");
    auto time = std::make_shared<plat::DateFormatter>(plat::Locale::current(), plat::TimeZone::current());
    time->setDateFormat("hh:mm a");
    column(5)->setFormatter(time);
    setCellData(plat::Value(plat::Date::now()), 0, 5);
    setCellData(plat::Value(plat::Date::now()), 4, 5);

    _state->selectionMode = GridSelectionModeCellRange;
    _state->selection->setCol(1);
    _state->selection->setCol2(3);
    _state->selection->setRow(3);
    _state->selection->setRow2(4);

    autoSizeColumn(0, true);
    autoSizeColumn(0, false);
}
