#include <optional>

#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"

namespace {

// Kept per thread for the locale (and, for dates, the time zone) current at the last call, and made
// again only when the process's defaults have changed since: a grouping formats many values in a row.
const plat::NumberFormatter& numberFormatter() {
    thread_local std::optional<plat::NumberFormatter> formatter;
    plat::Locale locale = plat::Locale::current();
    if (!formatter || !(formatter->locale() == locale)) {
        formatter.emplace(plat::NumberFormatter::Style::Decimal, std::move(locale));
        formatter->setMaximumFractionDigits(2);
    }
    return *formatter;
}

const plat::DateFormatter& dateFormatter() {
    thread_local std::optional<plat::DateFormatter> formatter;
    plat::Locale locale = plat::Locale::current();
    plat::TimeZone zone = plat::TimeZone::current();
    if (!formatter || !(formatter->locale() == locale) || !(formatter->timeZone() == zone)) {
        formatter.emplace(std::move(locale), std::move(zone));
        formatter->setDateStyle(plat::DateFormatter::Style::Short);
        formatter->setTimeStyle(plat::DateFormatter::Style::None);
    }
    return *formatter;
}

}  // namespace

std::string KivoReflector::formatValue(const plat::Value& value) {
    if (value.isNil()) return "";
    if (value.isInteger()) return numberFormatter().format(value.asInteger());
    if (value.isNumber()) return numberFormatter().format(value.asDouble());
    if (value.isDate()) return dateFormatter().format(value.asDate());
    return value.description();
}
