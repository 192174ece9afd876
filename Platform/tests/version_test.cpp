#include <gtest/gtest.h>

#include "Platform/KivoPlatformVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoPlatform, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoPlatformVersionNumber, KivoPlatformVersionString));
}
