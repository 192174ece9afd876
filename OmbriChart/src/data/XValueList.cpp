#include "data/XValueList.h"

#include <algorithm>
#include <cstring>

namespace kivo::detail {

namespace {

// Whether a whole number comes back unchanged from the double that holds it.
bool fitsInDouble(std::int64_t whole, double number) {
    constexpr double Limit = 9223372036854775808.0;  // 2^63
    return number >= -Limit && number < Limit && static_cast<std::int64_t>(number) == whole;
}

// Whether the entries of `column` from `at` on hold the numbers of `edited`, bit for bit.
bool sameNumbers(const ValueColumn& column, std::size_t at, const ValueColumn& edited) {
    for (std::size_t k = 0; k < edited.size(); ++k) {
        const auto i = static_cast<std::int64_t>(at + k);
        if (column.isNumber(i) != edited.isNumber(static_cast<std::int64_t>(k)) ||
            std::memcmp(&column.values[at + k], &edited.values[k], sizeof(double)) != 0)
            return false;
    }
    return true;
}

const ValueColumn& noNumbers() {
    static const ValueColumn none;
    return none;
}

}  // namespace

std::shared_ptr<XValueList> XValueList::ofValues(KivoValues values) {
    auto list = std::make_shared<XValueList>();
    if (!values) values = std::make_shared<const plat::Array>();
    list->reserve(values->size());
    for (const auto& v : *values) list->append(v);
    list->_boxed = std::const_pointer_cast<plat::Array>(values);
    list->_boxedValues = std::move(values);
    return list;
}

void XValueList::reserve(std::size_t n) {
    if (!_column) _column = std::make_shared<ValueColumn>();
    _column->values.reserve(n);
}

void XValueList::append(const plat::Value& value) {
    if (value.isDouble()) return appendNumber(value.asDouble(), Kind::Real);
    if (value.isBool()) return appendNumber(value.asDouble(), Kind::Boolean);
    const double number = value.asDouble();
    if (value.isInteger() && fitsInDouble(value.asInteger(), number)) return appendNumber(number, Kind::Integer);
    // Kept as it is; its number, if it has one, is what the chart reads.
    const std::size_t i = size();
    appendNumber(number, Kind::Apart);
    _column->set(i, number, value.isNumber());
    _apart.emplace_back(i, value);
}

void XValueList::clear() { *this = XValueList(); }

plat::Value XValueList::at(std::size_t i) const {
    if (i >= size()) return {};
    const double number = _column->values[i];
    switch (kindAt(i)) {
        case Kind::Real:
            return plat::Value(number);
        case Kind::Integer:
            return plat::Value(static_cast<std::int64_t>(number));
        case Kind::Boolean:
            return plat::Value(number != 0);
        case Kind::Apart:
            break;
    }
    const auto found = std::lower_bound(_apart.begin(), _apart.end(), i,
                                        [](const auto& entry, std::size_t index) { return entry.first < index; });
    return found != _apart.end() && found->first == i ? found->second : plat::Value();
}

const plat::ArrayPtr& XValueList::boxed() const {
    if (_boxed) return _boxed;
    auto list = std::make_shared<plat::Array>();
    const std::size_t n = size();
    list->reserve(n);
    if (_kinds.empty() && _uniform == Kind::Real) {
        // The usual case, without a kind to look up per entry.
        for (std::size_t i = 0; i < n; ++i) list->emplace_back(_column->values[i]);
    } else {
        for (std::size_t i = 0; i < n; ++i) list->push_back(at(i));
    }
    _boxed = std::move(list);
    _boxedValues = _boxed;
    return _boxed;
}

const KivoValues& XValueList::values() const {
    boxed();
    return _boxedValues;
}

bool XValueList::splice(std::size_t at, std::size_t removed, const XValueList& piece) {
    const ValueColumn& brought = piece._column ? *piece._column : noNumbers();
    const bool replace = removed == piece.size();
    const bool numbersChanged = !replace || !_column || !sameNumbers(*_column, at, brought);
    spliceKinds(at, removed, piece);
    spliceApart(at, removed, piece);
    ValueColumn& column = writableColumn();
    if (replace) {
        column.overwrite(at, brought);
    } else {
        column.erase(at, removed);
        column.insert(at, brought);
    }
    changed();
    return numbersChanged;
}

ValueColumn& XValueList::writableColumn() {
    if (!_column)
        _column = std::make_shared<ValueColumn>();
    else if (_column.use_count() != 1)
        _column = std::make_shared<ValueColumn>(*_column);
    return *_column;
}

void XValueList::spliceKinds(std::size_t at, std::size_t removed, const XValueList& piece) {
    const std::size_t before = size();
    const bool whole = removed == before;
    // One kind before and after: nothing to keep per entry.
    if (_kinds.empty() && piece._kinds.empty() && (piece.empty() || whole || piece._uniform == _uniform)) {
        if (whole && !piece.empty()) _uniform = piece._uniform;
        return;
    }
    if (_kinds.empty()) _kinds.assign(before, _uniform);
    const auto first = _kinds.begin() + static_cast<std::ptrdiff_t>(at);
    const auto insertAt = _kinds.erase(first, first + static_cast<std::ptrdiff_t>(removed));
    if (piece._kinds.empty())
        _kinds.insert(insertAt, piece.size(), piece._uniform);
    else
        _kinds.insert(insertAt, piece._kinds.begin(), piece._kinds.end());
    // Back to one kind when every entry has the same.
    if (!_kinds.empty() && std::all_of(_kinds.begin(), _kinds.end(), [&](Kind k) { return k == _kinds.front(); })) {
        _uniform = _kinds.front();
        std::vector<Kind>().swap(_kinds);
    }
    if (_kinds.empty() && before - removed + piece.size() == 0) _uniform = Kind::Real;
}

void XValueList::spliceApart(std::size_t at, std::size_t removed, const XValueList& piece) {
    if (_apart.empty() && piece._apart.empty()) return;
    std::vector<std::pair<std::size_t, plat::Value>> apart;
    apart.reserve(_apart.size() + piece._apart.size());
    for (const auto& entry : _apart)
        if (entry.first < at) apart.push_back(entry);
    for (const auto& [index, value] : piece._apart) apart.emplace_back(at + index, value);
    for (const auto& [index, value] : _apart)
        if (index >= at + removed) apart.emplace_back(index - removed + piece.size(), value);
    _apart = std::move(apart);
}

void XValueList::changed() {
    _boxed.reset();
    _boxedValues.reset();
}

}  // namespace kivo::detail
