#include "Platform/ui/layer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/timer.h"
#include "ui/layer_renderer.h"

namespace plat {

namespace {

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

void tellStopped(const BasicAnimation& animation, bool finished) {
    if (auto delegate = animation.delegate()) delegate->animationDidStop(animation, finished);
    if (animation.stopHandler()) animation.stopHandler()(animation, finished);
}

}  // namespace

std::shared_ptr<Layer> Layer::create() { return std::shared_ptr<Layer>(new Layer()); }

Layer::~Layer() {
    for (auto& sub : _sublayers) sub->_superlayer.reset();
    abandon(std::move(_animations));
}

// ---- Geometry ----

void Layer::setBounds(const Rect& bounds) { _bounds = bounds; }
void Layer::setPosition(Point position) { _position = position; }
void Layer::setAnchorPoint(Point anchor) { _anchorPoint = anchor; }

namespace {

// The layer's geometry at one moment: the model's, or what animations show.
struct Geometry {
    Rect bounds;
    Point position;
    Point anchor;
    AffineTransform transform;

    AffineTransform toSuperlayer() const {
        if (transform.isIdentity()) {
            const Rect f = frame();
            return AffineTransform::translation(f.x() - bounds.x(), f.y() - bounds.y());
        }
        // Bounds coordinates relative to the anchor, then the transform, then onto the position.
        const Point a{bounds.x() + anchor.x * bounds.width(), bounds.y() + anchor.y * bounds.height()};
        return AffineTransform::translation(-a.x, -a.y)
            .concat(transform)
            .concat(AffineTransform::translation(position.x, position.y));
    }

    Rect frame() const {
        if (!transform.isIdentity()) return toSuperlayer().applyToRect(bounds);
        return {position.x - anchor.x * bounds.width(), position.y - anchor.y * bounds.height(), bounds.width(), bounds.height()};
    }
};

template <class T>
T presented(const Layer& layer, std::string_view keyPath, Ticks time, const T& model) {
    const auto v = layer.presentationValue(keyPath, time);
    const T* value = v ? std::get_if<T>(&*v) : nullptr;
    return value ? *value : model;
}

}  // namespace

Rect Layer::frame() const { return Geometry{_bounds, _position, _anchorPoint, _transform}.frame(); }

void Layer::setTransform(const AffineTransform& t) {
    if (std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) && std::isfinite(t.tx) &&
        std::isfinite(t.ty))
        _transform = t;
}

AffineTransform Layer::transformToSuperlayer() const {
    return Geometry{_bounds, _position, _anchorPoint, _transform}.toSuperlayer();
}

void Layer::setMask(std::shared_ptr<Layer> mask) {
    if (mask) {
        if (mask.get() == this || mask->isAncestorOf(this)) return;
        for (const Layer* m = mask.get(); m; m = m->_mask.get()) {
            if (m->_mask.get() == this) return;
        }
        mask->removeFromSuperlayer();
    }
    _mask = std::move(mask);
}

void Layer::setFrame(const Rect& frame) {
    const Rect f = frame.standardized();
    _bounds.size = f.size;
    _position = {f.x() + _anchorPoint.x * f.width(), f.y() + _anchorPoint.y * f.height()};
}

void Layer::setOpacity(double opacity) {
    if (!std::isnan(opacity)) _opacity = std::clamp(opacity, 0.0, 1.0);
}

void Layer::setCornerRadius(double radius) {
    if (!std::isnan(radius)) _cornerRadius = std::max(0.0, radius);
}

void Layer::setBorderWidth(double width) {
    if (!std::isnan(width)) _borderWidth = std::max(0.0, width);
}

void Layer::setShadowOpacity(double opacity) {
    if (!std::isnan(opacity)) _shadowOpacity = std::clamp(opacity, 0.0, 1.0);
}

void Layer::setContentsScale(double scale) {
    if (scale > 0 && std::isfinite(scale)) _contentsScale = scale;
}

// ---- Tree ----

bool Layer::isAncestorOf(const Layer* layer) const {
    for (auto l = layer ? layer->superlayer() : nullptr; l; l = l->superlayer()) {
        if (l.get() == this) return true;
    }
    return false;
}

void Layer::detachSublayer(const Layer* layer) {
    auto it = std::find_if(_sublayers.begin(), _sublayers.end(), [&](const auto& s) { return s.get() == layer; });
    if (it != _sublayers.end()) _sublayers.erase(it);
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) { insertSublayer(layer, _sublayers.size()); }

void Layer::insertSublayer(const std::shared_ptr<Layer>& layer, std::size_t index) {
    if (!layer || layer.get() == this || layer->isAncestorOf(this)) return;
    auto keep = layer;  // removing it from its old parent may drop the last other reference
    keep->removeFromSuperlayer();
    index = std::min(index, _sublayers.size());
    _sublayers.insert(_sublayers.begin() + static_cast<std::ptrdiff_t>(index), keep);
    keep->_superlayer = weak_from_this();
}

void Layer::removeFromSuperlayer() {
    auto parent = _superlayer.lock();
    _superlayer.reset();
    if (parent) parent->detachSublayer(this);
}

// ---- Animations ----

void Layer::addAnimation(const BasicAnimation& animation, const std::string& key) {
    auto copy = std::make_shared<BasicAnimation>(animation);
    if (copy->beginTicks() == Ticks(0)) copy->setBeginTicks(Clock::ticks());
    if (!copy->fromValue()) copy->setFromValue(modelValue(copy->keyPath()));

    if (!key.empty()) removeAnimationForKey(key);

    Running entry;
    entry.key = key;
    entry.animation = copy;
    entry.serial = nextSerial();
    // Stops at the very tick its active time ends (at once when that has passed).
    entry.timer = Timer::create(Ticks(0), false, [weak = weak_from_this(), serial = entry.serial](Timer&) {
        if (auto layer = weak.lock()) layer->finishAnimation(serial);
    });
    entry.timer->setFireTicks(std::max(copy->endTicks(), Clock::ticks()));
    RunLoop::main().addTimer(entry.timer);
    _animations.push_back(std::move(entry));
}

