#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoGaugeDynamicKitVersionNumber;
extern const unsigned char KivoGaugeDynamicKitVersionString[];
}

TEST(KivoGaugeDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoGaugeDynamicKitVersionNumber, KivoGaugeDynamicKitVersionString));
}
