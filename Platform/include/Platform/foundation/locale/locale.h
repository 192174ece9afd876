#pragma once
// A locale by identifier ("en_US", "de-DE"): which symbols, patterns and names formatting uses.
// Formatting always takes a locale explicitly; `current()` is a settable process default that starts
// from the environment (LANG) and that tests pin.

#include <memory>
#include <string>
#include <string_view>

namespace plat {

class Locale {
public:
    struct Impl;  // ICU side, private to the platform layer

    // The neutral (root) locale.
    Locale();
    // Accepts "_" and "-" separated identifiers; unknown ones fall back to ICU's nearest data (root).
    static Locale withIdentifier(std::string_view identifier);
    static Locale root();
    static Locale current();
    static void setCurrent(const Locale& locale);

    // The canonical identifier ("en_US"; "" for the root locale).
    const std::string& identifier() const;
    // Symbols of the locale's default numbering system, in UTF-8.
    const std::string& decimalSeparator() const;
    const std::string& groupingSeparator() const;
    const std::string& minusSign() const;
    // ISO 4217 code of the locale's currency; "XXX" when the locale names no region.
    const std::string& currencyCode() const;

    // Equal locales share one Impl, so comparison is by identity.
    friend bool operator==(const Locale& a, const Locale& b) { return a._impl == b._impl; }
    const Impl& impl() const { return *_impl; }

private:
    explicit Locale(std::shared_ptr<const Impl> impl) : _impl(std::move(impl)) {}
    std::shared_ptr<const Impl> _impl;
};

}  // namespace plat
