#include "Platform/ui/view.h"

#include <algorithm>
#include <cmath>

#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/view_controller.h"
#include "Platform/ui/window.h"

namespace plat {

namespace {
// Views this transparent are not hit (as the platform does it).
constexpr double MinimumHitAlpha = 0.01;
}  // namespace

std::shared_ptr<View> View::create(const Rect& frame) { return initialized(std::shared_ptr<View>(new View(frame))); }

View::View(const Rect& frame) : _layer(Layer::create()) {
    _layer->setDelegate(this);
    _layer->setFrame(frame);
}

View::~View() {
    _layer->setDelegate(nullptr);
    for (auto& sub : _subviews) sub->_superview.reset();
    for (auto& r : _recognizers) r->setView({}, nullptr);
}

// ---- Geometry ----

void View::setFrame(const Rect& frame) {
    const Size before = bounds().size;
    changeAnimatable({BoundsAnimationKey, PositionAnimationKey}, [&] { _layer->setFrame(frame); });
    if (bounds().size != before) boundsSizeChanged();
}

void View::setBounds(const Rect& bounds) {
    const Size before = this->bounds().size;
    changeAnimatable({BoundsAnimationKey}, [&] { _layer->setBounds(bounds.standardized()); });
    if (this->bounds().size != before) boundsSizeChanged();
}

void View::boundsSizeChanged() {
    setNeedsLayout();
    if (_contentMode == ViewContentMode::Redraw) setNeedsDisplay();
}

void View::setCenter(Point center) {
    changeAnimatable({PositionAnimationKey}, [&] { _layer->setPosition(center); });
}

void View::setTransform(const AffineTransform& transform) {
    changeAnimatable({TransformAnimationKey}, [&] { _layer->setTransform(transform); });
}

// ---- Look ----

// Layer properties show without redrawing the view's content: these setters ask for no drawRect.
void View::setHidden(bool hidden) { _layer->setHidden(hidden); }

void View::setBackgroundColor(std::optional<Color> color) { _layer->setBackgroundColor(color); }

Color View::tintColor() const {
    for (const View* v = this; v; v = v->_superview.lock().get()) {
        if (v->_tintColor) return *v->_tintColor;
    }
    return SystemTintColor;
}

void View::setTintColor(std::optional<Color> color) {
    _tintColor = color;
    notifyTintChanged();
}

void View::notifyTintChanged() {
    tintColorDidChange();
    const auto subviews = _subviews;
    for (const auto& sub : subviews) {
        if (!sub->_tintColor) sub->notifyTintChanged();
    }
}

// ---- Tree ----

std::shared_ptr<Window> View::window() const {
    const View* v = this;
    std::shared_ptr<View> holder;
    while (auto parent = v->_superview.lock()) {
        holder = parent;
        v = holder.get();
    }
    if (v == this) {
        auto self = std::const_pointer_cast<View>(sharedAs<View>());
        return std::dynamic_pointer_cast<Window>(self);
    }
    return std::dynamic_pointer_cast<Window>(holder);
}

bool View::isDescendantOf(const View* view) const {
    const View* v = this;
    std::shared_ptr<View> holder;
    while (v) {
        if (v == view) return true;
        holder = v->_superview.lock();
        v = holder.get();
    }
    return false;
}

void View::addSubview(const std::shared_ptr<View>& view) { insertSubview(view, _subviews.size()); }

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
    if (!view || isDescendantOf(view.get())) return;
    auto keep = view;
    const auto oldWindow = keep->window();
    keep->willMoveToSuperview(this);
    if (auto old = keep->_superview.lock()) {
        auto& list = old->_subviews;
        auto it = std::find(list.begin(), list.end(), keep);
        if (it != list.end()) {
            // Moving within the same parent: indices count after the removal.
            if (old.get() == this && static_cast<std::size_t>(it - list.begin()) < index) --index;
            list.erase(it);
        }
    }
    index = std::min(index, _subviews.size());
    _subviews.insert(_subviews.begin() + static_cast<std::ptrdiff_t>(index), keep);
    keep->_superview = sharedAs<View>();

