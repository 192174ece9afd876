#pragma once
// A time zone by IANA name ("UTC", "Europe/Berlin"). Date formatting and calendars always take one
// explicitly; `current()` is a settable process default that starts from the environment (TZ).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"

namespace plat {

class PLAT_EXPORT TimeZone {
public:
    struct Impl;  // ICU side, private to the platform layer

    // UTC.
    TimeZone();
    static TimeZone utc();
    // Nothing when the name is not a known zone.
    static std::optional<TimeZone> named(std::string_view identifier);
    static TimeZone current();
    static void setCurrent(const TimeZone& zone);

    const std::string& identifier() const;
    // Offset from UTC at the given moment, daylight saving included.
    double secondsFromGMT(Date date) const;

    friend bool operator==(const TimeZone& a, const TimeZone& b) { return a._impl == b._impl; }
    const Impl& impl() const { return *_impl; }

private:
    explicit TimeZone(std::shared_ptr<const Impl> impl) : _impl(std::move(impl)) {}
    std::shared_ptr<const Impl> _impl;
};

}  // namespace plat
