#include "format/KivoPlainNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace kivo::detail {
namespace {

// The shortest round-trip digits of |d| (finite) as d1 d2 ... dn x 10^exponent, d1 before the point.
struct Shortest {
    char digits[24];
    int count = 0;
    int exponent = 0;
};

Shortest shortest(double d) {
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(d), std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    Shortest out;
    size_t e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (s[i] != '.') out.digits[out.count++] = s[i];
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), out.exponent);
    return out;
}

// Decimal exponents written out in full; others get an exponent, as printf's "%.17g" does.
constexpr int MinPositionalExponent = -4;
constexpr int MaxPositionalExponent = 16;

}  // namespace

std::optional<PlainNumber> PlainNumber::from(const plat::Value& v) {
    switch (v.kind()) {
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Integer:
            return PlainNumber{v.asDouble(), v.asInteger()};
        case plat::Value::Kind::Double:
            return PlainNumber{v.asDouble(), std::nullopt};
        default:
            return std::nullopt;
    }
}

std::string plainText(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d < 0 ? "-inf" : "inf";
    Shortest s = shortest(d);
    std::string out = std::signbit(d) ? "-" : "";
    if (s.exponent < MinPositionalExponent || s.exponent > MaxPositionalExponent) {
        out += s.digits[0];
        if (s.count > 1) {
            out += '.';
            out.append(s.digits + 1, static_cast<size_t>(s.count - 1));
        }
        char exp[8];
        int e = std::abs(s.exponent);
        out += s.exponent < 0 ? "e-" : "e+";
        auto r = std::to_chars(exp, exp + sizeof exp, e);
        if (e < 10) out += '0';
        out.append(exp, r.ptr);
        return out;
    }
    if (s.exponent >= 0) {
        int intDigits = s.exponent + 1;
        for (int i = 0; i < intDigits; ++i) out += i < s.count ? s.digits[i] : '0';
        if (s.count > intDigits) {
            out += '.';
            out.append(s.digits + intDigits, static_cast<size_t>(s.count - intDigits));
        }
    } else {
        out += "0.";
        out.append(static_cast<size_t>(-s.exponent - 1), '0');
        out.append(s.digits, static_cast<size_t>(s.count));
    }
    return out;
}

std::string PlainNumber::text() const {
    if (exact) return std::to_string(*exact);
    return plainText(value);
}

int PlainNumber::integerDigits() const {
    if (exact) {
        std::uint64_t m = *exact < 0 ? 0 - static_cast<std::uint64_t>(*exact) : static_cast<std::uint64_t>(*exact);
        int n = 1;
        while (m >= 10) m /= 10, ++n;
        return n;
    }
    if (!std::isfinite(value) || value == 0) return 1;
    Shortest s = shortest(value);
    return s.exponent >= 0 ? s.exponent + 1 : 1;
}

int PlainNumber::fractionDigits() const {
    if (exact || !std::isfinite(value) || value == 0) return 0;
    Shortest s = shortest(value);
    return std::max(0, s.count - 1 - s.exponent);
}

}  // namespace kivo::detail
