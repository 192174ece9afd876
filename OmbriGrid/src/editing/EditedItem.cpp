// An open edit belongs to the item it was opened on, not to a row number: the application may sort,
// remove or insert items while the editor is open, and the value typed must still reach that item, or
// nothing when the item has gone.

#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "clipboard/PasteRun.h"
#include "editing/EditSession.h"
#include "events/GridEvents.h"

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

void OmbriGrid::holdEditedItem() {
    _edit->rows.clear();
    for (std::int32_t r = _edit->range->topRow(); r <= _edit->range->bottomRow(); ++r) _edit->rows.push_back(_rows->row(r));
    const auto& edited = _edit->rows[static_cast<std::size_t>(_edit->row - _edit->range->topRow())];
    _edit->item = edited ? edited->dataItem() : plat::Value();
    // Each drawing pass puts the editor over the cell its item has now.
    _edit->followToken = std::make_shared<int>(0);
    _events->Rendering->addHandler(
        [weak = std::weak_ptr<OmbriGrid>(sharedAs<OmbriGrid>())](const std::shared_ptr<KivoEventContainer>&) {
            if (const auto grid = weak.lock(); grid && grid->_edit->range) grid->followEditedItem();
        },
        _edit->followToken);
}

void OmbriGrid::releaseEditedItem() {
    if (_edit->followToken) _events->Rendering->removeHandlersForObject(_edit->followToken);
    _edit->followToken.reset();
    _edit->rows.clear();
    _edit->item = {};
}

std::int32_t OmbriGrid::editedItemRow() const {
    const auto at = static_cast<std::size_t>(_edit->row - (_edit->range ? _edit->range->topRow() : _edit->row));
    const auto& held = at < _edit->rows.size() ? _edit->rows[at] : nullptr;
    if (!held) return -1;
    // A removal or an insertion elsewhere only moves the row, which knows where it stands.
    if (held->owner() == _rows && held->index() >= 0 && showsItem(*held, _edit->item)) return held->index();
    // The rows were made again (a sort, a new binding): a record is looked for among them; a plain
    // value names none, and an equal value in another row is not the edited one.
    const void* record = recordOf(_edit->item);
    if (!record) return -1;
    kivo::detail::ClipboardRow view;
    const auto count = static_cast<std::int32_t>(_rows->count());
    for (std::int32_t r = 0; r < count; ++r) {
        viewClipboardRow(view, r);
        if (view.isData && recordOf(view.item) == record) return r;
    }
    return -1;
}

bool OmbriGrid::followEditedItem() {
    if (!_edit->range) return false;
    const std::int32_t now = editedItemRow();
    if (now < 0) {
        // Gone for good: the drawing passes until the edit closes need not look for it again.
        _edit->rows.clear();
        _edit->item = {};
        return false;
    }
    const auto top = _edit->range->topRow();
    const auto& held = _edit->rows[static_cast<std::size_t>(_edit->row - top)];
    if (now == _edit->row && held->owner() == _rows && held->index() == now) return true;
    // The range moves along when its other rows moved with it (a removal or an insertion above);
    // otherwise (a sort) it shrinks to the edited row, so that no other record takes the value.
    const std::int32_t shift = now - _edit->row;
    bool together = true;
    for (std::size_t k = 0; k < _edit->rows.size() && together; ++k) {
        const auto r = static_cast<std::int64_t>(top) + static_cast<std::int64_t>(k) + shift;
        const auto row = r >= 0 && static_cast<std::size_t>(r) < _rows->count() ? _rows->row(r) : nullptr;
        together = row && _edit->rows[k] && showsItem(*row, _edit->rows[k]->dataItem());
    }
    auto range = _edit->range->clone();
    range->setRow(together ? _edit->range->row() + shift : now);
    range->setRow2(together ? _edit->range->row2() + shift : now);
    const plat::Rect before = getCellRectForRow(_edit->row, _edit->col);
    _edit->range = range;
    _edit->row = now;
    // The rows standing there now are held, so that the next look finds them where they are.
    _edit->rows.clear();
    for (std::int32_t r = range->topRow(); r <= range->bottomRow(); ++r) _edit->rows.push_back(_rows->row(r));
    if (_edit->activeEditor) {
        plat::Rect frame = _edit->activeEditor->frame();
        frame.origin.y += getCellRectForRow(now, _edit->col).y() - before.y();
        _edit->activeEditor->setFrame(frame);
    }
    return true;
}
