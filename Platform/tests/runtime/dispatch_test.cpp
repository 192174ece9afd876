#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/semaphore.h"
#include "Platform/runtime/timer.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "runtime/scheduler.h"

namespace {

using plat::RunLoop;
using plat::Timer;
using plat::dispatch::Queue;
using plat::dispatch::Semaphore;
namespace dispatch = plat::dispatch;

constexpr double Start = plat::testing::VirtualClock::DefaultStart;
double at(double dt) { return Start + dt; }

bool runUntil(const std::function<bool()>& predicate) { return RunLoop::main().runUntil(predicate, 5.0); }

}  // namespace

TEST(Dispatch, BackgroundWorkComesBackOnTheMainQueueWithoutMovingTime) {
    plat::testing::VirtualClock clock;
    std::atomic<bool> ranInBackground{false};
    bool done = false, onMain = false;
    long sum = 0;
    dispatch::async(Queue::global(dispatch::Priority::Background), [&] {
        ranInBackground = !plat::isMainThread();
        long s = 0;
        for (int i = 1; i <= 1000; ++i) s += i;
        dispatch::async(Queue::main(), [&, s] {
            onMain = plat::isMainThread();
            sum = s;
            done = true;
        });
    });
    EXPECT_TRUE(runUntil([&] { return done; }));
    EXPECT_TRUE(ranInBackground);
    EXPECT_TRUE(onMain);
    EXPECT_EQ(sum, 500500);
    EXPECT_EQ(clock.now().seconds, Start);
}

TEST(Dispatch, BackgroundSleepEndsWhenVirtualTimeReachesIt) {
    plat::testing::VirtualClock clock;
    std::vector<double> handedBack;
    dispatch::async(Queue::global(), [&] {
        dispatch::sleepFor(0.5);
        const double woke = plat::Clock::now();
        dispatch::async(Queue::main(), [&, woke] { handedBack.push_back(woke); });
    });
    clock.advance(0.4);
    EXPECT_TRUE(handedBack.empty());
    clock.advance(0.2);
    EXPECT_EQ(handedBack, std::vector<double>{at(0.5)});
}

TEST(Dispatch, MainThreadSleepMovesTimeForBackgroundWaitsButFiresNoTimer) {
    plat::testing::VirtualClock clock;
    std::atomic<double> backgroundWoke{0};
    bool timerFired = false;
    Timer::scheduled(0.1, false, [&](Timer&) { timerFired = true; });
    dispatch::async(Queue::global(), [&] {
        dispatch::sleepFor(0.2);
        backgroundWoke = plat::Clock::now();
    });
    RunLoop::main().runUntilIdle();  // the worker is asleep now
    dispatch::sleepFor(0.3);
    EXPECT_EQ(clock.now().seconds, at(0.3));
    EXPECT_EQ(backgroundWoke, at(0.2));
    EXPECT_FALSE(timerFired);
    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(timerFired);
}

TEST(Semaphore, WaitsTimeOutOrEndOnSignalOnVirtualTime) {
    plat::testing::VirtualClock clock;
    struct Result {
        bool signalled;
        double at;
    };
    std::mutex mutex;
    std::vector<Result> results;
    auto record = [&](bool signalled) {
        std::lock_guard lock(mutex);
        results.push_back({signalled, plat::Clock::now()});
    };
    auto unsignalled = std::make_shared<Semaphore>();
    auto signalledByTimer = std::make_shared<Semaphore>();
    dispatch::async(Queue::global(), [=] { record(unsignalled->wait(0.3)); });
    dispatch::async(Queue::global(), [=] { record(signalledByTimer->wait(1.0)); });
    Timer::scheduled(0.2, false, [=](Timer&) { EXPECT_TRUE(signalledByTimer->signal()); });
    clock.advance(1.5);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].signalled);
    EXPECT_EQ(results[0].at, at(0.2));
    EXPECT_FALSE(results[1].signalled);
    EXPECT_EQ(results[1].at, at(0.3));
}

TEST(Semaphore, MainThreadWaitLetsBackgroundWorkSignalOrTimesOut) {
    plat::testing::VirtualClock clock;
    Semaphore semaphore;
    EXPECT_FALSE(semaphore.wait(0.25));
    EXPECT_EQ(clock.now().seconds, at(0.25));

    dispatch::async(Queue::global(), [&] {
        dispatch::sleepFor(0.4);
        semaphore.signal();
    });
    EXPECT_TRUE(semaphore.wait());
    EXPECT_EQ(clock.now().seconds, at(0.25) + 0.4);
}

TEST(Semaphore, CountsSignalsAndRefusesANegativeStart) {
    plat::testing::VirtualClock clock;
    Semaphore two(2);
    EXPECT_TRUE(two.wait(0));
    EXPECT_TRUE(two.wait(0));
    EXPECT_FALSE(two.wait(0));
    EXPECT_FALSE(two.wait(NAN));
    EXPECT_FALSE(two.signal());  // nobody waits: the count is kept
    EXPECT_EQ(two.count(), 1);
    EXPECT_TRUE(two.wait(0));

    plat::testing::LogCapture log;
    Semaphore negative(-3);
    EXPECT_EQ(negative.count(), 0);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(clock.now().seconds, Start);
}

