#pragma once
// Internal: laid-out texts kept for measuring and drawing again. Controls draw the same short strings
// frame after frame (cell values, axis labels, day numbers), and shaping them is most of a frame;
// a text laid out once is drawn again from its layout. One cache a thread (Pango is not thread-safe),
// shared by every control on it, bounded by count and by an estimate of the bytes the layouts hold,
// the least recently used dropped first.
//
// An entry is found only by everything that shapes its layout: the Pango context it was made in (for
// drawing, one context per device transform and surface font options, so scale is part of the key),
// the text with its fonts, colours and runs, the width, alignment, wrapping and limits, and the alpha
// folded into its colours. Two requests that could lay out differently never share an entry.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/graphics/text.h"
#include "graphics/hash_index.h"

// Pango's and Cairo's types, declared as they do, so that tests reach the cache without their headers.
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;
typedef struct _cairo_font_options cairo_font_options_t;

namespace plat::detail {

class GlyphRuns;

class LayoutCache {
public:
    static constexpr std::size_t DefaultMaxEntries = 16384;
    static constexpr std::size_t DefaultMaxBytes = 32u << 20;
    // Drawing contexts kept, one per device transform and surface font options; a new one past
    // these empties the cache (transforms seldom vary beyond the screen scales in use).
    static constexpr std::size_t MaxDrawingContexts = 8;

    LayoutCache() = default;
    ~LayoutCache();
    LayoutCache(const LayoutCache&) = delete;
    LayoutCache& operator=(const LayoutCache&) = delete;

    // This thread's cache.
    static LayoutCache& forThread();

    // The Pango context to lay out and draw text in on `cr` as it is transformed now (the cache's).
    PangoContext* drawingContext(cairo_t* cr);
    // A layout of the text in `pctx` (made as newLayout makes it, or found): a new reference, which
    // the caller unrefs. `pctx` is the measuring context or one of drawingContext's.
    PangoLayout* layout(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                        double alphaScale = 1.0);
    // What to draw the request with: its kept glyph runs (valid until the cache is next used), taken
    // on the first draw; or null, and then `layout` is a layout to draw (a new reference, which the
    // caller unrefs): when the layout is not kept, is more than plain glyphs, or runs are turned off.
    const GlyphRuns* glyphRuns(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                               double alphaScale, PangoLayout*& layout);
    // The size of that layout (as layoutSize measures it), measured once an entry.
    Size size(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options);

    void clear();
    // Bounds, for tests and tuning: entries past either are dropped, least recently used first.
    void setLimits(std::size_t maxEntries, std::size_t maxBytes);
    std::size_t count() const { return _entries.size(); }
    std::size_t bytes() const { return _bytes; }
    std::size_t hits() const { return _hits; }
    std::size_t misses() const { return _misses; }
    std::size_t runDraws() const { return _runDraws; }  // requests answered with glyph runs

private:
    struct Entry {
        std::string key;
        std::uint64_t hash = 0;           // of the key
        std::list<Entry>::iterator self;  // where it is in the list
        PangoLayout* layout = nullptr;
        std::size_t bytes = 0;
        std::optional<Size> size;         // measured when first asked for
        std::unique_ptr<GlyphRuns> runs;  // taken when first drawn, if it is plain glyphs
        bool runsTaken = false;
    };
    struct DrawingContext {
        double xx, yx, xy, yy;
        cairo_font_options_t* surfaceOptions;
        PangoContext* context;
    };
    using Entries = std::list<Entry>;

    // The entry for the request, found or made; null when it is too large to keep, the layout then
    // made for this use only in `uncached` (a reference the caller owns).
    Entry* entry(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options, double alphaScale,
                 PangoLayout*& uncached);
    void trim();
    void dropContexts();

    Entries _entries;  // most recently used first
    HashIndex<Entry> _index;
    std::string _key;  // the request's key, its storage kept between requests
    std::vector<DrawingContext> _contexts;
    // The one drawingContext answered last for an image surface: every image surface has the same
    // font options, so the next on one under the same transform is answered without asking Cairo.
    std::optional<std::size_t> _lastOnImage;
    std::size_t _bytes = 0;
    std::size_t _maxEntries = DefaultMaxEntries;
    std::size_t _maxBytes = DefaultMaxBytes;
    std::size_t _hits = 0, _misses = 0, _runDraws = 0;
};

}  // namespace plat::detail
