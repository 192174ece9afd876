#pragma once
// The timing of one kind of animation: duration, start delay and easing curve.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoAnimation : public plat::Object {
public:
    KivoAnimation();  // 1 s, no delay, the shared cubic ease-in
    // A plain animation of no duration and no easing (always of this class).
    static std::shared_ptr<KivoAnimation> none();

    // False when the duration is 0 or less or there is no easing (a NaN duration with a curve is valid).
    bool isValid() const { return !(_duration <= 0) && _easing != nullptr; }

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
