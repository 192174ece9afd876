#pragma once
// The controls' default value formatter: numbers by the numeric format strings of KivoNumberFormatter,
// dates by the platform's date formatter, for one locale identifier (none: the process's current
// locale). Dates show in the process's current time zone.

#include <cstdint>
#include <optional>
#include <string>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoIOSValueFormatter : public plat::Object, public IKivoValueFormatter {
public:
    // An empty identifier stands for none.
    explicit KivoIOSValueFormatter(std::string locale = {}) : _locale(std::move(locale)) {}

    const std::string& locale() const { return _locale; }

    // nil gives ""; a date formats as a date, a number (not a Boolean) as a number; anything else "".
    std::optional<std::string> format(const plat::Value& value, const std::string& format) override;
    // nil gives ""; type 5 takes the date path and 3 the number path; other codes route as above.
    // On the date path a number counts as seconds since 1970; on the number path a string that reads
    // wholly as a number counts as that number; other values give "".
    std::optional<std::string> format(const plat::Value& value, const std::string& format, std::int64_t dataType) override;

private:
    // An empty format means "D" (an integer without grouping).
    KIVO_CORE_NO_EXPORT std::optional<std::string> _formatNumber(const plat::Value& number, const std::string& format,
                                                                 const std::string& locale);
    // Short date style; the format replaces it only when it holds "Y", "y", "M" or "dd" (so a
    // time-only format such as "HH:mm" is not applied and the short date shows).
    KIVO_CORE_NO_EXPORT std::string _formatDate(const plat::Value& date, const std::string& format, const std::string& locale);

    std::string _locale;
};
