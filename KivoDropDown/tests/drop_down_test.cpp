// The drop-down base control: its default frame, the open events and their delegate, the popup's
// placement beside the control and over the screen, the popup's size, touches on the header and the
// button, outside taps, focus, the grow animation, and life across windows.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "KivoDropDown/KivoDropDown.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/button.h"
#include "Platform/ui/label.h"
#include "Platform/ui/navigation_controller.h"
#include "input_window_fixture.h"
#include "keep_alive.h"

namespace {

class RecordingDelegate : public KivoDropDownDelegate {
public:
    void isDropDownOpenChanging(const std::shared_ptr<KivoDropDown>& d,
                                const std::shared_ptr<KivoDropDownOpenChangingEventArgs>& args) override {
        EXPECT_EQ(args->dropDown(), d);
        calls.push_back("delegate changing");
    }
    void isDropDownOpenChanged(const std::shared_ptr<KivoDropDown>& d,
                               const std::shared_ptr<KivoDropDownOpenChangedEventArgs>& args) override {
        EXPECT_EQ(args->dropDown(), d);
        calls.push_back("delegate changed");
    }
    void rendered(const std::shared_ptr<KivoDropDown>&) override { ++renders; }
    std::vector<std::string> calls;
    int renders = 0;
};

class DropDownTest : public InputWindowTest {
protected:
    std::shared_ptr<KivoDropDown> makeDropDown(const plat::Rect& frame) { return place(KivoDropDown::create(frame)); }
    bool popupShows(const KivoDropDown& d) const {
        const auto& back = d.dropDownBackView();
        return back->superview() == root() && !back->isHidden();
    }
    static plat::Point centre(const plat::View& view) {
        const plat::Rect f = view.convertRectToView(view.bounds(), nullptr);
        return {f.midX(), f.midY()};
    }
};

TEST_F(DropDownTest, AZeroFrameCentresTheControlOnTheMainScreen) {
    EXPECT_EQ(KivoDropDown::create()->frame(), plat::Rect(60, 284, 200, 30));
    plat::Screen::main().setBounds({0, 0, 500, 900});
    EXPECT_EQ(KivoDropDown::create()->frame(), plat::Rect(150, 450, 200, 30));
    EXPECT_EQ(KivoDropDown::create({5, 6, 70, 40})->frame(), plat::Rect(5, 6, 70, 40));
}

TEST_F(DropDownTest, EveryRequestRaisesBothEventsAlsoWhenTheStateStays) {
    auto d = makeDropDown({20, 100, 200, 30});
    record(d->isDropDownOpenChanging(), "changing", d);
    record(d->isDropDownOpenChanged(), "changed", d);

    d->setIsDropDownOpen(false);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "changed"}));
    EXPECT_FALSE(d->isDropDownOpen());
    EXPECT_FALSE(popupShows(*d));

    d->setIsDropDownOpen(true);
    d->setIsDropDownOpen(true);
    EXPECT_EQ(log.size(), 6u);
    EXPECT_TRUE(popupShows(*d));
    EXPECT_TRUE(d->button()->isDropDownOpen());
}

TEST_F(DropDownTest, HandlersOfTheEventsTakeTheNotificationsFromTheDelegateUnlessInXamarinMode) {
    struct Case {
        bool handlers, xf;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {true, false, {"changing", "changed"}},
        {true, true, {"delegate changing", "delegate changed"}},
        {false, false, {"delegate changing", "delegate changed"}},
    };
    for (const auto& c : cases) {
        auto d = makeDropDown({20, 100, 200, 30});
        auto delegate = std::make_shared<RecordingDelegate>();
        d->setDelegate(delegate);
        d->setIsXf(c.xf);
        log.clear();
        if (c.handlers) {
            record(d->isDropDownOpenChanging(), "changing", d);
            record(d->isDropDownOpenChanged(), "changed", d);
        }
        d->setIsDropDownOpen(true);
        std::vector<std::string> heard = log;
        heard.insert(heard.end(), delegate->calls.begin(), delegate->calls.end());
        EXPECT_EQ(heard, c.expected) << "handlers " << c.handlers << ", xf " << c.xf;
        d->removeFromSuperview();
    }
}

