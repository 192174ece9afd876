// The grid's accessors of the edit session.
#include "editing/EditSession.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/view.h"

const std::shared_ptr<plat::View>& OmbriGrid::activeEditor() const { return _edit->activeEditor; }

void OmbriGrid::setActiveEditor(std::shared_ptr<plat::View> editor) { _edit->activeEditor = std::move(editor); }

const plat::Value& OmbriGrid::activeEditorValue() const { return _edit->activeEditorValue; }

const std::shared_ptr<GridCellRange>& OmbriGrid::editRange() const { return _edit->range; }
