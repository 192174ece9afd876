#include "Platform/foundation/locale/regex.h"

#include <unicode/regex.h>

#include "foundation/locale/icu_bridge.h"

namespace plat {

struct RegularExpression::Impl {
    std::unique_ptr<icu::RegexPattern> pattern;
};

RegularExpression::RegularExpression(std::string_view pattern) : _pattern(pattern) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(detail::toICU(pattern), where, status));
    if (U_FAILURE(status) || !compiled) {
        _error = std::string(u_errorName(status)) + " at offset " + std::to_string(where.offset);
        return;
    }
    auto impl = std::make_shared<Impl>();
    impl->pattern = std::move(compiled);
    _impl = std::move(impl);
}

RegularExpression::~RegularExpression() = default;
RegularExpression::RegularExpression(const RegularExpression&) = default;
RegularExpression& RegularExpression::operator=(const RegularExpression&) = default;

bool RegularExpression::matchesWhole(std::string_view text) const {
    if (!_impl) return false;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input = detail::toICU(text);
    std::unique_ptr<icu::RegexMatcher> m(_impl->pattern->matcher(input, status));
    if (U_FAILURE(status) || !m) return false;
    bool whole = m->matches(status);
    return U_SUCCESS(status) && whole;
}

}  // namespace plat
