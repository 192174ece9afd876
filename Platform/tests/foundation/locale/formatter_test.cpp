#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"

using namespace plat;

namespace {

// An application's own formatter stands where the platform's do.
class Shouting : public Formatter {
public:
    std::optional<std::string> stringForObjectValue(const Value& value) const override {
        if (!value.isString()) return std::nullopt;
        return value.asString() + "!";
    }
};

TEST(Formatter, NumberAndDateFormattersAnswerTheirOwnKindOfValueOnly) {
    auto number = std::make_shared<NumberFormatter>(NumberFormatter::Style::Decimal, Locale::withIdentifier("en_US"));
    number->setMaximumFractionDigits(2);
    DateFormatter date(Locale::withIdentifier("en_US"), TimeZone::utc());
    date.setDateStyle(DateFormatter::Style::Short);
    std::vector<std::shared_ptr<const Formatter>> all{number, std::make_shared<DateFormatter>(date),
                                                      std::make_shared<Shouting>()};
    struct Case {
        Value value;
        std::optional<std::string> number, date, own;
    };
    const Case cases[] = {
        {Value(1234.567), "1,234.57", std::nullopt, std::nullopt},
        {Value(7), "7", std::nullopt, std::nullopt},
        {Value(true), "1", std::nullopt, std::nullopt},
        {Value(Date(0)), std::nullopt, "1/1/70", std::nullopt},
        {Value("hi"), std::nullopt, std::nullopt, "hi!"},
        {Value(), std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.description());
        EXPECT_EQ(all[0]->stringForObjectValue(c.value), c.number);
        EXPECT_EQ(all[1]->stringForObjectValue(c.value), c.date);
        EXPECT_EQ(all[2]->stringForObjectValue(c.value), c.own);
    }
}

}  // namespace
