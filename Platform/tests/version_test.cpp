#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoPlatformVersionNumber;
extern const unsigned char KivoPlatformVersionString[];
}

TEST(KivoPlatform, ExportsItsVersion) {
    EXPECT_GT(KivoPlatformVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoPlatformVersionString)).empty());
}
