#pragma once
// The settings of the calendar's animated change of view mode: its duration and start delay, and how
// the body scales out of one mode and into the next.

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoAnimation.h"

class KIVO_CALENDAR_EXPORT KivoCalendarViewModeAnimation : public KivoAnimation {
public:
    // 0.5 s, no delay, mode 0, scale factor 8.
    KivoCalendarViewModeAnimation() { setDuration(DefaultDuration); }
    static std::shared_ptr<KivoCalendarViewModeAnimation> create() { return std::make_shared<KivoCalendarViewModeAnimation>(); }

    // 0: the scales follow the pair of modes (zooming out shrinks, zooming in grows); any other value:
    // one fixed pair for every change.
    std::int64_t animationMode() const { return _animationMode; }
    void setAnimationMode(std::int64_t mode) { _animationMode = mode; }
    double scaleFactor() const { return _scaleFactor; }
    void setScaleFactor(double factor) { _scaleFactor = factor; }

    static constexpr double DefaultDuration = 0.5;
    static constexpr double DefaultScaleFactor = 8.0;

private:
    std::int64_t _animationMode = 0;
    double _scaleFactor = DefaultScaleFactor;
};
