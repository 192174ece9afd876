#include "Platform/foundation/locale/date_detector.h"

#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <mutex>
#include <vector>

#include "Platform/foundation/log.h"
#include "foundation/locale/icu_bridge.h"

namespace plat {
namespace {

constexpr const char* IsoForms[] = {"yyyy-MM-dd", "yyyy-MM-dd'T'HH:mm", "yyyy-MM-dd'T'HH:mm:ss", "yyyy-MM-dd HH:mm",
                                    "yyyy-MM-dd HH:mm:ss"};

// Narrow and no-break spaces read as plain ones, on both sides; each is one UTF-16 unit, so offsets
// in the changed text are offsets in the original.
icu::UnicodeString plainSpaces(icu::UnicodeString s) {
    s.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x202F)), icu::UnicodeString(u' '));
    s.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x00A0)), icu::UnicodeString(u' '));
    return s;
}

std::optional<icu::UnicodeString> stylePattern(icu::DateFormat::EStyle date, icu::DateFormat::EStyle time,
                                               const icu::Locale& locale) {
    std::unique_ptr<icu::DateFormat> f(time == icu::DateFormat::kNone ? icu::DateFormat::createDateInstance(date, locale)
                                                                       : icu::DateFormat::createTimeInstance(time, locale));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(f.get());
    if (!simple) return std::nullopt;
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    return plainSpaces(pattern);
}

bool isAsciiDigit(UChar c) { return c >= u'0' && c <= u'9'; }

// ICU reads a numeric field of any width ("24-03-01" as the year 24): the ISO forms are held to their
// exact shape, yyyy-MM-dd, then "T" or a space and HH:mm with an optional :ss.
bool hasIsoShape(const icu::UnicodeString& text, int32_t start, int32_t length) {
    static constexpr char16_t Shape[] = u"dddd-dd-dd?dd:dd:dd";  // d: a digit, ?: "T" or a space
    if (length != 10 && length != 16 && length != 19) return false;
    for (int32_t i = 0; i < length; ++i) {
        const UChar c = text.charAt(start + i);
        const char16_t want = Shape[i];
        const bool ok = want == u'd' ? isAsciiDigit(c) : want == u'?' ? (c == u'T' || c == u' ') : c == want;
        if (!ok) return false;
    }
    return true;
}

// Letters and digits make words.
bool isWordChar(UChar32 c) { return u_isalnum(c) != 0; }

bool endsWord(const icu::UnicodeString& text, int32_t at) { return at >= text.length() || !isWordChar(text.char32At(at)); }

}  // namespace

struct DateDetector::Impl {
    struct Form {
        std::unique_ptr<icu::DateFormat> format;
        bool iso;
    };
    std::mutex mutex;  // ICU formats keep a calendar that each parse changes
    std::vector<Form> forms;

    void add(const icu::UnicodeString& pattern, const icu::Locale& locale, const TimeZone& zone, bool iso = false) {
        UErrorCode status = U_ZERO_ERROR;
        auto f = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
        if (U_FAILURE(status)) {
            log("DateDetector: left out the form \"" + detail::fromICU(pattern) + "\": " + u_errorName(status));
            return;
        }
        f->setLenient(false);
        f->setTimeZone(*zone.impl().icu);
        forms.push_back({std::move(f), iso});
    }
};

DateDetector::DateDetector(const Locale& locale, const TimeZone& zone) : _impl(std::make_unique<Impl>()) {
    const icu::Locale& icuLocale = locale.impl().icu;
    const auto time = stylePattern(icu::DateFormat::kNone, icu::DateFormat::kShort, icuLocale);
    for (auto style : {icu::DateFormat::kFull, icu::DateFormat::kLong, icu::DateFormat::kMedium, icu::DateFormat::kShort}) {
        const auto date = stylePattern(style, icu::DateFormat::kNone, icuLocale);
        if (!date) continue;
        _impl->add(*date, icuLocale, zone);
        if (time) _impl->add(*date + u" " + *time, icuLocale, zone);
    }
    // ISO forms keep ASCII digits and the Gregorian calendar whatever the locale.
    const icu::Locale posix("en_US_POSIX");
    for (const char* form : IsoForms) _impl->add(icu::UnicodeString(form, -1, US_INV), posix, zone, true);
}

DateDetector::~DateDetector() = default;

std::optional<DetectedDate> DateDetector::firstDate(std::string_view text) const {
    const icu::UnicodeString u = plainSpaces(detail::toICU(text));
    std::lock_guard lock(_impl->mutex);
    UChar32 previous = 0;
    for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1)) {
        const UChar32 c = u.char32At(i);
        const bool wordStart = isWordChar(c) && !isWordChar(previous);
        previous = c;
        if (!wordStart) continue;
        std::optional<DetectedDate> best;
        for (const auto& form : _impl->forms) {
            icu::ParsePosition pos(i);
            const UDate when = form.format->parse(u, pos);
            const int32_t end = pos.getIndex();
            if (pos.getErrorIndex() >= 0 || end <= i || !endsWord(u, end)) continue;
            if (form.iso && !hasIsoShape(u, i, end - i)) continue;
            if (!best || end - i > best->range.length) best = DetectedDate{Date(when / 1000.0), TextRange{i, end - i}};
        }
        if (best) return best;
    }
    return std::nullopt;
}

}  // namespace plat
