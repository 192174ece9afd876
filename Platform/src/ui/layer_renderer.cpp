#include "ui/layer_renderer.h"

#include <cmath>
#include <optional>

#include "Platform/graphics/context.h"
#include "Platform/ui/layer.h"
#include "Platform/ui/shapes.h"
#include "ui/group_context.h"

namespace plat::detail {

namespace {

// A fully transparent layer is skipped, as the compositor skips it.
constexpr double InvisibleOpacity = 0.0;

// Saves the context and puts it back to that depth however unbalanced the drawing in between was
// (transparency groups it left open are ended first).
class StateGuard {
public:
    explicit StateGuard(Context& c) : _c(c), _depth(c.saveDepth()), _groups(c.transparencyGroupDepth()) { _c.save(); }
    ~StateGuard() {
        while (_c.transparencyGroupDepth() > _groups) _c.endTransparencyGroup();
        while (_c.saveDepth() > _depth) _c.restore();
    }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    Context& _c;
    std::size_t _depth;
    std::size_t _groups;
};

// Geometry as rendered: the model's, or what running animations show at `time`.
Rect boundsAt(const Layer& layer, std::optional<Ticks> time) { return time ? layer.presentationBounds(*time) : layer.bounds(); }
AffineTransform toSuperlayerAt(const Layer& layer, std::optional<Ticks> time) {
    return time ? layer.presentationTransformToSuperlayer(*time) : layer.transformToSuperlayer();
}

void renderBody(const Layer& layer, const Rect& b, Context& context, std::optional<Ticks> time);
void renderLayer(const Layer& layer, Context& context, std::optional<Ticks> time, bool isRoot);

// Where a layer and its visible sublayers can paint, in the layer's coordinates (a bound, not exact).
Rect treeExtent(const Layer& layer, std::optional<Ticks> time) {
    if (layer.masksToBounds()) return boundsAt(layer, time);
    Rect extent = layer.contentExtent(time);
    for (const auto& sub : layer.sublayers()) {
        if (sub->isHidden()) continue;
        extent = extent.united(toSuperlayerAt(*sub, time).applyToRect(treeExtent(*sub, time)));
        // A shadow falls beside its layer, in whatever direction the layer is turned.
        if (sub->shadowOpacity() > 0) {
            const double reach = std::fabs(sub->shadowOffset().width) + std::fabs(sub->shadowOffset().height);
            extent = extent.insetBy(-reach, -reach);
        }
    }
    return extent;
}

// Clips to the device pixels that `extent` (user space) touches, so a transparency group begun next
// takes no more offscreen pixels than the content can use. Whole device pixels, so the clip itself
// softens no edge.
void clipToPixelsOf(Context& context, const Rect& extent) {
    const AffineTransform& ctm = context.ctm();
    if (!context.canDraw()) return;
    const Rect device = ctm.applyToRect(extent).integral();
    if (!std::isfinite(device.x()) || !std::isfinite(device.y()) || !std::isfinite(device.width()) ||
        !std::isfinite(device.height()))
        return;
    Path pixels;
    pixels.addRect(device);
    context.clipToPath(pixels.transformed(ctm.inverted()));
}

void renderLayer(const Layer& layer, Context& context, std::optional<Ticks> time, bool isRoot) {
    if (layer.isHidden()) return;
    const double opacity = time ? layer.presentationOpacity(*time) : layer.opacity();
    if (!(opacity > InvisibleOpacity)) return;

    StateGuard guard(context);
    const Rect b = boundsAt(layer, time);
    // The root is drawn in its own coordinate space; sublayers where they sit in their superlayer.
    const AffineTransform toSuperlayer = isRoot ? AffineTransform::translation(-b.x(), -b.y()) : toSuperlayerAt(layer, time);
    const auto& mask = layer.mask();

    // A translucent layer is composited once, so its overlapping parts show no darker overlap; a
    // masked one (shadow included) goes through its mask.
    std::optional<TransparencyGroupScope> group;
    // The group is bounded by what the tree can paint (its own shadow too, when that is inside).
    auto beginGroup = [&](bool withShadow) {
        Rect extent = treeExtent(layer, time);
        if (withShadow && layer.shadowOpacity() > 0) {
            const double reach = std::fabs(layer.shadowOffset().width) + std::fabs(layer.shadowOffset().height);
            extent = extent.insetBy(-reach, -reach);
        }
        clipToPixelsOf(context, toSuperlayer.applyToRect(extent));
        group.emplace(context, opacity);
    };
    if (mask) beginGroup(true);

    const auto& shadowColor = layer.shadowColor();
    if (layer.shadowOpacity() > 0 && shadowColor && !shadowColor->isClear() && !layer.masksToBounds()) {
        StateGuard shadowGuard(context);
        // The offset is in the superlayer's space: a turned layer casts its shadow the same way.
        context.translate(layer.shadowOffset().width, layer.shadowOffset().height);
        context.concatCTM(toSuperlayer);
        GroupContext shadow(context, mask ? 1.0 : opacity, shadowColor->withAlpha(shadowColor->a * layer.shadowOpacity()));
        renderBody(layer, b, shadow, time);
    }

    if (!mask && opacity < 1) beginGroup(false);
    {
        StateGuard bodyGuard(context);
        context.concatCTM(toSuperlayer);
        renderBody(layer, b, context, time);
    }
    if (mask) {
        context.beginTransparencyGroupMask();
        context.concatCTM(toSuperlayer);
        renderLayer(*mask, context, time, false);
    }
}

void renderBody(const Layer& layer, const Rect& b, Context& context, std::optional<Ticks> time) {
    const double radius = layer.cornerRadius();
    if (layer.masksToBounds()) {
        if (radius > 0)
            context.clipToPath(roundedRectPath(b, radius));
        else
            context.clipToRect(b);
    }

    std::optional<Color> background = layer.backgroundColor();
    if (time && background) {
        if (auto v = layer.presentationValue("backgroundColor", *time)) {
            if (const Color* c = std::get_if<Color>(&*v)) background = *c;
        }
    }
    if (background && !background->isClear() && !b.isEmpty()) {
        context.setFillColor(*background);
        if (radius > 0)
            context.fillPath(roundedRectPath(b, radius));
        else
            context.fillRect(b);
    }

    {
        StateGuard contentGuard(context);
        layer.drawContent(context, time);
        if (LayerDelegate* delegate = layer.delegate()) {
            // A view's drawing stays inside its bounds, as its backing store would.
            context.clipToRect(b);
            CurrentContextScope current(context);
            delegate->drawLayerContent(layer, context);
        }
    }

    // Sublayers may be added or removed by drawing code; walk a snapshot.
    const auto sublayers = layer.sublayers();
    for (const auto& sub : sublayers) renderLayer(*sub, context, time, false);

    const auto& border = layer.borderColor();
    if (layer.borderWidth() > 0 && border && !border->isClear()) {
        const double w = layer.borderWidth();
        context.setStrokeColor(*border);
        context.setLineWidth(w);
        context.strokePath(roundedRectPath(b.insetBy(w / 2, w / 2), std::max(0.0, radius - w / 2)));
    }
}

}  // namespace

void renderLayerTree(const Layer& layer, Context& context, std::optional<Ticks> time) { renderLayer(layer, context, time, true); }

}  // namespace plat::detail
