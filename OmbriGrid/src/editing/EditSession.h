#pragma once
// The edit session: one cell, or the merged range it lies in, edited at a time and in place. It opens
// the editor behind the grid's cancelable events, keeps it over its item's cell while the rows move,
// reads its value back by the column's data type, and closes it, writing the value into the range.
// What an open edit holds between those steps is a plain record it extends. The grid's editing API
// forwards here.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"

class GridColumn;
class GridDataMap;
class GridHitTestInfo;
class GridRow;
class OmbriGrid;
namespace plat {
class BarButtonItem;
struct Notification;
class PickerView;
class TextField;
class Toolbar;
class View;
}  // namespace plat

namespace kivo::detail {

// What an open edit holds between its steps, and the editor and picker every edit reuses.
struct OpenEdit {
    // The cells being edited (the merged range of the edited cell); null without an open edit.
    std::shared_ptr<GridCellRange> range;
    std::shared_ptr<plat::View> activeEditor;
    plat::Value activeEditorValue;
    // The grid's own text editor, made with the grid and reused for every edit.
    std::shared_ptr<plat::TextField> editor;
    // The data-map picker, its toolbar and Done item: the editor's input and accessory views for
    // columns with a data map.
    std::shared_ptr<plat::PickerView> picker;
    std::shared_ptr<plat::Toolbar> pickerToolbar;
    std::shared_ptr<plat::BarButtonItem> pickerDone;
    // The cell the open edit was started on (inside `range`), and its editor's text then: a commit
    // of unchanged text writes nothing.
    std::int32_t row = -1, col = -1;
    std::string startText;
    // Counts the edits opened, so that a deferred step knows whether its edit is still the open one.
    std::uint64_t serial = 0;
    // Set from an edit's start until it closes.
    bool updating = false;
    // The open edit toggles a Boolean cell rather than reading an editor's text.
    bool toggles = false;
    // Set while an edit closes: a handler that asks to finish it again meanwhile changes nothing.
    bool closing = false;
    // Set while a commit runs, so that the keyboard's hiding meanwhile does not finish the edit again.
    bool finishing = false;
    // Set while a double tap decides: no edit may start meanwhile.
    bool startLock = false;
    // The rows of the open edit's range, top down, and the edited row's item: a sort, a removal or an
    // insertion moves them, and the edit goes with its item, never onto whatever took its place.
    std::vector<std::shared_ptr<GridRow>> rows;
    plat::Value item;
    // Owns the handler that keeps the open editor over its item's cell at each drawing pass.
    std::shared_ptr<int> followToken;
};

class EditSession : public OpenEdit {
public:
    explicit EditSession(OmbriGrid& grid) : _grid(grid) {}
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    // ---- opening and closing ----
    // The grid's own editor, made hidden as a subview of the grid, and the data-map picker with its
    // toolbar; once, while the grid initialises.
    void makeEditors();
    bool start(std::int32_t row, std::int32_t col);
    bool finish(bool cancel);
    // Commits and closes as the editor's return key does.
    bool returnFromField();
    // Commits an open editor whatever its kind: a factory's view has no return key.
    void returnFromEditor();

    // ---- questions ----
    // Whether the cell could be edited at all: a data row (no group, spacer or detail row) and a
    // column, both inside the grid.
    bool isValidRow(std::int32_t row, std::int32_t col) const;
    // The edited column's data map; null without an open edit or a map.
    std::shared_ptr<GridDataMap> getDataMap() const;
    // The open editor's value converted by the edited column's type; nil when it does not convert.
    plat::Value editorValue() const;
    // Whether the hit falls on a cell of the range being edited.
    bool isOnEditRange(const GridHitTestInfo& hit) const;

    // ---- the data-map picker ----
    std::int64_t pickerRowCount() const;
    std::string pickerTitle(std::int64_t row) const;
    void pickerSelected(std::int64_t row);

    // ---- the on-screen keyboard ----
    // Keeps the open editor above the keyboard; its hiding commits the edit unless the grid closes it.
    void keyboardShown(const plat::Notification& notification);
    void keyboardHiding();

private:
    // Fills and shows the grid's own editor for the cell's column; false for a column it cannot edit.
    bool prepareEditor(std::int32_t row, std::int32_t col, plat::Rect rect);
    // Writes the closing edit's value into every cell of its merged range, column by column.
    void commit();
    // The text the grid's editor opens with for the cell.
    std::string editorTextForCell(std::int32_t row, std::int32_t col) const;
    // Whether the row and column an edit is starting on are still the ones it was asked for, after
    // application code ran; logs a refusal when not.
    bool cellStands(std::int32_t row, std::int32_t col, const std::shared_ptr<GridRow>& rowObject,
                    const std::shared_ptr<GridColumn>& column) const;
    // Takes back what a start refused halfway had set.
    void abandonStart();
    // Scrolls the cell being opened into view; the cell's rectangle afterwards.
    plat::Rect bringIntoView(std::int32_t row, std::int32_t col);
    // Notes the rows of the opening edit's range, so that the edit can follow its item.
    void holdEditedItem();
    // Puts the open edit (its cell, its range, its editor) where its item stands now; false when the
    // item has left the rows.
    bool followEditedItem();
    // The row that shows the edited item now; -1 when none does.
    std::int32_t editedItemRow() const;
    // Lets go of what the closing edit held.
    void releaseEditedItem();

    OmbriGrid& _grid;
};

}  // namespace kivo::detail
