#include <gtest/gtest.h>

#include <cmath>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/KivoInternalCamelConversion.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"

using grid_test::Access;

namespace {

// Marks what it formats, so that a test sees which road a value took.
class MarkingFormatter : public IKivoValueFormatter {
public:
    std::optional<std::string> format(const plat::Value& v, const std::string& f) override {
        return "vf(" + v.description() + "," + f + ")";
    }
    std::optional<std::string> format(const plat::Value& v, const std::string& f, std::int64_t) override { return format(v, f); }
};

class Shouting : public plat::Formatter {
public:
    std::optional<std::string> stringForObjectValue(const plat::Value& v) const override { return v.description() + "!"; }
};

class GridColumns : public ::testing::Test {
protected:
    std::shared_ptr<GridColumn> addColumn() {
        auto c = std::make_shared<GridColumn>();
        grid->columns()->push(c);
        grid->columns()->totalSize();
        return c;
    }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(GridColumns, FormattingRulesApplyInTheirOrder) {
    const plat::Value date(plat::Date(86400 * 365));  // 1 January 1971
    struct Case {
        const char* name;
        std::int64_t dataType;
        std::optional<std::string> format;
        bool formatter, valueFormatter;
        plat::Value value;
        plat::Value expected;
    };
    const Case cases[] = {
        {"nil", 3, "N2", true, true, plat::Value(), plat::Value("")},
        {"format", 3, "N2", true, false, plat::Value(1234.5), plat::Value("1,234.50")},
        {"format through the value formatter", 3, "N2", true, true, plat::Value(2.5), plat::Value("vf(2.5,N2)")},
        {"formatter", 2, std::nullopt, true, false, plat::Value("hi"), plat::Value("hi!")},
        {"formatter under a value formatter", 2, std::nullopt, true, true, plat::Value("hi"), plat::Value("vf(hi,)")},
        {"Boolean true", 4, std::nullopt, false, false, plat::Value(true), plat::Value("\u2611\uFE0E")},
        {"Boolean 0", 4, std::nullopt, false, true, plat::Value(0), plat::Value("\u2610")},
        {"Boolean with a format", 4, "N1", false, false, plat::Value(1), plat::Value("1.0")},
        {"number", 3, std::nullopt, false, false, plat::Value(1234.567), plat::Value("1,234.57")},
        {"number through the value formatter", 3, std::nullopt, false, true, plat::Value(7), plat::Value("vf(7,)")},
        {"date", 5, std::nullopt, false, false, date, plat::Value("1/1/71")},
        {"other values pass unchanged", 2, std::nullopt, false, false, plat::Value("text"), plat::Value("text")},
        {"a format does not apply to text", 2, "N2", false, false, plat::Value("text"), plat::Value("text")},
    };
    auto column = addColumn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        column->setDataType(c.dataType);
        column->setFormat(c.format);
        column->setFormatter(c.formatter ? std::make_shared<Shouting>() : nullptr);
        grid->setValueFormatter(c.valueFormatter ? std::make_shared<MarkingFormatter>() : nullptr);
        EXPECT_EQ(column->getFormattedValue(c.value), c.expected);
    }
    column->setFormat(std::nullopt);
    column->setFormatter(nullptr);
    grid->setValueFormatter(nullptr);
    column->setDataType(3);
    plat::testing::PinnedLocale german("de_DE", "Europe/Berlin");
    plat::resetProcessCaches();  // what a host that changes the locale does: the shared formatters follow
    EXPECT_EQ(column->getFormattedValue(plat::Value(1234.567)), plat::Value("1.234,57"));
    column->setDataType(5);
    EXPECT_EQ(column->getFormattedValue(date), plat::Value("01.01.71"));
}

TEST_F(GridColumns, TextsMadeAgainFollowEveryChangeOfWhatShapesThem) {
    // Each value is formatted twice in a row: the second answer must be the first, and a change of the
    // pattern, the formatter's settings, its zone or the process's locale must show at once.
    plat::testing::PinnedLocale english("en_US", "UTC");
    plat::resetProcessCaches();
    const plat::Value date(plat::Date(86400 * 365 + 3600 * 23));  // 1 January 1971, 23:00 UTC
    auto column = addColumn();
    auto twice = [&](const plat::Value& v) {
        const plat::Value first = column->getFormattedValue(v);
        EXPECT_EQ(column->getFormattedValue(v), first);
        return first.description();
    };
    column->setFormat(std::string("n2"));
    EXPECT_EQ(twice(plat::Value(1234.5)), "1,234.50");
    EXPECT_EQ(twice(plat::Value(1234)), "1,234.00") << "an integer of the same value";
    column->setFormat(std::string("n1"));
    EXPECT_EQ(twice(plat::Value(1234.5)), "1,234.5");
    {
        plat::testing::PinnedLocale german("de_DE", "Europe/Berlin");
        plat::resetProcessCaches();
        EXPECT_EQ(twice(plat::Value(1234.5)), "1.234,5");
    }
    plat::resetProcessCaches();
    EXPECT_EQ(twice(plat::Value(1234.5)), "1,234.5");

    column->setFormat(std::nullopt);
    auto dates = std::make_shared<plat::DateFormatter>(plat::Locale::withIdentifier("en_US"), plat::TimeZone::utc());
    dates->setDateFormat("M/d/yy");
    column->setFormatter(dates);
    EXPECT_EQ(twice(date), "1/1/71");
    dates->setDateFormat("yyyy-MM-dd");
    EXPECT_EQ(twice(date), "1971-01-01");
    dates->setTimeZone(*plat::TimeZone::named("Europe/Berlin"));
    EXPECT_EQ(twice(date), "1971-01-02");
    dates->setDateFormat("");
    dates->setDateStyle(plat::DateFormatter::Style::Long);
    EXPECT_EQ(twice(date), "January 2, 1971");
    dates->setLocale(plat::Locale::withIdentifier("de_DE"));
    EXPECT_EQ(twice(date), "2. Januar 1971");
    // A formatter of another kind is asked every time.
    column->setFormatter(std::make_shared<Shouting>());
    EXPECT_EQ(twice(date), date.description() + "!");
}

TEST_F(GridColumns, AlignmentHeaderAndSortMarks) {
    auto column = addColumn();
    const std::pair<std::int64_t, GridHorizontalAlignment> automatic[] = {{4, GridHorizontalAlignmentCenter},
                                                                          {3, GridHorizontalAlignmentRight},
                                                                          {2, GridHorizontalAlignmentLeft},
                                                                          {0, GridHorizontalAlignmentLeft}};
    for (auto [type, alignment] : automatic) {
        column->setDataType(type);
        EXPECT_EQ(column->horizontalAlignment(), alignment) << type;
        EXPECT_EQ(column->headerHorizontalAlignment(), alignment) << type;
    }
    column->setHorizontalAlignment(GridHorizontalAlignmentLeft);
    EXPECT_EQ(column->horizontalAlignment(), GridHorizontalAlignmentLeft);

    EXPECT_EQ(column->header(), std::nullopt);
    column->setBinding("firstName");
    EXPECT_EQ(column->header(), "First Name");
    EXPECT_EQ(KivoInternalCamelConversionNSString("URLString"), "UR LString");
    EXPECT_EQ(KivoInternalCamelConversionNSString("myID"), "My ID");
    EXPECT_EQ(KivoInternalCamelConversionNSString(""), "");
    EXPECT_EQ(KivoInternalCamelConversionNSString("ID"), "ID");
    // Letters past ASCII follow the same rule.
    EXPECT_EQ(KivoInternalCamelConversionNSString("élan"), "Élan");
    EXPECT_EQ(KivoInternalCamelConversionNSString("prixÉté"), "Prix Été");
    column->setHeader("Name");
    EXPECT_EQ(column->getFormattedHeader(), "Name");
    column->setSortDirection(GridSortDirectionAscending);
    EXPECT_EQ(column->getFormattedHeader(), "Name \u25B2");
    column->setSortDirection(GridSortDirectionDescending);
    EXPECT_EQ(column->getFormattedHeader(), "Name \u25BC");
    grid->setShowSort(false);
    EXPECT_EQ(column->getFormattedHeader(), "Name");
}

TEST_F(GridColumns, SortDirectionFollowsTheCollectionViewBySortPath) {
    auto column = addColumn();
    column->setBinding("sales");
    column->setSortDirection(GridSortDirectionDescending);
    auto view = KivoCollectionView::create(std::make_shared<plat::Array>());
    Access::setCollectionView(*grid, view);
    EXPECT_EQ(column->sortDirection(), GridSortDirectionDescending) << "the view says nothing";
    view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("sales", true)));
    column->setSortMemberPath("");
    EXPECT_EQ(column->getSortMemberPath(), "sales");
    EXPECT_EQ(column->sortDirection(), GridSortDirectionAscending);
    column->setSortMemberPath("country");
    EXPECT_EQ(column->sortDirection(), GridSortDirectionDescending);
}

