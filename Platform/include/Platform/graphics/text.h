#pragma once
// Attributed strings and their measuring: runs of font, colour and background over UTF-8 text,
// laid out at 72 dpi with unhinted, unrounded metrics so sizes are the same at every scale.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

namespace plat {

struct PLAT_EXPORT TextAttributes {
    Font font;
    Color color = Color::black();
    std::optional<Color> background;
};

struct PLAT_EXPORT AttributedString {
    // A change of attributes over a byte range of `text`.
    struct Run {
        std::size_t start = 0, length = 0;
        std::optional<Font> font;
        std::optional<Color> color;
        std::optional<Color> background;
    };

    std::string text;
    TextAttributes attributes;  // for the whole string
    std::vector<Run> runs;      // later runs win where they overlap

    AttributedString() = default;
    AttributedString(std::string t, TextAttributes a = {}) : text(std::move(t)), attributes(std::move(a)) {}
    AttributedString(std::string t, const Font& font, const Color& color) : text(std::move(t)), attributes{font, color, {}} {}
};

// The platform's codes. Natural follows the writing direction of the current locale: left where it
// writes left to right, right where it writes right to left.
enum class TextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };
// Natural as Left or Right for the current locale; the others as they are.
PLAT_EXPORT TextAlignment resolvedTextAlignment(TextAlignment alignment);
enum class LineBreakMode { WordWrap, CharWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };

struct PLAT_EXPORT TextOptions {
    TextAlignment alignment = TextAlignment::Left;
    LineBreakMode lineBreak = LineBreakMode::WordWrap;
    int maxLines = 0;         // 0: as many as the text needs (truncating modes default to one)
    bool clipToRect = false;  // drawing in a rectangle clips to it when set
    // Keeps only the lines that fit this height (at least one), the last line kept truncated at its
    // end when text is left out. Needs a width to wrap in; infinity keeps every line.
    double maxHeight = std::numeric_limits<double>::infinity();
    // Drawing in a rectangle limits the height to the rectangle's (maxHeight, when smaller, holds).
    bool fitHeight = false;
};

// Size of the text box: the width of the widest line and the height of all lines. `maxWidth` wraps
// (or truncates, by the options) the text to that width; infinity means one line per paragraph.
PLAT_EXPORT Size measureText(const AttributedString& text, double maxWidth = std::numeric_limits<double>::infinity(),
                             const TextOptions& options = {});
PLAT_EXPORT Size measureText(std::string_view text, const Font& font);

// Font metrics at a size: ascent (above the baseline) and descent (below it), positive.
struct PLAT_EXPORT FontMetrics {
    double ascent = 0, descent = 0, lineHeight = 0;
};
PLAT_EXPORT FontMetrics fontMetrics(const Font& font);

}  // namespace plat
