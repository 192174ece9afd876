// An open edit belongs to the item it was opened on, not to a row number: the application may sort,
// remove or insert items while the editor is open, and the value typed must still reach that item, or
// nothing when the item has gone.

#include "GridInternals.h"
#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "clipboard/GridClipboard.h"
#include "clipboard/PasteRun.h"
#include "editing/EditSession.h"

namespace kivo::detail {

namespace {

// The object an item is, for items that are objects; null for plain values, which name no record.
const void* recordOf(const plat::Value& item) {
    if (item.isObject()) return item.asObject().get();
    if (item.isDictionary()) return item.asDictionary().get();
    if (item.isArray()) return item.asArray().get();
    return nullptr;
}

bool showsItem(const GridRow& row, const plat::Value& item) {
    const void* record = recordOf(item);
    return record ? recordOf(row.dataItem()) == record : row.dataItem() == item;
}

}  // namespace

void EditSession::holdEditedItem() {
    const auto& gridRows = *_grid.rows();
    rows.clear();
    for (std::int32_t r = range->topRow(); r <= range->bottomRow(); ++r) rows.push_back(gridRows.row(r));
    const auto& edited = rows[static_cast<std::size_t>(row - range->topRow())];
    item = edited ? edited->dataItem() : plat::Value();
    // Each drawing pass puts the editor over the cell its item has now.
    followToken = std::make_shared<int>(0);
    _grid.ombriGridRendering()->addHandler(
        [weak = std::weak_ptr<OmbriGrid>(GridInternals::self(_grid))](const std::shared_ptr<KivoEventContainer>&) {
            if (const auto grid = weak.lock(); grid && GridInternals::edit(*grid).range)
                GridInternals::edit(*grid).followEditedItem();
        },
        followToken);
}

void EditSession::releaseEditedItem() {
    if (followToken) _grid.ombriGridRendering()->removeHandlersForObject(followToken);
    followToken.reset();
    rows.clear();
    item = {};
}

std::int32_t EditSession::editedItemRow() const {
    const auto at = static_cast<std::size_t>(row - (range ? range->topRow() : row));
    const auto& held = at < rows.size() ? rows[at] : nullptr;
    if (!held) return -1;
    const auto& gridRows = _grid.rows();
    // A removal or an insertion elsewhere only moves the row, which knows where it stands.
    if (held->owner() == gridRows && held->index() >= 0 && showsItem(*held, item)) return held->index();
    // The rows were made again (a sort, a new binding): a record is looked for among them; a plain
    // value names none, and an equal value in another row is not the edited one.
    const void* record = recordOf(item);
    if (!record) return -1;
    ClipboardRow view;
    const auto& clipboard = GridInternals::clipboard(_grid);
    const auto count = static_cast<std::int32_t>(gridRows->count());
    for (std::int32_t r = 0; r < count; ++r) {
        clipboard.viewRow(view, r);
        if (view.isData && recordOf(view.item) == record) return r;
    }
    return -1;
}

bool EditSession::followEditedItem() {
    if (!range) return false;
    const std::int32_t now = editedItemRow();
    if (now < 0) {
        // Gone for good: the drawing passes until the edit closes need not look for it again.
        rows.clear();
        item = {};
        return false;
    }
    const auto& gridRows = _grid.rows();
    const auto top = range->topRow();
    const auto& held = rows[static_cast<std::size_t>(row - top)];
    if (now == row && held->owner() == gridRows && held->index() == now) return true;
    // The range moves along when its other rows moved with it (a removal or an insertion above);
    // otherwise (a sort) it shrinks to the edited row, so that no other record takes the value.
    const std::int32_t shift = now - row;
    bool together = true;
    for (std::size_t k = 0; k < rows.size() && together; ++k) {
        const auto r = static_cast<std::int64_t>(top) + static_cast<std::int64_t>(k) + shift;
        const auto there = r >= 0 && static_cast<std::size_t>(r) < gridRows->count() ? gridRows->row(r) : nullptr;
        together = there && rows[k] && showsItem(*there, rows[k]->dataItem());
    }
    auto moved = range->clone();
    moved->setRow(together ? range->row() + shift : now);
    moved->setRow2(together ? range->row2() + shift : now);
    const plat::Rect before = _grid.getCellRectForRow(row, col);
    range = moved;
    row = now;
    // The rows standing there now are held, so that the next look finds them where they are.
    rows.clear();
    for (std::int32_t r = moved->topRow(); r <= moved->bottomRow(); ++r) rows.push_back(gridRows->row(r));
    if (activeEditor) {
        plat::Rect frame = activeEditor->frame();
        frame.origin.y += _grid.getCellRectForRow(now, col).y() - before.y();
        activeEditor->setFrame(frame);
    }
    return true;
}

}  // namespace kivo::detail
