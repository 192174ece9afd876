#include "Platform/ui/navigation_controller.h"

#include <algorithm>

#include "Platform/ui/application.h"
#include "Platform/ui/label.h"
#include "Platform/ui/screen.h"

namespace plat {

namespace {

constexpr Color BarColor = Color::white(0.97);
constexpr double TitleFontSize = 17;

// The navigation controller's root view: its layout places the bars and the shown view.
class NavigationView : public View {
public:
    static std::shared_ptr<NavigationView> create(const Rect& frame, const std::shared_ptr<NavigationController>& owner) {
        auto view = initialized(std::shared_ptr<NavigationView>(new NavigationView(frame)));
        view->_owner = owner;
        return view;
    }
    void layoutSubviews() override {
        if (auto owner = _owner.lock()) owner->layoutContent();
    }

private:
    explicit NavigationView(const Rect& frame) : View(frame) {}
    std::weak_ptr<NavigationController> _owner;
};

}  // namespace

std::shared_ptr<NavigationController> NavigationController::create(const std::shared_ptr<ViewController>& root) {
    auto nav = initialized(std::shared_ptr<NavigationController>(new NavigationController()));
    if (root) nav->pushViewController(root);
    return nav;
}

std::shared_ptr<ViewController> NavigationController::topViewController() const {
    const auto& stack = viewControllers();
    return stack.empty() ? nullptr : stack.back();
}

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& controller) {
    if (!controller || controller.get() == this) return;
    const auto& stack = viewControllers();
    if (std::find(stack.begin(), stack.end(), controller) != stack.end()) return;
    addChildViewController(controller);
    if (controller->parentViewController().get() != this) return;  // refused (an ancestor of ours)
    showTop();
}

std::shared_ptr<ViewController> NavigationController::popViewController() {
    if (viewControllers().size() < 2) return nullptr;
    auto top = topViewController();
    top->removeFromParentViewController();
    showTop();
    return top;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewController() {
    std::vector<std::shared_ptr<ViewController>> popped;
    const auto& stack = viewControllers();
    if (stack.size() < 2) return popped;
    popped.assign(stack.begin() + 1, stack.end());
    for (const auto& c : popped) c->removeFromParentViewController();
    showTop();
    return popped;
}

std::shared_ptr<View> NavigationController::navigationBar() {
    view();
    return _bar;
}

std::shared_ptr<View> NavigationController::toolbar() {
    view();
    return _toolbar;
}

void NavigationController::setNavigationBarHidden(bool hidden) {
    _barHidden = hidden;
    if (isViewLoaded()) {
        _bar->setHidden(hidden);
        view()->setNeedsLayout();
    }
}

void NavigationController::setToolbarHidden(bool hidden) {
    _toolbarHidden = hidden;
    if (isViewLoaded()) {
        _toolbar->setHidden(hidden);
        view()->setNeedsLayout();
    }
}

void NavigationController::loadView() {
    auto root =
        NavigationView::create(Screen::main().bounds(), std::static_pointer_cast<NavigationController>(shared_from_this()));
    root->setBackgroundColor(Color::white());
    _bar = View::create();
    _bar->setBackgroundColor(BarColor);
    _bar->setHidden(_barHidden);
    _titleLabel = Label::create();
    _titleLabel->setFont(Font::boldSystem(TitleFontSize));
    _titleLabel->setTextAlignment(TextAlignment::Center);
    _bar->addSubview(_titleLabel);
    _toolbar = View::create();
    _toolbar->setBackgroundColor(BarColor);
    _toolbar->setHidden(_toolbarHidden);
    root->addSubview(_bar);
    root->addSubview(_toolbar);
    setView(root);
    showTop();
}

void NavigationController::showTop() {
    if (!isViewLoaded()) return;
    auto top = topViewController();
    auto next = top ? top->view() : nullptr;
    if (next != _shown) {
        if (_shown && _shown->superview() == view()) _shown->removeFromSuperview();
        _shown = next;
        // Under the bars, which stay on top.
        if (_shown) view()->insertSubview(_shown, 0);
    }
    view()->setNeedsLayout();
}

void NavigationController::layoutContent() {
    if (!isViewLoaded()) return;
    auto root = view();
    const Rect b = root->bounds();
    // The bar starts below the part of the status bar that lies over this view.
    const Rect statusBar = Application::shared().statusBarFrame();
    const double topInScreen = root->convertPointToScreen(b.origin).y;
    const double covered = statusBar.isEmpty() ? 0 : std::clamp(statusBar.maxY() - topInScreen, 0.0, b.height());

    _bar->setFrame({b.x(), b.y() + covered, b.width(), NavigationBarHeight});
    _titleLabel->setFrame(_bar->bounds());
    auto top = topViewController();
    _titleLabel->setText(top ? top->title() : std::string());
    _toolbar->setFrame({b.x(), b.maxY() - ToolbarHeight, b.width(), ToolbarHeight});

    if (_shown) {
        const double contentTop = b.y() + covered + (_barHidden ? 0 : NavigationBarHeight);
        const double contentBottom = b.maxY() - (_toolbarHidden ? 0 : ToolbarHeight);
        _shown->setFrame({b.x(), contentTop, b.width(), std::max(0.0, contentBottom - contentTop)});
    }
}

}  // namespace plat
