#pragma once
// The hit area of one financial mark: the bar's compact rectangle (all of one series' pass in one
// block, the data point made when first asked for) whose data point also tells the mark's high, low,
// open and close.

#include <cstdint>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "plotters/BarRectArea.h"
#include "series/SeriesColumns.h"

// The four values of a mark as drawn in this frame (grown from the middle while the chart loads).
struct FinanceValues {
    double high, low, open, close;
};

class FinanceRectArea final : public BarRectArea {
public:
    // The mark's rectangle, the point at data index `pointIndex` placed at X `x` with the data value
    // `value` (its high as read: NaN when missing), centred on `middle` across the position axis.
    FinanceRectArea(const kivo::detail::LineSeriesInfo* info, const KivoRect& rect, std::int32_t pointIndex, double x,
                    double value, double middle, const FinanceValues& values)
        : BarRectArea(info, rect, pointIndex, x, value, middle), _values(values) {}

protected:
    void completeDataPoint(KivoChartDataPoint& point) const override {
        point.setHigh(_values.high);
        point.setLow(_values.low);
        point.setOpen(_values.open);
        point.setClose(_values.close);
    }

private:
    FinanceValues _values;
};

namespace kivo::detail {

struct FinanceAreaBlock : PointAreaBlock<FinanceRectArea> {};

// The binding names after the first: the low, open and close of every item.
constexpr std::int64_t LowBinding = 1, OpenBinding = 2, CloseBinding = 3;

// The numbers of the binding name at `k` over the series' items; null when the series names none there
// (a column read without a name would read the items themselves).
inline ColumnPtr financeColumn(KivoSeries& series, std::int64_t k) {
    const auto name = series.getBinding(k);
    if (!name || name->empty()) return nullptr;
    return SeriesInternals::bindingValues(series, k);
}

}  // namespace kivo::detail
