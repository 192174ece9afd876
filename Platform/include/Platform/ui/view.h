#pragma once
// The base of everything on screen: a rectangle in its superview (frame) with its own coordinate
// space (bounds), a layer that holds its look, subviews, layout and drawing passes, point conversion,
// hit testing, gesture recognisers and animations of its geometry, transform and alpha.
//
// Views are made through static create(...) functions: the constructor runs, then initialize(), the
// internal initialiser that subclasses extend (calling their base's first), which may use virtual
// calls and shared_from_this.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/coder.h"  // complete, so that create({}) still means a frame
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/passkey.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/layer.h"
#include "Platform/ui/responder.h"

namespace plat {

class Context;
class GestureRecognizer;
class ViewController;
class Window;

// Options of View::animate.
enum ViewAnimationOptions : unsigned {
    ViewAnimationOptionNone = 0,
    // Lays out the animated views (and their subviews) when the animation is set up.
    ViewAnimationOptionLayoutSubviews = 1u << 0,
    ViewAnimationOptionAllowUserInteraction = 1u << 1,
    // Starts from what is on screen (the presentation value) rather than the model value.
    ViewAnimationOptionBeginFromCurrentState = 1u << 2,
    ViewAnimationOptionCurveEaseInOut = 0u << 16,
    ViewAnimationOptionCurveEaseIn = 1u << 16,
    ViewAnimationOptionCurveEaseOut = 2u << 16,
    ViewAnimationOptionCurveLinear = 3u << 16,
};

// How a view's drawn content follows a change of its bounds. Only Redraw changes anything here: it asks
// for a new drawing pass whenever the bounds size changes; the other modes keep the content drawn.
enum class ViewContentMode : std::int64_t {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Redraw = 3,
    Center = 4,
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
    TopLeft = 9,
    TopRight = 10,
    BottomLeft = 11,
    BottomRight = 12,
};

class PLAT_EXPORT View : public Responder, protected LayerDelegate {
public:
    static std::shared_ptr<View> create(const Rect& frame = {});
    // From an archive (an interface file): see ui/view_coding.h for the keys. Raises CoderException.
    static std::shared_ptr<View> create(const Coder& coder);
    ~View() override;

    // ---- Geometry ----
    // With a transform, the frame is the bounding box of the transformed bounds, and setting it
    // places the view as if there were none: lay out transformed views by bounds and centre.
    Rect frame() const { return _layer->frame(); }
    virtual void setFrame(const Rect& frame);
    // The view's own coordinate space: its origin is the coordinates of the top-left corner, so a
    // non-zero origin moves the content (and the subviews) the other way.
    Rect bounds() const { return _layer->bounds(); }
    virtual void setBounds(const Rect& bounds);
    Point center() const { return _layer->position(); }
    void setCenter(Point center);
    // An affine transform about the centre, shown, hit-tested and converted through, with no layout
    // pass: bounds and centre stay as they are. Non-finite transforms are ignored.
    const AffineTransform& transform() const { return _layer->transform(); }
    void setTransform(const AffineTransform& transform);

    // ---- Look ----
    bool isHidden() const { return _layer->isHidden(); }
    void setHidden(bool hidden);
    // 0…1. Set inside an animation block it animates; set outside one it ends a running alpha animation.
    // Frame, bounds, centre and transform animate inside a block too; outside one, a change of value
    // ends their running animation (setting the value they already have leaves it running).
    double alpha() const { return _layer->opacity(); }
    void setAlpha(double alpha);
    bool clipsToBounds() const { return _layer->masksToBounds(); }
    void setClipsToBounds(bool clips) { _layer->setMasksToBounds(clips); }
    const std::optional<Color>& backgroundColor() const { return _layer->backgroundColor(); }
    void setBackgroundColor(std::optional<Color> color);
    // The view's own tint, or its superview's, or the system tint.
    Color tintColor() const;
    virtual void setTintColor(std::optional<Color> color);
    // Called on the view and on every descendant that inherits the tint, when it changes.
    virtual void tintColorDidChange() {}
    static constexpr Color SystemTintColor = Color(0, 122 / 255.0, 1, 1);

