#pragma once
// The circular hit areas of a line, scatter or bubble series: one compact area per point, all of one
// series' pass in one block, each making its point's KivoChartDataPoint only when a hit test (or an
// element handler) first asks for it. A line of a million points thus registers its hit areas without a
// million data points, formatted X texts and allocations.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
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

class LinePointArea : public IKivoHitArea {
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
    KivoHitBounds bounds() const override { return {_cx, _cy, _cx, _cy, radius()}; }
    // The point's data point (made on first use) unless a tag was set.
    const plat::Value& tag() const override;
    void setTag(plat::Value tag) override { _tag = std::make_unique<plat::Value>(std::move(tag)); }
    std::shared_ptr<KivoChartDataPoint> dataPoint() const;

protected:
    // What a kind of area adds to its data point once the common fields are set.
    virtual void completeDataPoint(KivoChartDataPoint&) const {}

private:
    const kivo::detail::LineSeriesInfo* _info;
    double _cx, _cy, _x, _y;
    std::int32_t _pointIndex;
    // Made on first use: most points are never asked for.
    mutable std::unique_ptr<plat::Value> _tag;
};

// A scatter or bubble point's area: its y is the stacked value, and its data point also tells the
// bubble's size value and where the point stands apart from the animation's move.
class BubblePointArea final : public LinePointArea {
public:
    BubblePointArea(const kivo::detail::LineSeriesInfo* info, double centerX, double centerY, std::int32_t pointIndex, double x,
                    double stackedY, double bubbleSize, double placeX, double placeY)
        : LinePointArea(info, centerX, centerY, pointIndex, x, stackedY),
          _bubbleSize(bubbleSize),
          _placeX(placeX),
          _placeY(placeY) {}

protected:
    void completeDataPoint(KivoChartDataPoint& point) const override;

private:
    double _bubbleSize, _placeX, _placeY;
};

namespace kivo::detail {

// The areas of one series' pass, sharing its info. Whoever holds one of them (the hit tester, a hit
// test's result) holds the block, so that it stays alive as long as any area is held.
template <class Area>
struct PointAreaBlock {
    LineSeriesInfo info;
    std::vector<Area> areas;
};
struct LinePointBlock : PointAreaBlock<LinePointArea> {};
struct BubblePointBlock : PointAreaBlock<BubblePointArea> {};

// Blocks of hit areas kept for later passes: one per series of the usual chart.
constexpr std::size_t MaxKeptBlocks = 16;
// A kept list far larger than a pass needs gives its memory back.
constexpr std::size_t ShrinkFactor = 4;
constexpr std::size_t SmallList = 1024;

// Empties a kept list for a pass of `expected` entries.
template <class T>
void reuseFor(std::vector<T>& list, std::size_t expected) {
    list.clear();
    if (list.capacity() > ShrinkFactor * expected + SmallList) std::vector<T>().swap(list);
    list.reserve(expected);
}

// A hit-area block for a series' pass: a kept one that nothing else holds any more (emptied), else a
// new one, kept for later passes while there are few.
template <class Block>
std::shared_ptr<Block> takeKeptBlock(std::vector<std::shared_ptr<Block>>& kept, std::size_t expected) {
    for (const auto& block : kept) {
        // Held only here: no hit tester, result or handler has any of its areas.
        if (block.use_count() != 1) continue;
        reuseFor(block->areas, expected);
        return block;
    }
    auto block = std::make_shared<Block>();
    block->areas.reserve(expected);
    if (kept.size() < MaxKeptBlocks) kept.push_back(block);
    return block;
}

}  // namespace kivo::detail
