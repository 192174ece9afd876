#pragma once
// A length of time in seconds; the unit in which the chart's time axes pick their label increments.

#include <memory>

#include "Platform/foundation/object.h"

class KivoTimeSpan : public plat::Object {
public:
    explicit KivoTimeSpan(double seconds = 0) : _seconds(seconds) {}
    static std::shared_ptr<KivoTimeSpan> fromSeconds(double seconds) { return std::make_shared<KivoTimeSpan>(seconds); }
    static std::shared_ptr<KivoTimeSpan> fromDays(double days) { return std::make_shared<KivoTimeSpan>(days * kSecondsPerDay); }

    double totalSeconds() const { return _seconds; }
    double totalDays() const { return _seconds / kSecondsPerDay; }

    static constexpr double kSecondsPerDay = 86400;

private:
    double _seconds;
};
