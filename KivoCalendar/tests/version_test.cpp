#include <gtest/gtest.h>

#include <string>

extern "C" {
extern const double KivoCalendarDynamicKitVersionNumber;
extern const unsigned char KivoCalendarDynamicKitVersionString[];
}

TEST(KivoCalendarDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoCalendarDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoCalendarDynamicKitVersionString)).empty());
}
