#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoOmbriChartDynamicKitVersionNumber;
extern const unsigned char KivoOmbriChartDynamicKitVersionString[];
}

TEST(KivoOmbriChartDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoOmbriChartDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoOmbriChartDynamicKitVersionString)).empty());
}
