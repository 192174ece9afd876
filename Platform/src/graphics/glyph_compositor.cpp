#include "graphics/glyph_compositor.h"

#include <cairo.h>
#include <pixman.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "graphics/glyph_runs.h"

namespace plat::detail {

namespace {

thread_local bool compositingEnabled = true;

// Generations are unique over every thread's store, so runs never take one store's glyphs for another's.
std::uint64_t newGeneration() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

// Cairo's rounding of a glyph's device position to a pixel: halves go up.
int roundHalfUp(double v) {
    const double below = std::floor(v);
    return static_cast<int>(v - below >= 0.5 ? below + 1 : below);
}

// Cairo's 16-bit channels of a colour (red, green, blue, alpha): clamped, premultiplied, then scaled
// and rounded.
std::array<std::uint16_t, 4> cairoColour(double r, double g, double b, double a) {
    const auto unit = [](double v) { return std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0); };
    const double alpha = unit(a);
    const auto channel = [](double v) { return static_cast<std::uint16_t>(v * 65535.0 + 0.5); };
    return {channel(unit(r) * alpha), channel(unit(g) * alpha), channel(unit(b) * alpha), channel(alpha)};
}

// Device positions past this are left to Cairo (its own arithmetic narrows them to ints).
constexpr double MaxPosition = 1 << 28;
// Glyphs larger than this on the device are left to Cairo: a grid's text never comes near it.
constexpr double MaxGlyphSide = 256;
// Room round a glyph's metrics for the pixels antialiasing adds, when its coverage is taken.
constexpr int CapturePad = 4;

struct Box {
    int left, top, right, bottom;
    bool meets(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

}  // namespace

bool glyphCompositingEnabled() { return compositingEnabled; }
void setGlyphCompositingEnabled(bool enabled) { compositingEnabled = enabled; }

GlyphCompositor::GlyphCompositor() : _generation(newGeneration()) {}

GlyphCompositor::~GlyphCompositor() {
    clear();
    if (_dest) pixman_image_unref(_dest);
    if (_source) pixman_image_unref(_source);
}

GlyphCompositor& GlyphCompositor::forThread() {
    thread_local GlyphCompositor store;
    return store;
}

void GlyphCompositor::clear() {
    _generation = newGeneration();
    _glyphs.clear();
    if (_cache) {
        pixman_glyph_cache_thaw(_cache);
        pixman_glyph_cache_destroy(_cache);
    }
    _cache = nullptr;
    for (auto& [f, info] : _fonts) cairo_scaled_font_destroy(f);
    _fonts.clear();
}

const GlyphCompositor::Font& GlyphCompositor::font(cairo_scaled_font_t* f) {
    const auto found = _fonts.find(f);
    if (found != _fonts.end()) return found->second;
    Font info;
    cairo_matrix_t fm, ctm;
    cairo_scaled_font_get_font_matrix(f, &fm);
    cairo_scaled_font_get_ctm(f, &ctm);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_get_font_options(f, options);
    const cairo_antialias_t antialias = cairo_font_options_get_antialias(options);
    cairo_font_options_destroy(options);
    info.linear = {ctm.xx, ctm.yx, ctm.xy, ctm.yy};
    // Cairo adds the font matrix's offset to glyph positions; Pango's fonts have none, and one that had
    // would be left to Cairo. Subpixel coverage composites per channel; glyphs are taken as grey
    // coverage, checked as they are.
    info.usable = cairo_scaled_font_status(f) == CAIRO_STATUS_SUCCESS && fm.x0 == 0 && fm.y0 == 0 && ctm.yx == 0 && ctm.xy == 0 &&
                  ctm.xx > 0 && ctm.yy > 0 && antialias != CAIRO_ANTIALIAS_SUBPIXEL;
    return _fonts.emplace(cairo_scaled_font_reference(f), info).first->second;
}

GlyphCompositor::Glyph GlyphCompositor::capture(cairo_scaled_font_t* f, const Font& info, unsigned long index) {
    Glyph g;
    cairo_glyph_t one{index, 0, 0};
    cairo_text_extents_t ext;
    cairo_scaled_font_glyph_extents(f, &one, 1, &ext);
    const double a = info.linear[0], d = info.linear[3];
    const double left = ext.x_bearing * a, right = (ext.x_bearing + ext.width) * a;
    const double top = ext.y_bearing * d, bottom = (ext.y_bearing + ext.height) * d;
    if (!(std::isfinite(left) && std::isfinite(right) && std::isfinite(top) && std::isfinite(bottom)) ||
        !(right - left <= MaxGlyphSide) || !(bottom - top <= MaxGlyphSide) || std::abs(left) > MaxGlyphSide ||
        std::abs(top) > MaxGlyphSide || std::abs(right) > MaxGlyphSide || std::abs(bottom) > MaxGlyphSide)
        return g;
    // The glyph drawn alone, in opaque white over clear pixels, with its origin on a whole pixel: its
    // coverage is then every channel of the pixels it leaves.
    const int originX = CapturePad + static_cast<int>(std::ceil(std::max(0.0, -left)));
    const int originY = CapturePad + static_cast<int>(std::ceil(std::max(0.0, -top)));
    const int width = originX + static_cast<int>(std::ceil(std::max(0.0, right))) + CapturePad;
    const int height = originY + static_cast<int>(std::ceil(std::max(0.0, bottom))) + CapturePad;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_matrix_t m;
    cairo_matrix_init(&m, a, 0, 0, d, originX, originY);
    cairo_set_matrix(cr, &m);
    cairo_set_scaled_font(cr, f);
    const bool sameFont = cairo_get_scaled_font(cr) == f;
    if (sameFont) {
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_show_glyphs(cr, &one, 1);
    }
    const bool drawn = sameFont && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (drawn) {
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        Box box{width, height, 0, 0};
        bool grey = true;
        for (int y = 0; y < height && grey; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = row[x];
                if (p == 0) continue;
                const std::uint32_t c = p & 0xffu;
                if (p != (c << 24 | c << 16 | c << 8 | c)) {
                    grey = false;
                    break;
                }
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
            }
        }
        // Coverage reaching the edge may have been cut off: such a glyph is left to Cairo.
        const bool inside = box.left > 0 && box.top > 0 && box.right < width && box.bottom < height;
        if (grey && (box.left >= box.right || inside)) {
            g.usable = true;
            if (box.left < box.right) {
                g.left = box.left - originX;
                g.top = box.top - originY;
                g.width = box.right - box.left;
                g.height = box.bottom - box.top;
                g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
                for (int y = 0; y < g.height; ++y) {
                    const auto* row =
                        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(box.top + y) * stride);
                    for (int x = 0; x < g.width; ++x)
                        g.coverage[static_cast<std::size_t>(y * g.width + x)] =
                            static_cast<std::uint8_t>(row[box.left + x] & 0xffu);
                }
            }
        }
    }
    cairo_surface_destroy(surface);
    if (g.usable && g.width > 0) {
        // Pixman copies the coverage into its cache; the image made here only lends it.
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8, g.width, g.height, nullptr, 0);
        auto* bits = reinterpret_cast<std::uint8_t*>(pixman_image_get_data(image));
        const int stride = pixman_image_get_stride(image);
        for (int y = 0; y < g.height; ++y)
            std::copy_n(g.coverage.data() + static_cast<std::ptrdiff_t>(y) * g.width, g.width,
                        bits + static_cast<std::ptrdiff_t>(y) * stride);
        if (!_cache) {
            // Kept frozen while it lives: Pixman drops glyphs only as it thaws, and the store keeps
            // Pixman's glyphs by address.
            _cache = pixman_glyph_cache_create();
            pixman_glyph_cache_freeze(_cache);
        }
        g.pixman = pixman_glyph_cache_insert(_cache, f, reinterpret_cast<void*>(index), -g.left, -g.top, image);
        pixman_image_unref(image);
        if (!g.pixman) g.usable = false;
    }
    return g;
}

