#include "mask/MaskLocale.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/locale/timezone.h"

namespace kivo::detail {

namespace {

// Spacing and direction marks that currency formats put around the symbol.
constexpr std::string_view SymbolPadding[] = {" ", "\u00A0", "\u202F", "\u200E", "\u200F", "\u061C"};

bool startsWithAny(std::string_view text, std::size_t at, const std::vector<std::string_view>& pieces, std::size_t& length) {
    for (std::string_view piece : pieces) {
        if (!piece.empty() && text.substr(at, piece.size()) == piece) {
            length = piece.size();
            return true;
        }
    }
    return false;
}

// The locale has no symbol accessor of its own: format zero as currency and keep what is neither a
// digit, a separator, a sign nor spacing ("$0.00" -> "$", "0,00 €" -> "€").
std::string currencySymbol(const plat::Locale& locale) {
    const std::string formatted = plat::NumberFormatter(plat::NumberFormatter::Style::Currency, locale).format(0.0);
    std::vector<std::string_view> skipped(std::begin(SymbolPadding), std::end(SymbolPadding));
    for (const std::string& digit : locale.digits()) skipped.push_back(digit);
    skipped.push_back(locale.decimalSeparator());
    skipped.push_back(locale.groupingSeparator());
    skipped.push_back(locale.minusSign());
    std::string symbol;
    for (std::size_t i = 0; i < formatted.size();) {
        std::size_t length = 0;
        if (startsWithAny(formatted, i, skipped, length)) {
            i += length;
        } else {
            symbol += formatted[i++];
        }
    }
    return symbol;
}

}  // namespace

MaskLocaleLiterals currentMaskLocaleLiterals() {
    const plat::Locale locale = plat::Locale::current();
    return {locale.decimalSeparator(), locale.groupingSeparator(), currencySymbol(locale)};
}

std::string currentDateTimeSeparator(bool isDate) {
    plat::DateFormatter formatter(plat::Locale::current(), plat::TimeZone::current());
    formatter.setDateStyle(isDate ? plat::DateFormatter::Style::Short : plat::DateFormatter::Style::None);
    formatter.setTimeStyle(isDate ? plat::DateFormatter::Style::None : plat::DateFormatter::Style::Short);
    const std::string sample = formatter.format(plat::Date::now());
    const std::string_view candidates = isDate ? "/-." : ":-.";
    const auto found =
        std::find_if(sample.begin(), sample.end(), [&](char c) { return candidates.find(c) != std::string_view::npos; });
    if (found == sample.end()) return isDate ? "/" : ":";
    return std::string(1, *found);
}

}  // namespace kivo::detail
