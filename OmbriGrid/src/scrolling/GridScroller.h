#pragma once
// The grid's scrolling: the origin follows a pan, glides on after the release, bounces back from an
// over-scroll, and the scroll indicators show while it moves and fade once it rests. The scroller owns
// every clock and every bit of state of those moves; the origin itself stays the grid's, which reads
// it at every drawing pass.

#include <cstdint>
#include <memory>

#include "Platform/foundation/geometry.h"

class KivoAnimationDriver;
class OmbriGrid;
namespace plat {
class GestureRecognizer;
class Timer;
}  // namespace plat

namespace kivo::detail {

class GridScroller {
public:
    explicit GridScroller(OmbriGrid& grid) : _grid(grid) {}
    GridScroller(const GridScroller&) = delete;
    GridScroller& operator=(const GridScroller&) = delete;

    // The pan recogniser's action.
    void pan(plat::GestureRecognizer& recognizer);
    // A glide that runs ends at its next frame.
    void stopGlideAtNextFrame();
    // Starts a glide (or a bounce) from the origin to `to`, `seconds` long.
    void slide(plat::Point to, float seconds, bool bounce);
    // The origin back within the content once it rests: the vertical one by a bounce when more than
    // 2 points out and touch feedback is on; then the indicators fade.
    void constrainFinal();
    // Stops the glide, the bounce and the fade.
    void stop();
    // True while a glide or a bounce runs.
    bool isSliding() const;
    // True from the last final constraint until the fade has run its frames.
    bool isFadePending() const;
    // ---- the origin's bounds ----
    // The largest origins, from the content's extent and the client area.
    plat::Point panMax() const { return _panMax; }
    void updatePanMax();
    // The origin back within the content.
    void constrainOrigin();
    // The origin back within the content while it moves: the horizontal one, and the vertical one
    // only when touch feedback is off.
    void constrainOriginNonFinal();
    // Raises ScrollPositionChanged when the whole-point origin moved from `before`.
    void positionMoved(plat::Point before);
    // Asks a cursor view for more items when scrolled to the bottom and no load of any grid runs.
    void tryLoadMore();

    // Set while a glide or bounce moves the origin: no edit may start meanwhile.
    bool isMovingOrigin() const { return _movingOrigin; }
    void setMovingOrigin(bool on) { _movingOrigin = on; }

private:
    void handlePan(plat::Point translation);
    // A pan step shows the scroll indicators a little more and stops a pending fade.
    void reactToPan();
    void startSlide(bool bounce);
    // One frame of the glide or the bounce; true once it ends (its last frame, or a stop asked for).
    bool slideTick(double t, bool last);
    void glideFrame(double t, bool last);
    void bounceFrame(double t, bool last);
    // The indicators fade out once the origin has been still for a while.
    void fadeIndicators();
    void fadeFrame(double t, bool last);

    OmbriGrid& _grid;
    plat::Point _panMax{};
    plat::Point _panStart{}, _panVelocity{};
    plat::Point _startPoint{}, _finalPoint{};
    // The glide's or the bounce's length in seconds, in single precision as the speed it comes from.
    float _slideFactor = 0;
    bool _freezeHorizontal = false, _freezeVertical = false;
    bool _movingOrigin = false;
    // Frames of the glide or bounce, and the indicators' fade state; set past the end to stop them at
    // their next frame.
    std::int32_t _timerCount = 0, _ghostTimerCount = 0;
    // The glide or bounce, and the fade, on the animation driver; the fade's wait on a one-shot timer.
    std::shared_ptr<KivoAnimationDriver> _slideMove, _ghostMove;
    std::shared_ptr<plat::Timer> _ghostWaitTimer;
    double _ghostStartAlpha = 0;  // the indicators' alpha when the fade began
};

}  // namespace kivo::detail
