#pragma once
// The values of one dimension of a series, one per item in item order, with the KivoDataType they
// were found to have (the type of the last value read). The lists are read-only to whoever receives
// them: to change a series' values, change its items (or hand it new ones).

#include <cstdint>
#include <memory>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

// A list of values handed out for reading only.
using KivoValues = std::shared_ptr<const plat::Array>;

class KIVO_CHART_EXPORT KivoDataArray : public plat::Object {
public:
    KivoDataArray(std::int64_t dataType, KivoValues values) : _dataType(dataType), _values(std::move(values)) {}
    static std::shared_ptr<KivoDataArray> create(std::int64_t dataType, KivoValues values) {
        return std::make_shared<KivoDataArray>(dataType, std::move(values));
    }

    std::int64_t dataType() const { return _dataType; }
    void setDataType(std::int64_t type) { _dataType = type; }
    const KivoValues& values() const { return _values; }
    void setValues(KivoValues values) { _values = std::move(values); }

private:
    std::int64_t _dataType;
    KivoValues _values;
};
