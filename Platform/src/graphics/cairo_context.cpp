#include "Platform/graphics/cairo_context.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "graphics/glyph_compositor.h"
#include "graphics/glyph_runs.h"
#include "graphics/image_sampling.h"
#include "graphics/layout_cache.h"
#include "graphics/lazy_clips.h"
#include "graphics/pango_text.h"
#include "graphics/path_memo.h"
#include "graphics/pixel_blend.h"
#include "graphics/pixel_boxes.h"
#include "graphics/stroke_snap.h"
#include "graphics/text_outlines.h"

namespace plat {

namespace {

// Text whose em would cover more device pixels than this is not drawn: no surface shows more than
// a sliver of one of its glyphs, and Pango's sizes overflow not far beyond (about 2 million).
constexpr double MaxTextPixels = 1e6;

cairo_fill_rule_t cairoFillRule(FillRule rule) {
    return rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

// How much the transform stretches a length at most: its largest singular value.
double largestStretch(const AffineTransform& t) {
    const double sum = t.a * t.a + t.b * t.b + t.c * t.c + t.d * t.d;
    const double det = t.a * t.d - t.b * t.c;
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
}

// A colour as Cairo is given it.
std::array<double, 4> rgbaOf(const Color& c) { return {c.r, c.g, c.b, c.a}; }

// Whether every pixel's alpha is full (a whole pass: no early way out to mispredict).
bool everyPixelOpaque(const Image& image) {
    const std::uint32_t* p = image.data();
    const std::size_t n = static_cast<std::size_t>(image.strideBytes() / 4) * static_cast<std::size_t>(image.pixelHeight());
    std::uint32_t all = 0xffffffffu;
    for (std::size_t i = 0; i < n; ++i) all &= p[i];
    return n > 0 && (all >> 24) == 0xffu;
}

// The span of pixels that are not clear in each row of a stamp: left, right (past the last).
struct StampRows {
    const Image* image = nullptr;
    std::vector<std::pair<int, int>> rows;
};

}  // namespace

struct CairoContext::Impl {
    Image* target = nullptr;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    PangoContext* pango = nullptr;
    // One entry per open transparency group: whether its mask group has been pushed too.
    std::vector<bool> groups;
    // The Cairo surface over the pixels stamped last: a stamp is painted over and over, and a surface
    // made for each of them would cost more than the painting. Kept by the pixels' address and shape,
    // so an image made anew elsewhere never finds another's surface.
    cairo_surface_t* stampSurface = nullptr;
    const std::uint32_t* stampPixels = nullptr;
    int stampWidth = 0, stampHeight = 0;
    // The clips the last stamp was painted through (held, so their storage is not reused) and the
    // whole-pixel rectangle they make: left, top, right, bottom; none when they make no such rectangle.
    std::optional<ClipList> stampClips;
    std::optional<std::array<int, 4>> stampClipRect;
    // The same clips seen as the whole-pixel rectangles among them, intersected, and the one clip of
    // another shape when there is exactly one (held by `stampClips`).
    std::array<int, 4> wholeClipArea{};
    const ClipEntry* onlyOtherClip = nullptr;
    bool wholeClipsToo = false;
    // A batch of stamps as laid so far, which of its pixels they cover opaquely (a bit each, by row),
    // and the clear-free spans of the stamps' rows; kept for the memory.
    std::vector<std::uint32_t> batchPixels;
    std::vector<std::uint8_t> batchCovered;
    std::vector<StampRows> batchRows;
    // Pixels a box of the target is to be set to before anything else is drawn or read, not yet
    // written: a clear of the whole target, or the last opaque fill of a box. Written only when
    // something other than a fill covering them all comes next, so a background filled and at once
    // covered by another opaque fill costs nothing.
    struct PendingFill {
        std::array<int, 4> box;  // left, top, right, bottom, inside the target
        std::uint32_t pixel;
    };
    std::optional<PendingFill> pendingFill;
    bool defersFills = false;
    // The clips Cairo has (held, so their storage is not reused), and those it had at each group
    // pushed, which popping the group gives back. Clips reach Cairo only when Cairo next draws: a cell
    // clipped, filled with whole-pixel boxes and restored never asks it.
    ClipList cairoClips;
    std::vector<ClipList> groupClips;

    ~Impl() {
        if (stampSurface) cairo_surface_destroy(stampSurface);
        if (pango) g_object_unref(pango);
        if (cr) cairo_destroy(cr);
        if (surface) {
            cairo_surface_flush(surface);
            cairo_surface_destroy(surface);
        }
    }

    // Writes the fill still owed to the target's pixels, before anything reads or draws over them.
    void settle() {
        if (!pendingFill) return;
        const auto [box, pixel] = *pendingFill;
        pendingFill.reset();
        const auto stride = static_cast<std::size_t>(target->pixelWidth());
        const auto width = static_cast<std::size_t>(box[2] - box[0]);
        std::uint32_t* corner = target->data() + static_cast<std::size_t>(box[1]) * stride + static_cast<std::size_t>(box[0]);
        if (width == stride)
            detail::setPixels(corner, width * static_cast<std::size_t>(box[3] - box[1]), pixel);
        else
            for (int y = box[1]; y < box[3]; ++y, corner += stride) detail::setPixels(corner, width, pixel);
        cairo_surface_mark_dirty_rectangle(surface, box[0], box[1], box[2] - box[0], box[3] - box[1]);
    }

    void setMatrix(const AffineTransform& t) {
        cairo_matrix_t m;
        cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
        cairo_set_matrix(cr, &m);
    }

