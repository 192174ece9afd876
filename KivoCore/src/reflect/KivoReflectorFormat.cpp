#include <mutex>

#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/process_cache.h"

namespace {

// Made on the first call with the locale and time zone current then, and kept for the process (until
// plat::resetProcessCaches(), which tests call before each test).
struct ValueFormatters {
    plat::NumberFormatter number{plat::NumberFormatter::Style::Decimal, plat::Locale::current()};
    plat::DateFormatter date{plat::Locale::current(), plat::TimeZone::current()};
    ValueFormatters() {
        number.setMaximumFractionDigits(2);
        date.setDateStyle(plat::DateFormatter::Style::Short);
        date.setTimeStyle(plat::DateFormatter::Style::None);
    }
};

std::shared_ptr<const ValueFormatters> formatters() {
    static plat::ProcessCache<ValueFormatters> cache;
    return cache.get();
}

}  // namespace

std::string KivoReflector::formatValue(const plat::Value& value) {
    if (value.isNil()) return "";
    if (value.isInteger()) return formatters()->number.format(value.asInteger());
    if (value.isNumber()) return formatters()->number.format(value.asDouble());
    if (value.isDate()) return formatters()->date.format(value.asDate());
    return value.description();
}
