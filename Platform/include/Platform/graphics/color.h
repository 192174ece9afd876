#pragma once
// An RGBA colour of doubles in 0…1 (device RGB), with HSB conversion and the named colours
// that the controls use as defaults; colour objects for the setters that tell colours by identity.

#include "Platform/PlatformExport.h"
#include "Platform/foundation/shared_value.h"

namespace plat {

struct PLAT_EXPORT Color {
    double r = 0, g = 0, b = 0, a = 1;

    constexpr Color() = default;
    constexpr Color(double red, double green, double blue, double alpha = 1) : r(red), g(green), b(blue), a(alpha) {}

    // 0…255 components, as colour pickers and style sheets give them.
    static constexpr Color rgb255(int red, int green, int blue, double alpha = 1) {
        return {red / 255.0, green / 255.0, blue / 255.0, alpha};
    }
    static constexpr Color white(double w, double alpha = 1) { return {w, w, w, alpha}; }
    // Hue, saturation and brightness in 0…1; hue wraps around.
    static Color fromHSB(double hue, double saturation, double brightness, double alpha = 1);

    struct HSB {
        double hue = 0, saturation = 0, brightness = 0, alpha = 1;
    };
    HSB toHSB() const;

    constexpr Color withAlpha(double alpha) const { return {r, g, b, alpha}; }
    // Components limited to 0…1; NaN becomes 0.
    Color clamped() const;
    bool isClear() const { return a <= 0; }

    static constexpr Color clear() { return {0, 0, 0, 0}; }
    static constexpr Color black() { return {0, 0, 0, 1}; }
    static constexpr Color white() { return {1, 1, 1, 1}; }
    static constexpr Color darkGray() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static constexpr Color gray() { return {0.5, 0.5, 0.5, 1}; }
    static constexpr Color lightGray() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static constexpr Color red() { return {1, 0, 0, 1}; }
    static constexpr Color green() { return {0, 1, 0, 1}; }
    static constexpr Color blue() { return {0, 0, 1, 1}; }
    static constexpr Color cyan() { return {0, 1, 1, 1}; }
    static constexpr Color yellow() { return {1, 1, 0, 1}; }
    static constexpr Color magenta() { return {1, 0, 1, 1}; }
    static constexpr Color orange() { return {1, 0.5, 0, 1}; }
    static constexpr Color purple() { return {0.5, 0, 0.5, 1}; }
    static constexpr Color brown() { return {0.6, 0.4, 0.2, 1}; }

    friend bool operator==(const Color&, const Color&) = default;
};

// Components equal within `tolerance` (colours that went through 8-bit pixels or alpha products).
PLAT_EXPORT bool nearlyEqual(const Color& x, const Color& y, double tolerance = 1e-9);

// A colour in a shared object (see SharedValue): for setters that compare colours by identity.
using ColorObject = SharedValue<Color>;
// The platform's shared named colour objects: each answers the same object on every call, which a
// colour made from the same components is not.
PLAT_EXPORT const ColorObject& sharedWhiteColor();
PLAT_EXPORT const ColorObject& sharedBlackColor();
PLAT_EXPORT const ColorObject& sharedClearColor();

}  // namespace plat
