#pragma once
// The pie's design-time demonstration record: a region with one value (or three), and the two sets of
// four records that the interface designer shows.

#include <string>

#include "OmbriPie/KivoOmbriPieExport.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

class KIVO_PIE_EXPORT KivoOmbriPieInternalRegion : public plat::Object {
public:
    PLAT_CLASS()

    KivoOmbriPieInternalRegion() = default;
    KivoOmbriPieInternalRegion(std::string name, double value) : name(std::move(name)), value(value) {}
    KivoOmbriPieInternalRegion(std::string name, double value, double value2, double value3)
        : name(std::move(name)), value(value), value2(value2), value3(value3) {}

    std::string name;
    double value = 0;
    double value2 = 0;
    double value3 = 0;

    // "Oranges" 62, "South" 63, "East" 28, "West" 13: a new array on every call.
    static plat::ArrayPtr demo();
    // "North", "South", "East", "West" with three values each: a new array on every call.
    static plat::ArrayPtr demo2();
};
