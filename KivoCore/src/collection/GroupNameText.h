#pragma once
// The text that names a property group: nil gives "", numbers their decimal text with at most two
// fraction digits, dates their short date, anything else its description; in the current locale and
// time zone. This is the reflector's value formatting, which the reflector does not provide yet.

#include <string>

#include "Platform/foundation/value.h"

namespace kivo::collection {

std::string groupNameText(const plat::Value& value);

}  // namespace kivo::collection
