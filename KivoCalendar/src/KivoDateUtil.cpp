#include "KivoCalendar/KivoDateUtil.h"

#include <algorithm>
#include <tuple>

#include "Platform/foundation/process_cache.h"

namespace {

// The one calendar of every date utility in the process. Tests start without the one an earlier test
// (or the calendar control it made) set.
std::shared_ptr<KivoCalendarSystem>& sharedCalendar() {
    static std::shared_ptr<KivoCalendarSystem> calendar;
    [[maybe_unused]] static const bool resettable = (plat::addProcessStateReset([] { calendar.reset(); }), true);
    return calendar;
}

constexpr std::int64_t MonthsPerYear = 12;
// Amounts past these cannot give a date the calendar can hold (about a million years either way);
// refusing them up front also keeps the field arithmetic from overflowing.
constexpr std::int64_t MaxYearAmount = 2'000'000;
constexpr std::int64_t MaxMonthAmount = MaxYearAmount * MonthsPerYear;
constexpr std::int64_t MaxDayAmount = 800'000'000;

bool within(std::int64_t amount, std::int64_t bound) { return amount >= -bound && amount <= bound; }

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::int64_t sign(auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); }

// Whole-day steps are counted on a calendar that leaves out no day and moves no clock: UTC's.
const plat::Calendar& dayCounting() {
    static const plat::Calendar utc(plat::TimeZone::utc());
    return utc;
}

// The day `days` after the components' day (its year, month and day only), on the counting calendar.
bool moveDay(plat::DateComponents& c, std::int64_t days) {
    plat::DateComponents day;
    day.year = c.year;
    day.month = c.month;
    day.day = c.day + days;
    auto moved = dayCounting().dateFromComponents(day);
    auto parts = moved ? dayCounting().components(*moved) : std::nullopt;
    if (!parts) return false;
    c.year = parts->year;
    c.month = parts->month;
    c.day = parts->day;
    return true;
}

bool sameDay(const plat::DateComponents& a, const plat::DateComponents& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// Time zones leave out at most a day or so (a move across the date line); a step goes no further
// than this looking for a day the zone has.
constexpr int MaxSkippedDays = 3;

}  // namespace

void KivoDateUtil::setCalendar(std::shared_ptr<KivoCalendarSystem> calendar) { sharedCalendar() = std::move(calendar); }

std::shared_ptr<KivoCalendarSystem> KivoDateUtil::getCalendar() const { return sharedCalendar(); }

void KivoDateUtil::setFirstWeekday(std::uint64_t weekday) {
    if (auto& calendar = sharedCalendar()) calendar->setFirstWeekday(weekday);
}

std::shared_ptr<KivoCalendarSystem> KivoDateUtil::calendarInUse() const {
    if (auto& calendar = sharedCalendar()) return calendar;
    return KivoCalendarSystem::current();
}

std::optional<plat::DateComponents> KivoDateUtil::components(KivoOptionalDate date) const {
    if (!date) return std::nullopt;
    return calendarInUse()->calendar().components(*date);
}

KivoOptionalDate KivoDateUtil::dateFrom(const plat::DateComponents& components) const {
    return calendarInUse()->calendar().dateFromComponents(components);
}

KivoOptionalDate KivoDateUtil::getDateWithYear(std::int64_t year, std::int64_t month, std::int64_t day) const {
    plat::DateComponents c;
    c.year = year;
    c.month = month;
    c.day = day;
    return dateFrom(c);
}

std::optional<std::int64_t> KivoDateUtil::getYearFromDate(KivoOptionalDate date) const {
    if (auto c = components(date)) return c->year;
    return std::nullopt;
}

std::optional<std::int64_t> KivoDateUtil::getMonthFromDate(KivoOptionalDate date) const {
    if (auto c = components(date)) return c->month;
    return std::nullopt;
}

std::optional<std::int64_t> KivoDateUtil::getDayFromDate(KivoOptionalDate date) const {
    if (auto c = components(date)) return c->day;
    return std::nullopt;
}

std::optional<std::int64_t> KivoDateUtil::getWeekdayFromDate(KivoOptionalDate date) const {
    if (auto c = components(date)) return c->weekday;
    return std::nullopt;
}

