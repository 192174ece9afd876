#include <gtest/gtest.h>

#include <string>

#include "KivoCalendar/KivoCalendarDynamicKitVersion.h"

TEST(KivoCalendarDynamicKit, ExportsItsVersion) {
    EXPECT_GT(KivoCalendarDynamicKitVersionNumber, 0);
    EXPECT_FALSE(std::string(reinterpret_cast<const char*>(KivoCalendarDynamicKitVersionString)).empty());
}
