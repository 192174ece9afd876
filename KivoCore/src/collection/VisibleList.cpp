#include "collection/VisibleList.h"

#include <algorithm>
#include <numeric>

#include "Platform/runtime/dispatch.h"

namespace kivo::detail {

VisibleList::VisibleList(plat::ArrayPtr base) : _base(base ? std::move(base) : std::make_shared<plat::Array>()) {}

size_t VisibleList::indexOfPosition(size_t position) const {
    if (_identity) return position < _count ? position : plat::NotFound;
    if (position > MaxPositions) return plat::NotFound;
    auto it = std::find(_positions.begin(), _positions.end(), static_cast<Position>(position));
    return it == _positions.end() ? plat::NotFound : static_cast<size_t>(it - _positions.begin());
}

size_t VisibleList::indexOfEqual(const plat::Value& item) const {
    // Equality is symmetric, so the sought item runs the test: the entries' own objects are then read
    // only when the item's class defines value equality, and a walk over a million entries does not
    // wait for a million objects to come from memory.
    //
    // A sorted order also visits the base at random. Past a first stretch (where a match costs nothing
    // to find), the base is read in its own order and the matches are mapped back to visible indices.
    // A short view of a long base, and nil (which also matches positions the base no longer reaches),
    // keep the plain walk.
    constexpr size_t Stretch = 4096;
    const size_t n = size();
    const plat::Array& base = *_base;
    const bool byBase = !_identity && !item.isNil() && n > Stretch && n >= base.size() / 4;
    for (size_t k = 0, end = byBase ? Stretch : n; k < end; ++k)
        if (item.isEqual(at(k))) return k;
    if (!byBase) return plat::NotFound;

    PositionVector matches;  // ascending
    for (size_t p = 0, m = std::min(base.size(), MaxPositions + 1); p < m; ++p)
        if (item.isEqual(base[p])) matches.push_back(static_cast<Position>(p));
    if (matches.empty()) return plat::NotFound;
    if (matches.size() == 1) return indexOfPosition(matches.front());
    for (size_t k = Stretch; k < n; ++k)
        if (std::binary_search(matches.begin(), matches.end(), _positions[k])) return k;
    return plat::NotFound;
}

size_t VisibleList::indexOfIdentical(const plat::Value& item) const {
    for (size_t k = 0, n = size(); k < n; ++k)
        if (at(k).isIdentical(item)) return k;
    return plat::NotFound;
}

void VisibleList::setIdentity(size_t count) {
    _identity = true;
    _count = count;
    PositionVector().swap(_positions);
}

void VisibleList::setPositions(PositionVector positions) {
    _identity = false;
    _count = 0;
    _positions = std::move(positions);
}

void VisibleList::rebind(plat::ArrayPtr base) {
    _base = base ? std::move(base) : std::make_shared<plat::Array>();
    _owned = false;
    setIdentity(0);  // an append stays identity only where it starts the base
}

void VisibleList::takeOwnCopy() {
    auto copy = std::make_shared<plat::Array>();
    copy->reserve(size());
    for (size_t k = 0; k < size(); ++k) copy->push_back(at(k));
    _base = std::move(copy);
    _owned = true;
    setIdentity(_base->size());
}

void VisibleList::clear() {
    if (_owned) _base->clear();
    setIdentity(0);
}

void VisibleList::makeExplicit() {
    if (!_identity) return;
    PositionVector positions(_count);
    std::iota(positions.begin(), positions.end(), Position{0});
    setPositions(std::move(positions));
}

void VisibleList::insertShared(size_t k, size_t position) {
    if (_identity && k == position && k <= _count) {
        ++_count;
        return;
    }
    makeExplicit();
    shiftPositions(static_cast<Position>(position), 1);
    const auto p = static_cast<Position>(position);
    _positions.insert(_positions.begin() + static_cast<std::ptrdiff_t>(std::min(k, _positions.size())), p);
}

void VisibleList::appendShared(size_t from, size_t n) {
    if (_identity && from == _count) {
        _count += n;
        return;
    }
    makeExplicit();
    for (size_t i = 0; i < n; ++i) _positions.push_back(static_cast<Position>(from + i));
}

void VisibleList::eraseShared(size_t k, size_t position) {
    if (_identity && (k == position || (k == plat::NotFound && position >= _count))) {
        if (k != plat::NotFound) --_count;
        return;
    }
    makeExplicit();
    if (k < _positions.size()) _positions.erase(_positions.begin() + static_cast<std::ptrdiff_t>(k));
    if (position < MaxPositions) shiftPositions(static_cast<Position>(position + 1), -1);
}

void VisibleList::shiftPositions(Position from, int delta) {
    // A sorted order holds positions on both sides of `from` at random, so a branch per entry is
    // mispredicted half the time: the shift is added as 0 or 1 instead, which also runs in vector
    // lanes.
    const auto step = static_cast<Position>(delta);
    for (auto& q : _positions) q += step * static_cast<Position>(q >= from);
}

void VisibleList::insertOwned(size_t k, const plat::Value& item) {
    plat::Array& base = *_base;
    k = std::min(k, base.size());
    base.insert(base.begin() + static_cast<std::ptrdiff_t>(k), item);
    setIdentity(base.size());
}

void VisibleList::eraseOwned(size_t k) {
    plat::Array& base = *_base;
    if (k < base.size()) base.erase(base.begin() + static_cast<std::ptrdiff_t>(k));
    setIdentity(base.size());
}

void VisibleList::replaceOwned(size_t k, const plat::Value& item) {
    if (k < _base->size()) (*_base)[k] = item;
}

plat::ArrayPtr VisibleList::materialize() const {
    auto list = std::make_shared<plat::Array>();
    const size_t n = size();
    list->reserve(n);
    const plat::Array& base = *_base;
    if (_identity) {
        size_t reach = std::min(n, base.size());
        list->assign(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(reach));
        list->resize(n);
        return list;
    }
    // The items lie wherever the order put them: fetch their entries ahead.
    constexpr size_t Ahead = 16;
    for (size_t k = 0; k < n; ++k) {
        if (k + Ahead < n && _positions[k + Ahead] < base.size()) __builtin_prefetch(&base[_positions[k + Ahead]]);
        list->push_back(_positions[k] < base.size() ? base[_positions[k]] : Nil);
    }
    return list;
}

// ---- ListShelf ----

void ListShelf::keep(std::shared_ptr<const void> list, size_t entries) {
    _keptEntries += entries;
    _kept.emplace_back(std::move(list), entries);
    size_t drop = 0;
    while (_keptEntries > EntryBudget && drop + 1 < _kept.size()) _keptEntries -= _kept[drop++].second;
    _kept.erase(_kept.begin(), _kept.begin() + static_cast<std::ptrdiff_t>(drop));
    // One release waits at a time; a queue emptied without running it (a test's reset) lets the next
    // retirement schedule another.
    if (!_scheduled.expired()) return;
    auto token = std::make_shared<int>(0);
    _scheduled = token;
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak = weak_from_this(), token] {
        (void)token;  // held until the release has run
        if (auto shelf = weak.lock()) shelf->releaseAll();
    });
}

}  // namespace kivo::detail
