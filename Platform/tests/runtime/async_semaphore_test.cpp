#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Platform/runtime/async_semaphore.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"

using namespace plat;
using dispatch::AsyncSemaphore;

namespace {

class AsyncSemaphoreTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    double start = clock.now().seconds;
    std::vector<std::string> ran;

    // A work that notes its name and the time it ran at, in milliseconds after the start.
    AsyncSemaphore::Work note(std::string name) {
        return [this, name] {
            EXPECT_TRUE(isMainThread());
            ran.push_back(name + "@" + std::to_string(std::lround((clock.now().seconds - start) * 1000)));
        };
    }
};

}  // namespace

TEST_F(AsyncSemaphoreTest, WithOnePermitTheFirstDueRunsAndTheOthersWaitTheirTurnInOrder) {
    AsyncSemaphore semaphore(1);
    semaphore.acquireAfter(0.15, note("a"));
    semaphore.acquireAfter(0.15, note("b"));
    semaphore.acquireAfter(0.1, note("c"));
    EXPECT_TRUE(ran.empty()) << "never inside the call";

    clock.advance(0.2);
    EXPECT_EQ(ran, (std::vector<std::string>{"c@100"}));
    EXPECT_EQ(semaphore.parkedCount(), 2u);
    EXPECT_EQ(semaphore.count(), 0);

    EXPECT_TRUE(semaphore.signal());
    EXPECT_EQ(ran.size(), 1u) << "the handed-on work runs on the main queue, not inside signal";
    clock.advance(0.05);
    EXPECT_TRUE(semaphore.signal());
    clock.advance(0.05);
    EXPECT_EQ(ran, (std::vector<std::string>{"c@100", "a@200", "b@250"}));
    EXPECT_FALSE(semaphore.signal()) << "nobody waits: the permit is kept";
    EXPECT_EQ(semaphore.count(), 1);
}

TEST_F(AsyncSemaphoreTest, WithNoPermitWorksWaitForSignalsEvenFromBackgroundThreads) {
    AsyncSemaphore semaphore(0);
    semaphore.acquireAfter(0.2, note("late"));
    semaphore.acquireAfter(0.1, note("early"));
    semaphore.signal();  // before anything is due: kept
    clock.advance(0.3);
    EXPECT_EQ(ran, (std::vector<std::string>{"early@100"}));

    // A signal from a worker hands the permit over on the main queue.
    dispatch::async(dispatch::Queue::global(), [&] { semaphore.signal(); });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(ran, (std::vector<std::string>{"early@100", "late@300"}));
    EXPECT_EQ(semaphore.count(), 0);
    EXPECT_EQ(semaphore.parkedCount(), 0u);
}

TEST_F(AsyncSemaphoreTest, DroppedWithItsSemaphoreAndRefusesANegativeCount) {
    {
        AsyncSemaphore semaphore(0);
        semaphore.acquireAfter(0, note("parked"));
        semaphore.acquireAfter(0.5, note("delayed"));
        clock.advance(0.1);
        EXPECT_EQ(semaphore.parkedCount(), 1u);
    }
    clock.advance(1);
    EXPECT_TRUE(ran.empty());

    plat::testing::LogCapture log;
    AsyncSemaphore negative(-3);
    EXPECT_EQ(negative.count(), 0);
    EXPECT_EQ(log.lines().size(), 1u);
    negative.acquireAfter(NAN, {});  // an empty work is ignored
    negative.acquireAfter(NAN, note("no delay"));
    negative.signal();
    clock.advance(0);
    EXPECT_EQ(ran, (std::vector<std::string>{"no delay@1100"}));
}