    // Replays a path; quadratic curves become the equivalent cubics (Cairo has none).
    void emit(const Path& path) {
        cairo_new_path(cr);
        const auto& pts = path.points();
        std::size_t i = 0;
        Point last, start;
        for (Path::Verb v : path.verbs()) {
            switch (v) {
                case Path::Verb::Move:
                    last = start = pts[i++];
                    cairo_move_to(cr, last.x, last.y);
                    break;
                case Path::Verb::Line:
                    last = pts[i++];
                    cairo_line_to(cr, last.x, last.y);
                    break;
                case Path::Verb::Quad: {
                    Point q = pts[i], e = pts[i + 1];
                    i += 2;
                    double c1x = last.x + 2.0 / 3.0 * (q.x - last.x), c1y = last.y + 2.0 / 3.0 * (q.y - last.y);
                    double c2x = e.x + 2.0 / 3.0 * (q.x - e.x), c2y = e.y + 2.0 / 3.0 * (q.y - e.y);
                    cairo_curve_to(cr, c1x, c1y, c2x, c2y, e.x, e.y);
                    last = e;
                    break;
                }
                case Path::Verb::Cubic:
                    cairo_curve_to(cr, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
                    last = pts[i + 2];
                    i += 3;
                    break;
                case Path::Verb::Close:
                    cairo_close_path(cr);
                    last = start;
                    break;
            }
        }
    }

    // Replays a path already in device space (the transform must be the identity).
    void emitDevice(const detail::DeviceGeometry& g) {
        cairo_new_path(cr);
        const auto& pts = g.points;
        std::size_t i = 0;
        for (Path::Verb v : g.verbs) {
            if (v == Path::Verb::Move) {
                cairo_move_to(cr, pts[i].x, pts[i].y);
                ++i;
            } else if (v == Path::Verb::Line) {
                cairo_line_to(cr, pts[i].x, pts[i].y);
                ++i;
            } else if (v == Path::Verb::Cubic) {
                cairo_curve_to(cr, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
                i += 3;
            } else {
                cairo_close_path(cr);
            }
        }
    }

    void setSource(const Color& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

    void applyClip(const ClipEntry& clip) {
        cairo_identity_matrix(cr);
        emit(clip.devicePath);
        cairo_set_fill_rule(cr, cairoFillRule(clip.rule));
        cairo_clip(cr);
    }

    void reapplyClips(const ClipList& clips) {
        cairo_reset_clip(cr);
        for (const auto& c : clips) applyClip(c);
        cairoClips = clips;
    }

    // Gives Cairo the clips in force before it draws (it takes the current path and the transform).
    // Answers whether Cairo's clip changed (its transform is then the identity).
    bool syncClips(const ClipList& clips) {
        if (cairoClips.sharesStorageWith(clips)) return false;
        reapplyClips(clips);
        return true;
    }

    // Groups are pushed in device space, so the patterns they pop into line up whatever the user
    // transform was at each push.
    void pushGroup(const ClipList& clips) {
        syncClips(clips);
        cairo_identity_matrix(cr);
        cairo_push_group(cr);
        groupClips.push_back(cairoClips);
    }

    cairo_pattern_t* popGroup() {
        cairo_pattern_t* pattern = cairo_pop_group(cr);
        cairoClips = groupClips.back();
        groupClips.pop_back();
        return pattern;
    }

    // Cairo's errors are sticky: once in one, every later call draws nothing. Start afresh on the
    // same surface and put the clips back; the rest of the state is applied per draw anyway. Open
    // groups are pushed again, empty (what they held went with the broken context), so their ends
    // still match.
    void recoverIfBroken(const GraphicsState& state) {
        if (cairo_status(cr) == CAIRO_STATUS_SUCCESS) return;
        cairo_destroy(cr);
        cr = cairo_create(surface);
        cairoClips = ClipList{};
        groupClips.clear();
        for (bool masked : groups) {
            pushGroup(cairoClips);
            if (masked) pushGroup(cairoClips);
        }
        reapplyClips(state.clips);
    }
};

CairoContext::CairoContext(Image& target)
    : Context(AffineTransform::scale(target.scale(), target.scale())), _impl(std::make_unique<Impl>()) {
    _impl->target = &target;
    _impl->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.data()), CAIRO_FORMAT_ARGB32,
                                                         target.pixelWidth(), target.pixelHeight(), target.strideBytes());
    _impl->cr = cairo_create(_impl->surface);
}

CairoContext::~CairoContext() {
    while (transparencyGroupDepth() > 0) endTransparencyGroup();
    _impl->settle();
}

Image& CairoContext::target() {
    _impl->settle();
    return *_impl->target;
}

void CairoContext::flush() {
    _impl->settle();
    cairo_surface_flush(_impl->surface);
}

void CairoContext::clearTo(const Color& colour) {
    Impl& impl = *_impl;
    // What was drawn so far is covered: Cairo's pending work on the surface is done first.
    cairo_surface_flush(impl.surface);
    impl.pendingFill =
        Impl::PendingFill{{0, 0, impl.target->pixelWidth(), impl.target->pixelHeight()}, premultipliedARGB(colour)};
}

void CairoContext::deferOpaqueFills(Passkey<ImageContext>) { _impl->defersFills = true; }

bool CairoContext::paintPixelBoxes(const std::optional<detail::PixelBoxes>& boxes, const Color& colour) {
    const std::array<int, 4>* clip = boxes && detail::pixelBoxesEnabled() ? stampClip() : nullptr;
    if (!clip) return false;
    const std::uint32_t pixel = detail::solidPixel(colour);
    Impl& impl = *_impl;
    // One opaque box is the same whatever was under it.
    std::optional<std::array<int, 4>> opaqueBox;
    if (boxes->count == 1 && (pixel >> 24) == 0xffu) {
        const auto& only = boxes->boxes[0];
        const Image& target = *impl.target;
        const std::array<int, 4> box{std::max({only.left, (*clip)[0], 0}), std::max({only.top, (*clip)[1], 0}),
                                     std::min({only.right, (*clip)[2], target.pixelWidth()}),
                                     std::min({only.bottom, (*clip)[3], target.pixelHeight()})};
        if (box[0] >= box[2] || box[1] >= box[3]) return true;
        opaqueBox = box;
    }
    if (impl.pendingFill) {
        // What is owed and covered by this box is never written.
        const auto& before = impl.pendingFill->box;
        const bool covered = opaqueBox && (*opaqueBox)[0] <= before[0] && (*opaqueBox)[1] <= before[1] &&
                             (*opaqueBox)[2] >= before[2] && (*opaqueBox)[3] >= before[3];
        if (covered)
            impl.pendingFill.reset();
        else
            impl.settle();
    }
    cairo_surface_flush(_impl->surface);
    if (opaqueBox && impl.defersFills) {
        // Owed rather than written.
        impl.pendingFill = Impl::PendingFill{*opaqueBox, pixel};
        return true;
    }
    detail::paintBoxes(*_impl->target, *boxes, *clip, pixel);
    cairo_surface_mark_dirty(_impl->surface);
    return true;
}

void CairoContext::onDrawPath(const Path& userPath, DrawingMode mode) {
    cairo_t* cr = _impl->cr;
    const auto& s = state();
    // A rectangle on whole pixels, filled or framed, is written straight into them.
    if (mode == DrawingMode::Fill || mode == DrawingMode::EvenOddFill) {
        const auto rect = detail::deviceRectangle(userPath, s.ctm);
        if (rect && paintPixelBoxes(detail::filledPixels(*rect), effectiveFillColor())) return;
    }
    // Mitred corners of a right angle are square (a bevelled or rounded one leaves part pixels).
    const bool squareCorners = s.lineJoin == LineJoin::Miter && s.miterLimit * s.miterLimit >= 2;
    if (mode == DrawingMode::Stroke && squareCorners && s.dash.empty()) {
        // A thin frame is snapped as every stroke along the axes is: each corner, on a side across
        // each axis, moves to the nearest line centre both ways.
        const auto rect = detail::deviceRectangle(userPath, s.ctm);
        const auto width = rect ? detail::thinStrokeWidth(s.ctm, s.lineWidth, _impl->target->scale()) : std::nullopt;
        if (width) {
            const double left = detail::snapCentre(rect->x(), *width), top = detail::snapCentre(rect->y(), *width);
            const Rect snappedRect{left, top, detail::snapCentre(rect->maxX(), *width) - left,
                                   detail::snapCentre(rect->maxY(), *width) - top};
            if (paintPixelBoxes(detail::strokedPixels(snappedRect, *width), effectiveStrokeColor())) return;
        }
    }
    const auto snapped =
        mode == DrawingMode::Stroke ? detail::snapThinStroke(userPath, s.ctm, s.lineWidth, _impl->target->scale()) : std::nullopt;
    _impl->settle();
    const bool stroke = modeStrokes(mode);
    const cairo_line_cap_t cap = s.lineCap == LineCap::Round    ? CAIRO_LINE_CAP_ROUND
                                 : s.lineCap == LineCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                                : CAIRO_LINE_CAP_BUTT;
    const cairo_line_join_t join = s.lineJoin == LineJoin::Round   ? CAIRO_LINE_JOIN_ROUND
                                   : s.lineJoin == LineJoin::Bevel ? CAIRO_LINE_JOIN_BEVEL
                                                                   : CAIRO_LINE_JOIN_MITER;
    std::vector<double> scaledDash;
    if (snapped && !s.dash.empty()) {
        scaledDash = s.dash;
        for (double& d : scaledDash) d *= snapped->dashScale;
    }
    const std::span<const double> dash = scaledDash.empty() ? std::span<const double>(s.dash) : scaledDash;
    const double dashPhase = scaledDash.empty() ? s.dashPhase : s.dashPhase * snapped->dashScale;
    // What Cairo strokes along: a snapped stroke's device path at its whole-pixel width, or the path as given.
    const AffineTransform strokeCTM = snapped ? AffineTransform{} : s.ctm;
    const double lineWidth = snapped ? snapped->deviceWidth : s.lineWidth;

    // A small shape drawn before at the same sub-pixel position over the same pixels is written from
    // the memo. Whatever reaches Cairo then goes in device space, exactly the geometry the key holds.
    detail::PathMemo* memo = nullptr;
    if (detail::pathMemoEnabled() && cairo_status(cr) == CAIRO_STATUS_SUCCESS) {
        // Whole-pixel rectangles clip nothing of a box inside them; one clip of another shape is part
        // of the key. Several such (their order counts to Cairo) and groups are left to Cairo.
        const std::array<int, 4>* rect = stampClip();
        const ClipEntry* clip = !rect && transparencyGroupDepth() == 0 ? _impl->onlyOtherClip : nullptr;
        if ((rect || clip) && detail::PathMemo::forThread().worthLooking()) {
            memo = &detail::PathMemo::forThread();
            detail::MemoStyle style;
            style.mode = static_cast<int>(mode);
            if (modeFills(mode)) style.fill = rgbaOf(effectiveFillColor());
            if (stroke) {
                style.stroke = rgbaOf(effectiveStrokeColor());
                style.linear = {strokeCTM.a, strokeCTM.b, strokeCTM.c, strokeCTM.d};
                style.stretch = largestStretch(strokeCTM);
                style.lineWidth = lineWidth;
                style.miterLimit = s.miterLimit;
                style.dashPhase = dashPhase;
                style.cap = cap;
                style.join = join;
                style.squareCap = cap == CAIRO_LINE_CAP_SQUARE;
                style.miterJoin = join == CAIRO_LINE_JOIN_MITER;
                style.dash = dash;
            }
            style.antialias = cairo_get_antialias(cr);
            style.op = cairo_get_operator(cr);
            style.format = cairo_image_surface_get_format(_impl->surface);
            style.tolerance = cairo_get_tolerance(cr);
            const bool small = detail::deviceGeometry(snapped ? snapped->devicePath : userPath, strokeCTM, memo->geometry()) &&
                               memo->prepare(style, _impl->wholeClipArea, clip, _impl->wholeClipsToo);
            if (!small) memo = nullptr;
        }
    }
    auto outcome = detail::PathMemo::Outcome::Draw;
    if (memo) {
        cairo_surface_flush(_impl->surface);
        outcome = memo->lookUp(*_impl->target);
        const detail::MemoBox& box = memo->box();
        if (outcome == detail::PathMemo::Outcome::Replayed) {
            cairo_surface_mark_dirty_rectangle(_impl->surface, box.left, box.top, box.width, box.height);
            return;
        }
        _impl->syncClips(s.clips);
        cairo_identity_matrix(cr);
        _impl->emitDevice(memo->geometry());
    } else {
        _impl->syncClips(s.clips);
        _impl->setMatrix(s.ctm);
        _impl->emit(userPath);
    }
    if (modeFills(mode)) {
        cairo_set_fill_rule(cr, cairoFillRule(modeFillRule(mode)));
        _impl->setSource(effectiveFillColor());
        if (stroke)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (stroke) {
        _impl->setSource(effectiveStrokeColor());
        // A stroke-only path of thin axis-parallel lines is drawn on whole device pixels; a filled
        // shape's outline stays where its fill is. The pen follows the transform's linear part only.
        if (memo) {
            _impl->setMatrix({strokeCTM.a, strokeCTM.b, strokeCTM.c, strokeCTM.d, 0, 0});
        } else if (snapped) {
            cairo_identity_matrix(cr);
            _impl->emit(snapped->devicePath);
        }
        cairo_set_line_width(cr, lineWidth);
        cairo_set_line_cap(cr, cap);
        cairo_set_line_join(cr, join);
        cairo_set_miter_limit(cr, s.miterLimit);
        cairo_set_dash(cr, dash.data(), static_cast<int>(dash.size()), dashPhase);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    if (outcome == detail::PathMemo::Outcome::Record && cairo_status(cr) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(_impl->surface);
        memo->record(*_impl->target);
    }
    _impl->recoverIfBroken(s);
}

bool CairoContext::copyOntoDevicePixels(const Image& image, const Rect& userRect) {
    // Only where each image pixel lands on one device pixel, and only whole-pixel rectangles clip:
    // there an opaque image over anything is its own pixels, which Cairo would paint at several times
    // the cost of copying them.
    const AffineTransform& m = state().ctm;
    if (m.b != 0 || m.c != 0 || m.a * userRect.width() != image.pixelWidth() || m.d * userRect.height() != image.pixelHeight())
        return false;
    const auto x = detail::wholePixel(m.a * userRect.x() + m.tx), y = detail::wholePixel(m.d * userRect.y() + m.ty);
    const std::array<int, 4>* area = x && y ? stampClip() : nullptr;
    if (!area) return false;
    Image& target = *_impl->target;
    const auto& clip = *area;
    const int left = std::max(*x, clip[0]), top = std::max(*y, clip[1]);
    const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{*x} + image.pixelWidth(), clip[2]));
    const int bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{*y} + image.pixelHeight(), clip[3]));
    if (left >= right || top >= bottom) return true;
    cairo_surface_flush(_impl->surface);
    detail::copyPixelRows(
        target.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(target.pixelWidth()) + left,
        static_cast<std::size_t>(target.pixelWidth()),
        image.data() + static_cast<std::size_t>(top - *y) * static_cast<std::size_t>(image.pixelWidth()) + (left - *x),
        static_cast<std::size_t>(image.pixelWidth()), static_cast<std::size_t>(right - left),
        static_cast<std::size_t>(bottom - top));
    cairo_surface_mark_dirty_rectangle(_impl->surface, left, top, right - left, bottom - top);
    return true;
}

std::optional<std::array<int, 4>> CairoContext::copyablePixels(const Rect& userRect, double scale) {
    const AffineTransform& m = state().ctm;
    if (m.b != 0 || m.c != 0 || m.a != scale || m.d != scale) return std::nullopt;
    const auto left = detail::wholePixel(m.a * userRect.x() + m.tx), top = detail::wholePixel(m.d * userRect.y() + m.ty);
    const auto right = detail::wholePixel(m.a * userRect.maxX() + m.tx);
    const auto bottom = detail::wholePixel(m.d * userRect.maxY() + m.ty);
    // The copy is as many pixels as an image of the rectangle's size at this scale has.
    if (!left || !top || !right || !bottom || *right - *left != m.a * userRect.width() ||
        *bottom - *top != m.d * userRect.height())
        return std::nullopt;
    // Every pixel copied is one drawn through the clip: none is left as it was before.
    const std::array<int, 4>* clip = stampClip();
    if (!clip || *left < (*clip)[0] || *top < (*clip)[1] || *right > (*clip)[2] || *bottom > (*clip)[3] || *left >= *right ||
        *top >= *bottom)
        return std::nullopt;
    return std::array<int, 4>{*left, *top, *right, *bottom};
}

bool CairoContext::onCanCopyPixels(const Rect& rect, double scale) { return copyablePixels(rect, scale).has_value(); }

std::shared_ptr<Image> CairoContext::onCopyOpaquePixels(const Rect& rect, double scale) {
    const auto box = copyablePixels(rect, scale);
    if (!box) return nullptr;
    const auto [left, top, right, bottom] = *box;
    flush();
    const Image& target = *_impl->target;
    return ImageContext::opaqueCopy(
        Passkey<CairoContext>{},
        target.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(target.pixelWidth()) + left,
        static_cast<std::size_t>(target.pixelWidth()), right - left, bottom - top, scale);
}

void CairoContext::onDrawImage(const Image& original, const Rect& userRect) {
    _impl->settle();
    cairo_t* cr = _impl->cr;
    // A source too large for Cairo to sample is drawn from a reduced copy rather than not at all.
    std::shared_ptr<Image> reduced;
    if (const int factor = detail::sourceReduction(original, userRect, state().ctm); factor > 1)
        reduced = detail::boxReduced(original, factor);
    const Image& image = reduced ? *reduced : original;
    const bool opaque = image.knownOpaque(Passkey<CairoContext>{}) || everyPixelOpaque(image);
    if (opaque && effectiveAlpha() >= 1 && copyOntoDevicePixels(image, userRect)) return;
    _impl->syncClips(state().clips);
    // Cairo only reads the source pixels. Opaque ones are handed over as such: the same pixels come
    // out, and Pixman copies them rather than blending each (a grid's cell images, every frame).
    const cairo_format_t format = opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
    cairo_surface_t* src =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.data())), format,
                                            image.pixelWidth(), image.pixelHeight(), image.strideBytes());
    cairo_save(cr);
    _impl->setMatrix(state().ctm);
    cairo_translate(cr, userRect.x(), userRect.y());
    cairo_scale(cr, userRect.width() / image.pixelWidth(), userRect.height() / image.pixelHeight());
    cairo_rectangle(cr, 0, 0, image.pixelWidth(), image.pixelHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint_with_alpha(cr, effectiveAlpha());
    cairo_restore(cr);
    cairo_surface_destroy(src);
    _impl->recoverIfBroken(state());
}

