// Auto-sizing: a column's width or a row's height from the text of its cells and header, measured
// in the grid's fonts.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include "GridState.h"

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/text.h"
#include "drawing/TextCut.h"
#include "look/GridSettings.h"

namespace {
// Room added to a measured column, and the line and padding added to a measured row.
constexpr double ColumnPadding = 8.0;
constexpr double RowLine = 1.0;
constexpr double RowPadding = 8.0;
// A header is measured with the check-box glyph and a space before it.
constexpr const char* HeaderPrefix = "\u2611\uFE0E ";
// The most of a cell's or header's text that is measured: a megabyte of text would take seconds to
// lay out and size a column millions of points wide.
constexpr std::size_t MeasuredCharacters = 1024;

std::string measured(const std::string& text) { return std::string(kivo::detail::utf8Head(text, MeasuredCharacters)); }

std::int32_t saturate(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

std::int32_t whole(double v) {
    if (!(v > 0)) return 0;
    return static_cast<std::int32_t>(std::min(std::trunc(v), static_cast<double>(INT32_MAX)));
}
}  // namespace

void OmbriGrid::autoSizeColumn(std::int32_t column, bool header, std::int32_t extra) {
    if (_state->settings->autoSizeMode == 0) return;
    const auto& panel = header ? _state->rowHeaders : _state->cells;
    const auto k = panel->columns()->column(column);
    if (column < 0 || !k) {
        plat::log("Grid autoSizeColumn: column " + std::to_string(column) + " is outside the panel, nothing sized");
        return;
    }
    const auto alive = keepAlive();
    float w = 0;
    if (!k->wordWrap() && (_state->settings->autoSizeMode & GridAutoSizeModeCells)) {
        const auto count = static_cast<std::int32_t>(std::min<std::size_t>(panel->rows()->count(), INT32_MAX));
        for (std::int32_t i = 0; i < count; ++i) {
            const plat::Value data = panel->getCellData(i, column, true);
            if (data.isNil()) continue;
            w = std::max(w, static_cast<float>(plat::measureText(measured(data.description()), _state->settings->font).width));
        }
    }
    if ((_state->settings->autoSizeMode & GridAutoSizeModeHeaders) && columnHeaderVisible()) {
        const auto formatted = k->getFormattedHeader();
        if (formatted || header) {
            const std::string text = std::string(HeaderPrefix) + measured(k->header().value_or(""));
            w = std::max(w, static_cast<float>(plat::measureText(text, _state->settings->columnHeaderFont).width));
        }
    }
    if (extra + w > 0) {
        // The type first: set afterwards, it would carry a star weight over as the width.
        k->setWidthType(GridWidthTypeSized);
        k->setWidth(static_cast<double>(extra) + std::trunc(w) + ColumnPadding);
    }
    if (panel == _state->rowHeaders) _headersChanged();
}

void OmbriGrid::autoSizeColumns(std::int32_t first, std::int32_t last, bool header, std::int32_t extra) {
    for (std::int64_t c = first; c <= last; ++c) autoSizeColumn(static_cast<std::int32_t>(c), header, extra);
}

void OmbriGrid::autoSizeColumns() {
    if (_state->columns->count() > 0) autoSizeColumns(0, static_cast<std::int32_t>(_state->columns->count() - 1));
}

void OmbriGrid::autoSizeRowInternal(std::int32_t row, bool header, std::int32_t extra) {
    if (_state->settings->autoSizeMode == 0) return;
    const plat::Font& font = header ? _state->settings->columnHeaderFont : _state->settings->font;
    const auto& panel = header ? _state->columnHeaders : _state->cells;
    const auto r = panel->rows()->row(row);
    if (row < 0 || !r) {
        plat::log("Grid autoSizeRow: row " + std::to_string(row) + " is outside the panel, nothing sized");
        return;
    }
    const auto& columns = panel->columns();
    // Without a measured cell there is nothing to size by: the row keeps its height.
    if (!(_state->settings->autoSizeMode & GridAutoSizeModeCells) || columns->count() == 0) return;
    const auto alive = keepAlive();
    float m = 0;
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(columns->count(), INT32_MAX));
    for (std::int32_t c = 0; c < count; ++c) {
        const plat::Value data = panel->getCellData(row, c, true);
        const auto k = columns->column(c);
        if (!k) continue;
        if (k->renderWidth() == -1) k->setWidth(columns->defaultSize());
        double t = 0;
        if (!data.isNil()) {
            const plat::AttributedString text(measured(data.description()), font, plat::Color::black());
            t = k->wordWrap() ? plat::measureText(text, k->renderWidth()).height : plat::measureText(text).height;
        }
        m = std::max(m, static_cast<float>(t + RowLine + RowPadding));
        m = std::max(m, static_cast<float>(static_cast<std::int64_t>(_state->rows->defaultSize()) - extra));
    }
    r->setHeight(saturate(static_cast<std::int64_t>(whole(m)) + extra));
    if (panel == _state->columnHeaders) _headersChanged();
}

void OmbriGrid::autoSizeRows(std::int32_t first, std::int32_t last, bool header, std::int32_t extra) {
    for (std::int64_t r = first; r <= last; ++r) autoSizeRowInternal(static_cast<std::int32_t>(r), header, extra);
}

void OmbriGrid::autoSizeRows() {
    if (_state->rows->count() > 0)
        autoSizeRows(0, static_cast<std::int32_t>(std::min<std::size_t>(_state->rows->count(), INT32_MAX) - 1));
}
