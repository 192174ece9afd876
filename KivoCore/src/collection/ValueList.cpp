#include "KivoCore/ValueList.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>

#include "Platform/foundation/log.h"

namespace kivo {

namespace {

// The first block grows from this capacity, so that the many short lists stay small.
constexpr std::uint32_t FirstCapacity = 4;

}  // namespace

// ---- copying ----

ValueList::ValueList(const ValueList& other) : _size(other._size) {
    // Block for block, so that runs stay runs.
    _blocks.reserve(other._blocks.size());
    for (const Block& from : other._blocks) {
        Block b;
        if (from.data) {
            b = newBlock(from.capacity());
            for (std::uint32_t j = 0; j < from.size; ++j) b.data[j] = from.slot(j);
        } else {
            b.first = from.first;
            b.mask = from.mask;
        }
        b.size = from.size;
        _blocks.push_back(std::move(b));
    }
}

ValueList::ValueList(ValueList&& other) noexcept
    : _blocks(std::move(other._blocks)), _size(std::exchange(other._size, 0)), _spare(std::move(other._spare)) {
    other._blocks.clear();
}

ValueList::ValueList(const plat::Array& values) {
    reserve(values.size());
    for (const plat::Value& v : values) appendSlot() = v;
}

ValueList::ValueList(std::initializer_list<plat::Value> values) {
    reserve(values.size());
    for (const plat::Value& v : values) appendSlot() = v;
}

ValueList& ValueList::operator=(const ValueList& other) {
    if (this != &other) *this = ValueList(other);
    return *this;
}

ValueList& ValueList::operator=(ValueList&& other) noexcept {
    if (this != &other) {
        // The old values go last, once this list is whole again: their ends may run code that reads it.
        ValueList old(std::move(*this));
        _blocks = std::move(other._blocks);
        other._blocks.clear();
        _size = std::exchange(other._size, 0);
        _spare = std::move(other._spare);
    }
    return *this;
}

ValueList& ValueList::operator=(const plat::Array& values) { return *this = ValueList(values); }

ValueList& ValueList::operator=(std::initializer_list<plat::Value> values) { return *this = ValueList(values); }

ValueList::~ValueList() = default;

ValueList::operator plat::Array() const {
    plat::Array copy;
    copy.reserve(_size);
    for (const Block& b : _blocks)
        for (std::uint32_t j = 0; j < b.size; ++j)
            if (b.data)
                copy.push_back(b.slot(j));
            else
                copy.emplace_back(b.first + static_cast<std::int64_t>(j));
    return copy;
}

const plat::Value& ValueList::peek(std::size_t index, plat::Value& scratch) const {
    const Block& b = _blocks[index >> BlockShift];
    const std::size_t offset = index & (BlockCapacity - 1);
    if (b.data) return b.slot(offset);
    scratch = plat::Value(b.first + static_cast<std::int64_t>(offset));
    return scratch;
}

bool operator==(const ValueList& a, const ValueList& b) {
    if (a.size() != b.size()) return false;
    plat::Value x, y;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a.peek(i, x) == b.peek(i, y))) return false;
    return true;
}

bool operator==(const ValueList& a, const plat::Array& b) {
    if (a.size() != b.size()) return false;
    plat::Value x;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a.peek(i, x) == b[i])) return false;
    return true;
}

// ---- blocks ----

ValueList::Block ValueList::newBlock(std::uint32_t capacity) {
    Block b;
    if (capacity == BlockCapacity && _spare)
        b.data = std::move(_spare);
    else
        b.data = std::make_unique<plat::Value[]>(capacity);
    b.mask = capacity - 1;
    return b;
}

void ValueList::dropLastBlock() {
    // Its slots are all nil by now.
    Block& last = _blocks.back();
    if (last.data && last.capacity() == BlockCapacity && !_spare) _spare = std::move(last.data);
    _blocks.pop_back();
}

void ValueList::makeValues(Block& b) {
    Block made = newBlock(b.capacity());
    for (std::uint32_t j = 0; j < b.size; ++j) made.data[j] = plat::Value(b.first + static_cast<std::int64_t>(j));
    made.size = b.size;
    b = std::move(made);
}

void ValueList::makeRunValues(plat::Passkey<ValueList>, std::size_t block) const {
    // Reading a run by reference needs values to refer to; what they are does not change.
    auto& self = const_cast<ValueList&>(*this);
    Block& b = self._blocks[block];
    if (!b.data) self.makeValues(b);
}

plat::Value ValueList::takeBack(Block& b) {
    --b.size;
    if (!b.data) return plat::Value(b.first + static_cast<std::int64_t>(b.size));
    return std::move(b.slot(b.size));
}

plat::Value ValueList::takeFront(Block& b) {
    --b.size;
    if (!b.data) {
        plat::Value v(b.first);
        // An emptied run keeps its first: the one after it may lie past the largest integer.
        if (b.size > 0) ++b.first;
        return v;
    }
    plat::Value v = std::move(b.data[b.head]);
    b.head = (b.head + 1) & b.mask;
    return v;
}

