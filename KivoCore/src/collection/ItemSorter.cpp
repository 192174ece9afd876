#include "collection/ItemSorter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string_view>
#include <utility>

#include "Platform/foundation/collator.h"
#include "collection/ItemKeyReader.h"

namespace kivo::detail {

namespace {

enum class CellKind : std::uint8_t { Nil, Number, BigInteger, String, Date, Other };

// One item's value for one key. Numbers and dates keep their double (integers beyond 2^53, which a
// double cannot hold exactly, their int64) in `bits`; strings the first 16 bytes of their collation
// key, big-endian, in `bits` and `bits2`, with the key's length when it is at most 16 (else 17) and the
// key's index in `key`: most names fit, and compare without a look at the key itself.
struct Cell {
    std::uint64_t bits = 0;
    std::uint32_t key = 0;
    CellKind kind = CellKind::Nil;
    std::uint8_t shortLength = 0;
    std::uint64_t bits2 = 0;
};

constexpr std::uint8_t InlineKey = 16;

struct Column {
    std::vector<Cell> cells;
    std::vector<std::string> keys;
    bool ascending = true;
};

constexpr double ExactLimit = 9007199254740992.0;  // 2^53

Cell numberCell(double v) { return {std::bit_cast<std::uint64_t>(v), 0, CellKind::Number, 0}; }

Cell cellOf(const plat::Value& v, std::vector<plat::Value>& strings) {
    switch (v.kind()) {
        case plat::Value::Kind::Nil:
            return {};
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Double:
            return numberCell(v.asDouble());
        case plat::Value::Kind::Integer: {
            std::int64_t i = v.asInteger();
            if (static_cast<double>(i) > -ExactLimit && static_cast<double>(i) < ExactLimit)
                return numberCell(static_cast<double>(i));
            return {static_cast<std::uint64_t>(i), 0, CellKind::BigInteger, 0};
        }
        case plat::Value::Kind::String: {
            Cell c{0, static_cast<std::uint32_t>(strings.size()), CellKind::String, 0};
            strings.push_back(v);
            return c;
        }
        case plat::Value::Kind::Date:
            return {std::bit_cast<std::uint64_t>(v.asDate().seconds), 0, CellKind::Date, 0};
        default:
            return {0, 0, CellKind::Other, 0};
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
    if (a.kind == CellKind::BigInteger)
        return compareIntegerToDouble(static_cast<std::int64_t>(a.bits), std::bit_cast<double>(b.bits));
    return -compareIntegerToDouble(static_cast<std::int64_t>(b.bits), std::bit_cast<double>(a.bits));
}

inline int compareStrings(const Cell& a, const Cell& b, const Column& column) {
    if (a.bits != b.bits) return a.bits < b.bits ? -1 : 1;
    if (a.bits2 != b.bits2) return a.bits2 < b.bits2 ? -1 : 1;
    if (a.shortLength <= InlineKey || b.shortLength <= InlineKey)
        return (a.shortLength > b.shortLength) - (a.shortLength < b.shortLength);
    std::string_view x = column.keys[a.key], y = column.keys[b.key];
    int r = x.substr(InlineKey).compare(y.substr(InlineKey));
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
    if (isNumeric(a.kind) && isNumeric(b.kind))
        r = compareNumbers(a, b);
    else if (a.kind != b.kind)
        return 0;
    else if (a.kind == CellKind::String)
        r = compareStrings(a, b, column);
    else if (a.kind == CellKind::Date)
        r = compareDoubles(std::bit_cast<double>(a.bits), std::bit_cast<double>(b.bits));
    else
        return 0;
    return column.ascending ? r : -r;
}

// Eight key bytes from `from` as a big-endian integer, zero-padded past the end.
std::uint64_t bigEndianWord(std::string_view key, size_t from) {
    std::uint64_t p = 0;
    for (size_t i = from; i < from + 8; ++i) p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return p;
}

Column readColumn(const ItemList& items, const std::shared_ptr<KivoSortDescription>& description,
                  const KivoCollectionView::SortConverter& converter, const plat::Locale& locale, const BaseGuard* guard) {
    Column column;
    column.ascending = description->ascending();
    // The count taken once: code that adds to the list while its keys are read must not make the
    // loop run past the cells.
    const size_t count = items.size();
    column.cells.resize(count);
    ItemKeyReader reader(description->property());
    std::vector<plat::Value> strings;
    for (size_t i = 0; i < count; ++i) {
        double number;
        if (!converter && reader.readNumber(items[i], number)) {
            column.cells[i] = numberCell(number);
            continue;
        }
        plat::Value v = reader.read(items[i]);
        if (guard) guard->check();
        // Fetched again: the application's code that read the value may have changed the list.
        if (converter) {
            v = converter(description, items[i], v);
            if (guard) guard->check();
        }
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
            cell.bits = bigEndianWord(key, 0);
            cell.bits2 = bigEndianWord(key, 8);
            cell.shortLength = static_cast<std::uint8_t>(std::min<size_t>(key.size(), InlineKey + 1));
        }
    }
    return column;
}

struct Record {
    Cell first;  // the most significant key, kept inline: most comparisons end there
    std::uint32_t index;
};

// The order of a sort on several keys, or on keys of mixed kinds: a merge sort through the comparer.
std::vector<std::uint32_t> orderByComparer(const std::vector<Column>& columns) {
    const Column& first = columns[0];
    std::vector<Record> records(first.cells.size());
    for (size_t i = 0; i < records.size(); ++i) records[i] = {first.cells[i], static_cast<std::uint32_t>(i)};
    std::stable_sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        int r = compareCells(a.first, b.first, first);
        for (size_t k = 1; r == 0 && k < columns.size(); ++k)
            r = compareCells(columns[k].cells[a.index], columns[k].cells[b.index], columns[k]);
        return r < 0;
    });
    std::vector<std::uint32_t> order(records.size());
    for (size_t i = 0; i < records.size(); ++i) order[i] = records[i].index;
    return order;
}

