#pragma once
// The excluded days of a calendar range, found by their year, month and day rather than by walking
// the list: a month page asks for each of its 42 days, and a range may exclude tens of thousands.
// The fields are those the range's calendar gives in its time zone, so the index answers for that
// zone only; asked with another, it reads the dates again.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/calendar.h"

namespace kivo::detail {

class ExcludedDayIndex {
public:
    // How much of a date a lookup compares: the year only, the year and month, or the whole day.
    enum class Depth : int { Year = 1, Month = 2, Day = 3 };

    // Whether an excluded date falls in the same year (month, day) as `fields`, with the excluded
    // dates taken apart by `calendar`. Reads the dates again when they or the calendar changed since.
    bool holds(const plat::DateComponents& fields, Depth depth, const std::vector<plat::Date>& dates,
               const plat::Calendar& calendar);
    // A date joined the list: an index in use takes it in; one that is not waits for its next use.
    void added(plat::Date date);
    // The list changed in some other way (emptied): the next use reads it again.
    void invalidate() { _built = false; }

private:
    struct Key {
        std::int64_t year, month, day;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static Key keyOf(const plat::DateComponents& fields, Depth depth);
    bool builtFor(const plat::Calendar& calendar) const;
    void insert(plat::Date date);

    bool _built = false;
    std::optional<plat::Calendar> _calendar;  // the one the keys were worked out with
    std::string _zone;
    // Each excluded date under its day, its month (day 0) and its year (month and day 0).
    std::unordered_set<Key, KeyHash> _keys;
};

}  // namespace kivo::detail
