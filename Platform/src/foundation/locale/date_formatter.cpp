#include "Platform/foundation/locale/date_formatter.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>

#include <cmath>
#include <memory>
#include <unordered_map>

#include "foundation/locale/icu_bridge.h"

namespace plat {
namespace {

icu::DateFormat::EStyle icuStyle(DateFormatter::Style s) {
    switch (s) {
        case DateFormatter::Style::None:
            return icu::DateFormat::kNone;
        case DateFormatter::Style::Short:
            return icu::DateFormat::kShort;
        case DateFormatter::Style::Medium:
            return icu::DateFormat::kMedium;
        case DateFormatter::Style::Long:
            return icu::DateFormat::kLong;
        case DateFormatter::Style::Full:
            return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

struct Key {
    DateFormatter::Style dateStyle, timeStyle;
    std::string pattern;
    const void* locale;
    const void* zone;
    friend bool operator==(const Key&, const Key&) = default;
};

struct KeyHash {
    size_t operator()(const Key& k) const {
        size_t h = std::hash<std::string>()(k.pattern);
        h = h * 1000003u ^ std::hash<const void*>()(k.locale);
        h = h * 1000003u ^ std::hash<const void*>()(k.zone);
        return h * 31u + static_cast<size_t>(k.dateStyle) * 7u + static_cast<size_t>(k.timeStyle);
    }
};

// Null when the settings format nothing (both styles None, no pattern).
std::unique_ptr<icu::DateFormat> build(const Key& k, const Locale& locale, const TimeZone& zone) {
    std::unique_ptr<icu::DateFormat> f;
    if (!k.pattern.empty()) {
        UErrorCode status = U_ZERO_ERROR;
        auto simple = std::make_unique<icu::SimpleDateFormat>(detail::toICU(k.pattern), locale.impl().icu, status);
        if (U_SUCCESS(status)) f = std::move(simple);
    }
    if (!f) {
        auto ds = k.dateStyle, ts = k.timeStyle;
        if (ds == DateFormatter::Style::None && ts == DateFormatter::Style::None) {
            if (k.pattern.empty()) return nullptr;
            ds = DateFormatter::Style::Short;  // a broken pattern still shows the date
        }
        f.reset(icu::DateFormat::createDateTimeInstance(icuStyle(ds), icuStyle(ts), locale.impl().icu));
        if (!f) return nullptr;
    }
    f->setTimeZone(*zone.impl().icu);
    f->setLenient(false);
    return f;
}

// Keys name the locale and zone by the address of their data: the entry holds both, so that address
// is not reused by another locale or zone while the entry can be found by it.
struct Entry {
    std::unique_ptr<icu::DateFormat> format;
    Locale locale;
    TimeZone zone;
};

// ICU date formatters keep a mutable calendar, so each thread has its own set.
struct Cache {
    static constexpr size_t Capacity = 64;
    std::unordered_map<Key, Entry, KeyHash> map;
};

icu::DateFormat* formatterFor(DateFormatter::Style ds, DateFormatter::Style ts, const std::string& pattern, const Locale& locale,
                              const TimeZone& zone) {
    thread_local Cache cache;
    Key key{ds, ts, pattern, &locale.impl(), &zone.impl()};
    if (auto it = cache.map.find(key); it != cache.map.end()) return it->second.format.get();
    if (cache.map.size() >= Cache::Capacity) cache.map.clear();
    auto built = build(key, locale, zone);
    return cache.map.emplace(std::move(key), Entry{std::move(built), locale, zone}).first->second.format.get();
}

}  // namespace

DateFormatter::DateFormatter(Locale locale, TimeZone zone) : _locale(std::move(locale)), _zone(std::move(zone)) {}

void DateFormatter::setDateStyle(Style style) {
    _dateStyle = style;
    _pattern.clear();
}

void DateFormatter::setTimeStyle(Style style) {
    _timeStyle = style;
    _pattern.clear();
}

std::string DateFormatter::format(Date date) const {
    if (!std::isfinite(date.seconds)) return {};
    auto* f = formatterFor(_dateStyle, _timeStyle, _pattern, _locale, _zone);
    if (!f) return {};
    icu::UnicodeString text;
    f->format(date.seconds * 1000.0, text);
    return detail::fromICU(text);
}

std::optional<Date> DateFormatter::parse(std::string_view text) const {
    auto* f = formatterFor(_dateStyle, _timeStyle, _pattern, _locale, _zone);
    if (!f) return std::nullopt;
    icu::UnicodeString u = detail::toICU(text);
    icu::ParsePosition pos(0);
    UDate when = f->parse(u, pos);
    // ICU reports failure through the position; a success may still carry a warning status elsewhere.
    if (pos.getErrorIndex() >= 0 || pos.getIndex() != u.length()) return std::nullopt;
    return Date(when / 1000.0);
}

std::optional<Date> DateFormatter::parse(std::string_view text, Date base) const {
    if (!std::isfinite(base.seconds)) return parse(text);
    auto* f = formatterFor(_dateStyle, _timeStyle, _pattern, _locale, _zone);
    if (!f) return std::nullopt;
    // ICU fills the fields the text lacks from the calendar it parses into.
    std::unique_ptr<icu::Calendar> calendar(f->getCalendar()->clone());
    if (!calendar) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(base.seconds * 1000.0, status);
    if (U_FAILURE(status)) return std::nullopt;
    icu::UnicodeString u = detail::toICU(text);
    icu::ParsePosition pos(0);
    f->parse(u, *calendar, pos);
    if (pos.getErrorIndex() >= 0 || pos.getIndex() != u.length()) return std::nullopt;
    const UDate when = calendar->getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return Date(when / 1000.0);
}

}  // namespace plat

namespace plat {

std::optional<std::string> DateFormatter::stringForObjectValue(const Value& value) const {
    if (!value.isDate()) return std::nullopt;
    return format(value.asDate());
}

}  // namespace plat
