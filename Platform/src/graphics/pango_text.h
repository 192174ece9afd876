#pragma once
// Internal: Pango and fontconfig set-up shared by measuring and by the Cairo context. Font maps
// and Pango contexts belong to one thread each (Pango is not thread-safe across them).

#include <pango/pangocairo.h>

#include <string_view>
#include <vector>

#include "Platform/graphics/text.h"

namespace plat::detail {

// This thread's font map over the isolated fontconfig configuration.
PangoFontMap* threadFontMap();
// A new Pango context at 72 dpi with unhinted metrics and unrounded glyph positions (caller unrefs).
PangoContext* newPangoContext();
// This thread's measuring context (no drawing surface).
PangoContext* threadMeasureContext();

PangoFontDescription* newFontDescription(const Font& font);  // caller frees
// The size, in points, that text in `font` is laid out at (an unusable size stands for 12).
double layoutFontSize(const Font& font);
// The largest of those over the whole text and its runs.
double largestFontSize(const AttributedString& text);

// A layout of the text in `pctx`: `width` (points) wraps or truncates by the options when finite.
// `alphaScale` multiplies every colour's alpha. Caller unrefs.
PangoLayout* newLayout(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                       double alphaScale = 1.0);
// The width of the text before each of its byte offsets (size + 1 of them), laid out once on one line
// in `font`: an offset inside a character counts that character whole. Summed in 64 bits, so right
// however long the text.
std::vector<double> widthsBeforeOffsets(std::string_view text, const Font& font);
// Logical size of a layout in points, right however long or tall the layout is.
Size layoutSize(PangoLayout* layout);

}  // namespace plat::detail
