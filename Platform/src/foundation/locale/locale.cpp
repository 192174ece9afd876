#include "Platform/foundation/locale/locale.h"

#include <unicode/dcfmtsym.h>
#include <unicode/ucurr.h>

#include <mutex>
#include <unordered_map>

#include "icu_bridge.h"

namespace plat {
namespace {

std::shared_ptr<const Locale::Impl> makeImpl(const icu::Locale& loc) {
    auto impl = std::make_shared<Locale::Impl>();
    impl->icu = loc;
    impl->identifier = loc.getName();
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(loc, status);
    if (U_SUCCESS(status)) {
        impl->decimalSeparator = icu_bridge::fromICU(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
        impl->groupingSeparator = icu_bridge::fromICU(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
        impl->minusSign = icu_bridge::fromICU(symbols.getSymbol(icu::DecimalFormatSymbols::kMinusSignSymbol));
    } else {
        impl->decimalSeparator = ".";
        impl->groupingSeparator = ",";
        impl->minusSign = "-";
    }
    status = U_ZERO_ERROR;
    UChar code[4] = {};
    int32_t len = ucurr_forLocale(loc.getName(), code, 4, &status);
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

// Locales are interned: one Impl per canonical name, found again by every spelling asked for.
struct Registry {
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const Locale::Impl>> byRequest, byCanonical;
    std::shared_ptr<const Locale::Impl> current;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: locales may be used during static teardown
    return *r;
}

std::shared_ptr<const Locale::Impl> intern(Registry& r, std::string_view identifier) {
    // Caller holds r.mutex.
    std::string key(identifier);
    if (auto it = r.byRequest.find(key); it != r.byRequest.end()) return it->second;
    icu::Locale loc;
    if (key.find('-') != std::string::npos) {
        UErrorCode status = U_ZERO_ERROR;
        loc = icu::Locale::forLanguageTag(key, status);
        if (U_FAILURE(status)) loc = icu::Locale(key.c_str());
    } else {
        loc = key.empty() ? icu::Locale::getRoot() : icu::Locale(key.c_str());
    }
    if (loc.isBogus()) loc = icu::Locale::getRoot();
    std::string canonical = loc.getName();
    auto& slot = r.byCanonical[canonical];
    if (!slot) slot = makeImpl(loc);
    r.byRequest.emplace(std::move(key), slot);
    return slot;
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

const std::string& Locale::identifier() const { return _impl->identifier; }
const std::string& Locale::decimalSeparator() const { return _impl->decimalSeparator; }
const std::string& Locale::groupingSeparator() const { return _impl->groupingSeparator; }
const std::string& Locale::minusSign() const { return _impl->minusSign; }
const std::string& Locale::currencyCode() const { return _impl->currencyCode; }

}  // namespace plat
