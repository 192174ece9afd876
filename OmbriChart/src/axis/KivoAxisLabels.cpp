// KivoAxis: choosing the step between labels when none is set, and producing each label's value and
// text on linear, logarithmic and date axes.

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "KivoCore/KivoTimeHelper.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/OmbriChart.h"

namespace {

constexpr double Ln10 = 2.302585092994046;
// Labels without a label unit fit this many along the axis.
constexpr double DefaultLabelCount = 10;
// No builder makes more labels than this in one call, whatever the unit: a drawing pass needs far fewer.
constexpr std::size_t MaxLabelCount = 100000;
// A pass builds labels at most this many times the number that fit along the axis.
constexpr double LabelsPerFit = 4;
// The longest calendar step of time labels, in months: far beyond any date range.
constexpr double MaxCalendarStepMonths = 1e9;
// Units of time labels, in days, from which labels step by calendar months or years.
constexpr double DaysPerMonthUnit = 30;
constexpr double DaysPerYearUnit = 365;
constexpr std::int64_t MonthsPerYear = 12;

}  // namespace

// ---- Texts ----

std::string KivoAxis::formatValue(double value) const {
    static const auto fallback = std::make_shared<KivoIOSValueFormatter>();
    const auto chart = _chart.lock();
    if (!chart) return {};
    const auto& formatter = chart->valueFormatter() ? chart->valueFormatter() : fallback;
    if (_isTimeAxis) return formatter->format(plat::Value(plat::Date(value)), _format, KivoDataTypeDate).value_or("");
    return formatter->format(plat::Value(value), _format, KivoDataTypeNumber).value_or("");
}

// ---- Major unit ----

double KivoAxis::_calcMajorUnit() const {
    if (!std::isnan(_majorUnit)) return _isTimeAxis ? _majorUnit * SecondsPerDay : _majorUnit;
    if (_isTimeAxis) return SecondsPerDay;  // as the time labels step when no unit is set
    const double range = actualRange();
    const double precision = _nicePrecision(range);
    const double d = range / _getAnnoNumber(_axisType == KivoAxisTypeY);
    double unit = _niceNumber(2 * d, -precision, true);
    if (d > unit) unit = _niceNumber(d, 1 - precision, false);
    if (d > unit) unit = _niceTickNumber(d);
    return unit;
}

double KivoAxis::_nicePrecision(double range) const {
    if (!(range > 0) || !std::isfinite(range)) return 0;
    const double e = std::trunc(std::log(range) / Ln10);
    if (range / std::pow(10.0, e) >= 3) return e;
    const double e2 = 1 - e;
    return range / std::pow(10.0, e2) < 3 ? e2 + 1 : e2;
}

double KivoAxis::_niceNumber(double value, double exponent, bool round) const {
    if (value == 0) return 0;
    const double b = std::pow(10.0, exponent);
    const double m = std::fabs(value) / b;
    if (round) {
        if (m < 1.5) return b;
        if (m < 3) return 2 * b;
        if (m < 4.5) return 4 * b;
        if (m < 7) return 5 * b;
        return 10 * b;
    }
    if (m <= 1) return b;
    if (m <= 2) return 2 * b;
    if (m <= 5) return 5 * b;
    return 10 * b;
}

double KivoAxis::_niceTickNumber(double value) const {
    if (value == 0) return 0;
    const double b = std::pow(10.0, std::floor(std::log(std::fabs(value)) / Ln10));
    const double m = std::fabs(value) / b;
    if (m <= 1) return b;
    if (m <= 2) return 2 * b;
    if (m <= 5) return 5 * b;
    return 10 * b;
}

double KivoAxis::_getAnnoNumber(bool vertical) const {
    const double label = _annoSize ? (vertical ? _annoSize->height() : _annoSize->width()) : 0;
    const double length = _axrect ? (vertical ? _axrect->height() : _axrect->width()) : 0;
    if (!(label > 0) || !(length > 0)) return DefaultLabelCount;
    const double n = std::floor(length / label);
    return n > 0 ? n : 1;
}

// ---- Label values ----

double KivoAxis::labelStep(double step, double range) const {
    const double count = range / step + 1;
    const double budget = LabelsPerFit * _getAnnoNumber(_axisType == KivoAxisTypeY);
    if (!(count > budget) || !std::isfinite(count)) return step;
    return step * _niceTickNumber(std::ceil(count / budget));
}

