#pragma once
// The storage of an observable array: a sequence of values in blocks, so that an insertion or removal
// in the middle of a million entries moves a few thousand values, not half a million. Reading by index
// stays one division by a power of two away from the value; appending stays amortised constant.
//
// Every block holds exactly `BlockCapacity` values except the last; a value inserted or removed in a
// block passes one value along to each later block, whose ring buffer takes it at its front.
//
// It offers the members of std::vector its callers use, and converts to a plat::Array (a copy) for
// the interfaces that take one.
//
// A block may also hold a counting run: consecutive 64-bit integers kept as their first value alone,
// so that a million row indices cost no million values. Any reach of one of its entries by reference
// (read or write, const or not, through an iterator too) makes the block's values first, and so does
// an insertion or removal inside it; the values an edit passes along to later blocks leave a run as it
// is while they continue it. Copies, comparisons and the conversion to a plat::Array read runs as they
// are. Bulk readers that only need the integer ask `countingAt` and leave the run unmade. A const
// read that makes a run's values changes the list's storage: a list read from several threads at once
// must not hold runs.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"

namespace kivo {

class KIVO_CORE_EXPORT ValueList {
    struct Block {
        std::unique_ptr<plat::Value[]> data;  // null for a counting run: entry j is first + j
        std::int64_t first = 0;
        std::uint32_t head = 0;  // slot of the first value
        std::uint32_t size = 0;
        std::uint32_t mask = 0;  // capacity − 1, a power of two minus one

        plat::Value& slot(std::size_t offset) const { return data[(head + offset) & mask]; }
        std::uint32_t capacity() const { return mask + 1; }
    };

public:
    static constexpr unsigned BlockShift = 11;
    static constexpr std::size_t BlockCapacity = std::size_t{1} << BlockShift;

    using value_type = plat::Value;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = plat::Value&;
    using const_reference = const plat::Value&;

    template <bool Const>
    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = plat::Value;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const plat::Value*, plat::Value*>;
        using reference = std::conditional_t<Const, const plat::Value&, plat::Value&>;
        using List = std::conditional_t<Const, const ValueList, ValueList>;

        Iterator() = default;
        Iterator(List* list, std::size_t index) : _list(list), _index(index) {}
        template <bool C = Const>
            requires C
        Iterator(const Iterator<false>& other) : _list(other._list), _index(other._index) {}

        reference operator*() const { return (*_list)[_index]; }
        pointer operator->() const { return &(*_list)[_index]; }
        reference operator[](difference_type n) const { return (*_list)[_index + static_cast<std::size_t>(n)]; }
        Iterator& operator++() {
            ++_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator was = *this;
            ++_index;
            return was;
        }
        Iterator& operator--() {
            --_index;
            return *this;
        }
        Iterator operator--(int) {
            Iterator was = *this;
            --_index;
            return was;
        }
        Iterator& operator+=(difference_type n) {
            _index += static_cast<std::size_t>(n);
            return *this;
        }
        Iterator& operator-=(difference_type n) {
            _index -= static_cast<std::size_t>(n);
            return *this;
        }
        friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
        friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
        friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) {
            return static_cast<difference_type>(a._index) - static_cast<difference_type>(b._index);
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a._index == b._index; }
        friend auto operator<=>(const Iterator& a, const Iterator& b) { return a._index <=> b._index; }

        std::size_t index() const { return _index; }

    private:
        friend class Iterator<!Const>;
        List* _list = nullptr;
        std::size_t _index = 0;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    ValueList() = default;
    ValueList(const ValueList& other);
    ValueList(ValueList&& other) noexcept;
    explicit ValueList(const plat::Array& values);
    ValueList(std::initializer_list<plat::Value> values);
    ValueList& operator=(const ValueList& other);
    ValueList& operator=(ValueList&& other) noexcept;
    ValueList& operator=(const plat::Array& values);
    ValueList& operator=(std::initializer_list<plat::Value> values);
    ~ValueList();

    // A copy, for the interfaces that take a plat::Array.
    operator plat::Array() const;  // NOLINT(google-explicit-constructor)

    std::size_t size() const { return _size; }
    bool empty() const { return _size == 0; }

