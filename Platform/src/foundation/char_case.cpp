#include "Platform/foundation/char_case.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace plat {

bool isUppercaseLetter(char32_t c) {
    const auto type = u_charType(static_cast<UChar32>(c));
    return type == U_UPPERCASE_LETTER || type == U_TITLECASE_LETTER;
}

std::string utf8Of(char32_t c) {
    char buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    UBool error = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (error) return "\xEF\xBF\xBD";
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string upperCased(char32_t c) {
    UChar in[2];
    int32_t inLength = 0;
    UBool error = false;
    U16_APPEND(in, inLength, 2, static_cast<UChar32>(c), error);
    if (error) return utf8Of(c);
    UChar out[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t outLength = u_strToUpper(out, 8, in, inLength, "", &status);
    if (U_FAILURE(status) || outLength > 8) return utf8Of(c);
    std::string result;
    for (int32_t i = 0; i < outLength;) {
        UChar32 cp;
        U16_NEXT(out, i, outLength, cp);
        result += utf8Of(static_cast<char32_t>(cp));
    }
    return result;
}

char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    auto i = static_cast<int32_t>(pos);
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
    pos = static_cast<std::size_t>(i);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

}  // namespace plat