void ValueList::putFront(Block& b, plat::Value&& value) {
    if (!b.data) {
        if (value.isInteger() && b.first != INT64_MIN && value.asInteger() == b.first - 1) {
            --b.first;
            ++b.size;
            return;
        }
        makeValues(b);
    }
    b.head = (b.head - 1) & b.mask;
    b.data[b.head] = std::move(value);
    ++b.size;
}

void ValueList::putBack(Block& b, plat::Value&& value) {
    if (!b.data) {
        if (value.isInteger()) {
            const std::int64_t v = value.asInteger();
            if (b.size == 0) {
                b.first = v;
                b.size = 1;
                return;
            }
            const std::int64_t last = b.first + static_cast<std::int64_t>(b.size) - 1;
            if (last != INT64_MAX && v == last + 1) {
                ++b.size;
                return;
            }
        }
        makeValues(b);
    }
    b.slot(b.size) = std::move(value);
    ++b.size;
}

void ValueList::passOn(Block& from, Block& to) {
    if (from.data && to.data) {
        to.head = (to.head - 1) & to.mask;
        to.data[to.head] = std::move(from.slot(from.size - 1));
        --from.size;
        ++to.size;
        return;
    }
    // Between two runs that continue each other only their bounds move: taking from a run makes no
    // value to move, and putting a continuing integer into one makes none either.
    putFront(to, takeBack(from));
}

void ValueList::passBack(Block& from, Block& to) {
    if (from.data && to.data) {
        to.slot(to.size) = std::move(from.data[from.head]);
        from.head = (from.head + 1) & from.mask;
        --from.size;
        ++to.size;
        return;
    }
    putBack(to, takeFront(from));
}

void ValueList::assignCounting(std::size_t count, std::int64_t first) {
    const auto span = static_cast<std::uint64_t>(count);
    if (span > 0 &&
        (span - 1 > static_cast<std::uint64_t>(INT64_MAX) || first > INT64_MAX - static_cast<std::int64_t>(span - 1))) {
        plat::log("ValueList: " + std::to_string(count) + " integers from " + std::to_string(first) +
                  " refused: they would pass the largest 64-bit integer");
        return;
    }
    ValueList made;
    made._blocks.reserve((count + BlockCapacity - 1) >> BlockShift);
    const auto capacity =
        static_cast<std::uint32_t>(std::min(std::bit_ceil(std::max<std::size_t>(count, FirstCapacity)), BlockCapacity));
    for (std::size_t at = 0; at < count; at += BlockCapacity) {
        Block b;
        b.first = first + static_cast<std::int64_t>(at);
        b.size = static_cast<std::uint32_t>(std::min(BlockCapacity, count - at));
        b.mask = capacity - 1;
        made._blocks.push_back(std::move(b));
    }
    made._size = count;
    made._spare = std::move(_spare);
    *this = std::move(made);
}

std::size_t ValueList::heldValueCount() const {
    std::size_t held = 0;
    for (const Block& b : _blocks)
        if (b.data) held += b.size;
    return held;
}

void ValueList::makeRoom() {
    if (_blocks.empty()) {
        _blocks.push_back(newBlock(FirstCapacity));
        return;
    }
    Block& last = _blocks.back();
    if (last.size < last.capacity()) return;
    if (last.capacity() == BlockCapacity) {
        _blocks.push_back(newBlock(static_cast<std::uint32_t>(BlockCapacity)));
        return;
    }
    if (!last.data) {
        // A run grows without values to move.
        last.mask = last.capacity() * 2 - 1;
        return;
    }
    // Only the first block is ever smaller than the others: it doubles, values laid out from slot 0.
    Block grown = newBlock(last.capacity() * 2);
    for (std::uint32_t j = 0; j < last.size; ++j) grown.data[j] = std::move(last.slot(j));
    grown.size = last.size;
    last = std::move(grown);
}

plat::Value& ValueList::appendSlot() {
    makeRoom();
    Block& b = _blocks.back();
    if (!b.data) makeValues(b);
    plat::Value& slot = b.slot(b.size);
    ++b.size;
    ++_size;
    return slot;
}

void ValueList::reserve(std::size_t count) {
    _blocks.reserve((count + BlockCapacity - 1) >> BlockShift);
    if (_blocks.size() > 1 || count <= FirstCapacity) return;
    // A single block made large enough at once rather than doubled step by step.
    auto capacity = static_cast<std::uint32_t>(std::min(std::bit_ceil(count), BlockCapacity));
    if (!_blocks.empty() && _blocks.front().capacity() >= capacity) return;
    if (!_blocks.empty() && !_blocks.front().data) {
        _blocks.front().mask = capacity - 1;
        return;
    }
    Block grown = newBlock(capacity);
    if (!_blocks.empty()) {
        Block& only = _blocks.front();
        for (std::uint32_t j = 0; j < only.size; ++j) grown.data[j] = std::move(only.slot(j));
        grown.size = only.size;
        only = std::move(grown);
    } else {
        _blocks.push_back(std::move(grown));
    }
}

