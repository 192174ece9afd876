#pragma once
// Internal: glyph runs composited straight into an image's pixels with Pixman, the same Pixman calls
// Cairo's image backend makes for them, without Cairo's work around each call (its state, pattern,
// clip and extents for every run, which for a grid's short cell texts cost as much as the
// compositing itself).
//
// Each glyph's coverage is taken once, through Cairo, from the very font Cairo would draw it with;
// glyphs are placed with Cairo's arithmetic (its user-to-device transform of glyph positions and its
// rounding to whole pixels) and composited in Cairo's colour with Pixman's OVER, so every pixel comes
// out as Cairo's. What that cannot promise is left to Cairo: transforms that rotate or skew, fonts
// whose glyphs are not grey coverage, a font made for another transform, and a run in which two
// glyphs cover the same pixel (Cairo may then sum their coverage first).
//
// One store a thread (Cairo's fonts and Pixman's images are not shared across threads here),
// bounded; it holds a reference to every font it keeps glyphs of, so a font's address is never
// taken for another's.

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Platform/foundation/geometry.h"

typedef struct _cairo_scaled_font cairo_scaled_font_t;
typedef union pixman_image pixman_image_t;
typedef struct pixman_glyph_cache_t pixman_glyph_cache_t;

namespace plat::detail {

class GlyphRuns;

class GlyphCompositor {
public:
    // Glyphs kept before the store is emptied and begun again.
    static constexpr std::size_t MaxGlyphs = 4096;

    GlyphCompositor();
    ~GlyphCompositor();
    GlyphCompositor(const GlyphCompositor&) = delete;
    GlyphCompositor& operator=(const GlyphCompositor&) = delete;

    // This thread's store.
    static GlyphCompositor& forThread();

    // Premultiplied ARGB pixels, as Cairo's ARGB32 image surfaces hold them.
    struct Pixels {
        std::uint32_t* data;
        int width, height, strideBytes;
    };
    // Draws `runs`, their layout's top-left corner at (x, y) as GlyphRuns::draw takes it, into
    // `target` under the transform `ctm` with no clip, as cairo_show_glyphs would there; `drawn` gets
    // the box of pixels written (left, top, right, bottom; empty when none). False, with nothing
    // drawn, when Cairo must draw them.
    bool draw(const GlyphRuns& runs, double x, double y, const AffineTransform& ctm, const Pixels& target,
              std::array<int, 4>& drawn);

    // What the store holds, and how many texts it has drawn (for tests).
    std::size_t glyphCount() const { return _glyphs.size(); }
    std::size_t textsDrawn() const { return _textsDrawn; }
    // A smaller bound, for tests of what happens past it.
    void setMaxGlyphs(std::size_t count) { _maxGlyphs = count; }

private:
    struct Key {
        cairo_scaled_font_t* font;
        unsigned long index;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<const void*>()(k.font) ^ (std::hash<unsigned long>()(k.index) * 0x9e3779b97f4a7c15ull);
        }
    };
    // A glyph's coverage: its nonzero box from the glyph's origin rounded to a pixel, and the bytes
    // (a row of `width` each). Empty for a glyph that covers nothing; unusable when Cairo must draw it.
    struct Glyph {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<std::uint8_t> coverage;
        const void* pixman = nullptr;  // Pixman's copy, in the glyph cache
        bool usable = false;
    };
    struct Font {
        bool usable = false;
        std::array<double, 4> linear{};  // the transform the font was made for
    };

    const Font& font(cairo_scaled_font_t* f);
    const Glyph& glyph(cairo_scaled_font_t* f, const Font& info, unsigned long index);
    Glyph capture(cairo_scaled_font_t* f, const Font& info, unsigned long index);
    pixman_image_t* destination(const Pixels& target);
    pixman_image_t* source(std::array<std::uint16_t, 4> colour);
    void clear();

    std::unordered_map<cairo_scaled_font_t*, Font> _fonts;
    std::unordered_map<Key, Glyph, KeyHash> _glyphs;
    pixman_glyph_cache_t* _cache = nullptr;
    pixman_image_t* _dest = nullptr;
    Pixels _destPixels{};
    // New each time the store is emptied: what runs remember of it holds only for their generation.
    std::uint64_t _generation;
    // The colour of the last run drawn, as Pixman's source.
    pixman_image_t* _source = nullptr;
    std::array<std::uint16_t, 4> _sourceColour{};
    std::size_t _maxGlyphs = MaxGlyphs;
    std::size_t _textsDrawn = 0;
};

// Whether text is composited by the store where it can be (this thread; on unless a test compares).
bool glyphCompositingEnabled();
void setGlyphCompositingEnabled(bool enabled);

}  // namespace plat::detail
