// PLACEHOLDER until cell editing lands: refuses every edit, so the callers link and run.
#include "OmbriGrid/OmbriGrid.h"

bool OmbriGrid::startEditing(bool, std::int32_t, std::int32_t) { return false; }
bool OmbriGrid::finishEditing(bool) { return true; }
plat::Value OmbriGrid::getActiveEditorValue() const { return {}; }
bool OmbriGrid::textFieldShouldReturn(plat::TextField&) { return finishEditing(false); }
