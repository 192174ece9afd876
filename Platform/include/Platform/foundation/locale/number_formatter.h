#pragma once
// Locale-aware number formatting (decimal, currency, percent, scientific) with digit limits and
// grouping. Rounding is half to even on the number's shortest decimal form (2.345 -> "2.34").
// Settings are plain fields; the ICU formatter behind a combination of settings is built once per
// process and shared, so reconfiguring a formatter back and forth costs a hash lookup, not a rebuild.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/locale/formatter.h"
#include "Platform/foundation/locale/locale.h"

namespace plat {

class PLAT_EXPORT NumberFormatter : public Formatter {
public:
    enum class Style : std::uint8_t { Decimal, Currency, Percent, Scientific };
    // Digit counts are clamped to 0...MaxDigits.
    static constexpr int MaxDigits = 999;
    static constexpr int Unlimited = -1;

    explicit NumberFormatter(Style style, Locale locale);
    NumberFormatter(const NumberFormatter&);
    NumberFormatter& operator=(const NumberFormatter&);
    NumberFormatter(NumberFormatter&&) noexcept;
    NumberFormatter& operator=(NumberFormatter&&) noexcept;
    ~NumberFormatter() override;

    Style style() const { return _s.style; }
    // Also resets digit limits and grouping to the style's defaults: decimal 0...3 fraction digits
    // with grouping; currency the currency's own digits with grouping; percent no fraction digits with
    // grouping; scientific 0...6 fraction digits (one integer digit always) without grouping.
    void setStyle(Style style);
    const Locale& locale() const { return _locale; }
    void setLocale(const Locale& locale);

    int minimumIntegerDigits() const { return _s.minInt; }
    void setMinimumIntegerDigits(int n);
    // Unlimited by default; a limit cuts the highest digits, as the platform's formatters do.
    int maximumIntegerDigits() const { return _s.maxInt; }
    void setMaximumIntegerDigits(int n);
    int minimumFractionDigits() const;
    // Raising the minimum above the maximum raises the maximum, and the other way round.
    void setMinimumFractionDigits(int n);
    int maximumFractionDigits() const;
    void setMaximumFractionDigits(int n);
    bool usesGrouping() const { return _s.grouping; }
    void setUsesGrouping(bool on);

    // NaN and infinities come out as the locale's symbols.
    std::string format(double value) const;
    std::string format(std::int64_t value) const;
    // Appending forms, for callers that build texts in a reused buffer.
    void appendTo(std::string& out, double value) const;
    void appendTo(std::string& out, std::int64_t value) const;
    // Numbers (true and false as 1 and 0); no text for any other kind of value.
    std::optional<std::string> stringForObjectValue(const Value& value) const override;

    // The number a whole text reads as, in this formatter's style, locale and grouping ("1,234.5" in
    // en_US decimal; "12,5 %" in de_DE percent is 0.125). White space around the text is ignored.
    // Nothing for a text that is not a number, or that has anything left over after it ("12abc").
    // Digit limits leave reading alone: every digit given is read.
    std::optional<double> parse(std::string_view text) const;

    // Implementation detail, public only for the formatter cache: the settings as one value, and the
    // shared ICU formatter built for them.
    struct Compiled;
    struct Settings {
        Style style = Style::Decimal;
        const void* locale = nullptr;  // identity of the interned locale
        int minInt = 1, maxInt = Unlimited;
        int minFrac = -1, maxFrac = -1;  // -1: the style's default
        bool grouping = true;
        friend bool operator==(const Settings&, const Settings&) = default;
    };

private:
    PLAT_NO_EXPORT const Compiled& compiled() const;

    Settings _s;
    Locale _locale;
    mutable std::shared_ptr<const Compiled> _compiled;
};

}  // namespace plat
