// Pasting writes every target cell first and empties a cut's sources only afterwards, so a block pasted
// over its own source loses nothing; cells are stored without redrawing each time, and the grid is
// invalidated once at the end, which keeps a large paste from redrawing per cell.

#include <algorithm>
#include <string>
#include <vector>

#include "GridInternals.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/pasteboard.h"
#include "clipboard/ClipboardPayload.h"
#include "clipboard/GridClipboard.h"
#include "clipboard/PasteRun.h"

namespace {

constexpr std::int64_t TypeString = 2, TypeNumber = 3, TypeBoolean = 4;

// A value of the grid's own copy as a text column takes it: the display text of a mapped key, True or
// False for a Boolean; none when it goes in as it is.
std::optional<plat::Value> asSourceShowsIt(const plat::Value& value, const GridColumn& source, const GridColumn& target) {
    if (target.dataType() != TypeString) return std::nullopt;
    if (source.dataMap()) return source.getFormattedValue(value);
    if (source.dataType() == TypeBoolean) return plat::Value(value.asBool() ? "True" : "False");
    return std::nullopt;
}

const void* itemIdentity(const plat::Value& item) {
    if (item.isObject()) return item.asObject().get();
    if (item.isDictionary()) return item.asDictionary().get();
    if (item.isArray()) return item.asArray().get();
    return nullptr;
}

}  // namespace

using kivo::detail::ClipboardRow;
using kivo::detail::GridClipboard;
using kivo::detail::GridInternals;
using kivo::detail::PasteRun;

kivo::detail::PasteRun::PasteRun(const GridColumnCollection& gridColumns) {
    const auto count = static_cast<std::int64_t>(gridColumns.count());
    columns.reserve(static_cast<std::size_t>(count));
    for (std::int64_t c = 0; c < count; ++c) {
        ColumnInfo info{gridColumns.column(c)};
        const auto binding = info.column ? info.column->binding() : std::nullopt;
        info.bound = binding && !binding->empty();
        columns.push_back(std::move(info));
    }
}

void GridRowCollection::viewRow(plat::Passkey<GridClipboard>, ClipboardRow& view, std::int32_t index) const {
    if (view.index == index) return;
    view.index = index;
    view.row.reset();
    if (index >= 0 && static_cast<std::size_t>(index) < count()) {
        // A placeholder stands for a plain row of default flags showing one item, unless the
        // application still holds the row made for it.
        if (const auto source = placeholderAt(static_cast<std::size_t>(index))) {
            const auto made = _madeRows.find(*source);
            if (made == _madeRows.end() || made->second->weak_from_this().expired()) {
                view.isData = true;
                view.readOnly = false;
                view.item = placeholderItem(*source);
                // The identity the row would have, were it made now.
                view.identity = _identityBase + static_cast<std::uint64_t>(*source);
                return;
            }
        }
        view.row = row(index);
    }
    view.isData = kivo::detail::isDataRow(view.row.get());
    view.readOnly = view.row && view.row->isReadOnly();
    view.item = view.row ? view.row->dataItem() : plat::Value();
    view.identity = view.row ? view.row->identity() : 0;
}

void GridClipboard::viewRow(ClipboardRow& view, std::int32_t index) const { _grid.rows()->viewRow({}, view, index); }

std::optional<plat::Date> GridClipboard::dateFromString(std::string_view text) const {
    return kivo::detail::PasteConverter().dateFromString(text);
}

bool GridClipboard::tryPasting(const plat::Value& value, std::int32_t row, std::int32_t col) const {
    if (row < 0 || col < 0 || row >= static_cast<std::int32_t>(_grid.rows()->count()) ||
        col >= static_cast<std::int32_t>(_grid.columns()->count()))
        return false;
    const auto column = _grid.columns()->column(col);
    if (!column) return false;
    const kivo::detail::PasteConverter own;
    const auto& converter = _run ? _run->converter : own;
    return converter.convert(value, *column).outcome == kivo::detail::PastedValue::Outcome::Store;
}