    plat::Value& operator[](std::size_t index) { return entry(index); }
    const plat::Value& operator[](std::size_t index) const { return entry(index); }
    plat::Value& front() { return (*this)[0]; }
    const plat::Value& front() const { return (*this)[0]; }
    plat::Value& back() { return (*this)[_size - 1]; }
    const plat::Value& back() const { return (*this)[_size - 1]; }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, _size}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, _size}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    // Blocks are made as values arrive; this reserves their index only.
    void reserve(std::size_t count);
    void shrink_to_fit();
    void clear();
    void resize(std::size_t count);

    void push_back(const plat::Value& value) { emplace_back(value); }
    void push_back(plat::Value&& value) { emplace_back(std::move(value)); }
    template <class... Args>
    plat::Value& emplace_back(Args&&... args) {
        // Built first: an argument may be an entry of this very list.
        plat::Value value(std::forward<Args>(args)...);
        plat::Value& slot = newSlot(plat::Passkey<ValueList>{});
        slot = std::move(value);
        return slot;
    }
    void pop_back();

    // Replaces the values by the `count` integers first, first + 1, … held as counting runs. A range
    // that would pass the largest 64-bit integer is refused with a log line, the list left as it was.
    void assignCounting(std::size_t count, std::int64_t first = 0);
    // The integer at `index` while that entry lies in a run whose values are not made; none for an
    // entry held as a value, and for an index out of range.
    std::optional<std::int64_t> countingAt(std::size_t index) const {
        if (index >= _size) return std::nullopt;
        const Block& b = _blocks[index >> BlockShift];
        if (b.data) return std::nullopt;
        return b.first + static_cast<std::int64_t>(index & (BlockCapacity - 1));
    }
    // How many entries are held as values; the others lie in counting runs.
    std::size_t heldValueCount() const;

    iterator insert(const_iterator position, const plat::Value& value) { return insert(position, plat::Value(value)); }
    iterator insert(const_iterator position, plat::Value&& value);
    iterator insert(const_iterator position, std::initializer_list<plat::Value> values) {
        return insert(position, values.begin(), values.end());
    }
    template <class InputIt>
        requires(!std::is_integral_v<InputIt>)
    iterator insert(const_iterator position, InputIt first, InputIt last) {
        // Gathered first: the range may be part of this very list.
        plat::Array values;
        if constexpr (std::is_base_of_v<std::forward_iterator_tag, typename std::iterator_traits<InputIt>::iterator_category>)
            values.reserve(static_cast<std::size_t>(std::distance(first, last)));
        for (; first != last; ++first) values.emplace_back(*first);
        return insertGathered(plat::Passkey<ValueList>{}, position.index(), values);
    }
    iterator erase(const_iterator position) { return erase(position, position + 1); }
    iterator erase(const_iterator first, const_iterator last);

    friend bool operator==(const ValueList& a, const ValueList& b);
    friend bool operator==(const ValueList& a, const plat::Array& b);

    // The private steps that the templates above take, exported as they are instantiated in the
    // applications; the key keeps every other caller out.
    plat::Value& newSlot(plat::Passkey<ValueList>);
    iterator insertGathered(plat::Passkey<ValueList>, std::size_t index, plat::Array& values);
    // Makes the values of the counting run in block `block`.
    void makeRunValues(plat::Passkey<ValueList>, std::size_t block) const;

private:
    Block& blockOf(std::size_t index) const { return const_cast<Block&>(_blocks[index >> BlockShift]); }
    plat::Value& entry(std::size_t index) const {
        Block& b = blockOf(index);
        if (!b.data) [[unlikely]]
            makeRunValues(plat::Passkey<ValueList>{}, index >> BlockShift);
        return b.slot(index & (BlockCapacity - 1));
    }
    // The entry at `index` without making a run's values: the value itself, or `scratch` holding the
    // run's integer.
    KIVO_CORE_NO_EXPORT const plat::Value& peek(std::size_t index, plat::Value& scratch) const;
    KIVO_CORE_NO_EXPORT void makeValues(Block& b);
    // The last or the first entry of a block, taken out; a run just gets shorter.
    KIVO_CORE_NO_EXPORT static plat::Value takeBack(Block& b);
    KIVO_CORE_NO_EXPORT static plat::Value takeFront(Block& b);
    // An entry put at the front or the back of a block; a run it continues stays a run.
    KIVO_CORE_NO_EXPORT void putFront(Block& b, plat::Value&& value);
    KIVO_CORE_NO_EXPORT void putBack(Block& b, plat::Value&& value);
    // The last entry of `from` to the front of `to`, the block after it; the first entry of `from` to
    // the back of `to`, the block before it.
    KIVO_CORE_NO_EXPORT void passOn(Block& from, Block& to);
    KIVO_CORE_NO_EXPORT void passBack(Block& from, Block& to);
    KIVO_CORE_NO_EXPORT plat::Value& appendSlot();
    KIVO_CORE_NO_EXPORT iterator insertMoving(std::size_t index, plat::Array& values);
    KIVO_CORE_NO_EXPORT void insertOne(std::size_t index, plat::Value&& value);
    KIVO_CORE_NO_EXPORT void eraseOne(std::size_t index);
    // Makes room for one more value at the end: grows the only block, or starts a new one.
    KIVO_CORE_NO_EXPORT void makeRoom();
    KIVO_CORE_NO_EXPORT Block newBlock(std::uint32_t capacity);
    KIVO_CORE_NO_EXPORT void dropLastBlock();

    std::vector<Block> _blocks;
    std::size_t _size = 0;
    std::unique_ptr<plat::Value[]> _spare;  // a full-size block kept back, so that edits at a block boundary do not allocate
};

}  // namespace kivo
