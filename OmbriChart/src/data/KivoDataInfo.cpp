#include "OmbriChart/KivoDataInfo.h"

#include <algorithm>
#include <utility>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChartEnums.h"

namespace {

// The extremes take a value when they have none yet (NaN) or it lies beyond them.
void widen(double& lo, double& hi, double v) {
    if (std::isnan(lo) || lo > v) lo = v;
    if (std::isnan(hi) || hi < v) hi = v;
}

}  // namespace

void KivoDataInfo::scanX(const plat::Array& xs) {
    const std::uint64_t size = xs.size(), end = getEnd();
    // Each value is read once: the one before carries over as the left neighbour.
    bool leftIsNumber = _origin > 0 && _origin < size && xs[_origin - 1].isNumber();
    double left = leftIsNumber ? xs[_origin - 1].asDouble() : 0;
    for (std::uint64_t i = _origin; i < size && i <= end; ++i) {
        const plat::Value& item = xs[i];
        const bool isNumber = item.isNumber();
        const double x = isNumber ? item.asDouble() : 0;
        const bool hasLeft = std::exchange(leftIsNumber, isNumber);
        const double before = std::exchange(left, x);
        if (!isNumber || !isValid(x)) continue;
        widen(_minX, _maxX, x);
        if (!hasLeft) continue;
        // Equal neighbours (a repeated X) and gaps to a value that is not finite set no step.
        const double d = std::fabs(x - before);
        if (d > 0 && isValid(d) && (_deltaX == 0 || _deltaX > d)) _deltaX = d;
    }
}

bool KivoDataInfo::sameInputs(const Inputs& a, const Inputs& b) {
    const auto same = [](const auto& p, const auto& q) { return !p.owner_before(q) && !q.owner_before(p); };
    if (a.series.size() != b.series.size() || !same(a.values, b.values) || a.valuesSize != b.valuesSize ||
        a.stacking != b.stacking || a.origin != b.origin || a.maxItems != b.maxItems)
        return false;
    for (std::size_t i = 0; i < a.series.size(); ++i) {
        const auto &p = a.series[i], &q = b.series[i];
        if (!same(p.series, q.series) || !same(p.xs, q.xs) || !same(p.ys, q.ys) || p.xsSize != q.xsSize || p.ysSize != q.ysSize ||
            p.typeX != q.typeX || p.typeY != q.typeY)
            return false;
    }
    return true;
}

void KivoDataInfo::analyse(const plat::Array& series, std::int64_t stacking, const plat::ArrayPtr& values) {
    struct Drawn {
        std::shared_ptr<KivoSeries> series;
        plat::ArrayPtr xs, ys;
    };
    std::vector<Drawn> drawn;
    Inputs inputs{{}, values, values ? values->size() : 0, stacking, _origin, _maxItems};
    for (const auto& entry : series) {
        auto s = entry.as<KivoSeries>();
        if (!s || !s->isDrawn()) continue;
        // Each series' X values are read before its Y values.
        plat::ArrayPtr xs = s->getValues(1);
        const std::int64_t typeX = s->getDataType(1);
        plat::ArrayPtr ys = s->getValues(0);
        inputs.series.push_back({s, xs, ys, xs ? xs->size() : 0, ys ? ys->size() : 0, typeX, s->getDataType(0)});
        drawn.push_back({std::move(s), std::move(xs), std::move(ys)});
    }
    const bool reuse = std::exchange(_reuseNext, false) && _analysed && sameInputs(inputs, _inputs);
    _inputs = std::move(inputs);
    if (reuse) return;

    _minX = _maxX = _minY = _maxY = NaN;
    _deltaX = 0;
    _dataTypeX = _dataTypeY = 0;
    _xvals = values;

    if (values && !drawn.empty()) {
        _count = values->size();
        scanX(*values);
    }

    const bool stacked = stacking == KivoPlotterStackingStacked || stacking == KivoPlotterStackingStacked100;
    StackDictionary positive, negative;
    // The last analysis' sums give their memory to this one's.
    StackDictionary absolute = std::move(_stackAbs);
    absolute.clear();
    KivoNumberDictionary::Run& run = _run;
    for (const auto& [s, xs, ys] : drawn) {
        if (xs) {
            _count = xs->size();
            if (_dataTypeX == 0) _dataTypeX = s->getDataType(1);
            scanX(*xs);
        }
        // A missing list adds nothing; an empty one still spans its (no) indices and names its type.
        if (!ys) continue;
        // Without X values anywhere the items are the Y values: the window ends at the last of them.
        if (!xs && !values) _count = ys->size();
        if (_dataTypeY == 0) _dataTypeY = s->getDataType(0);
        // Without X values a series is laid out on category positions 0 to n − 1.
        const double last = static_cast<double>(ys->size()) - 1;
        if (std::isnan(_minX)) _minX = 0;
        if (std::isnan(_maxX))
            _maxX = last;
        else if (!xs)
            _maxX = std::max(_maxX, last);

        // The series' drawable values by key, summed into the dictionaries in one merge each.
        run.clear();
        run.reserve(ys->size());
        // A value that is no number reads as NaN, and is passed over as one.
        const std::size_t keyed = xs ? xs->size() : 0;
        for (std::size_t k = 0; k < ys->size(); ++k) {
            const double y = (*ys)[k].asDouble();
            if (!isValid(y)) continue;
            double key = static_cast<double>(k);
            if (k < keyed) {
                const double x = (*xs)[k].asDouble();
                if (!std::isnan(x)) key = x;
            }
            widen(_minY, _maxY, y);
            run.emplace_back(key, y);
        }
        KivoNumberDictionary::sortByKey(run);
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

    if (stacking == KivoPlotterStackingStacked100) {
        _minY = 0;
        _maxY = 1.0;
        for (const auto& [key, sum] : absolute) {
            if (sum == 0) continue;
            _maxY = std::max(_maxY, positive.valueOr(key, 0) / sum);
            _minY = std::min(_minY, negative.valueOr(key, 0) / sum);
        }
    } else if (stacking == KivoPlotterStackingStacked) {
        for (const auto& [key, sum] : positive)
            if (sum > _maxY) _maxY = sum;
        for (const auto& [key, sum] : negative)
            if (sum < _minY) _minY = sum;
    }
    _stackAbs = std::move(absolute);
    _analysed = true;
}

double KivoDataInfo::getStackedAbsSum(double x) const {
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