    // The layer goes just below the layer of the subview that now follows it, or on top.
    if (index + 1 < _subviews.size()) {
        const auto& next = _subviews[index + 1]->_layer;
        const auto& subs = _layer->sublayers();
        auto it = std::find(subs.begin(), subs.end(), next);
        keep->_layer->removeFromSuperlayer();
        _layer->insertSublayer(keep->_layer, static_cast<std::size_t>(it - subs.begin()));
    } else {
        _layer->addSublayer(keep->_layer);
    }
    keep->didMoveToSuperview();
    keep->moveToWindow(oldWindow);
}

void View::removeFromSuperview() {
    auto parent = _superview.lock();
    if (!parent) return;
    auto self = sharedAs<View>();  // the parent may hold the last reference
    const auto oldWindow = window();
    willMoveToSuperview(nullptr);
    auto& list = parent->_subviews;
    list.erase(std::remove(list.begin(), list.end(), self), list.end());
    _superview.reset();
    _layer->removeFromSuperlayer();
    didMoveToSuperview();
    moveToWindow(oldWindow);
}

void View::moveToWindow(const std::shared_ptr<Window>& before) {
    const auto after = window();
    if (after == before) return;
    // A first responder that leaves the window is no longer first responder.
    if (auto fr = before ? before->firstResponder() : nullptr; fr && fr->isDescendantOf(this)) {
        before->forgetFirstResponder({});
        fr->firstResponderWasTaken();
    }
    std::vector<View*> stack{this};
    while (!stack.empty()) {
        View* v = stack.back();
        stack.pop_back();
        v->didMoveToWindow();
        for (auto& sub : v->_subviews) stack.push_back(sub.get());
    }
}

void View::bringSubviewToFront(const View* view) {
    auto it = std::find_if(_subviews.begin(), _subviews.end(), [&](const auto& s) { return s.get() == view; });
    if (it == _subviews.end()) return;
    auto keep = *it;
    _subviews.erase(it);
    _subviews.push_back(keep);
    _layer->addSublayer(keep->_layer);
}

void View::sendSubviewToBack(const View* view) {
    auto it = std::find_if(_subviews.begin(), _subviews.end(), [&](const auto& s) { return s.get() == view; });
    if (it == _subviews.end()) return;
    auto keep = *it;
    _subviews.erase(it);
    _subviews.insert(_subviews.begin(), keep);
    _layer->insertSublayer(keep->_layer, 0);
}

std::shared_ptr<View> View::viewWithTag(std::int64_t tag) {
    if (_tag == tag) return sharedAs<View>();
    for (auto& sub : _subviews) {
        if (auto found = sub->viewWithTag(tag)) return found;
    }
    return nullptr;
}

// ---- Layout ----

void View::layoutIfNeeded() {
    auto keep = sharedAs<View>();
    if (_needsLayout) {
        _needsLayout = false;
        layoutSubviews();
    }
    const auto subviews = _subviews;
    for (const auto& sub : subviews) sub->layoutIfNeeded();
}

Size View::sizeThatFits(Size) const { return bounds().size; }

void View::sizeToFit() {
    const Rect f = frame();
    const Size s = sizeThatFits(f.size);
    setFrame({f.origin, s});
}

// ---- Drawing ----

void View::drawRect(Context&, const Rect&) {}

void View::drawLayerContent(const Layer&, Context& context) {
    // Drawing code may take the view out of its superview, its last owner: it lives out its draw.
    const auto keep = weak_from_this().lock();
    _needsDisplay = false;
    drawRect(context, bounds());
}

// ---- Coordinates ----

AffineTransform View::transformToRoot(const View** root) const {
    AffineTransform m;
    const View* v = this;
    std::shared_ptr<View> holder;
    while (true) {
        m = m.concat(v->_layer->transformToSuperlayer());
        auto parent = v->_superview.lock();
        if (!parent) break;
        holder = parent;
        v = holder.get();
    }
    if (root) *root = v;
    return m;
}

