#include "collection/GroupNameText.h"

#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"

namespace kivo::collection {

std::string groupNameText(const plat::Value& value) {
    switch (value.kind()) {
        case plat::Value::Kind::Nil: return {};
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Integer:
        case plat::Value::Kind::Double: {
            plat::NumberFormatter formatter(plat::NumberFormatter::Style::Decimal, plat::Locale::current());
            formatter.setMaximumFractionDigits(2);
            return value.isInteger() ? formatter.format(value.asInteger()) : formatter.format(value.asDouble());
        }
        case plat::Value::Kind::Date: {
            plat::DateFormatter formatter(plat::Locale::current(), plat::TimeZone::current());
            formatter.setDateStyle(plat::DateFormatter::Style::Short);
            return formatter.format(value.asDate());
        }
        default: return value.description();
    }
}

}  // namespace kivo::collection
