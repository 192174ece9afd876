#pragma once
// Internal: a kept layout in the terms Cairo draws it in. Pango's Cairo renderer walks a layout's
// lines and runs, works out each run's colour and each glyph's place, and hands every run to
// cairo_show_glyphs; for a layout drawn again and again all but the last step gives the same answer
// every time. Taken once (through Pango's own walk, so lines, alignment, rise and offsets are placed
// by Pango itself), a layout of plain glyphs is drawn with the same Cairo calls, in the same order,
// with the same arithmetic: the same pixels for less.
//
// Only layouts whose drawing is plain glyphs in a colour are taken: one that draws anything else
// (a background, a line, a shape, a glyph its font lacks) stays with Pango's renderer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Pango's and Cairo's types, declared as they do, so that tests reach the switch without their headers.
typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace plat::detail {

class GlyphRuns {
public:
    // The runs of `layout`, or null when drawing it is more than plain glyphs.
    static std::unique_ptr<GlyphRuns> capture(PangoLayout* layout);
    // Whether Cairo draws text on `cr`'s target as glyphs alone (a surface that keeps the text too,
    // such as a document's, is given clusters by Pango's renderer).
    static bool drawsPlainGlyphs(cairo_t* cr);

    ~GlyphRuns();
    GlyphRuns(const GlyphRuns&) = delete;
    GlyphRuns& operator=(const GlyphRuns&) = delete;

    // Draws the runs with the layout's top-left corner at (x, y): the current point as Cairo gives
    // it back after a move there (Pango starts from that, rounded through Cairo's fixed point).
    void draw(cairo_t* cr, double x, double y) const;
    // What the runs hold, for the cache's bound.
    std::size_t bytes() const;
    // The layout's ink from its top-left corner in points (left, top, right, bottom), as Pango gives it.
    const std::array<double, 4>& ink() const { return _ink; }
    // References to Cairo's fonts that runs hold now, over every thread (for tests of their release).
    static std::size_t fontsHeld();

private:
    struct Run {
        cairo_scaled_font_t* font;  // a reference of our own
        double red, green, blue, alpha;
        double x, y;  // the run's start from the layout's corner, in points
        std::size_t first, count;
    };
    GlyphRuns() = default;
    friend class GlyphRunCapture;
    friend class GlyphCompositor;

    struct Glyph {
        unsigned long index;
        double x, y;  // from the start of the run; y 0 means on it
    };
    std::vector<Run> _runs;
    std::vector<Glyph> _glyphs;
    // What the glyph compositor found for each glyph, while its store is the one it found them in:
    // a text drawn again is not looked up glyph by glyph.
    mutable std::vector<const void*> _composited;
    mutable std::uint64_t _compositedIn = 0;
    std::array<double, 4> _ink{};
};

// Whether kept layouts are drawn from their glyph runs (this thread; on unless a test compares the
// two ways).
bool glyphRunsEnabled();
void setGlyphRunsEnabled(bool enabled);

}  // namespace plat::detail
