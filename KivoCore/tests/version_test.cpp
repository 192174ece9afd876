#include <gtest/gtest.h>

#include "KivoCore/KivoCoreDynamicKitVersion.h"
#include "Platform/testing/project_version.h"

TEST(KivoCoreDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoCoreDynamicKitVersionNumber, KivoCoreDynamicKitVersionString));
}