namespace {
// The point mapped by `to`, then back through `from` (a singular `from` leaves it unmapped).
Point through(const AffineTransform& to, const AffineTransform& from, Point p) { return from.inverted().apply(to.apply(p)); }
}  // namespace

Point View::convertPointToView(Point point, const View* view) const {
    const View* root = nullptr;
    const AffineTransform from = transformToRoot(&root);
    return through(from, (view ? view : root)->transformToRoot(nullptr), point);
}

Point View::convertPointFromView(Point point, const View* view) const {
    const View* root = nullptr;
    const AffineTransform to = transformToRoot(&root);
    return through((view ? view : root)->transformToRoot(nullptr), to, point);
}

Rect View::convertRectToView(const Rect& rect, const View* view) const {
    const View* root = nullptr;
    const AffineTransform from = transformToRoot(&root);
    const AffineTransform to = (view ? view : root)->transformToRoot(nullptr);
    return from.concat(to.inverted()).applyToRect(rect);
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
    const View* root = nullptr;
    const AffineTransform to = transformToRoot(&root);
    const AffineTransform from = (view ? view : root)->transformToRoot(nullptr);
    return from.concat(to.inverted()).applyToRect(rect);
}

Point View::convertPointToScreen(Point point) const { return transformToRoot(nullptr).apply(point); }

Point View::convertPointFromScreen(Point point) const { return transformToRoot(nullptr).inverted().apply(point); }

bool View::pointInside(Point point, const Event*) const { return bounds().contains(point); }

std::shared_ptr<View> View::hitTest(Point point, const Event* event) {
    if (isHidden() || !_userInteraction || alpha() < MinimumHitAlpha) return nullptr;
    if (!pointInside(point, event)) return nullptr;
    const auto subviews = _subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        // Through the subview's transform: a turned view is hit where it shows.
        const AffineTransform toHere = (*it)->_layer->transformToSuperlayer();
        if (!toHere.isInvertible()) continue;
        if (auto hit = (*it)->hitTest(toHere.inverted().apply(point), event)) return hit;
    }
    return sharedAs<View>();
}

// ---- Gestures ----

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
    if (!recognizer) return;
    if (auto old = recognizer->view()) {
        if (old.get() == this) return;
        old->removeGestureRecognizer(recognizer.get());
    }
    _recognizers.push_back(recognizer);
    recognizer->setView({}, sharedAs<View>());
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
    auto it = std::find_if(_recognizers.begin(), _recognizers.end(), [&](const auto& r) { return r.get() == recognizer; });
    if (it == _recognizers.end()) return;
    auto keep = *it;
    _recognizers.erase(it);
    keep->setView({}, nullptr);
}

// ---- Responder ----

std::shared_ptr<Responder> View::nextResponder() const {
    if (auto controller = _viewController.lock()) return controller;
    return superview();
}

bool View::becomeFirstResponder() {
    auto w = window();
    if (!w || !canBecomeFirstResponder()) return false;
    return w->makeFirstResponder({}, sharedAs<View>());
}

bool View::resignFirstResponder() {
    auto w = window();
    if (!w || !isFirstResponder()) return true;
    if (!canResignFirstResponder()) return false;
    w->forgetFirstResponder({});
    return true;
}

bool View::endEditing(bool force) {
    auto w = window();
    if (!w) return true;
    auto fr = w->firstResponder();
    if (!fr || !fr->isDescendantOf(this)) return true;
    if (fr->resignFirstResponder()) return true;
    if (!force) return false;
    if (w->firstResponder() == fr) {
        w->forgetFirstResponder({});
        fr->firstResponderWasTaken();
    }
    return true;
}

bool View::isFirstResponder() const {
    auto w = window();
    return w && w->firstResponder().get() == this;
}

}  // namespace plat
