#pragma once
// A point in time: seconds since 1970-01-01 00:00 UTC, as the platform's dates count it.

#include <compare>

#include "Platform/PlatformExport.h"

namespace plat {

struct PLAT_EXPORT Date {
    double seconds = 0;

    constexpr Date() = default;
    constexpr explicit Date(double secondsSince1970) : seconds(secondsSince1970) {}
    // Reads plat::Clock, so a virtual clock in tests moves "now" too.
    static Date now();
    double timeIntervalSince(Date other) const { return seconds - other.seconds; }
    Date addingTimeInterval(double dt) const { return Date(seconds + dt); }

    friend auto operator<=>(const Date&, const Date&) = default;
};

}  // namespace plat