TEST_F(GridColumns, WidthTypesCarryTheNumberOver) {
    struct Case {
        const char* name;
        std::function<void(GridColumn&)> setUp;
        GridWidthType type;
        double width;
        double starWidth;
        std::int32_t size;
    };
    const Case cases[] = {
        {"default width becomes the unit weight", [](GridColumn&) {}, GridWidthTypeStar, 1.0, 1.0, -1},
        {"points become the weight", [](GridColumn& c) { c.setWidth(120); }, GridWidthTypeStar, 120.0, 120.0, 120},
        {"a weight becomes points",
         [](GridColumn& c) {
             c.setWidthType(GridWidthTypeStar);
             c.setWidth(2);
         },
         GridWidthTypeDefault, 2.0, 2.0, 2},
        {"sized keeps the points", [](GridColumn& c) { c.setWidth(80.9); }, GridWidthTypeSized, 80.0, 1.0, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->columns()->removeAllObjects();
        auto column = addColumn();
        c.setUp(*column);
        column->setWidthType(c.type);
        EXPECT_EQ(column->widthType(), c.type);
        EXPECT_EQ(column->width(), c.width);
        EXPECT_EQ(column->starWidth(), c.starWidth);
        EXPECT_EQ(column->size(), c.size);
    }
}

TEST_F(GridColumns, WidthLimits) {
    auto column = addColumn();
    column->setWidth(50);
    column->setWidthType(GridWidthTypeSized);
    column->setMinWidth(70);
    EXPECT_EQ(column->size(), 50) << "the minimum already holds it up";
    EXPECT_EQ(column->renderWidth(), 70);
    // Only a sized column that renders below its new minimum (hidden here) takes it as its width.
    column->setVisible(false);
    column->setMinWidth(90);
    EXPECT_EQ(column->size(), 90);
    column->setWidthType(GridWidthTypeDefault);
    column->setMinWidth(100);
    EXPECT_EQ(column->size(), 90);
    column->setWidth(70);

    plat::testing::LogCapture log;
    for (double bad : {double(NAN), double(INFINITY), 3e9, -3e9}) column->setWidth(bad);
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(column->size(), 70);
    column->setWidth(-2147483648.5);
    EXPECT_EQ(column->size(), INT32_MIN);
}

TEST_F(GridColumns, AStarWeightThatIsNotFiniteIsRefused) {
    auto column = addColumn();
    column->setWidthType(GridWidthTypeStar);
    column->setWidth(3);
    for (double bad : {double(NAN), double(INFINITY), -double(INFINITY)}) {
        SCOPED_TRACE(bad);
        plat::testing::LogCapture log;
        column->setWidth(bad);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_NE(log.lines()[0].find("GridColumn: star weight"), std::string::npos) << log.lines()[0];
        EXPECT_NE(log.lines()[0].find("refused"), std::string::npos) << log.lines()[0];
        EXPECT_EQ(column->starWidth(), 3.0);
        EXPECT_EQ(column->width(), 3.0);
    }
    // Finite weights of any size are weights.
    column->setWidth(1e300);
    EXPECT_EQ(column->starWidth(), 1e300);
}

}  // namespace
