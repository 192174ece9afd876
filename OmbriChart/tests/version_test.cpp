#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoOmbriChartDynamicKitVersionNumber;
extern const unsigned char KivoOmbriChartDynamicKitVersionString[];
}

TEST(KivoOmbriChartDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriChartDynamicKitVersionNumber, KivoOmbriChartDynamicKitVersionString));
}
