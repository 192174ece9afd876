#include "format/KivoNumberText.h"

namespace kivo::detail {

bool startsWithAt(std::string_view text, std::size_t at, std::string_view part) {
    return !part.empty() && at <= text.size() && text.size() - at >= part.size() && text.compare(at, part.size(), part) == 0;
}

NumberText::Digit NumberText::digitAt(std::string_view text, std::size_t at) const {
    if (at >= text.size()) return {};
    if (text[at] >= '0' && text[at] <= '9') return {text[at] - '0', 1};
    // A UTF-8 continuation byte never starts a digit, so scanning byte by byte finds only whole ones.
    const auto& digits = _locale.digits();
    for (int d = 0; d < 10; ++d)
        if (startsWithAt(text, at, digits[static_cast<std::size_t>(d)])) return {d, digits[static_cast<std::size_t>(d)].size()};
    return {};
}

bool NumberText::hasZero(std::string_view text) const {
    const std::string& zero = _locale.digits()[0];
    return text.find('0') != std::string_view::npos || (!zero.empty() && text.find(zero) != std::string_view::npos);
}

std::size_t NumberText::signLength(std::string_view text) const {
    std::size_t at = 0;
    while (at < text.size() && digitAt(text, at).length == 0 && !startsWithAt(text, at, decimalMark())) ++at;
    return at;
}

std::string_view NumberText::withoutTrailingZeros(std::string_view text) const {
    const std::string& zero = _locale.digits()[0];
    for (;;) {
        if (text.size() > 1 && text.back() == '0') {
            text.remove_suffix(1);
        } else if (!zero.empty() && text.size() > zero.size() && text.ends_with(zero)) {
            text.remove_suffix(zero.size());
        } else {
            return text;
        }
    }
}

bool NumberText::leadingNumberIsZero(std::string_view text) const {
    bool seenPoint = false;
    for (std::size_t at = 0; at < text.size();) {
        if (Digit d = digitAt(text, at); d.length > 0) {
            if (d.value != 0) return false;
            at += d.length;
        } else if (!seenPoint && startsWithAt(text, at, decimalMark())) {
            seenPoint = true;
            at += decimalMark().size();
        } else {
            break;
        }
    }
    return true;
}

NumberText::Mark NumberText::exponentMark(std::string_view text) const {
    const std::string& symbol = _locale.exponentSymbol();
    if (!symbol.empty())
        if (std::size_t at = text.find(symbol); at != std::string_view::npos) return {at, symbol.size()};
    for (char c : {'E', 'e'})
        if (std::size_t at = text.find(c); at != std::string_view::npos) return {at, 1};
    return {};
}

}  // namespace kivo::detail
