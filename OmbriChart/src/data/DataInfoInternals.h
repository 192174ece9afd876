#pragma once
// The chart's way into its data analysis: an analysis over the series' kept numbers that is kept while
// its inputs stay the same, and the chart's X values as numbers for the plotters.

#include <cstdint>
#include <memory>

#include "OmbriChart/KivoDataInfo.h"
#include "data/XValueList.h"
#include "series/ValueColumn.h"

namespace kivo::detail {

class DataInfoInternals {
public:
    // Analyses as KivoDataInfo::analyse does, with the chart's X values `xList` (null for none) and their
    // change counter `xGeneration`. The results stand, without reading anything, when the last analysis had
    // the same drawn series in the same states, the same mode, X values and page, and no result was set
    // by hand since. With `runningTotals` a stacked value range spans the one running total per X that
    // the line and area plotters draw (negatives included), not the bars' separate positive and
    // negative totals.
    static void analyse(KivoDataInfo& info, const plat::Array& series, std::int64_t stacking, const XListPtr& xList,
                        std::uint64_t xGeneration, bool runningTotals = false);
    // The X values of the last analysis as numbers (null when it had none).
    static ColumnPtr xColumn(const KivoDataInfo& info) { return info._xList ? info._xList->column() : nullptr; }
    static const XListPtr& xList(const KivoDataInfo& info) { return info._xList; }
    // How many analyses were worked out rather than kept.
    static std::uint64_t runs(const KivoDataInfo& info) { return info._runs; }
    // The memory the analysis keeps.
    static std::size_t bytes(const KivoDataInfo& info);
    // The analysis itself; kept only with a change counter of the X values.
    static void run(KivoDataInfo& info, const plat::Array& series, std::int64_t stacking, const XListPtr& xList,
                    const std::uint64_t* xGeneration, bool runningTotals = false);

    // Writes out the sums that the analysis left to its columns; nothing when there are none.
    static void writeSums(const KivoDataInfo& info);

private:
    // Brings the last analysis up to date with a replace of a few Y values of its one series (`key`
    // being the new inputs), the X values left as they were. False, with nothing changed, when the
    // edit was another or the results cannot follow it exactly: the analysis then runs anew.
    static bool followReplace(KivoDataInfo& info, const KivoDataInfo::Key& key, const std::shared_ptr<KivoSeries>& series,
                              const ColumnPtr& xs, const ColumnPtr& ys, std::int64_t typeX, std::int64_t typeY);
};

}  // namespace kivo::detail
