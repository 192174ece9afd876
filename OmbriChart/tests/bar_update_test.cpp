// The bar plotter's update geometry, member by member: where each bar stands when its task starts (the
// bar as last drawn: the old layout read against the axes' previous maxima), where it stands when the task
// ends (the ordinary bar of the new layout), and that it moves between the two by the eased distance, in
// both orientations. Axes are laid out directly: the category axis spans −0.5…3.5 (before the change
// −0.5…2.5), the value axis 0…100 (before: 0…50).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

// The update members, reachable from the tests.
class ProbePlotter : public KivoBarPlotter {
public:
    using KivoBarPlotter::KivoBarPlotter;
};

using Args = std::shared_ptr<KivoNotifyCollectionChangedEventArgs>;
using Stack = IKivoPlotter::StackDictionary;

// Which range of an axis a coordinate is read against: the range now, the range before the change, or
// the range before the change only when the bars are rotated.
enum class Range { Now, Old, OldWhenRotated };

// A bar as the tests state it, in data units: across the category axis from c0 to c1, along the value
// axis from v0 to v1.
struct Bar {
    double c0, c1;
    Range across;
    double v0, v1;
    Range along;
};

constexpr double Duration = 1.0;
// The series' position in the chart's series; a hidden series stands before it, so its bar slot is 1.
constexpr std::int32_t Position = 2;

plat::ArrayPtr numbers(std::vector<plat::Value> values) { return std::make_shared<plat::Array>(std::move(values)); }

class BarUpdateTest : public ::testing::Test {
public:
    void setUp(bool isRotated) {
        rotated = isRotated;
        chart = TestChart::create();
        chart->setIsAnimated(true);
        auto animation = std::make_shared<KivoAnimation>();
        animation->setDuration(Duration);
        animation->setEasing(KivoEasing::EaseInLinear());
        OmbriChartTestAccess::setActiveUpdateAnimation(*chart, animation);
        info = std::make_shared<KivoDataInfo>();
        plotter = std::make_shared<ProbePlotter>(chart, info, nullptr);
        plotter->setRotated(rotated);
        axisX = KivoAxis::create(KivoAxisPositionBottom, chart);
        axisY = KivoAxis::create(KivoAxisPositionLeft, chart);
        auto& category = rotated ? axisY : axisX;
        auto& value = rotated ? axisX : axisY;
        category->updateActualLimits(KivoDataTypeNumber, -0.5, 3.5);
        category->layout(KivoRect::create(0, 0, 400, 30), nullptr);
        value->updateActualLimits(KivoDataTypeNumber, 0, 100);
        value->layout(KivoRect::create(0, 0, 300, 30), nullptr);
        setPreviousCategoryMax(2.5);
        (rotated ? OmbriChartTestAccess::setPrevAxisXMax(*chart, 50) : OmbriChartTestAccess::setPrevAxisYMax(*chart, 50));
        originScreen = along(0, false);
        // The saved values by series position: the series before, a hidden one, this one.
        OmbriChartTestAccess::setPrevYValsArray(*chart,
                                                {numbers({1, 1, 1, 1}), numbers({99, 99, 99, 99}), numbers({5, 5, 40, 40})});
        OmbriChartTestAccess::setPrevXValsArray(*chart, {nullptr, nullptr, nullptr});
    }
    void sumsAtItem2(const std::vector<double>& values);
    void setPreviousCategoryMax(double max) {
        rotated ? OmbriChartTestAccess::setPrevAxisYMax(*chart, max) : OmbriChartTestAccess::setPrevAxisXMax(*chart, max);
    }
    void setTask(int task) {
        OmbriChartTestAccess::setIsUpdateTask1(*chart, task == 1);
        OmbriChartTestAccess::setIsUpdateTask2(*chart, task == 2);
    }

