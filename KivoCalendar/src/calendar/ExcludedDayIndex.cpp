#include "calendar/ExcludedDayIndex.h"

#include <functional>

namespace kivo::detail {

std::size_t ExcludedDayIndex::KeyHash::operator()(const Key& key) const {
    const std::hash<std::int64_t> hash;
    std::size_t h = hash(key.year);
    h = h * 31 + hash(key.month);
    return h * 31 + hash(key.day);
}

ExcludedDayIndex::Key ExcludedDayIndex::keyOf(const plat::DateComponents& fields, Depth depth) {
    return {fields.year, depth >= Depth::Month ? fields.month : 0, depth >= Depth::Day ? fields.day : 0};
}

bool ExcludedDayIndex::builtFor(const plat::Calendar& calendar) const {
    // Zones are compared by name as well: the same zone may come as two objects.
    return _built && _calendar && (calendar.timeZone() == _calendar->timeZone() || calendar.timeZone().identifier() == _zone);
}

void ExcludedDayIndex::insert(plat::Date date) {
    // A date the calendar cannot take apart falls in no day, as a comparison with it finds no order.
    const auto fields = _calendar->components(date);
    if (!fields) return;
    for (const Depth depth : {Depth::Year, Depth::Month, Depth::Day}) _keys.insert(keyOf(*fields, depth));
}

bool ExcludedDayIndex::holds(const plat::DateComponents& fields, Depth depth, const std::vector<plat::Date>& dates,
                             const plat::Calendar& calendar) {
    if (dates.empty()) return false;
    if (!builtFor(calendar)) {
        _calendar = calendar;
        _zone = calendar.timeZone().identifier();
        _keys.clear();
        _keys.reserve(dates.size() * 3);
        for (const plat::Date& date : dates) insert(date);
        _built = true;
    }
    return _keys.contains(keyOf(fields, depth));
}

void ExcludedDayIndex::added(plat::Date date) {
    if (_built) insert(date);
}

}  // namespace kivo::detail
