#pragma once
// The aggregate codes of grid columns and collection-view groups, and the function that computes one
// aggregate over the values that a binding path reads from a list of items.

#include <cstdint>
#include <optional>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/value.h"

enum KivoAggregate : std::int64_t {
    KivoAggregateNone = 0,
    KivoAggregateSum = 1,
    KivoAggregateCount = 2,
    KivoAggregateAverage = 3,
    KivoAggregateMaximum = 4,
    KivoAggregateMinimum = 5,
    KivoAggregateRange = 6,
    KivoAggregateSampleStandardDeviation = 7,
    KivoAggregateSampleVariance = 8,
    KivoAggregatePopulationStandardDeviation = 9,
    KivoAggregatePopulationVariance = 10,
};

// Reads each item's value at `binding` (a dotted path; no path reads nothing) and aggregates them.
// nil and null values are skipped. Count counts every value read; the other aggregates use the values
// that are numbers: numbers themselves (Booleans as 0 and 1) and strings that start with a number
// ("12.5kg" as 12.5). Strings without a leading number ("n/a"), dates, arrays and objects are skipped
// by them, never taken as 0. No such values, unknown codes, and the variances of fewer than two values
// give 0. Variances are computed stably, so large offsets never produce negative variances.
KIVO_CORE_EXPORT double KivoGetAggregate(std::int64_t aggregate, const plat::Array& items,
                                         const std::optional<std::string>& binding);
KIVO_CORE_EXPORT double KivoGetAggregate(std::int64_t aggregate, const plat::ArrayPtr& items,
                                         const std::optional<std::string>& binding);
