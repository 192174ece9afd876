#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoChartCoreDynamicKitVersionNumber;
extern const unsigned char KivoChartCoreDynamicKitVersionString[];
}

TEST(KivoChartCoreDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoChartCoreDynamicKitVersionNumber, KivoChartCoreDynamicKitVersionString));
}
