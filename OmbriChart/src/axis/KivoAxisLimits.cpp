// KivoAxis: the actual limits of each drawing pass and the conversion between values and pixels.

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/OmbriChart.h"
#include "axis/AxisInternals.h"

namespace {

// Finance charts keep half a category, or a day on a time axis, free beside the first and last item.
constexpr double FinanceCategoryPadding = 0.5;

bool isFinanceType(std::int64_t type) { return type == OmbriChartTypeCandlestick || type == OmbriChartTypeHighLowOpenClose; }

// (value − min) / (max − min), also where the difference of the limits overflows: halved, the
// differences of finite values cannot.
double linearFraction(double value, double max, double min) {
    const double range = max - min;
    if (std::isfinite(range) || !std::isfinite(max) || !std::isfinite(min)) return (value - min) / range;
    return (value / 2 - min / 2) / (max / 2 - min / 2);
}

}  // namespace

// ---- Limits ----

const plat::ArrayPtr& KivoAxis::dataIndexTimeVals() const { return _indexValues ? _indexValues->boxed() : _dataIndexTimeVals; }

void KivoAxis::setDataIndexTimeVals(plat::ArrayPtr values) {
    _dataIndexTimeVals = std::move(values);
    _indexValues.reset();
}

namespace kivo::detail {

void AxisInternals::updateLimits(KivoAxis& axis, std::int64_t dataType, double dataMin, double dataMax,
                                 const std::vector<std::string>& labels, XListPtr values) {
    axis.updateActualLimits(dataType, dataMin, dataMax, labels, nullptr);
    axis._indexValues = std::move(values);
}

bool AxisInternals::indexValue(const KivoAxis& axis, std::size_t index, double& value) {
    if (axis._indexValues) {
        if (index >= axis._indexValues->size()) return false;
        value = axis._indexValues->column()->values[index];
        return true;
    }
    const auto& values = axis._dataIndexTimeVals;
    if (!values || index >= values->size()) return false;
    value = (*values)[index].asDouble();
    return true;
}

}  // namespace kivo::detail

void KivoAxis::updateActualLimits(std::int64_t dataType, double dataMin, double dataMax, const std::vector<std::string>& labels,
                                  plat::ArrayPtr values) {
    _dataIndexTimeVals = std::move(values);
    _indexValues.reset();
    _isTimeAxis = dataType == KivoDataTypeDate;
    widenForFinance(dataType, dataMin, dataMax);
    _actualDataMin = finite(dataMin);
    _actualDataMax = finite(dataMax);

    const double min = objectToDouble(_min), max = objectToDouble(_max);
    _actualMin = std::isnan(min) ? _actualDataMin : min;
    _actualMax = std::isnan(max) ? _actualDataMax : max;
    roundToLogBase();
    if (_actualMin > _actualMax) _actualMax = _actualMin + 1.0;

    if (_isTimeAxis) convertDisplayedRangeFromUnits();
    if (hasDataLimits()) {
        if (_scale < 1) {
            _displayedRange = _scale * dataRange();
            _displayedRangeFromApplication = false;
            _actualMax = finite(_actualMin + _displayedRange);
            if (_scrollDataValue != 0) applyScale(_scale, _scrollDataValue, _axisScrollPos);
            applyScale(_scale, _scrollPosition);
        } else if (_displayedRange > 0 && dataRange() != 0) {
            // Not clamped: the next pass zooms when it is below 1.
            _scale = _displayedRange / dataRange();
        }
    }
    _labels = labels;
}

void KivoAxis::widenForFinance(std::int64_t dataType, double& dataMin, double& dataMax) const {
    const auto chart = _chart.lock();
    if (!chart || !isFinanceType(chart->chartType())) return;
    double padding = 0;
    if (dataType == KivoDataTypeDate)
        padding = SecondsPerDay;
    else if (_axisType == KivoAxisTypeX)
        padding = FinanceCategoryPadding;
    dataMin -= padding;
    dataMax += padding;
}

