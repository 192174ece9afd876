#pragma once
// The numbers a series reads from its items, kept as plain doubles between drawing passes: one entry
// per item in item order, NaN where the item holds no number, and a flag telling a number (or a date,
// as its seconds since 1970) from anything else. The data analysis and the plotters read these, never
// the boxed values. A column handed out is never changed afterwards: an edit of the items writes into
// a copy while the old column is still held (an update animation keeps the values from before).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "Platform/foundation/value.h"

class KivoCollectionView;
class KivoPropertyReader;

namespace kivo::detail {

struct ValueColumn {
    std::vector<double> values;
    // Whether each entry holds a number; empty while every entry does (the usual case takes no room).
    std::vector<bool> numeric;
    // How many entries hold no number: with none, a reader may skip the flags.
    std::size_t others = 0;
    // The KivoDataType of the last item's value (none for no items).
    std::int64_t dataType = 0;

    std::size_t size() const { return values.size(); }
    bool empty() const { return values.empty(); }
    // The number at `i`; NaN past the end or where the item holds no number.
    double at(std::int64_t i) const {
        return i >= 0 && static_cast<std::uint64_t>(i) < values.size() ? values[static_cast<std::size_t>(i)] : NAN;
    }
    // Whether the item at `i` held a number (NaN and infinite ones included) or a date.
    bool isNumber(std::int64_t i) const {
        if (i < 0 || static_cast<std::uint64_t>(i) >= values.size()) return false;
        return numeric.empty() || numeric[static_cast<std::size_t>(i)];
    }
    // The memory the column holds, for the measurements of large charts.
    std::size_t bytes() const { return values.capacity() * sizeof(double) + numeric.capacity() / 8 + sizeof(*this); }

    // The edits, which keep the flags and `others` in step.
    void set(std::size_t i, double value, bool isNumber);
    // One entry more at the end. Inline: a column of every item is read through here.
    void append(double value, bool isNumber) {
        values.push_back(value);
        if (numeric.empty()) {
            if (isNumber) return;
            numeric.assign(values.size() - 1, true);
        }
        numeric.push_back(isNumber);
        if (!isNumber) ++others;
    }
    // Room for `n` entries at `at` (numbers until set).
    void open(std::size_t at, std::size_t n);
    void erase(std::size_t at, std::size_t n);
    // The entries of `from` over those from `at` on (replace), or put in at `at` (insert).
    void overwrite(std::size_t at, const ValueColumn& from);
    void insert(std::size_t at, const ValueColumn& from);
    // Lets the flags go once every entry holds a number.
    void compact();
};
using ColumnPtr = std::shared_ptr<const ValueColumn>;

// Entry i of a series' values as a double. Anything unreadable (no values, an index past their end,
// an item holding something other than a number) gives NaN.
inline double numberAt(const ColumnPtr& values, std::int64_t i) { return values ? values->at(i) : NAN; }

// How the items' values become numbers.
enum class ColumnMode : std::uint8_t {
    // Numbers and dates; anything else is no number.
    Plain,
    // Also a string that spells a number in the current locale's decimal style.
    ParseDecimal,
};

// Which items a column reads and how: kept with the column, so a column read one way is never taken
// for one read another way.
struct ColumnSpec {
    enum class Source : std::uint8_t { None, OwnItems, ChartItems };
    Source source = Source::None;
    // The member read (null: the item itself).
    std::optional<std::string> member;
    ColumnMode mode = ColumnMode::Plain;

    friend bool operator==(const ColumnSpec&, const ColumnSpec&) = default;
};

// The whole list a column reads, asked for only where it must be read as a whole (a collection view
// makes its list anew after every edit).
using ListSource = std::function<plat::ArrayPtr()>;

// The visible items of `view` as one list: the source list itself while the view shows it whole and
// in order (no list is made), otherwise the view's list of its visible items.
plat::ArrayPtr visibleItems(const KivoCollectionView& view);

// The visible items of a view (or none), read by position without a list of them made: in place from
// the source list while the view shows it whole and in order, otherwise one by one through the view.
// The source may be the application's own list, which a getter run by a read may shorten: an item
// past its end reads as nil.
class ViewItems {
public:
    explicit ViewItems(const std::shared_ptr<KivoCollectionView>& view);
    std::size_t size() const { return _count; }
    // Calls `read(k, item)` for each k in [0, size()).
    template <class Read>
    void forEach(Read read) const {
        if (_source) {
            for (std::size_t k = 0; k < _count; ++k) read(k, k < _source->size() ? (*_source)[k] : Nil);
        } else {
            for (std::size_t k = 0; k < _count; ++k) read(k, itemAt(k));
        }
    }
    // The last item (nil for none).
    plat::Value last() const;

private:
    plat::Value itemAt(std::size_t k) const;

    inline static const plat::Value Nil{};
    std::shared_ptr<KivoCollectionView> _view;
    plat::ArrayPtr _source;
    std::size_t _count = 0;
};

// One column of a series with what it was read from, built on first use and kept in step with the
// edits of its items.
class KeptColumn {
public:
    // The column for `spec` over `items`; the kept one when it was read the same way. `absent` answers
    // null without reading (the series has no values of that kind).
    const ColumnPtr& get(const ColumnSpec& spec, const ViewItems& items, bool absent);
    // Takes an edit of the list the column reads, which holds `count` items after it: the items the edit
    // brings are read from its arguments. Answers whether the column was kept; otherwise it is dropped
    // and read again on its next use.
    bool apply(const KivoNotifyCollectionChangedEventArgs& args, const ColumnSpec& spec, std::size_t count,
               const ListSource& list);
    void drop() { *this = KeptColumn(); }
    bool isBuilt() const { return _built; }
    // Whether the kept column was read the way `spec` tells.
    bool matches(const ColumnSpec& spec) const { return _built && spec == _spec; }
    const ColumnPtr& column() const { return _column; }

private:
    ColumnSpec _spec;
    ColumnPtr _column;
    bool _built = false;
};

// The column of `member` over every item of `items`.
std::shared_ptr<ValueColumn> readColumn(const ViewItems& items, const std::optional<std::string>& member, ColumnMode mode);

// The plain doubles of a list of boxed values (the chart's X values).
std::shared_ptr<ValueColumn> columnOfValues(const plat::Array& values);

// A number from the process-wide counter of changes: each mutator of the data takes a new one, so
// two states of the data never share a number, not even for objects made at one address.
std::uint64_t nextGeneration();

}  // namespace kivo::detail
