#pragma once
// A view that shows a larger content through its bounds: the content offset is the bounds' origin.
// A finger drags the content (rubber-banding past the edges when it bounces), a flick decelerates on
// the run loop's clock, paging snaps to whole pages, programmatic scrolls may animate, and scroll
// indicators show where the visible part lies while it moves. A delegate hears the motion.

#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/ui/view.h"

namespace plat {

class DisplayLink;
class Layer;
class PanGestureRecognizer;
class ScrollView;
class Timer;

// Optional hooks; the defaults do nothing.
class PLAT_EXPORT ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    // After every change of the content offset, whoever made it.
    virtual void scrollViewDidScroll(ScrollView&) {}
    virtual void scrollViewWillBeginDragging(ScrollView&) {}
    // The finger lifts with `velocity` (points per second of content movement); the scroll view will
    // come to rest at `targetContentOffset`, which the delegate may move.
    virtual void scrollViewWillEndDragging(ScrollView&, Point velocity, Point& targetContentOffset) {}
    virtual void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView&) {}
    virtual void scrollViewDidEndDecelerating(ScrollView&) {}
    // An animated setContentOffset or scrollRectToVisible came to its end.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
};

class PLAT_EXPORT ScrollView : public View {
public:
    static std::shared_ptr<ScrollView> create(const Rect& frame = {});
    ~ScrollView() override;

    // ---- Content ----
    Point contentOffset() const { return bounds().origin; }
    // Not limited to the content: any finite offset is taken (non-finite ones are ignored). Stops a
    // running deceleration or scroll animation.
    void setContentOffset(Point offset);
    // Animated: moves there over ScrollAnimationDuration, then tells scrollViewDidEndScrollingAnimation.
    void setContentOffset(Point offset, bool animated);
    Size contentSize() const { return _contentSize; }
    // Negative sizes count as 0; non-finite ones are ignored.
    void setContentSize(Size size);
    // Room around the content that scrolling can reach (a bar over the top, a keyboard below).
    EdgeInsets contentInset() const { return _contentInset; }
    void setContentInset(EdgeInsets inset);
    // Where dragging, flicks and paging come to rest: from (-left, -top) inset to the content's far
    // edge plus inset, never below the minimum.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    // Scrolls the least that shows `rect` (content coordinates), within the reachable offsets.
    void scrollRectToVisible(const Rect& rect, bool animated);

    // ---- Behaviour ----
    bool isScrollEnabled() const { return _scrollEnabled; }
    void setScrollEnabled(bool enabled);
    // Flicks and drags stop on multiples of the bounds' size.
    bool isPagingEnabled() const { return _pagingEnabled; }
    void setPagingEnabled(bool enabled) { _pagingEnabled = enabled; }
    // Past the edges the content follows the finger with resistance and springs back on release.
    bool bounces() const { return _bounces; }
    void setBounces(bool bounces) { _bounces = bounces; }
    // Drags along an axis even when the content fits on it.
    bool alwaysBounceVertical() const { return _alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool on) { _alwaysBounceVertical = on; }
    bool alwaysBounceHorizontal() const { return _alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool on) { _alwaysBounceHorizontal = on; }
    // The share of velocity kept per millisecond of a flick.
    double decelerationRate() const { return _decelerationRate; }
    // Values outside (0, 1) are ignored.
    void setDecelerationRate(double rate);
    static constexpr double DecelerationRateNormal = 0.998;
    static constexpr double DecelerationRateFast = 0.99;
    // Kept for owners that set them; touches reach the content at once here either way.
    bool delaysContentTouches() const { return _delaysContentTouches; }
    void setDelaysContentTouches(bool delays) { _delaysContentTouches = delays; }
    bool canCancelContentTouches() const { return _canCancelContentTouches; }
    void setCanCancelContentTouches(bool cancels) { _canCancelContentTouches = cancels; }

