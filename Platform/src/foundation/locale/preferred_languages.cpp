#include "Platform/foundation/locale/preferred_languages.h"

#include <cstdlib>
#include <mutex>

namespace plat {

namespace {

constexpr std::string_view FallbackLanguage = "en";

struct Pinned {
    std::mutex mutex;
    std::optional<std::vector<std::string>> languages;
};

Pinned& pinned() {
    static Pinned* p = new Pinned;  // never destroyed: read during static teardown by formatters
    return *p;
}

bool isPosixLocale(std::string_view name) { return name == "C" || name == "POSIX" || name.starts_with("C."); }

// "de_DE.UTF-8@euro" → "de-DE"; "" for a name that holds no language.
std::string languageTag(std::string_view posixName) {
    const auto end = posixName.find_first_of(".@");
    std::string tag(posixName.substr(0, end));
    for (char& c : tag)
        if (c == '_') c = '-';
    return tag;
}

}  // namespace

std::vector<std::string> preferredLanguagesFromEnvironment(
    const std::function<std::optional<std::string>(std::string_view name)>& lookup) {
    std::optional<std::string> locale;
    for (std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        auto value = lookup(name);
        if (value && !value->empty()) {
            locale = std::move(value);
            break;
        }
    }
    std::vector<std::string> languages;
    const bool posix = !locale || isPosixLocale(*locale);
    if (auto list = lookup("LANGUAGE"); list && !posix) {
        std::string_view rest = *list;
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            std::string tag = languageTag(rest.substr(0, colon));
            if (!tag.empty() && !isPosixLocale(tag)) languages.push_back(std::move(tag));
            rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        }
    }
    if (languages.empty() && !posix) {
        std::string tag = languageTag(*locale);
        if (!tag.empty()) languages.push_back(std::move(tag));
    }
    if (languages.empty()) languages.emplace_back(FallbackLanguage);
    return languages;
}

std::vector<std::string> preferredLanguages() {
    {
        auto& p = pinned();
        std::lock_guard lock(p.mutex);
        if (p.languages) return *p.languages;
    }
    return preferredLanguagesFromEnvironment([](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        if (!value) return std::nullopt;
        return std::string(value);
    });
}

void setPreferredLanguages(std::optional<std::vector<std::string>> languages) {
    if (languages) {
        std::erase_if(*languages, [](const std::string& tag) { return tag.empty(); });
        if (languages->empty()) languages->emplace_back(FallbackLanguage);
    }
    auto& p = pinned();
    std::lock_guard lock(p.mutex);
    p.languages = std::move(languages);
}

}  // namespace plat