    // Screen coordinates, written out from the layout above rather than asked of the axes.
    double across(double c, bool old) const {
        const double f = (c + 0.5) / (old ? 3.0 : 4.0);
        return rotated ? 400 - 400 * f : 400 * f;
    }
    double along(double v, bool old) const {
        const double f = v / (old ? 50.0 : 100.0);
        return rotated ? 300 * f : 300 - 300 * f;
    }
    bool isOld(Range r) const { return r == Range::Old || (r == Range::OldWhenRotated && rotated); }
    KivoRect expected(const Bar& bar) const {
        const double c0 = across(bar.c0, isOld(bar.across)), c1 = across(bar.c1, isOld(bar.across));
        const double v0 = along(bar.v0, isOld(bar.along)), v1 = along(bar.v1, isOld(bar.along));
        if (rotated) return KivoRect(std::min(v0, v1), std::min(c0, c1), std::abs(v1 - v0), std::abs(c1 - c0));
        return KivoRect(std::min(c0, c1), std::min(v0, v1), std::abs(c1 - c0), std::abs(v1 - v0));
    }

    bool rotated = false;
    std::shared_ptr<TestChart> chart;
    std::shared_ptr<KivoDataInfo> info;
    std::shared_ptr<ProbePlotter> plotter;
    std::shared_ptr<KivoAxis> axisX, axisY;
    double originScreen = 0;
};

void expectRect(const std::shared_ptr<KivoRect>& actual, const KivoRect& expected, const std::string& where) {
    ASSERT_TRUE(actual) << where;
    EXPECT_NEAR(actual->left(), expected.left(), 1e-9) << where;
    EXPECT_NEAR(actual->top(), expected.top(), 1e-9) << where;
    EXPECT_NEAR(actual->width(), expected.width(), 1e-9) << where;
    EXPECT_NEAR(actual->height(), expected.height(), 1e-9) << where;
}

// One member call at time t; `f` is the set-up fixture.
using Call = std::function<std::shared_ptr<KivoRect>(BarUpdateTest& f, double t)>;

struct Row {
    std::string name;
    int task;
    Call call;
    Bar start, end;
};

// Checks every row in both orientations at the start of its task, halfway (the linear easing puts each
// quantity halfway) and at its end.
void checkRows(BarUpdateTest& f, const std::vector<Row>& rows, const std::function<void(bool)>& setUp,
               const std::function<void(BarUpdateTest&, const Row&)>& afterCall = {}) {
    for (bool rotated : {false, true}) {
        for (const auto& row : rows) {
            setUp(rotated);
            f.setTask(row.task);
            const std::string where = row.name + (rotated ? " (rotated)" : " (columns)");
            const KivoRect start = f.expected(row.start), end = f.expected(row.end);
            expectRect(row.call(f, 0), start, where + " at the start");
            if (afterCall) afterCall(f, row);
            expectRect(row.call(f, Duration), end, where + " at the end");
            const KivoRect half((start.left() + end.left()) / 2, (start.top() + end.top()) / 2, (start.width() + end.width()) / 2,
                                (start.height() + end.height()) / 2);
            expectRect(row.call(f, Duration / 2), half, where + " halfway");
        }
    }
}

Args change(std::int64_t action, std::int64_t startingIndex, std::int64_t oldStartingIndex, plat::ArrayPtr oldItems = nullptr) {
    return std::make_shared<KivoNotifyCollectionChangedEventArgs>(action, nullptr, startingIndex, std::move(oldItems),
                                                                  oldStartingIndex);
}

// ---- Series changes: three bars per cluster of 0.9 around X 1, this one in slot 1 at 20 ----

constexpr double SeriesCw = 0.9, SeriesW = 0.3, SeriesX = 1.0;
const Bar SeriesNow{0.85, 1.15, Range::Now, 0, 20, Range::Now};

