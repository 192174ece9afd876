#include <gtest/gtest.h>

#include "OmbriChart/KivoOmbriChartDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoOmbriChartDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriChartDynamicKitVersionNumber, KivoOmbriChartDynamicKitVersionString));
}
