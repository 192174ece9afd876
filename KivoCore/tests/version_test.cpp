#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoCoreDynamicKitVersionNumber;
extern const unsigned char KivoCoreDynamicKitVersionString[];
}

TEST(KivoCoreDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoCoreDynamicKitVersionNumber, KivoCoreDynamicKitVersionString));
}