Call seriesAdded(std::int64_t startingIndex, double datay = 20) {
    return [=](BarUpdateTest& f, double t) {
        return OmbriChartTestAccess::_getBarRectForSeriesAdded(
            *f.plotter, f.axisX, f.axisY, 1, 3, SeriesCw, SeriesW, f.originScreen, SeriesX, datay,
            change(KivoNotifyCollectionChangedActionAdd, startingIndex, -1), t, Duration);
    };
}
Call seriesRemoved(std::int64_t oldStartingIndex, double datay = 20) {
    return [=](BarUpdateTest& f, double t) {
        return OmbriChartTestAccess::_getBarRectForSeriesRemoved(
            *f.plotter, f.axisX, f.axisY, 1, 3, SeriesCw, SeriesW, f.originScreen, SeriesX, datay,
            change(KivoNotifyCollectionChangedActionRemove, -1, oldStartingIndex), t, Duration);
    };
}
Call seriesReplaced(std::int64_t oldStartingIndex, plat::Value oldValue) {
    return [=](BarUpdateTest& f, double t) {
        auto old = KivoSeries::create(nullptr, "v", "old");
        old->setItemsSource(numbers({plat::Dictionary{{"v", 1}}, plat::Dictionary{{"v", 1}}, plat::Dictionary{{"v", oldValue}}}));
        return OmbriChartTestAccess::_getBarRectForSeriesReplaced(
            *f.plotter, f.axisX, f.axisY, 1, 3, SeriesCw, SeriesW, 2, f.originScreen, SeriesX, 20,
            change(KivoNotifyCollectionChangedActionReplace, -1, oldStartingIndex, numbers({plat::Value(old)})), t, Duration,
            Position);
    };
}

TEST_F(BarUpdateTest, SeriesMembersMoveFromTheLastDrawnBarToTheNewOne) {
    const Bar emptyNow{0.85, 1.15, Range::Now, 0, 0, Range::Now};
    const std::vector<Row> rows = {
        // The old cluster of two bars 0.45 wide: a bar after the added series stood in slot 0.
        {"series added, task 1, a bar after the added series",
         1,
         seriesAdded(0),
         {0.55, 1.0, Range::Now, 0, 20, Range::Old},
         SeriesNow},
        {"series added, task 1, a bar before the added series",
         1,
         seriesAdded(2),
         {1.0, 1.45, Range::Now, 0, 20, Range::Old},
         SeriesNow},
        {"series added, task 2, the added series grows from the base line", 2, seriesAdded(1), emptyNow, SeriesNow},
        {"series added, task 2, the other series stand", 2, seriesAdded(0), SeriesNow, SeriesNow},
        {"series added, task 2, a negative bar grows from the base line",
         2,
         seriesAdded(1, -20),
         emptyNow,
         {0.85, 1.15, Range::Now, 0, -20, Range::Now}},
        {"series removed, task 1, the removed series sinks to the base line", 1, seriesRemoved(1), SeriesNow, emptyNow},
        {"series removed, task 1, a negative bar sinks to the base line",
         1,
         seriesRemoved(1, -20),
         {0.85, 1.15, Range::Now, 0, -20, Range::Now},
         emptyNow},
        {"series removed, task 1, the other series stand", 1, seriesRemoved(0), SeriesNow, SeriesNow},
        // The old cluster of four bars 0.225 wide; bars read it against the old category range.
        {"series removed, task 2, a bar after the removed series",
         2,
         seriesRemoved(0),
         {1.0, 1.225, Range::OldWhenRotated, 0, 20, Range::Old},
         SeriesNow},
        {"series removed, task 2, a bar before the removed series",
         2,
         seriesRemoved(2),
         {0.775, 1.0, Range::OldWhenRotated, 0, 20, Range::Old},
         SeriesNow},
        // The replaced series is named by its position; columns read the old value in the range now.
        {"series replaced, the replaced series",
         1,
         seriesReplaced(Position, 40),
         {0.85, 1.15, Range::Now, 0, 40, Range::OldWhenRotated},
         SeriesNow},
        {"series replaced, in the second task too",
         2,
         seriesReplaced(Position, 40),
         {0.85, 1.15, Range::Now, 0, 40, Range::OldWhenRotated},
         SeriesNow},
        {"series replaced, the series at the replaced one's slot is another", 1, seriesReplaced(1, 40), SeriesNow, SeriesNow},
        {"series replaced, an old value that is missing: no motion", 1, seriesReplaced(Position, "NULL"), SeriesNow, SeriesNow},
    };
    checkRows(*this, rows, [this](bool r) { setUp(r); });
}

// ---- Item changes: two bars per cluster of 0.8, this series in slot 1; the point is item 2 at X 2 ----

