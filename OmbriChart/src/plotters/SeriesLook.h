#pragma once
// The look the line and the scatter/bubble plotters give a series' line and its symbols, with the
// chart's selection look in place where the series is selected.

#include <cstdint>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/color.h"

namespace kivo::detail {

struct LineLook {
    plat::Color color;
    double width;
};

// The series' colour (else the palette's at paletteIndex) and border width; the chart's selection
// colour and width for a series selected in series mode. Each plotter applies its own rule for a zero
// width.
inline LineLook seriesLineLook(const OmbriChart& owner, const KivoSeries& series, std::int64_t paletteIndex, bool selected) {
    LineLook look{series.color().value_or(owner.getColor(paletteIndex)), series.borderWidth()};
    if (selected && owner.selectionMode() == KivoChartSelectionModeSeries) {
        look.color = owner.selectedBorderColor().value_or(look.color);
        look.width = owner.selectedBorderWidth();
    }
    return look;
}

struct SymbolLook {
    plat::Color fill;
    plat::Color plainBorder;  // the border of an unselected symbol
    plat::Color border;       // the border drawn now: the selection's when selected
    double plainWidth;
    double width;
};

// Fill: the symbol colour, else the series colour, else the palette's. Border: the symbol border colour,
// else the fill darkened; when selected, the chart's selection colour (else the fill darkened) and width.
inline SymbolLook seriesSymbolLook(const OmbriChart& owner, const KivoSeries& series, std::int64_t paletteIndex, bool selected) {
    SymbolLook look;
    look.fill = series.symbolColor().value_or(series.color().value_or(owner.getColor(paletteIndex)));
    look.plainBorder = series.symbolBorderColor().value_or(OmbriChartBase::darken(look.fill));
    look.plainWidth = series.symbolBorderWidth();
    look.border = selected ? owner.selectedBorderColor().value_or(OmbriChartBase::darken(look.fill)) : look.plainBorder;
    look.width = selected ? owner.selectedBorderWidth() : look.plainWidth;
    return look;
}

}  // namespace kivo::detail
