#pragma once
// The platform calendar the calendar control computes with: the Gregorian calendar in an explicit
// time zone, with an explicit locale for the weekday names and a first weekday. One object is shared
// by every calendar control (through KivoDateUtil), so changes to it show in all of them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/foundation/locale/calendar.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

class KIVO_CALENDAR_EXPORT KivoCalendarSystem {
public:
    KivoCalendarSystem(plat::TimeZone zone, plat::Locale locale);
    // The process's current time zone and locale, as they stand now (tests pin both).
    static std::shared_ptr<KivoCalendarSystem> current();
    static std::shared_ptr<KivoCalendarSystem> create(plat::TimeZone zone, plat::Locale locale) {
        return std::make_shared<KivoCalendarSystem>(std::move(zone), std::move(locale));
    }

    const plat::Calendar& calendar() const { return _calendar; }
    const plat::TimeZone& timeZone() const { return _calendar.timeZone(); }
    const plat::Locale& locale() const { return _locale; }

    // 1 (Sunday) to 7 (Saturday); 1 at creation. Other values are ignored.
    std::uint64_t firstWeekday() const { return _firstWeekday; }
    void setFirstWeekday(std::uint64_t weekday);

    // The locale's stand-alone weekday names, Sunday first: one letter or so ("S"), abbreviated
    // ("Sun") and full ("Sunday").
    const std::vector<std::string>& veryShortStandaloneWeekdaySymbols() const;
    const std::vector<std::string>& shortStandaloneWeekdaySymbols() const;
    const std::vector<std::string>& standaloneWeekdaySymbols() const;

private:
    KIVO_CALENDAR_NO_EXPORT const std::vector<std::string>& symbols(int width) const;

    plat::Calendar _calendar;
    plat::Locale _locale;
    std::uint64_t _firstWeekday = 1;
    mutable std::vector<std::string> _symbols[3];  // built on first use, per width
};
