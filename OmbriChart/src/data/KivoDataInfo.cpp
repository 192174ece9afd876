#include "OmbriChart/KivoDataInfo.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChartEnums.h"
#include "data/DataInfoInternals.h"
#include "series/SeriesColumns.h"

namespace {

// The extremes take a value when they have none yet (NaN) or it lies beyond them.
void widen(double& lo, double& hi, double v) {
    if (std::isnan(lo) || lo > v) lo = v;
    if (std::isnan(hi) || hi < v) hi = v;
}

}  // namespace

namespace kivo::detail {

namespace {

// Widens the X extremes and narrows deltaX by the window (`origin` to `end`) of `xs`.
void scanX(const ValueColumn& xs, std::uint64_t origin, std::uint64_t end, double& minX, double& maxX, double& deltaX) {
    const std::uint64_t size = xs.size();
    const std::uint64_t stop = std::min(size, end == std::numeric_limits<std::uint64_t>::max() ? size : end + 1);
    // Each value is read once: the one before carries over as the left neighbour. Without entries that
    // hold no number, the flags need no reading.
    const bool allNumbers = xs.others == 0;
    bool hasLeft = origin > 0 && origin < size && (allNumbers || xs.numeric[origin - 1]);
    double left = hasLeft ? xs.values[origin - 1] : 0;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo, step = deltaX;
    bool any = false;
    for (std::uint64_t i = origin; i < stop; ++i) {
        const bool isNumber = allNumbers || xs.numeric[i];
        const double x = xs.values[i];
        const bool leftIsNumber = std::exchange(hasLeft, isNumber);
        const double before = std::exchange(left, x);
        if (!isNumber || !KivoDataInfo::isValid(x)) continue;
        any = true;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
        if (!leftIsNumber) continue;
        // Equal neighbours (a repeated X) and gaps to a value that is not finite set no step.
        const double d = std::fabs(x - before);
        if (d > 0 && KivoDataInfo::isValid(d) && (step == 0 || step > d)) step = d;
    }
    deltaX = step;
    if (!any) return;
    widen(minX, maxX, lo);
    widen(minX, maxX, hi);
}

// How many of a series' values have an X value of their own: the values' keys.
std::size_t keyedCount(const ValueColumn* xs, std::size_t count) { return xs ? std::min(xs->size(), count) : 0; }

// The key of value `k`: its X value when it has one that is a number, else its index.
double sumKey(const ValueColumn* xs, std::size_t keyed, std::size_t k) {
    return k < keyed && !std::isnan(xs->values[k]) ? xs->values[k] : static_cast<double>(k);
}

// Appends the absolute value of each drawable value of `ys` under its key.
void appendAbsolutes(KivoNumberDictionary::Run& run, const ValueColumn* xs, const ValueColumn& ys) {
    const std::size_t keyed = keyedCount(xs, ys.size());
    for (std::size_t k = 0; k < ys.size(); ++k)
        if (const double y = ys.values[k]; KivoDataInfo::isValid(y)) run.emplace_back(sumKey(xs, keyed, k), std::fabs(y));
}

// Set apart from any stacking code in the kept mode of an analysis of running totals.
constexpr std::int64_t RunningTotalsMode = std::int64_t{1} << 32;

// The range of the running totals the line and area plotters draw: each series' values added in turn
// to one total per X, negatives included (as shares of the absolute sum at X when `share`); every
// total reached counts. Shares span at least 0 to 1.
template <class Drawn>
void runningTotalRange(const std::vector<Drawn>& drawn, const KivoNumberDictionary& absolute, bool share, double& minY,
                       double& maxY) {
    constexpr double None = std::numeric_limits<double>::quiet_NaN();
    double lo = share ? 0.0 : None, hi = share ? 1.0 : None;
    KivoNumberDictionary totals;
    KivoNumberDictionary::Run run;
    std::vector<double> before;
    for (const auto& d : drawn) {
        if (!d.ys) continue;
        run.clear();
        const std::size_t keyed = d.xs ? d.xs->size() : 0;
        for (std::size_t k = 0; k < d.ys->size(); ++k) {
            double y = d.ys->values[k];
            if (!KivoDataInfo::isValid(y)) continue;
            double at = static_cast<double>(k);
            if (k < keyed && !std::isnan(d.xs->values[k])) at = d.xs->values[k];
            if (share) {
                const double sum = absolute.valueOr(at, 0);
                y = sum != 0 && KivoDataInfo::isValid(sum) ? y / sum : 0.0;
            }
            run.emplace_back(at, y);
        }
        totals.addRun(run, before);
        for (std::size_t k = 0; k < run.size(); ++k) widen(lo, hi, before[k] + run[k].second);
    }
    minY = lo;
    maxY = hi;
}

}  // namespace

bool DataInfoInternals::followReplace(KivoDataInfo& info, const KivoDataInfo::Key& key, const std::shared_ptr<KivoSeries>& series,
                                      const ColumnPtr& xs, const ColumnPtr& ys, std::int64_t typeX, std::int64_t typeY) {
    const KivoDataInfo::Key& last = info._key;
    if (!info._keyed || !info._analysed || !info._uniqueKeys || !ys || key.series.size() != 1 || last.series.size() != 1 ||
        key.values != last.values || key.stacking != last.stacking || key.origin != last.origin || key.maxItems != last.maxItems)
        return false;
    const auto& replaced = SeriesInternals::replaced(*series);
    if (!replaced || replaced->from != last.series[0] || replaced->to != key.series[0]) return false;
    const std::size_t at = replaced->at, n = replaced->before.size();
    if (at + n > ys->size()) return false;
    // Every replaced entry drew a value before and draws one now: the keys stay those of the last
    // analysis, each with a sum of its own.
    // Sums not written yet stay so when the keys are the same column's and the values as many: the
    // new values' absolutes are then the sums.
    const bool unwritten = info._sumYs && info._sumXs == xs && info._sumYs->size() == ys->size();
    if (!unwritten) writeSums(info);
    const std::size_t keyed = keyedCount(xs.get(), ys->size());
    std::vector<double*> sums(unwritten ? 0 : n);
    bool rescan = false;
    for (std::size_t j = 0; j < n; ++j) {
        const double before = replaced->before[j], now = ys->values[at + j];
        if (!KivoDataInfo::isValid(before) || !KivoDataInfo::isValid(now)) return false;
        // A value that held an extreme, or a new one equal to an extreme, has the range read again.
        if (!(before > info._minY && before < info._maxY) || now == info._minY || now == info._maxY) rescan = true;
        if (unwritten) continue;
        sums[j] = info._stackAbs.findValue(sumKey(xs.get(), keyed, at + j));
        if (!sums[j]) return false;
    }
    if (unwritten) info._sumYs = ys;
    for (std::size_t j = 0; j < n; ++j) {
        const double now = ys->values[at + j];
        if (!unwritten) *sums[j] = std::fabs(now);
        if (now < info._minY) info._minY = now;
        if (now > info._maxY) info._maxY = now;
    }
    if (rescan) {
        double lowY = std::numeric_limits<double>::infinity(), highY = -lowY;
        for (const double y : ys->values) {
            if (!KivoDataInfo::isValid(y)) continue;
            if (y < lowY) lowY = y;
            if (y > highY) highY = y;
        }
        info._minY = lowY;
        info._maxY = highY;
    }
    info._dataTypeX = xs ? typeX : 0;
    info._dataTypeY = typeY;
    return true;
}

void DataInfoInternals::analyse(KivoDataInfo& info, const plat::Array& series, std::int64_t stacking, const XListPtr& xList,
                                std::uint64_t xGeneration, bool runningTotals) {
    run(info, series, stacking, xList, &xGeneration, runningTotals);
}

std::size_t DataInfoInternals::bytes(const KivoDataInfo& info) {
    return sizeof(info) + info._stackAbs.size() * sizeof(KivoNumberDictionary::Entry) +
           info._key.series.capacity() * sizeof(std::uint64_t);
}

void DataInfoInternals::run(KivoDataInfo& info, const plat::Array& series, std::int64_t stacking, const XListPtr& xList,
                            const std::uint64_t* xGeneration, bool runningTotals) {
    struct Drawn {
        std::shared_ptr<KivoSeries> series;
        ColumnPtr xs, ys;
        std::int64_t typeX = 0, typeY = 0;
    };
    std::vector<Drawn> drawn;
    // The kind of totals is part of the mode: an analysis of the other kind is not kept.
    const std::int64_t mode = runningTotals ? stacking + RunningTotalsMode : stacking;
    KivoDataInfo::Key key{{}, xGeneration ? *xGeneration : 0, mode, info._origin, info._maxItems};
    for (const auto& entry : series) {
        auto s = entry.as<KivoSeries>();
        if (!s || !s->isDrawn()) continue;
        // Each series' X values are read before its Y values.
        Drawn d;
        d.xs = SeriesInternals::values(*s, 1);
        d.typeX = s->getDataType(1);
        d.ys = SeriesInternals::values(*s, 0);
        d.typeY = s->getDataType(0);
        // Read after the values: reading them may find them changed.
        key.series.push_back(SeriesInternals::generation(*s));
        d.series = std::move(s);
        drawn.push_back(std::move(d));
    }
    const bool keep = xGeneration && info._keyed && info._analysed && key == info._key;
    info._xList = xList;
    info._noXList.reset();
    if (keep) return;
    const ColumnPtr xColumn = xList ? xList->column() : nullptr;
    const bool stacked = stacking == KivoPlotterStackingStacked || stacking == KivoPlotterStackingStacked100;
    const bool updated = xGeneration && !stacked && drawn.size() == 1 &&
                         followReplace(info, key, drawn[0].series, drawn[0].xs, drawn[0].ys, drawn[0].typeX, drawn[0].typeY);
    info._key = std::move(key);
    info._keyed = xGeneration != nullptr;
    ++info._runs;
    if (updated) return;
    info._uniqueKeys = false;

    info._minX = info._maxX = info._minY = info._maxY = KivoDataInfo::NaN;
    info._deltaX = 0;
    info._dataTypeX = info._dataTypeY = 0;
    if (xColumn && !drawn.empty()) {
        info._count = xColumn->size();
        scanX(*xColumn, info._origin, info.getEnd(), info._minX, info._maxX, info._deltaX);
    }

    KivoDataInfo::StackDictionary positive, negative;
    // The last analysis' sums give their memory to this one's.
    KivoDataInfo::StackDictionary absolute = std::move(info._stackAbs);
    absolute.clear();
    info._sumXs.reset();
    info._sumYs.reset();
    ColumnPtr pendingXs, pendingYs;
    KivoNumberDictionary::Run run;
    for (const auto& [s, xs, ys, typeX, typeY] : drawn) {
        if (xs) {
            info._count = xs->size();
            if (info._dataTypeX == 0) info._dataTypeX = typeX;
            scanX(*xs, info._origin, info.getEnd(), info._minX, info._maxX, info._deltaX);
        }
        // A missing list adds nothing; an empty one still spans its (no) indices and names its type.
        if (!ys) continue;
        // Without X values anywhere the items are the Y values: the window ends at the last of them.
        if (!xs && !xColumn) info._count = ys->size();
        if (info._dataTypeY == 0) info._dataTypeY = typeY;
        // Without X values a series is laid out on category positions 0 to n − 1.
        const double last = static_cast<double>(ys->size()) - 1;
        if (std::isnan(info._minX)) info._minX = 0;
        if (std::isnan(info._maxX))
            info._maxX = last;
        else if (!xs)
            info._maxX = std::max(info._maxX, last);

        // The series' drawable values by key, summed into the dictionaries in one merge each. Unstacked,
        // only the absolute values are summed: the run holds them already, and the first series' run,
        // with its keys rising, is the dictionary itself (in the memory the last analysis kept).
        const bool direct = !stacked && absolute.empty();
        // The one series of an unstacked analysis leaves its sums to its columns while its keys rise.
        const bool deferred = direct && drawn.size() == 1;
        if (direct) run.swap(absolute._entries);
        run.clear();
        if (!deferred) run.reserve(ys->size());
        // A value that is no number reads as NaN, and is passed over as one. The extremes are kept in
        // locals (the run's memory could otherwise be the analysis' own), and whether the keys come in
        // order is noted on the way: no key is NaN, so a run found in order needs no sorting pass.
        double lowY = std::numeric_limits<double>::infinity(), highY = -lowY;
        bool inOrder = true, unique = true;
        double lastKey = -std::numeric_limits<double>::infinity();
        const std::size_t count = ys->size();
        const std::size_t keyed = keyedCount(xs.get(), count);
        bool any = false;
        // Named here: a lambda may not capture a structured binding in every compiler this builds with.
        const auto* const keys = xs.get();
        const double* const yv = ys->values.data();
        const auto scan = [&](const auto collect) {
            for (std::size_t k = 0; k < count; ++k) {
                const double y = yv[k];
                if (!KivoDataInfo::isValid(y)) continue;
                const double at = sumKey(keys, keyed, k);
                inOrder = inOrder && !(at < lastKey);
                unique = unique && at > lastKey;
                lastKey = at;
                any = true;
                // The first of equal extremes stays, as widening value by value keeps it.
                if (y < lowY) lowY = y;
                if (y > highY) highY = y;
                if constexpr (decltype(collect)::value) run.emplace_back(at, stacked ? y : std::fabs(y));
            }
        };
        if (deferred)
            scan(std::false_type{});
        else
            scan(std::true_type{});
        if (any) {
            widen(info._minY, info._maxY, lowY);
            widen(info._minY, info._maxY, highY);
        }
        info._uniqueKeys = drawn.size() == 1 && unique;
        if (deferred && unique) {
            run.swap(absolute._entries);
            pendingXs = xs;
            pendingYs = ys;
            continue;
        }
        if (deferred) {
            // Keys out of order or repeated: the run is merged as any other.
            run.reserve(count);
            appendAbsolutes(run, keys, *ys);
        }
        if (direct && unique) {
            run.swap(absolute._entries);
            continue;
        }
        if (!inOrder) KivoNumberDictionary::sortByKey(run);
        if (stacked) {
            positive.addSortedRun(run, [](double& y) { return y > 0; });
            // Zero counts with the negative values.
            negative.addSortedRun(run, [](double& y) { return y <= 0; });
        }
        absolute.addSortedRun(run, [](double& y) {
            y = std::fabs(y);
            return true;
        });
    }

    if (stacked && runningTotals) {
        runningTotalRange(drawn, absolute, stacking == KivoPlotterStackingStacked100, info._minY, info._maxY);
    } else if (stacking == KivoPlotterStackingStacked100) {
        info._minY = 0;
        info._maxY = 1.0;
        for (const auto& [at, sum] : absolute) {
            if (sum == 0) continue;
            info._maxY = std::max(info._maxY, positive.valueOr(at, 0) / sum);
            info._minY = std::min(info._minY, negative.valueOr(at, 0) / sum);
        }
    } else if (stacking == KivoPlotterStackingStacked) {
        for (const auto& [at, sum] : positive)
            if (sum > info._maxY) info._maxY = sum;
        for (const auto& [at, sum] : negative)
            if (sum < info._minY) info._minY = sum;
    }
    info._stackAbs = std::move(absolute);
    info._sumXs = std::move(pendingXs);
    info._sumYs = std::move(pendingYs);
    info._analysed = true;
}

void DataInfoInternals::writeSums(const KivoDataInfo& info) {
    if (!info._sumYs) return;
    const ColumnPtr xs = std::exchange(info._sumXs, nullptr), ys = std::exchange(info._sumYs, nullptr);
    auto& entries = info._stackAbs._entries;
    entries.clear();
    entries.reserve(ys->size());
    appendAbsolutes(entries, xs.get(), *ys);
}

}  // namespace kivo::detail

