#include "KivoCore/KivoObservableArray.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Platform/foundation/log.h"

namespace {

plat::ArrayPtr listOf(const plat::Value& item) { return std::make_shared<plat::Array>(plat::Array{item}); }

// Apart, so that beginUpdate itself stays a compare and an add.
[[gnu::cold, gnu::noinline]] void logBatchLimit(std::int32_t open) {
    plat::log("KivoObservableArray beginUpdate: " + std::to_string(open) + " batches are open already, ignored");
}

}  // namespace

KivoObservableArray::KivoObservableArray(std::size_t capacity) : _collectionChanged(std::make_shared<KivoEvent>()) {
    _storage.reserve(capacity);
}

void KivoObservableArray::checkIndex(std::size_t index, const char* what) const {
    if (index >= _storage.size())
        throw std::out_of_range(std::string("KivoObservableArray ") + what + ": index " + std::to_string(index) +
                                " beyond bounds [0 .. " + std::to_string(_storage.size()) + ")");
}

const plat::Value& KivoObservableArray::objectAtIndex(std::size_t index) const {
    checkIndex(index, "objectAtIndex");
    return _storage[index];
}

const plat::Value& KivoObservableArray::operator[](std::int64_t index) const {
    if (index < 0) throw std::out_of_range("KivoObservableArray subscript: negative index " + std::to_string(index));
    return objectAtIndex(static_cast<std::size_t>(index));
}

std::size_t KivoObservableArray::indexOfObject(const plat::Value& item) const {
    for (std::size_t i = 0; i < _storage.size(); ++i) {
        // Entries of a counting run compare as the integers they are, without making their values.
        if (const auto counted = _storage.countingAt(i)) {
            if (plat::Value(*counted).isEqual(item)) return i;
            continue;
        }
        if (_storage[i].isEqual(item)) return i;
    }
    return plat::NotFound;
}

void KivoObservableArray::addObject(const plat::Value& item) {
    auto start = static_cast<std::int64_t>(_storage.size());
    _storage.push_back(item);
    if (!isUpdating()) raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(item), start, nullptr, -1);
}

void KivoObservableArray::addObjectsFromArray(const plat::Array& items) {
    auto start = static_cast<std::int64_t>(_storage.size());
    // Copied first, as the announcement needs anyway: `items` may be this very storage.
    auto added = std::make_shared<plat::Array>(items);
    for (const plat::Value& item : *added) _storage.push_back(item);
    if (!isUpdating()) raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, std::move(added), start, nullptr, -1);
}

void KivoObservableArray::insertObject(const plat::Value& given, std::size_t index) {
    const plat::Value item = given;  // may be an entry, which the insertion moves
    if (index > _storage.size())
        throw std::out_of_range("KivoObservableArray insertObject: index " + std::to_string(index) + " beyond bounds [0 .. " +
                                std::to_string(_storage.size()) + "]");
    _storage.insert(_storage.begin() + static_cast<std::ptrdiff_t>(index), item);
    if (!isUpdating())
        raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(item), static_cast<std::int64_t>(index), nullptr, -1);
}

void KivoObservableArray::removeObjectAtIndex(std::size_t index) {
    checkIndex(index, "removeObjectAtIndex");
    plat::Value removed = std::move(_storage[index]);
    _storage.erase(_storage.begin() + static_cast<std::ptrdiff_t>(index));
    if (!isUpdating())
        raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf(removed),
                               static_cast<std::int64_t>(index));
}

void KivoObservableArray::removeObject(const plat::Value& given) {
    const plat::Value item = given;  // may be an entry, which the removal overwrites
    std::size_t index = indexOfObject(item);
    if (index == plat::NotFound) return;
    // Nothing before the first match is equal: the removal starts there. The removed items are kept,
    // with their indices, for the announcements.
    std::vector<std::pair<std::size_t, plat::Value>> removed;
    std::size_t kept = index;
    for (std::size_t i = index; i < _storage.size(); ++i) {
        if (_storage[i].isEqual(item))
            removed.emplace_back(i, std::move(_storage[i]));
        else
            _storage[kept++] = std::move(_storage[i]);
    }
    _storage.resize(kept);
    // Highest index first: each announced index is still right for a copy that applied the ones before.
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        if (isUpdating()) break;
        raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf(it->second),
                               static_cast<std::int64_t>(it->first));
    }
}

void KivoObservableArray::replaceObjectAtIndex(std::size_t index, const plat::Value& item) {
    checkIndex(index, "replaceObjectAtIndex");
    plat::Value old = std::exchange(_storage[index], plat::Value(item));  // `item` may be that very entry
    if (!isUpdating())
        raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, nullptr, -1, listOf(old),
                               static_cast<std::int64_t>(index));
}

void KivoObservableArray::setObject(const plat::Value& item, std::int64_t index) {
    if (index < 0) throw std::out_of_range("KivoObservableArray subscript: negative index " + std::to_string(index));
    replaceObjectAtIndex(static_cast<std::size_t>(index), item);
}

void KivoObservableArray::removeAllObjects() {
    _storage.clear();
    if (!isUpdating()) raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, nullptr, -1, nullptr, -1);
}

void KivoObservableArray::beginUpdate() {
    // Only a caller that never ends its batches gets here; the counter must not overflow for it.
    if (_updating >= _batchLimit) {
        logBatchLimit(_updating);
        return;
    }
    ++_updating;
}

void KivoObservableArray::endUpdate() {
    if (_updating <= 0) return;
    if (--_updating == 0) raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, nullptr, -1, nullptr, -1);
}

void KivoObservableArray::deferUpdate(const std::function<void()>& block) {
    beginUpdate();
    try {
        if (block) block();
    } catch (...) {
        // The batch ends even if the block throws, so the array never stays silent for good; the
        // block's exception is the one the caller gets.
        try {
            endUpdate();
        } catch (const std::exception& e) {
            plat::log(std::string("KivoObservableArray deferUpdate: a collection-change handler threw: ") + e.what());
        } catch (...) {
            plat::log("KivoObservableArray deferUpdate: a collection-change handler threw");
        }
        throw;
    }
    endUpdate();
}

void KivoObservableArray::raiseCollectionChanged(std::int64_t action, plat::ArrayPtr items, std::int64_t startingIndex,
                                                 plat::ArrayPtr oldItems, std::int64_t oldStartingIndex) {
    if (isUpdating()) return;
    onCollectionChanged(std::make_shared<KivoNotifyCollectionChangedEventArgs>(action, std::move(items), startingIndex,
                                                                               std::move(oldItems), oldStartingIndex));
}

void KivoObservableArray::onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (isUpdating()) return;
    if (auto event = _collectionChanged) event->raise(weak_from_this().lock(), args);
}
