#pragma once
// A layer: the visual state of a rectangle (geometry and transform, opacity, background, corner
// radius, border, shadow, clipping, mask) with sublayers and running animations. Every view has one; shape layers and
// plain layers can be added beneath it. Rendering reads either the model values (what was set) or
// the presentation values (what running animations show at a time).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/animation.h"

namespace plat {

class Context;
class Layer;
class Timer;

// Draws the content of a layer that belongs to a view (the view's drawRect), in the layer's bounds
// coordinates, after its background and before its sublayers.
class PLAT_EXPORT LayerDelegate {
public:
    virtual void drawLayerContent(const Layer& layer, Context& context) = 0;

protected:
    ~LayerDelegate() = default;
};

class PLAT_EXPORT Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> create();
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // ---- Geometry, in the superlayer's coordinates ----
    // The layer's own coordinate space: its origin is the top-left corner's coordinates.
    const Rect& bounds() const { return _bounds; }
    void setBounds(const Rect& bounds);
    // Where the anchor point sits in the superlayer.
    Point position() const { return _position; }
    void setPosition(Point position);
    // The point of the bounds (in unit coordinates: (0, 0) top left, (1, 1) bottom right) that sits
    // at the position. Default (0.5, 0.5).
    Point anchorPoint() const { return _anchorPoint; }
    void setAnchorPoint(Point anchor);
    // The rectangle the layer covers in the superlayer: with a transform, the bounding box of the
    // transformed bounds. Setting it keeps the bounds' origin and places the layer as if there were
    // no transform (size and anchor position), the transform then applying about the anchor.
    Rect frame() const;
    void setFrame(const Rect& frame);
    // An affine transform about the anchor point (a rotation turns the layer around its position).
    // A transform with a non-finite entry is ignored; a singular one (a zero scale) hides the layer
    // and makes it unhittable.
    const AffineTransform& transform() const { return _transform; }
    void setTransform(const AffineTransform& transform);
    // Maps the layer's own coordinates (its bounds) into its superlayer's.
    AffineTransform transformToSuperlayer() const;

