#include "KivoCore/KivoTimeHelper.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "Platform/foundation/locale/calendar.h"

namespace {

constexpr double kMinute = 60, kHour = 3600, kDay = 86400;
constexpr double kMonth = 2678400;       // a month counted as 31 days
constexpr double kYear = 31536000;       // a year counted as 365 days
constexpr double kCentury = 3153600000;  // 100 such years
constexpr std::int64_t kDaysPerMonthUnit = 31, kDaysPerYearUnit = 365;
constexpr int kMaxFractionDigits = 6;

// Calendars are costly to make; a time axis asks for thousands of dates in one zone.
const plat::Calendar& calendarFor(const plat::TimeZone& zone) {
    thread_local std::optional<plat::Calendar> last;
    if (!last || !(last->timeZone() == zone)) last.emplace(zone);
    return *last;
}

struct Stage {
    double limit;  // the stage runs while the span is below this
    std::vector<std::string> candidates;
    double unit;
};

const std::array<Stage, 6>& stages() {
    static const std::array<Stage, 6> table{{
        {kMinute, {"1", "2", "5", "10", "15", "30"}, 1},
        {kHour, {"1", "2", "5", "10", "15", "30"}, kMinute},
        {kDay, {"1", "3", "6", "12"}, kHour},
        {kMonth, {"1", "2", "7", "14"}, kDay},
        {kYear, {"1", "2", "3", "4", "6"}, kMonth},
        {kCentury, {"1", "2", "5", "10", "20", "50"}, kYear},
    }};
    return table;
}

double scaledPowerOfTen(double mult, std::int64_t e) {
    // Dividing by an exact power keeps 0.001 and friends correctly rounded.
    return e >= 0 ? mult * std::pow(10.0, static_cast<double>(e)) : mult / std::pow(10.0, static_cast<double>(-e));
}

double powerOfTen(std::int64_t e) { return scaledPowerOfTen(1.0, e); }

// Increments below a second: from the fraction the format shows, by decades up to the span, then
// the first of 1, 2 and 5 times that decade (or ten times it) that reaches the span.
double subSecondIncrement(std::int64_t fractionUnit, double span) {
    std::int64_t e = std::max<std::int64_t>(fractionUnit, -kMaxFractionDigits);
    while (powerOfTen(e + 1) < span) ++e;
    for (double mult : {1.0, 2.0, 5.0})
        if (scaledPowerOfTen(mult, e) >= span) return scaledPowerOfTen(mult, e);
    return powerOfTen(e + 1);
}

}  // namespace

KivoTimeHelper::KivoTimeHelper(plat::Date date, plat::TimeZone zone) : _zone(std::move(zone)) {
    if (auto c = calendarFor(_zone).components(date)) {
        _year = c->year;
        _month = c->month;
        _day = c->day;
        _hour = c->hour;
        _minute = c->minute;
        _second = c->second;
    }
}

plat::Date KivoTimeHelper::getTimeAsDateTime() {
    if (_hour >= 24) {
        _hour -= 24;
        _day += 1;
        std::int64_t month = std::clamp<std::int64_t>(_month, 1, 12);
        if (_day > plat::Calendar::daysInMonth(_year, month)) {
            _day = 1;
            _month = month + 1;
            if (_month > 12) _month = 1, _year += 1;
        }
    }
    _month = std::clamp<std::int64_t>(_month, 1, 12);
    _day = std::clamp<std::int64_t>(_day, 1, plat::Calendar::daysInMonth(_year, _month));
    _hour = std::clamp<std::int64_t>(_hour, 0, 23);
    _minute = std::clamp<std::int64_t>(_minute, 0, 59);
    _second = std::clamp<std::int64_t>(_second, 0, 59);
    auto date = calendarFor(_zone).dateFromComponents({_year, _month, _day, _hour, _minute, _second});
    return date ? *date : plat::Date(std::numeric_limits<double>::quiet_NaN());
}

double KivoTimeHelper::getTimeAsDouble() { return getTimeAsDateTime().seconds / kDay; }

