#pragma once
// Moves a view's frame to a target over a duration on the display link, eased as the platform's view
// animations are by default (the platform's own view animations move only alpha).

#include <functional>
#include <memory>

#include "Platform/foundation/geometry.h"

namespace plat {
class DisplayLink;
class View;
}  // namespace plat

namespace kivo::detail {

class FrameAnimation {
public:
    using Completion = std::function<void(bool finished)>;

    FrameAnimation() = default;
    ~FrameAnimation();
    FrameAnimation(const FrameAnimation&) = delete;
    FrameAnimation& operator=(const FrameAnimation&) = delete;

    // From the view's frame now to `target`. A running animation stops first (its completion hears
    // false). A duration that is not positive and finite sets the target at once and completes.
    void start(const std::shared_ptr<plat::View>& view, const plat::Rect& target, double duration, Completion completion);
    // Leaves the view where it is; the completion hears false.
    void stop();
    bool isRunning() const { return _link != nullptr; }

private:
    void tick();
    void finish(bool finished);

    std::weak_ptr<plat::View> _view;
    plat::Rect _from, _to;
    double _start = 0, _duration = 0;
    std::shared_ptr<plat::DisplayLink> _link;
    Completion _completion;
};

}  // namespace kivo::detail