void KivoAxis::roundToLogBase() {
    // A base that has no logarithm (0 or below, 1, NaN) leaves the limits as they are.
    if (!_logBase) return;
    const double lnBase = std::log(*_logBase);
    if (!std::isfinite(lnBase) || lnBase == 0) return;
    if (std::isnan(_actualMin) || std::isnan(_actualMax)) return;
    _actualMax = finite(std::pow(*_logBase, std::ceil(std::log(_actualMax) / lnBase)));
    _actualMin = finite(std::pow(*_logBase, std::floor(std::log(_actualMin) / lnBase)));
    // Data at or below 0 has no logarithm: the axis starts at 1, and spans one power when nothing is
    // above 0.
    if (!(_actualMin > 0)) _actualMin = 1.0;
    if (!(_actualMax > 0)) _actualMax = _actualMin * *_logBase;
}

void KivoAxis::convertDisplayedRangeFromUnits() {
    // Only a range the application gave, and only once: a range the axis wrote (by a zoom) is in
    // seconds already, however short.
    if (!_displayedRangeFromApplication) return;
    _displayedRangeFromApplication = false;
    const double unit = (std::isnan(_majorUnit) ? 1.0 : _majorUnit) * SecondsPerDay;
    if (!(unit > _displayedRange)) return;
    _displayedRange *= unit;
    // The share the window takes follows the range in seconds, so the zoom below uses it.
    if (hasDataLimits() && dataRange() != 0) _scale = std::clamp(_displayedRange / dataRange(), 0.0, 1.0);
}

bool KivoAxis::hasDataLimits() const { return !std::isnan(_actualDataMin) && !std::isnan(_actualDataMax); }

// ---- Conversion ----

double KivoAxis::convert(double value) const { return convert(value, _actualMax, _actualMin); }

double KivoAxis::convert(double value, double max) const { return convert(value, max, _actualMin); }

double KivoAxis::convert(double value, double max, double min) const {
    if (max == min) return 0;
    double fraction;
    if (_logBase) {
        const double v = value == 0 ? min : value;
        fraction = std::log(v / min) / std::log(max / min);
    } else {
        fraction = linearFraction(value, max, min);
    }
    return fractionToPixel(fraction);
}

std::optional<KivoAxis::LinearConversion> KivoAxis::linearConversion() const {
    if (_logBase || typeid(*this) != typeid(KivoAxis)) return std::nullopt;
    // As convert and fractionToPixel compute it, with the sums that do not depend on the value done
    // once: they come out the same every time.
    LinearConversion c;
    c.min = _actualMin;
    c.range = _actualMax - _actualMin;
    if (!std::isfinite(c.range) && std::isfinite(_actualMax) && std::isfinite(_actualMin)) {
        c.halved = true;
        c.min = _actualMin / 2;
        c.range = _actualMax / 2 - _actualMin / 2;
    }
    c.degenerate = _actualMax == _actualMin;
    const KivoRect r = _axrect ? *_axrect : KivoRect();
    if (_axisType == KivoAxisTypeY) {
        c.base = _reversed ? r.top() : r.top() + r.height();
        c.length = r.height();
        c.fromBase = _reversed;
    } else {
        c.base = _reversed ? r.left() + r.width() : r.left();
        c.length = r.width();
        c.fromBase = !_reversed;
    }
    return c;
}

double KivoAxis::convertBack(double pixel) const {
    const double lo = _actualMin, hi = _actualMax;
    if (hi == lo) return 0;
    const double fraction = pixelToFraction(pixel);
    if (_logBase) return std::exp(std::log(lo) + fraction * (std::log(hi) - std::log(lo)));
    if (!std::isfinite(hi - lo)) return finite(lo * (1 - fraction) + hi * fraction);
    return lo + fraction * (hi - lo);
}

double KivoAxis::fractionToPixel(double f) const {
    const KivoRect r = _axrect ? *_axrect : KivoRect();
    if (_axisType == KivoAxisTypeY) return _reversed ? r.top() + f * r.height() : r.top() + r.height() - f * r.height();
    return _reversed ? r.left() + r.width() - f * r.width() : r.left() + f * r.width();
}

double KivoAxis::pixelToFraction(double p) const {
    const KivoRect r = _axrect ? *_axrect : KivoRect();
    if (_axisType == KivoAxisTypeY) return _reversed ? (p - r.top()) / r.height() : 1 - (p - r.top()) / r.height();
    return _reversed ? 1 - (p - r.left()) / r.width() : (p - r.left()) / r.width();
}
