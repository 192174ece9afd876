#include "KivoCalendar/KivoCalendarSystem.h"

#include "Platform/foundation/locale/date_formatter.h"

namespace {

// 4 January 1970, 00:00 UTC: a Sunday. Formatting it and the six days after it in UTC gives the
// weekday names in the calendar's numbering, Sunday first.
constexpr double FirstSundaySeconds = 3 * 86400.0;
constexpr double SecondsPerDay = 86400.0;
constexpr int DaysPerWeek = 7;

// Stand-alone weekday patterns by width: narrow, abbreviated, wide.
constexpr const char* WeekdayPatterns[] = {"ccccc", "ccc", "cccc"};

}  // namespace

KivoCalendarSystem::KivoCalendarSystem(plat::TimeZone zone, plat::Locale locale)
    : _calendar(std::move(zone)), _locale(std::move(locale)) {}

std::shared_ptr<KivoCalendarSystem> KivoCalendarSystem::current() {
    return create(plat::TimeZone::current(), plat::Locale::current());
}

void KivoCalendarSystem::setFirstWeekday(std::uint64_t weekday) {
    if (weekday >= 1 && weekday <= DaysPerWeek) _firstWeekday = weekday;
}

const std::vector<std::string>& KivoCalendarSystem::veryShortStandaloneWeekdaySymbols() const { return symbols(0); }
const std::vector<std::string>& KivoCalendarSystem::shortStandaloneWeekdaySymbols() const { return symbols(1); }
const std::vector<std::string>& KivoCalendarSystem::standaloneWeekdaySymbols() const { return symbols(2); }

const std::vector<std::string>& KivoCalendarSystem::symbols(int width) const {
    auto& names = _symbols[width];
    if (names.empty()) {
        plat::DateFormatter formatter(_locale, plat::TimeZone::utc());
        formatter.setDateFormat(WeekdayPatterns[width]);
        for (int day = 0; day < DaysPerWeek; ++day)
            names.push_back(formatter.format(plat::Date(FirstSundaySeconds + day * SecondsPerDay)));
    }
    return names;
}
