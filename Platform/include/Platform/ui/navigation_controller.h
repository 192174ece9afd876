#pragma once
// A navigation controller: a stack of view controllers of which the top one shows, under a
// navigation bar with its title and above a toolbar (hidden until asked for). The bar sits below the
// part of the status bar that covers the controller's view.

#include <memory>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/view_controller.h"

namespace plat {

class Label;

class PLAT_EXPORT NavigationController : public ViewController {
public:
    static constexpr double NavigationBarHeight = 44;
    static constexpr double ToolbarHeight = 44;

    // A null root leaves the stack empty until something is pushed.
    static std::shared_ptr<NavigationController> create(const std::shared_ptr<ViewController>& root = nullptr);

    // Bottom first; the last one shows.
    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return childViewControllers(); }
    std::shared_ptr<ViewController> topViewController() const;
    // Shows `controller` on top (taken from any other parent first). Null, this controller or one
    // already on the stack is refused. The change shows at once.
    void pushViewController(const std::shared_ptr<ViewController>& controller);
    // Takes the top controller off and answers it; the root stays (null then).
    std::shared_ptr<ViewController> popViewController();
    // Takes every controller above the root off, and answers them bottom first.
    std::vector<std::shared_ptr<ViewController>> popToRootViewController();

    // The bars, made with the controller's view. Their frames are kept whether or not they show.
    std::shared_ptr<View> navigationBar();
    std::shared_ptr<View> toolbar();
    bool isNavigationBarHidden() const { return _barHidden; }
    void setNavigationBarHidden(bool hidden);
    bool isToolbarHidden() const { return _toolbarHidden; }
    void setToolbarHidden(bool hidden);

    // Places the bars and the top controller's view in the controller's view (run by its layout).
    void layoutContent();

protected:
    NavigationController() = default;
    void loadView() override;

private:
    // Shows the top controller's view and title in place of whatever showed.
    PLAT_NO_EXPORT void showTop();

    std::shared_ptr<View> _bar, _toolbar, _shown;
    std::shared_ptr<Label> _titleLabel;
    bool _barHidden = false;
    bool _toolbarHidden = true;
};

}  // namespace plat