void GridClipboard::pasteCells() {
    const auto alive = GridInternals::keepAlive(_grid);
    GridInternals::contextMenuHit(_grid) = nullptr;
    if (_grid.isReadOnly()) {
        plat::log("OmbriGrid paste: the grid is read-only, refused");
        return;
    }
    if (!_grid.selection() || !_grid.selection()->isValid()) return;
    const std::optional<std::string> pasted = plat::Pasteboard::general().string();
    const auto& copy = _copy;
    const bool own = hasCopy() && (!pasted || pasted == copy.text);
    if (!own && !pasted) {
        _cut = false;
        return;
    }
    PasteRun run(*_grid.columns());
    RunScope scope(*this, run);
    if (own) {
        run.cut = _cut;
        const std::int32_t left = copy.range->col();
        const std::size_t width = static_cast<std::size_t>(std::max(0, copy.range->col2() - left + 1));
        pasteBlock(run, copy.values.size(), width, [&](std::size_t k, std::size_t j) -> const plat::Value* {
            const std::int32_t sourceColumn = left + static_cast<std::int32_t>(j);
            run.sourceColumn = static_cast<std::size_t>(sourceColumn) < run.columns.size()
                                   ? run.columns[static_cast<std::size_t>(sourceColumn)].column.get()
                                   : nullptr;
            if (run.cut) run.source = PasteRun::Source{copy.items[k], copy.rowIds[k], sourceColumn, copy.rows[k]};
            return &copy.values[k][j];
        });
    } else {
        std::vector<std::vector<plat::Value>> rows;
        for (auto& cells : kivo::detail::splitPastedText(*pasted)) {
            auto& line = rows.emplace_back();
            for (auto& cell : cells) line.emplace_back(std::move(cell));
        }
        // An empty text is one empty value, which empties the text cells it lands on.
        if (rows.empty()) rows.push_back({plat::Value(std::string())});
        std::size_t width = 0;
        for (const auto& cells : rows) width = std::max(width, cells.size());
        // A short row leaves the rest of its line alone.
        pasteBlock(run, rows.size(), width,
                   [&](std::size_t k, std::size_t j) { return j < rows[k].size() ? &rows[k][j] : nullptr; });
    }
    _cut = false;
    finishPaste(run);
}

void GridClipboard::pasteBlock(PasteRun& run, std::size_t rowCount, std::size_t columnCount,
                               const std::function<const plat::Value*(std::size_t, std::size_t)>& valueAt) {
    if (rowCount == 0 || columnCount == 0) return;
    const std::int32_t gridRows = static_cast<std::int32_t>(_grid.rows()->count());
    const std::int32_t gridColumns = static_cast<std::int32_t>(_grid.columns()->count());
    const std::int32_t top = _grid.selection()->topRow(), bottom = std::min(_grid.selection()->bottomRow(), gridRows - 1);
    const std::int32_t left = _grid.selection()->leftCol();

    // The data rows the block lands on, from the top-left one down: first those of the selection,
    // which decide the tiling, then as many more as one block that overhangs the selection needs.
    std::vector<std::int32_t> targets;
    auto collect = [&](std::int32_t from, std::int32_t to, std::size_t most) {
        for (std::int32_t r = from; r <= to && targets.size() < most; ++r) {
            viewRow(run.rowView, r);
            if (run.rowView.isData) targets.push_back(r);
        }
    };
    collect(top, bottom, SIZE_MAX);
    const std::size_t selectedRows = targets.size();
    const auto selectedColumns = static_cast<std::size_t>(_grid.selection()->columnSpan());
    const bool tiled = selectedRows % rowCount == 0 && selectedColumns % columnCount == 0;
    const std::size_t down = tiled ? selectedRows / rowCount : 1, across = tiled ? selectedColumns / columnCount : 1;
    if (down < 1) return;
    if (targets.size() > down * rowCount) targets.resize(down * rowCount);
    collect(bottom + 1, gridRows - 1, down * rowCount);

    for (std::size_t ty = 0; ty < down; ++ty)
        for (std::size_t tx = 0; tx < across; ++tx)
            for (std::size_t k = 0; k < rowCount; ++k) {
                const std::size_t index = ty * rowCount + k;
                if (index >= targets.size()) break;
                for (std::size_t j = 0; j < columnCount; ++j) {
                    const auto col = static_cast<std::int64_t>(left) + static_cast<std::int64_t>(tx * columnCount + j);
                    if (col >= gridColumns) break;
                    const plat::Value* value = valueAt(k, j);
                    if (!value) continue;
                    run.firstTile = ty == 0 && tx == 0;
                    pasteInto(run, *value, targets[index], static_cast<std::int32_t>(col));
                }
            }
}

