#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoOmbriPieDynamicKitVersionNumber;
extern const unsigned char KivoOmbriPieDynamicKitVersionString[];
}

TEST(KivoOmbriPieDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriPieDynamicKitVersionNumber, KivoOmbriPieDynamicKitVersionString));
}
