#include "KivoCore/KivoIOSValueFormatter.h"

#include <charconv>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoNumberFormatter.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/locale/date_formatter.h"

namespace {

plat::Locale localeFor(const std::string& identifier) {
    return identifier.empty() ? plat::Locale::current() : plat::Locale::withIdentifier(identifier);
}

// A string that is a number from its first character to its last.
plat::Value numberFromText(const std::string& text) {
    double v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty()) return {};
    return v;
}

bool appliesAsDatePattern(const std::string& format) {
    for (const char* field : {"Y", "y", "M", "dd"})
        if (format.find(field) != std::string::npos) return true;
    return false;
}

}  // namespace

std::optional<std::string> KivoIOSValueFormatter::format(const plat::Value& value, const std::string& format) {
    if (value.isNil()) return std::string();
    switch (KivoReflector::getDataType(value)) {
        case KivoDataTypeDate:
            return _formatDate(value, format, _locale);
        case KivoDataTypeNumber:
            return _formatNumber(value, format, _locale);
        default:
            return std::string();
    }
}

std::optional<std::string> KivoIOSValueFormatter::format(const plat::Value& value, const std::string& format,
                                                         std::int64_t dataType) {
    if (value.isNil()) return std::string();
    if (dataType == KivoDataTypeDate) return _formatDate(value, format, _locale);
    if (dataType == KivoDataTypeNumber) return _formatNumber(value, format, _locale);
    return this->format(value, format);
}

std::optional<std::string> KivoIOSValueFormatter::_formatNumber(const plat::Value& number, const std::string& format,
                                                                const std::string& locale) {
    plat::Value n = number.isNumber() ? number : number.isString() ? numberFromText(number.asString()) : plat::Value();
    if (n.isNil()) return std::string();
    return KivoNumberFormatter::numberToStringWithParameters(n, format.empty() ? "D" : format, locale);
}

std::string KivoIOSValueFormatter::_formatDate(const plat::Value& date, const std::string& format, const std::string& locale) {
    plat::Date when;
    if (date.isDate())
        when = date.asDate();
    else if (date.isNumber() && !date.isBool())
        when = plat::Date(date.asDouble());
    else
        return std::string();
    plat::DateFormatter formatter(localeFor(locale), plat::TimeZone::current());
    formatter.setDateStyle(plat::DateFormatter::Style::Short);
    formatter.setTimeStyle(plat::DateFormatter::Style::None);
    if (appliesAsDatePattern(format)) formatter.setDateFormat(format);
    return formatter.format(when);
}
