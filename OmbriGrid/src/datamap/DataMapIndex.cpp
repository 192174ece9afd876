#include "datamap/DataMapIndex.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoReflector.h"

namespace kivo::detail {

namespace {

// The source is walked no further than a lookup's answer can reach.
constexpr std::size_t MaxIndexed = static_cast<std::size_t>(INT32_MAX);

template <class Table, class Key>
std::int32_t firstIn(const Table& table, const Key& key) {
    const auto found = table.find(key);
    return found == table.end() ? -1 : found->second;
}

// The earlier of two answers, -1 standing for none.
std::int32_t earlier(std::int32_t a, std::int32_t b) {
    if (a < 0) return b;
    if (b < 0) return a;
    return std::min(a, b);
}

}  // namespace

void DataMapIndex::Values::add(const plat::Value& value, std::int32_t index) {
    // emplace keeps what is there: the first index of a value stays.
    switch (value.kind()) {
        case plat::Value::Kind::String:
            strings.emplace(value.asString(), index);
            break;
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Integer:
            integers.emplace(value.asInteger(), index);
            // Large integers share a double: a double finds the first of them.
            integersAsDoubles.emplace(value.asDouble(), index);
            break;
        case plat::Value::Kind::Double:
            // NaN equals nothing, so nothing can find it.
            if (!std::isnan(value.asDouble())) doubles.emplace(value.asDouble(), index);
            break;
        case plat::Value::Kind::Date:
            if (!std::isnan(value.asDate().seconds)) dates.emplace(value.asDate().seconds, index);
            break;
        case plat::Value::Kind::Null:
            if (firstNull < 0) firstNull = index;
            break;
        case plat::Value::Kind::Nil:
            break;
        default:
            others.emplace_back(index, value);
            break;
    }
}

std::int32_t DataMapIndex::Values::find(const plat::Value& value) const {
    // Numbers compare as doubles when either is one, else as integers (Booleans among them).
    switch (value.kind()) {
        case plat::Value::Kind::String:
            return firstIn(strings, value.asString());
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Integer:
            return earlier(firstIn(integers, value.asInteger()), firstIn(doubles, value.asDouble()));
        case plat::Value::Kind::Double:
            return earlier(firstIn(doubles, value.asDouble()), firstIn(integersAsDoubles, value.asDouble()));
        case plat::Value::Kind::Date:
            return firstIn(dates, value.asDate().seconds);
        case plat::Value::Kind::Null:
            return firstNull;
        case plat::Value::Kind::Nil:
            return -1;
        default:
            for (const auto& [index, own] : others)
                if (own.isEqual(value)) return index;
            return -1;
    }
}

DataMapIndex::DataMapIndex(std::shared_ptr<KivoCollectionView> view) : _view(std::move(view)) {}

DataMapIndex::~DataMapIndex() { stopListening(); }

void DataMapIndex::listen() {
    const std::shared_ptr<KivoEvent> event = _view ? _view->collectionChanged() : nullptr;
    if (event == _event.lock()) return;
    stopListening();
    if (!event) return;
    std::weak_ptr<std::uint64_t> count = _announcements;
    _handler = KivoEventBlock([count](const std::shared_ptr<KivoEventContainer>&) {
        if (const auto held = count.lock()) ++*held;
    });
    event->addHandler(_handler, _announcements);
    _event = event;
}

void DataMapIndex::stopListening() {
    if (const auto event = _event.lock()) event->removeHandler(_handler, _announcements);
    _event.reset();
    _handler = {};
}

void DataMapIndex::followSource() {
    listen();
    const plat::ArrayPtr source = _view ? _view->sourceCollection() : nullptr;
    const std::size_t size = source ? source->size() : 0;
    if (source == _source && size == _sourceSize && *_announcements == _announcementsSeen) return;
    _byPath.clear();
    _source = source;
    _sourceSize = size;
    _announcementsSeen = *_announcements;
}

std::shared_ptr<const DataMapIndex::Values> DataMapIndex::valuesAt(const std::string& path) {
    if (const auto found = _byPath.find(path); found != _byPath.end()) return found->second;
    auto values = std::make_shared<Values>();
    // Held, and its length re-read at every step: reading an item's value runs the application's code.
    const plat::ArrayPtr source = _source;
    for (std::size_t i = 0; source && i < source->size() && i < MaxIndexed; ++i) {
        const plat::Value item = (*source)[i];
        values->add(KivoReflector::getValue(item, path), static_cast<std::int32_t>(i));
    }
    _byPath.insert_or_assign(path, values);
    return values;
}

std::int32_t DataMapIndex::indexOf(const plat::Value& value, const std::string& path) {
    if (path.empty() || !_view || value.isNil()) return -1;
    followSource();
    const std::int32_t index = valuesAt(path)->find(value);
    if (index < 0) return -1;
    // The entry as it reads now: one changed in place since it was read is read again with the rest.
    const plat::ArrayPtr source = _view->sourceCollection();
    if (source && static_cast<std::size_t>(index) < source->size()) {
        const plat::Value item = (*source)[static_cast<std::size_t>(index)];
        const plat::Value now = KivoReflector::getValue(item, path);
        if (!now.isNil() && now.isEqual(value)) return index;
    }
    _byPath.erase(path);
    followSource();
    return valuesAt(path)->find(value);
}

}  // namespace kivo::detail
