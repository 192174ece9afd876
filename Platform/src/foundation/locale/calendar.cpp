#include "Platform/foundation/locale/calendar.h"

#include <unicode/gregocal.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "foundation/locale/icu_bridge.h"

namespace plat {

struct Calendar::Impl {
    std::mutex mutex;
    std::unique_ptr<icu::GregorianCalendar> icu;
};

namespace {

// The calendar's range: about 980,000 years either side of 1970. ICU counts days in 32 bits, so
// fields are bounded before they reach it (a million years of months or days still fits).
constexpr double MaxSeconds = 3.1e13;
constexpr std::int64_t MaxYear = 1'000'000, MaxMonths = 12 * MaxYear, MaxFieldMagnitude = 1'000'000'000;

bool fieldsInRange(const DateComponents& c) {
    auto within = [](std::int64_t v, std::int64_t bound) { return v >= -bound && v <= bound; };
    return within(c.year, MaxYear) && within(c.month, MaxMonths) && within(c.day, MaxFieldMagnitude) &&
           within(c.hour, MaxFieldMagnitude) && within(c.minute, MaxFieldMagnitude) && within(c.second, MaxFieldMagnitude);
}

}  // namespace

Calendar::Calendar(TimeZone zone) : _zone(std::move(zone)), _impl(std::make_shared<Impl>()) {
    UErrorCode status = U_ZERO_ERROR;
    _impl->icu = std::make_unique<icu::GregorianCalendar>(*_zone.impl().icu, icu::Locale::getRoot(), status);
    // Proleptic: the Gregorian rules apply before 1582 too, as ISO 8601 has it.
    _impl->icu->setGregorianChange(-std::numeric_limits<double>::max(), status);
    _impl->icu->setLenient(true);
}

Calendar Calendar::current() { return Calendar(TimeZone::current()); }

std::optional<DateComponents> Calendar::components(Date date) const {
    // ICU clamps times beyond its range instead of failing: refuse them here.
    if (!std::isfinite(date.seconds) || std::fabs(date.seconds) > MaxSeconds) return std::nullopt;
    std::lock_guard lock(_impl->mutex);
    auto& cal = *_impl->icu;
    UErrorCode status = U_ZERO_ERROR;
    double ms = std::floor(date.seconds * 1000.0);
    cal.setTime(ms, status);
    DateComponents c;
    c.year = cal.get(UCAL_EXTENDED_YEAR, status);
    c.month = cal.get(UCAL_MONTH, status) + 1;
    c.day = cal.get(UCAL_DATE, status);
    c.hour = cal.get(UCAL_HOUR_OF_DAY, status);
    c.minute = cal.get(UCAL_MINUTE, status);
    c.second = cal.get(UCAL_SECOND, status);
    c.weekday = cal.get(UCAL_DAY_OF_WEEK, status);
    if (U_FAILURE(status)) return std::nullopt;
    double whole = std::floor(date.seconds);
    c.nanosecond = std::round((date.seconds - whole) * 1e9);
    return c;
}

std::optional<Date> Calendar::dateFromComponents(const DateComponents& c) const {
    if (!std::isfinite(c.nanosecond) || !fieldsInRange(c)) return std::nullopt;
    std::lock_guard lock(_impl->mutex);
    auto& cal = *_impl->icu;
    cal.clear();
    cal.set(UCAL_EXTENDED_YEAR, static_cast<int32_t>(c.year));
    cal.set(UCAL_MONTH, static_cast<int32_t>(c.month - 1));
    cal.set(UCAL_DATE, static_cast<int32_t>(c.day));
    cal.set(UCAL_HOUR_OF_DAY, static_cast<int32_t>(c.hour));
    cal.set(UCAL_MINUTE, static_cast<int32_t>(c.minute));
    cal.set(UCAL_SECOND, static_cast<int32_t>(c.second));
    UErrorCode status = U_ZERO_ERROR;
    UDate ms = cal.getTime(status);
    if (U_FAILURE(status) || std::fabs(ms / 1000.0) > MaxSeconds) return std::nullopt;
    return Date(ms / 1000.0 + c.nanosecond / 1e9);
}

int Calendar::daysInMonth(std::int64_t year, std::int64_t month) {
    static constexpr int DaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : DaysInMonth[month - 1];
}

}  // namespace plat