bool GridClipboard::pasteInto(PasteRun& run, const plat::Value& value, std::int32_t row, std::int32_t col) {
    using Outcome = kivo::detail::PastedValue::Outcome;
    std::shared_ptr<GridCellRange> range;
    if (_grid.mergeManager() && _grid.allowMerging() != 0)
        range = _grid.mergeManager()->getMergedRangeForCells(std::make_shared<GridCellRange>(row, col), GridCellTypeCell);
    const std::int32_t top = range ? range->topRow() : row, bottom = range ? range->bottomRow() : row;
    const std::int32_t left = range ? std::max(range->leftCol(), 0) : col;
    const std::int32_t right = std::min(range ? range->rightCol() : col, static_cast<std::int32_t>(run.columns.size()) - 1);
    bool wrote = false, anchorConverts = false;
    for (std::int32_t r = top; r <= bottom; ++r) {
        viewRow(run.rowView, r);
        const auto& rowView = run.rowView;
        if (!rowView.isData) continue;
        for (std::int32_t c = left; c <= right; ++c) {
            const auto& info = run.columns[static_cast<std::size_t>(c)];
            if (!info.column) continue;
            const auto shown = run.sourceColumn ? asSourceShowsIt(value, *run.sourceColumn, *info.column) : std::nullopt;
            const plat::Value& cellValue = shown ? *shown : value;
            if (info.column->isReadOnly() || rowView.readOnly) {
                run.leftUnchanged(r, c, cellValue);
                continue;
            }
            const auto converted = run.converter.convert(cellValue, *info.column);
            if (r == row && c == col) anchorConverts = converted.outcome == Outcome::Store;
            if (converted.outcome == Outcome::Unchanged) run.leftUnchanged(r, c, cellValue);
            if (converted.outcome != Outcome::Store) continue;
            const plat::Value& stored = converted.converted ? *converted.converted : cellValue;
            if (info.bound && !rowView.item.isNil())
                info.column->setBoundValue(stored, rowView.item);
            else if (!_grid.cells()->storeCellData(stored, r, c))
                continue;
            wrote = true;
            ++run.stored;
            if (run.cut) run.written.emplace(r, c);
        }
    }
    if (run.cut && run.firstTile && wrote && run.source) {
        // A source whose value does not convert here keeps it, as does one in a column nobody may write.
        const auto sourceIndex = static_cast<std::size_t>(run.source->column);
        const GridColumn* sourceColumn = sourceIndex < run.columns.size() ? run.columns[sourceIndex].column.get() : nullptr;
        if (!anchorConverts && static_cast<std::size_t>(col) < run.columns.size() &&
            run.columns[static_cast<std::size_t>(col)].column) {
            const auto& column = *run.columns[static_cast<std::size_t>(col)].column;
            const auto shown = run.sourceColumn ? asSourceShowsIt(value, *run.sourceColumn, column) : std::nullopt;
            anchorConverts = run.converter.convert(shown ? *shown : value, column).outcome == Outcome::Store;
        }
        if (anchorConverts && sourceColumn && !sourceColumn->isReadOnly()) run.toClear.push_back(*run.source);
    }
    return wrote;
}

