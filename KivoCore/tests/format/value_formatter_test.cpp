#include <gtest/gtest.h>

#include "KivoCore/KivoIOSValueFormatter.h"
#include "format/format_test_support.h"

namespace {

const plat::Date Jan5 = plat::Date(1704469530);  // 2024-01-05 15:45:30 UTC

class ValueFormatter : public PinnedLocaleTest {
protected:
    KivoIOSValueFormatter en{"en_US"};
    KivoIOSValueFormatter de{"de_DE"};
};

}  // namespace

TEST_F(ValueFormatter, RoutesByTheValuesOwnType) {
    struct Row {
        plat::Value value;
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        {1234.5, "N2", "1,234.50"},
        {std::int64_t{42}, "D4", "0042"},
        {2.7, "", "3"},  // no format: 'D'
        {2.5, "", "2"},  // half to even
        {1234567.0, "", "1234567"},
        {0.0, "#", "<null>"},  // the number formatter's null text passes through
        {Jan5, "", "1/5/24"},
        {Jan5, "yyyy-MM-dd", "2024-01-05"},
        {true, "N2", ""},  // a Boolean is not a number here
        {"12", "N2", ""},
        {plat::Value::null(), "N2", ""},
        {plat::Array{1, 2}, "N2", ""},
        {plat::Value(), "N2", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value.description() + " / " + r.format);
        EXPECT_EQ(show(en.format(r.value, r.format)), r.expected);
    }
}

TEST_F(ValueFormatter, ANamedTypeWinsOverTheValuesOwn) {
    struct Row {
        plat::Value value;
        std::int64_t type;
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        {true, 3, "N2", "1.00"},
        {false, 3, "", "0"},
        {"12.5", 3, "F1", "12.5"},
        {"12.5 kg", 3, "F1", ""},
        {Jan5, 3, "N2", ""},
        {1704469530.0, 5, "", "1/5/24"},  // seconds since 1970
        {std::int64_t{1704469530}, 5, "MMM yyyy", "Jan 2024"},
        {"2024-01-05", 5, "", ""},
        {true, 5, "", ""},
        {Jan5, 0, "dd.MM", "05.01"},  // other codes: the value's own type
        {1234.5, 2, "N1", "1,234.5"},
        {1234.5, 99, "N1", "1,234.5"},
        {plat::Value(), 3, "N2", ""},
        {plat::Value(), 5, "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value.description() + " / type " + std::to_string(r.type) + " / " + r.format);
        EXPECT_EQ(show(en.format(r.value, r.format, r.type)), r.expected);
    }
}

TEST_F(ValueFormatter, DateFormatsApplyOnlyWithYearMonthOrTwoDigitDay) {
    struct Row {
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        {"HH:mm", "1/5/24"},  // time-only formats are not applied to dates
        {"HH:mm:ss", "1/5/24"}, {"d", "1/5/24"},  {"mm", "1/5/24"},         {"dd.MM", "05.01"}, {"MMM", "Jan"},
        {"yy", "24"},           {"YYYY", "2024"}, {"dd HH:mm", "05 15:45"}, {"", "1/5/24"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.format);
        EXPECT_EQ(show(en.format(Jan5, r.format)), r.expected);
    }
}

TEST_F(ValueFormatter, LocaleAndZone) {
    EXPECT_EQ(show(de.format(1234.5, "N2")), "1.234,50");
    EXPECT_EQ(show(de.format(Jan5, "")), "05.01.24");
    EXPECT_EQ(show(de.format(Jan5, "MMMM yyyy")), "Januar 2024");
    // No locale: the process's current one; dates in the process's current zone.
    KivoIOSValueFormatter current;
    EXPECT_EQ(current.locale(), "");
    EXPECT_EQ(show(current.format(1234.5, "N2")), "1,234.50");
    plat::TimeZone::setCurrent(*plat::TimeZone::named("Asia/Tokyo"));
    EXPECT_EQ(show(current.format(Jan5, "yyyy-MM-dd HH:mm")), "2024-01-06 00:45");
}

TEST_F(ValueFormatter, UsableThroughTheProtocol) {
    std::shared_ptr<IKivoValueFormatter> f = std::make_shared<KivoIOSValueFormatter>("en_US");
    EXPECT_EQ(show(f->format(0.1234, "P1")), "12.3%");
    EXPECT_EQ(show(f->format(Jan5, "yyyy", 5)), "2024");
}
