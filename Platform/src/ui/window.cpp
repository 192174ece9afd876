#include "Platform/ui/window.h"

#include <algorithm>

#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/view_controller.h"
#include "ui/layer_renderer.h"

namespace plat {

namespace {

// A layout that keeps dirtying the tree is cut off after this many rounds in one pass.
constexpr int MaxLayoutRounds = 8;

std::vector<std::weak_ptr<Window>>& liveWindows() {
    static std::vector<std::weak_ptr<Window>> windows;
    return windows;
}

bool anyNeedsLayout(const View& v) {
    if (v.needsLayout()) return true;
    return std::any_of(v.subviews().begin(), v.subviews().end(), [](const auto& s) { return anyNeedsLayout(*s); });
}

// Running animations are layerAnimating's part: a view's layer is in its window's layer tree.
bool anyNeedsDisplay(const View& v) {
    if (v.isHidden()) return false;
    if (v.needsDisplay()) return true;
    return std::any_of(v.subviews().begin(), v.subviews().end(), [](const auto& s) { return anyNeedsDisplay(*s); });
}

bool layerAnimating(const Layer& l) {
    if (l.hasRunningAnimations() || (l.mask() && layerAnimating(*l.mask()))) return true;
    return std::any_of(l.sublayers().begin(), l.sublayers().end(), [](const auto& s) { return layerAnimating(*s); });
}

}  // namespace

std::shared_ptr<Window> Window::create(const Rect& frame) { return initialized(std::shared_ptr<Window>(new Window(frame))); }

Window::Window(const Rect& frame) : View(frame) {}

Window::~Window() {
    std::erase_if(liveWindows(), [](const auto& w) { return w.expired(); });
}

void Window::initialize() {
    View::initialize();
    std::erase_if(liveWindows(), [](const auto& w) { return w.expired(); });
    liveWindows().push_back(sharedAs<Window>());
    // One observer for all windows: the layout pass after every turn of the main run loop.
    static const bool observing = [] {
        RunLoop::main().addAfterTurnObserver([] {
            for (auto& w : windows()) w->layoutPass();
        });
        return true;
    }();
    (void)observing;
}

std::vector<std::shared_ptr<Window>> Window::windows() {
    std::vector<std::shared_ptr<Window>> out;
    for (auto& w : liveWindows()) {
        if (auto s = w.lock()) out.push_back(std::move(s));
    }
    return out;
}

void Window::layoutPass() {
    for (int round = 0; round < MaxLayoutRounds && anyNeedsLayout(*this); ++round) layoutIfNeeded();
}

bool Window::needsDisplayInTree() const { return anyNeedsDisplay(*this) || layerAnimating(*layer()); }

void Window::display(Context& context) {
    auto keep = sharedAs<Window>();
    layoutPass();
    detail::renderLayerTree(*layer(), context, Clock::ticks());
}

std::shared_ptr<Image> Window::renderImage(double scale) {
    ImageContext image(bounds().size, scale > 0 ? scale : Screen::main().scale(), false);
    display(image.context());
    return image.finish();
}

bool Window::writePNG(const std::string& path, double scale) {
    auto image = renderImage(scale);
    return image && image->writePNG(path);
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == _rootViewController) return;
    if (_rootViewController && _rootViewController->isViewLoaded()) {
        auto old = _rootViewController->view();
        if (old->superview().get() == this) old->removeFromSuperview();
    }
    _rootViewController = std::move(controller);
    if (_rootViewController) {
        auto view = _rootViewController->view();
        view->setFrame(bounds());
        insertSubview(view, 0);
    }
}

void Window::layoutSubviews() {
    View::layoutSubviews();
    if (_rootViewController && _rootViewController->isViewLoaded()) {
        auto view = _rootViewController->view();
        if (view->superview().get() == this) view->setFrame(bounds());
    }
}

bool Window::makeFirstResponder(Passkey<View>, const std::shared_ptr<View>& view) {
    auto current = _firstResponder.lock();
    if (current == view) return true;
    // The current one hears that it resigns (a text field ends its editing).
    if (current && !current->resignFirstResponder()) return false;
    _firstResponder = view;
    return true;
}

}  // namespace plat