struct KeyIndex {
    std::uint64_t key;
    std::uint32_t index;
};

// A double as an unsigned integer of the same order (-0 as 0, so the two stay equal).
std::uint64_t orderedBits(double d) {
    if (d == 0) d = 0.0;
    auto b = std::bit_cast<std::uint64_t>(d);
    return (b >> 63) ? ~b : b | (std::uint64_t{1} << 63);
}

// One key of numbers alone, or of dates alone, with or without nils, orders exactly as unsigned
// integers: nil 0, NaN next (last when descending), then the numbers, complemented when descending.
// Such a key sorts by radix, in linear time and stably.
bool radixKeys(const Column& column, std::vector<KeyIndex>& out) {
    CellKind kind = CellKind::Nil;
    for (const auto& c : column.cells) {
        if (c.kind == CellKind::Nil) continue;
        if (kind == CellKind::Nil) kind = c.kind;
        if (c.kind != kind || (kind != CellKind::Number && kind != CellKind::Date)) return false;
    }
    out.resize(column.cells.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const Cell& c = column.cells[i];
        std::uint64_t key;
        if (c.kind == CellKind::Nil) {
            key = 0;
        } else {
            double d = std::bit_cast<double>(c.bits);
            if (std::isnan(d))
                key = column.ascending ? 1 : UINT64_MAX;
            else
                key = column.ascending ? orderedBits(d) : ~orderedBits(d);
        }
        out[i] = {key, static_cast<std::uint32_t>(i)};
    }
    return true;
}

void radixSort(std::vector<KeyIndex>& a) {
    constexpr int Digits = 8;
    std::vector<std::array<size_t, 256>> counts(Digits);
    for (auto& c : counts) c.fill(0);
    for (const auto& r : a)
        for (int d = 0; d < Digits; ++d) ++counts[d][(r.key >> (8 * d)) & 0xFF];
    std::vector<KeyIndex> buffer(a.size());
    for (int d = 0; d < Digits; ++d) {
        auto& count = counts[d];
        if (std::find(count.begin(), count.end(), a.size()) != count.end()) continue;  // the same digit everywhere
        size_t offset = 0;
        for (auto& c : count) offset += std::exchange(c, offset);
        for (const auto& r : a) buffer[count[(r.key >> (8 * d)) & 0xFF]++] = r;
        a.swap(buffer);
    }
}

}  // namespace

std::vector<std::uint32_t> sortOrder(const ItemList& items, const SortDescriptionList& descriptions,
                                     const KivoCollectionView::SortConverter& converter, const plat::Locale& locale,
                                     const BaseGuard* guard) {
    std::vector<std::uint32_t> order;
    if (descriptions.empty() || items.size() < 2) {
        order.resize(items.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
        return order;
    }
    std::vector<Column> columns;
    columns.reserve(descriptions.size());
    for (const auto& d : descriptions) columns.push_back(readColumn(items, d, converter, locale, guard));

    std::vector<KeyIndex> keys;
    if (columns.size() == 1 && radixKeys(columns[0], keys)) {
        columns.clear();
        radixSort(keys);
        order.resize(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].index;
        return order;
    }
    return orderByComparer(columns);
}

}  // namespace kivo::detail
