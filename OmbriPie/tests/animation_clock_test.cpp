// The pie's three moves (load, data update, turn of a selected slice) on the shared animation driver:
// a duration the driver cannot time ends the move at its first frame, and a finite one, however long,
// runs; nothing ticks on a timer of the pie's own.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "touch_fixture.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct Duration {
    double seconds;
    bool endless;  // finite but beyond any test's clock: the move is still running
};
// The endless one last: nothing stops a running update but its end.
const Duration Durations[] = {{0.3, false}, {NaN, false}, {Inf, false}, {-Inf, false}, {0, false}, {-1, false}, {1e308, true}};

class PieClock : public pie_testing::PieTouch {
protected:
    void change(const std::function<void()>& what, double wait) {
        what();
        clock.advance(OmbriPie::UpdateHandOverDelay);
        display();  // the pass starts the handed-over update
        clock.advance(wait);
        display();
    }
    // Taps slice `index` where it stands on screen now, however far the pie has turned.
    void tapSlice(std::int64_t index) {
        for (int degrees = 0; degrees < 360; degrees += 5) {
            const plat::Point p = along(degrees * Pi / 180);
            const auto hit = pie->hitTest(KivoPoint::create(p.x, p.y));
            if (hit && hit->dataPoint() && hit->dataPoint()->pointIndex() == index) {
                tap(p);
                return;
            }
        }
        ADD_FAILURE() << "slice " << index << " is nowhere on screen";
    }
};

}  // namespace

TEST_F(PieClock, AnUpdateOfAnyDurationEndsOrRunsAndTheNextWaitsOnlyForARunningOne) {
    for (const auto& d : Durations) {
        SCOPED_TRACE(testing::Message() << "duration " << d.seconds);
        show({10, 20});
        pie->updateAnimation()->setDuration(d.seconds);
        const auto& items = pie->collectionView();
        change([&] { items->addObject(plat::Value(plat::Dictionary{{"name", "s2"}, {"value", 30.0}})); }, 20);
        change([&] { items->replaceObjectAtIndex(0, plat::Value(plat::Dictionary{{"name", "s0"}, {"value", 100.0}})); }, 20);
        const auto& values = pie->pieControl()->values();
        ASSERT_EQ(values.size(), 3u);
        if (d.endless) {
            // The add is still at its start; the replace waits behind it.
            EXPECT_EQ(values[0], 10);
            EXPECT_EQ(values[1], 20);
            EXPECT_LT(values[2], 1e-6);
            EXPECT_TRUE(pie->pieControl()->isUpdating());
        } else {
            EXPECT_EQ(values, (std::vector<double>{100, 20, 30}));
            EXPECT_FALSE(pie->pieControl()->isUpdating());
        }
    }
}

TEST_F(PieClock, ATurnOfAnyDurationEndsOrRunsAndTapsSelectAfterIt) {
    for (const auto& d : Durations) {
        SCOPED_TRACE(testing::Message() << "duration " << d.seconds);
        pie->setSelectedItemPosition(KivoAxisPositionTop);
        show({1, 1, 2});
        pie->selectAnimation()->setDuration(d.seconds);
        tapSlice(1);
        EXPECT_EQ(pie->selectedIndex(), 1);
        for (const std::int64_t next : {0, 2}) {
            clock.advance(60);
            display();
            tapSlice(next);
        }
        clock.advance(60);
        EXPECT_EQ(pie->selectedIndex(), d.endless ? 1 : 2);
        EXPECT_EQ(pie->isAnimating(), d.endless);
        pie->stopSelectAnimation();
        pie->setSelectedIndex(-1);
    }
}

TEST_F(PieClock, ALoadOfAnyDurationEndsOrRunsAndTapsWorkAfterIt) {
    for (const auto& d : Durations) {
        SCOPED_TRACE(testing::Message() << "duration " << d.seconds);
        pie->setLoadAnimation(KivoChartLoadAnimation::create());
        pie->loadAnimation()->setDuration(d.seconds);
        bind({1, 1, 2});
        clock.advance(60);
        display();
        EXPECT_EQ(pie->pieControl()->animationLayer() != nullptr, d.endless);
        EXPECT_EQ(pie->pieControl()->firstLoad(), d.endless);
        if (!d.endless) {
            tapSlice(2);
            EXPECT_EQ(pie->selectedIndex(), 2);
        }
        pie->setSelectedIndex(-1);
    }
}

// Mid-way through each move the run loop holds no timer: the frames come from the driver.
TEST_F(PieClock, EveryMoveTicksOnTheDriver) {
    bind({1, 1, 2});
    clock.advance(0.5);
    ASSERT_TRUE(pie->pieControl()->animationLayer());
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "load";
    clock.advance(0.6);

    pie->setSelectedItemPosition(KivoAxisPositionTop);
    tapSlice(1);
    clock.advance(0.5);
    ASSERT_TRUE(pie->isAnimating());
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "turn";
    clock.advance(0.6);

    change([&] { pie->collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "s3"}, {"value", 3.0}})); }, 0.5);
    ASSERT_TRUE(pie->pieControl()->isUpdating());
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "update";
}
