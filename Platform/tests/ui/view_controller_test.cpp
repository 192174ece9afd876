#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/application.h"
#include "Platform/ui/navigation_controller.h"
#include "Platform/ui/window.h"

using namespace plat;

namespace {

// Counts its loads.
class CountingController : public ViewController {
public:
    static std::shared_ptr<CountingController> create(std::string title = {}) {
        auto c = initialized(std::shared_ptr<CountingController>(new CountingController()));
        c->setTitle(std::move(title));
        return c;
    }
    int loads = 0, didLoads = 0;

protected:
    void loadView() override {
        ++loads;
        setView(View::create({0, 0, 10, 10}));
    }
    void viewDidLoad() override { ++didLoads; }
};

// Counts the hit tests it is asked for and what event came with them.
class CountingView : public View {
public:
    static std::shared_ptr<CountingView> create(const Rect& frame) {
        return initialized(std::shared_ptr<CountingView>(new CountingView(frame)));
    }
    std::shared_ptr<View> hitTest(Point point, const Event* event) override {
        ++hitTests;
        touchesInEvent = event ? event->allTouches().size() : 0;
        return View::hitTest(point, event);
    }
    int hitTests = 0;
    std::size_t touchesInEvent = 0;

private:
    explicit CountingView(const Rect& frame) : View(frame) {}
};

// The first view controller along the responder chain after `responder`, as controls look for it.
std::shared_ptr<ViewController> controllerOf(const Responder& responder) {
    for (auto r = responder.nextResponder(); r; r = r->nextResponder()) {
        if (auto c = std::dynamic_pointer_cast<ViewController>(r)) return c;
    }
    return nullptr;
}

std::vector<const Responder*> chain(const Responder& from) {
    std::vector<const Responder*> out{&from};
    for (auto r = from.nextResponder(); r; r = r->nextResponder()) out.push_back(r.get());
    return out;
}

class ViewControllers : public ::testing::Test {
protected:
    void SetUp() override { Screen::main().reset(); }
    void TearDown() override {
        Application::shared().setStatusBarOrientation(InterfaceOrientation::Portrait);
        Screen::main().reset();
    }
    plat::testing::VirtualClock clock;
};

}  // namespace

TEST_F(ViewControllers, TheRootViewLoadsOnceWhenFirstAskedFor) {
    auto c = CountingController::create();
    EXPECT_FALSE(c->isViewLoaded());
    auto v = c->view();
    EXPECT_EQ(c->view(), v);
    EXPECT_EQ(c->loads, 1);
    EXPECT_EQ(c->didLoads, 1);

    // A view handed to another controller is no longer the first one's.
    auto other = ViewController::create();
    other->setView(v);
    EXPECT_EQ(v->nextResponder(), other);
    EXPECT_NE(c->view(), v);
    EXPECT_EQ(c->loads, 2);
    EXPECT_EQ(ViewController::create()->view()->frame(), Screen::main().bounds()) << "the default view";
}

TEST_F(ViewControllers, TheResponderChainRunsThroughControllersToTheWindow) {
    auto window = Window::create({0, 0, 320, 480});
    auto inbox = CountingController::create("Inbox");
    auto nav = NavigationController::create(inbox);
    window->setRootViewController(nav);
    auto button = View::create({0, 0, 10, 10});
    inbox->view()->addSubview(button);

    EXPECT_EQ(chain(*button), (std::vector<const Responder*>{button.get(), inbox->view().get(), inbox.get(), nav->view().get(),
                                                             nav.get(), window.get()}));
    EXPECT_EQ(controllerOf(*button), inbox);
    EXPECT_EQ(inbox->navigationController(), nav);
    EXPECT_EQ(nav->navigationController(), nav);
    EXPECT_EQ(ViewController::create()->navigationController(), nullptr);

    // Off screen, a controller hands on to its parent.
    auto hidden = CountingController::create();
    nav->addChildViewController(hidden);
    EXPECT_EQ(hidden->nextResponder(), nav);
    // Containment cycles are refused.
    hidden->addChildViewController(nav);
    EXPECT_EQ(nav->parentViewController(), nullptr);
}

