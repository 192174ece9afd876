#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/testing/virtual_clock.h"

namespace {

using Driver = KivoAnimationDriver;

// Everything a driver reports, in order.
struct Recorder {
    struct Event {
        char kind;  // 'b' begin, 'f' frame, 'e' end
        Driver::Frame frame{};
        Driver::End end = Driver::End::Finished;
    };
    std::vector<Event> events;

    Driver::Handlers handlers() {
        return {[this] { events.push_back({'b'}); },
                [this](const Driver::Frame& f) {
                    events.push_back({'f', f});
                },
                [this](Driver::End e) {
                    events.push_back({'e', {}, e});
                }};
    }
    std::vector<Driver::Frame> frames() const {
        std::vector<Driver::Frame> out;
        for (const auto& e : events)
            if (e.kind == 'f') out.push_back(e.frame);
        return out;
    }
    std::string kinds() const {
        std::string out;
        for (const auto& e : events) out += e.kind;
        return out;
    }
    int ends() const {
        int n = 0;
        for (const auto& e : events) n += e.kind == 'e';
        return n;
    }
};

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(KivoAnimationDriver, UntimeableDurationsAndDelaysEndAtTheFirstTick) {
    for (double duration : {0.0, -1.0, NaN, Inf, 1e300}) {
        for (double delay : {0.0, 0.5, NaN}) {
            SCOPED_TRACE(testing::Message() << "duration " << duration << ", delay " << delay);
            plat::testing::VirtualClock clock;
            Recorder rec;
            auto driver = Driver::start({}, duration, delay, KivoEasing::EaseInQuad(), rec.handlers());
            EXPECT_TRUE(rec.events.empty());  // nothing runs inside start()
            clock.advance(2.0);
            const auto frames = rec.frames();
            ASSERT_FALSE(frames.empty());
            const bool runs = duration == 1e300 && !std::isnan(delay);
            if (!runs) {
                // Begin, one frame in the end state, finished: all at the first tick.
                EXPECT_EQ(rec.kinds(), "bfe");
                EXPECT_EQ(frames[0].elapsed, 0);
                EXPECT_EQ(frames[0].fraction, 1);
                EXPECT_EQ(frames[0].eased, 1);
                EXPECT_EQ(rec.events.back().end, Driver::End::Finished);
                EXPECT_FALSE(driver->isRunning());
                continue;
            }
            // A finite if endless duration keeps going, the first frame after the delay.
            EXPECT_TRUE(driver->isRunning());
            EXPECT_EQ(rec.ends(), 0);
            EXPECT_EQ(frames.front().elapsed, delay);
            EXPECT_EQ(frames.front().fraction, 0);
            EXPECT_LT(frames.back().fraction, 1e-299);
            EXPECT_EQ(frames.size(), static_cast<size_t>(std::lround((2.0 - delay) * 60)));
            driver->stop();
        }
    }
}

TEST(KivoAnimationDriver, BeginsThenFramesUpToFractionOneThenFinishes) {
    plat::testing::VirtualClock clock;
    Recorder rec;
    // Nobody keeps the driver: it keeps itself until it ends.
    Driver::start({}, 0.5, 0, nullptr, rec.handlers());
    clock.advance(1.0);
    ASSERT_EQ(rec.kinds(), "b" + std::string(31, 'f') + "e");  // frames at 0, 1/60 … 30/60 s
    EXPECT_EQ(rec.events.back().end, Driver::End::Finished);
    const auto frames = rec.frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_NEAR(frames[i].elapsed, i / 60.0, 1e-9);  // frames fall on whole nanoseconds
        EXPECT_DOUBLE_EQ(frames[i].fraction, frames[i].elapsed / 0.5);
        EXPECT_EQ(frames[i].eased, frames[i].fraction);  // no curve: linear
    }
    EXPECT_EQ(frames.back().fraction, 1);
}

