#include "OmbriGrid/KivoInternalCamelConversion.h"

#include <cctype>

std::string KivoInternalCamelConversionNSString(std::string_view name) {
    // Letters outside ASCII pass unchanged: the rule only splits Latin camel case.
    std::string out;
    out.reserve(name.size() + name.size() / 4);
    bool wordStart = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (i == 0) {
            out += static_cast<char>(std::toupper(c));
            wordStart = true;
        } else if (!wordStart && c < 0x80 && std::isupper(c)) {
            out += ' ';
            out += static_cast<char>(c);
            wordStart = true;
        } else {
            out += static_cast<char>(c);
            wordStart = false;
        }
    }
    return out;
}
