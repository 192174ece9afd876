// The grid's look and behaviour accessors that only read or store a setting; those that check or
// derive a value are with the grid.
#include "look/GridSettings.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"

using kivo::detail::changeAndInvalidate;
using kivo::detail::changeFont;
using kivo::detail::changeFontName;

plat::Color OmbriGrid::frozenCellsBorderColor() const { return _settings->frozenCellsBorderColor; }

void OmbriGrid::setFrozenCellsBorderColor(plat::Color c) { changeAndInvalidate(*this, _settings->frozenCellsBorderColor, c); }

plat::Color OmbriGrid::textColor() const { return _settings->textColor; }

void OmbriGrid::setTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->textColor, c); }

plat::Color OmbriGrid::columnHeaderBackgroundColor() const { return _settings->columnHeaderBackgroundColor; }

void OmbriGrid::setColumnHeaderBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _settings->columnHeaderBackgroundColor, c);
}

plat::Color OmbriGrid::columnHeaderTextColor() const { return _settings->columnHeaderTextColor; }

void OmbriGrid::setColumnHeaderTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->columnHeaderTextColor, c); }

plat::Color OmbriGrid::gridLinesColor() const { return _settings->gridLinesColor; }

void OmbriGrid::setGridLinesColor(plat::Color c) { changeAndInvalidate(*this, _settings->gridLinesColor, c); }

plat::Color OmbriGrid::groupRowBackgroundColor() const { return _settings->groupRowBackgroundColor; }

void OmbriGrid::setGroupRowBackgroundColor(plat::Color c) { changeAndInvalidate(*this, _settings->groupRowBackgroundColor, c); }

plat::Color OmbriGrid::groupRowTextColor() const { return _settings->groupRowTextColor; }

void OmbriGrid::setGroupRowTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->groupRowTextColor, c); }

plat::Color OmbriGrid::headerGridLinesColor() const { return _settings->headerGridLinesColor; }

void OmbriGrid::setHeaderGridLinesColor(plat::Color c) { changeAndInvalidate(*this, _settings->headerGridLinesColor, c); }

plat::Color OmbriGrid::headerSelectedBackgroundColor() const { return _settings->headerSelectedBackgroundColor; }

void OmbriGrid::setHeaderSelectedBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _settings->headerSelectedBackgroundColor, c);
}

plat::Color OmbriGrid::headerSelectedTextColor() const { return _settings->headerSelectedTextColor; }

void OmbriGrid::setHeaderSelectedTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->headerSelectedTextColor, c); }

plat::Color OmbriGrid::rowHeaderBackgroundColor() const { return _settings->rowHeaderBackgroundColor; }

void OmbriGrid::setRowHeaderBackgroundColor(plat::Color c) { changeAndInvalidate(*this, _settings->rowHeaderBackgroundColor, c); }

plat::Color OmbriGrid::rowHeaderTextColor() const { return _settings->rowHeaderTextColor; }

void OmbriGrid::setRowHeaderTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->rowHeaderTextColor, c); }

plat::Color OmbriGrid::selectionAdornerColor() const { return _settings->selectionAdornerColor; }

void OmbriGrid::setSelectionAdornerColor(plat::Color c) { changeAndInvalidate(*this, _settings->selectionAdornerColor, c); }

plat::Color OmbriGrid::selectionAdornerBorderColor() const { return _settings->selectionAdornerBorderColor; }

void OmbriGrid::setSelectionAdornerBorderColor(plat::Color c) {
    changeAndInvalidate(*this, _settings->selectionAdornerBorderColor, c);
}

plat::Color OmbriGrid::selectionBackgroundColor() const { return _settings->selectionBackgroundColor; }

void OmbriGrid::setSelectionBackgroundColor(plat::Color c) { changeAndInvalidate(*this, _settings->selectionBackgroundColor, c); }

plat::Color OmbriGrid::selectionTextColor() const { return _settings->selectionTextColor; }

void OmbriGrid::setSelectionTextColor(plat::Color c) { changeAndInvalidate(*this, _settings->selectionTextColor, c); }

const plat::Font& OmbriGrid::font() const { return _settings->font; }

void OmbriGrid::setFont(const plat::Font& font) { changeFont(*this, _settings->font, font); }

const plat::Font& OmbriGrid::columnHeaderFont() const { return _settings->columnHeaderFont; }

void OmbriGrid::setColumnHeaderFont(const plat::Font& font) { changeFont(*this, _settings->columnHeaderFont, font); }

const plat::Font& OmbriGrid::rowHeaderFont() const { return _settings->rowHeaderFont; }

void OmbriGrid::setRowHeaderFont(const plat::Font& font) { changeFont(*this, _settings->rowHeaderFont, font); }

std::string OmbriGrid::fontName() const { return _settings->font.family; }

void OmbriGrid::setFontName(const std::string& name) { changeFontName(*this, _settings->font, name); }

