#include "OmbriChart/KivoChartHitTestInfo.h"

KivoChartHitTestInfo::KivoChartHitTestInfo(std::shared_ptr<OmbriChart> chart, double x, double y)
    : KivoHitTestInfo(x, y), _chart(std::move(chart)), _dataPoint(KivoChartDataPoint::create()) {
    _dataPoint->setSeriesIndex(-1);
}