namespace {

// The whole-pixel rectangle a clip path is, when it is one (four corners joined along the axes, on
// whole device pixels); nullopt for any other shape.
std::optional<std::array<int, 4>> wholePixelRect(const Path& path) {
    using Verb = Path::Verb;
    const auto& verbs = path.verbs();
    const auto& pts = path.points();
    if (verbs.size() != 5 || pts.size() != 4 || verbs[0] != Verb::Move || verbs[4] != Verb::Close) return std::nullopt;
    for (std::size_t k = 1; k < 4; ++k)
        if (verbs[k] != Verb::Line) return std::nullopt;
    for (std::size_t k = 0; k < 4; ++k) {
        const Point a = pts[k], b = pts[(k + 1) % 4];
        if (a.x != b.x && a.y != b.y) return std::nullopt;
    }
    const Rect r = path.bounds();
    const double edges[] = {r.x(), r.y(), r.maxX(), r.maxY()};
    std::array<int, 4> whole{};
    for (std::size_t k = 0; k < 4; ++k) {
        if (!(std::fabs(edges[k]) < Image::MaxPixelSide * 2.0) || edges[k] != std::round(edges[k])) return std::nullopt;
        whole[k] = static_cast<int>(edges[k]);
    }
    return whole;
}

using detail::over;
using detail::scaled;

using detail::over4;
using detail::Pixels4;
using detail::scaled4;

// One row of a stamp over the target's, each source pixel first taken `alpha` / 255 times (255: as it is).
void blendRow(std::uint32_t* row, const std::uint32_t* from, int count, std::uint32_t alpha) {
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        Pixels4 src, dst;
        std::memcpy(&src, from + x, sizeof src);
        std::memcpy(&dst, row + x, sizeof dst);
        if (alpha != 255) src = scaled4(src, Pixels4{alpha, alpha, alpha, alpha});
        dst = over4(src, dst);
        std::memcpy(row + x, &dst, sizeof dst);
    }
    for (; x < count; ++x) row[x] = over(alpha == 255 ? from[x] : scaled(from[x], alpha), row[x]);
}

}  // namespace

