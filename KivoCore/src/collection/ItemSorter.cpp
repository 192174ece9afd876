#include "collection/ItemSorter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>

#include "Platform/foundation/collator.h"
#include "collection/ItemKeyReader.h"

namespace kivo::collection {

namespace {

enum class CellKind : std::uint8_t { Nil, Number, BigInteger, String, Date, Other };

// One item's value for one key. Numbers and dates keep their double (integers beyond 2^53, which a
// double cannot hold exactly, their int64) in `bits`; strings the first 8 bytes of their collation key,
// big-endian, with the key's length when it is at most 8 (else 9) and the key's index in `key`.
struct Cell {
    std::uint64_t bits = 0;
    std::uint32_t key = 0;
    CellKind kind = CellKind::Nil;
    std::uint8_t shortLength = 0;
};

struct Column {
    std::vector<Cell> cells;
    std::vector<std::string> keys;
    bool ascending = true;
};

constexpr double kExactLimit = 9007199254740992.0;  // 2^53

Cell numberCell(double v) { return {std::bit_cast<std::uint64_t>(v), 0, CellKind::Number, 0}; }

Cell cellOf(const plat::Value& v, std::vector<plat::Value>& strings) {
    switch (v.kind()) {
        case plat::Value::Kind::Nil: return {};
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Double: return numberCell(v.asDouble());
        case plat::Value::Kind::Integer: {
            std::int64_t i = v.asInteger();
            if (static_cast<double>(i) > -kExactLimit && static_cast<double>(i) < kExactLimit) return numberCell(static_cast<double>(i));
            return {static_cast<std::uint64_t>(i), 0, CellKind::BigInteger, 0};
        }
        case plat::Value::Kind::String: {
            Cell c{0, static_cast<std::uint32_t>(strings.size()), CellKind::String, 0};
            strings.push_back(v);
            return c;
        }
        case plat::Value::Kind::Date: return {std::bit_cast<std::uint64_t>(v.asDate().seconds), 0, CellKind::Date, 0};
        default: return {0, 0, CellKind::Other, 0};
    }
}

// NaN comes before every number and equals NaN, so numbers alone always order consistently.
int compareDoubles(double a, double b) {
    if (a < b) return -1;
    if (a > b) return 1;
    if (a == b) return 0;
    bool na = std::isnan(a), nb = std::isnan(b);
    return na == nb ? 0 : na ? -1 : 1;
}

// An integer beyond 2^53 against a double, exactly.
int compareIntegerToDouble(std::int64_t i, double d) {
    if (std::isnan(d)) return 1;
    if (d >= 9223372036854775808.0) return -1;
    if (d < -9223372036854775808.0) return 1;
    double di = static_cast<double>(i);
    if (di != d) return di < d ? -1 : 1;
    auto dd = static_cast<std::int64_t>(d);  // d is integral here: |d| >= 2^53
    return (i > dd) - (i < dd);
}

int compareNumbers(const Cell& a, const Cell& b) {
    if (a.kind == CellKind::Number && b.kind == CellKind::Number)
        return compareDoubles(std::bit_cast<double>(a.bits), std::bit_cast<double>(b.bits));
    if (a.kind == CellKind::BigInteger && b.kind == CellKind::BigInteger) {
        auto x = static_cast<std::int64_t>(a.bits), y = static_cast<std::int64_t>(b.bits);
        return (x > y) - (x < y);
    }
    if (a.kind == CellKind::BigInteger) return compareIntegerToDouble(static_cast<std::int64_t>(a.bits), std::bit_cast<double>(b.bits));
    return -compareIntegerToDouble(static_cast<std::int64_t>(b.bits), std::bit_cast<double>(a.bits));
}

int compareStrings(const Cell& a, const Cell& b, const Column& column) {
    if (a.bits != b.bits) return a.bits < b.bits ? -1 : 1;
    if (a.shortLength <= 8 || b.shortLength <= 8) return (a.shortLength > b.shortLength) - (a.shortLength < b.shortLength);
    std::string_view x = column.keys[a.key], y = column.keys[b.key];
    int r = x.substr(8).compare(y.substr(8));
    return (r > 0) - (r < 0);
}

bool isNumeric(CellKind k) { return k == CellKind::Number || k == CellKind::BigInteger; }

// -1 or 1 when this key decides (direction applied), 0 when it leaves the decision to the next key.
inline int compareCells(const Cell& a, const Cell& b, const Column& column) {
    if (a.kind == CellKind::Nil || b.kind == CellKind::Nil) {
        if (a.kind == b.kind) return 0;
        return a.kind == CellKind::Nil ? -1 : 1;  // without a value first, in either direction
    }
    int r;
    if (isNumeric(a.kind) && isNumeric(b.kind)) r = compareNumbers(a, b);
    else if (a.kind != b.kind) return 0;
    else if (a.kind == CellKind::String) r = compareStrings(a, b, column);
    else if (a.kind == CellKind::Date) r = compareDoubles(std::bit_cast<double>(a.bits), std::bit_cast<double>(b.bits));
    else return 0;
    return column.ascending ? r : -r;
}

std::uint64_t bigEndianPrefix(std::string_view key) {
    std::uint64_t p = 0;
    for (size_t i = 0; i < 8; ++i) p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return p;
}

Column readColumn(const plat::Array& items, const std::shared_ptr<KivoSortDescription>& description,
                  const KivoCollectionView::SortConverter& converter, const plat::Locale& locale) {
    Column column;
    column.ascending = description->ascending();
    column.cells.resize(items.size());
    ItemKeyReader reader(description->property());
    std::vector<plat::Value> strings;
    for (size_t i = 0; i < items.size(); ++i) {
        double number;
        if (!converter && reader.readNumber(items[i], number)) {
            column.cells[i] = numberCell(number);
            continue;
        }
        plat::Value v = reader.read(items[i]);
        if (converter) v = converter(description, items[i], v);
        column.cells[i] = cellOf(v, strings);
    }
    if (!strings.empty()) {
        std::vector<std::string_view> texts;
        texts.reserve(strings.size());
        for (const auto& s : strings) texts.push_back(s.asString());
        column.keys = plat::Collator(locale, plat::Collator::Strength::Secondary).sortKeys(texts);
        for (auto& cell : column.cells) {
            if (cell.kind != CellKind::String) continue;
            const std::string& key = column.keys[cell.key];
            cell.bits = bigEndianPrefix(key);
            cell.shortLength = static_cast<std::uint8_t>(std::min<size_t>(key.size(), 9));
        }
    }
    return column;
}

struct Record {
    Cell first;  // the most significant key, kept inline: most comparisons end there
    std::uint32_t index;
};

}  // namespace

void sortItems(plat::Array& items, const SortDescriptionList& descriptions, const KivoCollectionView::SortConverter& converter,
               const plat::Locale& locale) {
    if (descriptions.empty() || items.size() < 2) return;
    std::vector<Column> columns;
    columns.reserve(descriptions.size());
    for (const auto& d : descriptions) columns.push_back(readColumn(items, d, converter, locale));

    std::vector<Record> records(items.size());
    for (size_t i = 0; i < items.size(); ++i) records[i] = {columns[0].cells[i], static_cast<std::uint32_t>(i)};
    const Column& first = columns[0];
    std::stable_sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        int r = compareCells(a.first, b.first, first);
        for (size_t k = 1; r == 0 && k < columns.size(); ++k)
            r = compareCells(columns[k].cells[a.index], columns[k].cells[b.index], columns[k]);
        return r < 0;
    });

    plat::Array sorted;
    sorted.reserve(items.size());
    for (const auto& r : records) sorted.push_back(std::move(items[r.index]));
    items.swap(sorted);
}

}  // namespace kivo::collection
