#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/scroll_view.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

class Recorder : public ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView& s) override {
        ++scrolls;
        offsets.push_back(s.contentOffset());
    }
    void scrollViewWillBeginDragging(ScrollView&) override { log.push_back("willBeginDragging"); }
    void scrollViewWillEndDragging(ScrollView&, Point v, Point& target) override {
        log.push_back("willEndDragging");
        velocity = v;
        proposed = target;
        if (redirect) target = *redirect;
    }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
        log.push_back(decelerate ? "didEndDragging decelerate" : "didEndDragging");
    }
    void scrollViewWillBeginDecelerating(ScrollView&) override { log.push_back("willBeginDecelerating"); }
    void scrollViewDidEndDecelerating(ScrollView&) override { log.push_back("didEndDecelerating"); }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override { log.push_back("didEndScrollingAnimation"); }
    std::vector<std::string> log;
    std::vector<Point> offsets;
    int scrolls = 0;
    Point velocity, proposed;
    std::optional<Point> redirect;
};

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 480});
    std::shared_ptr<ScrollView> scroll = ScrollView::create({0, 0, 320, 400});
    std::shared_ptr<Recorder> delegate = std::make_shared<Recorder>();
    Fixture() {
        window->addSubview(scroll);
        scroll->setContentSize({320, 4000});
        scroll->setDelegate(delegate);
    }
};

// The distance a flick of `velocity` travels at the normal rate: it keeps 0.998 of its speed per ms.
double flickDistance(double velocity) { return velocity / (-std::log(ScrollView::DecelerationRateNormal) * 1000); }

}  // namespace

TEST(ScrollView, AFlickDeceleratesOnTheClockAndSettlesWhereItsVelocityCarriesIt) {
    Fixture f;
    // Ten 10-point steps, 25 ms apart: the pan starts after two, the content follows the other eight.
    Touches(f.window).drag({160, 300}, {160, 200}, 0.25, 10);
    EXPECT_EQ(f.delegate->log, (std::vector<std::string>{"willBeginDragging", "willEndDragging", "didEndDragging decelerate",
                                                         "willBeginDecelerating"}));
    // Timestamps are clock seconds since 1970: a few microseconds of rounding show in the velocity.
    EXPECT_NEAR(f.delegate->velocity.y, 400, 0.01);
    EXPECT_EQ(f.delegate->velocity.x, 0) << "the content is no wider than the view";
    const double release = f.scroll->contentOffset().y;
    EXPECT_NEAR(release, 80, 1e-9);
    EXPECT_NEAR(f.delegate->proposed.y, 80 + flickDistance(400), 0.01);
    EXPECT_TRUE(f.scroll->isDecelerating());

    f.clock.advance(0.5);
    const double midway = f.scroll->contentOffset().y;
    EXPECT_GT(midway, release + 0.5 * flickDistance(400));
    EXPECT_LT(midway, release + flickDistance(400));

    f.clock.advance(5);
    EXPECT_EQ(f.scroll->contentOffset().y, f.delegate->proposed.y);
    EXPECT_NEAR(f.scroll->contentOffset().y, 80 + flickDistance(400), 0.01);
    EXPECT_FALSE(f.scroll->isDecelerating());
    EXPECT_EQ(f.delegate->log.back(), "didEndDecelerating");
    for (std::size_t i = 1; i < f.delegate->offsets.size(); ++i) {
        EXPECT_GE(f.delegate->offsets[i].y, f.delegate->offsets[i - 1].y) << "the content never moves back";
    }
}

TEST(ScrollView, AFlickStopsAtTheEdgeAndTheDelegateMayRetargetIt) {
    Fixture f;
    f.scroll->setContentOffset({0, 3500});
    Touches(f.window).drag({160, 300}, {160, 200}, 0.25, 10);
    f.clock.advance(5);
    EXPECT_EQ(f.scroll->contentOffset().y, 3600) << "the far edge: content height minus view height";

    f.delegate->redirect = Point{0, 1000};
    Touches(f.window).drag({160, 200}, {160, 300}, 0.25, 10);
    f.clock.advance(8);
    EXPECT_EQ(f.scroll->contentOffset().y, 1000);
}

TEST(ScrollView, PagingSnapsToTheNearestPageOrTheNextOneOnAFlick) {
    struct Case {
        double from, to, duration;
        int steps;
        double expected;
    };
    // Slow drags go to the nearest page, a flick turns it; nothing passes the first or the last page.
    const Case cases[] = {
        {250, 150, 2.0, 10, 0},   // 80 points: back to the first page
        {250, 50, 2.0, 10, 300},  // 180 points: past half way
        {250, 190, 0.1, 5, 300},  // 48 points, fast
        {50, 250, 0.1, 5, 0},     // a flick towards before the first page
    };
    for (const Case& c : cases) {
        VirtualClock clock;
        auto window = Window::create({0, 0, 300, 200});
        auto scroll = ScrollView::create({0, 0, 300, 200});
        window->addSubview(scroll);
        scroll->setContentSize({900, 200});
        scroll->setPagingEnabled(true);
        Touches(window).drag({c.from, 100}, {c.to, 100}, c.duration, c.steps);
        clock.advance(1);
        EXPECT_EQ(scroll->contentOffset(), Point(c.expected, 0)) << "drag " << c.from << " → " << c.to;
        EXPECT_FALSE(scroll->isDecelerating());
    }
}