const std::array<int, 4>* CairoContext::stampClip() {
    // Inside a group Cairo draws into the group's own surface; a clip of another shape needs Cairo.
    if (transparencyGroupDepth() > 0) return nullptr;
    readClips();
    return _impl->stampClipRect ? &*_impl->stampClipRect : nullptr;
}

void CairoContext::readClips() {
    Impl& impl = *_impl;
    if (impl.stampClips && impl.stampClips->sharesStorageWith(state().clips)) return;
    const Image& target = *impl.target;
    std::array<int, 4> area{0, 0, target.pixelWidth(), target.pixelHeight()};
    int others = 0, wholes = 0;
    const ClipEntry* other = nullptr;
    impl.stampClips = state().clips;
    for (const ClipEntry& clip : *impl.stampClips) {
        const auto r = wholePixelRect(clip.devicePath);
        if (!r) {
            ++others;
            other = &clip;
            continue;
        }
        ++wholes;
        area = {std::max(area[0], (*r)[0]), std::max(area[1], (*r)[1]), std::min(area[2], (*r)[2]), std::min(area[3], (*r)[3])};
    }
    impl.stampClipRect = others == 0 ? std::optional(area) : std::nullopt;
    impl.wholeClipArea = area;
    impl.onlyOtherClip = others == 1 ? other : nullptr;
    impl.wholeClipsToo = wholes > 0;
}