    // ---- Look ----
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }
    // 0…1; NaN is ignored.
    double opacity() const { return _opacity; }
    void setOpacity(double opacity);
    bool masksToBounds() const { return _masksToBounds; }
    void setMasksToBounds(bool masks) { _masksToBounds = masks; }
    double cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(double radius);
    const std::optional<Color>& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(std::optional<Color> color) { _backgroundColor = color; }
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);
    const std::optional<Color>& borderColor() const { return _borderColor; }
    void setBorderColor(std::optional<Color> color) { _borderColor = color; }
    // The shadow is drawn as a hard silhouette of the layer's content, offset and tinted (no blur).
    // A layer that masks to its bounds shows no shadow.
    Size shadowOffset() const { return _shadowOffset; }
    void setShadowOffset(Size offset) { _shadowOffset = offset; }
    const std::optional<Color>& shadowColor() const { return _shadowColor; }
    void setShadowColor(std::optional<Color> color) { _shadowColor = color; }
    double shadowOpacity() const { return _shadowOpacity; }
    void setShadowOpacity(double opacity);
    double shadowRadius() const { return _shadowRadius; }
    void setShadowRadius(double radius) { _shadowRadius = radius; }
    // A layer whose alpha decides how much of this layer shows (its colours do not matter): a shape
    // layer reveals what its path covers. It is drawn in this layer's coordinates, is in no layer
    // tree (setting it takes it out of its superlayer) and masks the shadow too. A mask that is this
    // layer, contains it or is masked by it is refused.
    const std::shared_ptr<Layer>& mask() const { return _mask; }
    void setMask(std::shared_ptr<Layer> mask);

    // Pixels per point of the layer's content; kept for owners that read it back (drawing is vector).
    double contentsScale() const { return _contentsScale; }
    void setContentsScale(double scale);

    // ---- Tree ----
    std::shared_ptr<Layer> superlayer() const { return _superlayer.lock(); }
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return _sublayers; }
    // A layer that has a superlayer is taken out of it first. Adding a layer to itself or to one of
    // its own sublayers is refused.
    void addSublayer(const std::shared_ptr<Layer>& layer);
    // `index` beyond the end appends.
    void insertSublayer(const std::shared_ptr<Layer>& layer, std::size_t index);
    void removeFromSuperlayer();
    bool isAncestorOf(const Layer* layer) const;

    // The view that draws this layer's content, if any (set by the view; not owned).
    LayerDelegate* delegate() const { return _delegate; }
    void setDelegate(LayerDelegate* delegate) { _delegate = delegate; }

    // ---- Animations ----
    // Adds a copy of `animation`, starting now when its begin time is 0. An animation already under
    // the same non-empty key is replaced (told it stopped unfinished). The copy stops at its end:
    // its delegate and stop handler hear `finished` true, and it is dropped when removed on completion.
    void addAnimation(const BasicAnimation& animation, const std::string& key = {});
    // The layer's copy, or null.
    std::shared_ptr<const BasicAnimation> animationForKey(std::string_view key) const;
    std::vector<std::string> animationKeys() const;
    // Unfinished animations that are removed are told they stopped unfinished.
    void removeAnimationForKey(std::string_view key);
    void removeAllAnimations();
    bool hasAnimations() const { return !_animations.empty(); }
    // True while some animation of the layer has not reached its end.
    bool hasRunningAnimations() const;

    // The model value of an animatable key path, or nullopt for key paths the layer does not know.
    virtual std::optional<AnimationValue> modelValue(std::string_view keyPath) const;
    // The value that running animations show at the clock's moment `time` (the model value when none
    // does). Seconds on the clock are read as Clock::ticksAt reads them.
    std::optional<AnimationValue> presentationValue(std::string_view keyPath, Ticks time) const;
    std::optional<AnimationValue> presentationValue(std::string_view keyPath, double clockSeconds) const;
    double presentationOpacity(Ticks time) const;
    double presentationOpacity(double clockSeconds) const;
    // The geometry that running "bounds", "position" and "transform" animations show at `time` (the
    // model's where none runs), and the frame and the mapping into the superlayer made of it.
    Rect presentationBounds(Ticks time) const;
    Point presentationPosition(Ticks time) const;
    AffineTransform presentationTransform(Ticks time) const;
    Rect presentationFrame(Ticks time) const;
    AffineTransform presentationTransformToSuperlayer(Ticks time) const;

    // Renders the layer and its sublayers into `context` as the model says (running animations are
    // not shown), in the layer's own coordinates: its bounds' origin lands on the context's origin.
    // Views draw their content.
    void renderInContext(Context& context) const;

    // Drawn after the background and before the sublayers, in bounds coordinates. `time` is set when
    // rendering presentation values.
    virtual void drawContent(Context& context, std::optional<Ticks> time) const;
    // Where the layer's own drawing (background, border, drawContent) may paint, in its coordinates:
    // its bounds here. A subclass that draws outside its bounds answers more; translucent and masked
    // layers are composited within what their tree can paint.
    virtual Rect contentExtent(std::optional<Ticks> time) const;

protected:
    Layer() = default;
    // Whether an animation under `keyPath` is on the layer (cheap check before building values).
    bool isAnimating(std::string_view keyPath) const;

private:
    struct Running {
        std::string key;
        std::shared_ptr<BasicAnimation> animation;
        std::uint64_t serial = 0;
        std::shared_ptr<Timer> timer;
        bool completed = false;
    };

    PLAT_NO_EXPORT void finishAnimation(std::uint64_t serial);
    // Takes entries out and tells their owners they stopped unfinished (on the run loop).
    PLAT_NO_EXPORT static void abandon(std::vector<Running> entries);
    PLAT_NO_EXPORT void detachSublayer(const Layer* layer);

    Rect _bounds;
    Point _position;
    Point _anchorPoint{0.5, 0.5};
    AffineTransform _transform;
    std::shared_ptr<Layer> _mask;
    bool _hidden = false;
    double _opacity = 1;
    bool _masksToBounds = false;
    double _cornerRadius = 0;
    std::optional<Color> _backgroundColor;
    double _borderWidth = 0;
    std::optional<Color> _borderColor = Color::black();
    Size _shadowOffset{0, -3};
    std::optional<Color> _shadowColor = Color::black();
    double _shadowOpacity = 0;
    double _shadowRadius = 3;
    double _contentsScale = 1;

    std::weak_ptr<Layer> _superlayer;
    std::vector<std::shared_ptr<Layer>> _sublayers;
    LayerDelegate* _delegate = nullptr;

    std::vector<Running> _animations;
};

}  // namespace plat
