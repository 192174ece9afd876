// The chart's X values kept as numbers and kinds: the boxed lists handed out give back exactly the
// values read (kinds, gaps, dates, whole numbers beyond what a double holds, texts in a list set by
// hand), they follow every edit as a list read afresh does, and binding, drawing and editing make none.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "chart_test_access.h"
#include "data/XValueList.h"
#include "test_chart.h"

namespace {

using kivo::detail::XValueList;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr std::int64_t Big = (std::int64_t{1} << 60) + 1;  // no double holds it
constexpr double Jan2024 = 1704067200;

// Same kind and same content: doubles bit for bit (any NaN matches NaN), whole numbers exactly.
::testing::AssertionResult same(const plat::Value& got, const plat::Value& want) {
    bool equal = got.kind() == want.kind();
    if (equal && want.isDouble()) {
        const double a = got.asDouble(), b = want.asDouble();
        equal = (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
    } else if (equal && want.isInteger()) {
        equal = got.asInteger() == want.asInteger();
    } else if (equal) {
        equal = got.isEqual(want) || (got.isNil() && want.isNil());
    }
    if (equal) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << got.description() << " (kind " << int(got.kind()) << "), want "
                                         << want.description() << " (kind " << int(want.kind()) << ")";
}

void expectSameList(const KivoValues& got, const plat::Array& want, const std::string& what) {
    ASSERT_TRUE(got) << what;
    ASSERT_EQ(got->size(), want.size()) << what;
    for (std::size_t k = 0; k < want.size(); ++k) EXPECT_TRUE(same((*got)[k], want[k])) << what << ", entry " << k;
}

// Every kind of value a list of X values can hold.
const std::vector<plat::Value>& pool() {
    static const std::vector<plat::Value> values{plat::Value(1.5),
                                                 plat::Value(NaN),
                                                 plat::Value(-0.0),
                                                 plat::Value(Inf),
                                                 plat::Value(7),
                                                 plat::Value(Big),
                                                 plat::Value(std::numeric_limits<std::int64_t>::max()),
                                                 plat::Value(std::numeric_limits<std::int64_t>::min()),
                                                 plat::Value(true),
                                                 plat::Value(false),
                                                 plat::Value("x"),
                                                 plat::Value(plat::Date(Jan2024)),
                                                 plat::Value(),
                                                 plat::Value(2.0),
                                                 plat::Value(-3)};
    return values;
}

TEST(XValueListTest, AListGivesBackItsValuesThroughEverySpliceAsTheListEditedAsValues) {
    std::mt19937 random(2024);
    const auto pick = [&] { return pool()[random() % pool().size()]; };
    for (int round = 0; round < 20; ++round) {
        plat::Array want;
        for (std::size_t k = random() % 6; k > 0; --k) want.push_back(pick());
        auto list = XValueList::ofValues(std::make_shared<const plat::Array>(want));
        for (int step = 0; step < 12; ++step) {
            const std::string what = "round " + std::to_string(round) + " step " + std::to_string(step);
            const KivoValues before = list->values();
            const plat::Array snapshot = *before;
            const auto at = random() % (want.size() + 1);
            const auto removed = random() % (want.size() - at + 1);
            // Mostly pieces of one kind, which keep no kind per entry.
            XValueList piece;
            plat::Array brought;
            const bool oneKind = random() % 2 == 0;
            const plat::Value first = pick();
            for (std::size_t k = random() % 4; k > 0; --k) brought.push_back(oneKind ? first : pick());
            for (const auto& v : brought) piece.append(v);
            const auto numbersBefore = list->column();

            const bool changed = list->splice(at, removed, piece);
            want.erase(want.begin() + static_cast<std::ptrdiff_t>(at), want.begin() + static_cast<std::ptrdiff_t>(at + removed));
            want.insert(want.begin() + static_cast<std::ptrdiff_t>(at), brought.begin(), brought.end());

            EXPECT_FALSE(list->isBoxed()) << what;
            for (std::size_t k = 0; k < want.size(); ++k) EXPECT_TRUE(same(list->at(k), want[k])) << what << ", at " << k;
            expectSameList(list->values(), want, what);
            // The numbers are those of the values read afresh.
            const auto fresh = kivo::detail::columnOfValues(want);
            const auto numbers = list->column();
            ASSERT_EQ(numbers ? numbers->size() : 0, fresh->size()) << what;
            for (std::size_t k = 0; k < want.size(); ++k) {
                const auto i = static_cast<std::int64_t>(k);
                EXPECT_EQ(numbers->isNumber(i), fresh->isNumber(i)) << what << ", at " << k;
                EXPECT_EQ(std::memcmp(&numbers->values[k], &fresh->values[k], sizeof(double)), 0) << what << ", at " << k;
            }
            // Only a replace by the same numbers tells that none changed.
            if (!changed) {
                EXPECT_EQ(removed, brought.size()) << what;
                for (std::size_t k = 0; k < removed; ++k)
                    EXPECT_EQ(std::memcmp(&numbersBefore->values[at + k], &numbers->values[at + k], sizeof(double)), 0) << what;
            }
            // What was handed out before stays as it was.
            expectSameList(before, snapshot, what + " (handed out before)");
        }
    }
}

TEST(XValueListTest, AListSetByHandIsHandedOutItselfWithItsTextsAsNoNumbers) {
    const auto given = std::make_shared<const plat::Array>(plat::Array{plat::Value("a"), plat::Value(2), plat::Value(Big)});
    const auto list = XValueList::ofValues(given);
    EXPECT_EQ(list->values(), given);
    EXPECT_FALSE(list->column()->isNumber(0));
    EXPECT_TRUE(std::isnan(list->column()->at(0)));
    EXPECT_EQ(list->column()->at(1), 2);
    EXPECT_TRUE(same(list->at(2), plat::Value(Big)));
    EXPECT_TRUE(XValueList::ofValues(nullptr)->values()->empty());
}

class ChartXValuesTest : public ChartInWindowTest<TestChart> {
protected:
    void SetUp() override {
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeLine);
        chart->setBindingX("x");
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "y", "s")));
        window->addSubview(chart);
    }
    const XValueList& kept() { return *OmbriChartTestAccess::state(*chart).xList; }

    // Items whose X member is each of `xs` (a nil one has none).
    static plat::ArrayPtr itemsWithX(const std::vector<plat::Value>& xs) {
        auto items = std::make_shared<plat::Array>();
        double y = 0;
        for (const auto& x : xs) {
            plat::Dictionary d{{"y", y++}};
            if (!x.isNil()) d["x"] = x;
            items->push_back(plat::Value(std::move(d)));
        }
        return items;
    }
};

