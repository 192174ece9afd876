#include <gtest/gtest.h>

#include "OmbriGauge/KivoGaugeDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoGaugeDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoGaugeDynamicKitVersionNumber, KivoGaugeDynamicKitVersionString));
}
