#pragma once
// What controls accept for turning a label's value into text; an application may put its own in place
// of the default value formatter. Texts are optional: a "#" pattern may give no text at all.

#include <cstdint>
#include <optional>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/value.h"

class KIVO_CORE_EXPORT IKivoValueFormatter {
public:
    virtual ~IKivoValueFormatter() = default;

    // The formatter judges the value's own type.
    virtual std::optional<std::string> format(const plat::Value& value, const std::string& format) = 0;
    // The caller names the type (a KivoDataType code): 5 formats as a date and 3 as a number whatever
    // the value is; other codes leave it to the value's own type.
    virtual std::optional<std::string> format(const plat::Value& value, const std::string& format, std::int64_t dataType) = 0;
};
