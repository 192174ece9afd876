#pragma once
// What turns one object value into display text: the number and date formatters, or an application's
// own. A formatter answers no text for a value it does not handle (a date given to a number formatter).

#include <optional>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/value.h"

namespace plat {

class PLAT_EXPORT Formatter {
public:
    virtual ~Formatter();
    virtual std::optional<std::string> stringForObjectValue(const Value& value) const = 0;

protected:
    Formatter() = default;
    Formatter(const Formatter&) = default;
    Formatter& operator=(const Formatter&) = default;
};

}  // namespace plat