bool CairoContext::stampIntoTarget(const Image& image, int deviceX, int deviceY) {
    const std::array<int, 4>* area = stampClip();
    if (!area) return false;
    Image& target = *_impl->target;
    const auto& clip = *area;
    const int left = std::max(deviceX, clip[0]), top = std::max(deviceY, clip[1]);
    const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{deviceX} + image.pixelWidth(), clip[2]));
    const int bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{deviceY} + image.pixelHeight(), clip[3]));
    if (left >= right || top >= bottom) return true;
    const auto alpha = static_cast<std::uint32_t>(std::lround(effectiveAlpha() * 255));
    if (alpha == 0) return true;
    cairo_surface_flush(_impl->surface);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = target.data() + static_cast<std::size_t>(y) * target.pixelWidth();
        const std::uint32_t* from = image.data() + static_cast<std::size_t>(y - deviceY) * image.pixelWidth() - deviceX;
        blendRow(row + left, from + left, right - left, alpha);
    }
    cairo_surface_mark_dirty_rectangle(_impl->surface, left, top, right - left, bottom - top);
    return true;
}

namespace {

const StampRows& rowsOf(std::vector<StampRows>& known, const Image& image) {
    for (const auto& r : known)
        if (r.image == &image) return r;
    StampRows r;
    r.image = &image;
    for (int y = 0; y < image.pixelHeight(); ++y) {
        const std::uint32_t* row = image.data() + static_cast<std::size_t>(y) * image.pixelWidth();
        int left = 0, right = image.pixelWidth();
        while (left < right && row[left] == 0) ++left;
        while (right > left && row[right - 1] == 0) --right;
        r.rows.emplace_back(left, right);
    }
    known.push_back(std::move(r));
    return known.back();
}

// The coverage of a batch: a bit per pixel, eight pixels a byte, a row padded so that eight bytes can
// be read from any pixel of it.
constexpr int CoveragePadBytes = 8;
// A span of at most this many pixels is read from the coverage in one load.
constexpr int SpanInOneLoad = 56;

// The bits of `count` pixels from pixel `from` of a coverage row (count at most SpanInOneLoad).
inline std::uint64_t coverageBits(const std::uint8_t* row, int from, int count) {
    std::uint64_t v;
    std::memcpy(&v, row + (from >> 3), sizeof v);
    return (v >> (from & 7)) & ((std::uint64_t{1} << count) - 1);
}

}  // namespace

