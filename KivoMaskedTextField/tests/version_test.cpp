#include <gtest/gtest.h>

#include "Platform/testing/project_version.h"

extern "C" {
extern const double KivoInputDynamicKitVersionNumber;
extern const unsigned char KivoInputDynamicKitVersionString[];
}

TEST(KivoInputDynamicKit, ExportsTheProjectsVersion) {
    EXPECT_TRUE(plat::testing::isProjectVersion(KivoInputDynamicKitVersionNumber, KivoInputDynamicKitVersionString));
}
