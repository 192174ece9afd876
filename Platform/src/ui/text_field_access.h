#pragma once
// Private: what tests read of a text field's inner state.

#include <cstddef>

#include "Platform/ui/text_field.h"

namespace plat::detail {

struct TextFieldAccess {
    // How often the field has laid out its text so far.
    static std::size_t layouts(const TextField& field) { return field._layouts; }
};

}  // namespace plat::detail