std::optional<std::uint64_t> KivoDateUtil::getMonthDaysCountFromDate(KivoOptionalDate date) const {
    if (auto c = components(date)) return static_cast<std::uint64_t>(plat::Calendar::daysInMonth(c->year, c->month));
    return std::nullopt;
}

KivoOptionalDate KivoDateUtil::getDateByAddingDays(std::int64_t days, KivoOptionalDate date) const {
    auto c = components(date);
    if (!c || !within(days, MaxDayAmount)) return std::nullopt;
    // Calendar days counted apart from the time zone, built back through the fields, so the time of
    // day holds across daylight-saving changes. A day the time zone left out is stepped over in the direction of
    // travel: a step never lands on the day it left, nor back on an earlier one.
    const std::int64_t direction = days < 0 ? -1 : 1;
    for (int tries = 0; tries <= MaxSkippedDays; ++tries) {
        if (!moveDay(*c, tries == 0 ? days : direction)) return std::nullopt;
        auto atTime = dateFrom(*c);
        if (!atTime) return std::nullopt;
        if (auto got = components(atTime); got && sameDay(*got, *c)) return atTime;
        // The day may be there without that time of day (a clock change): its start then.
        auto start = getDateWithYear(c->year, c->month, c->day);
        if (auto got = components(start); got && sameDay(*got, *c)) return start;
    }
    return std::nullopt;
}

KivoOptionalDate KivoDateUtil::getDateBySubtractingDays(std::int64_t days, KivoOptionalDate date) const {
    if (!within(days, MaxDayAmount)) return std::nullopt;
    return getDateByAddingDays(-days, date);
}

KivoOptionalDate KivoDateUtil::getDateByAddingMonths(std::int64_t months, KivoOptionalDate date) const {
    auto c = components(date);
    if (!c || !within(months, MaxMonthAmount)) return std::nullopt;
    std::int64_t index = c->month - 1 + months;
    c->year += floorDiv(index, MonthsPerYear);
    c->month = index - floorDiv(index, MonthsPerYear) * MonthsPerYear + 1;
    c->day = std::min<std::int64_t>(c->day, plat::Calendar::daysInMonth(c->year, c->month));
    return dateFrom(*c);
}

KivoOptionalDate KivoDateUtil::getDateByAddingYears(std::int64_t years, KivoOptionalDate date) const {
    auto c = components(date);
    if (!c || !within(years, MaxYearAmount)) return std::nullopt;
    c->year += years;
    c->day = std::min<std::int64_t>(c->day, plat::Calendar::daysInMonth(c->year, c->month));
    return dateFrom(*c);
}

KivoOptionalDate KivoDateUtil::getDateBySettingMonth(std::int64_t month, KivoOptionalDate date) const {
    auto c = components(date);
    if (!c) return std::nullopt;
    return getDateWithYear(c->year, month, c->day);
}

KivoOptionalDate KivoDateUtil::getDateBySettingYear(std::int64_t year, KivoOptionalDate date) const {
    auto c = components(date);
    if (!c) return std::nullopt;
    return getDateWithYear(year, c->month, c->day);
}

bool KivoDateUtil::isYMDEqual(KivoOptionalDate date1, KivoOptionalDate date2) const { return compareYMD(date1, date2) == 0; }

std::optional<std::int64_t> KivoDateUtil::compare(KivoOptionalDate date1, KivoOptionalDate date2, int depth) const {
    auto a = components(date1);
    auto b = components(date2);
    if (!a || !b) return std::nullopt;
    // Fields of a normalised date order exactly as the starts of their days (months, years) do.
    auto key = [depth](const plat::DateComponents& c) {
        return std::make_tuple(c.year, depth > 1 ? c.month : 0, depth > 2 ? c.day : 0);
    };
    return sign(key(*a), key(*b));
}

std::optional<std::int64_t> KivoDateUtil::compareYMD(KivoOptionalDate date1, KivoOptionalDate date2) const {
    return compare(date1, date2, 3);
}

std::optional<std::int64_t> KivoDateUtil::compareYM(KivoOptionalDate date1, KivoOptionalDate date2) const {
    return compare(date1, date2, 2);
}

std::optional<std::int64_t> KivoDateUtil::compareY(KivoOptionalDate date1, KivoOptionalDate date2) const {
    return compare(date1, date2, 1);
}