void ValueList::shrink_to_fit() {
    _spare.reset();
    _blocks.shrink_to_fit();
}

void ValueList::clear() {
    // The values end once this list is empty: their ends may run code that reads it.
    ValueList old(std::move(*this));
}

void ValueList::resize(std::size_t count) {
    while (_size > count) pop_back();
    while (_size < count) appendSlot();
}

void ValueList::pop_back() {
    Block& b = _blocks.back();
    plat::Value gone = takeBack(b);
    --_size;
    if (b.size == 0 && _blocks.size() > 1) dropLastBlock();
}

// ---- inserting and erasing ----

void ValueList::insertOne(std::size_t index, plat::Value&& value) {
    if (index == _size) {
        appendSlot() = std::move(value);
        return;
    }
    makeRoom();
    const std::size_t target = index >> BlockShift;
    // Each later block gives its last value to the next one's front, from the end backwards.
    for (std::size_t k = _blocks.size() - 1; k > target; --k) passOn(_blocks[k - 1], _blocks[k]);
    Block& b = _blocks[target];
    if (!b.data) makeValues(b);
    const std::size_t at = index & (BlockCapacity - 1);
    // The shorter side of the ring moves.
    if (at < b.size - at) {
        b.head = (b.head - 1) & b.mask;
        for (std::size_t j = 0; j < at; ++j) b.slot(j) = std::move(b.slot(j + 1));
    } else {
        for (std::size_t j = b.size; j > at; --j) b.slot(j) = std::move(b.slot(j - 1));
    }
    b.slot(at) = std::move(value);
    ++b.size;
    ++_size;
}

void ValueList::eraseOne(std::size_t index) {
    const std::size_t target = index >> BlockShift;
    Block& b = _blocks[target];
    if (!b.data) makeValues(b);
    const std::size_t at = index & (BlockCapacity - 1);
    // Taken out first and ended last, once the list is whole again.
    plat::Value gone = std::move(b.slot(at));
    if (at < b.size - 1 - at) {
        for (std::size_t j = at; j > 0; --j) b.slot(j) = std::move(b.slot(j - 1));
        b.head = (b.head + 1) & b.mask;
    } else {
        for (std::size_t j = at; j + 1 < b.size; ++j) b.slot(j) = std::move(b.slot(j + 1));
    }
    --b.size;
    // Each later block gives its first value to the end of the one before.
    for (std::size_t k = target + 1; k < _blocks.size(); ++k) passBack(_blocks[k], _blocks[k - 1]);
    --_size;
    if (_blocks.back().size == 0 && _blocks.size() > 1) dropLastBlock();
}

ValueList::iterator ValueList::insert(const_iterator position, plat::Value&& value) {
    const std::size_t index = position.index();
    insertOne(index, std::move(value));
    return {this, index};
}

ValueList::iterator ValueList::insertMoving(std::size_t index, plat::Array& values) {
    const std::size_t k = values.size();
    const std::size_t moved = _size - index;
    // One at a time each insertion moves up to half a block and one value per later block; all at once
    // moves everything after the position once.
    if (k * (BlockCapacity / 2 + _blocks.size()) <= moved + k) {
        for (std::size_t j = 0; j < k; ++j) insertOne(index + j, std::move(values[j]));
    } else {
        const std::size_t end = _size;
        for (std::size_t j = 0; j < k; ++j) appendSlot();
        for (std::size_t j = end; j > index; --j) (*this)[j - 1 + k] = std::move((*this)[j - 1]);
        for (std::size_t j = 0; j < k; ++j) (*this)[index + j] = std::move(values[j]);
    }
    return {this, index};
}

ValueList::iterator ValueList::erase(const_iterator first, const_iterator last) {
    const std::size_t index = first.index();
    const std::size_t k = last.index() - index;
    if (k == 0) return {this, index};
    if (k == 1) {
        eraseOne(index);
        return {this, index};
    }
    // Kept until the list is whole again, as one erased value is.
    plat::Array gone;
    gone.reserve(k);
    if (k * (BlockCapacity / 2 + _blocks.size()) <= _size - index) {
        for (std::size_t j = 0; j < k; ++j) {
            gone.push_back(std::move((*this)[index]));
            eraseOne(index);
        }
    } else {
        for (std::size_t j = 0; j < k; ++j) gone.push_back(std::move((*this)[index + j]));
        for (std::size_t j = index; j + k < _size; ++j) (*this)[j] = std::move((*this)[j + k]);
        for (std::size_t j = 0; j < k; ++j) pop_back();
    }
    return {this, index};
}

plat::Value& ValueList::newSlot(plat::Passkey<ValueList>) { return appendSlot(); }

ValueList::iterator ValueList::insertGathered(plat::Passkey<ValueList>, std::size_t index, plat::Array& values) {
    return insertMoving(index, values);
}

}  // namespace kivo
