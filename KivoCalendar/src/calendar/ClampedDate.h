#pragma once
// A date moved to another year or month by the year and decade pages: the day stays where the
// target month has it and otherwise becomes the month's last day, so 31 May moved to February is
// the end of February, never a day of March.

#include <algorithm>
#include <cstdint>

#include "KivoCalendar/KivoDateUtil.h"

namespace kivo::detail {

inline KivoOptionalDate clampedDate(const KivoDateUtil& util, KivoOptionalDate source, std::int64_t year, std::int64_t month) {
    auto day = util.getDayFromDate(source);
    auto length = util.getMonthDaysCountFromDate(util.getDateWithYear(year, month, 1));
    if (!day || !length) return std::nullopt;
    return util.getDateWithYear(year, month, std::min(*day, static_cast<std::int64_t>(*length)));
}

}  // namespace kivo::detail
