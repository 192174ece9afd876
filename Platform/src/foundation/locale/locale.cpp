#include "Platform/foundation/locale/locale.h"

#include <unicode/bytestream.h>
#include <unicode/dcfmtsym.h>
#include <unicode/numsys.h>
#include <unicode/ucal.h>
#include <unicode/ucol.h>
#include <unicode/ucurr.h>
#include <unicode/uenum.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "foundation/locale/data_locale.h"
#include "foundation/locale/icu_bridge.h"

namespace plat {
namespace {

constexpr icu::DecimalFormatSymbols::ENumberFormatSymbol DigitSymbols[10] = {
    icu::DecimalFormatSymbols::kZeroDigitSymbol,  icu::DecimalFormatSymbols::kOneDigitSymbol,
    icu::DecimalFormatSymbols::kTwoDigitSymbol,   icu::DecimalFormatSymbols::kThreeDigitSymbol,
    icu::DecimalFormatSymbols::kFourDigitSymbol,  icu::DecimalFormatSymbols::kFiveDigitSymbol,
    icu::DecimalFormatSymbols::kSixDigitSymbol,   icu::DecimalFormatSymbols::kSevenDigitSymbol,
    icu::DecimalFormatSymbols::kEightDigitSymbol, icu::DecimalFormatSymbols::kNineDigitSymbol,
};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The locales that ICU has data for, old aliases ("iw", "zh_TW") included.
const std::unordered_set<std::string>& localesWithData() {
    static const auto* names = [] {
        auto* set = new std::unordered_set<std::string>;
        UErrorCode status = U_ZERO_ERROR;
        UEnumeration* all = uloc_openAvailableByType(ULOC_AVAILABLE_WITH_LEGACY_ALIASES, &status);
        while (const char* name = U_SUCCESS(status) ? uenum_next(all, nullptr, &status) : nullptr) set->emplace(name);
        uenum_close(all);
        return set;
    }();
    return *names;
}

// The keywords that change the data read for a locale, each with every value ICU knows for it (lower
// case; currency codes too, as ICU compares them without case).
const std::unordered_map<std::string, std::unordered_set<std::string>>& knownKeywords() {
    static const auto* known = [] {
        auto* map = new std::unordered_map<std::string, std::unordered_set<std::string>>;
        const auto add = [&](const char* key, UEnumeration* values, UErrorCode status) {
            auto& set = (*map)[key];
            while (const char* value = U_SUCCESS(status) ? uenum_next(values, nullptr, &status) : nullptr)
                set.insert(lower(value));
            uenum_close(values);
        };
        UErrorCode status = U_ZERO_ERROR;
        UEnumeration* calendars = ucal_getKeywordValuesForLocale("calendar", "", false, &status);
        add("calendar", calendars, status);
        status = U_ZERO_ERROR;
        UEnumeration* collations = ucol_getKeywordValues("collation", &status);
        add("collation", collations, status);
        status = U_ZERO_ERROR;
        UEnumeration* currencies = ucurr_openISOCurrencies(UCURR_ALL, &status);
        add("currency", currencies, status);
        status = U_ZERO_ERROR;
        std::unique_ptr<icu::StringEnumeration> systems(icu::NumberingSystem::getAvailableNames(status));
        while (const char* name = U_SUCCESS(status) && systems ? systems->next(nullptr, status) : nullptr)
            (*map)["numbers"].insert(lower(name));
        for (const char* cycle : {"h11", "h12", "h23", "h24"}) (*map)["hours"].insert(cycle);
        return map;
    }();
    return *known;
}

// The keywords of a locale name ("@calendar=japanese;numbers=thai") that name data ICU has, in ICU's
// order; other keywords, and values ICU does not know, change nothing it loads and are dropped.
std::string knownKeywordsOf(const icu::Locale& loc) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::StringEnumeration> keys(loc.createKeywords(status));
    if (U_FAILURE(status) || !keys) return {};
    const auto& known = knownKeywords();
    std::string kept;
    while (const char* key = keys->next(nullptr, status)) {
        if (U_FAILURE(status)) break;
        const auto values = known.find(key);
        if (values == known.end()) continue;
        std::string value;
        icu::StringByteSink<std::string> sink(&value);
        UErrorCode valueStatus = U_ZERO_ERROR;
        loc.getKeywordValue(key, sink, valueStatus);
        value = lower(value);
        if (U_FAILURE(valueStatus) || !values->second.contains(value)) continue;
        kept.append(kept.empty() ? "@" : ";").append(key).append("=").append(value);
    }
    return kept;
}

// ICU keeps every locale name that its data was looked up for in caches of its own that are never
// emptied (about half a kilobyte a name). So data is looked up for the nearest locale that has any,
// found by cutting the name's last parts as ICU's own fallback does ("en_US_X1" -> "en_US"; an
// unknown language -> root, never the process default), with those of the name's keywords that
// select data ICU has ("@numbers=thai"): the names ICU sees are bounded by its data, not by the
// identifiers asked for.
icu::Locale dataLocale(const icu::Locale& loc) {
    std::string base = loc.getBaseName();
    const auto& known = localesWithData();
    while (!base.empty() && !known.contains(base)) {
        size_t cut = base.rfind('_');
        base.resize(cut == std::string::npos ? 0 : cut);
        while (!base.empty() && base.back() == '_') base.pop_back();  // "de__X" has no country
    }
    base += knownKeywordsOf(loc);
    icu::Locale data(base.c_str());
    return data.isBogus() ? icu::Locale::getRoot() : data;
}

std::shared_ptr<const Locale::Impl> makeImpl(const icu::Locale& requested) {
    auto impl = std::make_shared<Locale::Impl>();
    const icu::Locale loc = dataLocale(requested);
    impl->icu = loc;
    impl->identifier = requested.getName();
    // The script follows the language asked for ("ar_XX" is Arabic even where data is root's).
    impl->rightToLeft = requested.isRightToLeft();
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(loc, status);
    if (U_SUCCESS(status)) {
        using S = icu::DecimalFormatSymbols;
        impl->decimalSeparator = detail::fromICU(symbols.getSymbol(S::kDecimalSeparatorSymbol));
        impl->groupingSeparator = detail::fromICU(symbols.getSymbol(S::kGroupingSeparatorSymbol));
        impl->minusSign = detail::fromICU(symbols.getSymbol(S::kMinusSignSymbol));
        impl->exponentSymbol = detail::fromICU(symbols.getSymbol(S::kExponentialSymbol));
        for (int d = 0; d < 10; ++d) impl->digits[static_cast<size_t>(d)] = detail::fromICU(symbols.getSymbol(DigitSymbols[d]));
    }
    status = U_ZERO_ERROR;
    UChar code[4] = {};
    // The currency follows the region asked for, which needs no locale data ("xx_DE" -> EUR).
    int32_t len = ucurr_forLocale(requested.getName(), code, 4, &status);
    if (U_FAILURE(status) || len != 3) {
        code[0] = u'X', code[1] = u'X', code[2] = u'X';
    }
    for (int i = 0; i < 3; ++i) {
        impl->currency[i] = code[i];
        impl->currencyCode += static_cast<char>(code[i]);
    }
    status = U_ZERO_ERROR;
    int digits = ucurr_getDefaultFractionDigits(impl->currency, &status);
    if (U_SUCCESS(status)) impl->currencyFractionDigits = digits;
    return impl;
}

// Locales are interned: while a locale lives, every spelling asked for finds its one Impl (so
// comparison by identity holds). The identifiers asked for most recently are remembered strongly, up
// to Locale::MaxRememberedIdentifiers; the canonical names only weakly, and the expired ones are swept
// out as the table grows, so neither table grows with the number of identifiers ever asked for.
struct Registry {
    using Recent = std::list<std::pair<std::string, std::shared_ptr<const Locale::Impl>>>;
    std::mutex mutex;
    Recent recent;  // most recent first
    std::unordered_map<std::string, Recent::iterator> byRequest;
    std::unordered_map<std::string, std::weak_ptr<const Locale::Impl>> byCanonical;
    size_t sweepAt = 2 * Locale::MaxRememberedIdentifiers;
    std::shared_ptr<const Locale::Impl> current;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: locales may be used during static teardown
    return *r;
}

icu::Locale icuLocale(const std::string& identifier) {
    icu::Locale loc;
    if (identifier.find('-') != std::string::npos) {
        UErrorCode status = U_ZERO_ERROR;
        loc = icu::Locale::forLanguageTag(identifier, status);
        if (U_FAILURE(status)) loc = icu::Locale(identifier.c_str());
    } else {
        loc = identifier.empty() ? icu::Locale::getRoot() : icu::Locale(identifier.c_str());
    }
    return loc.isBogus() ? icu::Locale::getRoot() : loc;
}

std::shared_ptr<const Locale::Impl> canonicalImpl(Registry& r, const icu::Locale& loc) {
    // Caller holds r.mutex.
    auto& slot = r.byCanonical[loc.getName()];
    std::shared_ptr<const Locale::Impl> impl = slot.lock();
    if (!impl) {
        impl = makeImpl(loc);
        slot = impl;
    }
    if (r.byCanonical.size() >= r.sweepAt) {
        std::erase_if(r.byCanonical, [](const auto& entry) { return entry.second.expired(); });
        r.sweepAt = std::max(2 * r.byCanonical.size(), 2 * Locale::MaxRememberedIdentifiers);
    }
    return impl;
}

std::shared_ptr<const Locale::Impl> intern(Registry& r, std::string_view identifier) {
    // Caller holds r.mutex.
    std::string key(identifier);
    if (auto it = r.byRequest.find(key); it != r.byRequest.end()) {
        r.recent.splice(r.recent.begin(), r.recent, it->second);
        return it->second->second;
    }
    auto impl = canonicalImpl(r, icuLocale(key));
    r.recent.emplace_front(key, impl);
    r.byRequest.emplace(std::move(key), r.recent.begin());
    if (r.recent.size() > Locale::MaxRememberedIdentifiers) {
        r.byRequest.erase(r.recent.back().first);
        r.recent.pop_back();
    }
    return impl;
}

}  // namespace

Locale::Locale() : Locale(root()) {}

Locale Locale::withIdentifier(std::string_view identifier) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return Locale(intern(r, identifier));
}

Locale Locale::root() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return Locale(intern(r, ""));
}

Locale Locale::current() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.current) r.current = intern(r, icu::Locale::getDefault().getName());
    return Locale(r.current);
}

void Locale::setCurrent(const Locale& locale) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.current = locale._impl;
}

std::string detail::dataLocaleName(const Locale& locale) { return locale.impl().icu.getName(); }

const std::string& Locale::identifier() const { return _impl->identifier; }
const std::string& Locale::decimalSeparator() const { return _impl->decimalSeparator; }
const std::string& Locale::groupingSeparator() const { return _impl->groupingSeparator; }
const std::string& Locale::minusSign() const { return _impl->minusSign; }
const std::string& Locale::exponentSymbol() const { return _impl->exponentSymbol; }
const std::array<std::string, 10>& Locale::digits() const { return _impl->digits; }
const std::string& Locale::currencyCode() const { return _impl->currencyCode; }
bool Locale::isRightToLeft() const { return _impl->rightToLeft; }

}  // namespace plat
