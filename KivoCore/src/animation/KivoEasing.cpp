#include "KivoCore/KivoEasing.h"

#include <array>
#include <cmath>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoEaseActions.h"

namespace {

// The shared instances in index order (index 1 first). A function-local static is initialised once,
// safely from any thread.
const std::array<KivoEasePtr, 33>& shared() {
    static const std::array<KivoEasePtr, 33> curves = {
        std::make_shared<KivoBackIn>(),    std::make_shared<KivoBackOut>(),    std::make_shared<KivoBackInOut>(),
        std::make_shared<KivoBounceIn>(),  std::make_shared<KivoBounceOut>(),  std::make_shared<KivoBounceInOut>(),
        std::make_shared<KivoCircIn>(),    std::make_shared<KivoCircOut>(),    std::make_shared<KivoCircInOut>(),
        std::make_shared<KivoCubicIn>(),   std::make_shared<KivoCubicOut>(),   std::make_shared<KivoCubicInOut>(),
        std::make_shared<KivoElasticIn>(), std::make_shared<KivoElasticOut>(), std::make_shared<KivoElasticInOut>(),
        std::make_shared<KivoExpoIn>(),    std::make_shared<KivoExpoOut>(),    std::make_shared<KivoExpoInOut>(),
        std::make_shared<KivoLinearIn>(),  std::make_shared<KivoLinearOut>(),  std::make_shared<KivoLinearInOut>(),
        std::make_shared<KivoQuadIn>(),    std::make_shared<KivoQuadOut>(),    std::make_shared<KivoQuadInOut>(),
        std::make_shared<KivoQuartIn>(),   std::make_shared<KivoQuartOut>(),   std::make_shared<KivoQuartInOut>(),
        std::make_shared<KivoQuintIn>(),   std::make_shared<KivoQuintOut>(),   std::make_shared<KivoQuintInOut>(),
        std::make_shared<KivoSineIn>(),    std::make_shared<KivoSineOut>(),    std::make_shared<KivoSineInOut>(),
    };
    return curves;
}

}  // namespace

#define KIVO_EASE_FAMILY(F, first)                                      \
    KivoEasePtr KivoEasing::EaseIn##F() { return shared()[first - 1]; } \
    KivoEasePtr KivoEasing::EaseOut##F() { return shared()[first]; }    \
    KivoEasePtr KivoEasing::EaseInOut##F() { return shared()[first + 1]; }
KIVO_EASE_FAMILY(Back, 1)
KIVO_EASE_FAMILY(Bounce, 4)
KIVO_EASE_FAMILY(Circ, 7)
KIVO_EASE_FAMILY(Cubic, 10)
KIVO_EASE_FAMILY(Elastic, 13)
KIVO_EASE_FAMILY(Expo, 16)
KIVO_EASE_FAMILY(Linear, 19)
KIVO_EASE_FAMILY(Quad, 22)
KIVO_EASE_FAMILY(Quart, 25)
KIVO_EASE_FAMILY(Quint, 28)
KIVO_EASE_FAMILY(Sine, 31)
#undef KIVO_EASE_FAMILY

KivoEasePtr KivoEasing::EaseByIndex(std::int64_t index) {
    if (index < 1 || index > 33) return nullptr;
    return shared()[static_cast<size_t>(index - 1)];
}

std::int64_t KivoEasing::IndexFromEase(const KivoEasePtr& ease) {
    if (!ease) return 0;
    const auto& curves = shared();
    for (size_t i = 0; i < curves.size(); ++i)
        if (curves[i] == ease) return static_cast<std::int64_t>(i + 1);
    return 0;
}

double KivoEasingUtil::ease(const KivoEasePtr& ease, double t, double b, double c, double d) {
    return ease ? ease->ease(t, b, c, d) : b + c;
}

plat::Dictionary KivoEasingUtil::easePointsListX(const plat::Array& x, const plat::Array& y, double bottom, double time,
                                                 double duration, std::int64_t direction, const KivoEasePtr& curve) {
    auto xs = std::make_shared<plat::Array>();
    auto ys = std::make_shared<plat::Array>();
    if (direction != 0) {
        *xs = x;
        ys->reserve(y.size());
        for (const auto& v : y) {
            if (v.isNumber() && !std::isnan(v.asDouble()))
                ys->push_back(ease(curve, time, bottom, v.asDouble() - bottom, duration));
            else
                ys->push_back(plat::Value::null());
        }
    }
    return plat::Dictionary{{"x", plat::Value(xs)}, {"y", plat::Value(ys)}};
}

KivoAnimation::KivoAnimation() : _easing(KivoEasing::EaseInCubic()) {}

std::shared_ptr<KivoAnimation> KivoAnimation::none() {
    auto a = std::make_shared<KivoAnimation>();
    a->setDuration(0);
    a->setEasing(nullptr);
    return a;
}
