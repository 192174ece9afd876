#pragma once
// The user's preferred languages, most preferred first, as language tags ("ja-JP", "pt-BR", "en"). They
// are not the formatting locale: a user may read Japanese and format numbers the American way. Read the
// way Linux programs read them: the colon-separated LANGUAGE list, then the first of LC_ALL,
// LC_MESSAGES and LANG that is set. A host or a test may pin the list.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"

namespace plat {

// The pinned list when there is one, else the environment's; never empty ("en" when nothing names a
// language).
PLAT_EXPORT std::vector<std::string> preferredLanguages();
// Pins the list (entries as given, empty entries dropped); nullopt goes back to the environment.
PLAT_EXPORT void setPreferredLanguages(std::optional<std::vector<std::string>> languages);

// The list an environment gives: `lookup` answers a variable's value, or nullopt when it is unset.
// LANGUAGE counts only when the locale chosen by the other variables is not "C" or "POSIX", as in
// GNU gettext; each entry loses its codeset and modifier ("de_DE.UTF-8@euro" is "de-DE").
PLAT_EXPORT std::vector<std::string> preferredLanguagesFromEnvironment(
    const std::function<std::optional<std::string>(std::string_view name)>& lookup);

}  // namespace plat
