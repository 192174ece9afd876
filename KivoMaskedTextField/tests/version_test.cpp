#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoInputDynamicKitVersionNumber;
extern const unsigned char KivoInputDynamicKitVersionString[];
}

TEST(KivoInputDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoInputDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoInputDynamicKitVersionString)).empty());
}
