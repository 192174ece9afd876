#pragma once
// Shared by the mask tests: pins the current locale and time zone for a test (the mask's locale
// literals read them when a mask is parsed) and restores them after.

#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

class PinnedLocaleTest : public ::testing::Test {
protected:
    void SetUp() override { pin("en_US"); }
    void TearDown() override {
        plat::Locale::setCurrent(_savedLocale);
        plat::TimeZone::setCurrent(_savedZone);
    }
    static void pin(const std::string& identifier) {
        plat::Locale::setCurrent(plat::Locale::withIdentifier(identifier));
        plat::TimeZone::setCurrent(plat::TimeZone::utc());
    }

private:
    plat::Locale _savedLocale = plat::Locale::current();
    plat::TimeZone _savedZone = plat::TimeZone::current();
};
