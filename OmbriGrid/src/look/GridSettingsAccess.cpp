// The grid's look and behaviour accessors that only read or store a setting; those that check or
// derive a value are with the grid.
#include "GridState.h"
#include "look/GridSettings.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"

using kivo::detail::changeAndInvalidate;
using kivo::detail::changeFont;
using kivo::detail::changeFontName;

plat::Color OmbriGrid::frozenCellsBorderColor() const { return _state->settings->frozenCellsBorderColor; }

void OmbriGrid::setFrozenCellsBorderColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->frozenCellsBorderColor, c);
}

plat::Color OmbriGrid::textColor() const { return _state->settings->textColor; }

void OmbriGrid::setTextColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->textColor, c); }

plat::Color OmbriGrid::columnHeaderBackgroundColor() const { return _state->settings->columnHeaderBackgroundColor; }

void OmbriGrid::setColumnHeaderBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->columnHeaderBackgroundColor, c);
}

plat::Color OmbriGrid::columnHeaderTextColor() const { return _state->settings->columnHeaderTextColor; }

void OmbriGrid::setColumnHeaderTextColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->columnHeaderTextColor, c);
}

plat::Color OmbriGrid::gridLinesColor() const { return _state->settings->gridLinesColor; }

void OmbriGrid::setGridLinesColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->gridLinesColor, c); }

plat::Color OmbriGrid::groupRowBackgroundColor() const { return _state->settings->groupRowBackgroundColor; }

void OmbriGrid::setGroupRowBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->groupRowBackgroundColor, c);
}

plat::Color OmbriGrid::groupRowTextColor() const { return _state->settings->groupRowTextColor; }

void OmbriGrid::setGroupRowTextColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->groupRowTextColor, c); }

plat::Color OmbriGrid::headerGridLinesColor() const { return _state->settings->headerGridLinesColor; }

void OmbriGrid::setHeaderGridLinesColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->headerGridLinesColor, c); }

plat::Color OmbriGrid::headerSelectedBackgroundColor() const { return _state->settings->headerSelectedBackgroundColor; }

void OmbriGrid::setHeaderSelectedBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->headerSelectedBackgroundColor, c);
}

plat::Color OmbriGrid::headerSelectedTextColor() const { return _state->settings->headerSelectedTextColor; }

void OmbriGrid::setHeaderSelectedTextColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->headerSelectedTextColor, c);
}

plat::Color OmbriGrid::rowHeaderBackgroundColor() const { return _state->settings->rowHeaderBackgroundColor; }

void OmbriGrid::setRowHeaderBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->rowHeaderBackgroundColor, c);
}

plat::Color OmbriGrid::rowHeaderTextColor() const { return _state->settings->rowHeaderTextColor; }

void OmbriGrid::setRowHeaderTextColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->rowHeaderTextColor, c); }

plat::Color OmbriGrid::selectionAdornerColor() const { return _state->settings->selectionAdornerColor; }

void OmbriGrid::setSelectionAdornerColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->selectionAdornerColor, c);
}

plat::Color OmbriGrid::selectionAdornerBorderColor() const { return _state->settings->selectionAdornerBorderColor; }

void OmbriGrid::setSelectionAdornerBorderColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->selectionAdornerBorderColor, c);
}

plat::Color OmbriGrid::selectionBackgroundColor() const { return _state->settings->selectionBackgroundColor; }

void OmbriGrid::setSelectionBackgroundColor(plat::Color c) {
    changeAndInvalidate(*this, _state->settings->selectionBackgroundColor, c);
}

plat::Color OmbriGrid::selectionTextColor() const { return _state->settings->selectionTextColor; }

void OmbriGrid::setSelectionTextColor(plat::Color c) { changeAndInvalidate(*this, _state->settings->selectionTextColor, c); }

const plat::Font& OmbriGrid::font() const { return _state->settings->font; }

void OmbriGrid::setFont(const plat::Font& font) { changeFont(*this, _state->settings->font, font); }

const plat::Font& OmbriGrid::columnHeaderFont() const { return _state->settings->columnHeaderFont; }

void OmbriGrid::setColumnHeaderFont(const plat::Font& font) { changeFont(*this, _state->settings->columnHeaderFont, font); }

const plat::Font& OmbriGrid::rowHeaderFont() const { return _state->settings->rowHeaderFont; }

void OmbriGrid::setRowHeaderFont(const plat::Font& font) { changeFont(*this, _state->settings->rowHeaderFont, font); }

std::string OmbriGrid::fontName() const { return _state->settings->font.family; }

void OmbriGrid::setFontName(const std::string& name) { changeFontName(*this, _state->settings->font, name); }