TEST_F(DropDownTest, TheDelegateHearsEveryLayoutPassAndIsReleasedWhenOnlyWeaklyHeld) {
    auto d = makeDropDown({20, 100, 200, 30});
    auto delegate = std::make_shared<RecordingDelegate>();
    d->setDelegate(delegate);
    d->setNeedsLayout();
    window->layoutPass();
    EXPECT_EQ(delegate->renders, 1);

    std::weak_ptr<RecordingDelegate> weak = delegate;
    delegate.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(d->delegate(), nullptr);

    auto owned = std::make_shared<RecordingDelegate>();
    d->setStrongDelegate(owned);
    weak = owned;
    owned.reset();
    EXPECT_FALSE(weak.expired());
    EXPECT_EQ(d->delegate(), weak.lock());
}

TEST_F(DropDownTest, ThePopupOpensOnTheSideItsDirectionAsksForAndFlipsAtTheScreenEdges) {
    struct Case {
        std::int64_t direction;
        double controlY;
        std::int64_t side;
        double popupY;
    };
    // The screen is 568 high; the control 30 high and the popup 100.
    const Case cases[] = {
        {KivoDropDownDirectionBelowOrAbove, 100, KivoDropDownDirectionBelow, 130},
        {KivoDropDownDirectionBelowOrAbove, 500, KivoDropDownDirectionAbove, 400},
        {KivoDropDownDirectionAboveOrBelow, 300, KivoDropDownDirectionAbove, 200},
        {KivoDropDownDirectionAboveOrBelow, 50, KivoDropDownDirectionBelow, 80},
        {KivoDropDownDirectionAbove, 50, KivoDropDownDirectionAbove, -50},
        {KivoDropDownDirectionBelow, 500, KivoDropDownDirectionBelow, 530},
    };
    for (const auto& c : cases) {
        auto d = makeDropDown({20, c.controlY, 200, 30});
        d->setDropDownDirection(c.direction);
        d->setIsDropDownOpen(true);
        EXPECT_EQ(d->dropdownRealDirection(), c.side) << "direction " << c.direction << " at y " << c.controlY;
        EXPECT_EQ(d->dropDownRect(), plat::Rect(20, c.popupY, 200, 100)) << "direction " << c.direction << " at y " << c.controlY;
        EXPECT_EQ(d->dropDownBackView()->frame(), d->dropDownRect());
        EXPECT_TRUE(popupShows(*d));
        d->setIsDropDownOpen(false);
    }
}

TEST_F(DropDownTest, ANestedControlsPopupIsPlacedInRootCoordinatesAndFlipsWhereTheScreenShowsIt) {
    struct Case {
        double containerY;
        std::int64_t side;
        plat::Rect popup;
    };
    // Inside a container at (10, containerY), the control sits at (20, 10): its popup is measured
    // against the screen where the container puts it, not where its own frame says.
    const Case cases[] = {
        {300, KivoDropDownDirectionBelow, {30, 340, 200, 100}},
        {450, KivoDropDownDirectionAbove, {30, 360, 200, 100}},
    };
    for (const auto& c : cases) {
        auto container = place(plat::View::create({10, c.containerY, 300, 100}));
        auto d = KivoDropDown::create({20, 10, 200, 30});
        container->addSubview(d);
        window->layoutPass();
        d->setIsDropDownOpen(true);
        EXPECT_EQ(d->dropdownRealDirection(), c.side);
        EXPECT_EQ(d->dropDownRect(), c.popup);
        EXPECT_EQ(d->dropDownBackView()->superview(), root());
        container->removeFromSuperview();
    }
}

TEST_F(DropDownTest, AnUnknownDirectionLeavesThePopupWhereItWas) {
    auto d = makeDropDown({20, 100, 200, 30});
    d->setIsDropDownOpen(true);
    d->setIsDropDownOpen(false);
    d->setDropDownDirection(9);
    d->setIsDropDownOpen(true);
    EXPECT_EQ(d->dropDownRect(), plat::Rect(20, 130, 200, 100));
}

