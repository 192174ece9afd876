#include <gtest/gtest.h>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/testing/pinned_locale.h"

namespace {

// Remembers the locale current when it was made, as a cached formatter does.
struct MadeIn {
    std::string locale = plat::Locale::current().identifier();
};

std::shared_ptr<const MadeIn> cached() {
    static plat::ProcessCache<MadeIn> cache;
    return cache.get();
}

}  // namespace

TEST(ProcessCache, KeepsItsValueUntilResetThenMakesItFromTheDefaultsOfThen) {
    const plat::testing::PinnedLocale german("de_DE", "UTC");
    plat::resetProcessCaches();
    auto first = cached();
    EXPECT_EQ(first->locale, "de_DE");
    {
        const plat::testing::PinnedLocale french("fr_FR", "UTC");
        EXPECT_EQ(cached(), first) << "made once: a change of the defaults alone does not remake it";
        plat::resetProcessCaches();
        auto second = cached();
        EXPECT_NE(second, first);
        EXPECT_EQ(second->locale, "fr_FR");
    }
    EXPECT_EQ(first->locale, "de_DE") << "a value still held survives the reset";
}
