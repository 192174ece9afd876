#pragma once
// A length of time in seconds; the unit in which the chart's time axes pick their label increments.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoTimeSpan : public plat::Object {
public:
    explicit KivoTimeSpan(double seconds = 0) : _seconds(seconds) {}
    static std::shared_ptr<KivoTimeSpan> fromSeconds(double seconds) { return std::make_shared<KivoTimeSpan>(seconds); }
    static std::shared_ptr<KivoTimeSpan> fromDays(double days) { return std::make_shared<KivoTimeSpan>(days * SecondsPerDay); }

    double totalSeconds() const { return _seconds; }
    double totalDays() const { return _seconds / SecondsPerDay; }

    static constexpr double SecondsPerDay = 86400;

private:
    double _seconds;
};
