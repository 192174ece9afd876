// The main of every test program: GoogleTest's, plus a listener that puts the process-wide state back
// before each test (see process_state.h), so shuffled and repeated runs in one process pass as
// CTest's one-test-per-process runs do.

#include <gtest/gtest.h>

#include "Platform/testing/process_state.h"

namespace {

class ResetProcessState : public ::testing::EmptyTestEventListener {
    // Before the fixture is made, so that its members see the reset state too.
    void OnTestStart(const ::testing::TestInfo&) override { plat::testing::resetProcessState(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    plat::testing::resetProcessState();  // also records the baseline it restores
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetProcessState);
    return RUN_ALL_TESTS();
}