constexpr double ItemCw = 0.8, ItemW = 0.4;
const Bar ItemNow{2.0, 2.4, Range::Now, 0, 20, Range::Now};
const Bar ItemOld{2.0, 2.4, Range::Old, 0, 20, Range::Old};

Call itemAdded(std::int64_t startingIndex, plat::ArrayPtr xvals = nullptr, double datax = 2) {
    return [=](BarUpdateTest& f, double t) {
        return OmbriChartTestAccess::_getBarRectForCollectionViewAdded(
            *f.plotter, f.axisX, f.axisY, 1, 2, ItemCw, ItemW, OmbriChartTestAccess::column(xvals), 2, f.originScreen, datax, 20,
            change(KivoNotifyCollectionChangedActionAdd, startingIndex, -1), t, Duration);
    };
}
Call itemRemoved(std::int64_t oldStartingIndex) {
    return [=](BarUpdateTest& f, double t) {
        return OmbriChartTestAccess::_getBarRectForCollectionViewRemoved(
            *f.plotter, f.axisX, f.axisY, 1, 2, ItemCw, ItemW, nullptr, 2, f.originScreen, 2, 20,
            change(KivoNotifyCollectionChangedActionRemove, -1, oldStartingIndex), t, Duration, Position);
    };
}
Call itemReplaced(std::int64_t oldStartingIndex) {
    return [=](BarUpdateTest& f, double t) {
        return OmbriChartTestAccess::_getBarRectForCollectionViewReplaced(
            *f.plotter, f.axisX, f.axisY, 1, ItemCw, ItemW, 2, f.originScreen, 2, 20,
            change(KivoNotifyCollectionChangedActionReplace, -1, oldStartingIndex), t, Duration, Position);
    };
}

TEST_F(BarUpdateTest, ItemMembersMoveFromTheLastDrawnBarToTheNewOne) {
    const Bar emptyNow{2.0, 2.4, Range::Now, 0, 0, Range::Now};
    const std::vector<Row> rows = {
        // Without X values an item after the insertion stood one index earlier.
        {"item added, task 1, an item after the inserted one",
         1,
         itemAdded(0),
         {1.0, 1.4, Range::Old, 0, 20, Range::Old},
         ItemNow},
        {"item added, task 1, an item after the inserted one takes the X of the item before it",
         1,
         itemAdded(0, numbers({0.0, 1.5, 2.0})),
         {1.5, 1.9, Range::Old, 0, 20, Range::Old},
         ItemNow},
        {"item added, task 1, an item before the inserted one", 1, itemAdded(3), ItemOld, ItemNow},
        {"item added, task 1, the inserted item has no length",
         1,
         itemAdded(2),
         {2.0, 2.4, Range::Old, 0, 0, Range::Old},
         emptyNow},
        {"item added, task 2, the inserted item grows from the base line", 2, itemAdded(2), emptyNow, ItemNow},
        {"item added, task 2, the other items stand", 2, itemAdded(0), ItemNow, ItemNow},
        {"item removed, task 1, the other items stand in the old layout", 1, itemRemoved(0), ItemOld, ItemOld},
        {"item removed, task 1, the removed item sinks", 1, itemRemoved(2), ItemOld, {2.0, 2.4, Range::Old, 0, 0, Range::Old}},
        // The item stood one index later with its saved value (40 at index 3 of this series' position).
        {"item removed, task 2, an item after the removed one",
         2,
         itemRemoved(1),
         {3.0, 3.4, Range::Old, 0, 40, Range::Old},
         ItemNow},
        {"item removed, task 2, an item before the removed one", 2, itemRemoved(3), ItemOld, ItemNow},
        {"item replaced, the replaced item", 1, itemReplaced(2), {2.0, 2.4, Range::Now, 0, 40, Range::Old}, ItemNow},
        {"item replaced, another item", 1, itemReplaced(0), ItemNow, ItemNow},
    };
    checkRows(*this, rows, [this](bool r) { setUp(r); });
}

