#pragma once
// The grid's look and behaviour settings: colours, fonts, lines, headers, and the switches an
// application turns. Plain values; the grid's setters check them and redraw.

#include <cstdint>
#include <optional>
#include <string>

#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class OmbriGrid;

namespace kivo::detail {

struct GridSettings {
    // ---- look ----
    std::optional<plat::Color> alternatingRowBackgroundColor;
    plat::Color frozenCellsBorderColor, textColor, columnHeaderBackgroundColor, columnHeaderTextColor, gridLinesColor,
        groupRowBackgroundColor, groupRowTextColor, headerGridLinesColor, headerSelectedBackgroundColor, headerSelectedTextColor,
        rowHeaderBackgroundColor, rowHeaderTextColor, selectionAdornerColor, selectionAdornerBorderColor,
        selectionBackgroundColor, selectionTextColor;
    plat::Color scrollIndicatorColor;
    plat::Font font, columnHeaderFont, rowHeaderFont;
    GridHeadersVisibility headersVisibility = GridHeadersVisibilityAll;
    GridLinesVisibility gridLinesVisibility = GridLinesVisibilityAll;
    double gridLinesWidth = 1.0;
    double treeIndent = 14.0;
    std::string groupHeaderFormat;
    // ---- behaviour ----
    std::int64_t autoSizeMode = GridAutoSizeModeBoth;
    std::int64_t allowMerging = GridAllowMergingNone;
    bool touchFeedback = true;
    bool allowResizing = true;
    bool autoGenerateColumns = true;
    bool isReadOnly = false;
    bool allowSorting = true;
    bool showSort = true;
    bool showGroups = true;
    bool defaultContextMenu = true;
};

// A setting is stored only when it changes, and then the grid redraws; a font also sets the default
// sizes that follow from it. An empty font name is refused with a log line.
template <class Grid, class T>
void changeAndInvalidate(Grid& grid, T& field, const T& value) {
    if (field == value) return;
    field = value;
    grid.invalidate();
}
void changeFont(OmbriGrid& grid, plat::Font& field, const plat::Font& font);
void changeFontName(OmbriGrid& grid, plat::Font& field, const std::string& name);

}  // namespace kivo::detail
