#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "Platform/foundation/exception.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/timer.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"

namespace {

using plat::RunLoop;
using plat::Timer;
namespace dispatch = plat::dispatch;

using plat::Ticks;
using namespace std::chrono_literals;

constexpr double Start = plat::testing::VirtualClock::DefaultStart;
const Ticks StartTicks = plat::ticksFromSeconds(Start);

// The clock's reading `dt` after the start, computed as the runtime computes due dates.
double at(double dt) { return Start + dt; }

struct Fired {
    std::string label;
    double at;  // seconds on the clock
    friend bool operator==(const Fired&, const Fired&) = default;
};
std::ostream& operator<<(std::ostream& os, const Fired& f) { return os << f.label << "@" << f.at; }

}  // namespace

TEST(VirtualClock, DatesFollowItAndTheSystemClockComesBack) {
    {
        plat::testing::VirtualClock clock;
        EXPECT_TRUE(plat::Clock::isVirtual());
        EXPECT_EQ(plat::Date::now().seconds, Start);
        clock.advance(2.5);
        EXPECT_EQ(clock.now().seconds, Start + 2.5);
        clock.advance(-1);  // refused: time never runs back
        EXPECT_EQ(clock.now().seconds, Start + 2.5);
        EXPECT_THROW(plat::Clock::useVirtual(plat::Date(0)), plat::InternalInconsistencyException);
    }
    EXPECT_FALSE(plat::Clock::isVirtual());
    EXPECT_GT(plat::Date::now().seconds, Start);  // the real date, later than the virtual start
}

TEST(RunLoop, TimersDelayedDispatchesAndBackgroundDelaysFireInTimeOrderThenInsertion) {
    plat::testing::VirtualClock clock;
    enum How { OneShot, MainAfter, BackgroundAfter };
    struct Case {
        const char* label;
        double delay;
        How how;
    };
    const Case cases[] = {
        {"timer 0.3", 0.3, OneShot},        {"main 0.1", 0.1, MainAfter},     {"timer 0.2", 0.2, OneShot},
        {"bg 0.15", 0.15, BackgroundAfter}, {"main 0.2", 0.2, MainAfter},     {"timer 0.2 later", 0.2, OneShot},
        {"main 0", 0, MainAfter},           {"bg 0.3", 0.3, BackgroundAfter},
    };
    std::mutex mutex;
    std::vector<Fired> fired;
    for (const Case& c : cases) {
        auto record = [&, label = std::string(c.label)] {
            std::lock_guard lock(mutex);
            fired.push_back({label, plat::Clock::now()});
        };
        switch (c.how) {
            case OneShot:
                Timer::scheduled(c.delay, false, [record](Timer&) { record(); });
                break;
            case MainAfter:
                dispatch::after(dispatch::Queue::main(), c.delay, record);
                break;
            case BackgroundAfter:
                dispatch::after(dispatch::Queue::global(), c.delay, record);
                break;
        }
    }
    clock.advance(0.29);
    EXPECT_EQ(fired.size(), 6u);
    clock.advance(0.01);
    // Background work due at a moment finishes before the main loop's timers of that moment fire.
    const std::vector<Fired> expected = {{"main 0", Start},      {"main 0.1", at(0.1)}, {"bg 0.15", at(0.15)},
                                         {"timer 0.2", at(0.2)}, {"main 0.2", at(0.2)}, {"timer 0.2 later", at(0.2)},
                                         {"bg 0.3", at(0.3)},    {"timer 0.3", at(0.3)}};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(RunLoop::main().timerCount(), 0u);
}

TEST(RunLoop, RepeatingTimerFiresEveryIntervalUntilItInvalidatesItself) {
    plat::testing::VirtualClock clock;
    std::vector<double> at;
    auto timer = Timer::scheduled(0.25, true, [&](Timer& t) {
        at.push_back(plat::Clock::now() - Start);
        if (at.size() == 5) t.invalidate();
    });
    clock.advance(1.0);
    EXPECT_EQ(at, (std::vector<double>{0.25, 0.5, 0.75, 1.0}));
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->fireDate().seconds, Start + 1.25);
    clock.advance(5);
    EXPECT_EQ(at.size(), 5u);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(RunLoop::main().timerCount(), 0u);
}

TEST(RunLoop, OneShotTimerIsValidDuringItsCallbackAndCanStopAnotherDueAtTheSameMoment) {
    plat::testing::VirtualClock clock;
    std::shared_ptr<Timer> second;
    bool validInside = false, secondFired = false;
    auto first = Timer::scheduled(0.5, false, [&](Timer& t) {
        validInside = t.isValid();
        second->invalidate();
    });
    second = Timer::scheduled(0.5, false, [&](Timer&) { secondFired = true; });
    clock.advance(1);
    EXPECT_TRUE(validInside);
    EXPECT_FALSE(secondFired);
    EXPECT_FALSE(first->isValid());
}