TEST_F(ChartXValuesTest, EveryAccessorAnswersTheValuesReadOfEachKindAndTheSameListUntilTheDataChanges) {
    struct Case {
        const char* what;
        std::vector<plat::Value> xs;
        // As the values were read: a gap as NaN, a date as its seconds, a number as it is.
        std::vector<plat::Value> want;
    };
    const plat::Value gap(NaN);
    const Case cases[] = {
        {"reals", {1.5, -0.0, Inf, 2.0}, {1.5, -0.0, Inf, 2.0}},
        {"whole numbers", {7, Big, -3}, {7, Big, -3}},
        {"numbers of both kinds with gaps",
         {1.5, plat::Value(), 7, plat::Value::null(), Big, 2.25},
         {1.5, gap, 7, gap, Big, 2.25}},
        {"the extremes of whole numbers",
         {std::numeric_limits<std::int64_t>::min(), 0, std::numeric_limits<std::int64_t>::max()},
         {std::numeric_limits<std::int64_t>::min(), 0, std::numeric_limits<std::int64_t>::max()}},
        {"dates and a gap", {plat::Date(Jan2024), plat::Value(), plat::Date(Jan2024 + 60)}, {Jan2024, gap, Jan2024 + 60}},
        {"only gaps", {plat::Value(), plat::Value()}, {gap, gap}},
    };
    for (const auto& c : cases) {
        chart->setItemsSource(itemsWithX(c.xs));
        draw();
        EXPECT_FALSE(kept().isBoxed()) << c.what << ": binding and drawing box nothing";
        const KivoValues values = chart->xvals();
        expectSameList(values, plat::Array(c.want.begin(), c.want.end()), c.what);
        EXPECT_EQ(chart->xvals(), values) << c.what;
        EXPECT_EQ(chart->dataInfo()->getXVals(), values) << c.what;
        EXPECT_EQ(chart->axisX()->dataIndexTimeVals(), values) << c.what;
    }
    // A text or a Boolean makes categories: no X values, not even boxed ones.
    for (const plat::Value& category : {plat::Value("b"), plat::Value(true)}) {
        chart->setItemsSource(itemsWithX({1, category, 3}));
        EXPECT_TRUE(chart->xvals()->empty());
        EXPECT_EQ(chart->xlabels().size(), 3u);
    }
}

TEST_F(ChartXValuesTest, EditsFollowedInPlaceGiveTheValuesOfAChartBoundAfreshAndBoxNothing) {
    using View = KivoCollectionView;
    struct Case {
        const char* what;
        std::function<void(View&)> edit;
    };
    const auto item = [](const plat::Value& x) { return itemsWithX({x})->front(); };
    const Case cases[] = {
        {"a real over a whole number", [&](View& v) { v.replaceObjectAtIndex(1, item(2.5)); }},
        {"a whole number beyond a double over a real", [&](View& v) { v.replaceObjectAtIndex(0, item(Big)); }},
        {"a whole number added in the middle", [&](View& v) { v.insertObject(item(-4), 2); }},
        {"a Boolean added: categories", [&](View& v) { v.insertObject(item(true), 2); }},
        {"a gap added at the end", [&](View& v) { v.addObject(item(plat::Value())); }},
        {"the whole number beyond a double removed", [&](View& v) { v.removeAt(3); }},
        {"the first removed", [&](View& v) { v.removeAt(0); }},
        {"the same number again", [&](View& v) { v.replaceObjectAtIndex(4, item(5)); }},
    };
    for (const auto& c : cases) {
        chart->setItemsSource(itemsWithX({1.5, 2, 3.5, Big, 5, plat::Date(Jan2024)}));
        draw();
        const KivoValues before = chart->xvals();
        const plat::Array snapshot = *before;
        c.edit(*chart->collectionView());
        draw();
        EXPECT_FALSE(kept().isBoxed()) << c.what;
        const auto fresh = TestChart::create();
        fresh->setBindingX("x");
        fresh->setItemsSource(std::make_shared<plat::Array>(*chart->collectionView()->items()));
        expectSameList(chart->xvals(), *fresh->xvals(), c.what);
        EXPECT_EQ(chart->xDataType(), fresh->xDataType()) << c.what;
        expectSameList(before, snapshot, std::string(c.what) + " (handed out before)");
    }
}

}  // namespace