void KivoDataInfo::analyse(const plat::Array& series, std::int64_t stacking, const KivoValues& values) {
    // Handed lists have no change counter: their analysis is never kept.
    const kivo::detail::XListPtr list = values ? kivo::detail::XValueList::ofValues(values) : nullptr;
    kivo::detail::DataInfoInternals::run(*this, series, stacking, list, nullptr);
}

const KivoValues& KivoDataInfo::getXVals() const { return _xList ? _xList->values() : _noXList; }

const KivoDataInfo::StackDictionary& KivoDataInfo::getStackAbs() const {
    kivo::detail::DataInfoInternals::writeSums(*this);
    return _stackAbs;
}

double KivoDataInfo::getStackedAbsSum(double x) const {
    kivo::detail::DataInfoInternals::writeSums(*this);
    const double sum = _stackAbs.valueOr(x, 0);
    return isValid(sum) ? sum : 0.0;
}

bool KivoDataInfo::hasMore() const {
    // maxItems + origin < count, without wrapping round when there is no page limit.
    return _origin < _count && _maxItems < _count - _origin;
}

void KivoDataInfo::showMore() {
    if (!hasMore()) return;
    _origin += _maxItems;
    if (_origin + _maxItems > _count) _origin = _count - _maxItems;
}

void KivoDataInfo::showLess() {
    if (!hasLess()) return;
    _origin = _origin < _maxItems ? 0 : _origin - _maxItems;
}
