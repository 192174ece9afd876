#include <gtest/gtest.h>

#include "OmbriPie/KivoOmbriPieDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoOmbriPieDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriPieDynamicKitVersionNumber, KivoOmbriPieDynamicKitVersionString));
}
