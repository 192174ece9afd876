#include "format/FormatMemo.h"

#include <atomic>
#include <bit>
#include <utility>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/process_cache.h"

namespace kivo::detail {

namespace {

// Counts the resets of the process's caches: after one, the shared formatters may answer otherwise.
std::uint64_t generation() {
    static std::atomic<std::uint64_t> count{1};
    static const plat::ProcessCacheEntry entry([] { count.fetch_add(1, std::memory_order_relaxed); });
    return count.load(std::memory_order_relaxed);
}

std::size_t slotOf(plat::Value::Kind kind, std::uint64_t bits) {
    std::uint64_t h = (bits ^ static_cast<std::uint64_t>(kind)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 57) % FormatMemo::Slots;
}

}  // namespace

std::optional<std::pair<plat::Value::Kind, std::uint64_t>> FormatMemo::keyOf(const plat::Value& value) {
    using Kind = plat::Value::Kind;
    switch (value.kind()) {
        case Kind::Bool:
            return std::pair{Kind::Bool, std::uint64_t{value.asBool()}};
        case Kind::Integer:
            return std::pair{Kind::Integer, static_cast<std::uint64_t>(value.asInteger())};
        case Kind::Double:
            return std::pair{Kind::Double, std::bit_cast<std::uint64_t>(value.asDouble())};
        case Kind::Date:
            return std::pair{Kind::Date, std::bit_cast<std::uint64_t>(value.asDate().timeIntervalSince(plat::Date()))};
        default:
            return std::nullopt;
    }
}

void FormatMemo::settle(Settings&& now) {
    if (now == _settings) return;
    _settings = std::move(now);
    for (Slot& slot : _slots) slot.used = false;
}

const std::string* FormatMemo::find(const plat::Value& value) const {
    const auto key = keyOf(value);
    if (!key) return nullptr;
    const Slot& slot = _slots[slotOf(key->first, key->second)];
    return slot.used && slot.kind == key->first && slot.bits == key->second ? &slot.text : nullptr;
}

const std::string* FormatMemo::numberText(const plat::Value& value, const std::string& format) {
    Settings now;
    now.generation = generation();
    now.format = format;
    now.locale = plat::Locale::current().identifier();
    settle(std::move(now));
    return find(value);
}

const std::string* FormatMemo::dateText(const plat::Value& value, const plat::DateFormatter& formatter) {
    Settings now;
    now.generation = generation();
    now.formatter = &formatter;
    now.pattern = formatter.dateFormat();
    now.locale = formatter.locale().identifier();
    now.zone = formatter.timeZone().identifier();
    now.dateStyle = formatter.dateStyle();
    now.timeStyle = formatter.timeStyle();
    settle(std::move(now));
    return find(value);
}

void FormatMemo::keep(const plat::Value& value, const std::string& text) {
    const auto key = keyOf(value);
    if (!key) return;
    Slot& slot = _slots[slotOf(key->first, key->second)];
    slot.used = true;
    slot.kind = key->first;
    slot.bits = key->second;
    slot.text = text;
}

}  // namespace kivo::detail