double OmbriGrid::fontSize() const { return _state->settings->font.size; }

void OmbriGrid::setFontSize(double size) { changeFont(*this, _state->settings->font, _state->settings->font.withSize(size)); }

std::string OmbriGrid::columnHeaderFontName() const { return _state->settings->columnHeaderFont.family; }

void OmbriGrid::setColumnHeaderFontName(const std::string& name) {
    changeFontName(*this, _state->settings->columnHeaderFont, name);
}

double OmbriGrid::columnHeaderFontSize() const { return _state->settings->columnHeaderFont.size; }

void OmbriGrid::setColumnHeaderFontSize(double size) {
    changeFont(*this, _state->settings->columnHeaderFont, _state->settings->columnHeaderFont.withSize(size));
}

std::string OmbriGrid::rowHeaderFontName() const { return _state->settings->rowHeaderFont.family; }

void OmbriGrid::setRowHeaderFontName(const std::string& name) { changeFontName(*this, _state->settings->rowHeaderFont, name); }

double OmbriGrid::rowHeaderFontSize() const { return _state->settings->rowHeaderFont.size; }

void OmbriGrid::setRowHeaderFontSize(double size) {
    changeFont(*this, _state->settings->rowHeaderFont, _state->settings->rowHeaderFont.withSize(size));
}

GridHeadersVisibility OmbriGrid::headersVisibility() const { return _state->settings->headersVisibility; }

bool OmbriGrid::columnHeaderVisible() const { return (_state->settings->headersVisibility & GridHeadersVisibilityColumn) != 0; }

bool OmbriGrid::rowHeaderVisible() const { return (_state->settings->headersVisibility & GridHeadersVisibilityRow) != 0; }

GridLinesVisibility OmbriGrid::gridLinesVisibility() const { return _state->settings->gridLinesVisibility; }

bool OmbriGrid::horizontalLinesVisible() const {
    return (_state->settings->gridLinesVisibility & GridLinesVisibilityHorizontal) != 0;
}

bool OmbriGrid::verticalLinesVisible() const {
    return (_state->settings->gridLinesVisibility & GridLinesVisibilityVertical) != 0;
}

double OmbriGrid::gridLinesWidth() const { return _state->settings->gridLinesWidth; }

void OmbriGrid::setGridLinesWidth(double width) { changeAndInvalidate(*this, _state->settings->gridLinesWidth, width); }

const std::string& OmbriGrid::groupHeaderFormat() const { return _state->settings->groupHeaderFormat; }

void OmbriGrid::setGroupHeaderFormat(const std::string& format) {
    changeAndInvalidate(*this, _state->settings->groupHeaderFormat, format);
}

double OmbriGrid::treeIndent() const { return _state->settings->treeIndent; }

void OmbriGrid::setTreeIndent(double indent) { changeAndInvalidate(*this, _state->settings->treeIndent, indent); }

std::int64_t OmbriGrid::autoSizeMode() const { return _state->settings->autoSizeMode; }

void OmbriGrid::setAutoSizeMode(std::int64_t mode) { _state->settings->autoSizeMode = mode; }

std::int64_t OmbriGrid::allowMerging() const { return _state->settings->allowMerging; }

bool OmbriGrid::touchFeedback() const { return _state->settings->touchFeedback; }

void OmbriGrid::setTouchFeedback(bool on) { _state->settings->touchFeedback = on; }

bool OmbriGrid::allowResizing() const { return _state->settings->allowResizing; }

void OmbriGrid::setAllowResizing(bool on) { _state->settings->allowResizing = on; }

bool OmbriGrid::autoGenerateColumns() const { return _state->settings->autoGenerateColumns; }

bool OmbriGrid::isReadOnly() const { return _state->settings->isReadOnly; }

void OmbriGrid::setIsReadOnly(bool on) { _state->settings->isReadOnly = on; }

bool OmbriGrid::allowSorting() const { return _state->settings->allowSorting; }

void OmbriGrid::setAllowSorting(bool on) { _state->settings->allowSorting = on; }

bool OmbriGrid::showSort() const { return _state->settings->showSort; }

void OmbriGrid::setShowSort(bool on) { changeAndInvalidate(*this, _state->settings->showSort, on); }

bool OmbriGrid::showGroups() const { return _state->settings->showGroups; }

void OmbriGrid::setShowGroups(bool on) { changeAndInvalidate(*this, _state->settings->showGroups, on); }

bool OmbriGrid::defaultContextMenu() const { return _state->settings->defaultContextMenu; }

void OmbriGrid::setDefaultContextMenu(bool on) { _state->settings->defaultContextMenu = on; }

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
