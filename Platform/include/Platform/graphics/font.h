#pragma once
// Font descriptors (family, point size, weight, traits) and the user's preferred text size: the
// process-wide content size category that text-scaling code reads at the moment it needs it.

#include <cmath>
#include <functional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/value.h"

namespace plat {

enum class FontWeight {
    UltraLight = 100,
    Thin = 200,
    Light = 300,
    Regular = 400,
    Medium = 500,
    Semibold = 600,
    Bold = 700,
    Heavy = 800,
    Black = 900
};

enum FontTraits : unsigned {
    FontTraitNone = 0,
    FontTraitItalic = 1,
    FontTraitBold = 2,
    FontTraitCondensed = 4,
    FontTraitMonospace = 8
};

// The point size of the platform's small system font (secondary text, table cells of dense lists).
inline constexpr double SmallSystemFontSize = 12;

struct PLAT_EXPORT Font {
    std::string family = systemFamily();
    double size = 12;
    FontWeight weight = FontWeight::Regular;
    unsigned traits = FontTraitNone;

    Font() = default;
    Font(std::string familyName, double pointSize, FontWeight w = FontWeight::Regular, unsigned t = FontTraitNone)
        : family(std::move(familyName)), size(pointSize), weight(w), traits(t) {}

    // True when the size can be laid out (finite and positive); text in any other size draws nothing.
    bool hasUsableSize() const { return std::isfinite(size) && size > 0; }

    // The family that stands for the platform's system font.
    static const char* systemFamily() { return ".SystemUI"; }
    static Font system(double pointSize, FontWeight w = FontWeight::Regular) { return {systemFamily(), pointSize, w}; }
    static Font boldSystem(double pointSize) { return system(pointSize, FontWeight::Bold); }
    // A font named as the platform names faces ("HelveticaNeue-Bold"): a "-Bold", "-Italic", "-Light",
    // "-Medium", "-BoldItalic" … suffix turns into weight and traits, the rest is the family.
    static Font named(std::string_view name, double pointSize);

    Font withSize(double pointSize) const { return {family, pointSize, weight, traits}; }
    bool isBold() const { return weight >= FontWeight::Semibold || (traits & FontTraitBold); }
    bool isItalic() const { return (traits & FontTraitItalic) != 0; }

    friend bool operator==(const Font&, const Font&) = default;
};

// The entries of a font attribute dictionary, as hosts of the controls spell them.
inline constexpr const char* FontNameAttribute = "NSFontNameAttribute";      // string: a face name ("HelveticaNeue-Bold")
inline constexpr const char* FontFamilyAttribute = "NSFontFamilyAttribute";  // string: a family name
inline constexpr const char* FontSizeAttribute = "NSFontSizeAttribute";      // number: points

// The font an attribute dictionary describes, the one reading every control shares. A face name
// decides family, weight and traits, and a family given beside it is not used; without a name the
// family is taken, else the system font's. A size that is missing, not a number, not finite or not
// positive leaves the default size. Entries of the wrong type and empty names count as missing.
PLAT_EXPORT Font fontFromAttributes(const Dictionary& attributes);

// The user's preferred text size, as category names.
namespace ContentSizeCategory {
inline constexpr const char* ExtraSmall = "UIContentSizeCategoryExtraSmall";
inline constexpr const char* Small = "UIContentSizeCategorySmall";
inline constexpr const char* Medium = "UIContentSizeCategoryMedium";
inline constexpr const char* Large = "UIContentSizeCategoryLarge";
inline constexpr const char* ExtraLarge = "UIContentSizeCategoryExtraLarge";
inline constexpr const char* ExtraExtraLarge = "UIContentSizeCategoryExtraExtraLarge";
inline constexpr const char* ExtraExtraExtraLarge = "UIContentSizeCategoryExtraExtraExtraLarge";
inline constexpr const char* AccessibilityMedium = "UIContentSizeCategoryAccessibilityMedium";
inline constexpr const char* AccessibilityLarge = "UIContentSizeCategoryAccessibilityLarge";
inline constexpr const char* AccessibilityExtraLarge = "UIContentSizeCategoryAccessibilityExtraLarge";
inline constexpr const char* AccessibilityExtraExtraLarge = "UIContentSizeCategoryAccessibilityExtraExtraLarge";
inline constexpr const char* AccessibilityExtraExtraExtraLarge = "UIContentSizeCategoryAccessibilityExtraExtraExtraLarge";
inline constexpr const char* Unspecified = "_UICTContentSizeCategoryUnspecified";
}  // namespace ContentSizeCategory

// The category in force (Large until someone sets another). Safe from any thread.
PLAT_EXPORT std::string preferredContentSizeCategory();
// Stores the category and, when it changed, calls the change handler (the UI layer posts its
// notification from there). Any string is accepted: unknown names scale by 1.
PLAT_EXPORT void setPreferredContentSizeCategory(std::string_view category);
// One handler at a time; the UI layer installs it. Returns the previous one, so whoever replaces it for a
// while can put it back. An empty function removes it.
using ContentSizeCategoryChangeHandler = std::function<void(const std::string& category)>;
PLAT_EXPORT ContentSizeCategoryChangeHandler setContentSizeCategoryChangeHandler(ContentSizeCategoryChangeHandler handler);

// The body text size of a category, in points (17 at Large): what dynamic-type text styles scale from.
PLAT_EXPORT double preferredBodyPointSize(std::string_view category);
// preferredBodyPointSize(category) / preferredBodyPointSize(Large).
PLAT_EXPORT double contentSizeScale(std::string_view category);

}  // namespace plat
