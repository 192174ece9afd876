#pragma once
// The data of one bar's label, collected while the bars are drawn so that every label can be drawn
// after all bars. A read-only record.

#include <cstdint>
#include <memory>
#include <string>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"

class KIVO_CHART_EXPORT OmbrChartDataLabelData : public plat::Object {
public:
    OmbrChartDataLabelData(std::string seriesName, std::shared_ptr<KivoRect> rect, std::int64_t seriesIndex,
                           std::int64_t pointIndex, double dataX, double dataY, plat::Value valueX)
        : _seriesName(std::move(seriesName)),
          _rect(std::move(rect)),
          _seriesIndex(seriesIndex),
          _pointIndex(pointIndex),
          _dataX(dataX),
          _dataY(dataY),
          _valueX(std::move(valueX)) {}
    static std::shared_ptr<OmbrChartDataLabelData> create(std::string seriesName, std::shared_ptr<KivoRect> rect,
                                                          std::int64_t seriesIndex, std::int64_t pointIndex, double dataX,
                                                          double dataY, plat::Value valueX) {
        return std::make_shared<OmbrChartDataLabelData>(std::move(seriesName), std::move(rect), seriesIndex, pointIndex, dataX,
                                                        dataY, std::move(valueX));
    }

    const std::string& seriesName() const { return _seriesName; }
    // Bounds of the bar, symbol or candle the label is positioned next to.
    const std::shared_ptr<KivoRect>& rect() const { return _rect; }
    std::int64_t seriesIndex() const { return _seriesIndex; }
    std::int64_t pointIndex() const { return _pointIndex; }
    double dataX() const { return _dataX; }
    double dataY() const { return _dataY; }
    // The item's X value as bound.
    const plat::Value& valueX() const { return _valueX; }

private:
    const std::string _seriesName;
    const std::shared_ptr<KivoRect> _rect;
    const std::int64_t _seriesIndex;
    const std::int64_t _pointIndex;
    const double _dataX;
    const double _dataY;
    const plat::Value _valueX;
};
