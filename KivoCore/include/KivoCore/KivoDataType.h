#pragma once
// Classification of values for formatting, axes, columns and aggregates.

#include <cstdint>

enum KivoDataType : std::int64_t {
    KivoDataTypeNone = 0,  // nil, or not determined
    KivoDataTypeObject = 1,
    KivoDataTypeString = 2,
    KivoDataTypeNumber = 3,
    KivoDataTypeBoolean = 4,
    KivoDataTypeDate = 5,
    KivoDataTypeArray = 6,
};
