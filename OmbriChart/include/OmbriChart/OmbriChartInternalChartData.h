#pragma once
// The chart's design-time demonstration record (a country with its sales, expenses and downloads), and
// the six records the chart shows when it prepares for the interface designer.

#include <cstdint>
#include <memory>
#include <string>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class KIVO_CHART_EXPORT OmbriChartInternalChartData : public plat::Object {
public:
    PLAT_CLASS()

    OmbriChartInternalChartData() = default;
    OmbriChartInternalChartData(std::string name, std::int64_t sales, std::int64_t expenses, std::int64_t downloads)
        : name(std::move(name)), sales(sales), expenses(expenses), downloads(downloads) {}

    std::string name;
    std::int64_t sales = 0;
    std::int64_t expenses = 0;
    std::int64_t downloads = 0;

    // Six records, "US", "Germany", "UK", "Japan", "Italy", "Greece", with pseudo-random values from a
    // fixed seed (the same in every run); made on the first call and the same array for the life of the
    // process.
    static const plat::ArrayPtr& demoData();
    // A uniform random integer from 0 to n - 1 (0 for n of 0).
    static std::int64_t generateRandom(std::uint32_t n);
};
