#include "Platform/ui/view_controller.h"

#include <algorithm>

#include "Platform/ui/navigation_controller.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/view.h"

namespace plat {

std::shared_ptr<ViewController> ViewController::create() {
    return initialized(std::shared_ptr<ViewController>(new ViewController()));
}

ViewController::~ViewController() {
    if (_view) _view->viewControllerLink({}).reset();
    for (auto& child : _children) child->_parent.reset();
}

std::shared_ptr<View> ViewController::view() {
    if (!_view) {
        loadView();
        if (!_view) setView(View::create(Screen::main().bounds()));  // an override that made none
        viewDidLoad();
    }
    return _view;
}

void ViewController::loadView() { setView(View::create(Screen::main().bounds())); }

void ViewController::setView(std::shared_ptr<View> view) {
    if (view == _view) return;
    if (_view) _view->viewControllerLink({}).reset();
    if (view) {
        if (auto previous = view->viewControllerLink({}).lock()) previous->_view.reset();
        view->viewControllerLink({}) = std::static_pointer_cast<ViewController>(shared_from_this());
    }
    _view = std::move(view);
}

void ViewController::setTitle(std::string title) {
    _title = std::move(title);
    // A container that shows titles (a navigation bar) picks it up in its next layout.
    if (auto parent = parentViewController(); parent && parent->_view) parent->_view->setNeedsLayout();
}

void ViewController::addChildViewController(const std::shared_ptr<ViewController>& child) {
    if (!child) return;
    for (auto c = std::static_pointer_cast<ViewController>(shared_from_this()); c; c = c->parentViewController()) {
        if (c == child) return;
    }
    auto keep = child;
    keep->removeFromParentViewController();
    _children.push_back(keep);
    keep->_parent = std::static_pointer_cast<ViewController>(shared_from_this());
}

void ViewController::removeFromParentViewController() {
    auto parent = _parent.lock();
    _parent.reset();
    if (!parent) return;
    auto& list = parent->_children;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const auto& c) { return c.get() == this; }), list.end());
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
    for (auto c = std::static_pointer_cast<const ViewController>(shared_from_this()); c; c = c->parentViewController()) {
        if (auto nav = std::dynamic_pointer_cast<const NavigationController>(c))
            return std::const_pointer_cast<NavigationController>(nav);
    }
    return nullptr;
}

std::shared_ptr<Responder> ViewController::nextResponder() const {
    if (_view) {
        if (auto superview = _view->superview()) return superview;
    }
    return parentViewController();
}

}  // namespace plat
