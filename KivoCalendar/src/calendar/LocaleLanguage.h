#pragma once
// The language of a locale: the identifier's first subtag, in lower case ("ja" of "ja_JP", "en" of
// "en_US@calendar=japanese", "zh" of "zh-Hant-TW"). Keywords and regions never count as a language.
// The same of a language tag, and of the first of the user's preferred languages.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/preferred_languages.h"

namespace kivo::detail {

inline std::string languageOf(std::string_view id) {
    std::string language(id.begin(), std::find_if(id.begin(), id.end(), [](char c) { return c == '_' || c == '-' || c == '@'; }));
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return language;
}

inline std::string languageOf(const plat::Locale& locale) { return languageOf(locale.identifier()); }

inline std::string firstPreferredLanguage() { return languageOf(plat::preferredLanguages().front()); }

}  // namespace kivo::detail