void CairoContext::onStampImages(std::span<const StampPlacement> stamps) {
    _impl->settle();
    // One by one where the pixels cannot be painted directly or at another alpha than whole.
    const std::array<int, 4>* area = stamps.size() > 1 ? stampClip() : nullptr;
    if (!area || effectiveAlpha() < 1) {
        Context::onStampImages(stamps);
        return;
    }
    const auto& clip = *area;
    // The stamps' extent inside the clip.
    int left = clip[2], top = clip[3], right = clip[0], bottom = clip[1];
    for (const auto& s : stamps) {
        if (!s.image || s.image->isEmpty()) continue;
        left = std::min(left, std::max(s.deviceX, clip[0]));
        top = std::min(top, std::max(s.deviceY, clip[1]));
        right =
            std::max(right, static_cast<int>(std::min<std::int64_t>(std::int64_t{s.deviceX} + s.image->pixelWidth(), clip[2])));
        bottom =
            std::max(bottom, static_cast<int>(std::min<std::int64_t>(std::int64_t{s.deviceY} + s.image->pixelHeight(), clip[3])));
    }
    if (left >= right || top >= bottom) return;
    // The stamps are laid from the last to the first, each under those after it: a pixel that the later
    // ones cover opaquely takes nothing more, and a row of a stamp that lies wholly on such pixels is
    // passed over. What they make together goes over the target once.
    Impl& impl = *_impl;
    const int width = right - left, height = bottom - top;
    const std::size_t rowBytes = static_cast<std::size_t>((width + 7) / 8 + CoveragePadBytes);
    impl.batchPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    impl.batchCovered.assign(rowBytes * static_cast<std::size_t>(height), 0);
    impl.batchRows.clear();
    const StampRows* rows = nullptr;
    for (auto it = stamps.rbegin(); it != stamps.rend(); ++it) {
        if (!it->image || it->image->isEmpty()) continue;
        const Image& image = *it->image;
        if (!rows || rows->image != &image) rows = &rowsOf(impl.batchRows, image);
        const int y0 = std::max(it->deviceY, top);
        const int y1 = static_cast<int>(std::min<std::int64_t>(std::int64_t{it->deviceY} + image.pixelHeight(), bottom));
        const int stride = image.pixelWidth();
        for (int y = y0; y < y1; ++y) {
            const auto [from, to] = rows->rows[static_cast<std::size_t>(y - it->deviceY)];
            const int x0 = std::max(it->deviceX + from, left) - left, x1 = std::min(it->deviceX + to, right) - left;
            if (x0 >= x1) continue;
            std::uint8_t* covered = impl.batchCovered.data() + static_cast<std::size_t>(y - top) * rowBytes;
            std::uint32_t* acc = impl.batchPixels.data() + static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width);
            const std::uint32_t* src = image.data() +
                                       static_cast<std::size_t>(y - it->deviceY) * static_cast<std::size_t>(stride) -
                                       (it->deviceX - left);
            for (int x = x0; x < x1; x += SpanInOneLoad) {
                const int count = std::min(SpanInOneLoad, x1 - x);
                // The pixels of the span not yet covered, one bit each.
                std::uint64_t open = ~coverageBits(covered, x, count) & ((std::uint64_t{1} << count) - 1);
                while (open) {
                    const int at = x + std::countr_zero(open);
                    open &= open - 1;
                    const std::uint32_t under = src[at];
                    if (under == 0) continue;
                    const std::uint32_t made = acc[at] + scaled(under, 255 - (acc[at] >> 24));
                    acc[at] = made;
                    if ((made >> 24) == 255) covered[at >> 3] = static_cast<std::uint8_t>(covered[at >> 3] | (1u << (at & 7)));
                }
            }
        }
    }
    Image& target = *impl.target;
    cairo_surface_flush(impl.surface);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = target.data() + static_cast<std::size_t>(y) * target.pixelWidth();
        blendRow(row + left, impl.batchPixels.data() + static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width), width,
                 255);
    }
    cairo_surface_mark_dirty_rectangle(impl.surface, left, top, width, height);
}

