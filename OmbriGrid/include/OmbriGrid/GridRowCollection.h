#pragma once

// GridRowCollection is defined beside the other row and column collections; this header lets it be found by
// its own name.
#include "OmbriGrid/GridRowColCollection.h"
