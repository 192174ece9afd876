#pragma once
// Makes the content of the grid's cells.

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"

class KIVO_GRID_EXPORT GridCellFactory : public plat::Object {};
