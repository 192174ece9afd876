#pragma once
// The easing curves by name and by index (1 to 33; 0 is no easing), one shared instance per curve, and
// the helpers that evaluate a curve (none: a jump to the end) and ease whole lists of values.

#include <cstdint>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/value.h"

class KIVO_CORE_EXPORT KivoEasing {
public:
    KivoEasing() = delete;

    static KivoEasePtr EaseNone() { return nullptr; }
#define KIVO_EASE_FAMILY(F)          \
    static KivoEasePtr EaseIn##F();  \
    static KivoEasePtr EaseOut##F(); \
    static KivoEasePtr EaseInOut##F();
    KIVO_EASE_FAMILY(Back)
    KIVO_EASE_FAMILY(Bounce)
    KIVO_EASE_FAMILY(Circ)
    KIVO_EASE_FAMILY(Cubic)
    KIVO_EASE_FAMILY(Elastic)
    KIVO_EASE_FAMILY(Expo)
    KIVO_EASE_FAMILY(Linear)
    KIVO_EASE_FAMILY(Quad)
    KIVO_EASE_FAMILY(Quart)
    KIVO_EASE_FAMILY(Quint)
    KIVO_EASE_FAMILY(Sine)
#undef KIVO_EASE_FAMILY

    // The curves numbered from 1, three to a family (In, Out, then InOut), the families in the order
    // declared above: 33 numbers in all. Any other number gives none.
    static KivoEasePtr EaseByIndex(std::int64_t index);
    // By identity with the shared instances; none, or any other curve object, gives 0.
    static std::int64_t IndexFromEase(const KivoEasePtr& ease);
};

class KIVO_CORE_EXPORT KivoEasingUtil {
public:
    KivoEasingUtil() = delete;

    // With no curve, the end value b + c at once, whatever t is.
    static double ease(const KivoEasePtr& ease, double t, double b, double c, double d);
    // A dictionary with "x" (a copy of X) and "y" (each number of Y eased up from `bottom`; anything else,
    // NaN included, the null value). Direction 0 gives two empty lists.
    static plat::Dictionary easePointsListX(const plat::Array& x, const plat::Array& y, double bottom, double time,
                                            double duration, std::int64_t direction, const KivoEasePtr& ease);
};