    // Whether the view promises to cover its bounds with opaque content (true, as the phone platform
    // starts every view). Drawing code reads it to decide whether it must paint a background.
    bool isOpaque() const { return _opaque; }
    void setOpaque(bool opaque) { _opaque = opaque; }
    ViewContentMode contentMode() const { return _contentMode; }
    void setContentMode(ViewContentMode mode) { _contentMode = mode; }

    bool isUserInteractionEnabled() const { return _userInteraction; }
    void setUserInteractionEnabled(bool enabled) { _userInteraction = enabled; }
    std::int64_t tag() const { return _tag; }
    void setTag(std::int64_t tag) { _tag = tag; }
    const std::shared_ptr<Layer>& layer() const { return _layer; }

    // ---- Tree ----
    std::shared_ptr<View> superview() const { return _superview.lock(); }
    const std::vector<std::shared_ptr<View>>& subviews() const { return _subviews; }
    // A view that has a superview is taken out of it first; a view cannot contain itself or an
    // ancestor (refused).
    void addSubview(const std::shared_ptr<View>& view);
    // `index` beyond the end appends.
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    bool isDescendantOf(const View* view) const;  // true for the view itself
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<View> viewWithTag(std::int64_t tag);
    std::shared_ptr<Window> window() const;

    // ---- Layout ----
    void setNeedsLayout() { _needsLayout = true; }
    bool needsLayout() const { return _needsLayout; }
    // Lays out this view if it needs it, then its subviews, depth first.
    void layoutIfNeeded();
    // Override to place subviews; the default does nothing.
    virtual void layoutSubviews() {}
    // The size the view would like within `size`; the default is its current size.
    virtual Size sizeThatFits(Size size) const;
    void sizeToFit();

    // ---- Drawing ----
    // Marks the content that drawRect draws as stale. Layer properties (alpha, hidden, background,
    // frame) show without it.
    virtual void setNeedsDisplay() { _needsDisplay = true; }
    bool needsDisplay() const { return _needsDisplay; }
    // Draws the view's content in its bounds coordinates (background already painted, subviews
    // drawn afterwards). The context is also the current context while it runs.
    virtual void drawRect(Context& context, const Rect& rect);

    // ---- Coordinates and hit testing ----
    // `view` null means the window (the root of the tree).
    Point convertPointToView(Point point, const View* view) const;
    Point convertPointFromView(Point point, const View* view) const;
    Rect convertRectToView(const Rect& rect, const View* view) const;
    Rect convertRectFromView(const Rect& rect, const View* view) const;
    // Screen coordinates: the window's frame is its place on the screen.
    Point convertPointToScreen(Point point) const;
    Point convertPointFromScreen(Point point) const;
    // The deepest visible, interactive view under `point` (this view's coordinates), or null.
    virtual std::shared_ptr<View> hitTest(Point point, const Event* event);
    virtual bool pointInside(Point point, const Event* event) const;

    // ---- Gestures ----
    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
    void removeGestureRecognizer(const GestureRecognizer* recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return _recognizers; }
    // True keeps `recognizer`, which belongs to a view around this one, from recognising a touch that
    // began here (controls keep their own taps).
    virtual bool shouldPreventRecognizer(const GestureRecognizer& recognizer) const { return false; }

    // ---- Responder ----
    // The view controller whose root view this is, else the superview.
    std::shared_ptr<Responder> nextResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Makes the first responder resign when it is this view or inside it; `force` resigns it even
    // when it would rather not. True when no first responder is left here.
    bool endEditing(bool force);

