#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Platform/foundation/locale/date_detector.h"

namespace {

using plat::DateDetector;
using plat::Locale;
using plat::TimeZone;

constexpr double Mar1 = 1709251200;  // 2024-03-01 00:00 UTC
constexpr double Hour = 3600, Day = 86400;

struct Found {
    double seconds;
    std::int64_t location, length;
};

TEST(DateDetector, FindsTheEarliestDateInEachFormForALocaleAndZone) {
    struct Case {
        const char* locale;
        const char* zone;
        std::string text;
        std::optional<Found> found;
    };
    const Case cases[] = {
        // The four date styles, alone and with the short time.
        {"en_US", "UTC", "Friday, March 1, 2024", Found{Mar1, 0, 21}},
        {"en_US", "UTC", "on March 1, 2024.", Found{Mar1, 3, 13}},
        {"en_US", "UTC", "(Mar 1, 2024 3:05 PM)", Found{Mar1 + 15 * Hour + 300, 1, 19}},
        {"en_US", "UTC", "3/1/24", Found{Mar1, 0, 6}},
        {"en_US", "UTC", "3/1/24 3:05\u202FPM", Found{Mar1 + 15 * Hour + 300, 0, 14}},
        {"de_DE", "UTC", "am 01.03.24 um", Found{Mar1, 3, 8}},
        {"de_DE", "UTC", "01.03.2024 09:30", Found{Mar1 + 9.5 * Hour, 0, 16}},
        {"de_DE", "UTC", "Freitag, 1. M\u00e4rz 2024", Found{Mar1, 0, 21}},
        // The ISO form and its times; the zone places the midnight.
        {"en_US", "UTC", "due 2024-03-01", Found{Mar1, 4, 10}},
        {"de_DE", "UTC", "2024-03-01T10:30", Found{Mar1 + 10.5 * Hour, 0, 16}},
        {"en_US", "UTC", "2024-03-01 10:30:15 ok", Found{Mar1 + 10.5 * Hour + 15, 0, 19}},
        {"en_US", "Europe/Berlin", "2024-03-01", Found{Mar1 - Hour, 0, 10}},
        // The earliest of two, whichever form each has.
        {"en_US", "UTC", "from 3/5/24 to 2024-03-01", Found{Mar1 + 4 * Day, 5, 6}},
        {"en_US", "UTC", "Tromsø \u2013 2024-03-01", Found{Mar1, 9, 10}},
        // No date: none at all, an impossible one, one inside a word, a partial one, a foreign style.
        {"en_US", "UTC", "soon", std::nullopt},
        {"en_US", "UTC", "", std::nullopt},
        {"en_US", "UTC", "2024-02-30", std::nullopt},
        {"en_US", "UTC", "24-03-01 or 2024-3-1 or 2024-03-01T1:05", std::nullopt},
        {"en_US", "UTC", "x2024-03-01 id2024-03-01y", std::nullopt},
        {"en_US", "UTC", "12/5 and 12,50", std::nullopt},
        {"en_US", "UTC", "01.03.24", std::nullopt},
    };
    for (const auto& c : cases) {
        const DateDetector detector(Locale::withIdentifier(c.locale), *TimeZone::named(c.zone));
        const auto found = detector.firstDate(c.text);
        ASSERT_EQ(found.has_value(), c.found.has_value()) << c.locale << " " << c.text;
        if (!found) continue;
        EXPECT_DOUBLE_EQ(found->date.seconds, c.found->seconds) << c.locale << " " << c.text;
        EXPECT_EQ(found->range, (plat::TextRange{c.found->location, c.found->length})) << c.locale << " " << c.text;
    }
}

}  // namespace