TEST(ScrollView, PastTheEdgeTheContentResistsAndSpringsBack) {
    Fixture f;
    Touches touches(f.window);
    touches.down({160, 100});
    for (int y = 120; y <= 300; y += 20) touches.wait(0.1).move({160, static_cast<double>(y)});
    const double overscroll = f.scroll->contentOffset().y;
    EXPECT_LT(overscroll, -20);
    EXPECT_GT(overscroll, -180) << "the rubber band gives less than the finger moved";
    touches.up();
    f.clock.advance(1);
    EXPECT_EQ(f.scroll->contentOffset().y, 0);
    EXPECT_EQ(f.delegate->log.back(), "didEndDecelerating");

    // Without bouncing the content stops at its edge.
    f.scroll->setBounces(false);
    f.delegate->offsets.clear();
    Touches(f.window).drag({160, 100}, {160, 300}, 1.0, 10);
    for (const Point& p : f.delegate->offsets) EXPECT_GE(p.y, 0);
    EXPECT_EQ(f.scroll->contentOffset().y, 0);
}

TEST(ScrollView, ProgrammaticScrollsMoveAtOnceOrAnimateOnTheClock) {
    Fixture f;
    f.scroll->setContentOffset({0, 500});
    EXPECT_EQ(f.scroll->bounds().origin, Point(0, 500)) << "the offset is the bounds' origin";
    EXPECT_EQ(f.delegate->scrolls, 1);
    f.scroll->setContentOffset({NAN, 10});
    EXPECT_EQ(f.scroll->contentOffset(), Point(0, 500));

    f.scroll->setContentOffset({0, 1100}, true);
    EXPECT_EQ(f.scroll->contentOffset().y, 500) << "nothing moves before the clock does";
    f.clock.advance(ScrollView::ScrollAnimationDuration / 2);
    EXPECT_GT(f.scroll->contentOffset().y, 500);
    EXPECT_LT(f.scroll->contentOffset().y, 1100);
    f.clock.advance(ScrollView::ScrollAnimationDuration);
    EXPECT_EQ(f.scroll->contentOffset().y, 1100);
    EXPECT_EQ(f.delegate->log, std::vector<std::string>{"didEndScrollingAnimation"});

    // A programmatic offset stops a running animation; scrollRectToVisible moves the least it can.
    f.scroll->setContentOffset({0, 2000}, true);
    f.clock.advance(0.05);
    f.scroll->setContentOffset({0, 0});
    f.clock.advance(1);
    EXPECT_EQ(f.scroll->contentOffset().y, 0);
    f.scroll->scrollRectToVisible({0, 900, 10, 50}, false);
    EXPECT_EQ(f.scroll->contentOffset().y, 550);
    f.scroll->scrollRectToVisible({0, 5000, 10, 50}, false);
    EXPECT_EQ(f.scroll->contentOffset().y, 3600);
}

TEST(ScrollView, ContentInsetWidensTheReachableOffsets) {
    Fixture f;
    f.scroll->setContentInset({64, 0, 216, 0});
    EXPECT_EQ(f.scroll->minimumContentOffset(), Point(0, -64));
    EXPECT_EQ(f.scroll->maximumContentOffset(), Point(0, 4000 + 216 - 400));
    f.scroll->setContentSize({320, 100});
    EXPECT_EQ(f.scroll->maximumContentOffset(), Point(0, -64)) << "short content rests at the top inset";
    f.scroll->setContentSize({-5, NAN});
    EXPECT_EQ(f.scroll->contentSize(), Size(320, 100));
}

TEST(ScrollView, IndicatorsShowWhereTheVisiblePartLiesWhileMovingAndFadeAfter) {
    Fixture f;
    auto indicator = [&](RecordingContext& rec) { return rec.findFill(ScrollView::IndicatorColor); };
    {
        RecordingContext rec;
        f.window->display(rec);
        EXPECT_EQ(indicator(rec), nullptr) << "hidden at rest";
    }
    f.scroll->setContentOffset({0, 1800});
    f.scroll->flashScrollIndicators();
    {
        RecordingContext rec;
        f.window->display(rec);
        const DrawOp* bar = indicator(rec);
        ASSERT_NE(bar, nullptr);
        const Rect r = bar->bounds();
        EXPECT_NEAR(r.maxX(), 320 - ScrollView::IndicatorInset, 1e-9);
        EXPECT_NEAR(r.width(), ScrollView::IndicatorThickness, 1e-9);
        // A tenth of the content is visible: the bar is a tenth of its track, half way down it.
        const double track = 400 - 2 * ScrollView::IndicatorInset;
        EXPECT_NEAR(r.height(), track / 10, 1e-9);
        EXPECT_NEAR(r.minY(), ScrollView::IndicatorInset + (track - track / 10) / 2, 1e-9);
        int bars = 0;
        for (const DrawOp* op : rec.fills()) bars += op->color == ScrollView::IndicatorColor;
        EXPECT_EQ(bars, 1) << "no horizontal bar: nothing to scroll that way";
    }
    f.clock.advance(ScrollView::IndicatorHideDelay + 1);
    RecordingContext rec;
    f.window->display(rec);
    EXPECT_EQ(indicator(rec), nullptr);

    f.scroll->setShowsVerticalScrollIndicator(false);
    f.scroll->flashScrollIndicators();
    RecordingContext off;
    f.window->display(off);
    EXPECT_EQ(indicator(off), nullptr);
}

TEST(ScrollView, DisabledScrollingIgnoresDrags) {
    Fixture f;
    f.scroll->setScrollEnabled(false);
    Touches(f.window).drag({160, 300}, {160, 100});
    f.clock.advance(2);
    EXPECT_EQ(f.scroll->contentOffset(), Point(0, 0));
    EXPECT_TRUE(f.delegate->log.empty());
}
