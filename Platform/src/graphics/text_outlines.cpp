#include "graphics/text_outlines.h"

#include <optional>
#include <vector>

namespace plat::detail {

namespace {

struct RunColour {
    double r = 0, g = 0, b = 0, a = 1;
};

// The colours that newLayout() gave a run, as Pango's own renderer would read them.
struct RunPaint {
    RunColour foreground;
    std::optional<RunColour> background;
};

RunPaint paintOf(const PangoLayoutRun* run) {
    RunPaint paint;
    RunColour background;
    bool hasBackground = false;
    for (GSList* a = run->item->analysis.extra_attrs; a; a = a->next) {
        auto* attr = static_cast<PangoAttribute*>(a->data);
        constexpr double Full = 65535.0;
        switch (attr->klass->type) {
            case PANGO_ATTR_FOREGROUND: {
                const PangoColor& c = reinterpret_cast<PangoAttrColor*>(attr)->color;
                paint.foreground = {c.red / Full, c.green / Full, c.blue / Full, paint.foreground.a};
                break;
            }
            case PANGO_ATTR_FOREGROUND_ALPHA:
                paint.foreground.a = reinterpret_cast<PangoAttrInt*>(attr)->value / Full;
                break;
            case PANGO_ATTR_BACKGROUND: {
                const PangoColor& c = reinterpret_cast<PangoAttrColor*>(attr)->color;
                background = {c.red / Full, c.green / Full, c.blue / Full, background.a};
                hasBackground = true;
                break;
            }
            case PANGO_ATTR_BACKGROUND_ALPHA:
                background.a = reinterpret_cast<PangoAttrInt*>(attr)->value / Full;
                break;
            default:
                break;
        }
    }
    if (hasBackground) paint.background = background;
    return paint;
}

void setMatrix(cairo_t* cr, const AffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_set_matrix(cr, &m);
}

struct RunOutline {
    RunPaint paint;
    Rect box;  // the run's logical rectangle, user space
    cairo_path_t* path = nullptr;
};

}  // namespace

void fillLayoutOutlines(cairo_t* cr, PangoLayout* layout, Point origin, const AffineTransform& ctm, double reduction) {
    // Outlines are taken where the glyphs are of a size the fonts can make; in user coordinates
    // they are the same at every scale, so they are filled again at the full one.
    setMatrix(cr, ctm);
    cairo_scale(cr, 1 / reduction, 1 / reduction);
    std::vector<RunOutline> runs;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
        if (!run) continue;  // the end of a line
        PangoRectangle logical;
        pango_layout_iter_get_run_extents(iter, nullptr, &logical);
        const double baseline = static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        RunOutline outline;
        outline.paint = paintOf(run);
        outline.box =
            Rect{origin.x + static_cast<double>(logical.x) / PANGO_SCALE, origin.y + static_cast<double>(logical.y) / PANGO_SCALE,
                 static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
        cairo_new_path(cr);
        cairo_move_to(cr, outline.box.x(), origin.y + baseline);
        pango_cairo_glyph_string_path(cr, run->item->analysis.font, run->glyphs);
        outline.path = cairo_copy_path(cr);
        runs.push_back(outline);
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);

    setMatrix(cr, ctm);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (RunOutline& run : runs) {
        if (const auto& bg = run.paint.background) {
            cairo_new_path(cr);
            cairo_rectangle(cr, run.box.x(), run.box.y(), run.box.width(), run.box.height());
            cairo_set_source_rgba(cr, bg->r, bg->g, bg->b, bg->a);
            cairo_fill(cr);
        }
        cairo_new_path(cr);
        if (run.path->status == CAIRO_STATUS_SUCCESS) cairo_append_path(cr, run.path);
        const RunColour& fg = run.paint.foreground;
        cairo_set_source_rgba(cr, fg.r, fg.g, fg.b, fg.a);
        cairo_fill(cr);
        cairo_path_destroy(run.path);
    }
}

}  // namespace plat::detail