std::int64_t KivoTimeHelper::tround(std::int64_t value, std::int64_t unit, bool roundup) {
    if (unit == 0) return value;
    std::int64_t r = unit == -1 ? 0 : value % unit;
    std::int64_t result = value - r;
    if (r != 0 && roundup) {
        std::int64_t up;
        if (__builtin_add_overflow(result, unit, &up)) return result;
        result = up;
    }
    return result;
}

double KivoTimeHelper::roundTime(double t, std::int64_t unit, bool roundup) {
    if (unit < 1 || !std::isfinite(t)) return t;
    KivoTimeHelper h(plat::Date(t * kDay));
    if (h._month == 0) return t;  // beyond the calendar
    h._second = h._minute = h._hour = 0;
    if (unit <= kDaysPerMonthUnit) {
        h._day = tround(h._day, unit, roundup);
    } else if (unit < kDaysPerYearUnit) {
        h._day = 1;
        if (h._month != 1) h._month = tround(h._month, unit / kDaysPerMonthUnit, roundup);
    } else {
        h._day = 1;
        h._month = 1;
        h._year = tround(h._year, unit / kDaysPerYearUnit, roundup);
    }
    return h.getTimeAsDouble();
}

std::shared_ptr<KivoTimeSpan> KivoTimeHelper::timeSpanFromTmInc(std::int64_t seconds) {
    return KivoTimeSpan::fromSeconds(static_cast<double>(seconds));
}

std::int64_t KivoTimeHelper::manualTimeInc(std::string_view format) {
    if (format.empty()) return 1;
    size_t f = format.find('f');
    if (f == std::string_view::npos) {
        struct Unit {
            char letter;
            std::int64_t seconds;
        };
        for (auto [letter, seconds] : {Unit{'s', 1}, Unit{'m', 60}, Unit{'h', 3600}, Unit{'H', 3600}, Unit{'d', 86400},
                                       Unit{'M', 2678400}, Unit{'y', 31536000}})
            if (format.find(letter) != std::string_view::npos) return seconds;
        return 1;
    }
    if (f > 0 && format[f - 1] == '%') return -1;
    std::int64_t count = 0;
    while (f + static_cast<size_t>(count) < format.size() && format[f + static_cast<size_t>(count)] == 'f') ++count;
    return -std::min<std::int64_t>(count, kMaxFractionDigits);
}

double KivoTimeHelper::getNiceInc(const std::vector<std::string>& tsinc, double ts, double mult) {
    for (const std::string& entry : tsinc) {
        std::string_view s(entry);
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        double v = 0;
        std::from_chars(s.data(), s.data() + s.size(), v);  // a text that is no number counts 0
        if (v * mult >= ts) return v * mult;
    }
    return 0;
}

std::shared_ptr<KivoTimeSpan> KivoTimeHelper::niceTimeSpan(const std::shared_ptr<KivoTimeSpan>& ts,
                                                           std::string_view manualformat) {
    const double s = ts ? ts->totalSeconds() : 0;
    const std::int64_t m = manualformat.empty() ? 1 : manualTimeInc(manualformat);
    if (m < 1 && s < 10) return KivoTimeSpan::fromSeconds(subSecondIncrement(m, s));
    if (s == 0) return KivoTimeSpan::fromSeconds(static_cast<double>(m));

    const auto& table = stages();
    const auto md = static_cast<double>(m);
    size_t start = 0;
    while (start + 1 < table.size() && md >= table[start].limit) ++start;
    for (size_t i = start; i < table.size(); ++i) {
        if (!(s < table[i].limit)) continue;
        // The first stage counts in the format's own unit; a fractional one counts in whole seconds.
        double unit = i == start ? std::max(md, 1.0) : table[i].unit;
        double inc = getNiceInc(table[i].candidates, s, unit);
        if (inc > 0) return KivoTimeSpan::fromSeconds(inc);
    }
    return KivoTimeSpan::fromSeconds(kCentury);
}
