#include "OmbriGrid/KivoInternalCamelConversion.h"

#include "Platform/foundation/char_case.h"

std::string KivoInternalCamelConversionNSString(std::string_view name) {
    // Character by character: each upper-case letter after one that did not start a word starts one.
    std::string out;
    out.reserve(name.size() + name.size() / 4);
    bool wordStart = false;
    for (std::size_t pos = 0; pos < name.size();) {
        const bool first = pos == 0;
        const std::size_t at = pos;
        const char32_t c = plat::nextCodePoint(name, pos);
        if (first) {
            out += plat::upperCased(c);
            wordStart = true;
        } else if (!wordStart && plat::isUppercaseLetter(c)) {
            out += ' ';
            out += plat::upperCased(c);
            wordStart = true;
        } else {
            out.append(name.substr(at, pos - at));
            wordStart = false;
        }
    }
    return out;
}
