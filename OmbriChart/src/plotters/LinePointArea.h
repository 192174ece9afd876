#pragma once
// The circular hit areas of a line, scatter or bubble series: one compact area per point, all of one
// series' pass in one block, each making its point's KivoChartDataPoint only when a hit test (or an
// element handler) first asks for it. A line records only where each point was drawn and which data
// point it is; its areas are made when something first asks for one. A line of a million points thus
// registers its hit areas without a million area objects, data points, formatted X texts and allocations.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "OmbriChart/KivoAxis.h"
#include "Platform/foundation/value.h"
#include "series/ValueColumn.h"

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

// The data point a compact area makes when first asked for, holding what every kind of area tells
// alike: its series (when the area knows it) and the index of its point.
std::shared_ptr<KivoChartDataPoint> newAreaPoint(const LineSeriesInfo* info, std::int32_t pointIndex);

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

// Empties a kept list for a pass of `expected` entries.
template <class T, class A>
void reuseFor(std::vector<T, A>& list, std::size_t expected);

// An allocator whose lists leave the entries a resize adds unset: a loop that writes every entry
// then costs no pass of zeros over a million of them first.
template <class T>
struct UnsetOnResize : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnsetOnResize<U>;
    };
    UnsetOnResize() = default;
    template <class U>
    UnsetOnResize(const UnsetOnResize<U>&) {}
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using PlaceList = std::vector<double, UnsetOnResize<double>>;

// The areas of one series' pass, sharing its info. Whoever holds one of them (the hit tester, a hit
// test's result) holds the block, so that it stays alive as long as any area is held.
template <class Area>
struct PointAreaBlock {
    LineSeriesInfo info;
    std::vector<Area> areas;
    void reset(std::size_t expected) { reuseFor(areas, expected); }
};

// The points of one line series' pass as the point loop found them: where each entry is drawn and which
// data point it is. The hit areas are made from them, all at once, when first asked for; the hit tester
// reaches them through areaAt. Nothing is added once the block is handed to the hit tester.
struct LinePointBlock {
    LineSeriesInfo info;
    // Where each entry is drawn (an update may ease an entry to a missing position).
    PlaceList sx, sy;
    // Entry k is data point firstIndex + k, unless points were left out: then `indices` lists them all.
    std::int64_t firstIndex = 0;
    std::vector<std::int32_t> indices;
    // The values the entries were read from: X (the index itself without X values) and Y, unless
    // `takenY` holds each entry's Y (a filled gap or a revealed end is not the column's).
    ColumnPtr xs, ys;
    bool hasX = false;
    std::vector<double> takenY;

    // Set when the positions were not kept (a pass that only strokes its line): then `placedCount`
    // entries, every one present, lie where these conversions place their values.
    std::optional<KivoAxis::LinearConversion> placeX, placeY;
    std::size_t placedCount = 0;

    std::size_t size() const { return placeX ? placedCount : sx.size(); }
    // Where entry k is drawn.
    double centerX(std::size_t k) const;
    double centerY(std::size_t k) const;
    std::int32_t pointIndex(std::size_t k) const {
        return indices.empty() ? static_cast<std::int32_t>(firstIndex + static_cast<std::int64_t>(k)) : indices[k];
    }
    double x(std::size_t k) const;
    double y(std::size_t k) const { return takenY.empty() ? numberAt(ys, pointIndex(k)) : takenY[k]; }
    // Entry k's hit area; the first call makes every entry's.
    const LinePointArea& area(std::size_t k) const;
    // The hit tester's access to the areas: `block` is this block.
    static IKivoHitArea* areaAt(void* block, std::size_t k) {
        return const_cast<LinePointArea*>(&static_cast<const LinePointBlock*>(block)->area(k));
    }
    // Empties the block for a pass of `expected` entries.
    void reset(std::size_t expected);
    // Entries from here on are not all consecutive: lists the indices of those before. Those are
    // consecutive from firstIndex; pointIndex() cannot tell them while the list is half written.
    void listIndices() {
        const std::size_t n = size();
        if (!indices.empty() || n == 0) return;
        indices.reserve(std::max(sx.capacity(), n));
        for (std::size_t k = 0; k < n; ++k)
            indices.push_back(static_cast<std::int32_t>(firstIndex + static_cast<std::int64_t>(k)));
    }

private:
    mutable std::vector<LinePointArea> _areas;
    mutable bool _made = false;
};

// The points of one scatter or bubble series' pass, kept as a line's are (entry k drawn at sx[k], sy[k],
// its Y in `takenY` when stacked or filled), with what a bubble's area adds; the areas are made when
// first asked for, so a scatter of a million points registers them without a million objects.
struct BubblePointBlock : LinePointBlock {
    // Each entry's size value; empty while the series binds no size (every size 0).
    std::vector<double> sizes;
    // Where each entry stands apart from an animation's move; empty while every entry stands where drawn.
    PlaceList standX, standY;

    double sizeAt(std::size_t k) const { return sizes.empty() ? 0.0 : sizes[k]; }
    // Entry k's hit area; the first call makes every entry's.
    const BubblePointArea& area(std::size_t k) const;
    static IKivoHitArea* areaAt(void* block, std::size_t k) {
        return const_cast<BubblePointArea*>(&static_cast<const BubblePointBlock*>(block)->area(k));
    }
    void reset(std::size_t expected);

private:
    mutable std::vector<BubblePointArea> _bubbleAreas;
    mutable bool _bubblesMade = false;
};

// Blocks of hit areas kept for later passes: one per series of the usual chart.
constexpr std::size_t MaxKeptBlocks = 16;
// A kept list far larger than a pass needs gives its memory back.
constexpr std::size_t ShrinkFactor = 4;
constexpr std::size_t SmallList = 1024;

template <class T, class A>
void reuseFor(std::vector<T, A>& list, std::size_t expected) {
    list.clear();
    if (list.capacity() > ShrinkFactor * expected + SmallList) std::vector<T, A>().swap(list);
    list.reserve(expected);
}

// A hit-area block for a series' pass: a kept one that nothing else holds any more (emptied), else a
// new one, kept for later passes while there are few.
template <class Block>
std::shared_ptr<Block> takeKeptBlock(std::vector<std::shared_ptr<Block>>& kept, std::size_t expected) {
    for (const auto& block : kept) {
        // Held only here: no hit tester, result or handler has any of its areas.
        if (block.use_count() != 1) continue;
        block->reset(expected);
        return block;
    }
    auto block = std::make_shared<Block>();
    block->reset(expected);
    if (kept.size() < MaxKeptBlocks) kept.push_back(block);
    return block;
}

}  // namespace kivo::detail
