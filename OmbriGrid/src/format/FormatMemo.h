#pragma once
// Internal: the texts a column made for its latest values. A grid formats every cell it draws, and
// scrolling back and forth shows the same values again; ICU's formatting of a number or a date costs
// many times finding it here. Only formatting whose text follows from the value and settings read on
// every lookup is kept: a number by a format pattern in the process's current locale, and a date by a
// plain date formatter (its pattern, styles, locale and zone). Any change of those, or a reset of the
// process's caches (the shared formatters made again), forgets every text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {

class FormatMemo {
public:
    // The text kept for `value` under a number pattern `format` in the current locale, or nullopt.
    const std::string* numberText(const plat::Value& value, const std::string& format);
    // The text kept for `value` under `formatter`, or nullopt.
    const std::string* dateText(const plat::Value& value, const plat::DateFormatter& formatter);
    // Keeps `text` for the value last looked up (under the settings of that lookup).
    void keep(const plat::Value& value, const std::string& text);

    static constexpr std::size_t Slots = 128;

private:
    struct Settings {
        std::uint64_t generation = 0;
        const plat::DateFormatter* formatter = nullptr;
        std::string format, pattern, locale, zone;
        plat::DateFormatter::Style dateStyle{}, timeStyle{};
        bool operator==(const Settings&) const = default;
    };
    struct Slot {
        bool used = false;
        plat::Value::Kind kind{};
        std::uint64_t bits = 0;
        std::string text;
    };
    // The value's kind and payload, when it is one kept here.
    static std::optional<std::pair<plat::Value::Kind, std::uint64_t>> keyOf(const plat::Value& value);
    void settle(Settings&& now);
    const std::string* find(const plat::Value& value) const;

    Settings _settings;
    std::array<Slot, Slots> _slots{};
};

}  // namespace kivo::detail
