#include "combobox/RowMap.h"

#include <functional>
#include <unordered_map>

namespace kivo::detail {

namespace {

constexpr std::size_t NilHash = 0x9e3779b97f4a7c15ull;

bool sameOrder(const plat::Array& source, const plat::Array& rows) {
    if (source.size() != rows.size()) return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].isIdentical(source[i])) return false;
    }
    return true;
}

}  // namespace

std::size_t identityHash(const plat::Value& value) {
    using Kind = plat::Value::Kind;
    switch (value.kind()) {
        case Kind::Nil:
            return NilHash;
        case Kind::Null:
            return NilHash + 1;
        case Kind::Bool:
        case Kind::Integer:
        case Kind::Double:
            // Numbers compare by value across kinds.
            return std::hash<double>{}(value.asDouble());
        case Kind::String:
            return std::hash<std::string>{}(value.asString());
        case Kind::Date:
            return std::hash<double>{}(value.asDate().seconds);
        case Kind::Array:
            return std::hash<const void*>{}(value.asArray().get());
        case Kind::Dictionary:
            return std::hash<const void*>{}(value.asDictionary().get());
        case Kind::Object:
            return std::hash<const void*>{}(value.asObject().get());
    }
    return NilHash;
}

void RowMap::rebuild(const plat::Array& source, const plat::Array& rows) {
    _rowCount = rows.size();
    _rowToIndex.clear();
    _indexToRow.clear();
    _identity = sameOrder(source, rows);
    if (_identity) return;

    // Source indices by hash, in order; each bucket hands out its identical items front to back.
    struct Bucket {
        std::vector<std::size_t> indices;
        std::vector<bool> taken;
        std::size_t firstFree = 0;  // everything before it is taken
    };
    std::unordered_map<std::size_t, Bucket> buckets;
    buckets.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) buckets[identityHash(source[i])].indices.push_back(i);
    for (auto& [hash, bucket] : buckets) bucket.taken.assign(bucket.indices.size(), false);

    _rowToIndex.assign(rows.size(), plat::NotFound);
    _indexToRow.assign(source.size(), -1);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        auto it = buckets.find(identityHash(rows[row]));
        if (it == buckets.end()) continue;
        Bucket& bucket = it->second;
        while (bucket.firstFree < bucket.taken.size() && bucket.taken[bucket.firstFree]) ++bucket.firstFree;
        for (std::size_t k = bucket.firstFree; k < bucket.indices.size(); ++k) {
            const std::size_t index = bucket.indices[k];
            if (bucket.taken[k] || !rows[row].isIdentical(source[index])) continue;
            bucket.taken[k] = true;
            _rowToIndex[row] = index;
            _indexToRow[index] = static_cast<std::int64_t>(row);
            break;
        }
    }
}

void RowMap::setInOrder(std::size_t rowCount) {
    _identity = true;
    _rowCount = rowCount;
    _rowToIndex.clear();
    _indexToRow.clear();
}

std::uint64_t RowMap::indexOfRow(std::int64_t row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= _rowCount) return plat::NotFound;
    return _identity ? static_cast<std::uint64_t>(row) : _rowToIndex[static_cast<std::size_t>(row)];
}

std::optional<std::int64_t> RowMap::rowOfIndex(std::uint64_t index) const {
    if (_identity) {
        if (index < _rowCount) return static_cast<std::int64_t>(index);
        return std::nullopt;
    }
    if (index >= _indexToRow.size() || _indexToRow[index] < 0) return std::nullopt;
    return _indexToRow[index];
}

}  // namespace kivo::detail
