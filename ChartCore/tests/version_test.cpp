#include <gtest/gtest.h>

#include "ChartCore/KivoChartCoreDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoChartCoreDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoChartCoreDynamicKitVersionNumber, KivoChartCoreDynamicKitVersionString));
}