TEST_F(DropDownTest, ThePopupTakesItsWidthFromTheControlOrFromAWiderContent) {
    auto plain = makeDropDown({20, 100, 150, 30});
    EXPECT_EQ(plain->dropDownWidth(), 150);

    auto wide = KivoDropDown::create({20, 200, 150, 30});
    wide->setDropDownView(plat::View::create({0, 0, 260, 80}));
    place(wide);
    EXPECT_EQ(wide->dropDownWidth(), 260);
    EXPECT_EQ(wide->dropDownHeight(), 80);
    wide->setIsDropDownOpen(true);
    EXPECT_EQ(wide->dropDownView()->superview(), wide->dropDownBackView());
    EXPECT_EQ(wide->dropDownView()->frame(), plat::Rect(0, 0, 260, 80));

    // The default content, still without a frame, is inset in the popup on opening.
    plain->setIsDropDownOpen(true);
    EXPECT_EQ(plain->dropDownView()->frame(), plat::Rect(5, 5, 140, 90));
}

TEST_F(DropDownTest, HeightLimitsClampThemselvesToTheHeight) {
    struct Case {
        bool max;
        double value, stored, height;
    };
    const Case cases[] = {{true, 150, 100, 100}, {true, 60, 60, 60}, {false, 150, 150, 150}, {false, 60, 100, 100}};
    for (const auto& c : cases) {
        auto d = KivoDropDown::create({20, 100, 200, 30});
        if (c.max) {
            d->setMaxDropDownHeight(c.value);
            EXPECT_EQ(d->maxDropDownHeight(), c.stored);
        } else {
            d->setMinDropDownHeight(c.value);
            EXPECT_EQ(d->minDropDownHeight(), c.stored);
        }
        EXPECT_EQ(d->dropDownHeight(), c.height) << (c.max ? "max " : "min ") << c.value;
    }
}

TEST_F(DropDownTest, UnusableLengthsAreIgnored) {
    auto d = KivoDropDown::create({20, 100, 200, 30});
    for (double bad : {-5.0, std::nan(""), double(INFINITY)}) {
        d->setDropDownHeight(bad);
        d->setDropDownWidth(bad);
        d->setWidth(bad);
        d->setDuration(bad);
        d->setMaxDropDownHeight(bad);
    }
    EXPECT_EQ(d->dropDownHeight(), 100);
    EXPECT_EQ(d->dropDownWidth(), 200);
    EXPECT_EQ(d->frame(), plat::Rect(20, 100, 200, 30));
    EXPECT_EQ(d->duration(), 0.2);
}

TEST_F(DropDownTest, FullScreenModeCoversTheRootViewBelowTheBars) {
    struct Case {
        bool navigation;
        double statusBar, top;
    };
    // Under a navigation bar (44) a status bar that reports 0 counts as 20.
    const Case cases[] = {{true, 0, 64}, {true, 30, 74}, {false, 30, 30}, {false, 0, 0}};
    for (const auto& c : cases) {
        plat::Screen::main().setStatusBarFrame({0, 0, 320, c.statusBar});
        auto content = plat::ViewController::create();
        window->setRootViewController(
            c.navigation ? std::static_pointer_cast<plat::ViewController>(plat::NavigationController::create(content)) : content);
        window->layoutPass();
        auto d = KivoDropDown::create({20, 100, 200, 30});
        d->setDropDownMode(1);
        content->view()->addSubview(d);
        window->layoutPass();
        d->setIsDropDownOpen(true);
        const plat::Size rootSize = content->view()->bounds().size;
        EXPECT_EQ(d->dropDownRect(), plat::Rect(0, c.top, rootSize.width, rootSize.height - c.top))
            << "navigation " << c.navigation << ", status bar " << c.statusBar;
        ASSERT_NE(d->closeButton(), nullptr);
        EXPECT_EQ(d->closeButton()->title(), "X");
        EXPECT_EQ(d->closeButton()->frame(), plat::Rect(rootSize.width - 15, 0, 15, 15));
        EXPECT_EQ(d->closeButton()->superview(), d->dropDownBackView());

        d->closeButton()->sendActionsForControlEvents(plat::ControlEventTouchUpInside);
        EXPECT_FALSE(d->isDropDownOpen());
    }
}

