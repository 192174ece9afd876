// PLACEHOLDER until column resizing lands.
#include "OmbriGrid/OmbriGrid.h"

void OmbriGrid::respondToPressGesture(plat::GestureRecognizer&) {}
