#pragma once
// The timing of one kind of animation: duration, start delay and easing curve.

#include <cmath>
#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoAnimation : public plat::Object {
public:
    KivoAnimation();  // 1 s, no delay, the shared cubic ease-in
    // A plain animation of no duration and no easing (always of this class).
    static std::shared_ptr<KivoAnimation> none();

    // Whether a move of this duration and start delay can be timed: a positive finite duration and a
    // finite delay. The animation driver ends any other move at its first frame, so a setting it
    // cannot time is not valid either.
    static bool isTimeable(double duration, double startDelay) {
        return std::isfinite(duration) && duration > 0 && std::isfinite(startDelay);
    }
    // False when the driver cannot time the duration and delay, or there is no easing.
    bool isValid() const { return isTimeable(_duration, _startDelay) && _easing != nullptr; }

    double duration() const { return _duration; }
    void setDuration(double d) { _duration = d; }
    double startDelay() const { return _startDelay; }
    void setStartDelay(double d) { _startDelay = d; }
    const KivoEasePtr& easing() const { return _easing; }
    void setEasing(KivoEasePtr e) { _easing = std::move(e); }

private:
    double _duration = 1.0;
    double _startDelay = 0;
    KivoEasePtr _easing;
};
