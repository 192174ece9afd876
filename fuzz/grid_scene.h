#pragma once
// The grid of the clipboard fuzz targets: rows of items with a property of every column type (text,
// Boolean, number, date, integer), one column each, in a window, selection mode cell range.

#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"

namespace fuzz {

class Record : public plat::Object {
public:
    PLAT_CLASS()
    std::string text;
    bool flag = false;
    double amount = 0;
    plat::Date when;
    long count = 0;
};
PLAT_DEFINE_CLASS(Record, plat::Object, plat::property("text", &Record::text), plat::property("flag", &Record::flag),
                  plat::property("amount", &Record::amount), plat::property("when", &Record::when),
                  plat::property("count", &Record::count))

struct GridScene {
    static constexpr int Columns = 5;

    explicit GridScene(std::vector<std::shared_ptr<Record>> records) : items(std::move(records)) {
        grid->setAutoGenerateColumns(false);
        grid->setSelectionMode(GridSelectionModeCellRange);
        const std::pair<const char*, KivoDataType> columns[Columns] = {{"text", KivoDataTypeString},
                                                                       {"flag", KivoDataTypeBoolean},
                                                                       {"amount", KivoDataTypeNumber},
                                                                       {"when", KivoDataTypeDate},
                                                                       {"count", KivoDataTypeNumber}};
        for (const auto& [binding, type] : columns) {
            auto column = std::make_shared<GridColumn>();
            column->setBinding(binding);
            column->setDataType(type);
            grid->columns()->push(column);
        }
        auto source = std::make_shared<plat::Array>();
        for (const auto& item : items) source->push_back(plat::Value(item));
        grid->setItemsSource(source);
        window->addSubview(grid);
        plat::RecordingContext recording;
        window->display(recording);
    }
    int rows() const { return static_cast<int>(grid->rows()->count()); }
    std::string text(int row, int col) const { return grid->getCellDataForRow(row, col, true).description(); }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (int r = 0; r < rows(); ++r)
            for (int c = 0; c < Columns; ++c) all.push_back(text(r, c));
        return all;
    }
    void select(int row, int col, int row2, int col2) {
        grid->setSelection(std::make_shared<GridCellRange>(row, col, row2, col2));
    }

    std::vector<std::shared_ptr<Record>> items;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 640, 480});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 640, 480});
};

}  // namespace fuzz