    // ---- State ----
    // A finger is dragging the content.
    bool isDragging() const { return _dragging; }
    bool isTracking() const { return _dragging; }
    // Moving on after the finger lifted (a flick, a page snap or a spring back).
    bool isDecelerating() const { return _decelerating; }
    const std::shared_ptr<PanGestureRecognizer>& panGestureRecognizer() const { return _pan; }

    std::shared_ptr<ScrollViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { _delegate = std::move(delegate); }

    // ---- Scroll indicators ----
    bool showsHorizontalScrollIndicator() const { return _showsHorizontalIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows);
    bool showsVerticalScrollIndicator() const { return _showsVerticalIndicator; }
    void setShowsVerticalScrollIndicator(bool shows);
    // Shows the indicators for a moment (they also show while the content moves).
    void flashScrollIndicators();
    static constexpr Color IndicatorColor = Color(0, 0, 0, 0.35);
    static constexpr double IndicatorThickness = 3;
    // From the edges of the bounds.
    static constexpr double IndicatorInset = 3;
    static constexpr double IndicatorMinimumLength = 36;
    // Still visible this long after the motion stops.
    static constexpr double IndicatorHideDelay = 0.5;

    static constexpr double ScrollAnimationDuration = 0.3;
    static constexpr double PageSnapDuration = 0.3;
    static constexpr double BounceBackDuration = 0.4;
    // A flick faster than this (points per second) turns the page even short of half way.
    static constexpr double PageFlickVelocity = 300;

    void setBounds(const Rect& bounds) override;
    void layoutSubviews() override;
    // While the content decelerates, a finger that comes down stops it and the touch stays with the
    // scroll view (a tap then only stops the scrolling; it reaches no content).
    std::shared_ptr<View> hitTest(Point point, const Event* event) override;
    void touchesBegan(const TouchSet& touches, const Event& event) override;

protected:
    explicit ScrollView(const Rect& frame);
    void initialize() override;
    // After each change of the content offset, before the delegate hears of it.
    virtual void contentOffsetDidChange() {}
    // The latest touch came down on moving content and stopped it.
    bool touchStoppedScrolling() const { return _touchStoppedScrolling; }

private:
    struct Motion;

    PLAT_NO_EXPORT void handlePan();
    PLAT_NO_EXPORT void endDrag(Point velocity);
    PLAT_NO_EXPORT Point clampedOffset(Point offset) const;
    PLAT_NO_EXPORT Point pageTarget(Point offset, Point velocity) const;
    PLAT_NO_EXPORT bool scrollsHorizontally() const;
    PLAT_NO_EXPORT bool scrollsVertically() const;
    PLAT_NO_EXPORT void startMotion(std::unique_ptr<Motion> motion);
    PLAT_NO_EXPORT void stopMotion();
    PLAT_NO_EXPORT void tick(double timestamp);
    PLAT_NO_EXPORT void finishMotion();
    PLAT_NO_EXPORT void showIndicators();
    PLAT_NO_EXPORT void scheduleIndicatorHide();
    PLAT_NO_EXPORT void updateIndicators();

    Size _contentSize;
    EdgeInsets _contentInset;
    bool _scrollEnabled = true;
    bool _pagingEnabled = false;
    bool _bounces = true;
    bool _alwaysBounceVertical = false;
    bool _alwaysBounceHorizontal = false;
    double _decelerationRate = DecelerationRateNormal;
    bool _delaysContentTouches = true;
    bool _canCancelContentTouches = true;
    bool _showsHorizontalIndicator = true;
    bool _showsVerticalIndicator = true;

    bool _dragging = false;
    bool _decelerating = false;
    Point _dragStart;
    std::weak_ptr<ScrollViewDelegate> _delegate;
    std::shared_ptr<PanGestureRecognizer> _pan;
    std::unique_ptr<Motion> _motion;
    std::shared_ptr<DisplayLink> _link;
    std::shared_ptr<Layer> _horizontalIndicator, _verticalIndicator;
    bool _indicatorsShown = false;
    bool _touchStoppedScrolling = false;
    std::shared_ptr<Timer> _indicatorTimer;
};

}  // namespace plat
