#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoChartCoreDynamicKitVersionNumber;
extern const unsigned char KivoChartCoreDynamicKitVersionString[];
}

TEST(KivoChartCoreDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoChartCoreDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoChartCoreDynamicKitVersionString)).empty());
}