    // ---- Animations ----
    // Runs `animations` now; the alpha, frame, bounds, centre and transform values it sets animate
    // from what was shown over `duration` after `delay` (seconds on plat::Clock), the model taking the
    // new values at once (the layer's presentation values show the way there). `completion` runs once all of them have stopped,
    // with `finished` false when one was replaced or removed first; with nothing to animate it runs on the next turn of the run
    // loop.
    static void animate(double duration, double delay, unsigned options, const std::function<void()>& animations,
                        std::function<void(bool finished)> completion = {});
    static void animate(double duration, const std::function<void()>& animations,
                        std::function<void(bool finished)> completion = {}) {
        animate(duration, 0, ViewAnimationOptionNone, animations, std::move(completion));
    }
    // The layer animation keys of view animations (a frame moves both bounds and position).
    static constexpr const char* AlphaAnimationKey = "opacity";
    static constexpr const char* BoundsAnimationKey = "bounds";
    static constexpr const char* PositionAnimationKey = "position";
    static constexpr const char* TransformAnimationKey = "transform";

    // ---- For view controllers only ----
    // The controller whose root view this is: the next responder after this view.
    std::weak_ptr<ViewController>& viewControllerLink(Passkey<ViewController>) { return _viewController; }

protected:
    explicit View(const Rect& frame);
    // The internal initialiser: runs once, right after construction, with the view owned by its
    // shared_ptr. Overrides call their base's first.
    virtual void initialize() {}

    // Hooks around moves in the tree.
    virtual void willMoveToSuperview(View* newSuperview) {}
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    // The window stopped treating this view as first responder without asking it (it left the
    // window, or a forced endEditing).
    virtual void firstResponderWasTaken() {}

    // For subclasses' create(): runs initialize() on a freshly constructed view.
    template <class T>
    static std::shared_ptr<T> initialized(std::shared_ptr<T> view) {
        static_cast<View*>(view.get())->initialize();
        return view;
    }
    // For subclasses' create(const Coder&), on a view constructed with decodedFrame(coder): decodes the
    // view's own keys and subviews, then runs initialize(), as a view from a frame runs it.
    template <class T>
    static std::shared_ptr<T> initializedFromCoder(std::shared_ptr<T> view, const Coder& coder) {
        static_cast<View*>(view.get())->decodeViewKeys(coder);
        static_cast<View*>(view.get())->initialize();
        return view;
    }
    // The view's own keys, for initializedFromCoder as the subclasses of other libraries instantiate it.
    void decodeViewKeys(const Coder& coder);
    // The frame a view from `coder` is constructed with (raises CoderException for a bad one).
    static Rect decodedFrame(const Coder& coder);

    template <class T>
    std::shared_ptr<T> sharedAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
    template <class T>
    std::shared_ptr<const T> sharedAs() const {
        return std::static_pointer_cast<const T>(shared_from_this());
    }

    void drawLayerContent(const Layer& layer, Context& context) override;

private:
    // Maps the view's coordinates into the root's (the root's own frame and transform included, so
    // the result is in screen coordinates).
    PLAT_NO_EXPORT AffineTransform transformToRoot(const View** root) const;
    PLAT_NO_EXPORT void notifyTintChanged();
    // Layout, and with the redraw content mode a display pass, after the bounds size changed.
    PLAT_NO_EXPORT void boundsSizeChanged();
    PLAT_NO_EXPORT void moveToWindow(const std::shared_ptr<Window>& before);
    // Runs `apply`, which changes the layer properties under `keys`, and animates each change when an
    // animation block is open (else ends what runs on a changed key).
    PLAT_NO_EXPORT void changeAnimatable(std::initializer_list<const char*> keys, const std::function<void()>& apply);

    std::shared_ptr<Layer> _layer;
    std::weak_ptr<View> _superview;
    std::weak_ptr<ViewController> _viewController;  // set while this is a controller's root view
    std::vector<std::shared_ptr<View>> _subviews;
    std::vector<std::shared_ptr<GestureRecognizer>> _recognizers;
    std::optional<Color> _tintColor;
    std::int64_t _tag = 0;
    bool _userInteraction = true;
    bool _opaque = true;
    ViewContentMode _contentMode = ViewContentMode::ScaleToFill;
    bool _needsLayout = true;
    bool _needsDisplay = true;
};

}  // namespace plat
