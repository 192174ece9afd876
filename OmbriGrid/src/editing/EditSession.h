#pragma once
// The edit session: everything an open edit holds, from its start to its close. One cell, or the
// merged range it lies in, is edited at a time, in place; the grid opens, follows and closes the
// edit, and this is where it keeps what it needs between those steps.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "Platform/foundation/value.h"

class GridRow;
namespace plat {
class BarButtonItem;
class PickerView;
class TextField;
class Toolbar;
class View;
}  // namespace plat

namespace kivo::detail {

struct EditSession {
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

}  // namespace kivo::detail