TEST(Dispatch, WorkersBlockedForEverDoNotStarveNewWork) {
    plat::testing::VirtualClock clock;
    constexpr int Blocked = 12;
    auto gate = std::make_shared<Semaphore>();
    std::atomic<int> released{0};
    std::atomic<bool> laterRan{false};
    for (int i = 0; i < Blocked; ++i) {
        dispatch::async(Queue::global(), [=, &released] {
            if (gate->wait()) ++released;
        });
    }
    dispatch::async(Queue::global(dispatch::Priority::Low), [&] { laterRan = true; });
    EXPECT_TRUE(runUntil([&] { return laterRan.load(); }));
    for (int i = 0; i < Blocked; ++i) gate->signal();
    EXPECT_TRUE(runUntil([&] { return released == Blocked; }));
}

TEST(Dispatch, ManyThreadsPostToTheMainQueueInTheirOwnOrder) {
    plat::testing::VirtualClock clock;
    constexpr int Posters = 8, Each = 200;
    std::vector<std::vector<int>> received(Posters);
    int total = 0;
    for (int p = 0; p < Posters; ++p) {
        dispatch::async(Queue::global(), [&, p] {
            for (int i = 0; i < Each; ++i) {
                dispatch::async(Queue::main(), [&, p, i] {
                    received[p].push_back(i);
                    ++total;
                });
            }
        });
    }
    EXPECT_TRUE(runUntil([&] { return total == Posters * Each; }));
    for (const auto& seq : received) {
        ASSERT_EQ(seq.size(), static_cast<std::size_t>(Each));
        EXPECT_TRUE(std::is_sorted(seq.begin(), seq.end()));
    }
}

TEST(Dispatch, OnceRunsOnceAcrossThreadsAndAThrowingBlockIsLogged) {
    plat::testing::VirtualClock clock;
    plat::testing::LogCapture log;
    dispatch::OnceFlag flag;
    std::atomic<int> runs{0}, finished{0};
    for (int i = 0; i < 6; ++i) {
        dispatch::async(Queue::global(), [&] {
            dispatch::once(flag, [&] { ++runs; });
            ++finished;
        });
    }
    dispatch::async(Queue::global(), [] { throw std::runtime_error("boom"); });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(finished, 6);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Uncaught exception in a background block: boom"});
}

TEST(VirtualClock, EndingItReleasesBackgroundWaitsAndDropsPendingMainWork) {
    auto forever = std::make_shared<Semaphore>();
    std::atomic<int> waitResult{-1};
    bool timerFired = false, taskRan = false;
    std::shared_ptr<Timer> timer;
    {
        plat::testing::VirtualClock clock;
        dispatch::async(Queue::global(), [&, forever] {
            waitResult = forever->wait() ? 1 : 0;
            dispatch::async(Queue::main(), [&] { taskRan = true; });
        });
        timer = Timer::scheduled(1.0, false, [&](Timer&) { timerFired = true; });
        RunLoop::main().runUntilIdle();
        EXPECT_EQ(waitResult, -1);
    }
    EXPECT_EQ(waitResult, 0);  // settled before the clock went away
    EXPECT_FALSE(timer->isValid());
    plat::testing::VirtualClock next;
    next.advance(2);
    EXPECT_FALSE(timerFired);
    EXPECT_FALSE(taskRan);
}

TEST(Dispatch, DelayedGlobalBlocksHoldNoWorkerAndReachThePoolWhenDue) {
    plat::testing::VirtualClock clock;
    constexpr std::size_t Delayed = plat::detail::Scheduler::MaxWorkers + 1;
    std::mutex mutex;
    std::vector<double> ranAt;
    for (std::size_t i = 0; i < Delayed; ++i) {
        dispatch::after(Queue::global(), 3600, [&] {
            std::lock_guard lock(mutex);
            ranAt.push_back(plat::Clock::now());
        });
    }
    std::atomic<bool> plainRan{false};
    dispatch::async(Queue::global(), [&] { plainRan = true; });
    EXPECT_TRUE(runUntil([&] { return plainRan.load(); }));
    EXPECT_EQ(clock.now().seconds, Start) << "it ran at once";

    clock.advance(3599.5);
    EXPECT_TRUE(ranAt.empty());
    clock.advance(0.5);
    EXPECT_EQ(ranAt, std::vector<double>(Delayed, at(3600)));
}

TEST(Dispatch, DelayedGlobalBlockRunsOnTheSystemClock) {
    // No virtual clock: the block is released in real time, without a worker sleeping for it.
    std::atomic<bool> ran{false};
    const double before = plat::Clock::now();
    dispatch::after(Queue::global(), 0.02, [&] { ran = true; });
    EXPECT_TRUE(runUntil([&] { return ran.load(); }));
    EXPECT_GE(plat::Clock::now() - before, 0.02);
}

TEST(VirtualClock, WorkOfAnEndedClockNeverReachesTheNext) {
    std::atomic<int> reports{0};
    int ranUnderNext = 0;
    auto report = [&] {
        ++reports;
        dispatch::async(Queue::main(), [&] { ++ranUnderNext; });
    };
    {
        plat::testing::VirtualClock clock;
        for (int i = 0; i < 20; ++i) {
            // Blocks running (sleeping between posts) and delayed blocks, on both kinds of queue.
            dispatch::async(Queue::global(), [=] {
                for (int k = 0; k < 5; ++k) {
                    dispatch::sleepFor(0.1);
                    report();
                }
            });
            dispatch::after(Queue::global(), 10, report);
            dispatch::after(Queue::main(), 10, report);
        }
        clock.advance(0.25);
        EXPECT_EQ(reports, 40);
        ranUnderNext = 0;
    }  // its blocks still running may report while it ends, never after
    const int reportsAfterTheEnd = reports;
    plat::testing::VirtualClock next;
    next.advance(20);
    EXPECT_EQ(ranUnderNext, 0);
    EXPECT_EQ(reports, reportsAfterTheEnd) << "no block of the ended clock ran under the next";
}
