#pragma once
// Font attribute dictionaries and the font each describes: one table that the platform's reading of
// such dictionaries and every control that answers a font for one are checked against.

#include <string>
#include <vector>

#include "Platform/foundation/value.h"
#include "Platform/graphics/font.h"

namespace plat::testing {

struct FontAttributeCase {
    std::string what;
    Dictionary attributes;
    Font font;
};

const std::vector<FontAttributeCase>& fontAttributeCases();

}  // namespace plat::testing
