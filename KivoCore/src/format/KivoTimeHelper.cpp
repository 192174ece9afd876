#include "KivoCore/KivoTimeHelper.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "Platform/foundation/locale/calendar.h"

namespace {

constexpr double SecondsPerMinute = 60, SecondsPerHour = 3600, SecondsPerDay = 86400;
constexpr double SecondsPerMonth = 2678400;       // a month counted as 31 days
constexpr double SecondsPerYear = 31536000;       // a year counted as 365 days
constexpr double SecondsPerCentury = 3153600000;  // 100 such years
constexpr std::int64_t DaysPerMonthUnit = 31, DaysPerYearUnit = 365;
constexpr int MaxFractionDigits = 6;
constexpr std::int64_t HoursPerDay = 24;
// Years whose day counts, plus any number of carried days (an hour count / 24), stay far inside 64 bits.
constexpr std::int64_t MaxCarryYear = 1'000'000'000'000;

// A proleptic Gregorian date and its count of days since 1 January 1970, both ways.
struct CivilDate {
    std::int64_t year, month, day;
};

std::int64_t daysFromCivil(CivilDate d) {
    const std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, dayOfYear - (153 * mp + 2) / 5 + 1};
}

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
        {SecondsPerMinute, {"1", "2", "5", "10", "15", "30"}, 1},
        {SecondsPerHour, {"1", "2", "5", "10", "15", "30"}, SecondsPerMinute},
        {SecondsPerDay, {"1", "3", "6", "12"}, SecondsPerHour},
        {SecondsPerMonth, {"1", "2", "7", "14"}, SecondsPerDay},
        {SecondsPerYear, {"1", "2", "3", "4", "6"}, SecondsPerMonth},
        {SecondsPerCentury, {"1", "2", "5", "10", "20", "50"}, SecondsPerYear},
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
    std::int64_t e = std::max<std::int64_t>(fractionUnit, -MaxFractionDigits);
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
        _isDate = true;
    }
}

plat::Date KivoTimeHelper::getTimeAsDateTime() {
    if (!_isDate) return plat::Date(std::numeric_limits<double>::quiet_NaN());
    _month = std::clamp<std::int64_t>(_month, 1, 12);
    _day = std::clamp<std::int64_t>(_day, 1, plat::Calendar::daysInMonth(_year, _month));
    if (_hour >= HoursPerDay) {
        // Whole days carry, across month and year ends. Beyond the reach of day counts the calendar
        // cannot hold the year anyway.
        const std::int64_t days = _hour / HoursPerDay;
        _hour %= HoursPerDay;
        if (_year >= -MaxCarryYear && _year <= MaxCarryYear) {
            const CivilDate d = civilFromDays(daysFromCivil({_year, _month, _day}) + days);
            _year = d.year, _month = d.month, _day = d.day;
        }
    }
    _hour = std::clamp<std::int64_t>(_hour, 0, HoursPerDay - 1);
    _minute = std::clamp<std::int64_t>(_minute, 0, 59);
    _second = std::clamp<std::int64_t>(_second, 0, 59);
    auto date = calendarFor(_zone).dateFromComponents({_year, _month, _day, _hour, _minute, _second});
    return date ? *date : plat::Date(std::numeric_limits<double>::quiet_NaN());
}

double KivoTimeHelper::getTimeAsDouble() { return getTimeAsDateTime().seconds / SecondsPerDay; }

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
    KivoTimeHelper h(plat::Date(t * SecondsPerDay));
    if (!h._isDate) return t;  // beyond the calendar
    h._second = h._minute = h._hour = 0;
    if (unit <= DaysPerMonthUnit) {
        h._day = tround(h._day, unit, roundup);
    } else if (unit < DaysPerYearUnit) {
        h._day = 1;
        if (h._month != 1) h._month = tround(h._month, unit / DaysPerMonthUnit, roundup);
    } else {
        h._day = 1;
        h._month = 1;
        h._year = tround(h._year, unit / DaysPerYearUnit, roundup);
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
    return -std::min<std::int64_t>(count, MaxFractionDigits);
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
        // The first stage counts in the format's own unit. A fractional format's code (-n for n
        // digits) is no unit: from 10 s up it counts whole seconds like no format (12 s gives 15 s),
        // rather than skipping every seconds candidate and jumping to a minute.
        double unit = i == start ? std::max(md, 1.0) : table[i].unit;
        double inc = getNiceInc(table[i].candidates, s, unit);
        if (inc > 0) return KivoTimeSpan::fromSeconds(inc);
    }
    return KivoTimeSpan::fromSeconds(SecondsPerCentury);
}
