#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoOmbriGridDynamicKitVersionNumber;
extern const unsigned char KivoOmbriGridDynamicKitVersionString[];
}

TEST(KivoOmbriGridDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoOmbriGridDynamicKitVersionNumber, KivoOmbriGridDynamicKitVersionString));
}
