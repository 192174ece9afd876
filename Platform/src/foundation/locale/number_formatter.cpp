#include "Platform/foundation/locale/number_formatter.h"

#include <unicode/decimfmt.h>
#include <unicode/numberformatter.h>
#include <unicode/numfmt.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "foundation/locale/icu_bridge.h"

namespace plat {

struct NumberFormatter::Compiled {
    // ICU's reading side is the classic formatter, built on the first parse of a settings entry; it
    // keeps state while it reads, so one reader at a time.
    struct Reader {
        std::once_flag built;
        std::mutex mutex;
        std::unique_ptr<icu::NumberFormat> format;
    };

    Settings settings;
    icu::number::LocalizedNumberFormatter icu;
    // Settings name the locale by the address of its data: holding the locale keeps that address
    // from being reused by another locale while this entry can still be found by it.
    Locale locale;
    std::shared_ptr<Reader> reader;
};

namespace {

using namespace icu::number;

int clampDigits(int n) { return std::clamp(n, 0, NumberFormatter::MaxDigits); }

struct DefaultFraction {
    int min, max;
};

DefaultFraction defaultFraction(NumberFormatter::Style style, const Locale& locale) {
    switch (style) {
        case NumberFormatter::Style::Decimal:
            return {0, 3};
        case NumberFormatter::Style::Currency: {
            int d = locale.impl().currencyFractionDigits;
            return {d, d};
        }
        case NumberFormatter::Style::Percent:
            return {0, 0};
        case NumberFormatter::Style::Scientific:
            return {0, 6};
    }
    return {0, 3};
}

std::shared_ptr<const NumberFormatter::Compiled> build(const NumberFormatter::Settings& s, const Locale& locale) {
    UnlocalizedNumberFormatter f = icu::number::NumberFormatter::with().roundingMode(UNUM_ROUND_HALFEVEN);
    UErrorCode status = U_ZERO_ERROR;
    switch (s.style) {
        case NumberFormatter::Style::Decimal:
            break;
        case NumberFormatter::Style::Currency:
            f = f.unit(icu::CurrencyUnit(locale.impl().currency, status));
            if (U_FAILURE(status)) status = U_ZERO_ERROR;
            break;
        case NumberFormatter::Style::Percent:
            f = f.unit(icu::MeasureUnit::getPercent()).scale(Scale::powerOfTen(2));
            break;
        case NumberFormatter::Style::Scientific:
            f = f.notation(Notation::scientific());
            break;
    }
    auto def = defaultFraction(s.style, locale);
    int minFrac = s.minFrac < 0 ? def.min : s.minFrac;
    int maxFrac = s.maxFrac < 0 ? std::max(def.max, minFrac) : s.maxFrac;
    f = f.precision(Precision::minMaxFraction(minFrac, std::max(minFrac, maxFrac)));
    if (s.style != NumberFormatter::Style::Scientific) {
        IntegerWidth width = IntegerWidth::zeroFillTo(s.minInt);
        if (s.maxInt != NumberFormatter::Unlimited) width = width.truncateAt(std::max(s.minInt, s.maxInt));
        f = f.integerWidth(width);
    }
    f = f.grouping(s.grouping && s.style != NumberFormatter::Style::Scientific ? UNUM_GROUPING_AUTO : UNUM_GROUPING_OFF);
    auto compiled = std::make_shared<NumberFormatter::Compiled>(
        NumberFormatter::Compiled{s, f.locale(locale.impl().icu), locale, std::make_shared<NumberFormatter::Compiled::Reader>()});
    return compiled;
}

struct SettingsHash {
    size_t operator()(const NumberFormatter::Settings& s) const {
        size_t h = std::hash<const void*>()(s.locale);
        for (int v : {static_cast<int>(s.style), s.minInt, s.maxInt, s.minFrac, s.maxFrac, static_cast<int>(s.grouping)})
            h = h * 1000003u ^ static_cast<size_t>(v + 7);
        return h;
    }
};

// ICU's localized formatters are immutable and safe to share between threads.
struct Cache {
    static constexpr size_t Capacity = 512;
    std::mutex mutex;
    std::unordered_map<NumberFormatter::Settings, std::shared_ptr<const NumberFormatter::Compiled>, SettingsHash> map;
};

Cache& cache() {
    static Cache* c = new Cache;  // never destroyed: formatters may be used during static teardown
    return *c;
}

std::shared_ptr<const NumberFormatter::Compiled> lookup(const NumberFormatter::Settings& s, const Locale& locale) {
    auto& c = cache();
    {
        std::lock_guard lock(c.mutex);
        if (auto it = c.map.find(s); it != c.map.end()) return it->second;
    }
    auto built = build(s, locale);  // outside the lock: building takes microseconds
    std::lock_guard lock(c.mutex);
    if (c.map.size() >= Cache::Capacity) c.map.clear();  // holders keep theirs alive
    return c.map.emplace(s, built).first->second;
}

UNumberFormatStyle readingStyle(NumberFormatter::Style style) {
    switch (style) {
        case NumberFormatter::Style::Decimal:
            break;
        case NumberFormatter::Style::Currency:
            return UNUM_CURRENCY;
        case NumberFormatter::Style::Percent:
            return UNUM_PERCENT;
        case NumberFormatter::Style::Scientific:
            return UNUM_SCIENTIFIC;
    }
    return UNUM_DECIMAL;
}

// Null when ICU cannot make one (then nothing parses).
std::unique_ptr<icu::NumberFormat> buildReader(const NumberFormatter::Settings& s, const Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> f(icu::NumberFormat::createInstance(locale.impl().icu, readingStyle(s.style), status));
    if (U_FAILURE(status) || !f) return nullptr;
    if (s.style == NumberFormatter::Style::Currency) {
        // The currency of the region asked for, which the data locale may not know ("xx_DE").
        status = U_ZERO_ERROR;
        f->setCurrency(locale.impl().currency, status);
    }
    f->setGroupingUsed(s.grouping && s.style != NumberFormatter::Style::Scientific);
    // ICU's readers take an exponent in every style; only the scientific style writes one, so only it
    // reads one back ("1e3" is no decimal number).
    if (s.style != NumberFormatter::Style::Scientific)
        if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(f.get())) decimal->setParseNoExponent(true);
    return f;
}

bool isSpace(UChar32 c) { return u_hasBinaryProperty(c, UCHAR_WHITE_SPACE); }

// Without the white space at either end (no-break spaces included).
icu::UnicodeString trimmed(const icu::UnicodeString& text) {
    int32_t start = 0, end = text.length();
    while (start < end && isSpace(text.char32At(start))) start = text.moveIndex32(start, 1);
    while (end > start && isSpace(text.char32At(text.moveIndex32(end, -1)))) end = text.moveIndex32(end, -1);
    return icu::UnicodeString(text, start, end - start);
}

void appendFormatted(std::string& out, const FormattedNumber& result, UErrorCode& status) {
    if (U_FAILURE(status)) return;
    const icu::UnicodeString& text = result.toTempString(status);
    if (U_SUCCESS(status)) text.toUTF8String(out);
}

}  // namespace

