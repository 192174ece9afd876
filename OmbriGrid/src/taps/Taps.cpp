// PLACEHOLDER until taps land.
#include "OmbriGrid/OmbriGrid.h"

void OmbriGrid::respondToTapGesture(plat::GestureRecognizer&) {}
void OmbriGrid::respondToDoubleTapGesture(plat::GestureRecognizer&) {}
