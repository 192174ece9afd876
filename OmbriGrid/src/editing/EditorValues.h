#pragma once
// Between a cell's value and the text the grid's editor shows for it: the number text an editor opens
// with, and the reading of typed text back into a value of a column's own data type.

#include <optional>
#include <string>

#include "Platform/foundation/value.h"

class GridColumn;

namespace kivo::detail {

// A number as typed in the current locale: every significant digit, its decimal separator, no
// grouping (1234.5 is "1234,5" under de_DE). Any other value as its description; nil and null empty.
std::string numberEditText(const plat::Value& raw);

// Typed text read back for a column. `current` is the cell's value now: a date keeps from it the
// fields that the column's form does not show. `failure` says why nothing was read.
struct ReadBack {
    plat::Value value;
    std::string failure;
    bool ok() const { return failure.empty(); }
};
ReadBack readEditorText(const GridColumn& column, const std::string& text, const plat::Value& current);

}  // namespace kivo::detail
