#pragma once
// The concrete gesture recognisers: tap (one or more taps of one or more fingers), pan (drag with
// translation and velocity), pinch (two-finger scale) and long press (held on a timer).

#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/gesture_recognizer.h"

namespace plat {

class Timer;

class PLAT_EXPORT TapGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<TapGestureRecognizer> create(Action action = {});
    ~TapGestureRecognizer() override;

    int numberOfTapsRequired() const { return _tapsRequired; }
    void setNumberOfTapsRequired(int taps) { _tapsRequired = taps < 1 ? 1 : taps; }
    int numberOfTouchesRequired() const { return _touchesRequired; }
    void setNumberOfTouchesRequired(int touches) { _touchesRequired = touches < 1 ? 1 : touches; }

    // A finger that moves farther than this from where it went down is no tap.
    static constexpr double AllowableMovement = 10;
    // The longest pause between the taps of a multiple tap.
    static constexpr double MaximumTapInterval = 0.35;

protected:
    TapGestureRecognizer() = default;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;
    bool waitsForFurtherTouches() const override;

private:
    PLAT_NO_EXPORT void stopTimer();

    int _tapsRequired = 1;
    int _touchesRequired = 1;
    int _taps = 0;
    Point _firstDown;                                    // window coordinates of the first finger of the first tap
    std::vector<std::pair<const Touch*, Point>> _downs;  // where the fingers of this tap went down
    std::shared_ptr<Timer> _timer;
};

class PLAT_EXPORT PanGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PanGestureRecognizer> create(Action action = {});

    std::size_t minimumNumberOfTouches() const { return _minTouches; }
    void setMinimumNumberOfTouches(std::size_t n) { _minTouches = n < 1 ? 1 : n; }
    std::size_t maximumNumberOfTouches() const { return _maxTouches; }
    void setMaximumNumberOfTouches(std::size_t n) { _maxTouches = n < 1 ? 1 : n; }

    // Movement of the fingers' centroid since the pan began (or since setTranslation), in points.
    // Views here are not transformed, so the view only matters for setTranslation's meaning.
    Point translationInView(const View* view) const;
    void setTranslation(Point translation, const View* view);
    // Points per second, from the latest movement.
    Point velocityInView(const View* view) const { return _velocity; }

    // The centroid must move this far before the pan begins.
    static constexpr double Hysteresis = 10;

protected:
    PanGestureRecognizer() = default;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    PLAT_NO_EXPORT Point centroid() const;
    // Keeps the translation continuous when fingers are added or lifted.
    PLAT_NO_EXPORT void rebase(Point before, Point after);

    std::size_t _minTouches = 1;
    std::size_t _maxTouches = std::numeric_limits<std::size_t>::max();
    Point _start;  // window coordinates of the centroid at translation zero
    Point _lastCentroid;
    double _lastTime = 0;
    Point _velocity;
};

class PLAT_EXPORT PinchGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PinchGestureRecognizer> create(Action action = {});

    // Distance between the fingers over the distance when the pinch began (or when the scale was set).
    double scale() const { return _scale; }
    void setScale(double scale);
    // Scale per second.
    double velocity() const { return _velocity; }

    // The distance must change this much before the pinch begins.
    static constexpr double Hysteresis = 5;

protected:
    PinchGestureRecognizer() = default;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    PLAT_NO_EXPORT double distance() const;

    double _initialDistance = 0;
    double _baseDistance = 0;
    double _scale = 1;
    double _velocity = 0;
    double _lastTime = 0;
};

class PLAT_EXPORT LongPressGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<LongPressGestureRecognizer> create(Action action = {});
    ~LongPressGestureRecognizer() override;

    double minimumPressDuration() const { return _minDuration; }
    void setMinimumPressDuration(double seconds) { _minDuration = seconds >= 0 ? seconds : 0; }
    int numberOfTouchesRequired() const { return _touchesRequired; }
    void setNumberOfTouchesRequired(int n) { _touchesRequired = n < 1 ? 1 : n; }
    // Taps before the press; only 0 is supported (other values are stored and ignored).
    int numberOfTapsRequired() const { return _tapsRequired; }
    void setNumberOfTapsRequired(int n) { _tapsRequired = n < 0 ? 0 : n; }
    // How far the fingers may wander before the press fails; once begun it no longer matters.
    double allowableMovement() const { return _allowableMovement; }
    void setAllowableMovement(double points) { _allowableMovement = points >= 0 ? points : 0; }

protected:
    LongPressGestureRecognizer() = default;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    PLAT_NO_EXPORT void stopTimer();

    double _minDuration = 0.5;
    int _touchesRequired = 1;
    int _tapsRequired = 0;
    double _allowableMovement = 10;
    Point _start;
    std::shared_ptr<Timer> _timer;
};

}  // namespace plat