TEST_F(DropDownTest, WithBehaviourOneTheFirstTouchOnTheClosedHeaderOpensThePopupAndReachesNothing) {
    auto d = makeDropDown({20, 100, 200, 30});
    const plat::Point onHeader{40, 15};
    EXPECT_EQ(d->hitTest(onHeader, nullptr), d->header());
    EXPECT_FALSE(d->isDropDownOpen());

    d->setDropDownBehavior(1);
    EXPECT_EQ(d->hitTest(onHeader, nullptr), nullptr);
    EXPECT_TRUE(d->isDropDownOpen());
    EXPECT_EQ(d->hitTest(onHeader, nullptr), d->header());

    // A hidden control takes no touch and opens nothing.
    d->setIsDropDownOpen(false);
    d->setHidden(true);
    EXPECT_EQ(d->hitTest(onHeader, nullptr), nullptr);
    EXPECT_FALSE(d->isDropDownOpen());
}

TEST_F(DropDownTest, TheArrowButtonTogglesThePopupAndTheChevronPointsTheWayItWillGo) {
    auto d = makeDropDown({20, 100, 200, 30});
    // The chevron's middle point against its two ends: below them while closed, above while open.
    const auto chevronTipIsUp = [&]() {
        plat::RecordingContext rec;
        window->display(rec);
        std::vector<plat::Point> points;
        for (const auto* op : rec.strokes()) {
            if (op->color == KivoDropDownButton::DefaultButtonColor && op->path.points().size() == 2) {
                for (const auto& p : op->path.points()) points.push_back(p);
            }
        }
        EXPECT_EQ(points.size(), 4u);
        return points.size() == 4 && points[1].y < points[0].y;
    };
    EXPECT_FALSE(chevronTipIsUp());

    plat::testing::Touches(window).tap(centre(*d->button()));
    EXPECT_TRUE(d->isDropDownOpen());
    EXPECT_FALSE(d->header()->isFirstResponder());
    EXPECT_TRUE(chevronTipIsUp());

    plat::testing::Touches(window).tap(centre(*d->button()));
    EXPECT_FALSE(d->isDropDownOpen());
    EXPECT_FALSE(chevronTipIsUp());
}

TEST_F(DropDownTest, ATapOutsideTheControlAndThePopupClosesItWhenAutoCloseIsOn) {
    auto d = makeDropDown({20, 100, 200, 30});
    auto field = place(plat::TextField::create({20, 400, 200, 30}));
    d->setIsDropDownOpen(true);
    plat::testing::Touches(window).tap({60, 180});  // inside the popup
    EXPECT_TRUE(d->isDropDownOpen());

    d->setAutoClose(false);
    plat::testing::Touches(window).tap({300, 500});
    EXPECT_TRUE(d->isDropDownOpen());

    d->setAutoClose(true);
    plat::testing::Touches(window).tap({300, 500});
    EXPECT_FALSE(d->isDropDownOpen());
    EXPECT_TRUE(d->dropDownBackView()->isHidden());
    EXPECT_TRUE(d->dropDownBackView()->superview() == root());
    EXPECT_TRUE(root()->gestureRecognizers().empty());
}

TEST_F(DropDownTest, TheHeaderBeginningToEditOpensWithBehaviourOneAndAnotherFieldClosesIt) {
    auto d = makeDropDown({20, 100, 200, 30});
    auto other = place(plat::TextField::create({20, 400, 200, 30}));
    d->header()->becomeFirstResponder();
    EXPECT_FALSE(d->isDropDownOpen());

    other->becomeFirstResponder();
    d->setDropDownBehavior(1);
    record(d->isDropDownOpenChanged(), "changed", d);
    d->header()->becomeFirstResponder();
    EXPECT_TRUE(d->isDropDownOpen());
    EXPECT_EQ(log.size(), 1u);  // the opening's own focus change asks nothing more

    other->becomeFirstResponder();
    EXPECT_FALSE(d->isDropDownOpen());
}

