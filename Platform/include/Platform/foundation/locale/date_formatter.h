#pragma once
// Turns dates into text and back by date and time styles or by a pattern (Unicode date field symbols:
// "yyyy-MM-dd HH:mm"), for an explicit locale and time zone. A pattern, when set, wins over the styles;
// setting a style clears the pattern. Formatters for one combination of settings are built once per
// thread and reused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/formatter.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

namespace plat {

class PLAT_EXPORT DateFormatter : public Formatter {
public:
    enum class Style : std::uint8_t { None, Short, Medium, Long, Full };

    DateFormatter(Locale locale, TimeZone zone);

    Style dateStyle() const { return _dateStyle; }
    void setDateStyle(Style style);
    Style timeStyle() const { return _timeStyle; }
    void setTimeStyle(Style style);
    // Empty: the styles apply.
    const std::string& dateFormat() const { return _pattern; }
    void setDateFormat(std::string pattern) { _pattern = std::move(pattern); }
    const Locale& locale() const { return _locale; }
    void setLocale(const Locale& locale) { _locale = locale; }
    const TimeZone& timeZone() const { return _zone; }
    void setTimeZone(const TimeZone& zone) { _zone = zone; }

    // The empty string when both styles are None and there is no pattern, or when the date is not
    // finite. Patterns are read leniently (an unterminated quote runs to the end of the pattern,
    // letters without a field print nothing); one that still fails falls back to the styles.
    std::string format(Date date) const;
    // Dates; no text for any other kind of value.
    std::optional<std::string> stringForObjectValue(const Value& value) const override;
    // Strict: the whole text must match the pattern or styles.
    std::optional<Date> parse(std::string_view text) const;
    // As parse(text), but the fields the form does not show (the time of a date-only form, the year of
    // "dd MMM") are those of `base` in the formatter's time zone rather than the epoch's.
    std::optional<Date> parse(std::string_view text, Date base) const;

private:
    Style _dateStyle = Style::None, _timeStyle = Style::None;
    std::string _pattern;
    Locale _locale;
    TimeZone _zone;
};

}  // namespace plat