void Layer::finishAnimation(std::uint64_t serial) {
    auto it = std::find_if(_animations.begin(), _animations.end(), [&](const Running& r) { return r.serial == serial; });
    if (it == _animations.end() || it->completed) return;
    it->completed = true;
    it->timer.reset();
    auto animation = it->animation;
    if (animation->isRemovedOnCompletion()) _animations.erase(it);
    // Keep ourselves alive: the delegate may drop the last reference to this layer.
    auto self = shared_from_this();
    tellStopped(*animation, true);
}

void Layer::abandon(std::vector<Running> entries) {
    for (auto& entry : entries) {
        if (entry.completed) continue;
        if (entry.timer) entry.timer->invalidate();
        RunLoop::main().post([animation = entry.animation] { tellStopped(*animation, false); });
    }
}

std::shared_ptr<const BasicAnimation> Layer::animationForKey(std::string_view key) const {
    if (key.empty()) return nullptr;
    for (const auto& r : _animations) {
        if (r.key == key) return r.animation;
    }
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& r : _animations) {
        if (!r.key.empty()) keys.push_back(r.key);
    }
    return keys;
}

void Layer::removeAnimationForKey(std::string_view key) {
    if (key.empty()) return;
    std::vector<Running> removed;
    for (auto it = _animations.begin(); it != _animations.end();) {
        if (it->key == key) {
            removed.push_back(std::move(*it));
            it = _animations.erase(it);
        } else {
            ++it;
        }
    }
    abandon(std::move(removed));
}

void Layer::removeAllAnimations() { abandon(std::exchange(_animations, {})); }

bool Layer::hasRunningAnimations() const {
    return std::any_of(_animations.begin(), _animations.end(), [](const Running& r) { return !r.completed; });
}

bool Layer::isAnimating(std::string_view keyPath) const {
    return std::any_of(_animations.begin(), _animations.end(),
                       [&](const Running& r) { return r.animation->keyPath() == keyPath; });
}

std::optional<AnimationValue> Layer::modelValue(std::string_view keyPath) const {
    if (keyPath == "opacity") return _opacity;
    if (keyPath == "cornerRadius") return _cornerRadius;
    if (keyPath == "borderWidth") return _borderWidth;
    if (keyPath == "backgroundColor") return _backgroundColor.value_or(Color::clear());
    if (keyPath == "borderColor") return _borderColor.value_or(Color::clear());
    if (keyPath == "shadowOpacity") return _shadowOpacity;
    if (keyPath == "bounds") return _bounds;
    if (keyPath == "position") return _position;
    if (keyPath == "transform") return _transform;
    return std::nullopt;
}

std::optional<AnimationValue> Layer::presentationValue(std::string_view keyPath, double clockSeconds) const {
    return presentationValue(keyPath, Clock::ticksAt(clockSeconds));
}

std::optional<AnimationValue> Layer::presentationValue(std::string_view keyPath, Ticks time) const {
    const std::optional<AnimationValue> model = modelValue(keyPath);
    if (!model) return model;
    std::optional<AnimationValue> value = model;
    // Later animations are applied over earlier ones, so the newest active one wins.
    for (const auto& r : _animations) {
        const BasicAnimation& a = *r.animation;
        if (a.keyPath() != keyPath) continue;
        const auto progress = a.progressAt(time);
        if (!progress) continue;
        const AnimationValue& from = a.fromValue() ? *a.fromValue() : *value;
        const AnimationValue& to = a.toValue() ? *a.toValue() : *model;
        value = interpolate(from, to, *progress);
    }
    return value;
}

double Layer::presentationOpacity(double clockSeconds) const { return presentationOpacity(Clock::ticksAt(clockSeconds)); }

double Layer::presentationOpacity(Ticks time) const {
    if (!isAnimating("opacity")) return _opacity;
    const auto v = presentationValue("opacity", time);
    const double* d = v ? std::get_if<double>(&*v) : nullptr;
    return d ? std::clamp(*d, 0.0, 1.0) : _opacity;
}

Rect Layer::presentationBounds(Ticks time) const {
    return isAnimating("bounds") ? presented(*this, "bounds", time, _bounds) : _bounds;
}

Point Layer::presentationPosition(Ticks time) const {
    return isAnimating("position") ? presented(*this, "position", time, _position) : _position;
}

AffineTransform Layer::presentationTransform(Ticks time) const {
    if (!isAnimating("transform")) return _transform;
    const AffineTransform t = presented(*this, "transform", time, _transform);
    // A transform on the way may pass through values the model would refuse; show the model then.
    const bool finite = std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
                        std::isfinite(t.tx) && std::isfinite(t.ty);
    return finite ? t : _transform;
}

Rect Layer::presentationFrame(Ticks time) const {
    return Geometry{presentationBounds(time), presentationPosition(time), _anchorPoint, presentationTransform(time)}.frame();
}

AffineTransform Layer::presentationTransformToSuperlayer(Ticks time) const {
    return Geometry{presentationBounds(time), presentationPosition(time), _anchorPoint, presentationTransform(time)}
        .toSuperlayer();
}

void Layer::renderInContext(Context& context) const { detail::renderLayerTree(*this, context, std::nullopt); }

void Layer::drawContent(Context&, std::optional<Ticks>) const {}

Rect Layer::contentExtent(std::optional<Ticks> time) const { return time ? presentationBounds(*time) : _bounds; }

}  // namespace plat