TEST_F(DropDownTest, TheAnimatedPopupGrowsFromTheControlAndShrinksBackBeforeHiding) {
    // The popup's frame takes its end value at once; the platform's frame animation shows the way.
    const auto shown = [](KivoDropDown& dd) { return dd.dropDownBackView()->layer()->presentationFrame(plat::Clock::ticks()); };
    auto d = makeDropDown({20, 100, 200, 30});
    d->setIsAnimated(true);
    d->setIsDropDownOpen(true);
    EXPECT_EQ(shown(*d), plat::Rect(20, 130, 200, 0));
    EXPECT_EQ(d->dropDownBackView()->frame(), plat::Rect(20, 130, 200, 100));
    clock.advance(0.1);
    const double half = shown(*d).height();
    EXPECT_GT(half, 0);
    EXPECT_LT(half, 100);
    EXPECT_EQ(shown(*d).y(), 130);
    clock.advance(0.2);
    EXPECT_EQ(shown(*d), plat::Rect(20, 130, 200, 100));

    d->setIsDropDownOpen(false);
    EXPECT_FALSE(d->dropDownBackView()->isHidden());
    clock.advance(0.1);
    EXPECT_GT(shown(*d).height(), 0);
    EXPECT_LT(shown(*d).height(), 100);
    clock.advance(0.2);
    EXPECT_EQ(shown(*d), plat::Rect(20, 130, 200, 0));
    EXPECT_EQ(d->dropDownBackView()->frame(), plat::Rect(20, 130, 200, 0));
    EXPECT_TRUE(d->dropDownBackView()->isHidden());

    // Above the control the popup grows upwards from the control's top edge.
    auto high = makeDropDown({20, 500, 200, 30});
    high->setIsAnimated(true);
    high->setIsDropDownOpen(true);
    EXPECT_EQ(shown(*high), plat::Rect(20, 500, 200, 0));
    clock.advance(0.1);
    EXPECT_GT(shown(*high).y(), 400);
    EXPECT_LT(shown(*high).y(), 500);
    clock.advance(0.2);
    EXPECT_EQ(shown(*high), plat::Rect(20, 400, 200, 100));
    EXPECT_EQ(high->dropDownBackView()->frame(), plat::Rect(20, 400, 200, 100));
}

TEST_F(DropDownTest, AResizedControlLaysItsHeaderOutAgain) {
    auto d = makeDropDown({20, 100, 200, 30});
    EXPECT_EQ(d->header()->frame(), plat::Rect(9, 1, 161, 28));
    EXPECT_EQ(d->button()->frame(), plat::Rect(170, 1, 29, 28));
    d->setWidth(300);
    window->layoutPass();
    EXPECT_EQ(d->headerView()->frame(), plat::Rect(0, 0, 300, 30));
    EXPECT_EQ(d->header()->frame(), plat::Rect(9, 1, 261, 28));
    EXPECT_EQ(d->button()->frame(), plat::Rect(270, 1, 29, 28));

    d->setShowButton(false);
    d->respondToOrientationChanged();
    window->layoutPass();
    EXPECT_EQ(d->header()->frame(), plat::Rect(9, 1, 291, 28));
    EXPECT_TRUE(d->button()->isHidden());
}

