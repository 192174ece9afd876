#pragma once
// Formats numbers by numeric format strings: the standard forms (one format letter among C, D, E, F,
// G, N, P, R and X, upper or lower case, optionally followed by a single precision digit) and custom
// patterns of "0", "#", "," and ".".
// Every control's labels and texts go through it. Used through its class methods, which work on one
// shared instance; separators and symbols follow the locale named by an identifier (none: the
// process's current locale).
//
// Texts are optional: a "#" pattern gives no text at all for a value that shows as zero, and a value
// that is not a number gives none either.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/locale/regex.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {
struct PlainNumber;
struct CustomPattern;
}  // namespace kivo::detail

class KIVO_CORE_EXPORT KivoNumberFormatter : public plat::Object {
public:
    using Text = std::optional<std::string>;

    // Pattern forms, as the classification remembers them.
    enum Form : std::int64_t {
        FormStandard = 0,
        FormZeroPlaceholder = 1,
        FormDigitPlaceholder = 2,
        FormMixedPlaceholder = 3,
        FormNone = 4
    };

    KivoNumberFormatter();
    ~KivoNumberFormatter() override;
    static std::shared_ptr<KivoNumberFormatter> shared();

    // The public surface. No pattern or an empty one, and patterns that fit no form, give the number's
    // plain text. Thread-safe (the shared instance is locked for the call).
    static Text numberToStringWithParameters(const plat::Value& number, std::string_view pattern);
    static Text numberToStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    // A standard form without classifying: the pattern's first letter picks the form, the rest of it
    // (an integer, 0 when it is none) the precision. An unknown letter gives the plain text.
    static Text numberToStandardStringWithParameters(const plat::Value& number, std::string_view pattern,
                                                     std::string_view locale);

    // The forms, on this instance (not locked: callers other than the class methods own the instance).
    Text valueToCurrencyStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToDecimalStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToExponentialStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToFixedpointStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToGeneralStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToNumberStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text valueToPercentStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    // Locale-free: the plain text, which reads back to the same double.
    Text valueToRoundtripStringWithParameters(const plat::Value& number, std::string_view pattern, std::string_view locale);
    // Locale-free two's-complement hexadecimal: one byte for -128...127, 32 bits up to the 32-bit
    // range, 64 bits beyond it; not-a-number, infinities and values beyond 64 bits give the plain text.
    Text valueToHexadecimalStringWithParameters(const plat::Value& number, std::string_view pattern);

    // Custom patterns: "0" only, "#" only, and both mixed.
    Text toStringUseZeroPlaceHolderWithNumber(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text toStringUseDigitPlaceHolderWithNumber(const plat::Value& number, std::string_view pattern, std::string_view locale);
    Text toStringUseZeroAndDigitPlaceHolderWithNumber(const plat::Value& number, std::string_view pattern,
                                                      std::string_view locale);

    // Trailing zeros of the mantissa ("1.500E3" -> "1.5E3"; the point stays: "1.E5"). Zeros and the
    // exponent mark are read as ASCII and as the locale of the last formatting writes them.
    std::string removeScientificZeros(std::string_view text) const;
    // Trailing zeros of a fixed-point text ("2.50" -> "2.5", "100000.000" -> "100000."), likewise.
    std::string removeZeroAfterDecimalPoint(std::string_view text) const;

    // The classification cache. The four tests are the regular expressions of the forms; classifying
    // decides the same in one pass over the pattern.
    void resetNSNumberFormatter();
    const std::optional<std::string>& getPrePattern() const { return _savePattern; }
    std::int64_t getCount() const { return _saveCount; }
    std::array<const plat::RegularExpression*, 4> getPredicteArray() const {
        return {&_predicate0, &_predicate1, &_predicate2, &_predicate3};
    }
    void savePattern(std::string_view pattern) { _savePattern = std::string(pattern); }
    void saveCount(std::int64_t count) { _saveCount = count; }

private:
    // The core's private types: the members that take them stay out of the exported symbols.
    using Number = kivo::detail::PlainNumber;
    using Plan = kivo::detail::CustomPattern;
    struct Precision;
    enum class Grouping : std::uint8_t { Off, On, StyleDefault };

    KIVO_CORE_NO_EXPORT Text dispatch(const plat::Value& number, std::string_view pattern, std::string_view locale);
    KIVO_CORE_NO_EXPORT Text standard(const plat::Value& number, std::string_view pattern, std::string_view locale);
    KIVO_CORE_NO_EXPORT Text standard(const Number& n, std::string_view pattern, std::string_view locale);
    KIVO_CORE_NO_EXPORT std::int64_t classify(std::string_view pattern) const;
    KIVO_CORE_NO_EXPORT const plat::Locale& localeFor(std::string_view identifier);
    KIVO_CORE_NO_EXPORT std::string formatWith(const Number& n, plat::NumberFormatter::Style style, int minFraction,
                                               int maxFraction, Grouping grouping, int minInteger, std::string_view locale);
    KIVO_CORE_NO_EXPORT std::string fractionForm(const Number& n, std::string_view pattern, std::string_view locale,
                                                 plat::NumberFormatter::Style style, Grouping grouping);
    KIVO_CORE_NO_EXPORT std::string decimal(const Number& n, std::string_view pattern, std::string_view locale);
    KIVO_CORE_NO_EXPORT std::string exponential(const Number& n, char letter, const Precision& p, std::string_view locale);
    KIVO_CORE_NO_EXPORT std::string general(const Number& n, std::string_view pattern, std::string_view locale);
    KIVO_CORE_NO_EXPORT std::string roundtrip(const Number& n, std::string_view pattern) const;
    KIVO_CORE_NO_EXPORT std::string hexadecimal(const Number& n, std::string_view pattern) const;
    KIVO_CORE_NO_EXPORT static KivoNumberFormatter& instance();
    KIVO_CORE_NO_EXPORT static Plan readPlan(std::int64_t form, std::string_view pattern);
    // The plan of a custom pattern, read again only when the pattern or its form changes.
    KIVO_CORE_NO_EXPORT const Plan& planFor(std::int64_t form, std::string_view pattern);
    KIVO_CORE_NO_EXPORT std::string formatPlan(const Number& n, const Plan& plan, std::string_view locale);
    KIVO_CORE_NO_EXPORT Text trimDigitPlaceholders(std::string text) const;

    plat::NumberFormatter _formatter;
    std::optional<std::string> _savePattern;
    std::int64_t _saveCount = 0;
    plat::RegularExpression _predicate0, _predicate1, _predicate2, _predicate3;
    std::unique_ptr<Plan> _plan;  // the last custom pattern, read once
    std::string _planPattern;
    std::int64_t _planForm = FormNone;

    std::string _lastLocaleIdentifier;  // the locale of the last call, so repeats skip the lookup
    plat::Locale _lastLocale;
    std::mutex _mutex;  // held by the class methods
};
