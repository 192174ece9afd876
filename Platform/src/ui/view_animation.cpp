// View animations: an animation block records the alpha, geometry and transform changes made inside it
// and turns each into a layer animation; a completion group tells the block's completion once they have all stopped.

#include <cmath>
#include <vector>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/view.h"
#include "runtime/tick_math.h"

namespace plat {

namespace {

struct CompletionGroup {
    int pending = 0;
    bool finished = true;
    std::function<void(bool)> completion;

    void stopped(bool ok) {
        finished = finished && ok;
        if (--pending == 0 && completion) {
            auto done = std::move(completion);
            done(finished);
        }
    }
};

struct AnimationBlock {
    double duration = 0;
    double delay = 0;
    unsigned options = 0;
    std::shared_ptr<CompletionGroup> group;
    std::vector<std::weak_ptr<View>> views;
};

// Blocks being set up, innermost last (blocks may nest). Main thread only.
std::vector<AnimationBlock*>& openBlocks() {
    static std::vector<AnimationBlock*> blocks;
    return blocks;
}

TimingFunction curveFor(unsigned options) {
    switch ((options >> 16) & 3u) {
        case 1:
            return TimingFunction::easeIn();
        case 2:
            return TimingFunction::easeOut();
        case 3:
            return TimingFunction::linear();
        default:
            return TimingFunction::easeInEaseOut();
    }
}

// What a key shows at `now`: opacity as the renderer shows it (held within 0…1).
AnimationValue shownValue(const Layer& layer, std::string_view key, Ticks now) {
    if (key == View::AlphaAnimationKey) return layer.presentationOpacity(now);
    return *layer.presentationValue(key, now);
}

}  // namespace

void View::setAlpha(double alpha) {
    if (std::isnan(alpha)) return;
    changeAnimatable({AlphaAnimationKey}, [&] { _layer->setOpacity(alpha); });
}

void View::changeAnimatable(std::initializer_list<const char*> keys, const std::function<void()>& apply) {
    auto& blocks = openBlocks();
    AnimationBlock* block = blocks.empty() ? nullptr : blocks.back();
    if (!block || !(block->duration > 0)) {
        // A change outside an animation shows at once. Alpha always ends its animation; geometry
        // only when its value changes, so a layout pass that sets the same frame again lets it run.
        if (!_layer->hasAnimations()) {
            apply();
            return;
        }
        std::vector<std::optional<AnimationValue>> before;
        for (const char* key : keys) before.push_back(_layer->modelValue(key));
        apply();
        std::size_t i = 0;
        for (const char* key : keys) {
            const bool alpha = std::string_view(key) == AlphaAnimationKey;
            if (alpha || _layer->modelValue(key) != before[i]) _layer->removeAnimationForKey(key);
            ++i;
        }
        return;
    }

    const Ticks now = Clock::ticks();
    std::vector<AnimationValue> shown;
    for (const char* key : keys) shown.push_back(shownValue(*_layer, key, now));
    apply();
    std::size_t i = 0;
    for (const char* key : keys) {
        const AnimationValue& from = shown[i++];
        const AnimationValue to = *_layer->modelValue(key);
        if (from == to && !_layer->animationForKey(key)) continue;

        BasicAnimation animation(key);
        animation.setFromValue(from);
        animation.setToValue(to);
        animation.setDuration(block->duration);
        animation.setTimingFunction(curveFor(block->options));
        if (block->delay > 0) {
            animation.setBeginTicks(detail::addSaturated(now, ticksFromSeconds(block->delay)));
            animation.setFillMode(FillMode::Backwards);  // the old value shows during the delay
        }
        ++block->group->pending;
        animation.setStopHandler([group = block->group](const BasicAnimation&, bool finished) { group->stopped(finished); });
        _layer->addAnimation(animation, key);
        // Each view once, for the layout pass at the end of set-up.
        if (block->views.empty() || block->views.back().lock().get() != this) {
            if (auto self = weak_from_this().lock()) block->views.push_back(std::static_pointer_cast<View>(self));
        }
    }
}

void View::animate(double duration, double delay, unsigned options, const std::function<void()>& animations,
                   std::function<void(bool finished)> completion) {
    AnimationBlock block;
    block.duration = std::isfinite(duration) ? duration : 0;
    block.delay = std::isfinite(delay) && delay > 0 ? delay : 0;
    block.options = options;
    block.group = std::make_shared<CompletionGroup>();
    // Held until set-up ends, so a stop during set-up cannot complete the block early.
    block.group->pending = 1;
    block.group->completion = std::move(completion);

    openBlocks().push_back(&block);
    struct Pop {
        ~Pop() { openBlocks().pop_back(); }
    } pop;
    if (animations) animations();

    if (options & ViewAnimationOptionLayoutSubviews) {
        for (auto& weak : block.views) {
            if (auto v = weak.lock()) v->layoutIfNeeded();
        }
    }
    if (block.group->pending == 1) {
        // Nothing to animate: complete on the next turn, as a finished animation would.
        RunLoop::main().post([group = block.group] { group->stopped(true); });
    } else {
        block.group->stopped(true);  // let go of the set-up hold
    }
}

}  // namespace plat
