#include "OmbriChart/KivoDataInfo.h"

#include <algorithm>

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
    const std::uint64_t size = xs.size();
    for (std::uint64_t i = _origin; i < size && i <= getEnd(); ++i) {
        const plat::Value& item = xs[i];
        if (!item.isNumber()) continue;
        const double x = item.asDouble();
        if (!isValid(x)) continue;
        widen(_minX, _maxX, x);
        if (i == 0 || !xs[i - 1].isNumber()) continue;
        // Equal neighbours (a repeated X) and gaps to a value that is not finite set no step.
        const double d = std::fabs(x - xs[i - 1].asDouble());
        if (d > 0 && isValid(d) && (_deltaX == 0 || _deltaX > d)) _deltaX = d;
    }
}

void KivoDataInfo::analyse(const plat::Array& series, std::int64_t stacking, const plat::ArrayPtr& values) {
    _minX = _maxX = _minY = _maxY = NaN;
    _deltaX = 0;
    _dataTypeX = _dataTypeY = 0;
    _xvals = values;

    std::vector<std::shared_ptr<KivoSeries>> drawn;
    for (const auto& entry : series)
        if (auto s = entry.as<KivoSeries>(); s && s->isDrawn()) drawn.push_back(std::move(s));

    if (values && !drawn.empty()) {
        _count = values->size();
        scanX(*values);
    }

    const bool stacked = stacking == KivoPlotterStackingStacked || stacking == KivoPlotterStackingStacked100;
    StackDictionary positive, negative, absolute;
    KivoNumberDictionary::Run run;
    for (const auto& s : drawn) {
        const plat::ArrayPtr xs = s->getValues(1);
        if (xs) {
            _count = xs->size();
            if (_dataTypeX == 0) _dataTypeX = s->getDataType(1);
            scanX(*xs);
        }
        const plat::ArrayPtr ys = s->getValues(0);
        if (!ys || ys->empty()) continue;
        // Without X values anywhere the items are the Y values: the window ends at the last of them.
        if (!xs && !values) _count = ys->size();
        if (_dataTypeY == 0) _dataTypeY = s->getDataType(0);
        // A series without X values spans the category indices 0 … n − 1.
        const double last = static_cast<double>(ys->size() - 1);
        if (std::isnan(_minX)) _minX = 0;
        if (std::isnan(_maxX))
            _maxX = last;
        else if (!xs)
            _maxX = std::max(_maxX, last);

        // The series' drawable values by key, summed into the dictionaries in one merge each.
        run.clear();
        run.reserve(ys->size());
        for (std::size_t k = 0; k < ys->size(); ++k) {
            const plat::Value& item = (*ys)[k];
            if (!item.isNumber()) continue;
            const double y = item.asDouble();
            if (!isValid(y)) continue;
            double key = static_cast<double>(k);
            if (xs && k < xs->size() && (*xs)[k].isNumber() && !std::isnan((*xs)[k].asDouble())) key = (*xs)[k].asDouble();
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
