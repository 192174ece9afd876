#include <gtest/gtest.h>

#include "KivoInput/KivoInputDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoInputDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoInputDynamicKitVersionNumber, KivoInputDynamicKitVersionString));
}
