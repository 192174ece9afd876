#include "binding/SpacerItems.h"

#include <cctype>
#include <string>

#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"

namespace kivo::detail {

std::optional<std::int32_t> spacerHeightOfText(std::string_view text) {
    if (!text.starts_with(SpacerPrefix)) return std::nullopt;
    std::string rest;
    rest.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, SpacerPrefix.size(), SpacerPrefix) == 0) {
            i += SpacerPrefix.size();
        } else {
            rest += text[i];
            ++i;
        }
    }
    // The platform's integer reading of a text: leading white space, a sign, then digits.
    std::size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
    bool negative = false;
    if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) negative = rest[i++] == '-';
    std::int64_t value = 0;
    for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i) {
        value = value * 10 + (rest[i] - '0');
        if (value > std::int64_t{INT32_MAX} + 1) value = std::int64_t{INT32_MAX} + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<std::int32_t>(value);
}

namespace {
// Apart from the test below, which then needs no stack of its own: a million items pass through it.
[[gnu::noinline]] std::optional<std::int32_t> describedSpacerHeight(const plat::Object& object) {
    return spacerHeightOfText(object.description());
}
}  // namespace

std::optional<std::int32_t> spacerHeight(const plat::Value& item) {
    if (item.isString()) return spacerHeightOfText(item.asString());
    // The platform's own description names the class and an address: it never begins with the prefix,
    // and formatting it for a million items would cost more than binding them. The class is the
    // value's, so a million items that do not describe themselves are passed over unread.
    const plat::ClassInfo* cls = item.objectClass();
    // Answered as a whole word: a nullopt built here is written a byte at a time and read back whole,
    // a stall the compiler would add to every item.
    static constexpr std::optional<std::int32_t> None;
    if (!cls || !cls->hasOwnDescription()) return None;
    return describedSpacerHeight(*item.asObject());
}

}  // namespace kivo::detail