TEST(RunLoop, MovedFireDateAndLateAddedTimer) {
    plat::testing::VirtualClock clock;
    std::vector<Fired> fired;
    auto moved = Timer::scheduled(0.2, false, [&](Timer&) { fired.push_back({"moved", plat::Clock::now()}); });
    moved->setFireDate(plat::Date(Start + 0.7));
    // A timer keeps the fire date it was made with, even when added later.
    auto late = Timer::create(0.3, false, [&](Timer&) { fired.push_back({"late", plat::Clock::now()}); });
    clock.advance(0.4);
    RunLoop::main().addTimer(late);  // already due: fires in the next turn
    RunLoop::main().runUntilIdle();
    clock.advance(0.6);
    EXPECT_EQ(fired, (std::vector<Fired>{{"late", at(0.4)}, {"moved", at(0.7)}}));
}

TEST(DisplayLink, TicksAtSixtyHertzBetweenTimersAndPausesAndStops) {
    plat::testing::VirtualClock clock;
    std::vector<std::string> order;
    std::vector<Ticks::rep> stamps;  // nanoseconds after the start
    auto link = plat::DisplayLink::create([&](plat::DisplayLink& l, double timestamp) {
        stamps.push_back((plat::Clock::ticks() - StartTicks).count());
        order.push_back("tick");
        EXPECT_EQ(l.timestamp(), timestamp);
        EXPECT_EQ(plat::Clock::now(), timestamp);
    });
    link->addToRunLoop(RunLoop::main());
    Timer::scheduled(0.025, false, [&](Timer&) { order.push_back("timer"); });
    clock.advance(0.105);
    // Frame n falls on the first nanosecond at or after n/60 s.
    EXPECT_EQ(stamps, (std::vector<Ticks::rep>{16'666'667, 33'333'334, 50'000'000, 66'666'667, 83'333'334, 100'000'000}));
    EXPECT_EQ(order[1], "timer");  // 0.025 s falls between the first and second frames
    EXPECT_EQ(order.size(), 7u);

    link->setPaused(true);
    clock.advance(0.5);
    EXPECT_EQ(stamps.size(), 6u);
    link->setPaused(false);
    clock.advance(1 / 60.0);
    ASSERT_EQ(stamps.size(), 7u);
    EXPECT_EQ(stamps.back(), 616'666'667) << "the first frame after the pause";

    link->removeFromRunLoop(RunLoop::main());
    clock.advance(0.1);
    EXPECT_EQ(stamps.size(), 7u);
    EXPECT_TRUE(link->isValid());
}

TEST(DisplayLink, InvalidatedInsideItsCallbackTicksNoMore) {
    plat::testing::VirtualClock clock;
    int ticks = 0;
    std::weak_ptr<plat::DisplayLink> weak;
    {
        auto link = plat::DisplayLink::create([&](plat::DisplayLink& l, double) {
            if (++ticks == 2) l.invalidate();
        });
        link->addToRunLoop(RunLoop::main());
        weak = link;
    }
    clock.advance(1);
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(weak.expired());  // the run loop let go of it
}

TEST(RunLoop, RunUntilStopsWhenThePredicateHoldsOrAtTheTimeout) {
    plat::testing::VirtualClock clock;
    bool flag = false;
    Timer::scheduled(0.3, false, [&](Timer&) { flag = true; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return flag; }, 1.0));
    EXPECT_EQ(clock.now().seconds, at(0.3));
    EXPECT_FALSE(RunLoop::main().runUntil([] { return false; }, 0.5));
    EXPECT_EQ(clock.now().seconds, at(0.3) + 0.5);
}

TEST(RunLoop, PostedTasksRunInOrderAndObserversFollowEachTurn) {
    plat::testing::VirtualClock clock;
    std::vector<std::string> log;
    const auto id = RunLoop::main().addAfterTurnObserver([&] { log.push_back("observer"); });
    RunLoop::main().post([&] {
        log.push_back("a");
        RunLoop::main().post([&] { log.push_back("c"); });  // next turn
    });
    RunLoop::main().post([&] { log.push_back("b"); });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "observer", "c", "observer"}));
    RunLoop::main().removeAfterTurnObserver(id);
    log.clear();
    RunLoop::main().post([&] { log.push_back("d"); });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string>{"d"}));
    EXPECT_EQ(clock.now().seconds, Start);
}

TEST(RunLoop, RunningItOffTheMainThreadIsRefused) {
    plat::testing::VirtualClock clock;
    std::atomic<int> refused{0};
    dispatch::async(dispatch::Queue::global(), [&] {
        try {
            RunLoop::main().runUntilIdle();
        } catch (const plat::InternalInconsistencyException&) {
            ++refused;
        }
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return refused == 1; }, 1));
    EXPECT_EQ(clock.now().seconds, Start);  // met as soon as the pool settled: no time passed
}

TEST(VirtualClock, SteppingByTheScheduledAmountsAlwaysReachesTheDueTime) {
    // Sums of steps round differently from the single sum the timer was scheduled with.
    plat::testing::VirtualClock clock;
    int fired = 0, slept = 0;
    for (int i = 0; i < 50; ++i) {
        auto t = Timer::scheduled(0.1 * (i % 7 + 2), false, [&](Timer&) { ++fired; });
        dispatch::async(dispatch::Queue::global(dispatch::Priority::Default), [&, i] {
            dispatch::sleepFor(0.1 * (i % 7 + 2));
            dispatch::async(dispatch::Queue::main(), [&] { ++slept; });
        });
        for (int k = 0; k < i % 7 + 2; ++k) clock.advance(0.1);
        EXPECT_EQ(fired, i + 1) << i;
        EXPECT_EQ(slept, i + 1) << i;
    }
}