NumberFormatter::NumberFormatter(Style style, Locale locale) : _locale(std::move(locale)) {
    _s.locale = &_locale.impl();
    setStyle(style);
}

NumberFormatter::NumberFormatter(const NumberFormatter&) = default;
NumberFormatter& NumberFormatter::operator=(const NumberFormatter&) = default;
NumberFormatter::NumberFormatter(NumberFormatter&&) noexcept = default;
NumberFormatter& NumberFormatter::operator=(NumberFormatter&&) noexcept = default;
NumberFormatter::~NumberFormatter() = default;

void NumberFormatter::setStyle(Style style) {
    _s.style = style;
    _s.minInt = 1;
    _s.maxInt = Unlimited;
    _s.minFrac = _s.maxFrac = -1;
    _s.grouping = style != Style::Scientific;
}

void NumberFormatter::setLocale(const Locale& locale) {
    if (locale == _locale) return;
    _locale = locale;
    _s.locale = &_locale.impl();
}

void NumberFormatter::setMinimumIntegerDigits(int n) {
    _s.minInt = clampDigits(n);
    if (_s.maxInt != Unlimited && _s.maxInt < _s.minInt) _s.maxInt = _s.minInt;
}

void NumberFormatter::setMaximumIntegerDigits(int n) {
    _s.maxInt = n < 0 ? Unlimited : clampDigits(n);
    if (_s.maxInt != Unlimited && _s.minInt > _s.maxInt) _s.minInt = _s.maxInt;
}

