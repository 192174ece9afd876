#pragma once
// The language of a locale: the identifier's first subtag, in lower case ("ja" of "ja_JP", "en" of
// "en_US@calendar=japanese", "zh" of "zh-Hant-TW"). Keywords and regions never count as a language.

#include <algorithm>
#include <cctype>
#include <string>

#include "Platform/foundation/locale/locale.h"

namespace kivo::detail {

inline std::string languageOf(const plat::Locale& locale) {
    const std::string& id = locale.identifier();
    std::string language(id.begin(), std::find_if(id.begin(), id.end(), [](char c) { return c == '_' || c == '-' || c == '@'; }));
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return language;
}

}  // namespace kivo::detail