void KivoAxis::_createLabels(double start, std::size_t count, double delta, std::vector<double>& vals,
                             std::vector<std::string>& lbls) const {
    count = std::min(count, MaxLabelCount);
    for (std::size_t i = 0; i < count; ++i) {
        const double v = start + static_cast<double>(i) * delta;
        // A step too small to move a value this large would only repeat it.
        if (i > 0 && !(v > vals.back())) break;
        vals.push_back(v);
        lbls.push_back(formatValue(v));
    }
}

void KivoAxis::_createLogarithmicLabels(std::vector<double>& vals, std::vector<std::string>& lbls) const {
    if (!_logBase) return;
    const double base = *_logBase, lnBase = std::log(base);
    if (!std::isfinite(lnBase) || lnBase == 0) return;
    const double top = std::ceil(std::log(_actualMax) / lnBase);
    const double bottom = std::floor(std::log(_actualMin) / lnBase);
    if (!std::isfinite(top) || !std::isfinite(bottom)) return;
    // A base near 1 has a great many powers in the range: every stride-th of them, on multiples of the
    // stride, keeps the labels to what the axis can show.
    const double stride = labelStep(1, top - bottom);
    std::vector<double> values;
    std::vector<std::string> texts;
    for (double k = std::floor(top / stride) * stride; k >= bottom && values.size() < MaxLabelCount; k -= stride) {
        const double v = std::pow(base, k);
        // An exponent (or a power) that a step no longer moves ends the labels.
        if (k - stride == k || (!values.empty() && !(v < values.back()))) break;
        if (v < _actualMin || v > _actualMax) continue;
        values.push_back(v);
        texts.push_back(formatValue(v));
    }
    // Each power goes in front of the ones above it, so the lists end ascending.
    vals.insert(vals.begin(), values.rbegin(), values.rend());
    lbls.insert(lbls.begin(), texts.rbegin(), texts.rend());
}

void KivoAxis::_createTimeLabels(double, std::size_t, std::vector<double>& vals, std::vector<std::string>& lbls) const {
    if (!std::isfinite(_actualMin) || !std::isfinite(_actualMax)) return;
    // No unit, or one that would never step forward: a day; more than the axis can show: a multiple.
    const double unit = _majorUnit > 0 && std::isfinite(_majorUnit) ? _majorUnit : 1.0;
    const double days = labelStep(unit * SecondsPerDay, actualRange()) / SecondsPerDay;
    if (days < DaysPerMonthUnit) {
        const double step = days * SecondsPerDay;
        for (double v = _actualMin; v <= _actualMax && vals.size() < MaxLabelCount; v += step) {
            appendTimeLabel(v, vals, lbls);
            if (v + step == v) break;  // a step too small to move the date
        }
        return;
    }

    // Long units step by whole calendar months or years, from the first 1st of a month (1 January)
    // not before actualMin.
    const bool years = days >= DaysPerYearUnit;
    // Whole years (months) of the unit, at least one, and never more than a calendar holds.
    const double months = years ? MonthsPerYear * std::floor(days / DaysPerYearUnit) : std::floor(days / DaysPerMonthUnit);
    const auto stepMonths = static_cast<std::int64_t>(std::clamp(months, 1.0, MaxCalendarStepMonths));
    const KivoTimeHelper first(plat::Date{_actualMin});
    if (first.month() == 0) return;  // beyond the calendar
    // Months counted from year 0; the 1st of a month at midnight in the current time zone.
    auto firstOfMonth = [&first](std::int64_t month) {
        KivoTimeHelper date = first;
        date.setYear(month / MonthsPerYear);
        date.setMonth(month % MonthsPerYear + 1);
        date.setDay(1);
        date.setHour(0);
        date.setMinute(0);
        date.setSecond(0);
        return date.getTimeAsDateTime().seconds;
    };
    std::int64_t month = first.year() * MonthsPerYear + (years ? 0 : first.month() - 1);
    if (firstOfMonth(month) < _actualMin) month += years ? MonthsPerYear : 1;
    for (; vals.size() < MaxLabelCount; month += stepMonths) {
        const double v = firstOfMonth(month);
        if (!(v <= _actualMax)) break;
        appendTimeLabel(v, vals, lbls);
    }
}

void KivoAxis::appendTimeLabel(double value, std::vector<double>& vals, std::vector<std::string>& lbls) const {
    vals.push_back(value);
    lbls.push_back(formatValue(value));
}
