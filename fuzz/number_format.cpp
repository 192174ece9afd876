// Number formatting and reading with arbitrary patterns, settings, locales and values. A format
// pattern of any bytes gives a text or none, never a malformed one; a finite number that the
// platform's decimal formatter writes reads back as that number within the rounding its fraction
// digits allow; any text either reads as a number or not.
#include <cmath>
#include <cstring>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/utf16.h"
#include "Platform/foundation/value.h"
#include "fuzz_support.h"

namespace {

constexpr const char* Locales[] = {"en_US", "de_DE", "fr_FR", "hi_IN", "ar_EG", "ja_JP", "de_CH", ""};

void checkWellFormed(const std::optional<std::string>& text, const std::string& what) {
    if (text && plat::toUtf8(plat::toUtf16(*text)) != *text) fuzz::fail("a formatted text is well-formed UTF-8", what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    const std::uint8_t kind = in.byte();
    const std::string locale = Locales[in.byte() % std::size(Locales)];
    const int maxFraction = in.byte() % 8;
    double number = 0;
    std::uint8_t raw[sizeof number];
    for (auto& b : raw) b = in.byte();
    std::memcpy(&number, raw, sizeof number);
    const std::string pattern = in.text('\n', 32);
    const std::string text = in.rest();

    const plat::Value value =
        kind & 1 ? plat::Value(static_cast<std::int64_t>(std::llround(std::fmod(number, 9e18)))) : plat::Value(number);
    const std::string what = "pattern \"" + pattern + "\" locale \"" + locale + "\"";
    checkWellFormed(KivoNumberFormatter::numberToStringWithParameters(value, pattern, locale), what);
    checkWellFormed(KivoNumberFormatter::numberToStandardStringWithParameters(value, pattern, locale), what);

    plat::NumberFormatter formatter(plat::NumberFormatter::Style::Decimal,
                                    plat::Locale::withIdentifier(locale.empty() ? "en_US" : locale));
    formatter.setMaximumFractionDigits(maxFraction);
    formatter.setUsesGrouping(kind & 2);
    (void)formatter.parse(text);
    if (std::isfinite(number) && std::fabs(number) < 1e15) {
        const std::string written = formatter.format(number);
        const auto read = formatter.parse(written);
        const double allowed = 0.5 * std::pow(10.0, -maxFraction) * (1 + 1e-9) + std::fabs(number) * 1e-15;
        if (!read || std::fabs(*read - number) > allowed)
            fuzz::fail("a written number reads back", what + " " + std::to_string(number) + " -> \"" + written + "\" -> " +
                                                          (read ? std::to_string(*read) : std::string("nothing")));
    }
    for (const auto style : {plat::NumberFormatter::Style::Currency, plat::NumberFormatter::Style::Percent,
                             plat::NumberFormatter::Style::Scientific}) {
        formatter.setStyle(style);
        checkWellFormed(formatter.format(number), what);
        (void)formatter.parse(text);
    }
    return 0;
}
