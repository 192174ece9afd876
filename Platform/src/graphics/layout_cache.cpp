#include "graphics/layout_cache.h"

#include <pango/pangocairo.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>

#include "graphics/glyph_runs.h"
#include "graphics/pango_text.h"

namespace plat::detail {

namespace {

// What a layout holds beyond its text, and per byte of text (items, glyphs, log attributes, lines),
// as measured on short and long texts.
constexpr std::size_t LayoutBaseBytes = 1536;
constexpr std::size_t LayoutBytesPerTextByte = 80;

// The key is the exact bytes of everything that shapes a layout: equal keys, equal layouts.
class KeyWriter {
public:
    template <typename T>
    void raw(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    void text(std::string_view s) {
        raw(s.size());
        key.append(s);
    }
    void font(const Font& f) {
        text(f.family);
        raw(f.size);
        raw(f.weight);
        raw(f.traits);
    }
    void color(const Color& c) {
        raw(c.r);
        raw(c.g);
        raw(c.b);
        raw(c.a);
    }
    template <typename T, typename Write>
    void optional(const std::optional<T>& v, Write write) {
        raw(v.has_value());
        if (v) (this->*write)(*v);
    }
    std::string key;
};

// Written into `into` (its storage kept from one request to the next).
void writeKey(std::string& into, PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
              double alphaScale) {
    KeyWriter w;
    w.key.swap(into);
    w.key.clear();
    w.key.reserve(64 + text.text.size() + text.attributes.font.family.size());
    w.raw(static_cast<const void*>(pctx));
    w.text(text.text);
    w.font(text.attributes.font);
    w.color(text.attributes.color);
    w.optional(text.attributes.background, &KeyWriter::color);
    w.raw(text.runs.size());
    for (const auto& run : text.runs) {
        w.raw(run.start);
        w.raw(run.length);
        w.optional(run.font, &KeyWriter::font);
        w.optional(run.color, &KeyWriter::color);
        w.optional(run.background, &KeyWriter::color);
    }
    w.raw(width);
    // Natural alignment follows the current locale: the side it resolves to is what shapes the layout.
    w.raw(resolvedTextAlignment(options.alignment));
    w.raw(options.lineBreak);
    w.raw(options.maxLines);
    w.raw(options.maxHeight);
    w.raw(alphaScale);
    into.swap(w.key);
}

}  // namespace

LayoutCache::~LayoutCache() {
    clear();
    dropContexts();
}

LayoutCache& LayoutCache::forThread() {
    thread_local LayoutCache cache;
    return cache;
}

PangoContext* LayoutCache::drawingContext(cairo_t* cr) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const bool onImage = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
    const auto sameTransform = [&](const DrawingContext& known) {
        return known.xx == m.xx && known.yx == m.yx && known.xy == m.xy && known.yy == m.yy;
    };
    if (onImage && _lastOnImage && sameTransform(_contexts[*_lastOnImage])) return _contexts[*_lastOnImage].context;
    cairo_font_options_t* surfaceOptions = cairo_font_options_create();
    cairo_surface_get_font_options(cairo_get_target(cr), surfaceOptions);
    for (std::size_t k = 0; k < _contexts.size(); ++k) {
        const auto& known = _contexts[k];
        if (sameTransform(known) && cairo_font_options_equal(known.surfaceOptions, surfaceOptions)) {
            cairo_font_options_destroy(surfaceOptions);
            if (onImage) _lastOnImage = k;
            return known.context;
        }
    }
    // Layouts belong to their context: a context let go takes its layouts with it.
    if (_contexts.size() >= MaxDrawingContexts) {
        clear();
        dropContexts();
    }
    PangoContext* context = newPangoContext();
    // Once, as it is made: the context's transform and font options are then those of its key, so
    // its layouts stay valid (Pango lays a layout out again whenever its context changes).
    pango_cairo_update_context(cr, context);
    _contexts.push_back({m.xx, m.yx, m.xy, m.yy, surfaceOptions, context});
    if (onImage) _lastOnImage = _contexts.size() - 1;
    return context;
}

LayoutCache::Entry* LayoutCache::entry(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                                       double alphaScale, PangoLayout*& uncached) {
    writeKey(_key, pctx, text, width, options, alphaScale);
    const std::uint64_t hash = std::hash<std::string>{}(_key);
    if (Entry* found = _index.find(hash, [&](const Entry& e) { return e.key == _key; })) {
        ++_hits;
        _entries.splice(_entries.begin(), _entries, found->self);
        return found;
    }
    ++_misses;
    PangoLayout* made = newLayout(pctx, text, width, options, alphaScale);
    const std::size_t bytes = _key.size() * 2 + LayoutBaseBytes + text.text.size() * LayoutBytesPerTextByte;
    if (bytes > _maxBytes || _maxEntries == 0) {
        uncached = made;  // too large to keep: laid out for this use only
        return nullptr;
    }
    _entries.push_front({_key, hash, {}, made, bytes, std::nullopt, nullptr, false});
    _entries.front().self = _entries.begin();
    _index.insert(hash, &_entries.front());
    _bytes += bytes;
    trim();
    return &_entries.front();
}

PangoLayout* LayoutCache::layout(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                                 double alphaScale) {
    PangoLayout* uncached = nullptr;
    Entry* kept = entry(pctx, text, width, options, alphaScale, uncached);
    return kept ? static_cast<PangoLayout*>(g_object_ref(kept->layout)) : uncached;
}

const GlyphRuns* LayoutCache::glyphRuns(PangoContext* pctx, const AttributedString& text, double width,
                                        const TextOptions& options, double alphaScale, PangoLayout*& layout) {
    layout = nullptr;
    Entry* kept = entry(pctx, text, width, options, alphaScale, layout);
    if (!kept) return nullptr;
    if (!kept->runsTaken && glyphRunsEnabled()) {
        kept->runsTaken = true;
        kept->runs = GlyphRuns::capture(kept->layout);
        // Counted from now on; the bound is next enforced when an entry is added.
        if (kept->runs) {
            kept->bytes += kept->runs->bytes();
            _bytes += kept->runs->bytes();
        }
    }
    if (kept->runs && glyphRunsEnabled()) {
        ++_runDraws;
        return kept->runs.get();
    }
    layout = static_cast<PangoLayout*>(g_object_ref(kept->layout));
    return nullptr;
}

Size LayoutCache::size(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options) {
    PangoLayout* uncached = nullptr;
    Entry* kept = entry(pctx, text, width, options, 1.0, uncached);
    if (!kept) {
        const Size measured = layoutSize(uncached);
        g_object_unref(uncached);
        return measured;
    }
    if (!kept->size) kept->size = layoutSize(kept->layout);
    return *kept->size;
}

void LayoutCache::clear() {
    for (auto& entry : _entries) g_object_unref(entry.layout);
    _entries.clear();
    _index.clear();
    _bytes = 0;
}

void LayoutCache::setLimits(std::size_t maxEntries, std::size_t maxBytes) {
    _maxEntries = maxEntries;
    _maxBytes = maxBytes;
    trim();
}

void LayoutCache::trim() {
    while (!_entries.empty() && (_entries.size() > _maxEntries || _bytes > _maxBytes)) {
        Entry& last = _entries.back();
        _bytes -= last.bytes;
        _index.erase(last.hash, &last);
        g_object_unref(last.layout);
        _entries.pop_back();
    }
}

void LayoutCache::dropContexts() {
    for (auto& known : _contexts) {
        cairo_font_options_destroy(known.surfaceOptions);
        g_object_unref(known.context);
    }
    _contexts.clear();
    _lastOnImage.reset();
}

}  // namespace plat::detail