TEST(VirtualClock, WorkFiresAtItsExactTickAndNotOneBefore) {
    // 1.7e9 s + 1 ns is not a double: only whole ticks can tell it from 1.7e9 s.
    const Ticks start = plat::ticksFromSeconds(1.7e9);
    plat::testing::VirtualClock clock(plat::Date(1.7e9));
    std::vector<Ticks> fired;
    auto record = [&](Timer&) { fired.push_back(plat::Clock::ticks()); };
    auto atOne = Timer::create(Ticks(0), false, record);
    atOne->setFireTicks(start + 1ns);
    RunLoop::main().addTimer(atOne);
    Timer::scheduled(2e-9, false, record);  // seconds meet ticks exactly: 2 ns
    Timer::scheduled(0.1, false, record);

    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(fired.empty()) << "nothing is due at the start";
    clock.advance(1ns);
    EXPECT_EQ(fired, std::vector<Ticks>{start + 1ns});
    clock.advance(1ns);
    EXPECT_EQ(fired.back(), start + 2ns);
    clock.advance(Ticks(99'999'997));
    EXPECT_EQ(fired.size(), 2u) << "one tick short of 0.1 s";
    clock.advance(1ns);
    EXPECT_EQ(fired.back(), start + 100ms);
}

TEST(VirtualClock, AnAdvanceThatIsNotFiniteIsRefusedAndAHugeOneStopsAtTheEndOfTime) {
    plat::testing::VirtualClock clock;
    int fired = 0;
    Timer::scheduled(1.0, false, [&](Timer&) { ++fired; });
    {
        plat::testing::LogCapture log;
        for (double span : {INFINITY, -INFINITY, NAN}) clock.advance(span);
        EXPECT_EQ(log.lines().size(), 3u);
    }
    EXPECT_EQ(clock.ticks(), StartTicks);
    EXPECT_EQ(fired, 0);

    clock.advance(1e300);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(clock.ticks(), Ticks::max() - 1ns);
    clock.advance(1.0);  // the clock stays at its end
    EXPECT_EQ(clock.ticks(), Ticks::max() - 1ns);
}

TEST(RunLoop, ARepeatingTimerRefusesAFireDateThatIsNotFinite) {
    plat::testing::VirtualClock clock;
    int fired = 0;
    auto timer = Timer::scheduled(0.5, true, [&](Timer&) { ++fired; });
    plat::testing::LogCapture log;
    for (double date : {-INFINITY, INFINITY, NAN}) timer->setFireDate(plat::Date(date));
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(timer->fireTicks(), StartTicks + 500ms);
    clock.advance(2.0);
    EXPECT_EQ(fired, 4) << "still on its own interval";

    // A date past the range of ticks is finite: it never comes, and the timer is not stuck on it.
    timer->setFireDate(plat::Date(1e300));
    clock.advance(2.0);
    EXPECT_EQ(fired, 4);
    timer->setFireDate(plat::Date(Start + 4.25));
    clock.advance(1.0);
    EXPECT_EQ(fired, 6) << "at 4.25 and 4.75 s";
}

TEST(RunLoop, ThousandsOfTimersFireInDateThenInsertionOrderAfterMovesAndInvalidations) {
    // The loop keeps them in an ordered structure; a plain sort of what should fire is the reference.
    plat::testing::VirtualClock clock;
    constexpr int Count = 3000;
    struct Expected {
        Ticks at;
        int id;
    };
    std::vector<Expected> expected;
    std::vector<int> fired;
    std::vector<std::shared_ptr<Timer>> timers;
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int id = 0; id < Count; ++id) {
        const Ticks delay((next() >> 8) % 1000 * 1'000'000);  // 0…999 ms, many ties
        timers.push_back(Timer::scheduled(delay, false, [&fired, id](Timer&) { fired.push_back(id); }));
        expected.push_back({StartTicks + delay, id});
    }
    for (int id = 0; id < Count; id += 7) timers[id]->invalidate();
    for (int id = 3; id < Count; id += 11) {
        if (!timers[id]->isValid()) continue;
        const Ticks moved = StartTicks + Ticks((next() >> 8) % 1000 * 1'000'000);
        timers[id]->setFireTicks(moved);
        expected[id].at = moved;  // keeps its insertion order among timers of the same moment
    }
    std::erase_if(expected, [&](const Expected& e) { return !timers[e.id]->isValid(); });
    std::stable_sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) { return a.at < b.at; });
    EXPECT_EQ(RunLoop::main().timerCount(), expected.size());

    clock.advance(1.0);
    std::vector<int> ids;
    for (const auto& e : expected) ids.push_back(e.id);
    EXPECT_EQ(fired, ids);
    EXPECT_EQ(RunLoop::main().timerCount(), 0u);
}