TEST_F(BarUpdateTest, AMissingPreviousValueMeansNoMotion) {
    for (bool rotated : {false, true}) {
        setUp(rotated);
        // This series' saved values end too early, and the hidden series before it has plenty.
        OmbriChartTestAccess::setPrevYValsArray(*chart,
                                                {numbers({1, 1, 1, 1}), numbers({99, 99, 99, 99}), numbers({5, 5, "NULL"})});
        const KivoRect now = expected(ItemNow);
        setTask(2);
        expectRect(itemRemoved(1)(*this, 0), now, "removed, the next value missing");
        setTask(1);
        expectRect(itemReplaced(2)(*this, 0), now, "replaced, the old value not a number");
        OmbriChartTestAccess::setPrevYValsArray(*chart, {});
        expectRect(itemReplaced(2)(*this, 0), now, "replaced, nothing saved");
        // A value axis whose range had no extent before the change (all values 0) placed nothing.
        (rotated ? OmbriChartTestAccess::setPrevAxisXMax(*chart, 0) : OmbriChartTestAccess::setPrevAxisYMax(*chart, 0));
        setTask(1);
        expectRect(itemAdded(0)(*this, 0), now, "added, the old value range empty");
    }
}

// ---- Stacked item changes: the cluster spans 1.6…2.4; a segment of 20 on a stack of 10 ----

const Bar StackNow{1.6, 2.4, Range::Now, 10, 30, Range::Now};

struct StackProbe {
    double datay = 0;
    double sum = -1;
    Stack pos, neg;
};

Call stacked(std::int64_t action, std::int64_t startingIndex, std::int64_t oldStartingIndex, StackProbe& probe,
             double datay = 20) {
    return [=, &probe](BarUpdateTest& f, double t) {
        probe = StackProbe{};
        probe.datay = datay;
        probe.pos.add(2, 10);
        probe.neg.add(2, -10);
        const auto args = change(action, startingIndex, oldStartingIndex);
        auto& p = *f.plotter;
        switch (action) {
            case KivoNotifyCollectionChangedActionAdd:
                return OmbriChartTestAccess::_getStackedBarRectForCollectionViewAdded(
                    p, f.axisX, f.axisY, 0, 1, ItemCw, ItemCw, nullptr, 2, f.originScreen, 2, datay, args, t, Duration, probe.sum,
                    probe.pos, probe.neg);
            case KivoNotifyCollectionChangedActionRemove:
                return OmbriChartTestAccess::_getStackedBarRectForCollectionViewRemoved(
                    p, f.axisX, f.axisY, 0, 1, ItemCw, ItemCw, nullptr, 2, f.originScreen, 2, datay, args, t, Duration, probe.sum,
                    probe.pos, probe.neg, Position);
            default:
                return OmbriChartTestAccess::_getStackedBarRectForCollectionViewReplaced(
                    p, f.axisX, f.axisY, 0, ItemCw, ItemCw, 2, f.originScreen, 2, datay, args, t, Duration, probe.sum, probe.pos,
                    probe.neg, Position);
        }
    };
}

