#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoGaugeDynamicKitVersionNumber;
extern const unsigned char KivoGaugeDynamicKitVersionString[];
}

TEST(KivoGaugeDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoGaugeDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoGaugeDynamicKitVersionString)).empty());
}
