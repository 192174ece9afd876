#pragma once
// The easing curve classes: four kinds (linear, in, out, in-out) that fix the view-animation curve,
// and one stateless class per family and variant that computes the curve.

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoEaseAction : public plat::Object, public IKivoEaseAction {
public:
    std::int64_t viewAnimationCurve() const override { return 0; }
};
class KIVO_CORE_EXPORT KivoEaseLinearAction : public KivoEaseAction {
public:
    std::int64_t viewAnimationCurve() const override { return 3; }
};
class KIVO_CORE_EXPORT KivoEaseInAction : public KivoEaseAction {
public:
    std::int64_t viewAnimationCurve() const override { return 1; }
};
class KIVO_CORE_EXPORT KivoEaseOutAction : public KivoEaseAction {
public:
    std::int64_t viewAnimationCurve() const override { return 2; }
};
class KIVO_CORE_EXPORT KivoEaseInOutAction : public KivoEaseAction {
public:
    std::int64_t viewAnimationCurve() const override { return 0; }
};

#define KIVO_EASE_CURVE(Name, Kind)                                         \
    class KIVO_CORE_EXPORT Name : public Kind {                             \
    public:                                                                 \
        double ease(double t, double b, double c, double d) const override; \
    };

KIVO_EASE_CURVE(KivoBackIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoBackOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoBackInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoBounceIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoBounceOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoBounceInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoCircIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoCircOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoCircInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoCubicIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoCubicOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoCubicInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoElasticIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoElasticOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoElasticInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoExpoIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoExpoOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoExpoInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoLinearIn, KivoEaseLinearAction)
KIVO_EASE_CURVE(KivoLinearOut, KivoEaseLinearAction)
KIVO_EASE_CURVE(KivoLinearInOut, KivoEaseLinearAction)
KIVO_EASE_CURVE(KivoQuadIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoQuadOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoQuadInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoQuartIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoQuartOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoQuartInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoQuintIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoQuintOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoQuintInOut, KivoEaseInOutAction)
KIVO_EASE_CURVE(KivoSineIn, KivoEaseInAction)
KIVO_EASE_CURVE(KivoSineOut, KivoEaseOutAction)
KIVO_EASE_CURVE(KivoSineInOut, KivoEaseInOutAction)

#undef KIVO_EASE_CURVE
