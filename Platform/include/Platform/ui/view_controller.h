#pragma once
// A view controller: owns one root view (made on first use), sits in the responder chain between
// that view and its superview, and may hold child controllers (a navigation controller's stack).

#include <memory>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/responder.h"

namespace plat {

class NavigationController;
class View;

class PLAT_EXPORT ViewController : public Responder {
public:
    static std::shared_ptr<ViewController> create();
    ~ViewController() override;

    // The root view: made by loadView the first time it is asked for, then viewDidLoad runs.
    std::shared_ptr<View> view();
    bool isViewLoaded() const { return _view != nullptr; }
    // Replaces the root view; null lets the next view() load it again. A view that is another
    // controller's root view is taken from that controller.
    void setView(std::shared_ptr<View> view);

    const std::string& title() const { return _title; }
    virtual void setTitle(std::string title);

    // ---- Containment ----
    std::shared_ptr<ViewController> parentViewController() const { return _parent.lock(); }
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return _children; }
    // A child that has a parent is taken from it first; a controller cannot contain itself or an
    // ancestor (refused). The child's view is not placed: that is the container's work.
    void addChildViewController(const std::shared_ptr<ViewController>& child);
    void removeFromParentViewController();
    // This controller or its nearest ancestor that is a navigation controller, else null.
    std::shared_ptr<NavigationController> navigationController() const;

    // The root view's superview; while the view is in no tree, the parent controller.
    std::shared_ptr<Responder> nextResponder() const override;

protected:
    ViewController() = default;
    // The internal initialiser, run once right after construction; overrides call their base's first.
    virtual void initialize() {}
    // Makes the root view: a plain view the size of the main screen. Overrides call setView.
    virtual void loadView();
    virtual void viewDidLoad() {}

    template <class T>
    static std::shared_ptr<T> initialized(std::shared_ptr<T> controller) {
        static_cast<ViewController*>(controller.get())->initialize();
        return controller;
    }

private:
    std::shared_ptr<View> _view;
    std::string _title;
    std::weak_ptr<ViewController> _parent;
    std::vector<std::shared_ptr<ViewController>> _children;
};

}  // namespace plat