void GridClipboard::doPasting(const plat::Value& value, std::int32_t row, std::int32_t col, std::int32_t sourceRow,
                              std::int32_t sourceCol, bool firstTile) {
    const auto alive = GridInternals::keepAlive(_grid);
    const auto rowCount = static_cast<std::int32_t>(_grid.rows()->count());
    const auto columnCount = static_cast<std::int32_t>(_grid.columns()->count());
    if (row < 0 || col < 0 || row >= rowCount || col >= columnCount) {
        plat::log("OmbriGrid doPasting: cell (" + std::to_string(row) + ", " + std::to_string(col) +
                  ") lies outside the grid, refused");
        return;
    }
    PasteRun local(*_grid.columns());
    PasteRun* const running = _run;
    PasteRun& run = running ? *running : local;
    run.firstTile = firstTile;
    run.sourceColumn = nullptr;
    run.source.reset();
    if (!running) run.cut = _cut;
    if (sourceRow >= 0 && sourceRow < rowCount && sourceCol >= 0 && sourceCol < columnCount) {
        const auto source = _grid.rows()->row(sourceRow);
        if (kivo::detail::isDataRow(source.get()))
            run.source = PasteRun::Source{source->dataItem(), source->identity(), sourceCol, sourceRow};
    }
    if (running) {
        pasteInto(run, value, row, col);
        return;
    }
    RunScope scope(*this, local);
    pasteInto(local, value, row, col);
    finishPaste(local);
}

std::int32_t GridClipboard::cutSourceRow(PasteRun& run, std::size_t index) const {
    const auto& source = run.toClear[index];
    const void* item = itemIdentity(source.item);
    // Rows are told apart by their items; a row whose item is no object, by its own identity.
    const auto shows = [&](const ClipboardRow& view) {
        return view.isData && (item ? itemIdentity(view.item) == item : view.identity == source.rowIdentity);
    };
    ClipboardRow view;
    viewRow(view, source.row);
    // A row without an item keeps its values in the panel by index, where rows moving leave them.
    if (source.item.isNil()) return view.isData ? source.row : -1;
    if (shows(view)) return source.row;
    // The rows moved since the copy: every data row once, by what it shows, for all the sources.
    if (!run.rowsMapped) {
        run.rowsMapped = true;
        const auto rowCount = static_cast<std::int32_t>(_grid.rows()->count());
        for (std::int32_t r = 0; r < rowCount; ++r) {
            viewRow(view, r);
            if (!view.isData) continue;
            if (const void* shown = itemIdentity(view.item)) run.rowsByItem.emplace(shown, r);
            run.rowsByIdentity.emplace(view.identity, r);
        }
    }
    if (item) {
        const auto found = run.rowsByItem.find(item);
        return found == run.rowsByItem.end() ? -1 : found->second;
    }
    const auto found = run.rowsByIdentity.find(source.rowIdentity);
    return found == run.rowsByIdentity.end() ? -1 : found->second;
}

void GridClipboard::finishPaste(PasteRun& run) {
    for (std::size_t i = 0; i < run.toClear.size(); ++i) {
        const auto& source = run.toClear[i];
        const std::int32_t r = cutSourceRow(run, i);
        if (r < 0 || run.written.count({r, source.column})) continue;
        ClipboardRow view;
        viewRow(view, r);
        const auto column = _grid.columns()->column(source.column);
        if (!column || column->isReadOnly() || view.readOnly) continue;
        const std::int64_t type = column->dataType();
        const plat::Value empty = type == TypeNumber || type == TypeBoolean ? plat::Value(0) : plat::Value();
        if (_grid.cells()->storeCellData(empty, r, source.column)) ++run.stored;
    }
    // One line for the whole paste, however many cells it left alone.
    if (run.unchanged)
        plat::log("OmbriGrid paste: " + std::to_string(run.unchanged) + " cells left unchanged, the first (" +
                  std::to_string(run.firstUnchangedRow) + ", " + std::to_string(run.firstUnchangedColumn) + ") with \"" +
                  run.firstUnchangedText + "\"");
    if (run.stored) {
        if (_grid.mergeManager()) _grid.mergeManager()->dropCache();
        _grid.invalidate();
    }
}
