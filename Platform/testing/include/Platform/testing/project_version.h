#pragma once
// Checks a library's exported version symbols against the project's version (CMake's PROJECT_VERSION,
// built into the test helpers): the string is that version, the number its major.minor.
//
//   EXPECT_TRUE(plat::testing::isProjectVersion(KivoPlatformVersionNumber, KivoPlatformVersionString));

#include <gtest/gtest.h>

namespace plat::testing {

::testing::AssertionResult isProjectVersion(double number, const unsigned char* string);

}  // namespace plat::testing