TEST_F(BarUpdateTest, StackedMembersMoveBothValueEdgesAndAdvanceTheStack) {
    StackProbe probe;
    const auto add = KivoNotifyCollectionChangedActionAdd, remove = KivoNotifyCollectionChangedActionRemove,
               replace = KivoNotifyCollectionChangedActionReplace;
    // A segment grows from and sinks to its lower value: the bottom of a column, the left end of a bar.
    const std::vector<Row> rows = {
        {"added, task 1, an item after the inserted one",
         1,
         stacked(add, 0, -1, probe),
         {0.6, 1.4, Range::Old, 10, 30, Range::Old},
         StackNow},
        {"added, task 1, the inserted item has no length",
         1,
         stacked(add, 2, -1, probe),
         {1.6, 2.4, Range::Old, 10, 10, Range::Old},
         {1.6, 2.4, Range::Now, 10, 10, Range::Now}},
        {"added, task 2, the inserted item grows",
         2,
         stacked(add, 2, -1, probe),
         {1.6, 2.4, Range::Now, 10, 10, Range::Now},
         StackNow},
        {"added, task 2, a negative inserted item grows from its far end",
         2,
         stacked(add, 2, -1, probe, -20),
         {1.6, 2.4, Range::Now, -30, -30, Range::Now},
         {1.6, 2.4, Range::Now, -10, -30, Range::Now}},
        {"removed, task 1, the removed item sinks",
         1,
         stacked(remove, -1, 2, probe),
         {1.6, 2.4, Range::Old, 10, 30, Range::Old},
         {1.6, 2.4, Range::Old, 10, 10, Range::Old}},
        {"removed, task 1, another item stands",
         1,
         stacked(remove, -1, 0, probe),
         {1.6, 2.4, Range::Old, 10, 30, Range::Old},
         {1.6, 2.4, Range::Old, 10, 30, Range::Old}},
        {"removed, task 2, an item after the removed one",
         2,
         stacked(remove, -1, 1, probe),
         {2.6, 3.4, Range::Old, 10, 50, Range::Old},
         StackNow},
        {"replaced, the replaced item", 1, stacked(replace, -1, 2, probe), {1.6, 2.4, Range::Now, 10, 50, Range::Old}, StackNow},
        // Old 40 on the negative stack's base, new −50: from the segment last drawn to the new one.
        {"replaced, an item that turned negative",
         1,
         stacked(replace, -1, 2, probe, -50),
         {1.6, 2.4, Range::Now, -10, 30, Range::Old},
         {1.6, 2.4, Range::Now, -10, -60, Range::Now}},
        {"replaced, another item", 1, stacked(replace, -1, 0, probe), StackNow, StackNow},
    };
    checkRows(
        *this, rows, [this](bool r) { setUp(r); },
        [&probe](BarUpdateTest&, const Row& row) {
            // Every member stacks its value on the running top and keeps the base under it.
            const double base = probe.datay > 0 ? 10 : -10;
            EXPECT_EQ(probe.sum, base) << row.name;
            const double* top = (probe.datay > 0 ? probe.pos : probe.neg).find(2);
            ASSERT_TRUE(top) << row.name;
            EXPECT_EQ(*top, base + probe.datay) << row.name;
        });
}

}  // namespace