const GlyphCompositor::Glyph& GlyphCompositor::glyph(cairo_scaled_font_t* f, const Font& info, unsigned long index) {
    const Key key{f, index};
    const auto found = _glyphs.find(key);
    if (found != _glyphs.end()) return found->second;
    return _glyphs.emplace(key, capture(f, info, index)).first->second;
}

pixman_image_t* GlyphCompositor::destination(const Pixels& target) {
    if (_dest && _destPixels.data == target.data && _destPixels.width == target.width && _destPixels.height == target.height &&
        _destPixels.strideBytes == target.strideBytes)
        return _dest;
    if (_dest) pixman_image_unref(_dest);
    _dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, target.width, target.height, target.data, target.strideBytes);
    _destPixels = target;
    return _dest;
}

pixman_image_t* GlyphCompositor::source(std::array<std::uint16_t, 4> colour) {
    if (_source && colour == _sourceColour) return _source;
    if (_source) pixman_image_unref(_source);
    const pixman_color_t c{colour[0], colour[1], colour[2], colour[3]};
    _source = pixman_image_create_solid_fill(&c);
    _sourceColour = colour;
    return _source;
}

bool GlyphCompositor::draw(const GlyphRuns& runs, double x, double y, const AffineTransform& ctm, const Pixels& target,
                           std::array<int, 4>& drawn) {
    if (!compositingEnabled || ctm.b != 0 || ctm.c != 0 || !(ctm.a > 0) || !(ctm.d > 0) || !target.data) return false;
    // Nothing kept may go while the runs are being placed.
    if (_glyphs.size() + runs._glyphs.size() > _maxGlyphs) clear();
    const std::array<double, 4> linear{ctm.a, ctm.b, ctm.c, ctm.d};
    cairo_matrix_t device;
    cairo_matrix_init(&device, ctm.a, ctm.b, ctm.c, ctm.d, ctm.tx, ctm.ty);
    const bool translation = ctm.a == 1 && ctm.d == 1;

    struct Placed {
        std::array<std::uint16_t, 4> colour;
        std::size_t first, count;
    };
    thread_local std::vector<Placed> placedRuns;
    thread_local std::vector<pixman_glyph_t> placed;
    thread_local std::vector<std::pair<Box, const Glyph*>> boxes;
    placedRuns.clear();
    placed.clear();
    Box all{0, 0, 0, 0};
    bool any = false;
    // The glyphs this store found for the runs before, when it has not been emptied since.
    const bool remembered = runs._compositedIn == _generation && runs._composited.size() == runs._glyphs.size();
    if (!remembered) runs._composited.assign(runs._glyphs.size(), nullptr);
    for (const GlyphRuns::Run& run : runs._runs) {
        const Font& info = font(run.font);
        if (!info.usable || info.linear != linear) return false;
        const double baseX = x + run.x, baseY = y + run.y;
        const GlyphRuns::Glyph* from = runs._glyphs.data() + run.first;
        const std::size_t first = placed.size();
        boxes.clear();
        for (std::size_t i = 0; i < run.count; ++i) {
            // As GlyphRuns::draw places the glyph, then as Cairo takes it to the device.
            double gx = baseX + from[i].x, gy = from[i].y == 0 ? baseY : baseY + from[i].y;
            if (translation) {
                gx += ctm.tx;
                gy += ctm.ty;
            } else {
                cairo_matrix_transform_point(&device, &gx, &gy);
            }
            if (!(std::abs(gx) < MaxPosition) || !(std::abs(gy) < MaxPosition)) return false;
            const void*& found = runs._composited[run.first + i];
            if (!remembered) found = &glyph(run.font, info, from[i].index);
            const Glyph& g = *static_cast<const Glyph*>(found);
            if (!g.usable) return false;
            if (g.width == 0) continue;
            const int px = roundHalfUp(gx), py = roundHalfUp(gy);
            const Box box{px + g.left, py + g.top, px + g.left + g.width, py + g.top + g.height};
            // Two glyphs over one pixel: Cairo may sum their coverage first, which OVER one after the
            // other does not give.
            for (const auto& [other, og] : boxes) {
                if (!box.meets(other)) continue;
                for (int yy = std::max(box.top, other.top); yy < std::min(box.bottom, other.bottom); ++yy)
                    for (int xx = std::max(box.left, other.left); xx < std::min(box.right, other.right); ++xx)
                        if (g.coverage[static_cast<std::size_t>((yy - box.top) * g.width + (xx - box.left))] != 0 &&
                            og->coverage[static_cast<std::size_t>((yy - other.top) * og->width + (xx - other.left))] != 0)
                            return false;
            }
            boxes.emplace_back(box, &g);
            placed.push_back({px, py, g.pixman});
            all = any ? Box{std::min(all.left, box.left), std::min(all.top, box.top), std::max(all.right, box.right),
                            std::max(all.bottom, box.bottom)}
                      : box;
            any = true;
        }
        if (placed.size() > first)
            placedRuns.push_back({cairoColour(run.red, run.green, run.blue, run.alpha), first, placed.size() - first});
    }
    runs._compositedIn = _generation;
    drawn = {0, 0, 0, 0};
    ++_textsDrawn;
    if (!any) return true;
    pixman_image_t* dest = destination(target);
    for (const Placed& run : placedRuns) {
        pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, source(run.colour), dest, 0, 0, 0, 0, _cache, static_cast<int>(run.count),
                                        placed.data() + run.first);
    }
    drawn = {std::max(all.left, 0), std::max(all.top, 0), std::min(all.right, target.width), std::min(all.bottom, target.height)};
    if (drawn[0] >= drawn[2] || drawn[1] >= drawn[3]) drawn = {0, 0, 0, 0};
    return true;
}

}  // namespace plat::detail
