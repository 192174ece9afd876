#pragma once
// The grid's clipboard: the edit menu's copy, cut, paste, select and select all, and what they keep
// between them: the grid's own copy of the last copied block (raw values, so that a paste back into
// the grid keeps them), whether that copy is a cut, and the paste that runs. The grid's clipboard API
// forwards here.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/value.h"

class OmbriGrid;
namespace plat {
enum class EditAction;
}

namespace kivo::detail {

struct ClipboardRow;
struct PasteRun;

// Each copied data row's raw values by column offset (nil: no value), the row's item, identity and
// index (so that a cut finds its cells where they were, or after a sort by what they show), the
// copied block, and the text put on the pasteboard with it.
struct LocalCopy {
    std::vector<std::vector<plat::Value>> values;
    std::vector<plat::Value> items;
    std::vector<std::uint64_t> rowIds;
    std::vector<std::int32_t> rows;
    std::optional<std::string> text;
    std::shared_ptr<GridCellRange> range;
};

class GridClipboard {
public:
    explicit GridClipboard(OmbriGrid& grid) : _grid(grid) {}
    GridClipboard(const GridClipboard&) = delete;
    GridClipboard& operator=(const GridClipboard&) = delete;

    // ---- the edit menu ----
    bool canPerform(plat::EditAction action) const;
    // A copy of the selection; with `cut`, its cells are emptied once it has been pasted somewhere.
    void copyCells(bool cut);
    void pasteCells();
    // Selects the cell the edit menu was opened on.
    void selectPressed();
    void selectAll();

    // ---- pasting one value ----
    std::optional<plat::Date> dateFromString(std::string_view text) const;
    bool tryPasting(const plat::Value& value, std::int32_t row, std::int32_t col) const;
    void doPasting(const plat::Value& value, std::int32_t row, std::int32_t col, std::int32_t sourceRow, std::int32_t sourceCol,
                   bool firstTile);

    // Points `view` (a row as the clipboard reads and writes it) at row `index`.
    void viewRow(ClipboardRow& view, std::int32_t index) const;

    // The copy, and whether one was made.
    const LocalCopy& copy() const { return _copy; }
    bool hasCopy() const { return _copy.range != nullptr; }
    bool isCut() const { return _cut; }
    // The paste that runs, if any: a write of one value it places reports to it.
    PasteRun* run() const { return _run; }

private:
    // Marks `run` as the paste that runs while the scope lives.
    class RunScope {
    public:
        RunScope(GridClipboard& clipboard, PasteRun& run) : _slot(clipboard._run) { _slot = &run; }
        ~RunScope() { _slot = nullptr; }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        PasteRun*& _slot;
    };

    // Keeps the selection as the grid's own copy and puts it on the pasteboard.
    void keepSelection();
    // Places `rows` (the grid's copy or a pasted text) from the selection's top-left data row.
    // `valueAt` gives the value of copied row k, column j; null leaves that cell alone.
    void pasteBlock(PasteRun& run, std::size_t rowCount, std::size_t columnCount,
                    const std::function<const plat::Value*(std::size_t k, std::size_t j)>& valueAt);
    // One value into the merged range of (row, col); true when a cell was written.
    bool pasteInto(PasteRun& run, const plat::Value& value, std::int32_t row, std::int32_t col);
    // Empties the cut's sources this paste did not write, logs what was left alone, invalidates once.
    void finishPaste(PasteRun& run);
    // The row that shows a cut's source now, or -1 when none does.
    std::int32_t cutSourceRow(PasteRun& run, std::size_t source) const;

    OmbriGrid& _grid;
    LocalCopy _copy;
    bool _cut = false;
    PasteRun* _run = nullptr;
};

}  // namespace kivo::detail
