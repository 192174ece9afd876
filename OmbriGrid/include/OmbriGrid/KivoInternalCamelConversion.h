#pragma once
// Turns a property name into header words: a space before each capital that follows a non-capital,
// the first letter upper-cased ("firstName" → "First Name", "myID" → "My ID", "URLString" → "UR LString").

#include <string>
#include <string_view>

#include "OmbriGrid/KivoOmbriGridExport.h"

KIVO_GRID_EXPORT std::string KivoInternalCamelConversionNSString(std::string_view name);
