#pragma once

// GridRow is defined beside the other rows and columns; this header lets it be found by its own name.
#include "OmbriGrid/GridRowCol.h"
