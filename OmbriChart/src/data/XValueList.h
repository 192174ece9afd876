#pragma once
// The chart's X values as the chart keeps them: their numbers (the column that the analysis, the axes,
// the plotters and the hit tests read) and the kind of value each entry was read as. The boxed list that
// the public accessors hand out is made from these only when one of them is asked, and kept until the
// values change: binding a million items makes no boxed value. An entry that a number and a kind cannot
// give back as it was (a whole number beyond what a double holds, a text in a list the application set)
// is kept boxed, apart.
//
// The list is shared by the chart, its analyses and its axes, and edited in place as the items are; a
// column or a boxed list it has handed out is never changed afterwards (an edit writes into a copy of
// a column someone still holds, and drops the boxed list for a new one).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "OmbriChart/KivoDataArray.h"
#include "Platform/foundation/value.h"
#include "series/ValueColumn.h"

namespace kivo::detail {

class XValueList {
public:
    // How an entry's boxed value is made: from its number as a real, a whole number or a Boolean, or
    // taken from the values kept apart.
    enum class Kind : std::uint8_t { Real, Integer, Boolean, Apart };

    // The list of `values` as they are: the boxed list handed out is `values` itself (an empty list for
    // null). A list handed in read-only is handed out only read-only: the analysis takes such lists, and
    // only the chart's own (writable) ones reach the axes.
    static std::shared_ptr<XValueList> ofValues(KivoValues values);

    // ---- Building, entry by entry ----
    void reserve(std::size_t n);
    // A number that boxes as `kind` (Real, Integer or Boolean). Inline: a list of every item is built
    // through here.
    void appendNumber(double number, Kind kind) {
        if (!_column) _column = std::make_shared<ValueColumn>();
        const std::size_t i = _column->size();
        _column->append(number, true);
        if (i == 0) _uniform = kind;
        if (_kinds.empty() && kind != _uniform) _kinds.assign(i, _uniform);
        if (!_kinds.empty()) _kinds.push_back(kind);
        if (_boxed) changed();
    }
    // Any value: a number, a Boolean or a whole number as its number and kind, anything else apart.
    void append(const plat::Value& value);
    void clear();

    // ---- Reading ----
    std::size_t size() const { return _column ? _column->size() : 0; }
    bool empty() const { return size() == 0; }
    // The numbers (null while the list is empty).
    ColumnPtr column() const { return _column; }
    // The boxed value of entry `i` (nil past the end), made without the whole list.
    plat::Value at(std::size_t i) const;
    // The whole boxed list, made at the first ask after a change.
    const plat::ArrayPtr& boxed() const;
    const KivoValues& values() const;
    bool isBoxed() const { return _boxed != nullptr; }

    // ---- Editing ----
    // The `removed` entries from `at` on give way to the entries of `piece` (a replace, an insert or a
    // remove). Answers whether the numbers changed (a replace by the same numbers, bit for bit, does
    // not change them). The caller checks that the range lies inside the list.
    bool splice(std::size_t at, std::size_t removed, const XValueList& piece);

private:
    Kind kindAt(std::size_t i) const { return _kinds.empty() ? _uniform : _kinds[i]; }
    // The column to write into: the list's own, or a copy when someone else holds it.
    ValueColumn& writableColumn();
    void spliceKinds(std::size_t at, std::size_t removed, const XValueList& piece);
    void spliceApart(std::size_t at, std::size_t removed, const XValueList& piece);
    void changed();

    std::shared_ptr<ValueColumn> _column;
    // The kind of every entry while they share one; otherwise one per entry.
    Kind _uniform = Kind::Real;
    std::vector<Kind> _kinds;
    // The entries of kind Apart, by index in ascending order.
    std::vector<std::pair<std::size_t, plat::Value>> _apart;
    mutable plat::ArrayPtr _boxed;
    mutable KivoValues _boxedValues;
};

using XListPtr = std::shared_ptr<const XValueList>;

}  // namespace kivo::detail
