#include "Platform/graphics/font.h"

#include <array>
#include <mutex>
#include <utility>

namespace plat {

Font Font::named(std::string_view name, double pointSize) {
    struct Suffix {
        std::string_view text;
        FontWeight weight;
        unsigned traits;
    };
    static constexpr std::array<Suffix, 12> Suffixes{{
        {"-BoldItalic", FontWeight::Bold, FontTraitItalic | FontTraitBold},
        {"-BoldOblique", FontWeight::Bold, FontTraitItalic | FontTraitBold},
        {"-LightItalic", FontWeight::Light, FontTraitItalic},
        {"-MediumItalic", FontWeight::Medium, FontTraitItalic},
        {"-UltraLight", FontWeight::UltraLight, FontTraitNone},
        {"-Thin", FontWeight::Thin, FontTraitNone},
        {"-Light", FontWeight::Light, FontTraitNone},
        {"-Medium", FontWeight::Medium, FontTraitNone},
        {"-Bold", FontWeight::Bold, FontTraitBold},
        {"-Italic", FontWeight::Regular, FontTraitItalic},
        {"-Oblique", FontWeight::Regular, FontTraitItalic},
        {"-Regular", FontWeight::Regular, FontTraitNone},
    }};
    for (const auto& s : Suffixes) {
        if (name.size() > s.text.size() && name.substr(name.size() - s.text.size()) == s.text)
            return Font(std::string(name.substr(0, name.size() - s.text.size())), pointSize, s.weight, s.traits);
    }
    return Font(std::string(name), pointSize);
}

Font fontFromAttributes(const Dictionary& attributes) {
    const auto text = [&](const char* key) -> const std::string* {
        const auto it = attributes.find(key);
        return it != attributes.end() && it->second.isString() && !it->second.asString().empty() ? &it->second.asString()
                                                                                                 : nullptr;
    };
    Font font;
    if (const auto it = attributes.find(FontSizeAttribute); it != attributes.end() && it->second.isNumber()) {
        const double points = it->second.asDouble();
        if (std::isfinite(points) && points > 0) font.size = points;
    }
    if (const std::string* name = text(FontNameAttribute)) return Font::named(*name, font.size);
    if (const std::string* family = text(FontFamilyAttribute)) font.family = *family;
    return font;
}

namespace {

struct CategoryState {
    std::mutex mutex;
    std::string category = ContentSizeCategory::Large;
    std::function<void(const std::string&)> handler;
};

CategoryState& categoryState() {
    static CategoryState state;
    return state;
}

}  // namespace

std::string preferredContentSizeCategory() {
    auto& s = categoryState();
    std::lock_guard lock(s.mutex);
    return s.category;
}

void setPreferredContentSizeCategory(std::string_view category) {
    auto& s = categoryState();
    std::function<void(const std::string&)> handler;
    std::string now(category);
    {
        std::lock_guard lock(s.mutex);
        if (s.category == now) return;
        s.category = now;
        handler = s.handler;
    }
    // Called outside the lock: the handler may read the category again.
    if (handler) handler(now);
}

ContentSizeCategoryChangeHandler setContentSizeCategoryChangeHandler(ContentSizeCategoryChangeHandler handler) {
    auto& s = categoryState();
    std::lock_guard lock(s.mutex);
    return std::exchange(s.handler, std::move(handler));
}

double preferredBodyPointSize(std::string_view category) {
    static constexpr std::array<std::pair<std::string_view, double>, 12> Sizes{{
        {ContentSizeCategory::ExtraSmall, 14},
        {ContentSizeCategory::Small, 15},
        {ContentSizeCategory::Medium, 16},
        {ContentSizeCategory::Large, 17},
        {ContentSizeCategory::ExtraLarge, 19},
        {ContentSizeCategory::ExtraExtraLarge, 21},
        {ContentSizeCategory::ExtraExtraExtraLarge, 23},
        {ContentSizeCategory::AccessibilityMedium, 28},
        {ContentSizeCategory::AccessibilityLarge, 33},
        {ContentSizeCategory::AccessibilityExtraLarge, 40},
        {ContentSizeCategory::AccessibilityExtraExtraLarge, 47},
        {ContentSizeCategory::AccessibilityExtraExtraExtraLarge, 53},
    }};
    for (const auto& [name, size] : Sizes)
        if (name == category) return size;
    return 17;
}

double contentSizeScale(std::string_view category) { return preferredBodyPointSize(category) / 17.0; }

}  // namespace plat