namespace {

TEST_F(BarUpdateTest, MidFramesMoveEachBarBySlotsOfEasedThickness) {
    // With the category range unchanged, a bar after an added series slides from the cluster's old slot 0
    // by two eased changes of a slot's thickness while narrowing by one: halfway with linear easing.
    setUp(false);
    setPreviousCategoryMax(3.5);
    setTask(1);
    // a = 105, oT = 45, T = 30, oV = 180, oL = 120, L = 60: left a + 2·7.5, top oV + 30.
    expectRect(seriesAdded(0)(*this, Duration / 2), KivoRect(120, 210, 37.5, 90), "columns");
    setUp(true);
    setPreviousCategoryMax(3.5);
    setTask(1);
    // min(a, b) = 250, oT = 45, min(A, B) = 235: top 250 − 2·7.5 + 7.5; the left end stays on the base line.
    expectRect(seriesAdded(0)(*this, Duration / 2), KivoRect(0, 242.5, 90, 37.5), "bars");
    setTask(2);
    // A bar after a removed series widens from the old slot 2 of four (227.5…250) to slot 1 of three.
    expectRect(seriesRemoved(0)(*this, Duration / 2), KivoRect(0, 231.25, 90, 26.25), "bars, series removed");
}

TEST_F(BarUpdateTest, OutsideTheUpdateTasksAddAndRemoveAnswerNilAndStackedMembersStillStack) {
    for (bool rotated : {false, true}) {
        setUp(rotated);
        setTask(0);
        EXPECT_FALSE(seriesAdded(0)(*this, 0));
        EXPECT_FALSE(seriesRemoved(0)(*this, 0));
        EXPECT_FALSE(itemAdded(0)(*this, 0));
        EXPECT_FALSE(itemRemoved(0)(*this, 0));
        // Replacing answers in any pass.
        expectRect(itemReplaced(2)(*this, Duration), expected(ItemNow), "item replaced outside the tasks");
        expectRect(seriesReplaced(Position, 40)(*this, Duration), expected(SeriesNow), "series replaced outside the tasks");
        for (auto action : {KivoNotifyCollectionChangedActionAdd, KivoNotifyCollectionChangedActionRemove}) {
            StackProbe probe;
            EXPECT_FALSE(stacked(action, 0, 0, probe)(*this, 0));
            EXPECT_EQ(probe.sum, 10);
            EXPECT_EQ(probe.pos.valueOr(2, 0), 30);
        }
    }
}

TEST_F(BarUpdateTest, WithoutEasingTheFirstFrameShowsTheEnd) {
    setUp(false);
    chart->setIsAnimated(false);
    setTask(1);
    expectRect(seriesAdded(0)(*this, 0), expected(SeriesNow), "series added");
    expectRect(itemAdded(0)(*this, 0), expected(ItemNow), "item added");
}

TEST_F(BarUpdateTest, AReversedCategoryAxisStillGivesNormalisedBars) {
    for (bool rotated : {false, true}) {
        setUp(rotated);
        (rotated ? axisY : axisX)->setReversed(true);
        for (int task : {1, 2}) {
            setTask(task);
            for (const auto& call : {seriesAdded(0), seriesRemoved(0), itemAdded(0), itemRemoved(1)}) {
                for (double t : {0.0, Duration / 2, Duration}) {
                    const auto r = call(*this, t);
                    ASSERT_TRUE(r);
                    EXPECT_GE(r->width(), 0);
                    EXPECT_GE(r->height(), 0);
                }
            }
        }
        // The end is the ordinary bar: its slot mirrored on the axis, from its smaller end.
        setTask(2);
        const KivoRect end = *seriesAdded(0)(*this, Duration);
        const double m0 = 400 - across(0.85, false), m1 = 400 - across(1.15, false);
        EXPECT_NEAR(rotated ? end.top() : end.left(), std::min(m0, m1), 1e-9);
        EXPECT_NEAR(rotated ? end.height() : end.width(), std::abs(m1 - m0), 1e-9);
    }
}

// The data info's analysis of one series per value, each with `value` at item 2 (X 2) and 0 before it.
void BarUpdateTest::sumsAtItem2(const std::vector<double>& values) {
    plat::Array series;
    for (double v : values) {
        auto s = KivoSeries::create(chart, "v", "s");
        s->setItemsSource(numbers({plat::Dictionary{{"v", 0}}, plat::Dictionary{{"v", 0}}, plat::Dictionary{{"v", v}}}));
        series.emplace_back(s);
    }
    info->analyse(series, KivoPlotterStackingStacked100, nullptr);
}

TEST_F(BarUpdateTest, AHundredPercentStackReadsOldValuesAsSharesOfTheOldSums) {
    for (bool rotated : {false, true}) {
        setUp(rotated);
        plotter->setStacking(KivoPlotterStackingStacked100);
        // Before the removal the values at X 3 summed to 80 (this series' 40 among them); now item 2 has
        // 20 of 40 at X 2.
        auto saved = std::make_shared<Stack>();
        saved->add(3, 80);
        OmbriChartTestAccess::setStackAbs(*chart, saved);
        sumsAtItem2({20, 20});
        setTask(2);
        StackProbe probe;
        const auto removed = stacked(KivoNotifyCollectionChangedActionRemove, -1, 1, probe);
        // Shares of 1 (base 10 stays as the test seeds it): the old share 40/80, the new 20/40.
        expectRect(removed(*this, 0), expected({2.6, 3.4, Range::Old, 10, 10.5, Range::Old}), "removed, old share");
        expectRect(removed(*this, Duration), expected({1.6, 2.4, Range::Now, 10, 10.5, Range::Now}), "removed, new share");
        // A zero sum gives a share of 0, never a division by zero.
        sumsAtItem2({0, 0});
        // (A share of 0 joins the negative stack, seeded with −10.)
        expectRect(removed(*this, Duration), expected({1.6, 2.4, Range::Now, -10, -10, Range::Now}), "a zero sum");
        // Replaced: the sum before the change is this one with the new value traded for the old (40 − 20 + 40).
        sumsAtItem2({20, 20});
        setTask(1);
        expectRect(stacked(KivoNotifyCollectionChangedActionReplace, -1, 2, probe)(*this, 0),
                   expected({1.6, 2.4, Range::Now, 10, 10 + 40.0 / 60, Range::Old}), "replaced, old share");
    }
}

}  // namespace
