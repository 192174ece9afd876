#pragma once
// The chart's analysis of the series it draws, shared with every plotter: data extremes, X values and
// stacked sums. The chart replaces it whenever what it analyses changes at the root (items, chart
// type, paging window), so nothing of an earlier analysis leaks into the next.
//
// So far it holds no analysis; the data analysis fills it in.

#include <memory>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class KIVO_CHART_EXPORT KivoDataInfo : public plat::Object {
public:
    KivoDataInfo() = default;
    static std::shared_ptr<KivoDataInfo> create() { return std::make_shared<KivoDataInfo>(); }
};
