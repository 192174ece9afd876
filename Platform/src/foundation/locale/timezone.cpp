#include "Platform/foundation/locale/timezone.h"

#include <cmath>
#include <mutex>
#include <unordered_map>

#include "foundation/locale/icu_bridge.h"

namespace plat {
namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const TimeZone::Impl>> byName;
    std::shared_ptr<const TimeZone::Impl> current;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: zones may be used during static teardown
    return *r;
}

std::shared_ptr<const TimeZone::Impl> internZone(Registry& r, std::unique_ptr<icu::TimeZone> zone) {
    // Caller holds r.mutex.
    icu::UnicodeString id;
    zone->getID(id);
    std::string name = detail::fromICU(id);
    auto& slot = r.byName[name];
    if (!slot) {
        auto impl = std::make_shared<TimeZone::Impl>();
        impl->identifier = name;
        impl->icu = std::move(zone);
        slot = std::move(impl);
    }
    return slot;
}

std::shared_ptr<const TimeZone::Impl> utcImpl(Registry& r) {
    return internZone(r, std::unique_ptr<icu::TimeZone>(icu::TimeZone::getGMT()->clone()));
}

}  // namespace

TimeZone::TimeZone() : TimeZone(utc()) {}

TimeZone TimeZone::utc() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return TimeZone(utcImpl(r));
}

std::optional<TimeZone> TimeZone::named(std::string_view identifier) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (auto it = r.byName.find(std::string(identifier)); it != r.byName.end()) return TimeZone(it->second);
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(detail::toICU(identifier)));
    if (!zone || *zone == icu::TimeZone::getUnknown()) return std::nullopt;
    auto impl = internZone(r, std::move(zone));
    r.byName.emplace(std::string(identifier), impl);
    return TimeZone(impl);
}

TimeZone TimeZone::current() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.current) {
        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
        r.current = (zone && *zone != icu::TimeZone::getUnknown()) ? internZone(r, std::move(zone)) : utcImpl(r);
    }
    return TimeZone(r.current);
}

void TimeZone::setCurrent(const TimeZone& zone) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.current = zone._impl;
}

const std::string& TimeZone::identifier() const { return _impl->identifier; }

double TimeZone::secondsFromGMT(Date date) const {
    if (!std::isfinite(date.seconds)) return 0;
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    _impl->icu->getOffset(date.seconds * 1000.0, false, raw, dst, status);
    return U_FAILURE(status) ? 0 : (raw + dst) / 1000.0;
}

}  // namespace plat
