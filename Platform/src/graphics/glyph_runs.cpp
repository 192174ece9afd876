#include "graphics/glyph_runs.h"

#include <pango/pangocairo.h>

#include <atomic>
#include <climits>
#include <cstdint>

namespace plat::detail {

namespace {

thread_local bool runsEnabled = true;
std::atomic<std::size_t> heldFonts{0};

}  // namespace

// A renderer that draws nothing: it notes the runs Pango's walk over a layout hands it, and whether
// the walk asked for anything but glyphs.
class GlyphRunCapture {
public:
    struct Instance {
        PangoRenderer parent;
        GlyphRuns* into;
        bool plain;
    };
    struct Class {
        PangoRendererClass parent;
    };

    static GType type() {
        static const GType registered = g_type_register_static_simple(PANGO_TYPE_RENDERER, "PlatGlyphRunCapture", sizeof(Class),
                                                                      reinterpret_cast<GClassInitFunc>(+classInit),
                                                                      sizeof(Instance), nullptr, static_cast<GTypeFlags>(0));
        return registered;
    }

private:
    static void classInit(Class* klass, gpointer) {
        PangoRendererClass* r = &klass->parent;
        r->draw_glyphs = drawGlyphs;
        r->draw_rectangle = [](PangoRenderer* self, PangoRenderPart, int, int, int, int) { refuse(self); };
        r->draw_error_underline = [](PangoRenderer* self, int, int, int, int) { refuse(self); };
        r->draw_shape = [](PangoRenderer* self, PangoAttrShape*, int, int) { refuse(self); };
        r->draw_trapezoid = [](PangoRenderer* self, PangoRenderPart, double, double, double, double, double, double) {
            refuse(self);
        };
        r->draw_glyph = [](PangoRenderer* self, PangoFont*, PangoGlyph, double, double) { refuse(self); };
    }

    static Instance* of(PangoRenderer* self) { return reinterpret_cast<Instance*>(self); }
    static void refuse(PangoRenderer* self) { of(self)->plain = false; }

    // As Pango's Cairo renderer places a run: its start converted once, each glyph's place within it
    // summed in Pango units and converted on its own, a glyph that draws nothing skipped.
    static void drawGlyphs(PangoRenderer* self, PangoFont* font, PangoGlyphString* glyphs, int x, int y) {
        Instance* capture = of(self);
        if (!capture->plain) return;
        const PangoColor* colour = pango_renderer_get_color(self, PANGO_RENDER_PART_FOREGROUND);
        const guint16 alpha = pango_renderer_get_alpha(self, PANGO_RENDER_PART_FOREGROUND);
        cairo_scaled_font_t* scaled =
            PANGO_IS_CAIRO_FONT(font) ? pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font)) : nullptr;
        if (!colour || alpha == 0 || !scaled || cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
            capture->plain = false;
            return;
        }
        GlyphRuns& runs = *capture->into;
        const std::size_t first = runs._glyphs.size();
        std::int64_t position = 0;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& g = glyphs->glyphs[i];
            const std::int64_t at = position + g.geometry.x_offset;
            if (g.glyph != PANGO_GLYPH_EMPTY) {
                if ((g.glyph & PANGO_GLYPH_UNKNOWN_FLAG) || at < INT_MIN || at > INT_MAX) {
                    capture->plain = false;  // a box for a missing glyph, or past what Pango sums right
                    return;
                }
                runs._glyphs.push_back(
                    {g.glyph, static_cast<double>(at) / PANGO_SCALE, static_cast<double>(g.geometry.y_offset) / PANGO_SCALE});
            }
            position += g.geometry.width;
        }
        if (runs._glyphs.size() == first) return;  // Cairo draws nothing for no glyphs
        ++heldFonts;
        runs._runs.push_back({cairo_scaled_font_reference(scaled), colour->red / 65535., colour->green / 65535.,
                              colour->blue / 65535., alpha / 65535., static_cast<double>(x) / PANGO_SCALE,
                              static_cast<double>(y) / PANGO_SCALE, first, runs._glyphs.size() - first});
    }

    friend class GlyphRuns;
};

std::unique_ptr<GlyphRuns> GlyphRuns::capture(PangoLayout* layout) {
    std::unique_ptr<GlyphRuns> runs(new GlyphRuns);
    auto* renderer = static_cast<GlyphRunCapture::Instance*>(g_object_new(GlyphRunCapture::type(), nullptr));
    renderer->into = runs.get();
    renderer->plain = true;
    pango_renderer_draw_layout(&renderer->parent, layout, 0, 0);
    const bool plain = renderer->plain;
    g_object_unref(renderer);
    if (!plain) return nullptr;
    PangoRectangle ink;
    pango_layout_get_extents(layout, &ink, nullptr);
    runs->_ink = {pango_units_to_double(ink.x), pango_units_to_double(ink.y), pango_units_to_double(ink.x + ink.width),
                  pango_units_to_double(ink.y + ink.height)};
    runs->_glyphs.shrink_to_fit();
    runs->_runs.shrink_to_fit();
    // Made now, so the cache's bound counts it.
    runs->_composited.assign(runs->_glyphs.size(), nullptr);
    return runs;
}

bool GlyphRuns::drawsPlainGlyphs(cairo_t* cr) { return !cairo_surface_has_show_text_glyphs(cairo_get_target(cr)); }

GlyphRuns::~GlyphRuns() {
    for (const Run& run : _runs) cairo_scaled_font_destroy(run.font);
    heldFonts -= _runs.size();
}

std::size_t GlyphRuns::fontsHeld() { return heldFonts; }

void GlyphRuns::draw(cairo_t* cr, double x, double y) const {
    thread_local std::vector<cairo_glyph_t> placed;
    for (const Run& run : _runs) {
        const double baseX = x + run.x, baseY = y + run.y;
        placed.resize(run.count);
        const Glyph* from = _glyphs.data() + run.first;
        for (std::size_t i = 0; i < run.count; ++i) {
            placed[i].index = from[i].index;
            placed[i].x = baseX + from[i].x;
            placed[i].y = from[i].y == 0 ? baseY : baseY + from[i].y;
        }
        cairo_save(cr);
        cairo_set_source_rgba(cr, run.red, run.green, run.blue, run.alpha);
        cairo_set_scaled_font(cr, run.font);
        cairo_show_glyphs(cr, placed.data(), static_cast<int>(run.count));
        cairo_restore(cr);
    }
}

std::size_t GlyphRuns::bytes() const {
    return sizeof(GlyphRuns) + _runs.size() * sizeof(Run) + _glyphs.size() * sizeof(Glyph) + _composited.size() * sizeof(void*);
}

bool glyphRunsEnabled() { return runsEnabled; }
void setGlyphRunsEnabled(bool enabled) { runsEnabled = enabled; }

}  // namespace plat::detail
