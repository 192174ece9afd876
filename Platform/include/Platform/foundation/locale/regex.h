#pragma once
// A regular expression (ICU syntax) tested against a whole text, as a "matches" predicate is.

#include <memory>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

class PLAT_EXPORT RegularExpression {
public:
    explicit RegularExpression(std::string_view pattern);
    ~RegularExpression();
    RegularExpression(const RegularExpression&);
    RegularExpression& operator=(const RegularExpression&);

    const std::string& pattern() const { return _pattern; }
    // An expression that does not compile matches nothing.
    bool isValid() const { return _impl != nullptr; }
    const std::string& errorMessage() const { return _error; }
    // True when the expression matches the entire text (not a part of it).
    bool matchesWhole(std::string_view text) const;

    struct Impl;

private:
    std::string _pattern, _error;
    std::shared_ptr<const Impl> _impl;  // compiled patterns are immutable and shareable
};

}  // namespace plat
