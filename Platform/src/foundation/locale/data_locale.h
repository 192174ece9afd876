#pragma once
// Private: the name under which ICU is asked for a locale's data (its nearest locale with data and the
// keywords that select data ICU has), for tests.

#include <string>

#include "Platform/foundation/locale/locale.h"

namespace plat::detail {

std::string dataLocaleName(const Locale& locale);

}  // namespace plat::detail
