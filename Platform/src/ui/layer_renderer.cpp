#include "layer_renderer.h"

#include "Platform/graphics/context.h"
#include "Platform/ui/layer.h"
#include "Platform/ui/shapes.h"
#include "group_context.h"

namespace plat::detail {

namespace {

// A fully transparent layer is skipped, as the compositor skips it.
constexpr double InvisibleOpacity = 0.0;

// Saves the context and puts it back to that depth however unbalanced the drawing in between was.
class StateGuard {
public:
    explicit StateGuard(Context& c) : _c(c), _depth(c.saveDepth()) { _c.save(); }
    ~StateGuard() {
        while (_c.saveDepth() > _depth) _c.restore();
    }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    Context& _c;
    std::size_t _depth;
};

void renderBody(const Layer& layer, Context& context, std::optional<Ticks> time);
void renderLayer(const Layer& layer, Context& context, std::optional<Ticks> time, bool isRoot);

void renderLayer(const Layer& layer, Context& context, std::optional<Ticks> time, bool isRoot) {
    if (layer.isHidden()) return;
    const double opacity = time ? layer.presentationOpacity(*time) : layer.opacity();
    if (!(opacity > InvisibleOpacity)) return;

    StateGuard guard(context);
    const Rect b = layer.bounds();
    // The root is drawn in its own coordinate space; sublayers where they sit in their superlayer.
    const Point origin = isRoot ? Point{} : layer.frame().origin;
    context.translate(origin.x - b.x(), origin.y - b.y());

    const auto& shadowColor = layer.shadowColor();
    if (layer.shadowOpacity() > 0 && shadowColor && !shadowColor->isClear() && !layer.masksToBounds()) {
        StateGuard shadowGuard(context);
        context.translate(layer.shadowOffset().width, layer.shadowOffset().height);
        GroupContext shadow(context, opacity, shadowColor->withAlpha(shadowColor->a * layer.shadowOpacity()));
        renderBody(layer, shadow, time);
    }

    if (opacity < 1) {
        GroupContext group(context, opacity);
        renderBody(layer, group, time);
    } else {
        renderBody(layer, context, time);
    }
}

void renderBody(const Layer& layer, Context& context, std::optional<Ticks> time) {
    const Rect b = layer.bounds();
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