void CairoContext::onStampImage(const Image& image, int deviceX, int deviceY) {
    _impl->settle();
    // Straight into the pixels where nothing but whole-pixel rectangles clip: Cairo's own painting
    // costs several times the copying of a small stamp.
    if (stampIntoTarget(image, deviceX, deviceY)) return;
    cairo_t* cr = _impl->cr;
    Impl& impl = *_impl;
    impl.syncClips(state().clips);
    if (!impl.stampSurface || impl.stampPixels != image.data() || impl.stampWidth != image.pixelWidth() ||
        impl.stampHeight != image.pixelHeight()) {
        if (impl.stampSurface) cairo_surface_destroy(impl.stampSurface);
        // Cairo only reads the source pixels.
        impl.stampSurface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.data())), CAIRO_FORMAT_ARGB32, image.pixelWidth(),
            image.pixelHeight(), image.strideBytes());
        impl.stampPixels = image.data();
        impl.stampWidth = image.pixelWidth();
        impl.stampHeight = image.pixelHeight();
    }
    // Device space: at a whole-pixel offset the pixels are copied as they are, with no filtering.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, impl.stampSurface, deviceX, deviceY);
    cairo_rectangle(cr, deviceX, deviceY, image.pixelWidth(), image.pixelHeight());
    const double alpha = effectiveAlpha();
    if (alpha >= 1) {
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    _impl->recoverIfBroken(state());
}

void CairoContext::onDrawText(const TextDraw& draw) {
    _impl->settle();
    const AffineTransform& ctm = state().ctm;
    // The em of the largest font on the device. Past MaxTextPixels Pango's sizes overflow (it
    // complains and draws nothing); past MaxGlyphPixels the fonts cannot be made, so the text is
    // drawn from outlines taken at a smaller scale.
    const double em = largestStretch(ctm) * detail::largestFontSize(*draw.text);
    if (!(em <= MaxTextPixels)) return;
    const double reduction = em > detail::MaxGlyphPixels ? em / detail::MaxGlyphPixels : 1;
    cairo_t* cr = _impl->cr;
    _impl->setMatrix(ctm);
    double width = draw.rect ? draw.rect->width() : std::numeric_limits<double>::infinity();
    PangoLayout* layout = nullptr;
    const detail::GlyphRuns* runs = nullptr;
    if (reduction > 1) {
        // Outlines at a reduced scale: rare, and laid out afresh.
        if (!_impl->pango) _impl->pango = detail::newPangoContext();
        cairo_scale(cr, 1 / reduction, 1 / reduction);
        // The transform decides the font scale Pango rasterises at.
        pango_cairo_update_context(cr, _impl->pango);
        _impl->setMatrix(ctm);
        layout = detail::newLayout(_impl->pango, *draw.text, width, draw.options, effectiveAlpha());
    } else {
        // The cache's context for this transform: the font scale Pango rasterises at is part of it.
        auto& cache = detail::LayoutCache::forThread();
        PangoContext* pctx = cache.drawingContext(cr);
        if (detail::GlyphRuns::drawsPlainGlyphs(cr))
            runs = cache.glyphRuns(pctx, *draw.text, width, draw.options, effectiveAlpha(), layout);
        else
            layout = cache.layout(pctx, *draw.text, width, draw.options, effectiveAlpha());
    }
    bool clip = draw.rect && draw.options.clipToRect;
    double x = 0, y = 0;
    if (runs) {
        // Where Pango would start: the origin as it comes back through Cairo's fixed point.
        cairo_move_to(cr, draw.origin.x, draw.origin.y);
        cairo_get_current_point(cr, &x, &y);
    }
    // Glyphs wholly inside the clips are drawn with none: the clips would take nothing from them, and
    // cell after cell would hand Cairo a clip of its own.
    const bool unclipped = runs && inkInsideClips(runs->ink(), {x, y}, clip ? &*draw.rect : nullptr);
    if (unclipped && compositeGlyphs(*runs, x, y)) {
        if (layout) g_object_unref(layout);
        return;
    }
    if (_impl->syncClips(unclipped ? ClipList{} : state().clips)) _impl->setMatrix(ctm);
    if (unclipped) clip = false;
    if (clip) {
        cairo_save(cr);
        cairo_rectangle(cr, draw.rect->x(), draw.rect->y(), draw.rect->width(), draw.rect->height());
        cairo_clip(cr);
    }
    if (reduction > 1) {
        detail::fillLayoutOutlines(cr, layout, draw.origin, ctm, reduction);
    } else if (runs) {
        runs->draw(cr, x, y);
    } else {
        cairo_move_to(cr, draw.origin.x, draw.origin.y);
        pango_cairo_show_layout(cr, layout);
    }
    if (clip) cairo_restore(cr);
    cairo_new_path(cr);
    if (layout) g_object_unref(layout);
    _impl->recoverIfBroken(state());
}