TEST_F(DropDownTest, LeavingTheWindowClosesThePopupAndAControlPutBackElsewhereWorksAgain) {
    auto d = makeDropDown({20, 100, 200, 30});
    auto delegate = std::make_shared<RecordingDelegate>();
    d->setStrongDelegate(delegate);
    d->setIsDropDownOpen(true);
    ASSERT_TRUE(popupShows(*d));

    d->removeFromSuperview();
    EXPECT_FALSE(d->isDropDownOpen());
    EXPECT_EQ(d->dropDownBackView()->superview(), nullptr);
    EXPECT_TRUE(root()->gestureRecognizers().empty());
    EXPECT_EQ(d->strongDelegate(), nullptr);
    EXPECT_EQ(d->delegate(), delegate);  // still reachable while the application holds it

    auto other = plat::ViewController::create();
    auto otherWindow = plat::Window::create();
    otherWindow->setRootViewController(other);
    other->view()->addSubview(d);
    otherWindow->layoutPass();
    delegate->calls.clear();
    d->setIsDropDownOpen(true);
    EXPECT_EQ(d->dropDownBackView()->superview(), other->view());
    EXPECT_FALSE(d->dropDownBackView()->isHidden());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"delegate changing", "delegate changed"}));
    plat::testing::Touches(otherWindow).tap({300, 500});
    EXPECT_FALSE(d->isDropDownOpen());
}

TEST_F(DropDownTest, WithoutAViewControllerOpeningChangesTheStateButShowsNothing) {
    auto d = KivoDropDown::create({20, 100, 200, 30});
    window->addSubview(d);
    window->layoutPass();
    record(d->isDropDownOpenChanged(), "changed", d);
    d->setIsDropDownOpen(true);
    EXPECT_TRUE(d->isDropDownOpen());
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(d->dropDownBackView()->superview(), nullptr);
}

}  // namespace

namespace {

// Application code that drops the last reference to the control during a call on it, through each
// delegate method and event the drop-down calls: the control lives until the call returns.
TEST_F(DropDownTest, AControlDroppedByApplicationCodeLivesUntilTheCallReturns) {
    struct Row {
        const char* name;
        const char* dropIn;  // a delegate method, or "changing" / "changed" for the events
        bool open;           // opened before the call
        std::function<void(KivoDropDown&)> call;
    };
    const auto open = [](KivoDropDown& d) { d.setIsDropDownOpen(true); };
    const Row rows[] = {
        {"opening, changing delegate", "isDropDownOpenChanging", false, open},
        {"opening, changed delegate", "isDropDownOpenChanged", false, open},
        {"opening, changing event", "changing", false, open},
        {"opening, changed event", "changed", false, open},
        {"animated closing", "isDropDownOpenChanged", true,
         [](KivoDropDown& d) {
             d.setIsAnimated(true);
             d.setIsDropDownOpen(false);
         }},
        {"layout pass", "rendered", false, [](KivoDropDown& d) { d.layoutSubviews(); }},
        {"touch on the header opens", "isDropDownOpenChanged", false,
         [](KivoDropDown& d) {
             d.setDropDownBehavior(1);
             d.hitTest(d.header()->convertPointToView({4, 4}, &d), nullptr);
         }},
        {"touch elsewhere closes", "isDropDownOpenChanged", true,
         [](KivoDropDown& d) {
             d.hitTest({-5, -5}, nullptr);
         }},
        {"outside tap closes", "isDropDownOpenChanged", true,
         [](KivoDropDown& d) {
             d._respondToTapGesture({1, 1});
         }},
        {"focus leaves the header", "isDropDownOpenChanged", true,
         [](KivoDropDown& d) {
             d.header()->resignFirstResponder();
             d.respondToFocuseChanged();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LastReference<KivoDropDown> held(makeDropDown({20, 100, 200, 30}));
        if (row.open) held->setIsDropDownOpen(true);
        const std::string dropIn = row.dropIn;
        auto delegate = std::make_shared<DroppingDelegate>(dropIn, [&] { held.drop(); });
        held->setDelegate(delegate);
        const auto dropper = [&](const std::shared_ptr<KivoEventContainer>&) { held.drop(); };
        if (dropIn == "changing") held->isDropDownOpenChanging()->addHandler(dropper, nullptr);
        if (dropIn == "changed") held->isDropDownOpenChanged()->addHandler(dropper, nullptr);
        KivoDropDown& control = *held.get();
        row.call(control);
        EXPECT_TRUE(held.freed());
    }
}

}  // namespace