TEST_F(ViewControllers, AWindowKeepsItsRootControllersViewFillingIt) {
    auto window = Window::create({0, 0, 200, 100});
    auto first = CountingController::create(), second = CountingController::create();
    window->setRootViewController(first);
    EXPECT_EQ(first->view()->superview(), window);
    EXPECT_EQ(first->view()->frame(), Rect(0, 0, 200, 100));
    window->setFrame({0, 0, 300, 150});
    window->layoutPass();
    EXPECT_EQ(first->view()->frame(), Rect(0, 0, 300, 150));

    window->setRootViewController(second);
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(second->view()->superview(), window);
    window->setRootViewController(nullptr);
    EXPECT_EQ(second->view()->superview(), nullptr);
}

TEST_F(ViewControllers, ANavigationControllerStacksControllersUnderItsBar) {
    auto window = Window::create(Screen::main().bounds());  // 320 × 568 at the top of the screen
    auto root = CountingController::create("Inbox");
    auto detail = CountingController::create("Message");
    auto nav = NavigationController::create(root);
    window->setRootViewController(nav);
    window->layoutPass();

    EXPECT_EQ(nav->navigationBar()->frame(), Rect(0, 20, 320, NavigationController::NavigationBarHeight))
        << "below the status bar";
    EXPECT_EQ(root->view()->frame(), Rect(0, 64, 320, 504));
    EXPECT_TRUE(nav->toolbar()->isHidden());
    EXPECT_EQ(nav->toolbar()->frame(), Rect(0, 524, 320, NavigationController::ToolbarHeight)) << "placed while hidden";

    nav->pushViewController(detail);
    nav->pushViewController(detail);  // already on the stack
    nav->pushViewController(nav);
    nav->pushViewController(nullptr);
    EXPECT_EQ(nav->viewControllers(), (std::vector<std::shared_ptr<ViewController>>{root, detail}));
    nav->setToolbarHidden(false);
    window->layoutPass();
    EXPECT_EQ(root->view()->superview(), nullptr) << "only the top shows";
    EXPECT_EQ(detail->view()->frame(), Rect(0, 64, 320, 460));
    RecordingContext rec;
    window->display(rec);
    EXPECT_NE(rec.findText("Message"), nullptr) << "the bar shows the top's title";

    detail->setTitle("Reply");
    rec.clear();
    window->display(rec);
    EXPECT_NE(rec.findText("Reply"), nullptr);

    EXPECT_EQ(nav->popViewController(), detail);
    EXPECT_EQ(nav->popViewController(), nullptr) << "the root stays";
    EXPECT_EQ(root->view()->superview(), nav->view());

    // Away from the top of the screen the bar needs no room for the status bar.
    nav->pushViewController(detail);
    nav->pushViewController(CountingController::create());
    EXPECT_EQ(nav->popToRootViewController().size(), 2u);
    window->setFrame({0, 100, 320, 468});
    window->layoutPass();
    EXPECT_EQ(nav->navigationBar()->frame().y(), 0);
}

TEST_F(ViewControllers, TurningTheStatusBarToLandscapeTurnsTheScreen) {
    Application& app = Application::shared();
    EXPECT_EQ(app.statusBarOrientation(), InterfaceOrientation::Portrait);
    app.setStatusBarOrientation(InterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(static_cast<int>(app.statusBarOrientation()), 4);
    EXPECT_EQ(Screen::main().bounds(), Rect(0, 0, 568, 320));
    EXPECT_EQ(app.statusBarFrame(), Rect(0, 0, 568, 20));
    app.setStatusBarOrientation(InterfaceOrientation::LandscapeRight);  // still landscape
    app.setStatusBarOrientation(InterfaceOrientation::Unknown);         // refused
    EXPECT_EQ(Screen::main().bounds(), Rect(0, 0, 568, 320));
    app.setStatusBarOrientation(InterfaceOrientation::PortraitUpsideDown);
    EXPECT_EQ(Screen::main().bounds(), Rect(0, 0, 320, 568));
}

TEST_F(ViewControllers, EachTouchIsHitTestedOnceWithItsEvent) {
    auto window = Window::create({0, 0, 100, 100});
    auto target = CountingView::create({0, 0, 100, 100});
    window->addSubview(target);

    window->touchDown({10, 10});
    EXPECT_EQ(target->touchesInEvent, 1u);
    window->touchMove({20, 20});
    window->touchMove({30, 30});
    window->touchDown({50, 50}, 1);  // a second finger while the first is down
    EXPECT_EQ(target->touchesInEvent, 2u);
    window->touchUp(1);
    window->touchUp();
    EXPECT_EQ(target->hitTests, 2);
}
