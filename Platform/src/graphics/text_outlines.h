#pragma once
// Internal: draws a Pango layout as filled glyph outlines, for text too large on the device for
// Cairo's FreeType fonts (they fail, and draw nothing, from about 900 pixels an em here).

#include <cairo.h>
#include <pango/pangocairo.h>

#include "Platform/foundation/geometry.h"

namespace plat::detail {

// The largest em, in device pixels, that text is rasterised at as glyphs; larger text is outlined.
constexpr double MaxGlyphPixels = 256;

// Fills the layout's glyph outlines (and run backgrounds) in their colours, its top-left corner at
// `origin`, under `ctm`. The outlines are taken at `reduction` times smaller on the device, which
// must already be the scale `layout`'s context was updated for. Leaves the matrix at `ctm`.
void fillLayoutOutlines(cairo_t* cr, PangoLayout* layout, Point origin, const AffineTransform& ctm, double reduction);

}  // namespace plat::detail
