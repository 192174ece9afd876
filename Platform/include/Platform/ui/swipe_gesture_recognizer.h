#pragma once
// The swipe recogniser: a quick stroke of one or more fingers in one of the permitted directions,
// recognised (once, as a discrete gesture) as soon as the stroke is long enough.

#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/ui/gesture_recognizer.h"

namespace plat {

class Timer;

// The platform's direction bits.
enum SwipeGestureRecognizerDirection : unsigned {
    SwipeGestureRecognizerDirectionRight = 1u << 0,
    SwipeGestureRecognizerDirectionLeft = 1u << 1,
    SwipeGestureRecognizerDirectionUp = 1u << 2,
    SwipeGestureRecognizerDirectionDown = 1u << 3,
};

class PLAT_EXPORT SwipeGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<SwipeGestureRecognizer> create(Action action = {});
    ~SwipeGestureRecognizer() override;

    // One or more direction bits; right by default. 0 is ignored.
    unsigned direction() const { return _direction; }
    void setDirection(unsigned direction);
    int numberOfTouchesRequired() const { return _touchesRequired; }
    void setNumberOfTouchesRequired(int touches) { _touchesRequired = touches < 1 ? 1 : touches; }

    // The stroke must cover this distance along its direction…
    static constexpr double MinimumDistance = 50;
    // … within this time of the first finger going down…
    static constexpr double MaximumDuration = 0.5;
    // … and stray sideways by no more than this share of its length.
    static constexpr double MaximumDeviation = 0.5;

protected:
    SwipeGestureRecognizer() = default;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    PLAT_NO_EXPORT void stopTimer();
    PLAT_NO_EXPORT void evaluate(double timestamp);

    unsigned _direction = SwipeGestureRecognizerDirectionRight;
    int _touchesRequired = 1;
    Point _start;  // window coordinates of the centroid when all fingers were down
    double _startTime = 0;
    bool _started = false;
    std::shared_ptr<Timer> _timer;
};

}  // namespace plat