int NumberFormatter::minimumFractionDigits() const {
    return _s.minFrac >= 0 ? _s.minFrac : defaultFraction(_s.style, _locale).min;
}

int NumberFormatter::maximumFractionDigits() const {
    return _s.maxFrac >= 0 ? _s.maxFrac : std::max(defaultFraction(_s.style, _locale).max, minimumFractionDigits());
}

void NumberFormatter::setMinimumFractionDigits(int n) {
    _s.minFrac = clampDigits(n);
    if (maximumFractionDigits() < _s.minFrac) _s.maxFrac = _s.minFrac;
}

void NumberFormatter::setMaximumFractionDigits(int n) {
    _s.maxFrac = clampDigits(n);
    if (minimumFractionDigits() > _s.maxFrac) _s.minFrac = _s.maxFrac;
}

void NumberFormatter::setUsesGrouping(bool on) { _s.grouping = on; }

const NumberFormatter::Compiled& NumberFormatter::compiled() const {
    if (!_compiled || !(_compiled->settings == _s)) _compiled = lookup(_s, _locale);
    return *_compiled;
}

void NumberFormatter::appendTo(std::string& out, double value) const {
    UErrorCode status = U_ZERO_ERROR;
    appendFormatted(out, compiled().icu.formatDouble(value, status), status);
}

void NumberFormatter::appendTo(std::string& out, std::int64_t value) const {
    UErrorCode status = U_ZERO_ERROR;
    appendFormatted(out, compiled().icu.formatInt(value, status), status);
}

std::string NumberFormatter::format(double value) const {
    std::string out;
    appendTo(out, value);
    return out;
}

std::string NumberFormatter::format(std::int64_t value) const {
    std::string out;
    appendTo(out, value);
    return out;
}

std::optional<double> NumberFormatter::parse(std::string_view text) const {
    const icu::UnicodeString u = trimmed(detail::toICU(text));
    if (u.isEmpty()) return std::nullopt;
    const Compiled& c = compiled();
    Compiled::Reader& reader = *c.reader;
    std::call_once(reader.built, [&] { reader.format = buildReader(c.settings, c.locale); });
    if (!reader.format) return std::nullopt;
    icu::Formattable result;
    icu::ParsePosition pos(0);
    {
        std::lock_guard lock(reader.mutex);
        reader.format->parse(u, result, pos);
    }
    // A number followed by anything else is no number: "12abc" is refused, not read as 12.
    if (pos.getErrorIndex() >= 0 || pos.getIndex() != u.length()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const double value = result.getDouble(status);
    if (U_FAILURE(status)) return std::nullopt;
    return value;
}

}  // namespace plat

namespace plat {

Formatter::~Formatter() = default;

std::optional<std::string> NumberFormatter::stringForObjectValue(const Value& value) const {
    switch (value.kind()) {
        case Value::Kind::Bool:
        case Value::Kind::Integer:
            return format(value.asInteger());
        case Value::Kind::Double:
            return format(value.asDouble());
        default:
            return std::nullopt;
    }
}

}  // namespace plat
