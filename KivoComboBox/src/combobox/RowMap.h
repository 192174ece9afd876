#pragma once
// Which item of the source list each row of a visible list shows, and back: the rows of a sorted or
// filtered collection view map to their items' indices in the source. An item found more than once
// (the same object, or equal scalars) maps to its occurrences in order.

#include <cstdint>
#include <optional>
#include <vector>

#include "Platform/foundation/value.h"

namespace kivo::detail {

class RowMap {
public:
    void rebuild(const plat::Array& source, const plat::Array& rows);
    // Rows that are the source itself, in its order.
    void setInOrder(std::size_t rowCount);
    std::size_t rowCount() const { return _rowCount; }
    // The source index of a row; plat::NotFound for a row beyond the list or whose item the source lacks.
    std::uint64_t indexOfRow(std::int64_t row) const;
    // The row showing a source index, if any.
    std::optional<std::int64_t> rowOfIndex(std::uint64_t index) const;

private:
    // Rows and source in the same order: no tables needed.
    bool _identity = true;
    std::size_t _rowCount = 0;
    std::vector<std::uint64_t> _rowToIndex;
    std::vector<std::int64_t> _indexToRow;
};

// A hash that agrees with Value::isIdentical: equal scalars hash alike, containers and objects by address.
std::size_t identityHash(const plat::Value& value);

}  // namespace kivo::detail
