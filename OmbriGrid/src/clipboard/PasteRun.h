#pragma once
// The state of one paste: how values convert, which cells it wrote and left alone, and the cut's
// source cells, which are emptied only once the whole paste has been written.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "OmbriGrid/OmbriGrid.h"
#include "clipboard/PasteConversion.h"
#include "clipboard/TextRepair.h"

class GridColumn;
class GridColumnCollection;
class GridRow;
class GridRowCollection;

namespace kivo::detail {
// Group, spacer and detail rows show no item's values and take no pasted ones.
bool isDataRow(const GridRow* row);

// Whether a row takes values, whether it is read-only, the item it shows, and the row object when
// there is one. A plain bound row is read without making its object: copying or pasting many rows
// would make and drop one per row.
struct ClipboardRow {
    std::int32_t index = -1;
    bool isData = false, readOnly = false;
    plat::Value item;
    std::shared_ptr<GridRow> row;
    // The row's identity, which a row made for the same placeholder keeps.
    std::uint64_t identity = 0;
};

struct PasteRun {
    // A cut's source cell, held by its row's item (or, for an item that is no object, by the row's
    // identity) so that a sort between the cut and the paste still finds it; a row without an item
    // by where it stood, as its values do.
    struct Source {
        plat::Value item;
        std::uint64_t rowIdentity = 0;
        std::int32_t column = -1;
        std::int32_t row = -1;  // where it stood when copied, looked at first
    };

    struct ColumnInfo {
        std::shared_ptr<GridColumn> column;
        bool bound = false;  // writes go through the binding into a data row's item
    };

    explicit PasteRun(const GridColumnCollection& gridColumns);

    kivo::detail::PasteConverter converter;
    // The grid's columns as the paste found them.
    std::vector<ColumnInfo> columns;
    // The row last looked at: the block is placed line by line.
    ClipboardRow rowView;
    // Whether this paste empties the copy's sources.
    bool cut = false;
    // Set per value placed: its tile is the first, where it comes from.
    bool firstTile = true;
    std::optional<Source> source;
    // The column a value of the grid's own copy was taken from; null for pasted text.
    const GridColumn* sourceColumn = nullptr;

    std::vector<Source> toClear;
    // The data rows by what they show, made only when a source has left the row it was copied from.
    std::unordered_map<const void*, std::int32_t> rowsByItem;
    std::unordered_map<std::uint64_t, std::int32_t> rowsByIdentity;
    bool rowsMapped = false;
    std::set<std::pair<std::int32_t, std::int32_t>> written;  // kept only for a cut
    std::size_t stored = 0;
    std::size_t unchanged = 0;
    std::int32_t firstUnchangedRow = -1, firstUnchangedColumn = -1;
    std::string firstUnchangedText;

    // The most of a value the paste's log line quotes: a pasted text may be megabytes long.
    static constexpr std::size_t QuotedCharacters = 80;

    void leftUnchanged(std::int32_t row, std::int32_t col, const plat::Value& value) {
        if (unchanged++ == 0) {
            firstUnchangedRow = row;
            firstUnchangedColumn = col;
            firstUnchangedText = value.isNil()      ? std::string()
                                 : value.isString() ? kivo::detail::excerpt(value.asString(), QuotedCharacters)
                                                    : kivo::detail::excerpt(value.description(), QuotedCharacters);
        }
    }
};

}  // namespace kivo::detail