bool CairoContext::compositeGlyphs(const detail::GlyphRuns& runs, double x, double y) {
    Image& target = *_impl->target;
    // Cairo's pending work on the pixels is done before they are written beside it.
    cairo_surface_flush(_impl->surface);
    std::array<int, 4> drawn{};
    if (!detail::GlyphCompositor::forThread().draw(
            runs, x, y, state().ctm, {target.data(), target.pixelWidth(), target.pixelHeight(), target.strideBytes()}, drawn))
        return false;
    if (drawn[0] < drawn[2])
        cairo_surface_mark_dirty_rectangle(_impl->surface, drawn[0], drawn[1], drawn[2] - drawn[0], drawn[3] - drawn[1]);
    return true;
}

bool CairoContext::inkInsideClips(const std::array<double, 4>& ink, Point origin, const Rect* rect) {
    if (!detail::lazyClipsEnabled()) return false;
    const AffineTransform& m = state().ctm;
    const std::array<int, 4>* area = m.b == 0 && m.c == 0 ? stampClip() : nullptr;
    if (!area) return false;
    // Antialiasing and hinting reach past Pango's ink by less than this, in device pixels.
    constexpr double Margin = 2;
    const auto deviceBox = [&](double left, double top, double right, double bottom) {
        const double x0 = m.a * left + m.tx, x1 = m.a * right + m.tx, y0 = m.d * top + m.ty, y1 = m.d * bottom + m.ty;
        return std::array<double, 4>{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    };
    const auto box = deviceBox(origin.x + ink[0], origin.y + ink[1], origin.x + ink[2], origin.y + ink[3]);
    const double left = std::floor(box[0] - Margin), top = std::floor(box[1] - Margin);
    const double right = std::ceil(box[2] + Margin), bottom = std::ceil(box[3] + Margin);
    if (!(left >= (*area)[0] && top >= (*area)[1] && right <= (*area)[2] && bottom <= (*area)[3])) return false;
    if (!rect) return true;
    const auto within = deviceBox(rect->x(), rect->y(), rect->maxX(), rect->maxY());
    return left >= within[0] && top >= within[1] && right <= within[2] && bottom <= within[3];
}

// Clips reach Cairo when it next draws (Impl::syncClips).
void CairoContext::onClip(const ClipEntry&) {
    if (detail::lazyClipsEnabled()) return;
    _impl->syncClips(state().clips);
    _impl->recoverIfBroken(state());
}

void CairoContext::onRestore(std::size_t) {
    if (detail::lazyClipsEnabled()) return;
    _impl->syncClips(state().clips);
    _impl->recoverIfBroken(state());
}

}  // namespace plat

namespace plat {

void CairoContext::onBeginTransparencyGroup(double) {
    _impl->settle();
    _impl->pushGroup(state().clips);
    _impl->groups.push_back(false);
    _impl->recoverIfBroken(state());
}

void CairoContext::onBeginTransparencyGroupMask() {
    _impl->settle();
    _impl->pushGroup(state().clips);
    _impl->groups.back() = true;
    _impl->recoverIfBroken(state());
}

void CairoContext::onEndTransparencyGroup(double alpha, bool masked) {
    _impl->settle();
    cairo_t* cr = _impl->cr;
    _impl->groups.pop_back();
    cairo_pattern_t* mask = masked ? _impl->popGroup() : nullptr;
    cairo_pattern_t* content = _impl->popGroup();
    cairo_identity_matrix(cr);
    if (!mask) {
        cairo_set_source(cr, content);
        cairo_paint_with_alpha(cr, alpha);
    } else if (alpha >= 1) {
        cairo_set_source(cr, content);
        cairo_mask(cr, mask);
    } else {
        // Cairo masks at full strength: the masked content is made first, then painted at the alpha.
        cairo_push_group(cr);
        cairo_set_source(cr, content);
        cairo_mask(cr, mask);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_set_source_rgba(cr, 0, 0, 0, 1);  // let go of the group's pattern
    cairo_pattern_destroy(content);
    if (mask) cairo_pattern_destroy(mask);
    _impl->recoverIfBroken(state());
}

namespace detail {

bool& lazyClipsEnabled() {
    thread_local bool enabled = true;
    return enabled;
}

}  // namespace detail

}  // namespace plat
