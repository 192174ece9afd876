#pragma once
// Basic animations of layer properties: a key path ("opacity", "path", "strokeColor", "fillColor",
// "lineWidth", "backgroundColor", "bounds", "position", "transform"), from and to values, a duration and start moment on
// plat::Clock, a timing curve, a fill mode, and a delegate or handler told when the animation stops. Layers run them
// (Layer::addAnimation); this header holds only the description and the value interpolation.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/path.h"
#include "Platform/runtime/ticks.h"

namespace plat {

// Eases the elapsed fraction of an animation along a cubic Bézier curve from (0, 0) to (1, 1).
class PLAT_EXPORT TimingFunction {
public:
    static TimingFunction linear() { return {0, 0, 1, 1}; }
    static TimingFunction easeIn() { return {0.42, 0, 1, 1}; }
    static TimingFunction easeOut() { return {0, 0, 0.58, 1}; }
    static TimingFunction easeInEaseOut() { return {0.42, 0, 0.58, 1}; }
    // The platform's default curve for view animations without a named curve.
    static TimingFunction systemDefault() { return {0.25, 0.1, 0.25, 1}; }
    // Control points; x values are limited to 0…1, as the curve must stay a function of time.
    static TimingFunction cubicBezier(double x1, double y1, double x2, double y2) { return {x1, y1, x2, y2}; }

    // Progress for the elapsed fraction t (limited to 0…1; NaN counts as 0).
    double evaluate(double t) const;

    double x1() const { return _x1; }
    double y1() const { return _y1; }
    double x2() const { return _x2; }
    double y2() const { return _y2; }
    friend bool operator==(const TimingFunction&, const TimingFunction&) = default;

private:
    TimingFunction(double x1, double y1, double x2, double y2);
    double _x1, _y1, _x2, _y2;
};

// A value of an animatable property.
using AnimationValue = std::variant<double, Color, Path, Point, Rect, AffineTransform>;

// The value at `progress` between two values of the same kind: numbers, colour components, points,
// rectangles (origin and size) and transforms (entry by entry, which suits moves and scales; a turn
// passes through a slightly shrunken shape) linearly, paths point by point when both have the same segments (otherwise the path
// jumps to `to` at the end). Values of different kinds jump to `to` at progress 1.
PLAT_EXPORT AnimationValue interpolate(const AnimationValue& from, const AnimationValue& to, double progress);

// What an animation shows outside its active time: Removed shows the model value; Forwards holds
// the end value after it ends, Backwards the start value before it begins, Both does both.
enum class FillMode { Removed, Forwards, Backwards, Both };

class BasicAnimation;

// Told when an animation stops: `finished` is true when it ran to its end, false when it was
// replaced, removed or its layer went away first. Calls arrive on the main run loop.
class PLAT_EXPORT AnimationDelegate {
public:
    virtual ~AnimationDelegate() = default;
    virtual void animationDidStop(const BasicAnimation& animation, bool finished) = 0;
};

class PLAT_EXPORT BasicAnimation {
public:
    static constexpr double DefaultDuration = 0.25;
    using StopHandler = std::function<void(const BasicAnimation& animation, bool finished)>;

    explicit BasicAnimation(std::string keyPath = {}) : _keyPath(std::move(keyPath)) {}

    const std::string& keyPath() const { return _keyPath; }
    void setKeyPath(std::string keyPath) { _keyPath = std::move(keyPath); }

    // Unset from: the layer's model value when the animation is added. Unset to: the model value at
    // each moment (so the animation runs towards whatever the model holds).
    const std::optional<AnimationValue>& fromValue() const { return _from; }
    void setFromValue(std::optional<AnimationValue> v) { _from = std::move(v); }
    const std::optional<AnimationValue>& toValue() const { return _to; }
    void setToValue(std::optional<AnimationValue> v) { _to = std::move(v); }

    // Seconds; zero, negative or NaN means DefaultDuration.
    double duration() const { return _duration; }
    void setDuration(double seconds) { _duration = seconds; }
    double effectiveDuration() const;

    // Start on plat::Clock; 0 means "when added to a layer" (the layer stores the moment it resolved
    // in its own copy). Kept in ticks; seconds are read as Clock::ticksAt reads them.
    Ticks beginTicks() const { return _begin; }
    void setBeginTicks(Ticks moment) { _begin = moment; }
    double beginTime() const { return secondsFromTicks(_begin); }
    void setBeginTime(double clockSeconds);
    // The moment the active time ends: the begin plus the effective duration (at least one tick).
    Ticks endTicks() const;

    // Unset: linear.
    const std::optional<TimingFunction>& timingFunction() const { return _timing; }
    void setTimingFunction(std::optional<TimingFunction> f) { _timing = f; }

    FillMode fillMode() const { return _fillMode; }
    void setFillMode(FillMode mode) { _fillMode = mode; }

    // When true (the default) the layer drops the animation once it has finished.
    bool isRemovedOnCompletion() const { return _removedOnCompletion; }
    void setRemovedOnCompletion(bool removed) { _removedOnCompletion = removed; }

    // Held weakly: a delegate that has gone away is not called.
    std::shared_ptr<AnimationDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<AnimationDelegate> delegate) { _delegate = std::move(delegate); }
    // Called after the delegate.
    const StopHandler& stopHandler() const { return _onStop; }
    void setStopHandler(StopHandler handler) { _onStop = std::move(handler); }

    // Free key-value storage for the animation's owner (an "id" to tell animations apart on stop).
    Value value(const std::string& key) const;
    void setValue(const std::string& key, Value value);

    // Eased progress at the clock's moment `time` for an animation that began at beginTicks(), or
    // nullopt when the animation shows nothing then (before its start or after its end, as the fill
    // mode says). The active time runs from the begin up to, not including, endTicks().
    std::optional<double> progressAt(Ticks time) const;
    std::optional<double> progressAt(double clockSeconds) const;  // NaN shows nothing

private:
    std::string _keyPath;
    std::optional<AnimationValue> _from, _to;
    double _duration = 0;
    Ticks _begin{0};
    std::optional<TimingFunction> _timing;
    FillMode _fillMode = FillMode::Removed;
    bool _removedOnCompletion = true;
    std::weak_ptr<AnimationDelegate> _delegate;
    StopHandler _onStop;
    std::map<std::string, Value, std::less<>> _values;
};

}  // namespace plat
