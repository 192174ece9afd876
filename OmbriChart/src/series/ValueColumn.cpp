#include "series/ValueColumn.h"

#include <atomic>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/locale/locale.h"
#include "series/DecimalText.h"

namespace kivo::detail {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Reads the entries of one column: the member of each item (or the item itself) as a number.
class EntryReader {
public:
    EntryReader(const std::optional<std::string>& member, ColumnMode mode) : _mode(mode) {
        if (member) _reader.emplace(KivoPropertyReader::forKey(*member));
    }

    plat::Value raw(const plat::Value& item) const { return _reader ? _reader->read(item) : item; }

    void read(const plat::Value& item, double& value, bool& numeric) const {
        // Plain numbers are read without boxing them.
        if (_reader && _reader->readNumber(item, value)) {
            numeric = true;
            return;
        }
        const plat::Value v = raw(item);
        numeric = true;
        if (v.isDate()) {
            value = v.asDate().seconds;
        } else if (v.isNumber()) {
            value = v.asDouble();
        } else if (_mode == ColumnMode::ParseDecimal && v.isString()) {
            const auto number = parseDecimal(v.asString(), plat::Locale::current());
            numeric = number.has_value();
            value = number.value_or(NaN);
        } else {
            numeric = false;
            value = NaN;
        }
    }

    // The type of the last item's value, which names the type of the whole column.
    std::int64_t lastType(const plat::Array& list) const {
        return list.empty() ? KivoDataTypeNone : KivoReflector::getDataType(raw(list.back()));
    }

private:
    std::optional<KivoPropertyReader> _reader;
    ColumnMode _mode;
};

void readInto(ValueColumn& column, std::size_t at, const plat::Array& list, std::size_t from, std::size_t count,
              const EntryReader& reader) {
    for (std::size_t k = 0; k < count; ++k) {
        double value = NaN;
        bool numeric = false;
        // The list may be the application's own, which a getter run by the read may shorten.
        if (from + k < list.size()) reader.read(list[from + k], value, numeric);
        column.set(at + k, value, numeric);
    }
}

std::size_t countOf(const plat::ArrayPtr& items) { return items ? items->size() : 0; }

}  // namespace

std::shared_ptr<ValueColumn> readColumn(const ViewItems& items, const std::optional<std::string>& member, ColumnMode mode) {
    auto column = std::make_shared<ValueColumn>();
    const EntryReader reader(member, mode);
    column->values.reserve(items.size());
    items.forEach([&](std::size_t, const plat::Value& item) {
        double value = NaN;
        bool numeric = false;
        reader.read(item, value, numeric);
        column->append(value, numeric);
    });
    column->dataType = items.size() == 0 ? KivoDataTypeNone : KivoReflector::getDataType(reader.raw(items.last()));
    return column;
}

ViewItems::ViewItems(const std::shared_ptr<KivoCollectionView>& view) {
    if (!view) return;
    _count = static_cast<std::size_t>(view->itemCount());
    if (view->showsSourceInOrder())
        _source = view->sourceCollection();
    else
        _view = view;
}

plat::Value ViewItems::itemAt(std::size_t k) const { return _view->itemAt(static_cast<std::int32_t>(k)); }

plat::Value ViewItems::last() const {
    if (_count == 0) return {};
    if (!_source) return itemAt(_count - 1);
    return _count <= _source->size() ? (*_source)[_count - 1] : Nil;
}

std::shared_ptr<ValueColumn> columnOfValues(const plat::Array& values) {
    auto column = std::make_shared<ValueColumn>();
    column->open(0, values.size());
    // A value that is no number reads as NaN.
    for (std::size_t k = 0; k < values.size(); ++k) column->set(k, values[k].asDouble(), values[k].isNumber());
    return column;
}

void ValueColumn::set(std::size_t i, double value, bool isNumber) {
    values[i] = value;
    // The flags are made when the first entry holds no number.
    if (numeric.empty()) {
        if (isNumber) return;
        numeric.assign(values.size(), true);
    }
    if (numeric[i] == isNumber) return;
    numeric[i] = isNumber;
    if (isNumber)
        --others;
    else
        ++others;
}

