#pragma once
// The chart's analysis of the series one drawing pass draws, shared with every plotter: the data
// extremes (which the plotters widen into the axes' limits), the step between neighbouring X values,
// the data types of X and Y, the absolute sums per X value for stacking, and the paging window (the
// item indices drawn). The chart's own analysis is kept from one drawing pass to the next until one
// of its inputs changes (the series drawn, their values, the stacking mode, the chart's X values or
// the page), which the change counters of the series and of the chart tell. The lists it hands out are
// read-only.

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "OmbriChart/KivoDataArray.h"
#include "OmbriChart/KivoNumberDictionary.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

class KivoSeries;
namespace kivo::detail {
class XValueList;
class DataInfoInternals;
struct ValueColumn;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoDataInfo : public plat::Object {
public:
    // Sums keyed by the numeric value of an X value (an integer 3 and a real 3.0 are one key).
    using StackDictionary = KivoNumberDictionary;
    static constexpr std::uint64_t NoItemLimit = std::numeric_limits<std::uint64_t>::max();

    KivoDataInfo() = default;
    static std::shared_ptr<KivoDataInfo> create() { return std::make_shared<KivoDataInfo>(); }

    // Analyses the drawn series (visibility 0 or 1) among `series` (entries that are no KivoSeries are
    // passed over), in order, with the stacking mode (a KivoPlotterStacking) and the chart's own X
    // values (null when it has none). X extremes come from the paging window; Y extremes and sums from
    // every item. Values that are not numbers, and numbers that are NaN or infinite, are passed over.
    // Called from outside the chart it always works the analysis out afresh: a handed list carries no
    // change counter.
    void analyse(const plat::Array& series, std::int64_t stacking, const KivoValues& values);

    double getMinX() const { return _minX; }
    double getMaxX() const { return _maxX; }
    double getMinY() const { return _minY; }
    double getMaxY() const { return _maxY; }
    std::int64_t getDataTypeX() const { return _dataTypeX; }
    std::int64_t getDataTypeY() const { return _dataTypeY; }
    // The absolute sum of the drawn values at X value `x`; 0 when there is none or it is not finite.
    double getStackedAbsSum(double x) const;
    const StackDictionary& getStackAbs() const;
    // The chart's X values handed to the last analysis (null when it had none), boxed at the first ask.
    const KivoValues& getXVals() const;

    // ---- Paging window ----
    // Whether a page lies after (before) the window.
    bool hasMore() const;
    bool hasLess() const { return _origin != 0; }
    // Moves the window a page on (back), keeping it inside the items.
    void showMore();
    void showLess();
    std::uint64_t getOrigin() const { return _origin; }
    // The smaller of the item count and the page size.
    std::uint64_t getPageSize() const { return _count < _maxItems ? _count : _maxItems; }
    // The index of the window's last item: origin + page size − 1 (with no items, origin − 1, wrapping
    // round as unsigned numbers do).
    std::uint64_t getEnd() const { return _origin + getPageSize() - 1; }
    // The number of items of the last analysis: the X values of the last drawn series that has some,
    // else the chart's X values, else the Y values of the last drawn series.
    std::uint64_t count() const { return _count; }
    // Takes the paging window (its start and page size) of `other`, so an analysis of other series
    // draws the same page.
    void followWindowOf(const KivoDataInfo& other) {
        _origin = other._origin;
        _maxItems = other._maxItems;
    }

    // Neither NaN nor infinite.
    static bool isValid(double value) { return std::isfinite(value); }

    // ---- Plain properties ----
    double minX() const { return _minX; }
    void setMinX(double v) {
        _minX = v;
        _analysed = false;
    }
    double maxX() const { return _maxX; }
    void setMaxX(double v) {
        _maxX = v;
        _analysed = false;
    }
    double minY() const { return _minY; }
    void setMinY(double v) {
        _minY = v;
        _analysed = false;
    }
    double maxY() const { return _maxY; }
    void setMaxY(double v) {
        _maxY = v;
        _analysed = false;
    }
    // The smallest positive, finite gap between neighbouring X values, in list order; 0 for none.
    double deltaX() const { return _deltaX; }
    void setDeltaX(double v) {
        _deltaX = v;
        _analysed = false;
    }
    std::int64_t dataTypeX() const { return _dataTypeX; }
    void setDataTypeX(std::int64_t t) {
        _dataTypeX = t;
        _analysed = false;
    }
    std::int64_t dataTypeY() const { return _dataTypeY; }
    void setDataTypeY(std::int64_t t) {
        _dataTypeY = t;
        _analysed = false;
    }
    // The page size; NoItemLimit (the chart's default) pages nothing.
    std::uint64_t maxItems() const { return _maxItems; }
    void setMaxItems(std::uint64_t n) { _maxItems = n; }

private:
    friend class kivo::detail::DataInfoInternals;
    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

    // What the kept results were worked out from: the change counters of the drawn series in order and
    // of the chart's X values, the mode and the page. An analysis with another X list never matches.
    struct Key {
        std::vector<std::uint64_t> series;
        std::uint64_t values = 0;
        std::int64_t stacking = 0;
        std::uint64_t origin = 0, maxItems = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };
    Key _key;
    bool _keyed = false;      // the results may be kept for an analysis with the same key
    bool _analysed = false;   // the results are the last analysis' own
    std::uint64_t _runs = 0;  // analyses worked out (not kept) so far
    // The last analysis had one series, whose drawn values each had a key of their own (ascending):
    // a replaced value then changes its own sum only.
    bool _uniqueKeys = false;

    // With one unstacked series whose keys rise, the sums are its absolute values at its keys: the
    // columns are kept (they never change) and the sums written out at the first ask, so a drawing
    // pass that asks for none writes no entry per item.
    mutable StackDictionary _stackAbs;
    mutable std::shared_ptr<const kivo::detail::ValueColumn> _sumXs, _sumYs;  // _sumYs set: not written yet
    // The chart's X values of the last analysis; before any, an empty list stands for them.
    std::shared_ptr<const kivo::detail::XValueList> _xList;
    KivoValues _noXList = std::make_shared<const plat::Array>();
    std::uint64_t _origin = 0;
    std::uint64_t _count = 0;
    double _minX = NaN, _maxX = NaN, _minY = NaN, _maxY = NaN;
    double _deltaX = 0;
    std::int64_t _dataTypeX = 0, _dataTypeY = 0;
    std::uint64_t _maxItems = NoItemLimit;
};
