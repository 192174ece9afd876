#include <gtest/gtest.h>

#include "OmbriGrid/KivoOmbriGridDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoOmbriGridDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriGridDynamicKitVersionNumber, KivoOmbriGridDynamicKitVersionString));
}