TEST(KivoAnimationDriver, ReportsFramesOnlyFromTheEndOfTheDelay) {
    plat::testing::VirtualClock clock;
    Recorder rec;
    auto driver = Driver::start({}, 0.25, 0.5, nullptr, rec.handlers());
    clock.advance(0.4);
    EXPECT_EQ(rec.kinds(), "b");
    EXPECT_TRUE(driver->isRunning());
    clock.advance(1.0);
    const auto frames = rec.frames();
    ASSERT_EQ(frames.size(), 16u);  // 0.5 s … 0.75 s
    EXPECT_EQ(frames.front().elapsed, 0.5);
    EXPECT_EQ(frames.front().fraction, 0);
    EXPECT_EQ(frames.back().elapsed, 0.75);
    EXPECT_EQ(frames.back().fraction, 1);
    EXPECT_EQ(rec.kinds().back(), 'e');
}

TEST(KivoAnimationDriver, StopEndsStoppedOnceWhereverItIsCalled) {
    plat::testing::VirtualClock clock;
    {
        Recorder rec;  // from outside, mid-run, then again
        auto driver = Driver::start({}, 1.0, 0, nullptr, rec.handlers());
        clock.advance(0.1);
        driver->stop();
        driver->stop();
        const size_t seen = rec.events.size();
        clock.advance(2.0);
        EXPECT_EQ(rec.events.size(), seen);
        EXPECT_EQ(rec.ends(), 1);
        EXPECT_EQ(rec.events.back().end, Driver::End::Stopped);
        EXPECT_FALSE(driver->isRunning());
    }
    {
        Recorder rec;  // before the first tick: no begin, no frame
        auto driver = Driver::start({}, 1.0, 0, nullptr, rec.handlers());
        driver->stop();
        clock.advance(1.0);
        EXPECT_EQ(rec.kinds(), "e");
        EXPECT_EQ(rec.events.back().end, Driver::End::Stopped);
    }
    {
        Recorder rec;  // from inside its own frame handler
        std::shared_ptr<Driver> driver;
        auto handlers = rec.handlers();
        auto record = handlers.frame;
        handlers.frame = [&](const Driver::Frame& f) {
            record(f);
            if (rec.frames().size() == 3) driver->stop();
        };
        driver = Driver::start({}, 1.0, 0, nullptr, handlers);
        clock.advance(2.0);
        EXPECT_EQ(rec.kinds(), "bfffe");
        EXPECT_EQ(rec.events.back().end, Driver::End::Stopped);
    }
}

TEST(KivoAnimationDriver, OwnerGoneStopsWithoutAWord) {
    plat::testing::VirtualClock clock;
    auto owner = std::make_shared<int>(0);
    Recorder rec;
    auto driver = Driver::start(owner, 1.0, 0, nullptr, rec.handlers());
    clock.advance(0.1);
    const size_t seen = rec.events.size();
    owner.reset();
    clock.advance(2.0);
    EXPECT_EQ(rec.events.size(), seen);
    EXPECT_EQ(rec.ends(), 0);
    EXPECT_FALSE(driver->isRunning());
    driver->stop();  // an owner-less stop says nothing either
    EXPECT_EQ(rec.ends(), 0);
}

TEST(KivoAnimationDriver, EasesWithTheSettingsCurveAndTiming) {
    plat::testing::VirtualClock clock;
    KivoAnimation setting;
    setting.setDuration(0.5);
    setting.setStartDelay(0.25);
    setting.setEasing(KivoEasing::EaseOutBounce());
    Recorder rec;
    Driver::start({}, setting, rec.handlers());
    clock.advance(1.0);
    const auto frames = rec.frames();
    ASSERT_EQ(frames.size(), 31u);
    EXPECT_EQ(frames.front().elapsed, 0.25);
    bool curved = false;
    for (const auto& f : frames) {
        EXPECT_DOUBLE_EQ(f.eased, KivoEasing::EaseOutBounce()->ease(f.fraction, 0, 1, 1));
        curved = curved || std::abs(f.eased - f.fraction) > 0.05;
    }
    EXPECT_TRUE(curved);
    EXPECT_EQ(frames.back().eased, 1);
}