double OmbriGrid::fontSize() const { return _settings->font.size; }

void OmbriGrid::setFontSize(double size) { changeFont(*this, _settings->font, _settings->font.withSize(size)); }

std::string OmbriGrid::columnHeaderFontName() const { return _settings->columnHeaderFont.family; }

void OmbriGrid::setColumnHeaderFontName(const std::string& name) { changeFontName(*this, _settings->columnHeaderFont, name); }

double OmbriGrid::columnHeaderFontSize() const { return _settings->columnHeaderFont.size; }

void OmbriGrid::setColumnHeaderFontSize(double size) {
    changeFont(*this, _settings->columnHeaderFont, _settings->columnHeaderFont.withSize(size));
}

std::string OmbriGrid::rowHeaderFontName() const { return _settings->rowHeaderFont.family; }

void OmbriGrid::setRowHeaderFontName(const std::string& name) { changeFontName(*this, _settings->rowHeaderFont, name); }

double OmbriGrid::rowHeaderFontSize() const { return _settings->rowHeaderFont.size; }

void OmbriGrid::setRowHeaderFontSize(double size) {
    changeFont(*this, _settings->rowHeaderFont, _settings->rowHeaderFont.withSize(size));
}

GridHeadersVisibility OmbriGrid::headersVisibility() const { return _settings->headersVisibility; }

bool OmbriGrid::columnHeaderVisible() const { return (_settings->headersVisibility & GridHeadersVisibilityColumn) != 0; }

bool OmbriGrid::rowHeaderVisible() const { return (_settings->headersVisibility & GridHeadersVisibilityRow) != 0; }

GridLinesVisibility OmbriGrid::gridLinesVisibility() const { return _settings->gridLinesVisibility; }

bool OmbriGrid::horizontalLinesVisible() const { return (_settings->gridLinesVisibility & GridLinesVisibilityHorizontal) != 0; }

bool OmbriGrid::verticalLinesVisible() const { return (_settings->gridLinesVisibility & GridLinesVisibilityVertical) != 0; }

double OmbriGrid::gridLinesWidth() const { return _settings->gridLinesWidth; }

void OmbriGrid::setGridLinesWidth(double width) { changeAndInvalidate(*this, _settings->gridLinesWidth, width); }

const std::string& OmbriGrid::groupHeaderFormat() const { return _settings->groupHeaderFormat; }

void OmbriGrid::setGroupHeaderFormat(const std::string& format) {
    changeAndInvalidate(*this, _settings->groupHeaderFormat, format);
}

double OmbriGrid::treeIndent() const { return _settings->treeIndent; }

void OmbriGrid::setTreeIndent(double indent) { changeAndInvalidate(*this, _settings->treeIndent, indent); }

std::int64_t OmbriGrid::autoSizeMode() const { return _settings->autoSizeMode; }

void OmbriGrid::setAutoSizeMode(std::int64_t mode) { _settings->autoSizeMode = mode; }

std::int64_t OmbriGrid::allowMerging() const { return _settings->allowMerging; }

bool OmbriGrid::touchFeedback() const { return _settings->touchFeedback; }

void OmbriGrid::setTouchFeedback(bool on) { _settings->touchFeedback = on; }

bool OmbriGrid::allowResizing() const { return _settings->allowResizing; }

void OmbriGrid::setAllowResizing(bool on) { _settings->allowResizing = on; }

bool OmbriGrid::autoGenerateColumns() const { return _settings->autoGenerateColumns; }

bool OmbriGrid::isReadOnly() const { return _settings->isReadOnly; }

void OmbriGrid::setIsReadOnly(bool on) { _settings->isReadOnly = on; }

bool OmbriGrid::allowSorting() const { return _settings->allowSorting; }

void OmbriGrid::setAllowSorting(bool on) { _settings->allowSorting = on; }

bool OmbriGrid::showSort() const { return _settings->showSort; }

void OmbriGrid::setShowSort(bool on) { changeAndInvalidate(*this, _settings->showSort, on); }

bool OmbriGrid::showGroups() const { return _settings->showGroups; }

void OmbriGrid::setShowGroups(bool on) { changeAndInvalidate(*this, _settings->showGroups, on); }

bool OmbriGrid::defaultContextMenu() const { return _settings->defaultContextMenu; }

void OmbriGrid::setDefaultContextMenu(bool on) { _settings->defaultContextMenu = on; }

void kivo::detail::changeFont(OmbriGrid& grid, plat::Font& field, const plat::Font& font) {
    if (field == font) return;
    field = font;
    grid.updateDefaultSizes();
    grid.invalidate();
}

void kivo::detail::changeFontName(OmbriGrid& grid, plat::Font& field, const std::string& name) {
    if (name.empty()) {
        plat::log("Grid: an empty font name refused; the font stays " + field.family);
        return;
    }
    changeFont(grid, field, plat::Font::named(name, field.size));
}
