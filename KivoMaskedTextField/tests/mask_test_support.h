#pragma once
// Shared by the mask tests: pins the current locale and time zone for a test (the mask's locale
// literals read them when a mask is parsed) and restores them after.

#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/testing/pinned_locale.h"

class PinnedLocaleTest : public ::testing::Test {
protected:
    static void pin(const std::string& identifier) {
        plat::Locale::setCurrent(plat::Locale::withIdentifier(identifier));
        plat::TimeZone::setCurrent(plat::TimeZone::utc());
    }

private:
    plat::testing::PinnedLocale _pinned{"en_US", "UTC"};  // and what pin() changes is put back
};
