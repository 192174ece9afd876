#pragma once
// The circular hit areas of a line or scatter series: one compact area per point, all of one series'
// pass in one block, each making its point's KivoChartDataPoint only when a hit test (or an element
// handler) first asks for it. A line of a million points thus registers its hit areas without a
// million data points, formatted X texts and allocations.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"

class KivoChartDataPoint;
class OmbriChart;

namespace kivo::detail {

// What the points of one series share in one pass.
struct LineSeriesInfo {
    std::weak_ptr<OmbriChart> chart;
    std::optional<std::string> name;
    std::int32_t seriesIndex = -1;  // the series' position in the chart's series
    bool rotated = false;
    double radius = 0;
};

// The text of a point's X: its category label, else its X formatted by the axis that carries X.
plat::Value xText(const OmbriChart& chart, std::int64_t index, double x, bool rotated);

}  // namespace kivo::detail

class KIVO_CHART_EXPORT LinePointArea final : public IKivoHitArea {
public:
    // A disc of the series' radius around (centerX, centerY), where the point at data index
    // `pointIndex` with the data values (x, y) is drawn.
    LinePointArea(const kivo::detail::LineSeriesInfo* info, double centerX, double centerY, std::int32_t pointIndex, double x,
                  double y)
        : _info(info), _cx(centerX), _cy(centerY), _x(x), _y(y), _pointIndex(pointIndex) {}

    double centerX() const { return _cx; }
    double centerY() const { return _cy; }
    double radius() const { return _info ? _info->radius : 0.0; }
    std::int32_t pointIndex() const { return _pointIndex; }
    // The X used and the Y drawn (an interpolated one for a missing value), before stacking.
    double x() const { return _x; }
    double y() const { return _y; }

    bool contains(const KivoPoint& point) const override;
    double distance(const KivoPoint& point) const override;
    // The point's data point (made on first use) unless a tag was set.
    const plat::Value& tag() const override;
    void setTag(plat::Value tag) override { _tag = std::make_unique<plat::Value>(std::move(tag)); }
    std::shared_ptr<KivoChartDataPoint> dataPoint() const;

private:
    const kivo::detail::LineSeriesInfo* _info;
    double _cx, _cy, _x, _y;
    std::int32_t _pointIndex;
    // Made on first use: most points are never asked for.
    mutable std::unique_ptr<plat::Value> _tag;
};

namespace kivo::detail {

// The areas of one series' pass, sharing its info. Whoever holds one of them (the hit tester, a hit
// test's result) holds the block, so that it stays alive as long as any area is held.
struct LinePointBlock {
    LineSeriesInfo info;
    std::vector<LinePointArea> areas;
};

}  // namespace kivo::detail
