#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoPlatformVersionNumber;
extern const unsigned char KivoPlatformVersionString[];
}

TEST(KivoPlatform, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoPlatformVersionNumber, KivoPlatformVersionString));
}