void ValueColumn::open(std::size_t at, std::size_t n) {
    const auto offset = static_cast<std::ptrdiff_t>(at);
    values.insert(values.begin() + offset, n, NaN);
    if (!numeric.empty()) numeric.insert(numeric.begin() + offset, n, true);
}

void ValueColumn::erase(std::size_t at, std::size_t n) {
    const auto first = static_cast<std::ptrdiff_t>(at), last = static_cast<std::ptrdiff_t>(at + n);
    values.erase(values.begin() + first, values.begin() + last);
    if (numeric.empty()) return;
    for (std::size_t k = at; k < at + n; ++k)
        if (!numeric[k]) --others;
    numeric.erase(numeric.begin() + first, numeric.begin() + last);
    compact();
}

void ValueColumn::overwrite(std::size_t at, const ValueColumn& from) {
    for (std::size_t k = 0; k < from.size(); ++k) set(at + k, from.values[k], from.isNumber(static_cast<std::int64_t>(k)));
    compact();
}

void ValueColumn::compact() {
    if (others == 0 && !numeric.empty()) std::vector<bool>().swap(numeric);
}

void ValueColumn::insert(std::size_t at, const ValueColumn& from) {
    open(at, from.size());
    overwrite(at, from);
}

const ColumnPtr& KeptColumn::get(const ColumnSpec& spec, const ViewItems& items, bool absent) {
    if (_built && spec == _spec) return _column;
    _spec = spec;
    _built = true;
    if (absent)
        _column.reset();
    else
        _column = readColumn(items, spec.member, spec.mode);
    return _column;
}

bool KeptColumn::apply(const KivoNotifyCollectionChangedEventArgs& args, const ColumnSpec& spec, std::size_t count,
                       const ListSource& list) {
    if (!_built || !(spec == _spec) || !_column) {
        drop();
        return false;
    }
    const std::size_t size = _column->size();
    const std::int64_t action = args.action();
    const bool add = action == KivoNotifyCollectionChangedActionAdd;
    const bool remove = action == KivoNotifyCollectionChangedActionRemove;
    const bool replace = action == KivoNotifyCollectionChangedActionReplace;
    // A replace may name its place by the old items' index alone.
    const std::int64_t start = remove || (replace && args.startingIndex() < 0) ? args.oldStartingIndex() : args.startingIndex();
    const plat::ArrayPtr& brought = args.items();
    const std::size_t n = remove ? countOf(args.oldItems()) : countOf(brought);
    const auto at = static_cast<std::size_t>(start);
    // An edit that does not fit the kept column (a reset, a position outside it, a count that does not
    // add up to the list as it is now) has the column read again.
    bool fits = start >= 0 && (add || remove || replace) && (remove || brought);
    if (fits && add) fits = at <= size && size + n == count;
    if (fits && remove) fits = at + n <= size && size - n == count;
    if (fits && replace) fits = at + n <= size && size == count && countOf(args.oldItems()) == n;
    // The type is the last item's: an edit at the end may change it.
    const bool atEnd = add ? at == size : at + n == size;
    plat::ArrayPtr whole;
    if (fits && atEnd && remove && count > 0) {
        whole = list ? list() : nullptr;
        fits = whole && whole->size() == count;
    }
    if (!fits) {
        drop();
        return false;
    }
    if (n == 0) return true;

    // A column someone still holds stays as it is: the edit goes into a copy.
    std::shared_ptr<ValueColumn> column =
        _column.use_count() == 1 ? std::const_pointer_cast<ValueColumn>(_column) : std::make_shared<ValueColumn>(*_column);
    const EntryReader reader(spec.member, spec.mode);
    if (add) {
        column->open(at, n);
        readInto(*column, at, *brought, 0, n, reader);
    } else if (remove) {
        column->erase(at, n);
    } else {
        readInto(*column, at, *brought, 0, n, reader);
        column->compact();
    }
    if (atEnd) column->dataType = remove ? reader.lastType(whole ? *whole : plat::Array()) : reader.lastType(*brought);
    _column = std::move(column);
    return true;
}

plat::ArrayPtr visibleItems(const KivoCollectionView& view) {
    return view.showsSourceInOrder() ? view.sourceCollection() : view.items();
}

std::uint64_t nextGeneration() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace kivo::detail
