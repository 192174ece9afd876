#include "clipboard/PasteConversion.h"

#include <string>

#include "OmbriGrid/GridColumn.h"

namespace kivo::detail {

namespace {

constexpr std::int64_t TypeNumber = 3, TypeBoolean = 4, TypeDate = 5;

// Longer than any number is written, grouping separators, sign and fraction included (the largest
// double has 309 digits): such a text is not read at all, as the parser's time grows faster than its
// length.
constexpr std::size_t MaxNumberTextCharacters = 512;

// Whether the UTF-8 text holds more than `most` characters, looking no further than that.
bool longerThan(std::string_view text, std::size_t most) {
    if (text.size() <= most) return false;
    std::size_t characters = 0;
    for (const char byte : text)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80 && ++characters > most) return true;
    return false;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

PasteConverter::PasteConverter()
    : _number(plat::NumberFormatter::Style::Decimal, plat::Locale::current()),
      _shortDate(plat::Locale::current(), plat::TimeZone::current()),
      _detector(plat::Locale::current(), plat::TimeZone::current()) {
    _shortDate.setDateStyle(plat::DateFormatter::Style::Short);
}

std::optional<plat::Date> PasteConverter::dateFromString(std::string_view text) const {
    if (auto found = _detector.firstDate(text)) return found->date;
    return std::nullopt;
}

std::optional<plat::Date> PasteConverter::readDate(std::string_view text, const GridColumn& target) const {
    const auto* own = dynamic_cast<const plat::DateFormatter*>(target.formatter().get());
    if (auto date = (own ? *own : _shortDate).parse(text)) return date;
    return dateFromString(text);
}

PastedValue PasteConverter::convert(const plat::Value& value, const GridColumn& target) const {
    using Outcome = PastedValue::Outcome;
    const std::int64_t type = target.dataType();
    if (type != TypeNumber && type != TypeBoolean && type != TypeDate) {
        // Text goes in as it is, blanks and all; nil clears the cell.
        if (value.isNil() || value.isString()) return {Outcome::Store, std::nullopt};
        return {Outcome::Store, plat::Value(value.description())};
    }
    if (value.isNil()) return {Outcome::Empty, std::nullopt};
    if (type == TypeDate ? value.isDate() : value.isNumber()) return {Outcome::Store, std::nullopt};
    const std::string described = value.isString() ? std::string() : value.description();
    const std::string_view text = trimmed(value.isString() ? std::string_view(value.asString()) : std::string_view(described));
    if (text.empty()) return {Outcome::Empty, std::nullopt};
    if (type == TypeDate) {
        if (auto date = readDate(text, target)) return {Outcome::Store, plat::Value(*date)};
        return {Outcome::Unchanged, std::nullopt};
    }
    if (type == TypeBoolean) {
        if (equalsIgnoringAsciiCase(text, "true")) return {Outcome::Store, plat::Value(true)};
        if (equalsIgnoringAsciiCase(text, "false")) return {Outcome::Store, plat::Value(false)};
    }
    if (longerThan(text, MaxNumberTextCharacters)) return {Outcome::Unchanged, std::nullopt};
    if (auto number = _number.parse(text)) return {Outcome::Store, plat::Value(*number)};
    return {Outcome::Unchanged, std::nullopt};
}

}  // namespace kivo::detail
