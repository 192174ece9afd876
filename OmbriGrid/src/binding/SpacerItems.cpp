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

std::optional<std::int32_t> spacerHeight(const plat::Value& item) {
    if (item.isString()) return spacerHeightOfText(item.asString());
    if (!item.isObject()) return std::nullopt;
    const plat::Object& object = *item.asObject();
    // The platform's own description names the class and an address: it never begins with the prefix,
    // and formatting it for a million items would cost more than binding them.
    if (!object.classInfo().hasOwnDescription()) return std::nullopt;
    return spacerHeightOfText(object.description());
}

}  // namespace kivo::detail
