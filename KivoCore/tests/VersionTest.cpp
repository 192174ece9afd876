#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoCoreDynamicKitVersionNumber;
extern const unsigned char KivoCoreDynamicKitVersionString[];
}

TEST(KivoCoreDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoCoreDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoCoreDynamicKitVersionString)).empty());
}
