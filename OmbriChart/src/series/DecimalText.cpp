#include "series/DecimalText.h"

#include <charconv>
#include <string>

namespace {

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return !prefix.empty() && text.substr(at, prefix.size()) == prefix;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The locale's digit (or an ASCII digit) at `at`: its value and how many bytes it takes.
bool readDigit(std::string_view text, std::size_t at, const plat::Locale& locale, int& value, std::size_t& length) {
    if (at >= text.size()) return false;
    if (text[at] >= '0' && text[at] <= '9') {
        value = text[at] - '0';
        length = 1;
        return true;
    }
    const auto& digits = locale.digits();
    for (int d = 0; d < 10; ++d)
        if (startsWith(text, at, digits[static_cast<std::size_t>(d)])) {
            value = d;
            length = digits[static_cast<std::size_t>(d)].size();
            return true;
        }
    return false;
}

// Appends the digits at `at` to `out` (grouping separators skipped when `grouped`); answers how many
// digits were read.
std::size_t readDigits(std::string_view text, std::size_t& at, const plat::Locale& locale, bool grouped, std::string& out) {
    std::size_t count = 0;
    const std::string& group = locale.groupingSeparator();
    while (at < text.size()) {
        int value = 0;
        std::size_t length = 0;
        if (readDigit(text, at, locale, value, length)) {
            out.push_back(static_cast<char>('0' + value));
            at += length;
            ++count;
        } else if (grouped && count > 0 && startsWith(text, at, group)) {
            // A separator only between digits.
            int next = 0;
            std::size_t nextLength = 0;
            if (!readDigit(text, at + group.size(), locale, next, nextLength)) break;
            at += group.size();
        } else {
            break;
        }
    }
    return count;
}

void readSign(std::string_view text, std::size_t& at, const plat::Locale& locale, std::string& out) {
    if (startsWith(text, at, locale.minusSign())) {
        out.push_back('-');
        at += locale.minusSign().size();
    } else if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        if (text[at] == '-') out.push_back('-');
        ++at;
    }
}

}  // namespace

namespace kivo::detail {

std::optional<double> parseDecimal(std::string_view text, const plat::Locale& locale) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isSpace(text[begin])) ++begin;
    while (end > begin && isSpace(text[end - 1])) --end;
    text = text.substr(begin, end - begin);

    std::string ascii;
    std::size_t at = 0;
    readSign(text, at, locale, ascii);
    std::size_t digits = readDigits(text, at, locale, true, ascii);
    if (startsWith(text, at, locale.decimalSeparator())) {
        at += locale.decimalSeparator().size();
        ascii.push_back('.');
        digits += readDigits(text, at, locale, false, ascii);
    }
    if (digits == 0) return std::nullopt;

    const std::string& exponent = locale.exponentSymbol();
    std::size_t markLength = 0;
    if (startsWith(text, at, exponent))
        markLength = exponent.size();
    else if (at < text.size() && (text[at] == 'E' || text[at] == 'e'))
        markLength = 1;
    if (markLength > 0) {
        std::size_t after = at + markLength;
        std::string power = "e";
        readSign(text, after, locale, power);
        if (readDigits(text, after, locale, false, power) == 0) return std::nullopt;
        ascii += power;
        at = after;
    }
    if (at != text.size()) return std::nullopt;

    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    // A number beyond the doubles (out of range) is no usable value either.
    if (ec != std::errc() || ptr != ascii.data() + ascii.size()) return std::nullopt;
    return value;
}

}  // namespace kivo::detail
