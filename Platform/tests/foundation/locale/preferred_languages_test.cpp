#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Platform/foundation/locale/preferred_languages.h"

namespace {

using Environment = std::map<std::string, std::string, std::less<>>;

std::vector<std::string> fromEnvironment(const Environment& env) {
    return plat::preferredLanguagesFromEnvironment([&](std::string_view name) -> std::optional<std::string> {
        auto it = env.find(name);
        if (it == env.end()) return std::nullopt;
        return it->second;
    });
}

}  // namespace

TEST(PreferredLanguages, AreReadAsLinuxProgramsReadThem) {
    struct Case {
        const char* what;
        Environment env;
        std::vector<std::string> languages;
    } cases[] = {
        {"nothing set", {}, {"en"}},
        {"LANG alone", {{"LANG", "ja_JP.UTF-8"}}, {"ja-JP"}},
        {"LC_MESSAGES before LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, {"fr-FR"}},
        {"LC_ALL before both", {{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "zh_TW.Big5"}}, {"zh-TW"}},
        {"an empty LC_ALL is unset", {{"LC_ALL", ""}, {"LANG", "pt_BR.UTF-8"}}, {"pt-BR"}},
        {"LANGUAGE first, in its order", {{"LANGUAGE", "ja:en_GB:de"}, {"LANG", "en_US.UTF-8"}}, {"ja", "en-GB", "de"}},
        {"LANGUAGE's empty entries skipped", {{"LANGUAGE", "::zh_CN::"}, {"LANG", "en_US"}}, {"zh-CN"}},
        {"an empty LANGUAGE falls back to LANG", {{"LANGUAGE", ""}, {"LANG", "ko_KR.UTF-8"}}, {"ko-KR"}},
        {"modifier and codeset dropped", {{"LANG", "de_DE.ISO-8859-15@euro"}}, {"de-DE"}},
        {"the C locale names no language", {{"LANG", "C"}}, {"en"}},
        {"nor does C.UTF-8", {{"LANG", "C.UTF-8"}}, {"en"}},
        {"LANGUAGE ignored under the C locale", {{"LANGUAGE", "ja"}, {"LANG", "C"}}, {"en"}},
        {"LANGUAGE ignored with no locale at all", {{"LANGUAGE", "ja"}}, {"en"}},
        {"POSIX as an entry skipped", {{"LANGUAGE", "POSIX:it"}, {"LANG", "en_US"}}, {"it"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fromEnvironment(c.env), c.languages);
    }
}

TEST(PreferredLanguages, APinnedListWinsUntilItIsLifted) {
    plat::setPreferredLanguages(std::vector<std::string>{"ja-JP", "", "en"});
    EXPECT_EQ(plat::preferredLanguages(), (std::vector<std::string>{"ja-JP", "en"}));
    plat::setPreferredLanguages(std::vector<std::string>{});
    EXPECT_EQ(plat::preferredLanguages(), (std::vector<std::string>{"en"}));
    plat::setPreferredLanguages(std::nullopt);
    EXPECT_FALSE(plat::preferredLanguages().empty());
}
