#pragma once
// A locale by identifier ("en_US", "de-DE"): which symbols, patterns and names formatting uses.
// Formatting always takes a locale explicitly; `current()` is a settable process default that starts
// from the environment (LANG) and that tests pin.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

class PLAT_EXPORT Locale {
public:
    struct Impl;  // ICU side, private to the platform layer

    // The neutral (root) locale.
    Locale();
    // Accepts "_" and "-" separated identifiers; unknown ones fall back to ICU's nearest data (root).
    // The most recently asked identifiers (up to MaxRememberedIdentifiers) are found again without
    // rebuilding; older ones are rebuilt on request, so a flood of distinct identifiers costs bounded
    // memory. One locale's data stays shared by every spelling of it while any Locale holds it.
    static Locale withIdentifier(std::string_view identifier);
    static constexpr std::size_t MaxRememberedIdentifiers = 128;
    static Locale root();
    static Locale current();
    static void setCurrent(const Locale& locale);

    // The canonical identifier ("en_US"; "" for the root locale).
    const std::string& identifier() const;
    // Symbols of the locale's default numbering system, in UTF-8.
    const std::string& decimalSeparator() const;
    const std::string& groupingSeparator() const;
    const std::string& minusSign() const;
    // The digits 0...9 and the exponent mark of scientific texts ("E"; "×10^" in Swedish), as the
    // locale's default numbering system writes them (Arabic-Indic digits in ar_EG, Thai digits in
    // "th_TH@numbers=thai").
    const std::array<std::string, 10>& digits() const;
    const std::string& exponentSymbol() const;
    // ISO 4217 code of the locale's currency; "XXX" when the locale names no region.
    const std::string& currencyCode() const;
    // Whether the locale's script is written from right to left (Arabic, Hebrew, Persian, …).
    bool isRightToLeft() const;

    // Equal locales that live at the same time share one Impl, so comparison is by identity.
    friend bool operator==(const Locale& a, const Locale& b) { return a._impl == b._impl; }
    const Impl& impl() const { return *_impl; }

private:
    explicit Locale(std::shared_ptr<const Impl> impl) : _impl(std::move(impl)) {}
    std::shared_ptr<const Impl> _impl;
};

}  // namespace plat
