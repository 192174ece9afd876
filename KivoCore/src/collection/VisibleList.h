#pragma once
// A collection view's visible list as positions into a base list, not as items: a refresh writes
// 32-bit numbers, and an edit moves numbers, where a list of items would take and drop a counted
// reference for every entry. Items are fetched by position when asked.
//
// The base is normally the source list itself, shared with the application. When the view must
// show items its source no longer has (the source was swapped while refreshes were held back), it
// takes a private copy of the visible items instead, and the positions then run 0, 1, 2, ...
// over that copy. The whole source in source order needs no numbers at all (identity).
//
// Lists handed out by the view (ListShelf) are copies made when first asked for, never changed
// afterwards.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Platform/foundation/value.h"

namespace kivo::detail {

using Position = std::uint32_t;
using PositionVector = std::vector<Position>;

// Asks the memory system for the start of an item's object (the first two cache lines, where a small
// model object keeps its members) ahead of its use: a pass over many items otherwise waits for each.
inline void prefetchObject(const plat::Value& item) {
    if (const plat::Object* o = item.asObject().get()) {
        __builtin_prefetch(o);
        __builtin_prefetch(reinterpret_cast<const char*>(o) + 64);
    }
}

// The largest list whose positions fit.
inline constexpr size_t MaxPositions = UINT32_MAX;

class VisibleList {
public:
    explicit VisibleList(plat::ArrayPtr base);

    const plat::ArrayPtr& base() const { return _base; }
    // Whether the base is the view's own copy rather than the application's list.
    bool ownsBase() const { return _owned; }
    bool isIdentity() const { return _identity; }

    size_t size() const { return _identity ? _count : _positions.size(); }
    size_t positionAt(size_t k) const { return _identity ? k : _positions[k]; }
    // The visible item at k; nil when the base no longer reaches its position (the application
    // shortened the list behind the view's back).
    const plat::Value& at(size_t k) const {
        size_t p = positionAt(k);
        return p < _base->size() ? (*_base)[p] : Nil;
    }
    // The visible index of the item at `position` of the base, or plat::NotFound.
    size_t indexOfPosition(size_t position) const;
    // The first visible index of an item equal to (the very same as) `item`, or plat::NotFound.
    size_t indexOfEqual(const plat::Value& item) const;
    size_t indexOfIdentical(const plat::Value& item) const;

    // ---- whole lists ----
    void setIdentity(size_t count);
    void setPositions(PositionVector positions);
    // Rebinds an empty visible list to `base`.
    void rebind(plat::ArrayPtr base);
    // Replaces the base by a private copy of the visible items.
    void takeOwnCopy();
    void clear();

    // ---- edits of a shared base: the base changed first, the positions follow ----
    // An item was inserted into the base at `position`; it becomes visible at k.
    void insertShared(size_t k, size_t position);
    // The items at [from, from + n) of the base were appended, and become visible at the end.
    void appendShared(size_t from, size_t n);
    // The base lost its item at `position`, visible at k (plat::NotFound when it was not visible).
    void eraseShared(size_t k, size_t position);

    // ---- edits of an owned base: the visible index is the position ----
    void insertOwned(size_t k, const plat::Value& item);
    void eraseOwned(size_t k);
    void replaceOwned(size_t k, const plat::Value& item);

    // A new list of the visible items.
    plat::ArrayPtr materialize() const;

private:
    void makeExplicit();
    // Every position at or after `from` moves by `delta` (+1 or -1).
    void shiftPositions(Position from, int delta);

    inline static const plat::Value Nil{};
    plat::ArrayPtr _base;
    PositionVector _positions;
    size_t _count = 0;  // identity: the number of visible items
    bool _identity = true;
    bool _owned = false;
};

// Lists the view handed out and no longer describes. A list that someone still holds goes with its
// holder; one that nobody holds may still be walked by reference (a loop over `*view->items()` that
// edits the view), so it is kept until the main run loop turns, or until the kept lists grow past a
// budget (then the oldest goes first).
class ListShelf : public std::enable_shared_from_this<ListShelf> {
public:
    // Takes the list (of items, of groups) unless someone else holds it.
    template <class List>
    void retire(std::shared_ptr<List> list) {
        if (!list || list.use_count() > 1) return;  // a holder keeps it as it is
        size_t entries = list->size();
        keep(std::shared_ptr<const void>(std::move(list)), entries);
    }
    void releaseAll() {
        _kept.clear();
        _keptEntries = 0;
    }
    size_t keptCount() const { return _kept.size(); }

private:
    static constexpr size_t EntryBudget = size_t{1} << 22;
    void keep(std::shared_ptr<const void> list, size_t entries);

    std::vector<std::pair<std::shared_ptr<const void>, size_t>> _kept;
    size_t _keptEntries = 0;
    std::weak_ptr<const void> _scheduled;  // alive while a release waits on the main queue
};

// Thrown when the application's code run inside a rebuild changed the base list: every position
// worked out so far may be stale.
struct BaseListChanged {};

// Notices a change of a list's size or storage, as application code run while it is being read may
// make.
class BaseGuard {
public:
    explicit BaseGuard(const plat::Array& list) : _list(list), _data(list.data()), _size(list.size()) {}
    void check() const {
        if (_list.data() != _data || _list.size() != _size) throw BaseListChanged{};
    }
    size_t size() const { return _size; }

private:
    const plat::Array& _list;
    const plat::Value* _data;
    size_t _size;
};

}  // namespace kivo::detail
