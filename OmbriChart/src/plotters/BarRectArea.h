#pragma once
// The rectangular hit areas of a column or bar series: each bar's place recorded in plain lists, all of
// one series' pass in one block, the areas made from them when a hit test (or a label) first asks, and
// each area making its bar's KivoChartDataPoint only when asked for. A column chart of a million points
// thus registers its hit areas without a million area objects, data points, formatted X texts and
// allocations.

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "Platform/foundation/value.h"
#include "plotters/LinePointArea.h"

class KivoChartDataPoint;
class OmbriChart;

class BarRectArea : public IKivoHitArea {
public:
    // The bar drawn at (left, top, width, height) for the point at data index `pointIndex` with the
    // data values (x, y); `middle` is the middle of its slot across the category axis.
    BarRectArea(const kivo::detail::LineSeriesInfo* info, const KivoRect& bar, std::int32_t pointIndex, double x, double y,
                double middle)
        : _info(info),
          _left(bar.left()),
          _top(bar.top()),
          _width(bar.width()),
          _height(bar.height()),
          _x(x),
          _y(y),
          _middle(middle),
          _pointIndex(pointIndex) {}

    // The bar as given.
    KivoRect rect() const { return {_left, _top, _width, _height}; }
    std::int32_t pointIndex() const { return _pointIndex; }
    double x() const { return _x; }
    double y() const { return _y; }
    // The text of the bar's X, as its data point tells it (nil once the chart is gone).
    plat::Value xText() const;

    bool contains(const KivoPoint& point) const override;
    double distance(const KivoPoint& point) const override;
    KivoHitBounds bounds() const override;
    // The bar's data point (made on first use) unless a tag was set.
    const plat::Value& tag() const override;
    void setTag(plat::Value tag) override { _tag = std::make_unique<plat::Value>(std::move(tag)); }
    std::shared_ptr<KivoChartDataPoint> dataPoint() const;

protected:
    // What a kind of area adds to its data point once the bar's fields are set.
    virtual void completeDataPoint(KivoChartDataPoint&) const {}

private:
    double minX() const { return std::fmin(_left, _left + _width); }
    double maxX() const { return std::fmax(_left, _left + _width); }
    double minY() const { return std::fmin(_top, _top + _height); }
    double maxY() const { return std::fmax(_top, _top + _height); }

    const kivo::detail::LineSeriesInfo* _info;
    double _left, _top, _width, _height, _x, _y, _middle;
    std::int32_t _pointIndex;
    // Made on first use: most bars are never asked for.
    mutable std::unique_ptr<plat::Value> _tag;
};

namespace kivo::detail {

// The bars of one series' pass as the bar loop placed them: each entry's rectangle, the middle of its
// slot, its data values and its point index, in plain lists. The hit areas are made from them, all at
// once, when first asked for; the hit tester reaches them through areaAt. Whoever holds one of them (the
// hit tester, a hit test's result, the pass's label list) holds the block. What the bars share is what
// the points of a line series share (their radius, 0, unused).
struct BarPlaceBlock {
    LineSeriesInfo info;

    std::size_t size() const { return _count; }
    // Room for `capacity` entries, written by place() in order.
    void open(std::size_t capacity);
    void place(const KivoRect& bar, std::int32_t pointIndex, double x, double y, double middle) {
        const std::size_t k = _count++;
        _left[k] = bar.left();
        _top[k] = bar.top();
        _width[k] = bar.width();
        _height[k] = bar.height();
        _middle[k] = middle;
        _x[k] = x;
        _y[k] = y;
        _index[k] = pointIndex;
    }
    // Ends the entries placed since open().
    void close();

    // Entry k's hit area; the first call makes every entry's.
    const BarRectArea& area(std::size_t k) const;
    static IKivoHitArea* areaAt(void* block, std::size_t k) {
        return const_cast<BarRectArea*>(&static_cast<const BarPlaceBlock*>(block)->area(k));
    }
    // Empties the block for a pass of `expected` entries.
    void reset(std::size_t expected);

private:
    PlaceList _left, _top, _width, _height, _middle, _x, _y;
    std::vector<std::int32_t, UnsetOnResize<std::int32_t>> _index;
    std::size_t _count = 0;
    mutable std::vector<BarRectArea> _areas;
    mutable bool _made = false;
};

// The text of a bar's X: its category label, else its X formatted by the category axis (an empty text
// without one).
plat::Value barXText(const OmbriChart& chart, std::int64_t index, double x, bool rotated);

}  // namespace kivo::detail
